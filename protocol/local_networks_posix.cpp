#include "protocol/local_networks.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

std::vector<LocalNetwork> LocalNetworks() {
    std::vector<LocalNetwork> networks;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return networks;
    }
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
            entry->ifa_netmask == nullptr || (entry->ifa_flags & IFF_UP) == 0) {
            continue;
        }
        LocalNetwork network;
        network.address =
            ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr);
        network.netmask =
            ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask)->sin_addr.s_addr);
        networks.push_back(network);
    }
    freeifaddrs(list);
    return networks;
}
