#include "win/transparent_static.h"

// The parent paints its client area into the label's device context, moved so that the
// part under the label lands on it. A copy taken once from the screen would keep whatever
// covered the window at that moment, and a label shown later would keep the wrong size.
BOOL CTransparentStatic::OnEraseBkgnd(HDC dc) const {
    HWND parent = GetParent(m_hWnd);
    RECT rect;
    GetWindowRect(m_hWnd, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    POINT origin;
    SetViewportOrgEx(dc, -rect.left, -rect.top, &origin);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    ::SetTextColor(dc, m_crText);
    return TRUE;
}

HBRUSH CTransparentStatic::CtlColor(HDC dc) const {
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, m_crText);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

LRESULT CTransparentStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_SETTEXT: {
        // The old text goes with the background painted over it, at once.
        const LRESULT result = Default(message, wParam, lParam);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        UpdateWindow(m_hWnd);
        return result;
    }
    default:
        return Default(message, wParam, lParam);
    }
}
