#pragma once

#include <QObject>
#include <QString>

#include <optional>

#include "core/encoding/text_codec.h"
#include "core/rules/address_proposal.h"
#include "core/wire/discovery_datagram.h"
#include "core/wire/net_mode.h"
#include "core/worker/device_arrival.h"

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

// The details panel of the selected camera: its settings as the user edits them, the mode
// radios, the MAC-change field, Submit, the information line, and in the panel's free space
// the warning of a camera outside its card's subnet.
class CDetailsPanel : public QObject {
    Q_OBJECT

public:
    CDetailsPanel(QWidget* dialog, const PanelControls& controls);

    // The camera's settings as the core maps them, the information line, the warning.
    void Fill(const DeviceRecord& record, const CTextCodec& codec, const QString& info);
    // The camera texts the user left as they were read, again with this codec, and the
    // information line; what the user typed and picked stays.
    void ReadAgain(const DeviceRecord& record, const CTextCodec& codec, const QString& info);
    ChangeValues Gather() const;
    void Clear();
    bool ShowsDevice() const;

    // A click always leaves the clicked radio checked, as an automatic radio button does.
    void PickMode(NetMode mode);
    void ShowAddressProposal(const AddressProposal& proposal);

    void SetSubmitEnabled(bool enabled);
    void ShowMacChange(bool shown);
    void SetMacLabel(const QString& text);
    void SetMoveText(const QString& text);
    // The warning of a camera outside its card's subnet, and whether it may move.
    void ShowSubnetWarning(const QString& warning, bool movable);
    void HideSubnetWarning();
    void SetSubnetWarningText(const QString& text);
    // A sentence of the finder's own where the camera's information goes.
    void ShowNote(const QString& text);

signals:
    void ModePicked(NetMode mode);
    void SubmitClicked();
    void MoveIntoNetworkClicked();

private:
    void SetFieldsEnabled(bool addresses, bool pppoe);
    void CheckRadios(NetMode mode);
    bool IsMacChangeShown() const;

    QWidget* m_dialog;
    PanelControls m_controls;
    ChangeValues m_shown; // as the panel was filled, to tell typed texts from read ones
};
