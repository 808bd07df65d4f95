// The window's side of a plan of many cameras: the device list's actions open its dialog,
// for the cameras selected or for the changes of a plan file.

#include <QFile>

#include "app/addressing_dialog.h"
#include "app/change_flow_view.h"
#include "app/desktop_hooks.h"
#include "app/device_list_view.h"
#include "app/finder_dlg.h"
#include "app/status_line.h"
#include "core/messages/finder_texts.h"
#include "core/plan/plan_file.h"

// The dialog stays on top of the window, which goes on taking the worker's reports for it.
static void OpenPlanDialog(CAddressingDialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void CFinderDlg::OnAddressSelected() {
    std::vector<int> cameras = m_deviceList->SelectedSlots();
    if (cameras.empty()) {
        return;
    }
    m_changeFlow->Cancel(true); // the user turned to many cameras
    OpenPlanDialog(new CAddressingDialog(*this, std::move(cameras)));
}

void CFinderDlg::OnOpenPlanFile() {
    const QString title = Tr(PLAN_TEXT_OPEN_TITLE);
    const QString path = AskOpenFile(this, title, Tr(TEXT_EXPORT_CSV));
    if (path.isEmpty()) {
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowMessage(this, title, Tr(PLAN_TEXT_READ_FAILED).arg(path, file.errorString()));
        return;
    }
    const QByteArray bytes = file.readAll();
    PlanFile plan = ReadPlanFile(std::string_view(bytes.constData(), bytes.size()),
                                 m_roster.Table(), Codec(), false, WindowTextLookup());
    if (!plan.error.empty()) {
        ShowMessage(this, title, Tr(PLAN_TEXT_READ_FAILED).arg(path, Utf8Text(plan.error)));
        return;
    }
    m_changeFlow->Cancel(true);
    OpenPlanDialog(new CAddressingDialog(*this, std::move(plan)));
}

void CFinderDlg::ShowHeldStatus(const std::function<QString()>& makeText) {
    m_statusLine->ShowHeld(makeText);
}
