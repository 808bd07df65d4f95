#pragma once

#include "core/messages/window_text.h"

// The window's texts beyond table `interface`, each with its English. Every one of them
// has a row in table `window_text` of the shipped language.db, translated into the six
// languages; add a new one to FINDER_TEXTS as well, so the tests hold it to that.

// The info label of the details panel: how the camera gets its address, its firmware.
constexpr WindowText TEXT_INFO_IP_GET{"info_ip_get", "IP Get:"};
constexpr WindowText TEXT_INFO_VERSION{"info_version", "Version:"};
// The frame around the PPPoE fields.
constexpr WindowText TEXT_FRAME_ADSL{"frame_adsl", "ADSL / DSL"};

// The choice of encoding for camera texts.
constexpr WindowText TEXT_MENU_ENCODING{"menu_encoding", "Camera text encoding"};
constexpr WindowText TEXT_ENCODING_AUTO{"encoding_auto", "Automatic (by language)"};
constexpr WindowText TEXT_ENCODING_GBK{"encoding_gbk", "GBK (Simplified Chinese)"};
constexpr WindowText TEXT_ENCODING_BIG5{"encoding_big5", "Big5 (Traditional Chinese)"};
constexpr WindowText TEXT_ENCODING_SHIFT_JIS{"encoding_shift_jis", "Shift_JIS (Japanese)"};
constexpr WindowText TEXT_ENCODING_CP1252{"encoding_cp1252", "Windows-1252 (Western European)"};

// Submit's refusals: the title of their message box, the fields they name (the MAC's is
// also the label of the MAC-change field), the messages.
constexpr WindowText TEXT_SUBMIT_TITLE{"submit_title", "Submit"};
constexpr WindowText TEXT_FIELD_NAME{"field_name", "Name"};
constexpr WindowText TEXT_FIELD_ACCOUNT{"field_account", "Account"};
constexpr WindowText TEXT_FIELD_PASSWORD{"field_password", "Password"};
constexpr WindowText TEXT_FIELD_IP{"field_ip", "IP"};
constexpr WindowText TEXT_FIELD_NETMASK{"field_netmask", "Submask"};
constexpr WindowText TEXT_FIELD_GATEWAY{"field_gateway", "Gateway"};
constexpr WindowText TEXT_FIELD_HTTP_PORT{"field_http_port", "Http Port"};
constexpr WindowText TEXT_FIELD_MAC{"field_mac", "Mac"};
// %1 the field, %2 what was typed.
constexpr WindowText TEXT_CHECK_NOT_ADDRESS{
    "check_not_address", "%1: \"%2\" is not an address. Type four numbers from 0 to 255 "
                         "separated by dots, such as 192.168.1.100. Nothing was sent."};
constexpr WindowText TEXT_CHECK_NOT_PORT{
    "check_not_port", "%1: \"%2\" is not a port. Type a number from 1 to 65535. Nothing was sent."};
constexpr WindowText TEXT_CHECK_NOT_MAC{
    "check_not_mac", "%1: \"%2\" is not a MAC address. Type twelve hexadecimal digits without "
                     "separators, such as 001a2b3c4d5e. Nothing was sent."};
// %1 the field, %2 its bytes, %3 the encoding, %4 how many characters fit.
constexpr WindowText TEXT_CHECK_TOO_LONG{
    "check_too_long", "%1: the text is too long. The camera keeps %2 bytes of it in %3: only "
                      "the first %4 characters fit. Nothing was sent."};
// %1 the field, %2 the encoding, %3 the character, %4 its code point (U+00E4).
constexpr WindowText TEXT_CHECK_NOT_HELD{
    "check_not_held",
    "%1: the camera keeps this text in %2, which has no \"%3\" (%4). Nothing was sent."};
// %1 the field.
constexpr WindowText TEXT_CHECK_UNREADABLE{
    "check_unreadable", "%1: the text still holds marks (\xEF\xBF\xBD) for characters of the "
                        "camera that could not be read. Retype it. Nothing was sent."};

// How the camera takes its address, as a confirmation names it.
constexpr WindowText TEXT_FIELD_MODE{"field_mode", "Mode"};

