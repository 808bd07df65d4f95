// The dialog's skin: the background and caption bar it paints itself, the caption's close
// and minimise-to-tray buttons, dragging by the caption, and the notification-area icon.

#include <string>

#include "core/messages/fill_text.h"
#include "core/messages/finder_texts.h"
#include "core/program/finder_version.h"
#include "res/control_ids.h"
#include "res/finder_resources.h"
#include "win/bitmap_paint.h"
#include "win/finder_dlg.h"
#include "win/wide_text.h"

// The label font: Arial in a 16-pixel cell, thin.
constexpr int LABEL_FONT_HEIGHT = 16;
// Where the caption text goes, in client coordinates.
constexpr RECT CAPTION_TEXT_RECT{90, 7, 350, CAPTION_HEIGHT};

static HBITMAP LoadSkin(int id) {
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

static RECT CloseButtonRect(int width) {
    return RECT{width - 52, 0, width - 52 + CAPTION_BUTTON_WIDTH, CAPTION_HEIGHT};
}

static RECT TrayButtonRect(int width) {
    return RECT{width - 80, 0, width - 80 + CAPTION_BUTTON_WIDTH, CAPTION_HEIGHT};
}

void CFinderDlg::SetupSkin() {
    m_bmpBackground = LoadSkin(IDB_BACKGROUND);
    m_bmpCaption = LoadSkin(IDB_CAPTION);
    m_bmpFrameLeft = LoadSkin(IDB_FRAME_LEFT);
    m_bmpFrameRight = LoadSkin(IDB_FRAME_RIGHT);
    m_bmpLogo = LoadSkin(IDB_LOGO);
    m_bmpClose = LoadSkin(IDB_CLOSE);
    m_bmpCloseGlow = LoadSkin(IDB_CLOSE_GLOW);
    m_bmpTray = LoadSkin(IDB_TRAY_BUTTON);
    m_bmpTrayGlow = LoadSkin(IDB_TRAY_GLOW);
    for (CSkinButton& button : m_buttons) {
        button.LoadStateBitmaps(IDB_BUTTON_NORMAL, IDB_BUTTON_DOWN, IDB_BUTTON_OVER,
                                IDB_BUTTON_DISABLED, IDB_BUTTON_OVER, IDB_BUTTON_MASK,
                                DRAW_MODE_STRETCH, 0, 0);
        button.SetCaptionColor(RGB(0, 0, 0));
    }
}

// The labels, the MAC group box and the command buttons; the list, the combo box, the
// edits, the radio buttons and the "ADSL / DSL" frame keep the template font. Any
// character set, so that the labels of every language find a face that has their letters.
void CFinderDlg::SetupFonts() {
    m_fontLabels =
        CreateFontW(LABEL_FONT_HEIGHT, 0, 0, 0, FW_THIN, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"Arial");
    const auto font = reinterpret_cast<WPARAM>(m_fontLabels);
    for (const CTransparentStatic& label : m_labels) {
        SendMessageW(label.m_hWnd, WM_SETFONT, font, TRUE);
    }
    for (const CSkinButton& button : m_buttons) {
        SendMessageW(button.m_hWnd, WM_SETFONT, font, TRUE);
    }
    SendMessageW(Control(IDC_MAC_GROUP), WM_SETFONT, font, TRUE);
}

static void Blit(HDC dc, HDC memory, HBITMAP bitmap, int x, int y, int w, int h) {
    if (bitmap == nullptr) {
        return;
    }
    const SIZE size = BitmapSize(bitmap);
    HGDIOBJ old = SelectObject(memory, bitmap);
    StretchBlt(dc, x, y, w, h, memory, 0, 0, size.cx, size.cy, SRCCOPY);
    SelectObject(memory, old);
}

// Background, caption strip, the close button and its frame end, the tray button and the
// other frame end, the caption text and the logo, in client coordinates. A caption button
// under the pointer glows.
void CFinderDlg::PaintSkin(HDC dc) {
    RECT client;
    GetClientRect(m_hWnd, &client);
    const int w = client.right;
    const int h = client.bottom;
    m_rcCloseButton = CloseButtonRect(w);
    m_rcTrayButton = TrayButtonRect(w);
    HDC memory = CreateCompatibleDC(dc);
    Blit(dc, memory, m_bmpBackground, 0, 0, w, h);
    Blit(dc, memory, m_bmpCaption, 0, 0, w, CAPTION_HEIGHT);
    const bool closeGlows = PtInRect(&m_rcCloseButton, m_ptPointer) != FALSE;
    const bool trayGlows = PtInRect(&m_rcTrayButton, m_ptPointer) != FALSE;
    Blit(dc, memory, closeGlows ? m_bmpCloseGlow : m_bmpClose, m_rcCloseButton.left, 0,
         CAPTION_BUTTON_WIDTH, CAPTION_HEIGHT);
    Blit(dc, memory, m_bmpFrameRight, w - 24, 0, 24, CAPTION_HEIGHT);
    Blit(dc, memory, trayGlows ? m_bmpTrayGlow : m_bmpTray, m_rcTrayButton.left, 0,
         CAPTION_BUTTON_WIDTH, CAPTION_HEIGHT);
    Blit(dc, memory, m_bmpFrameLeft, w - 108, 0, CAPTION_BUTTON_WIDTH, CAPTION_HEIGHT);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, RGB(255, 255, 255));
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
    wchar_t caption[260] = {};
    GetWindowTextW(m_hWnd, caption, 260);
    RECT textRect = CAPTION_TEXT_RECT;
    DrawTextW(dc, caption, -1, &textRect, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    const SIZE logo = BitmapSize(m_bmpLogo);
    Blit(dc, memory, m_bmpLogo, 3, 0, logo.cx, logo.cy);
    DeleteDC(memory);
}

// Painted off screen and copied once: the window never shows a half-drawn skin.
void CFinderDlg::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    RECT client;
    GetClientRect(m_hWnd, &client);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP canvas = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, canvas);
    PaintSkin(memory);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(canvas);
    DeleteDC(memory);
    EndPaint(m_hWnd, &paint);
}

