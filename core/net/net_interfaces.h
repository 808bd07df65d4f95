#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One IPv4 address of a network card as the system reports it. A card with several IPv4
// addresses appears once per address (same name and index); a card with none appears once,
// with address 0, so that the finder can say why it is not searched.
struct NetInterface {
    std::string name;
    unsigned index = 0;   // the system's interface index; 0 when unknown
    uint32_t address = 0; // host order; 0: no IPv4 address
    int prefix = 0;       // length of the subnet mask
    uint32_t gateway = 0; // host order; the default gateway through this card, 0: none
    bool up = false;      // administratively up and running
    bool canBroadcast = false;
    bool loopback = false;
    bool pointToPoint = false;
};

// Every network card of this machine, read afresh on each call (a cable plugged in, a
// card brought up since the last call is there). Implemented once per platform.
std::vector<NetInterface> ListInterfaces();

// Why a card is not searched, or empty when it is: the rule that decides where a query
// goes. Loopback is searched only when asked for by name (a simulator on this machine).
std::string NotSearchedReason(const NetInterface& card, const std::vector<std::string>& only);

// The cards a query goes out of: up, able to broadcast, with an IPv4 address, and among
// `only` when that is not empty. One entry per card (its first address).
std::vector<NetInterface> SearchedInterfaces(const std::vector<NetInterface>& cards,
                                             const std::vector<std::string>& only);

// The names of `only` that name no card of `cards`.
std::vector<std::string> UnknownInterfaceNames(const std::vector<NetInterface>& cards,
                                               const std::vector<std::string>& only);

// The entry a reply that came in on card `index` belongs to: of that card's addresses the
// one whose subnet holds the camera's address, else its first. nullptr when no card has
// that index (it has gone since the list was read).
const NetInterface* ArrivalCard(const std::vector<NetInterface>& cards, unsigned index,
                                uint32_t cameraAddress);

// The names, each once, joined with ", ".
std::string InterfaceNames(const std::vector<NetInterface>& cards);

// One IPv4 address of this PC with its subnet mask, both in host order.
struct LocalNetwork {
    uint32_t address = 0;
    uint32_t netmask = 0;
};

// Every IPv4 address of the network cards that are up, loopback included (read through
// ListInterfaces); empty when the system cannot tell.
std::vector<LocalNetwork> LocalNetworks();

// Where a front end asks for them; tests give a fixed list.
using LocalNetworksFunction = std::vector<LocalNetwork> (*)();