// The device list's context menu and an entry's tip.
constexpr WindowText TEXT_MENU_OPEN_PAGE{"menu_open_page", "Open web page"};
constexpr WindowText TEXT_MENU_COPY_IP{"menu_copy_ip", "Copy IP address"};
constexpr WindowText TEXT_MENU_COPY_MAC{"menu_copy_mac", "Copy MAC address"};
constexpr WindowText TEXT_MENU_COPY_ALL{"menu_copy_all", "Copy all as text"};
constexpr WindowText TEXT_MENU_EXPORT{"menu_export", "Export list\u2026"};
constexpr WindowText TEXT_TIP_DOUBLE_CLICK{"tip_double_click", "Double-click to open the web page"};

// Export of the list: the file dialog's title and filters; %1 the file, %2 why.
constexpr WindowText TEXT_EXPORT_TITLE{"export_title", "Export list"};
constexpr WindowText TEXT_EXPORT_CSV{"export_csv", "CSV (*.csv)"};
constexpr WindowText TEXT_EXPORT_JSON{"export_json", "JSON (*.json)"};
constexpr WindowText TEXT_EXPORT_FAILED{"export_failed", "The list could not be saved to %1: %2"};

// A web page that does not open; the address follows on the next line.
constexpr WindowText TEXT_PAGE_NOT_OPENED{
    "page_not_opened", "The web page could not be opened: no browser or program for web "
                       "addresses was found. Open this address in a browser:"};

// The language store's place, told at start; the path follows on the next line.
constexpr WindowText TEXT_PICK_NOT_KEPT{
    "pick_not_kept", "The language you pick will not be kept for the next start: your own "
                     "copy of language.db cannot be made."};
// Said instead of the store's own failure texts when another program kept its lock.
constexpr WindowText TEXT_DATABASE_BUSY{"database_busy",
                                        "language.db is in use by another program"};

// The notification-area icon: its menu and the count in its tip (%1 the count).
constexpr WindowText TEXT_TRAY_SHOW{"tray_show", "Show"};
constexpr WindowText TEXT_TRAY_UPDATE{"tray_update", "Update"};
constexpr WindowText TEXT_TRAY_QUIT{"tray_quit", "Quit"};
constexpr WindowText TEXT_TRAY_NO_CAMERA{"tray_no_camera", "No camera listed"};
constexpr WindowText TEXT_TRAY_ONE_CAMERA{"tray_one_camera", "1 camera listed"};
constexpr WindowText TEXT_TRAY_CAMERAS{"tray_cameras", "%1 cameras listed"};

// What the finder says about settings on their way to a camera, for the window and
// finder-cli alike (which keeps the English). Before sending:
constexpr WindowText APPLY_TEXT_NOTHING_TO_SEND{"apply_nothing_to_send",
                                                "Nothing to send: no setting was changed"};
constexpr WindowText APPLY_TEXT_NOTHING_SENT{"apply_nothing_sent", "Nothing was sent."};
constexpr WindowText APPLY_TEXT_SEND_ANYWAY{"apply_send_anyway", "Send anyway"};
constexpr WindowText APPLY_TEXT_CANCEL{"apply_cancel", "Cancel"};

// Refused values: %1 is the field, %2 the value typed.
constexpr WindowText APPLY_TEXT_MASK_NOT_CONTIGUOUS{
    "apply_mask_not_contiguous", "%1: %2 is not a subnet mask: a mask is a run of ones followed "
                                 "by zeros, such as 255.255.255.0."};
constexpr WindowText APPLY_TEXT_MASK_FOR_STATIC{
    "apply_mask_for_static", "%1: %2 cannot be the subnet mask of a camera with a fixed address."};
constexpr WindowText APPLY_TEXT_IP_ZERO{"apply_ip_zero",
                                        "%1: %2 is not an address a camera can have (0.x.x.x)."};
constexpr WindowText APPLY_TEXT_IP_LOOPBACK{
    "apply_ip_loopback", "%1: %2 is a loopback address: it never leaves the machine that has it."};
constexpr WindowText APPLY_TEXT_IP_MULTICAST{
    "apply_ip_multicast", "%1: %2 is a multicast or reserved address (224 and above), not one a "
                          "camera can have."};
constexpr WindowText APPLY_TEXT_IP_NETWORK{
    "apply_ip_network", "%1: %2 is the network address of its subnet, not one a camera can have."};
constexpr WindowText APPLY_TEXT_IP_BROADCAST{
    "apply_ip_broadcast",
    "%1: %2 is the broadcast address of its subnet, not one a camera can have."};
constexpr WindowText APPLY_TEXT_GATEWAY_IS_IP{
    "apply_gateway_is_ip", "%1: %2 is the camera's own IP; a camera cannot be its own gateway "
                           "(0.0.0.0 means no gateway)."};
