#include "app/dialog_report.h"

#include <QMetaObject>
#include <QObject>

// The call is queued with the window as its context: it runs on the window's thread, and a
// call still queued when the window is deleted is dropped with it.
DialogReport::DialogReport(QObject* context, std::function<void()> drain)
    : CBatchedReport([context, drain = std::move(drain)] {
          QMetaObject::invokeMethod(context, drain, Qt::QueuedConnection);
      }) {}
