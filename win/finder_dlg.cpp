// Start-up, the message map and shutdown of the Windows dialog.

#include "win/finder_dlg.h"

#include <windowsx.h>

#include "res/control_ids.h"
#include "res/finder_resources.h"
#include "win/dialog_language_view.h"

// The fifteen labels over the skin, and the three skinned command buttons.
static constexpr int LABEL_IDS[] = {
    IDC_INFO,         IDC_LABEL_ACCOUNT, IDC_LABEL_PASSWORD, IDC_LABEL_MAC,     IDC_LABEL_ADDRESS,
    IDC_LABEL_NAME,   IDC_LABEL_IP,      IDC_LABEL_NETMASK,  IDC_LABEL_GATEWAY, IDC_LABEL_HTTP_PORT,
    IDC_LABEL_STATUS, IDC_STATUS,        IDC_LABEL_PPPOE,    IDC_LABEL_DHCP,    IDC_LABEL_STATIC};
static constexpr int BUTTON_IDS[] = {IDC_UPDATE, IDC_EXIT, IDC_SUBMIT};

CFinderDlg::CFinderDlg(const WorkerEndpoints& endpoints, const LanguagePlace& language)
    : m_endpoints(endpoints), m_languagePlace(language),
      m_languageView(std::make_unique<CDialogLanguageView>(*this)) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    m_hIcon =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_FINDER), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    m_hSmallIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_FINDER), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), 0));
}

CFinderDlg::~CFinderDlg() {
    StopWorker();
    m_language.Close();
    for (HBITMAP bitmap : {m_bmpBackground, m_bmpCaption, m_bmpLogo, m_bmpFrameLeft,
                           m_bmpFrameRight, m_bmpClose, m_bmpCloseGlow, m_bmpTray, m_bmpTrayGlow}) {
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
    }
    if (m_fontLabels != nullptr) {
        DeleteObject(m_fontLabels);
    }
    DestroyIcon(m_hIcon);
    DestroyIcon(m_hSmallIcon);
}

INT_PTR CFinderDlg::DoModal() {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_FINDER_DIALOG), nullptr,
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CFinderDlg::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CFinderDlg*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->m_hWnd = window;
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<CFinderDlg*>(GetWindowLongPtrW(window, DWLP_USER));
    return self != nullptr ? self->OnMessage(message, wParam, lParam) : FALSE;
}

INT_PTR CFinderDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return TRUE;
    case WM_PRINTCLIENT: // a label asks for the skin under it
        PaintSkin(reinterpret_cast<HDC>(wParam));
        return TRUE;
    case WM_ERASEBKGND:
        return TRUE; // the paint covers the whole client area
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DRAWITEM:
        for (CSkinButton& button : m_buttons) {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->hwndItem == button.m_hWnd) {
                button.DrawItem(*item);
                return TRUE;
            }
        }
        return FALSE;
    case WM_CTLCOLORSTATIC:
        for (const CTransparentStatic& label : m_labels) {
            if (reinterpret_cast<HWND>(lParam) == label.m_hWnd) {
                return reinterpret_cast<INT_PTR>(label.CtlColor(reinterpret_cast<HDC>(wParam)));
            }
        }
        return FALSE;
    case WM_LBUTTONDOWN:
        OnLButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return TRUE;
    case WM_MOUSEMOVE:
        OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return TRUE;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return TRUE;
    case WM_TRAY_NOTIFY:
        OnTrayNotify(lParam);
        return TRUE;
    case WM_TIMER:
        if (wParam == TIMER_SEARCH_SUMMARY) {
            KillTimer(m_hWnd, TIMER_SEARCH_SUMMARY);
            m_bSummaryShown = true;
            ShowSearchSummary();
        }
        return TRUE;
    case WM_WORKER_REPORTS:
        OnWorkerReports();
        return TRUE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(m_hIcon);
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    default:
        // The shell started again (Explorer restarted): the icon of a hidden window comes back.
        if (message == m_nTaskbarCreated && m_nTaskbarCreated != 0 && m_bInTray) {
            m_tray.Add(TrayTip());
            return TRUE;
        }
        return FALSE;
    }
}

