#pragma once

#include <functional>

#include "core/worker/report_batch.h"

class QObject;

// The worker's reports, gathered into batches for the window's thread. The worker never
// waits for the window, so the window may join it at any moment without a dead end; and
// however fast replies arrive, the window has at most one batch call queued.
class DialogReport : public CBatchedReport {
public:
    // `drain` runs on the thread of `context`, and not once it is deleted.
    DialogReport(QObject* context, std::function<void()> drain);
};