constexpr WindowText APPLY_TEXT_GATEWAY_LOOPBACK{
    "apply_gateway_loopback", "%1: %2 is a loopback address and cannot be a gateway (0.0.0.0 "
                              "means no gateway)."};
constexpr WindowText APPLY_TEXT_GATEWAY_MULTICAST{
    "apply_gateway_multicast", "%1: %2 is a multicast address and cannot be a gateway (0.0.0.0 "
                               "means no gateway)."};
constexpr WindowText APPLY_TEXT_GATEWAY_BROADCAST{
    "apply_gateway_broadcast", "%1: %2 is the broadcast address and cannot be a gateway "
                               "(0.0.0.0 means no gateway)."};
constexpr WindowText APPLY_TEXT_MAC_ZERO{"apply_mac_zero",
                                         "%1: %2 is all zeros, which no network card can have."};
constexpr WindowText APPLY_TEXT_MAC_BROADCAST{
    "apply_mac_broadcast",
    "%1: %2 is the broadcast address; the camera would take every frame on the network."};
constexpr WindowText APPLY_TEXT_MAC_GROUP{
    "apply_mac_group", "%1: %2 is a group address (the lowest bit of its first byte is set), "
                       "which no single camera can have."};
// %1 the field.
constexpr WindowText APPLY_TEXT_CONTROL_CHARACTER{
    "apply_control_character", "%1: the text holds a control character (such as a tab or a line "
                               "break), which the camera cannot show."};

// Risky values, sent only when the user confirms: one sentence each.
constexpr WindowText APPLY_TEXT_GATEWAY_OUTSIDE{
    "apply_gateway_outside",
    "The gateway %1 lies outside the camera's new subnet %2, so the camera cannot reach it."};
constexpr WindowText APPLY_TEXT_IP_TAKEN{
    "apply_ip_taken",
    "The IP %1 is already the IP of the camera %2 (%3): the two would disturb each other."};
constexpr WindowText APPLY_TEXT_IP_OF_THIS_PC{
    "apply_ip_of_this_pc",
    "The IP %1 is the IP of this PC: the camera and this PC would disturb each other."};
constexpr WindowText APPLY_TEXT_IP_OUT_OF_SIGHT{
    "apply_ip_out_of_sight", "The IP %1 lies outside every network of this PC: the finder will "
                             "lose sight of the camera."};

// After sending: %1 is the camera's MAC or name.
constexpr WindowText APPLY_TEXT_SENDING{"apply_sending", "Sending to %1\u2026"};
constexpr WindowText APPLY_TEXT_CONFIRMED{"apply_confirmed", "%1 confirmed the new settings"};
constexpr WindowText APPLY_TEXT_NOT_TAKEN{"apply_not_taken",
                                          "%1 did not take the new settings: %2"};
constexpr WindowText APPLY_TEXT_NO_ANSWER{
    "apply_no_answer", "%1 did not answer: it may be restarting; press Update in a minute"};
constexpr WindowText APPLY_TEXT_TWO_ANSWER{
    "apply_two_answer",
    "Two cameras answer with the MAC %1: check which one took the new settings"};
constexpr WindowText APPLY_TEXT_STOPPED_WAITING{"apply_stopped_waiting",
                                                "Stopped waiting for %1 to confirm"};

// One setting that did not come back as sent: %1 the setting, %2 what the camera reports,
// %3 what was sent; the settings are listed with the separator between them.
constexpr WindowText APPLY_TEXT_DIFFERS{"apply_differs", "%1 is %2, not %3 as sent"};
constexpr WindowText APPLY_TEXT_SECRET_DIFFERS{"apply_secret_differs", "%1 did not change"};
constexpr WindowText APPLY_TEXT_LIST_SEPARATOR{"apply_list_separator", "; "};

// Beside the worker's status line when it cannot start: %1 the UDP port, %2 the error.
constexpr WindowText WORKER_MSG_PORT_IN_USE{
    "worker_port_in_use", "UDP port %1 is in use by another program, perhaps another finder"};
constexpr WindowText WORKER_MSG_PORT_DENIED{"worker_port_denied",
                                            "UDP port %1 may not be used by this user"};
constexpr WindowText WORKER_MSG_NO_SOCKET{"worker_no_socket",
                                          "The finder cannot open a network socket (error %2)"};
