#pragma once

#include "core/worker/report_batch.h"

class CFinderDlg;

// The worker's reports, gathered into batches for the dialog's thread. The worker never
// waits for the dialog, so the dialog may join it at any moment without a dead end; and
// however fast replies arrive, the dialog has at most one batch call queued.
class DialogReport : public CBatchedReport {
public:
    explicit DialogReport(CFinderDlg* dialog);
};
