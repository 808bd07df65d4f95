#include "app/finder_app.h"

#include "app/finder_dlg.h"

CFinderApp theApp;

bool CFinderApp::InitInstance() {
    m_pFinderDlg = new CFinderDlg(m_endpoints);
    m_pFinderDlg->DoModal();
    return false;
}

int CFinderApp::ExitInstance() {
    if (m_pFinderDlg != nullptr) {
        // The OK path (Enter in a field) ends the dialog without stopping the worker.
        m_pFinderDlg->StopWorker();
        delete m_pFinderDlg;
        m_pFinderDlg = nullptr;
    }
    return 0;
}