constexpr WindowText WORKER_MSG_NO_BIND{"worker_no_bind",
                                        "The finder cannot listen on UDP port %1 (error %2)"};

// The search out of every network card: the status line's summary (%1 the count, %2 the
// cards), the tip of an entry, the warning for a camera in a foreign subnet (%1 the
// camera's address, %2 the card's, %3 the card) and its action.
constexpr WindowText TEXT_SEARCH_FOUND_ONE{"search_found_one", "1 camera on %1"};
constexpr WindowText TEXT_SEARCH_FOUND_MANY{"search_found_many", "%1 cameras on %2"};
constexpr WindowText TEXT_SEARCH_NOTHING_FOUND{"search_nothing_found", "No camera answered on %1"};
constexpr WindowText TEXT_SEARCH_NO_CARD_SEARCHED{"search_no_card_searched",
                                                  "No network card was searched"};
constexpr WindowText TEXT_SEARCH_LIKELY_CAUSES{
    "search_likely_causes",
    "Likely causes: no network card is up (cable unplugged), a firewall drops UDP port 3566, or "
    "the cameras are powered off or on another network segment."};
constexpr WindowText TEXT_SEARCH_TABLE_FULL{"search_table_full",
                                            "%1 replies dropped: the list holds 255 cameras"};
// %1 the unicast queries the system refused, %2 all of them, %3 its word on the first.
constexpr WindowText TEXT_SEARCH_TARGETS_REFUSED{
    "search_targets_refused", "the system refused %1 of %2 queries to --to addresses (%3)"};
constexpr WindowText TEXT_SEARCH_FOREIGN_SUBNET{
    "search_foreign_subnet",
    "%1 is not in this PC's network %2 on %3: its web page cannot open from here"};
constexpr WindowText TEXT_SEARCH_MOVE_INTO_NETWORK{"search_move_into_network",
                                                   "Move into my network"};
constexpr WindowText TEXT_SEARCH_NO_FREE_ADDRESS{"search_no_free_address",
                                                 "No free address is left in %1"};
constexpr WindowText TEXT_SEARCH_CARD_UNKNOWN{"search_card_unknown",
                                              "a network card that has gone"};
constexpr WindowText TEXT_SEARCH_DEVICE_TIP{"search_device_tip", "IP: %1\nMAC: %2\nInterface: %3"};

// A search that misses nobody: where nothing answered to queries sent to addresses, the
// cameras' own part in it; a camera that shares its IP with others (%1 the IP, %2 the
// others); a camera at a self-assigned address (%1 the address); a camera new since the
// search before; the status line's count of new and gone cameras (%1 new, %2 gone). The
// window's list of addresses every search also asks: its menu entry, its dialog's title
// and explanation, a line that is no target, a range that ends before it starts (%1 the
// line's number, %2 its text), a line of too many addresses (%1 its number, %2 the limit,
// %3 its text) and a list of too many addresses (%1 the limit).
constexpr WindowText TEXT_SEARCH_BROADCAST_ONLY{
    "search_broadcast_only",
    "Some cameras answer only to a broadcast on their own segment, not to a query sent to "
    "their address."};
constexpr WindowText TEXT_SEARCH_SAME_IP{"search_same_ip", "IP conflict: %1 is also the IP of %2"};
constexpr WindowText TEXT_SEARCH_LINK_LOCAL{
    "search_link_local",
    "%1 is a self-assigned address: the camera found no DHCP server. Move into my network "
    "gives it an address of this PC's network."};
constexpr WindowText TEXT_SEARCH_NEW_CAMERA{"search_new_camera", "New since the search before"};
constexpr WindowText TEXT_SEARCH_NEW_GONE{"search_new_gone", "%1 new, %2 gone"};
constexpr WindowText TEXT_MENU_SEARCH_ADDRESSES{"menu_search_addresses", "Search addresses…"};
constexpr WindowText TEXT_TARGETS_TITLE{"targets_title", "Search addresses"};
constexpr WindowText TEXT_TARGETS_HELP{
    "targets_help",
    "Cameras behind a router or on another VLAN: one IP address (10.2.0.21), block "
    "(10.2.0.0/24) or range (10.2.0.10-10.2.0.60) per line. Every search also asks each of "
    "these addresses."};
constexpr WindowText TEXT_TARGETS_BAD_LINE{"targets_bad_line",
                                           "Line %1 is not an IP address, a block or a range: %2"};
constexpr WindowText TEXT_TARGETS_REVERSED{"targets_reversed",
                                           "Line %1 is a range that ends before it starts: %2"};
