// The network cards as POSIX reports them (getifaddrs), with the default gateways of
// Linux's routing table where /proc offers it.

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "core/net/net_interfaces.h"
#include "core/wire/subnet.h"

namespace {

// Default routes by card name, from /proc/net/route (hexadecimal, network order). Elsewhere
// the file is missing and no card has a gateway.
std::map<std::string, uint32_t> DefaultGateways() {
    constexpr unsigned ROUTE_FLAG_GATEWAY = 0x2;
    std::map<std::string, uint32_t> gateways;
    std::ifstream routes("/proc/net/route");
    std::string line;
    std::getline(routes, line); // the header
    while (std::getline(routes, line)) {
        std::istringstream fields(line);
        std::string name;
        unsigned destination = 0, gateway = 0, flags = 0;
        fields >> name >> std::hex >> destination >> gateway >> flags;
        if (fields && destination == 0 && (flags & ROUTE_FLAG_GATEWAY) != 0 &&
            gateways.count(name) == 0) {
            gateways[name] = ntohl(gateway);
        }
    }
    return gateways;
}

NetInterface CardOf(const ifaddrs& entry) {
    NetInterface card;
    card.name = entry.ifa_name;
    card.index = if_nametoindex(entry.ifa_name);
    card.up = (entry.ifa_flags & IFF_UP) != 0 && (entry.ifa_flags & IFF_RUNNING) != 0;
    card.canBroadcast = (entry.ifa_flags & IFF_BROADCAST) != 0;
    card.loopback = (entry.ifa_flags & IFF_LOOPBACK) != 0;
    card.pointToPoint = (entry.ifa_flags & IFF_POINTOPOINT) != 0;
    return card;
}

} // namespace

std::vector<NetInterface> ListInterfaces() {
    std::vector<NetInterface> cards;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return cards;
    }
    const std::map<std::string, uint32_t> gateways = DefaultGateways();
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) {
            continue;
        }
        NetInterface card = CardOf(*entry);
        card.address =
            ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr);
        if (entry->ifa_netmask != nullptr) {
            const uint32_t mask =
                ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask)->sin_addr.s_addr);
            card.prefix = MaskPrefix(mask).value_or(32);
        }
        if (const auto gateway = gateways.find(card.name); gateway != gateways.end()) {
            card.gateway = gateway->second;
        }
        cards.push_back(card);
    }
    // Cards without an IPv4 address are listed too, once, so the user learns why they are
    // not searched.
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        const bool known = std::any_of(cards.begin(), cards.end(), [&](const NetInterface& c) {
            return c.name == entry->ifa_name;
        });
        if (!known) {
            cards.push_back(CardOf(*entry));
        }
    }
    freeifaddrs(list);
    return cards;
}
