#include "core/rules/address_proposal.h"

#include <vector>

#include "core/wire/subnet.h"

std::optional<AddressProposal> ProposeAddress(const DeviceTable& table,
                                              const ReplyArrival& arrival) {
    if (arrival.interfaceName.empty() || arrival.interfaceAddress == 0) {
        return std::nullopt;
    }
    std::vector<uint32_t> taken;
    for (const DeviceRecord& record : table.slot) {
        if (record.id != 0) {
            if (const std::optional<uint32_t> ip = ParseIpv4(FieldText(record.ip))) {
                taken.push_back(*ip);
            }
        }
    }
    if (arrival.gateway != 0) {
        taken.push_back(arrival.gateway);
    }
    const std::optional<uint32_t> free =
        FreeAddress(arrival.interfaceAddress, arrival.prefix, taken);
    if (!free) {
        return std::nullopt;
    }
    return AddressProposal{Ipv4Text(*free), Ipv4Text(PrefixMask(arrival.prefix)),
                           Ipv4Text(arrival.gateway)};
}
