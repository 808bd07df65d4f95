#pragma once

#include <QObject>
#include <QPoint>

#include <optional>
#include <string>
#include <vector>

#include "core/wire/device_table.h"

class CCameraRoster;
class CEncodingMenu;
class CWindowContext;
class QListWidget;
class QListWidgetItem;

// The device list: one entry per camera of the roster, in the list's sorted order, each
// holding its slot as item data; the marks of cameras outside their card's subnet, of IP
// conflicts and of self-assigned addresses, the entries' tips, and the right button's menu
// with its actions on the selected camera, its web page among them. Ctrl and Shift select more
// cameras for a plan; the panel stays with one of them.
class CDeviceListView : public QObject {
    Q_OBJECT

public:
    // Its menus and message boxes open over the list's window.
    CDeviceListView(QListWidget* list, const CCameraRoster& roster, const CWindowContext& context,
                    CEncodingMenu& encodings);

    // The roster took a reply into this slot; a camera new to it gets its entry.
    void OnTaken(int slot, bool added);
    void Clear();
    int Count() const;
    // The camera the panel shows: of the selection, the entry selected last.
    std::optional<int> SelectedSlot() const;
    // Every camera selected, in the list's order.
    std::vector<int> SelectedSlots() const;
    void SelectByMac(const std::string& mac);
    // The entries with the codec as it is now, each from the name it was listed with, and
    // their tips in the window's language.
    void ReadAgain();
    // A text the empty list shows across its whole face, word-wrapped; it is also the list's
    // accessible description. Empty: none.
    void ShowEmptyNote(const QString& note);

public slots:
    void OnDeviceListMenu(QPoint point);
    void OnCopyIpAddress();
    void OnCopyMacAddress();
    void OnCopyAllAsText();
    void OnExportList();
    // A double-click or the menu: the camera's own web page in the desktop's browser.
    void OnOpenPage();

signals:
    void SelectionChanged();
    void AddressRequested();         // "Address selected cameras…"
    void OpenPlanRequested();        // "Open plan file…"
    void SearchAddressesRequested(); // "Search addresses…"
    void CountChanged(int count);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<int> SlotOf(const QListWidgetItem* item) const;
    void Decorate(QListWidgetItem* entry, int slot) const;
    QString EntryText(const QListWidgetItem* entry, int slot) const;
    QString CardToolTip(int slot) const;
    QString AddressToolTip(int slot) const;
    QString EntryToolTip(int slot) const;
    void DecorateSameIp(int slot);
    std::vector<DeviceRecord> ListedDevices() const;
    void PaintEmptyNote();

    QWidget* Window() const;

    QListWidget* m_list;
    const CCameraRoster& m_roster;
    const CWindowContext& m_context;
    CEncodingMenu& m_encodings;
    std::vector<QListWidgetItem*> m_entryOfSlot; // the list's, or none
    std::vector<std::string> m_ipOfSlot;         // the IP its mark was made for
};
