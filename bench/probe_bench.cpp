// The address probe on a /24 with ten held addresses, both ways (ARP probes, the kernel's
// neighbour table), inside a private network namespace it makes itself with
// scripts/camera_networks.sh. Prints the time per /24 and how many answers were wrong.
// Needs root (or user namespaces) and ip, veth, nsenter.

#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

#include "core/net/address_probe.h"
#include "core/wire/subnet.h"

namespace {

constexpr int RUNS = 5;
constexpr char FAR_MAC[] = "02:00:5e:00:03:01";

bool Run(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

// eth5 (10.3.0.5/24) to a far end holding 10.3.0.2 and nine more addresses; camsim runs
// there, as the script wants a camera at the far end.
bool BuildSegment(const std::string& state, std::set<uint32_t>& held) {
    const std::string script = CAMERA_NETWORKS_SCRIPT;
    std::ofstream(state + "/cameras.txt")
        << "Gate | 02005e000301 | 10.3.0.2 | 255.255.255.0 | 10.3.0.1 | 80 | FFFFFFFF | "
           "2.1.0 | | | 0\n";
    std::string extra;
    held = {*ParseIpv4("10.3.0.2")};
    for (int host = 11; host <= 251; host += 27) { // nine hosts spread over the subnet
        extra += " 10.3.0." + std::to_string(host) + "/24";
        held.insert(*ParseIpv4("10.3.0." + std::to_string(host)));
    }
    return Run("ip link set lo up") &&
           Run(std::string("CAMERA_MAC=") + FAR_MAC + " " + script + " add " + state +
               " net4 eth5 10.3.0.5/24 10.3.0.2/24 " + CAMSIM_PATH + " --devices " + state +
               "/cameras.txt >/dev/null") &&
           Run(script + " hold " + state + " net4 eth5" + extra);
}

// Wrong: a held address called free or held by another MAC, a free one called held. The
// card's own address is held by the card.
int WrongAnswers(const ProbeResult& result, const std::set<uint32_t>& held, uint32_t own) {
    int wrong = 0;
    for (const AddressAnswer& answer : result.answers) {
        const bool far = held.count(answer.address) != 0;
        const bool farMac = answer.macs.size() == 1 &&
                            std::equal(answer.macs[0].begin(), answer.macs[0].end(),
                                       std::array<uint8_t, 6>{2, 0, 0x5e, 0, 3, 1}.begin());
        if (answer.address == own ? !answer.held : (answer.held != far || (far && !farMac))) {
            ++wrong;
        }
    }
    return wrong;
}

} // namespace

int main() {
    if (unshare(CLONE_NEWNET) != 0) {
        std::printf("probe_bench: no private network namespace here (run as root)\n");
        return 1;
    }
    char state[] = "/tmp/probe-bench-XXXXXX";
    std::set<uint32_t> held;
    if (mkdtemp(state) == nullptr || !BuildSegment(state, held)) {
        std::printf("probe_bench: the segment could not be built (ip, veth, nsenter)\n");
        return 1;
    }
    std::vector<uint32_t> subnet;
    for (uint32_t host = 1; host < 255; ++host) {
        subnet.push_back(*ParseIpv4("10.3.0.0") + host);
    }
    const std::vector<NetInterface> cards = SearchedInterfaces(ListInterfaces(), {"eth5"});
    std::printf("probe of 10.3.0.0/24 (254 addresses, 10 held on the segment and this PC's "
                "own), %d runs each\n",
                RUNS);
    for (const bool unprivileged : {false, true}) {
        ProbeOptions options;
        options.neighbourTableOnly = unprivileged;
        std::vector<double> seconds;
        int wrong = 0;
        for (int run = 0; run < RUNS; ++run) {
            const auto start = std::chrono::steady_clock::now();
            const ProbeResult result = ProbeAddresses(cards, subnet, options);
            seconds.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            wrong += result.error != 0 ? static_cast<int>(subnet.size())
                                       : WrongAnswers(result, held, *ParseIpv4("10.3.0.5"));
        }
        std::sort(seconds.begin(), seconds.end());
        std::printf("  %-22s median %.3f s  min %.3f s  max %.3f s  wrong answers %d of %zu\n",
                    unprivileged ? "kernel neighbour table" : "ARP probes",
                    seconds[seconds.size() / 2], seconds.front(), seconds.back(), wrong,
                    RUNS * subnet.size());
    }
    Run(std::string(CAMERA_NETWORKS_SCRIPT) + " down " + state + "; rm -rf " + state);
    return 0;
}
