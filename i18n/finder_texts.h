#pragma once

#include "i18n/window_texts.h"

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

inline constexpr const WindowText* FINDER_TEXTS[] = {
    &TEXT_INFO_IP_GET,     &TEXT_INFO_VERSION,   &TEXT_FRAME_ADSL,        &TEXT_MENU_ENCODING,
    &TEXT_ENCODING_AUTO,   &TEXT_ENCODING_GBK,   &TEXT_ENCODING_BIG5,     &TEXT_ENCODING_SHIFT_JIS,
    &TEXT_ENCODING_CP1252, &TEXT_SUBMIT_TITLE,   &TEXT_FIELD_NAME,        &TEXT_FIELD_ACCOUNT,
    &TEXT_FIELD_PASSWORD,  &TEXT_FIELD_IP,       &TEXT_FIELD_NETMASK,     &TEXT_FIELD_GATEWAY,
    &TEXT_FIELD_HTTP_PORT, &TEXT_FIELD_MAC,      &TEXT_CHECK_NOT_ADDRESS, &TEXT_CHECK_NOT_PORT,
    &TEXT_CHECK_NOT_MAC,   &TEXT_CHECK_TOO_LONG, &TEXT_CHECK_NOT_HELD,    &TEXT_CHECK_UNREADABLE,
};