constexpr WindowText TEXT_TARGETS_TOO_WIDE{"targets_too_wide",
                                           "Line %1 names more than %2 addresses: %3"};
constexpr WindowText TEXT_TARGETS_TOO_MANY{"targets_too_many",
                                           "The list names more than %1 addresses."};

// A plan that addresses many cameras in one step (the window's dialog, finder-cli assign and
// apply). Its checks and results: %1 a camera's MAC, %2 its name, %3 the sentence.
constexpr WindowText PLAN_TEXT_CAMERA{"plan_camera", "%1 (%2): %3"};
constexpr WindowText PLAN_TEXT_READ_ONLY{"plan_read_only",
                                         "the camera is read-only: it takes no changes"};
// %1 the IP, %2 and %3 the MAC and name of the other camera.
constexpr WindowText PLAN_TEXT_SAME_NEW_IP{"plan_same_new_ip",
                                           "the IP %1 is planned for %2 (%3) too"};
// %1 the subnet, %2 the first IP, %3 how many cameras.
constexpr WindowText PLAN_TEXT_NO_FREE_ADDRESS{
    "plan_no_free_address", "%1 has no free address left from %2 on for the %3 cameras"};
constexpr WindowText PLAN_TEXT_NO_NETMASK{
    "plan_no_netmask",
    "the network card of the cameras has no address, so the netmask is not known: give one"};
// %1 the field, %2 what was typed.
constexpr WindowText PLAN_TEXT_BAD_TEMPLATE{
    "plan_bad_template", "%1: \"%2\" is not a name template: {n} stands for the camera's place "
                         "in the plan, {n:02} for the same with two digits"};
// What a camera of a plan came to beside its result: stopped, or a send that failed (%1).
constexpr WindowText PLAN_TEXT_NOT_SENT{"plan_not_sent", "not sent: stopped before its turn"};
constexpr WindowText PLAN_TEXT_SENT_STOPPED{"plan_sent_stopped",
                                            "sent; stopped before it confirmed"};
constexpr WindowText PLAN_TEXT_SEND_FAILED{"plan_send_failed", "not sent: %1"};
constexpr WindowText PLAN_TEXT_KEPT_NUMBER{
    "plan_kept_number", "%1 kept: the spreadsheet had turned the text into a number"};

// The plan file: "line %1: %2: %3", the line, the column and why.
constexpr WindowText PLAN_TEXT_FILE_LINE{"plan_file_line", "line %1: %2: %3"};
constexpr WindowText PLAN_TEXT_FILE_AT{"plan_file_at", "line %1: %2"};
constexpr WindowText PLAN_TEXT_NO_MAC_COLUMN{"plan_no_mac_column",
                                             "the first row names no mac column"};
constexpr WindowText PLAN_TEXT_COLUMN_TWICE{"plan_column_twice", "the column is named twice"};
constexpr WindowText PLAN_TEXT_UNENDED_QUOTE{"plan_unended_quote", "a quoted cell does not end"};
// %1 the encoding the file was tried in.
constexpr WindowText PLAN_TEXT_NOT_TEXT{"plan_not_text", "the file is neither UTF-8 nor %1"};
// %1 the cell.
constexpr WindowText PLAN_TEXT_NOT_MAC{"plan_not_mac", "\"%1\" is not a MAC address"};
constexpr WindowText PLAN_TEXT_NOT_ADDRESS{
    "plan_not_address", "\"%1\" is not an address (four numbers from 0 to 255 with dots)"};
constexpr WindowText PLAN_TEXT_NOT_PORT{"plan_not_port", "\"%1\" is not a port from 1 to 65535"};
constexpr WindowText PLAN_TEXT_NOT_MODE{"plan_not_mode", "\"%1\" is not STATIC, DHCP or PPPOE"};
constexpr WindowText PLAN_TEXT_NO_CAMERA{"plan_no_camera", "no camera answered with the MAC %1"};
// %1 the MAC or IP, %2 the other line.
constexpr WindowText PLAN_TEXT_MAC_TWICE{"plan_mac_twice", "the MAC %1 is on line %2 too"};
constexpr WindowText PLAN_TEXT_IP_TWICE{"plan_ip_twice", "the new IP %1 is on line %2 too"};
// %1 the number the spreadsheet wrote; %2 the camera's text.
constexpr WindowText PLAN_TEXT_MAC_AS_NUMBER{
    "plan_mac_as_number", "the spreadsheet turned the MAC into the number %1: open the column "
                          "as text, or write the MACs with colons"};
