#include "win/window_report.h"

// A post to a window that is gone fails and is dropped: nothing waits on it.
CWindowReport::CWindowReport(HWND window)
    : CBatchedReport([window] { PostMessageW(window, WM_WORKER_REPORTS, 0, 0); }) {}
