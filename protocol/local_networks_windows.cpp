#include "protocol/local_networks.h"

// In this order: Winsock before windows.h, the IP helper after both.
// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
// clang-format on

// The IP helper's address table: one row per IPv4 address, loopback included. Its size is
// asked first; an address added between the two calls asks once more.
std::vector<LocalNetwork> LocalNetworks() {
    std::vector<LocalNetwork> networks;
    ULONG size = 0;
    std::vector<unsigned char> buffer;
    DWORD result = ERROR_INSUFFICIENT_BUFFER;
    for (int attempt = 0; attempt < 3 && result == ERROR_INSUFFICIENT_BUFFER; ++attempt) {
        buffer.resize(size);
        result = GetIpAddrTable(reinterpret_cast<MIB_IPADDRTABLE*>(buffer.data()), &size, FALSE);
    }
    if (result != NO_ERROR) {
        return networks;
    }
    const auto* table = reinterpret_cast<const MIB_IPADDRTABLE*>(buffer.data());
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
        const MIB_IPADDRROW& row = table->table[i];
        if ((row.wType & (MIB_IPADDR_DISCONNECTED | MIB_IPADDR_DELETED)) != 0) {
            continue; // the interface is down or the address is going away
        }
        networks.push_back({ntohl(row.dwAddr), ntohl(row.dwMask)});
    }
    return networks;
}
