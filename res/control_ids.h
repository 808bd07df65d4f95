#pragma once

// Control identifiers of dialog template 102, the finder's window: the window lays its
// controls out by them, and the language store's cells name the control they go to.
constexpr int IDC_DEVICE_LIST = 1000;
constexpr int IDC_UPDATE = 1001;
constexpr int IDC_EXIT = 1002;
constexpr int IDC_INFO = 1003;
constexpr int IDC_PPPOE_ACCOUNT = 1004;
constexpr int IDC_PPPOE_PASSWORD = 1005;
constexpr int IDC_NEW_MAC = 1006;
constexpr int IDC_NAME = 1007;
constexpr int IDC_IP = 1008;
constexpr int IDC_NETMASK = 1009;
constexpr int IDC_GATEWAY = 1010;
constexpr int IDC_HTTP_PORT = 1011;
constexpr int IDC_SUBMIT = 1012;
constexpr int IDC_MODE_PPPOE = 1013;
constexpr int IDC_MODE_DHCP = 1014;
constexpr int IDC_MODE_STATIC = 1015;
constexpr int IDC_LABEL_ACCOUNT = 1019;
constexpr int IDC_LABEL_PASSWORD = 1020;
constexpr int IDC_LABEL_MAC = 1021;
constexpr int IDC_LABEL_ADDRESS = 1022;
constexpr int IDC_LABEL_NAME = 1023;
constexpr int IDC_LABEL_IP = 1024;
constexpr int IDC_LABEL_NETMASK = 1025;
constexpr int IDC_LABEL_GATEWAY = 1026;
constexpr int IDC_LABEL_HTTP_PORT = 1027;
constexpr int IDC_LABEL_STATUS = 1028;
constexpr int IDC_STATUS = 1029;
constexpr int IDC_LABEL_PPPOE = 1030;
constexpr int IDC_LABEL_DHCP = 1031;
constexpr int IDC_LABEL_STATIC = 1032;
constexpr int IDC_MAC_GROUP = 1034;
constexpr int IDC_LANGUAGE = 1036;
constexpr int IDC_STATIC = -1; // the "ADSL / DSL" frame, which has no member

// The finder's own controls beyond the template: the warning about a camera outside the
// subnet of the card it answered on, and the button that proposes an address inside it.
constexpr int IDC_SUBNET_WARNING = 1040;
constexpr int IDC_MOVE_INTO_NETWORK = 1041;
