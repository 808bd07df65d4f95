#include "win/subclassed_window.h"

#include <commctrl.h>

CSubclassedWindow::~CSubclassedWindow() {
    if (m_hWnd != nullptr && IsWindow(m_hWnd)) {
        RemoveWindowSubclass(m_hWnd, SubclassProc, 0);
    }
}

bool CSubclassedWindow::SubclassDlgItem(HWND dialog, int id) {
    m_hWnd = GetDlgItem(dialog, id);
    if (m_hWnd == nullptr) {
        return false;
    }
    PreSubclassWindow();
    return SetWindowSubclass(m_hWnd, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

LRESULT CSubclassedWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT CSubclassedWindow::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CSubclassedWindow::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto* object = reinterpret_cast<CSubclassedWindow*>(self);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, SubclassProc, 0);
        object->m_hWnd = nullptr;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return object->WindowProc(message, wParam, lParam);
}
