#pragma once

// The cameras and network cards the core's tests about subnets, cards and their texts share.

#include <vector>

#include "core/net/net_interfaces.h"
#include "core/wire/device_table.h"
#include "core/wire/subnet.h"

namespace core_test {

inline uint32_t Ip(const char* text) {
    return ParseIpv4(text).value();
}

inline DeviceRecord Camera(int id, const char* ip, const char* netmask = "255.255.255.0") {
    DeviceRecord record{};
    record.id = id;
    SetFieldText(record.ip, ip);
    SetFieldText(record.netmask, netmask);
    record.mac[5] = static_cast<uint8_t>(id);
    return record;
}

inline NetInterface Card(const char* name, unsigned index, const char* address, int prefix,
                         unsigned flags) {
    NetInterface card;
    card.name = name;
    card.index = index;
    card.address = address[0] == '\0' ? 0 : Ip(address);
    card.prefix = prefix;
    card.up = (flags & 1) != 0;
    card.canBroadcast = (flags & 2) != 0;
    card.loopback = (flags & 4) != 0;
    card.pointToPoint = (flags & 8) != 0;
    return card;
}

inline constexpr unsigned UP = 1, BCAST = 2, LOOP = 4, PTP = 8;

inline const std::vector<NetInterface>& Cards() {
    static const std::vector<NetInterface> cards = {
        Card("lo", 1, "127.0.0.1", 8, UP | LOOP),
        Card("eth0", 2, "10.0.0.5", 24, UP | BCAST),
        Card("eth0", 2, "192.168.1.5", 24, UP | BCAST), // a second address of eth0
        Card("eth1", 3, "172.16.0.2", 16, BCAST),       // down
        Card("eth2", 4, "", 0, UP | BCAST),             // no IPv4 address
        Card("tun0", 5, "10.8.0.2", 32, UP | PTP),
        Card("wlan0", 6, "192.168.50.3", 24, UP | BCAST),
    };
    return cards;
}

} // namespace core_test
