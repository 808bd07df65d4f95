#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "core/encoding/text_codec.h"
#include "core/session/camera_roster.h"
#include "core/worker/network_worker.h"
#include "i18n/language_db.h"
#include "i18n/language_place.h"
#include "win/skin_button.h"
#include "win/transparent_static.h"
#include "win/tray_icon.h"
#include "win/window_report.h"

class CDialogLanguageView;

// The caption bar across the top of the client area, and its two buttons.
constexpr int CAPTION_HEIGHT = 30;
constexpr int CAPTION_BUTTON_WIDTH = 28;
constexpr wchar_t TRAY_TIP[] = L"Lanvista";
constexpr wchar_t FINDER_MARKER_FILE[] = L"c:\\tmp\\webcam\\Search.conf";
// The caption of the MAC group box while no camera is selected.
constexpr char NO_DEVICE_MAC_TEXT[] = "ffffffffffff";

// Commands of the dialog that no control carries: exit, and minimise to the taskbar.
constexpr int ID_COMMAND_EXIT = 1038;
constexpr int ID_COMMAND_MINIMIZE = 1039;
// The tray icon's menu.
constexpr int ID_TRAY_SHOW = 1100;
constexpr int ID_TRAY_UPDATE = 1101;
constexpr int ID_TRAY_QUIT = 1102;
// The summary of a search, once its replies have come in.
constexpr UINT_PTR TIMER_SEARCH_SUMMARY = 1;
constexpr UINT SEARCH_SUMMARY_DELAY_MS = 1500;

// The finder's one window on Windows, dialog template 102: the device list, the details
// panel of the selected camera and the commands, in its own skin. It owns the roster and
// the network worker; the worker's reports are posted to it, so the roster and the list are
// only ever touched on this thread.
class CFinderDlg {
public:
    CFinderDlg(const WorkerEndpoints& endpoints, const LanguagePlace& language);
    ~CFinderDlg();
    CFinderDlg(const CFinderDlg&) = delete;
    CFinderDlg& operator=(const CFinderDlg&) = delete;

    INT_PTR DoModal();
    void StopWorker();

    HWND m_hWnd = nullptr;
    bool m_bInTray = false;

    // For the language view: the window's controls and texts.
    HWND Control(int id) const { return GetDlgItem(m_hWnd, id); }
    void OnWindowTexts();
    std::string Tr(const WindowText& text) const { return m_language.Texts().Text(text); }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id, int code);

    // Start-up and shutdown.
    BOOL OnInitDialog();
    void BindControls();
    void StartWorker();
    void OnCancel();
    void OnDestroy();

    // The skinned frame, its caption buttons and the tray.
    void SetupSkin();
    void SetupFonts();
    void OnPaint();
    void PaintSkin(HDC dc);
    void OnLButtonDown(POINT point);
    void OnMouseMove(POINT point);
    void OnMouseLeave();
    void HideToTray();
    void OnTrayNotify(LPARAM mouseMessage);
    void OnTrayShow();
    void ShowTrayMenu();
    void OnMinimize();
    std::wstring TrayTip() const;

    // The devices: the worker's reports, the list, the panel, the web page.
    void OnWorkerReports();
    void OnStatus(const WorkerOutcome& outcome);
    void OnReply(const DeviceRecord& record, const ReplyArrival& arrival);
    void ClearSearch();
    void ClearPanel();
    void ShowSearchSummary();
    std::optional<int> SelectedSlot() const;
    void OnSelectDevice();
    void OnModeDhcp();
    void OnModePppoe();
    void OnModeStatic();
    void OnUpdate();
    void OnDblclkDeviceList();
    void OnSelchangeLanguage();
    void SetFieldsEnabled(bool addresses, bool pppoe);
    CTextCodec Codec() const;

    WorkerEndpoints m_endpoints;
    LanguagePlace m_languagePlace;
    WorkerControl m_worker;
    std::unique_ptr<CWindowReport> m_report;
    std::thread m_workerThread;
    CCameraRoster m_roster;
    bool m_bQueryPending = false;
    bool m_bSummaryShown = false;

    LanguageDb m_language;
    std::unique_ptr<CDialogLanguageView> m_languageView;

    std::array<CSkinButton, 3> m_buttons; // Update, Exit, Submit
    std::array<CTransparentStatic, 15> m_labels;
    HWND m_hAdslFrame = nullptr; // the "ADSL / DSL" frame has no id of its own
    CTrayIcon m_tray;
    UINT m_nTaskbarCreated = 0;

    HICON m_hIcon = nullptr;
    HICON m_hSmallIcon = nullptr;
    HBITMAP m_bmpBackground = nullptr;
    HBITMAP m_bmpCaption = nullptr;
    HBITMAP m_bmpLogo = nullptr;
    HBITMAP m_bmpFrameLeft = nullptr;
    HBITMAP m_bmpFrameRight = nullptr;
    HBITMAP m_bmpClose = nullptr;
    HBITMAP m_bmpCloseGlow = nullptr;
    HBITMAP m_bmpTray = nullptr;
    HBITMAP m_bmpTrayGlow = nullptr;
    HFONT m_fontLabels = nullptr;
    RECT m_rcCloseButton{};
    RECT m_rcTrayButton{};
    bool m_bTrackingLeave = false;
    POINT m_ptPointer{-1, -1}; // over the client area; (-1, -1) when the pointer is away
};