constexpr WindowText PLAN_TEXT_TEXT_AS_NUMBER{
    "plan_text_as_number", "the spreadsheet turned the text \"%2\" into the number %1: open "
                           "the column as text"};

// The window's dialog of a plan, and the device list's actions that open it.
constexpr WindowText TEXT_MENU_ADDRESS_SELECTED{"menu_address_selected",
                                                "Address selected cameras\u2026"};
constexpr WindowText TEXT_MENU_OPEN_PLAN{"menu_open_plan", "Open plan file\u2026"};
constexpr WindowText PLAN_TEXT_TITLE{"plan_title", "Address cameras"};
constexpr WindowText PLAN_TEXT_FIRST_IP{"plan_first_ip", "First IP"};
constexpr WindowText PLAN_TEXT_NAMES{"plan_names", "Names"};
constexpr WindowText PLAN_TEXT_NAMES_TIP{
    "plan_names_tip", "Empty: the names stay. {n} is the camera's place in the plan, {n:02} the "
                      "same with two digits: Dock {n:02} names them Dock 01, Dock 02, \u2026"};
constexpr WindowText PLAN_TEXT_ORDER{"plan_order", "Order"};
constexpr WindowText PLAN_TEXT_ORDER_GIVEN{"plan_order_given", "As listed"};
constexpr WindowText PLAN_TEXT_ORDER_MAC{"plan_order_mac", "By MAC"};
constexpr WindowText PLAN_TEXT_ORDER_NAME{"plan_order_name", "By name"};
constexpr WindowText PLAN_TEXT_ORDER_IP{"plan_order_ip", "By IP"};
constexpr WindowText PLAN_TEXT_IP_NOW{"plan_ip_now", "IP now"};
constexpr WindowText PLAN_TEXT_NEW_IP{"plan_new_ip", "New IP"};
constexpr WindowText PLAN_TEXT_CHANGES{"plan_changes", "Changes"};
constexpr WindowText PLAN_TEXT_RESULT{"plan_result", "Result"};
constexpr WindowText PLAN_TEXT_SEND{"plan_send", "Send"};
constexpr WindowText PLAN_TEXT_STOP{"plan_stop", "Stop"};
constexpr WindowText PLAN_TEXT_SAVE_REPORT{"plan_save_report", "Save report\u2026"};
constexpr WindowText PLAN_TEXT_CLOSE{"plan_close", "Close"};
constexpr WindowText PLAN_TEXT_PLANNED{"plan_planned", "planned"};
constexpr WindowText PLAN_TEXT_CONFIRMED{"plan_confirmed", "confirmed"};
constexpr WindowText PLAN_TEXT_NOT_CONFIRMED{"plan_not_confirmed", "not confirmed"};
constexpr WindowText PLAN_TEXT_UNCHANGED{"plan_unchanged", "unchanged"};
constexpr WindowText PLAN_TEXT_SENDING{"plan_sending", "sending\u2026"};
constexpr WindowText PLAN_TEXT_WAITING{"plan_waiting", "sent, waiting for its answer\u2026"};
// %1 confirmed, %2 not confirmed, %3 unchanged.
constexpr WindowText PLAN_TEXT_SUMMARY{"plan_summary",
                                       "%1 confirmed, %2 not confirmed, %3 unchanged"};
// %1 requests sent, %2 not sent.
constexpr WindowText PLAN_TEXT_STOPPED{"plan_stopped",
                                       "Addressing stopped: %1 requests went out, %2 did not"};
constexpr WindowText PLAN_TEXT_OPEN_TITLE{"plan_open_title", "Open plan file"};
constexpr WindowText PLAN_TEXT_REPORT_TITLE{"plan_report_title", "Save report"};
// %1 the file, %2 why.
// %1 the plan file, %2 what is wrong with its content, where the core says so.
constexpr WindowText PLAN_TEXT_FILE_REFUSED{"plan_file_refused", "%1 was not taken: %2"};
// %1 the report's file.
constexpr WindowText PLAN_TEXT_REPORT_SAVED{"plan_report_saved", "The report was saved to %1"};
constexpr WindowText PLAN_TEXT_READ_FAILED{"plan_read_failed", "%1 could not be read: %2"};

