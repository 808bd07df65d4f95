// What people reach for on the device list, beside the double-click: the right button's
// menu (the web page, a camera's addresses or all of its settings to the clipboard, the
// whole list to a CSV or JSON file) and the entries' tips.

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QListWidget>
#include <QMenu>
#include <QSaveFile>
#include <QToolTip>

#include "app/desktop_hooks.h"
#include "app/finder_dlg.h"
#include "core/messages/finder_texts.h"
#include "core/present/device_format.h"
#include "core/present/device_list.h"

// The menu acts on the entry under the pointer, which becomes the selection as a left
// click would make it; away from any entry only the export is offered.
void CFinderDlg::OnDeviceListMenu(QPoint point) {
    QListWidgetItem* item = m_lstDevices->itemAt(point);
    if (item != nullptr) {
        m_lstDevices->setCurrentItem(item);
    }
    const bool onCamera = item != nullptr && SelectedSlot().has_value();
    QMenu menu(this);
    const struct {
        const WindowText& text;
        void (CFinderDlg::*handler)();
    } cameraActions[] = {{TEXT_MENU_OPEN_PAGE, &CFinderDlg::OnDblclkDeviceList},
                         {TEXT_MENU_COPY_IP, &CFinderDlg::OnCopyIpAddress},
                         {TEXT_MENU_COPY_MAC, &CFinderDlg::OnCopyMacAddress},
                         {TEXT_MENU_COPY_ALL, &CFinderDlg::OnCopyAllAsText}};
    for (const auto& action : cameraActions) {
        menu.addAction(Tr(action.text), this, action.handler)->setEnabled(onCamera);
    }
    menu.addSeparator();
    menu.addAction(Tr(TEXT_MENU_EXPORT), this, &CFinderDlg::OnExportList)
        ->setEnabled(m_lstDevices->count() > 0);
    menu.addSeparator();
    menu.addMenu(MakeEncodingMenu(&menu));
    menu.exec(m_lstDevices->viewport()->mapToGlobal(point));
}

void CFinderDlg::CopyText(const std::string& text) {
    QGuiApplication::clipboard()->setText(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

// Each copy reads the selection when it runs: a search may have emptied the list since.
void CFinderDlg::OnCopyIpAddress() {
    if (const std::optional<int> slot = SelectedSlot()) {
        CopyText(FieldText(m_table->slot[*slot].ip));
    }
}

void CFinderDlg::OnCopyMacAddress() {
    if (const std::optional<int> slot = SelectedSlot()) {
        CopyText(MacToText(m_table->slot[*slot].mac));
    }
}

// The camera as finder-cli's table shows it: a header line and its row.
void CFinderDlg::OnCopyAllAsText() {
    if (const std::optional<int> slot = SelectedSlot()) {
        const std::string table = FormatTable({m_table->slot[*slot]}, FormatOptions{Codec()});
        CopyText(table);
    }
}

std::vector<DeviceRecord> CFinderDlg::ListedDevices() const {
    std::vector<DeviceRecord> devices;
    for (int row = 0; row < m_lstDevices->count(); ++row) {
        const int slot = SlotOfEntry(m_lstDevices->item(row)->text().toLatin1().toStdString());
        if (slot >= 0 && slot < DEVICE_TABLE_SLOTS && m_table->slot[slot].id != 0) {
            devices.push_back(m_table->slot[slot]);
        }
    }
    return devices;
}

// The list in the order shown, as CSV or JSON by the file's extension or else the filter
// chosen. The file is written beside its place and renamed over it, so a failure leaves no
// half-written file, and an old file of that name stays as it was.
void CFinderDlg::OnExportList() {
    const QString csv = Tr(TEXT_EXPORT_CSV);
    const QString json = Tr(TEXT_EXPORT_JSON);
    QString filter = csv;
    QString path =
        AskSaveFile(this, Tr(TEXT_EXPORT_TITLE), csv + QStringLiteral(";;") + json, &filter);
    if (path.isEmpty()) {
        return;
    }
    bool asJson = path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive);
    if (!asJson && !path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        asJson = filter == json;
        path += asJson ? QStringLiteral(".json") : QStringLiteral(".csv");
    }
    const std::vector<DeviceRecord> devices = ListedDevices();
    const std::string text = asJson ? FormatJson(devices, FormatOptions{Codec()})
                                    : FormatCsv(devices, FormatOptions{Codec()});
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !file.commit()) {
        ShowMessage(this, QCoreApplication::applicationName(),
                    Tr(TEXT_EXPORT_FAILED).arg(path, file.errorString()));
    }
}

// An entry's tip is made when it is shown, so it always tells of the camera as it is now
// and of the card it answered on last.
bool CFinderDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_lstDevices->viewport() || event->type() != QEvent::ToolTip) {
        return QDialog::eventFilter(watched, event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    QListWidgetItem* item = m_lstDevices->itemAt(help->pos());
    const int slot = item != nullptr ? SlotOfEntry(item->text().toLatin1().toStdString()) : -1;
    if (slot < 0 || slot >= DEVICE_TABLE_SLOTS || m_table->slot[slot].id == 0) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(help->globalPos(), EntryToolTip(slot), m_lstDevices->viewport(),
                       m_lstDevices->visualItemRect(item));
    return true;
}
