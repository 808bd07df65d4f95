#pragma once

#include "core/worker/network_worker.h"

class CFinderDlg;

// The application: creates the finder's one dialog, runs it modally and deletes it once
// the network worker has ended. A QApplication must exist before InitInstance.
class CFinderApp {
public:
    CFinderApp() = default;
    CFinderApp(const CFinderApp&) = delete;
    CFinderApp& operator=(const CFinderApp&) = delete;

    void SetEndpoints(const WorkerEndpoints& endpoints) { m_endpoints = endpoints; }

    // Runs the whole program; false, since no message loop follows the dialog's own.
    bool InitInstance();
    // Stops the worker if the dialog ended without doing so, deletes the dialog; the
    // result is the process's exit code.
    int ExitInstance();

    CFinderDlg* m_pFinderDlg = nullptr;

private:
    WorkerEndpoints m_endpoints;
};

extern CFinderApp theApp;