void CFinderDlg::OnCommand(int id, int code) {
    switch (id) {
    case IDCANCEL: // Esc and the caption's close button
    case IDC_EXIT:
    case ID_COMMAND_EXIT:
    case ID_TRAY_QUIT:
        OnCancel();
        break;
    case IDOK: // Enter in a field: OK ends nothing, so no typing is lost
        break;
    case IDC_UPDATE:
    case ID_TRAY_UPDATE:
        OnUpdate();
        break;
    case ID_TRAY_SHOW:
        OnTrayShow();
        break;
    case ID_COMMAND_MINIMIZE:
        OnMinimize();
        break;
    case IDC_MODE_DHCP:
        OnModeDhcp();
        break;
    case IDC_MODE_PPPOE:
        OnModePppoe();
        break;
    case IDC_MODE_STATIC:
        OnModeStatic();
        break;
    case IDC_DEVICE_LIST:
        if (code == LBN_SELCHANGE) {
            OnSelectDevice();
        } else if (code == LBN_DBLCLK) {
            OnDblclkDeviceList();
        }
        break;
    case IDC_LANGUAGE:
        if (code == CBN_SELCHANGE) {
            OnSelchangeLanguage();
        }
        break;
    default:
        break;
    }
}

void CFinderDlg::BindControls() {
    for (std::size_t i = 0; i < m_labels.size(); ++i) {
        m_labels[i].SubclassDlgItem(m_hWnd, LABEL_IDS[i]);
    }
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        m_buttons[i].SubclassDlgItem(m_hWnd, BUTTON_IDS[i]);
    }
    for (HWND child = GetWindow(m_hWnd, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (static_cast<short>(GetDlgCtrlID(child)) == IDC_STATIC) {
            m_hAdslFrame = child;
        }
    }
}

BOOL CFinderDlg::OnInitDialog() {
    BindControls();
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));
    m_tray.Create(m_hWnd, m_hSmallIcon);
    m_nTaskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    if (!m_languagePlace.path.empty()) {
        m_language.OpenLanguageDb(m_languagePlace.path, *m_languageView, m_languagePlace.readOnly);
    }
    SetupSkin();
    if (m_language.IsOpen()) {
        m_language.InitLanguageList(*m_languageView);
    }
    SetupFonts();
    // Submit waits for the change engine; until it drives this window nothing is sent.
    EnableWindow(Control(IDC_SUBMIT), FALSE);
    m_roster.Clear();
    m_report = std::make_unique<CWindowReport>(m_hWnd);
    m_worker.Reset(); // a query pending: the list fills without any action
    m_bQueryPending = true;
    StartWorker();
    const int macChange =
        GetFileAttributesW(FINDER_MARKER_FILE) != INVALID_FILE_ATTRIBUTES ? SW_SHOWNORMAL : SW_HIDE;
    ShowWindow(Control(IDC_NEW_MAC), macChange);
    ShowWindow(Control(IDC_LABEL_MAC), macChange);
    m_bInTray = false;
    return TRUE;
}

void CFinderDlg::StartWorker() {
    try {
        m_workerThread = std::thread([this] { NetworkWorker(m_worker, *m_report, m_endpoints); });
    } catch (const std::system_error&) {
        // No thread: the dialog works, but no camera is ever listed; Exit skips the wait.
    }
}

void CFinderDlg::StopWorker() {
    m_worker.RequestStop();
    if (m_workerThread.joinable()) {
        m_workerThread.join();
    }
}

// Exit, Esc, the caption's close button, command 1038 and the tray's Quit: stop the worker,
// wait for it (it never waits on this thread), end the dialog.
void CFinderDlg::OnCancel() {
    StopWorker();
    KillTimer(m_hWnd, TIMER_SEARCH_SUMMARY);
    m_tray.Remove();
    m_bInTray = false;
    EndDialog(m_hWnd, IDCANCEL);
}

void CFinderDlg::OnDestroy() {
    m_tray.Remove();
    m_language.Close();
}
