#include "win/tray_icon.h"

#include <cwchar>

void CTrayIcon::Create(HWND window, HICON icon) {
    m_nid.cbSize = sizeof(m_nid);
    m_nid.hWnd = window;
    m_nid.uID = TRAY_ICON_ID;
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_nid.uCallbackMessage = WM_TRAY_NOTIFY;
    m_nid.hIcon = icon;
}

bool CTrayIcon::Add(const std::wstring& tip) {
    wcsncpy(m_nid.szTip, tip.c_str(), std::size(m_nid.szTip) - 1);
    m_bShown = Shell_NotifyIconW(NIM_ADD, &m_nid) != FALSE;
    return m_bShown;
}

void CTrayIcon::Remove() {
    if (m_bShown) {
        Shell_NotifyIconW(NIM_DELETE, &m_nid);
        m_bShown = false;
    }
}

void CTrayIcon::SetTip(const std::wstring& tip) {
    wcsncpy(m_nid.szTip, tip.c_str(), std::size(m_nid.szTip) - 1);
    if (m_bShown) {
        Shell_NotifyIconW(NIM_MODIFY, &m_nid);
    }
}
