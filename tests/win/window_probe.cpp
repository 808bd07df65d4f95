// Works finder.exe's window from outside, as a user would, through its real controls:
//   finder_window_probe list | status | panel | select N | hide | restore | visible | close
// It prints what the controls hold, one line each (UTF-8), for scripts/windows_test.sh.

#include <windows.h>

#include <cstdio>
#include <string>

#include "res/control_ids.h"
#include "win/tray_icon.h"
#include "win/wide_text.h"

// The finder's dialog: a top-level dialog with the device list 1000 and the status 1029.
static HWND FindFinder() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND window, LPARAM result) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (std::wstring(name) == L"#32770" && GetDlgItem(window, IDC_DEVICE_LIST) &&
                GetDlgItem(window, IDC_STATUS)) {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// WM_GETTEXT itself: GetWindowText does not ask a control of another process.
static std::string ControlText(HWND control) {
    wchar_t text[512] = {};
    SendMessageW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return Narrow(text);
}

static void Print(const std::string& text) {
    std::printf("%s\n", text.c_str());
}

static void PrintList(HWND list) {
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t entry[512] = {};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(entry));
        Print(Narrow(entry));
    }
}

static void PrintPanel(HWND dialog) {
    for (int id : {IDC_MAC_GROUP, IDC_NAME, IDC_IP, IDC_NETMASK, IDC_GATEWAY, IDC_HTTP_PORT}) {
        Print(std::to_string(id) + " " + ControlText(GetDlgItem(dialog, id)));
    }
}

int wmain(int argc, wchar_t* argv[]) {
    HWND dialog = FindFinder();
    if (dialog == nullptr || argc < 2) {
        std::fprintf(stderr, "finder_window_probe: no finder window\n");
        return 1;
    }
    const std::wstring command = argv[1];
    HWND list = GetDlgItem(dialog, IDC_DEVICE_LIST);
    if (command == L"list") {
        PrintList(list);
    } else if (command == L"status") {
        Print(ControlText(GetDlgItem(dialog, IDC_STATUS)));
    } else if (command == L"panel") {
        PrintPanel(dialog);
    } else if (command == L"select" && argc > 2) {
        const int index = _wtoi(argv[2]);
        SendMessageW(list, LB_SETSEL, FALSE, -1);
        SendMessageW(list, LB_SETSEL, TRUE, index);
        SendMessageW(list, LB_SETCARETINDEX, index, FALSE);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_DEVICE_LIST, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        PrintPanel(dialog);
    } else if (command == L"hide") {
        // A press on the caption's minimise-to-tray button.
        RECT client;
        GetClientRect(dialog, &client);
        const LPARAM point = MAKELPARAM(client.right - 80 + 14, 15);
        SendMessageW(dialog, WM_MOUSEMOVE, 0, point);
        SendMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, point);
    } else if (command == L"restore") {
        // The icon's double-click, as the notification area reports it.
        SendMessageW(dialog, WM_TRAY_NOTIFY, TRAY_ICON_ID, WM_LBUTTONDBLCLK);
    } else if (command == L"visible") {
        Print(IsWindowVisible(dialog) ? "visible" : "hidden");
    } else if (command == L"close") {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    } else {
        return 1;
    }
    return 0;
}