inline constexpr const WindowText* FINDER_TEXTS[] = {
    &TEXT_INFO_IP_GET,
    &TEXT_INFO_VERSION,
    &TEXT_FRAME_ADSL,
    &TEXT_MENU_ENCODING,
    &TEXT_ENCODING_AUTO,
    &TEXT_ENCODING_GBK,
    &TEXT_ENCODING_BIG5,
    &TEXT_ENCODING_SHIFT_JIS,
    &TEXT_ENCODING_CP1252,
    &TEXT_SUBMIT_TITLE,
    &TEXT_FIELD_NAME,
    &TEXT_FIELD_ACCOUNT,
    &TEXT_FIELD_PASSWORD,
    &TEXT_FIELD_IP,
    &TEXT_FIELD_NETMASK,
    &TEXT_FIELD_GATEWAY,
    &TEXT_FIELD_HTTP_PORT,
    &TEXT_FIELD_MAC,
    &TEXT_CHECK_NOT_ADDRESS,
    &TEXT_CHECK_NOT_PORT,
    &TEXT_CHECK_NOT_MAC,
    &TEXT_CHECK_TOO_LONG,
    &TEXT_CHECK_NOT_HELD,
    &TEXT_CHECK_UNREADABLE,
    &TEXT_FIELD_MODE,
    &TEXT_MENU_OPEN_PAGE,
    &TEXT_MENU_COPY_IP,
    &TEXT_MENU_COPY_MAC,
    &TEXT_MENU_COPY_ALL,
    &TEXT_MENU_EXPORT,
    &TEXT_TIP_DOUBLE_CLICK,
    &TEXT_EXPORT_TITLE,
    &TEXT_EXPORT_CSV,
    &TEXT_EXPORT_JSON,
    &TEXT_EXPORT_FAILED,
    &TEXT_PAGE_NOT_OPENED,
    &TEXT_PICK_NOT_KEPT,
    &TEXT_DATABASE_BUSY,
    &TEXT_TRAY_SHOW,
    &TEXT_TRAY_UPDATE,
    &TEXT_TRAY_QUIT,
    &TEXT_TRAY_NO_CAMERA,
    &TEXT_TRAY_ONE_CAMERA,
    &TEXT_TRAY_CAMERAS,
    &APPLY_TEXT_NOTHING_TO_SEND,
    &APPLY_TEXT_NOTHING_SENT,
    &APPLY_TEXT_SEND_ANYWAY,
    &APPLY_TEXT_CANCEL,
    &APPLY_TEXT_MASK_NOT_CONTIGUOUS,
    &APPLY_TEXT_MASK_FOR_STATIC,
    &APPLY_TEXT_IP_ZERO,
    &APPLY_TEXT_IP_LOOPBACK,
    &APPLY_TEXT_IP_MULTICAST,
    &APPLY_TEXT_IP_NETWORK,
    &APPLY_TEXT_IP_BROADCAST,
    &APPLY_TEXT_GATEWAY_IS_IP,
    &APPLY_TEXT_GATEWAY_LOOPBACK,
    &APPLY_TEXT_GATEWAY_MULTICAST,
    &APPLY_TEXT_GATEWAY_BROADCAST,
    &APPLY_TEXT_MAC_ZERO,
    &APPLY_TEXT_MAC_BROADCAST,
    &APPLY_TEXT_MAC_GROUP,
    &APPLY_TEXT_CONTROL_CHARACTER,
    &APPLY_TEXT_GATEWAY_OUTSIDE,
    &APPLY_TEXT_IP_TAKEN,
    &APPLY_TEXT_IP_OF_THIS_PC,
    &APPLY_TEXT_IP_OUT_OF_SIGHT,
    &APPLY_TEXT_SENDING,
    &APPLY_TEXT_CONFIRMED,
    &APPLY_TEXT_NOT_TAKEN,
    &APPLY_TEXT_NO_ANSWER,
    &APPLY_TEXT_TWO_ANSWER,
    &APPLY_TEXT_STOPPED_WAITING,
    &APPLY_TEXT_DIFFERS,
    &APPLY_TEXT_SECRET_DIFFERS,
    &APPLY_TEXT_LIST_SEPARATOR,
    &WORKER_MSG_PORT_IN_USE,
    &WORKER_MSG_PORT_DENIED,
    &WORKER_MSG_NO_SOCKET,
    &WORKER_MSG_NO_BIND,
    &TEXT_SEARCH_FOUND_ONE,
    &TEXT_SEARCH_FOUND_MANY,
    &TEXT_SEARCH_NOTHING_FOUND,
    &TEXT_SEARCH_NO_CARD_SEARCHED,
    &TEXT_SEARCH_LIKELY_CAUSES,
    &TEXT_SEARCH_TABLE_FULL,
    &TEXT_SEARCH_FOREIGN_SUBNET,
    &TEXT_SEARCH_MOVE_INTO_NETWORK,
    &TEXT_SEARCH_NO_FREE_ADDRESS,
    &TEXT_SEARCH_CARD_UNKNOWN,
    &TEXT_SEARCH_DEVICE_TIP,
    &TEXT_SEARCH_BROADCAST_ONLY,
    &TEXT_SEARCH_SAME_IP,
    &TEXT_SEARCH_LINK_LOCAL,
    &TEXT_SEARCH_NEW_CAMERA,
    &TEXT_SEARCH_NEW_GONE,
    &TEXT_MENU_SEARCH_ADDRESSES,
    &TEXT_TARGETS_TITLE,
    &TEXT_TARGETS_HELP,
    &TEXT_TARGETS_BAD_LINE,
    &TEXT_TARGETS_REVERSED,
    &TEXT_TARGETS_TOO_WIDE,
    &TEXT_TARGETS_TOO_MANY,

    &PLAN_TEXT_CAMERA,
    &PLAN_TEXT_READ_ONLY,
    &PLAN_TEXT_SAME_NEW_IP,
    &PLAN_TEXT_NO_FREE_ADDRESS,
    &PLAN_TEXT_NO_NETMASK,
    &PLAN_TEXT_BAD_TEMPLATE,
    &PLAN_TEXT_NOT_SENT,
    &PLAN_TEXT_SENT_STOPPED,
    &PLAN_TEXT_SEND_FAILED,
    &PLAN_TEXT_KEPT_NUMBER,
    &PLAN_TEXT_FILE_LINE,
    &PLAN_TEXT_FILE_AT,
    &PLAN_TEXT_NO_MAC_COLUMN,
    &PLAN_TEXT_COLUMN_TWICE,
    &PLAN_TEXT_UNENDED_QUOTE,
    &PLAN_TEXT_NOT_TEXT,
    &PLAN_TEXT_NOT_MAC,
    &PLAN_TEXT_NOT_ADDRESS,
    &PLAN_TEXT_NOT_PORT,
    &PLAN_TEXT_NOT_MODE,
    &PLAN_TEXT_NO_CAMERA,
    &PLAN_TEXT_MAC_TWICE,
    &PLAN_TEXT_IP_TWICE,
    &PLAN_TEXT_MAC_AS_NUMBER,
    &PLAN_TEXT_TEXT_AS_NUMBER,
    &TEXT_MENU_ADDRESS_SELECTED,
    &TEXT_MENU_OPEN_PLAN,
    &PLAN_TEXT_TITLE,
    &PLAN_TEXT_FIRST_IP,
    &PLAN_TEXT_NAMES,
    &PLAN_TEXT_NAMES_TIP,
    &PLAN_TEXT_ORDER,
    &PLAN_TEXT_ORDER_GIVEN,
    &PLAN_TEXT_ORDER_MAC,
    &PLAN_TEXT_ORDER_NAME,
    &PLAN_TEXT_ORDER_IP,
    &PLAN_TEXT_IP_NOW,
    &PLAN_TEXT_NEW_IP,
    &PLAN_TEXT_CHANGES,
    &PLAN_TEXT_RESULT,
    &PLAN_TEXT_SEND,
    &PLAN_TEXT_STOP,
    &PLAN_TEXT_SAVE_REPORT,
    &PLAN_TEXT_CLOSE,
    &PLAN_TEXT_PLANNED,
    &PLAN_TEXT_CONFIRMED,
    &PLAN_TEXT_NOT_CONFIRMED,
    &PLAN_TEXT_UNCHANGED,
    &PLAN_TEXT_SENDING,
    &PLAN_TEXT_WAITING,
    &PLAN_TEXT_SUMMARY,
    &PLAN_TEXT_STOPPED,
    &PLAN_TEXT_OPEN_TITLE,
    &PLAN_TEXT_REPORT_TITLE,
    &PLAN_TEXT_READ_FAILED,
    &TEXT_SEARCH_TARGETS_REFUSED,
    &PLAN_TEXT_FILE_REFUSED,
    &PLAN_TEXT_REPORT_SAVED,
};
