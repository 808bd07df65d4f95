#include "app/finder_app.h"

#include "app/finder_dlg.h"
#include "app/language_paths.h"

CFinderApp theApp;

bool CFinderApp::InitInstance() {
    m_pFinderDlg = new CFinderDlg(m_endpoints);
    // The finder's own language.db, wherever it was started from.
    m_pFinderDlg->SetLanguagePlace(PlaceLanguageDb(FinderLanguageSearch()));
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
