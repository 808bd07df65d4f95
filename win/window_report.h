#pragma once

#include <windows.h>

#include "core/worker/report_batch.h"

// Posted to the dialog when the worker has reports waiting.
constexpr UINT WM_WORKER_REPORTS = WM_APP + 1;

// The worker's reports, gathered into batches for the dialog's thread: the worker posts one
// message and never waits for the window, so the window may join it at any moment.
class CWindowReport : public CBatchedReport {
public:
    explicit CWindowReport(HWND window);
};
