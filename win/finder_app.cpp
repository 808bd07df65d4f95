#include "win/finder_app.h"

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "win/finder_dlg.h"
#include "win/language_search.h"
#include "win/wide_text.h"
#include "win/worker_endpoints.h"

CFinderApp theApp;

// The exit status of a variable that was not understood, as the Linux window's.
constexpr int FINDER_EXIT_USAGE = 2;

int CFinderApp::InitInstance() {
    const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const EnvironmentEndpoints environment = EndpointsFromEnvironment();
    if (!environment.error.empty()) {
        MessageBoxW(nullptr, Widen("finder: " + environment.error).c_str(), L"finder",
                    MB_OK | MB_ICONERROR);
        return FINDER_EXIT_USAGE;
    }
    m_pFinderDlg = new CFinderDlg(environment.endpoints, PlaceLanguageDb(WindowsLanguageSearch()));
    m_pFinderDlg->DoModal();
    return 0;
}

int CFinderApp::ExitInstance() {
    // The worker has ended before the dialog that it reports to goes.
    if (m_pFinderDlg != nullptr) {
        m_pFinderDlg->StopWorker();
        delete m_pFinderDlg;
        m_pFinderDlg = nullptr;
    }
    return 0;
}
