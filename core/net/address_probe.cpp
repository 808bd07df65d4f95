#include "core/net/address_probe.h"

#include <algorithm>

#include "core/wire/subnet.h"

bool WayAsksOutsideSubnet(ProbeWay way) {
    return way == ProbeWay::ArpProbe;
}

namespace {

// The cards an address is asked on: the first whose subnet holds it, else every card when
// the way can ask outside a subnet (the address may lie behind any of them), else none.
std::vector<std::size_t> CardsFor(const std::vector<NetInterface>& cards, uint32_t address,
                                  ProbeWay way) {
    for (std::size_t c = 0; c < cards.size(); ++c) {
        if (InSubnet(address, cards[c].address, cards[c].prefix)) {
            return {c};
        }
    }
    std::vector<std::size_t> all;
    if (WayAsksOutsideSubnet(way)) {
        for (std::size_t c = 0; c < cards.size(); ++c) {
            all.push_back(c);
        }
    }
    return all;
}

void Merge(AddressAnswer& into, const AddressAnswer& from) {
    into.asked = into.asked || from.asked;
    into.held = into.held || from.held;
    for (const HardwareAddress& mac : from.macs) {
        if (std::find(into.macs.begin(), into.macs.end(), mac) == into.macs.end()) {
            into.macs.push_back(mac);
        }
    }
}

} // namespace

ProbeResult ProbeAddresses(const std::vector<NetInterface>& cards,
                           const std::vector<uint32_t>& addresses, const ProbeOptions& options) {
    ProbeResult result;
    result.way = AvailableProbeWay(options.neighbourTableOnly);
    for (const uint32_t address : addresses) {
        result.answers.push_back({address, false, false, {}});
    }
    // Per card, the places in the result of the addresses it asks.
    std::vector<std::vector<std::size_t>> asked(cards.size());
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        for (const std::size_t card : CardsFor(cards, addresses[i], result.way)) {
            asked[card].push_back(i);
        }
    }
    for (std::size_t c = 0; c < cards.size(); ++c) {
        if (asked[c].empty()) {
            continue;
        }
        std::vector<AddressAnswer> answers;
        for (const std::size_t i : asked[c]) {
            answers.push_back({addresses[i], true, false, {}});
        }
        if (const int error = ProbeOnCard(cards[c], result.way, options, answers); error != 0) {
            result.error = error;
            result.failedCard = cards[c].name;
            return result;
        }
        for (std::size_t a = 0; a < answers.size(); ++a) {
            Merge(result.answers[asked[c][a]], answers[a]);
        }
    }
    return result;
}
