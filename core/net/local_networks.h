#pragma once

#include <cstdint>
#include <vector>

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