// Both caption buttons act on the press; the rest of the caption bar moves the window.
void CFinderDlg::OnLButtonDown(POINT point) {
    if (PtInRect(&m_rcCloseButton, point)) {
        SendMessageW(m_hWnd, WM_CLOSE, 0, 0); // the dialog's cancel command
        return;
    }
    if (PtInRect(&m_rcTrayButton, point)) {
        HideToTray();
        return;
    }
    if (IsZoomed(m_hWnd) || point.y < 0 || point.y >= CAPTION_HEIGHT) {
        return;
    }
    ReleaseCapture();
    SendMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

static void InvalidateCaptionButtons(HWND window, const RECT& tray, const RECT& close) {
    RECT both;
    UnionRect(&both, &tray, &close);
    InvalidateRect(window, &both, FALSE);
}

// Only a change of the glowing button repaints; leaving the window puts both back.
void CFinderDlg::OnMouseMove(POINT point) {
    if (!m_bTrackingLeave) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
        m_bTrackingLeave = TrackMouseEvent(&track) != FALSE;
    }
    const bool glowedBefore =
        PtInRect(&m_rcCloseButton, m_ptPointer) || PtInRect(&m_rcTrayButton, m_ptPointer);
    m_ptPointer = point;
    const bool glowsNow = PtInRect(&m_rcCloseButton, point) || PtInRect(&m_rcTrayButton, point);
    if (glowedBefore || glowsNow) {
        InvalidateCaptionButtons(m_hWnd, m_rcTrayButton, m_rcCloseButton);
    }
}

void CFinderDlg::OnMouseLeave() {
    m_bTrackingLeave = false;
    m_ptPointer = POINT{-1, -1};
    InvalidateCaptionButtons(m_hWnd, m_rcTrayButton, m_rcCloseButton);
}

// Without a notification area nothing could bring the window back: it stays shown.
void CFinderDlg::HideToTray() {
    if (!m_tray.Add(TrayTip())) {
        return;
    }
    ShowWindow(m_hWnd, SW_HIDE);
    m_bInTray = true;
}

// A double-click brings the window back; the right button opens the icon's menu.
void CFinderDlg::OnTrayNotify(LPARAM mouseMessage) {
    if (mouseMessage == WM_LBUTTONDBLCLK) {
        OnTrayShow();
    } else if (mouseMessage == WM_RBUTTONUP || mouseMessage == WM_CONTEXTMENU) {
        ShowTrayMenu();
    }
}

void CFinderDlg::OnTrayShow() {
    if (!m_bInTray) {
        return;
    }
    ShowWindow(m_hWnd, SW_SHOW);
    SetForegroundWindow(m_hWnd);
    m_tray.Remove();
    m_bInTray = false;
}

void CFinderDlg::ShowTrayMenu() {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, ID_TRAY_SHOW, Widen(Tr(TEXT_TRAY_SHOW)).c_str());
    AppendMenuW(menu, MF_STRING, ID_TRAY_UPDATE, Widen(Tr(TEXT_TRAY_UPDATE)).c_str());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, ID_TRAY_QUIT, Widen(Tr(TEXT_TRAY_QUIT)).c_str());
    POINT pointer;
    GetCursorPos(&pointer);
    // The menu closes when the user clicks elsewhere only while the window is in front.
    SetForegroundWindow(m_hWnd);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, pointer.x, pointer.y, 0, m_hWnd, nullptr);
    PostMessageW(m_hWnd, WM_NULL, 0, 0);
    DestroyMenu(menu);
}

// To the taskbar, not to the notification area.
void CFinderDlg::OnMinimize() {
    ShowWindow(m_hWnd, SW_MINIMIZE);
}

// "Lanvista finder 1.0.0", then how many cameras are listed.
std::wstring CFinderDlg::TrayTip() const {
    const int cameras = static_cast<int>(SendMessageW(Control(IDC_DEVICE_LIST), LB_GETCOUNT, 0, 0));
    const std::string count = cameras == 0 ? Tr(TEXT_TRAY_NO_CAMERA)
                              : cameras == 1
                                  ? Tr(TEXT_TRAY_ONE_CAMERA)
                                  : FillText(Tr(TEXT_TRAY_CAMERAS), {std::to_string(cameras)});
    return std::wstring(TRAY_TIP) + L" finder " + Widen(FinderVersion()) + L"\n" + Widen(count);
}
