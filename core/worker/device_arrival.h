#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/wire/device_table.h"

// Where a camera's reply came in: the network card and its subnet, as the finder knew them
// when the reply arrived. The DeviceRecord stays the wire record; this is held beside it,
// slot for slot. An empty name: the card was not known (it went away before the finder
// could read its name).
struct ReplyArrival {
    std::string interfaceName;
    uint32_t interfaceAddress = 0; // host order; 0 when the card had no IPv4 address
    int prefix = 0;
    uint32_t gateway = 0; // the card's default gateway, 0: none
    uint32_t sender = 0;  // host order: the address the reply came from
    // The camera answered a query sent to its own address (a network behind a router that
    // a broadcast does not reach): what is sent to it goes to the sender's address.
    bool unicast = false;
};

// What the finder learnt of each slot beyond its reply; cleared with the table.
struct ArrivalTable {
    ReplyArrival slot[DEVICE_TABLE_SLOTS];
};

void ClearArrivals(ArrivalTable& arrivals);

// Whether the camera's IP lies in the subnet of the card it answered on. A camera whose
// card is unknown, or whose IP is no address, counts as outside.
bool SameSubnet(const DeviceRecord& record, const ReplyArrival& arrival);

// "10.0.0.5/24", or empty when the card had no address.
std::string InterfaceAddressText(const ReplyArrival& arrival);
