#pragma once

// The finder window's own texts beyond the dialog template and language.db, in English:
// menus, tips and messages. One place, so that they can be translated together.

// The language store's place, told once at start.
inline constexpr char TEXT_LANGUAGE_NOT_FOUND[] =
    "language.db was not found, so the window stays in English. The finder looked for it "
    "here:";
inline constexpr char TEXT_PICK_NOT_KEPT[] =
    "The language you pick will not be kept for the next start: your own copy of "
    "language.db cannot be made.";

// The device list's context menu.
inline constexpr char TEXT_MENU_OPEN_PAGE[] = "Open web page";
inline constexpr char TEXT_MENU_COPY_IP[] = "Copy IP address";
inline constexpr char TEXT_MENU_COPY_MAC[] = "Copy MAC address";
inline constexpr char TEXT_MENU_COPY_ALL[] = "Copy all as text";
inline constexpr char TEXT_MENU_EXPORT[] = "Export list…";

// A list entry's tip.
inline constexpr char TEXT_TIP_DOUBLE_CLICK[] = "Double-click to open the web page";

// Export of the list.
inline constexpr char TEXT_EXPORT_TITLE[] = "Export list";
inline constexpr char TEXT_EXPORT_CSV[] = "CSV (*.csv)";
inline constexpr char TEXT_EXPORT_JSON[] = "JSON (*.json)";
inline constexpr char TEXT_EXPORT_FAILED[] = "The list could not be saved to %1: %2";

// A web page that does not open.
inline constexpr char TEXT_PAGE_NOT_OPENED[] =
    "The web page could not be opened: no browser or program for web addresses was found. "
    "Open this address in a browser:";

// The notification-area icon: its menu and its tip.
inline constexpr char TEXT_TRAY_SHOW[] = "Show";
inline constexpr char TEXT_TRAY_UPDATE[] = "Update";
inline constexpr char TEXT_TRAY_QUIT[] = "Quit";
inline constexpr char TEXT_TRAY_NO_CAMERA[] = "No camera listed";
inline constexpr char TEXT_TRAY_ONE_CAMERA[] = "1 camera listed";
inline constexpr char TEXT_TRAY_CAMERAS[] = "%1 cameras listed";
