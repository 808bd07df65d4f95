// The network cards as Windows reports them (GetAdaptersAddresses), with each card's
// default gateway.

// In this order: Winsock before windows.h, the IP helper after both.
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>
// clang-format on

#include <string>

#include "core/net/net_interfaces.h"

namespace {

// A card's name as the user sees it ("Ethernet 2"), in UTF-8 like every text of the core.
std::string CardName(const IP_ADAPTER_ADDRESSES& adapter) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, adapter.FriendlyName, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return adapter.AdapterName; // a card without a friendly name keeps its GUID
    }
    std::string name(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, adapter.FriendlyName, -1, name.data(), size, nullptr, nullptr);
    name.pop_back(); // the terminating zero
    return name;
}

uint32_t Ipv4Of(const SOCKET_ADDRESS& address) {
    return ntohl(reinterpret_cast<const sockaddr_in*>(address.lpSockaddr)->sin_addr.s_addr);
}

bool IsIpv4(const SOCKET_ADDRESS& address) {
    return address.lpSockaddr != nullptr && address.lpSockaddr->sa_family == AF_INET;
}

uint32_t DefaultGateway(const IP_ADAPTER_ADDRESSES& adapter) {
    for (const IP_ADAPTER_GATEWAY_ADDRESS* gateway = adapter.FirstGatewayAddress;
         gateway != nullptr; gateway = gateway->Next) {
        if (IsIpv4(gateway->Address)) {
            return Ipv4Of(gateway->Address);
        }
    }
    return 0;
}

NetInterface CardOf(const IP_ADAPTER_ADDRESSES& adapter) {
    NetInterface card;
    card.name = CardName(adapter);
    card.index = adapter.IfIndex;
    card.up = adapter.OperStatus == IfOperStatusUp;
    card.loopback = adapter.IfType == IF_TYPE_SOFTWARE_LOOPBACK;
    card.pointToPoint = adapter.IfType == IF_TYPE_PPP || adapter.IfType == IF_TYPE_TUNNEL;
    // Windows has no broadcast flag: every card but loopback and a link to one peer can.
    card.canBroadcast = !card.loopback && !card.pointToPoint;
    card.gateway = DefaultGateway(adapter);
    return card;
}

// The IP helper's list of cards; its size is asked first, and a card added between the two
// calls asks once more.
std::vector<unsigned char> AdapterList() {
    constexpr ULONG FLAGS = GAA_FLAG_INCLUDE_GATEWAYS | GAA_FLAG_SKIP_ANYCAST |
                            GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    ULONG size = 16 * 1024;
    std::vector<unsigned char> buffer;
    ULONG result = ERROR_BUFFER_OVERFLOW;
    for (int attempt = 0; attempt < 3 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
        buffer.resize(size);
        result = GetAdaptersAddresses(
            AF_INET, FLAGS, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
    }
    if (result != NO_ERROR) {
        buffer.clear();
    }
    return buffer;
}

} // namespace

std::vector<NetInterface> ListInterfaces() {
    std::vector<NetInterface> cards;
    const std::vector<unsigned char> buffer = AdapterList();
    if (buffer.empty()) {
        return cards;
    }
    for (auto* adapter = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data());
         adapter != nullptr; adapter = adapter->Next) {
        const NetInterface card = CardOf(*adapter);
        bool hasAddress = false;
        for (const IP_ADAPTER_UNICAST_ADDRESS* unicast = adapter->FirstUnicastAddress;
             unicast != nullptr; unicast = unicast->Next) {
            if (IsIpv4(unicast->Address)) {
                NetInterface withAddress = card;
                withAddress.address = Ipv4Of(unicast->Address);
                withAddress.prefix = unicast->OnLinkPrefixLength;
                cards.push_back(withAddress);
                hasAddress = true;
            }
        }
        if (!hasAddress) {
            cards.push_back(card); // listed, so the user learns why it is not searched
        }
    }
    return cards;
}
