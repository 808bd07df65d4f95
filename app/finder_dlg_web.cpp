// A double-click on a list entry opens the camera's own web page; the entry's tip says so.

#include <QCoreApplication>
#include <QListWidget>

#include "app/browser_command.h"
#include "app/desktop_hooks.h"
#include "app/device_list_view.h"
#include "app/device_url.h"
#include "app/finder_dlg.h"
#include "core/messages/finder_texts.h"

void CFinderDlg::OnDblclkDeviceList() {
    const std::optional<int> slot = m_deviceList->SelectedSlot();
    if (!slot) {
        return;
    }
    const std::string url = DevicePageUrl(m_roster.Record(*slot));
    // Where the platform registers a browser, it starts maximised first, as the finder
    // always did there; the page itself goes to the desktop's handler either way.
    if (const std::optional<std::string> value = ReadBrowserRegistryValue()) {
        if (const std::optional<std::string> command = BrowserCommand(*value)) {
            StartProgramMaximised(*command);
        }
    }
    const QString page = QString::fromLatin1(url.data(), static_cast<qsizetype>(url.size()));
    raise();
    activateWindow();
    // Without a browser nothing would happen on screen: the user gets the address to copy.
    if (!OpenUrl(page)) {
        ShowMessage(this, QCoreApplication::applicationName(),
                    Tr(TEXT_PAGE_NOT_OPENED) + QLatin1Char('\n') + page);
    }
}

QString DeviceEntryToolTip(const DeviceRecord& record, const QString& hint) {
    const std::string url = DevicePageUrl(record);
    return hint + QLatin1Char('\n') +
           QString::fromLatin1(url.data(), static_cast<qsizetype>(url.size()));
}

void CFinderDlg::OnExportList() {
    m_deviceList->OnExportList();
}
