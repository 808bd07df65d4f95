#include "core/wire/net_mode.h"

#include <cstdio>

#include "core/wire/discovery_datagram.h"

static bool ModeOn(uint8_t modeByte) {
    return modeByte != NET_MODE_OFF;
}

NetMode RecordMode(const uint8_t netMode[4]) {
    if (ModeOn(netMode[0])) {
        return NetMode::Pppoe;
    }
    return ModeOn(netMode[2]) ? NetMode::Dhcp : NetMode::Static;
}

NetMode InfoLineMode(const uint8_t netMode[4]) {
    if (ModeOn(netMode[0]) && ModeOn(netMode[1])) {
        return NetMode::Pppoe;
    }
    return ModeOn(netMode[2]) && ModeOn(netMode[3]) ? NetMode::Dhcp : NetMode::Static;
}

const char* ModeName(NetMode mode) {
    switch (mode) {
    case NetMode::Pppoe:
        return "PPPOE";
    case NetMode::Dhcp:
        return "DHCP";
    case NetMode::Static:
        break;
    }
    return "STATIC";
}

std::string NetModeText(const uint8_t netMode[4]) {
    char text[9];
    std::snprintf(text, sizeof text, "%02x%02x%02x%02x", netMode[0], netMode[1], netMode[2],
                  netMode[3]);
    return text;
}
