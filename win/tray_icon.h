#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <string>

// The notification-area callback message and the icon's id.
constexpr UINT WM_TRAY_NOTIFY = 2006;
constexpr UINT TRAY_ICON_ID = 128;

// The finder's icon in the notification area while the window is hidden there.
class CTrayIcon {
public:
    void Create(HWND window, HICON icon);
    // False when the shell has no notification area to take it.
    bool Add(const std::wstring& tip);
    void Remove();
    void SetTip(const std::wstring& tip);
    bool IsShown() const { return m_bShown; }

private:
    NOTIFYICONDATAW m_nid{};
    bool m_bShown = false;
};
