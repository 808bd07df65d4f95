#include "win/skin_button.h"

#include <commctrl.h>

#include <algorithm>

#include "win/bitmap_paint.h"

static HBITMAP LoadSkinBitmap(UINT id) {
    if (id == 0) {
        return nullptr;
    }
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

CSkinButton::~CSkinButton() {
    ReleaseBitmaps();
    if (m_tooltip != nullptr) {
        DestroyWindow(m_tooltip);
    }
}

void CSkinButton::ReleaseBitmaps() {
    for (HBITMAP* slot :
         {&m_bmpNormal, &m_bmpDown, &m_bmpOver, &m_bmpDisabled, &m_bmpMask, &m_bmpFocus}) {
        if (*slot != nullptr) {
            DeleteObject(*slot);
            *slot = nullptr;
        }
    }
}

// Every push button of the skin is drawn by its owner.
void CSkinButton::PreSubclassWindow() {
    const LONG_PTR style = GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    SetWindowLongPtrW(m_hWnd, GWL_STYLE, (style & ~BS_TYPEMASK) | BS_OWNERDRAW);
}

void CSkinButton::LoadStateBitmaps(UINT normal, UINT down, UINT over, UINT disabled, UINT focus,
                                   UINT mask, short drawMode, short border, short focusMargin) {
    ReleaseBitmaps();
    m_bmpNormal = LoadSkinBitmap(normal);
    m_bmpDown = LoadSkinBitmap(down);
    m_bmpOver = LoadSkinBitmap(over);
    m_bmpFocus = LoadSkinBitmap(focus);
    m_bmpDisabled = LoadSkinBitmap(disabled != 0 ? disabled : normal);
    m_nDrawMode = std::clamp<short>(drawMode, DRAW_MODE_NORMAL, DRAW_MODE_TILE);
    m_nBorder = border;
    m_nFocusMargin = std::max<short>(focusMargin, 0);
    if (mask == 0) {
        return;
    }
    m_bmpMask = LoadSkinBitmap(mask);
    if (HRGN region = BuildMaskRegion(m_hWnd, m_bmpMask, RGB(255, 255, 255))) {
        SetWindowRgn(m_hWnd, region, TRUE); // the window owns the region from now on
    }
    if (m_nDrawMode == DRAW_MODE_NORMAL && m_bmpMask != nullptr) {
        const SIZE size = BitmapSize(m_bmpMask);
        SetWindowPos(m_hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    }
}

COLORREF CSkinButton::SetCaptionColor(COLORREF colour) {
    const COLORREF previous = m_crText;
    m_crText = colour;
    return previous;
}

void CSkinButton::SetTipText(const std::wstring& text) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS; // the tip follows the pointer by itself
    tool.hwnd = GetParent(m_hWnd);
    tool.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    if (m_tooltip != nullptr) {
        SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    m_tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                m_hWnd, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (m_tooltip != nullptr) {
        SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(m_tooltip, TTM_ACTIVATE, TRUE, 0);
    }
}

void CSkinButton::Repaint() const {
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

// Disabled, then pressed, then under the pointer, then focused, then normal; an empty slot
// falls to the next face, an empty normal face to the plain button face.
HBITMAP CSkinButton::FaceFor(UINT state) const {
    if (state & ODS_DISABLED) {
        return m_bmpDisabled;
    }
    if (state & ODS_SELECTED) {
        return m_bmpDown;
    }
    if (m_bmpNormal == nullptr) {
        return nullptr;
    }
    if (m_bHover && m_bmpOver != nullptr) {
        return m_bmpOver;
    }
    if ((state & ODS_FOCUS) && m_bmpFocus != nullptr) {
        return m_bmpFocus;
    }
    return m_bmpNormal;
}

void CSkinButton::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    const UINT state = item.itemState;
    wchar_t text[260] = {};
    GetWindowTextW(m_hWnd, text, 260);
    RECT textRect = rect;
    InflateRect(&textRect, -(m_nFocusMargin + 2), 0);
    SetBkMode(dc, TRANSPARENT);
    if (HBITMAP face = FaceFor(state)) {
        PaintStateBitmap(dc, face, rect, m_nDrawMode, m_bmpMask);
    } else {
        FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    }
    const bool pressed = (state & ODS_SELECTED) != 0;
    if (m_nBorder != 0) {
        DrawEdge(dc, &rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    }
    constexpr UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (state & ODS_DISABLED) {
        SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
        DrawTextW(dc, text, -1, &textRect, format);
        OffsetRect(&textRect, -1, -1);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, text, -1, &textRect, format);
        return;
    }
    if (pressed) {
        OffsetRect(&textRect, 1, 1);
    }
    if ((state & ODS_FOCUS) && m_nFocusMargin > 0) {
        RECT focus = rect;
        InflateRect(&focus, -m_nFocusMargin, -m_nFocusMargin);
        DrawFocusRect(dc, &focus);
    }
    SetTextColor(dc, m_crText);
    DrawTextW(dc, text, -1, &textRect, format);
}

void CSkinButton::OnMouseMove() {
    if (m_bHover) {
        return;
    }
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
    if (TrackMouseEvent(&track)) {
        m_bHover = true;
        Repaint();
    }
}

void CSkinButton::OnMouseLeave() {
    m_bHover = false;
    Repaint();
}

void CSkinButton::OnLButtonDown() {
    if (!m_bHover) {
        return;
    }
    TRACKMOUSEEVENT cancel{sizeof(cancel), TME_CANCEL | TME_LEAVE, m_hWnd, 0};
    if (TrackMouseEvent(&cancel)) {
        m_bHover = false;
    }
}

// The control itself keeps the pushed state in step with the pointer while the button is
// held (it redraws as the pointer leaves and comes back), so only hover needs following.
LRESULT CSkinButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return TRUE; // DrawItem covers the whole face
    case WM_MOUSEMOVE:
        OnMouseMove();
        break;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown();
        break;
    case WM_LBUTTONDBLCLK: // a double-click is a second press
        return SendMessageW(m_hWnd, WM_LBUTTONDOWN, wParam, lParam);
    default:
        break;
    }
    return Default(message, wParam, lParam);
}
