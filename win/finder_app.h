#pragma once

#include "core/worker/network_worker.h"

class CFinderDlg;

// The finder's application on Windows: it makes the one dialog, runs it and deletes it.
class CFinderApp {
public:
    // Returns the process's exit status.
    int InitInstance();
    int ExitInstance();

    CFinderDlg* m_pFinderDlg = nullptr;
};

extern CFinderApp theApp;
