// The probe on Windows: the system's own ARP request for each address (SendARP of the IP
// helper), which needs no privilege and asks only the card's own subnet.

// In this order: Winsock before windows.h, the IP helper after both.
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>
// clang-format on

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "core/net/address_probe.h"
#include "core/wire/subnet.h"

namespace {

// SendARP waits for its answer, up to seconds for a free address: this many ask at once,
// each starting the interval after the one before, so a /24 takes a few rounds of that wait
// and the segment sees no more than one request per interval.
constexpr std::size_t PROBE_SENDARP_WORKERS = 64;

// One address by SendARP from the card's address, which picks the card.
void AskOne(const NetInterface& card, AddressAnswer& answer) {
    ULONG mac[2] = {};
    ULONG length = 6;
    if (SendARP(htonl(answer.address), htonl(card.address), mac, &length) == NO_ERROR &&
        length == 6) {
        HardwareAddress holder;
        std::copy_n(reinterpret_cast<const uint8_t*>(mac), 6, holder.begin());
        answer.held = true;
        answer.macs.push_back(holder);
    }
}

} // namespace

ProbeWay AvailableProbeWay(bool) {
    return ProbeWay::SystemArp;
}

int ProbeOnCard(const NetInterface& card, ProbeWay, const ProbeOptions& options,
                std::vector<AddressAnswer>& answers) {
    for (AddressAnswer& answer : answers) {
        answer.asked = InSubnet(answer.address, card.address, card.prefix);
    }
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    const std::size_t count = std::min(PROBE_SENDARP_WORKERS, answers.size());
    for (std::size_t w = 0; w < count; ++w) {
        workers.emplace_back([&] {
            for (std::size_t i = next++; i < answers.size(); i = next++) {
                if (answers[i].asked) {
                    AskOne(card, answers[i]);
                }
            }
        });
        std::this_thread::sleep_for(std::chrono::microseconds(options.intervalUs));
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    return 0;
}
