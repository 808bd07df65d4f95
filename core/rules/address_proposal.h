#pragma once

#include <optional>
#include <string>

#include "core/wire/device_table.h"
#include "core/worker/device_arrival.h"

// The settings that move a camera into the subnet of the card it answered on: a free IP
// (FreeAddress, with every listed camera's IP and the card's gateway counted as taken), the
// card's netmask and its gateway ("0.0.0.0" when it has none). Nothing when the card or its
// address is unknown, or no address of its subnet is free.
struct AddressProposal {
    std::string ip;
    std::string netmask;
    std::string gateway;
};
std::optional<AddressProposal> ProposeAddress(const DeviceTable& table,
                                              const ReplyArrival& arrival);
