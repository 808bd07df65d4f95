// The address probe on a segment of its own (tests/support/probe_segment.h), both ways: ARP
// probes from a packet socket as root, and the kernel's neighbour table as without
// CAP_NET_RAW. Without a namespace every test skips.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>

#include "core/net/address_probe.h"
#include "core/wire/device_table.h"
#include "core/wire/subnet.h"
#include "tests/support/probe_segment.h"

namespace {

std::vector<NetInterface> ProbeCards() {
    return SearchedInterfaces(ListInterfaces(), {PROBE_CARD});
}

uint32_t Ip(const char* text) {
    return *ParseIpv4(text);
}

std::string Macs(const AddressAnswer& answer) {
    std::string text;
    for (const HardwareAddress& mac : answer.macs) {
        text += (text.empty() ? "" : " ") + MacToColonText(mac.data());
    }
    return text;
}

// What each way finds at one address; "card" stands for eth5's own MAC, "?" for either of
// the two devices at 10.3.0.40, "-" for an address the way cannot ask.
struct AddressCase {
    const char* ip;
    const char* arpProbe;
    const char* neighbourTable;
};

const std::string FAR = PROBE_FAR_MAC;
const std::string BOTH = FAR + " " + PROBE_TWIN_MAC;

TEST(AddressProbeTest, EachWayFindsTheHoldersOfItsAddresses) {
    SKIP_WITHOUT_SEGMENT();
    const AddressCase cases[] = {
        {"10.3.0.20", PROBE_FAR_MAC, PROBE_FAR_MAC}, // the camera, by its own MAC
        {"10.3.0.30", PROBE_FAR_MAC, PROBE_FAR_MAC}, // a host address of a device
        {"10.3.0.31", PROBE_FAR_MAC, PROBE_FAR_MAC},
        {"10.3.0.40", BOTH.c_str(), "?"}, // two devices at one IP
        {"10.3.0.50", "", ""},            // free
        {"10.3.0.254", "", ""},
        {"10.3.0.5", "card", "card"},       // this PC's own address
        {"172.16.9.9", PROBE_FAR_MAC, "-"}, // a foreign subnet: only ARP probes ask it
        {"172.16.9.10", "", "-"},
    };
    const std::vector<NetInterface> cards = ProbeCards();
    ASSERT_EQ(cards.size(), 1u);
    std::vector<uint32_t> addresses;
    for (const AddressCase& c : cases) {
        addresses.push_back(Ip(c.ip));
    }
    for (const bool unprivileged : {false, true}) {
        ProbeOptions options;
        options.neighbourTableOnly = unprivileged;
        const ProbeResult result = ProbeAddresses(cards, addresses, options);
        std::system("ip neigh; sleep 0.5; ip neigh");
        ASSERT_EQ(result.error, 0) << result.failedCard;
        EXPECT_EQ(result.way, unprivileged ? ProbeWay::NeighbourTable : ProbeWay::ArpProbe);
        ASSERT_EQ(result.answers.size(), std::size(cases));
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            const AddressAnswer& answer = result.answers[i];
            const std::string expected = unprivileged ? cases[i].neighbourTable : cases[i].arpProbe;
            SCOPED_TRACE(std::string(cases[i].ip) + (unprivileged ? " neighbour table" : " ARP"));
            EXPECT_EQ(answer.address, addresses[i]);
            EXPECT_EQ(answer.asked, expected != "-");
            EXPECT_EQ(answer.held, expected != "-" && !expected.empty());
            if (expected == "card") {
                ASSERT_EQ(answer.macs.size(), 1u);
                EXPECT_NE(Macs(answer), FAR);
            } else if (expected == "?") {
                EXPECT_TRUE(Macs(answer) == FAR || Macs(answer) == PROBE_TWIN_MAC) << Macs(answer);
            } else {
                EXPECT_EQ(Macs(answer), expected == "-" ? "" : expected);
            }
        }
    }
}

TEST(AddressProbeTest, AnAddressOutsideEveryCardIsAskedOnlyByArpProbes) {
    SKIP_WITHOUT_SEGMENT();
    EXPECT_TRUE(WayAsksOutsideSubnet(ProbeWay::ArpProbe));
    EXPECT_FALSE(WayAsksOutsideSubnet(ProbeWay::NeighbourTable));
    EXPECT_FALSE(WayAsksOutsideSubnet(ProbeWay::SystemArp));
    // No card at all: nothing is asked, and nothing is said to be held.
    const ProbeResult none = ProbeAddresses({}, {Ip("10.3.0.20")}, {});
    ASSERT_EQ(none.answers.size(), 1u);
    EXPECT_FALSE(none.answers[0].asked);
    EXPECT_FALSE(none.answers[0].held);
}

} // namespace

int main(int argc, char** argv) {
    return RunOnProbeSegment(argc, argv, CAMERA_NETWORKS_SCRIPT, CAMSIM_PATH);
}
