#pragma once

#include <QObject>
#include <QString>

#include <optional>

#include "core/encoding/text_codec.h"
#include "core/rules/address_proposal.h"
#include "core/wire/discovery_datagram.h"
#include "core/wire/net_mode.h"
#include "core/worker/device_arrival.h"

class CCameraRoster;
class CWindowContext;

class CSkinButton;
class CTransparentStatic;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The controls of the details panel, made by the window in its template's order.
struct PanelControls {
    CTransparentStatic* info = nullptr;
    QLineEdit* pppoeAccount = nullptr;
    QLineEdit* pppoePassword = nullptr;
    QLineEdit* newMac = nullptr;
    CTransparentStatic* macLabel = nullptr;
    QGroupBox* macGroup = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* ip = nullptr;
    QLineEdit* netmask = nullptr;
    QLineEdit* gateway = nullptr;
    QLineEdit* httpPort = nullptr;
    CSkinButton* submit = nullptr;
    QRadioButton* pppoe = nullptr;
    QRadioButton* dhcp = nullptr;
    QRadioButton* staticMode = nullptr;
    CTransparentStatic* subnetWarning = nullptr;
    QPushButton* moveIntoNetwork = nullptr;
};

// The caption of the MAC group box while no device is selected.
constexpr char NO_DEVICE_MAC_TEXT[] = "ffffffffffff";

// The details panel of one camera of the roster: its settings as the user edits them, the
// mode radios, the MAC-change field, Submit, the information line, and in the panel's free
// space the warning of a camera outside its card's subnet with the move into its network.
// Whatever it shows is of the one camera it was filled with.
class CDetailsPanel : public QObject {
    Q_OBJECT

public:
    CDetailsPanel(QWidget* dialog, const PanelControls& controls, const CCameraRoster& roster,
                  const CWindowContext& context);

    // The camera of this slot: its settings as the core maps them, the information line,
    // the warning.
    void ShowCamera(int slot);
    // The camera texts the user left as they were read, again with the codec as it is now,
    // and the information line, of the camera shown; what the user typed and picked stays.
    void ReadAgain();
    ChangeValues Gather() const;
    void Clear();
    bool ShowsDevice() const;

    // A click always leaves the clicked radio checked, as an automatic radio button does.
    void PickMode(NetMode mode);
    // Fills IP, Submask and Gateway with an address of the card's subnet; nothing is sent
    // until the user presses Submit.
    void OnMoveIntoNetwork();

    void SetSubmitEnabled(bool enabled);
    void ShowMacChange(bool shown);
    // The texts it sets itself, in the window's language, and the camera read again.
    void OnWindowTexts();
    // A sentence of the finder's own where the camera's information goes.
    void ShowNote(const QString& text);

signals:
    void SubmitClicked();

private:
    void Fill(const DeviceRecord& record);
    void ShowAddressProposal(const AddressProposal& proposal);
    void ShowSubnetWarning();
    void HideSubnetWarning();
    QString InfoLine() const;
    void SetFieldsEnabled(bool addresses, bool pppoe);
    void CheckRadios(NetMode mode);
    bool IsMacChangeShown() const;

    QWidget* m_dialog;
    PanelControls m_controls;
    const CCameraRoster& m_roster;
    const CWindowContext& m_context;
    std::optional<int> m_slot; // the camera shown
    ChangeValues m_shown;      // as the panel was filled, to tell typed texts from read ones
};
