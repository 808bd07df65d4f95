#include "core/worker/device_arrival.h"

#include "core/wire/subnet.h"

void ClearArrivals(ArrivalTable& arrivals) {
    for (ReplyArrival& arrival : arrivals.slot) {
        arrival = ReplyArrival{};
    }
}

bool SameSubnet(const DeviceRecord& record, const ReplyArrival& arrival) {
    const std::optional<uint32_t> ip = ParseIpv4(FieldText(record.ip));
    return ip && !arrival.interfaceName.empty() && arrival.interfaceAddress != 0 &&
           InSubnet(*ip, arrival.interfaceAddress, arrival.prefix);
}

std::string InterfaceAddressText(const ReplyArrival& arrival) {
    return arrival.interfaceAddress == 0 ? ""
                                         : SubnetText(arrival.interfaceAddress, arrival.prefix);
}
