#include "app/dialog_report.h"

#include <QMetaObject>
#include <QString>

#include "app/finder_dlg.h"

// Each call is queued with the dialog as its context: it runs on the dialog's thread, and
// a call still queued when the dialog is deleted is dropped with it.

void DialogReport::OnStatus(const std::string& text) {
    CFinderDlg* dialog = m_pDialog;
    const QString status = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    QMetaObject::invokeMethod(
        dialog, [dialog, status] { dialog->OnStatus(status); }, Qt::QueuedConnection);
}

void DialogReport::OnReply(const DeviceRecord& record) {
    CFinderDlg* dialog = m_pDialog;
    QMetaObject::invokeMethod(
        dialog, [dialog, record] { dialog->OnReply(record); }, Qt::QueuedConnection);
}

void DialogReport::OnSent() {
    CFinderDlg* dialog = m_pDialog;
    QMetaObject::invokeMethod(
        dialog, [dialog] { dialog->OnSent(); }, Qt::QueuedConnection);
}
