// A double-click on a list entry opens the camera's own web page.

#include <QListWidget>

#include "app/browser_command.h"
#include "app/desktop_hooks.h"
#include "app/device_url.h"
#include "app/finder_dlg.h"

void CFinderDlg::OnDblclkDeviceList() {
    const std::optional<int> slot = SelectedSlot();
    if (!slot) {
        return;
    }
    const std::string url = DevicePageUrl(m_table->slot[*slot]);
    // Where the platform registers a browser, it starts maximised first, as the finder
    // always did there; the page itself goes to the desktop's handler either way.
    if (const std::optional<std::string> value = ReadBrowserRegistryValue()) {
        if (const std::optional<std::string> command = BrowserCommand(*value)) {
            StartProgramMaximised(*command);
        }
    }
    OpenUrl(QString::fromLatin1(url.data(), static_cast<qsizetype>(url.size())));
    raise();
    activateWindow();
}
