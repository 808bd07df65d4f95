#include "app/dialog_report.h"

#include <QMetaObject>

#include "app/finder_dlg.h"

// The call is queued with the dialog as its context: it runs on the dialog's thread, and a
// call still queued when the dialog is deleted is dropped with it.
DialogReport::DialogReport(CFinderDlg* dialog)
    : CBatchedReport([dialog] {
          QMetaObject::invokeMethod(
              dialog, [dialog] { dialog->OnDrainReports(); }, Qt::QueuedConnection);
      }) {}
