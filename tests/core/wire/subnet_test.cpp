// Subnet arithmetic and the free-address rule: pure functions, so every case is a row of a
// table.

#include <gtest/gtest.h>

#include <cstring>

#include "core/wire/subnet.h"

namespace {

uint32_t Ip(const char* text) {
    return ParseIpv4(text).value();
}

TEST(SubnetTest, AddressesMasksAndMembership) {
    EXPECT_EQ(ParseIpv4("10.0.0.5"), 0x0A000005u);
    EXPECT_EQ(ParseIpv4("255.255.255.255"), 0xFFFFFFFFu);
    for (const char* bad : {"", "10.0.0", "10.0.0.256", "10.0.0.5 ", "010.0.0.5", "a.b.c.d"}) {
        EXPECT_FALSE(ParseIpv4(bad)) << bad;
    }
    EXPECT_EQ(Ipv4Text(0xC0A80140u), "192.168.1.64");
    EXPECT_EQ(PrefixMask(0), 0u);
    EXPECT_EQ(PrefixMask(24), 0xFFFFFF00u);
    EXPECT_EQ(PrefixMask(32), 0xFFFFFFFFu);
    EXPECT_EQ(MaskPrefix(0xFFFFFF80u), 25);
    EXPECT_FALSE(MaskPrefix(0xFF00FF00u));
    EXPECT_EQ(SubnetText(Ip("10.0.0.5"), 24), "10.0.0.5/24");

    const struct {
        const char* camera;
        const char* card;
        int prefix;
        bool inside;
    } cases[] = {
        {"10.0.0.200", "10.0.0.5", 24, true},
        {"10.0.1.200", "10.0.0.5", 24, false},
        {"192.168.1.64", "10.0.0.5", 24, false},
        {"10.200.3.4", "10.0.0.5", 8, true},
        {"192.168.3.101", "192.168.3.100", 25, true},
        {"192.168.3.129", "192.168.3.100", 25, false},
        {"1.2.3.4", "10.0.0.5", 0, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InSubnet(Ip(c.camera), Ip(c.card), c.prefix), c.inside)
            << c.camera << " in " << c.card << "/" << c.prefix;
    }
}

TEST(SubnetTest, FreeAddressSkipsThePcTheEdgesAndWhatIsTaken) {
    const struct {
        const char* card;
        int prefix;
        std::vector<const char*> taken;
        const char* expected; // nullptr: none is free
    } cases[] = {
        {"10.0.0.5", 24, {}, "10.0.0.6"},                       // just above the PC
        {"10.0.0.5", 24, {"10.0.0.6", "10.0.0.7"}, "10.0.0.8"}, // cameras are taken
        {"10.0.0.254", 24, {}, "10.0.0.1"},                     // .255 is broadcast: wrap
        {"10.0.0.254", 24, {"10.0.0.1"}, "10.0.0.2"},           // .0 is the network
        {"192.168.3.100", 25, {}, "192.168.3.101"},             // a /25 keeps its bounds
        {"192.168.3.126", 25, {}, "192.168.3.1"},               // ... wrapping inside it
        {"10.0.0.1", 30, {"10.0.0.2"}, nullptr},                // a /30 has two hosts
        {"10.0.0.1", 31, {}, nullptr},                          // nothing to spare
        {"10.0.0.1", 32, {}, nullptr},
        {"172.16.0.9", 12, {"172.16.0.10", "172.16.0.11"}, "172.16.0.12"},
    };
    for (const auto& c : cases) {
        std::vector<uint32_t> taken;
        for (const char* t : c.taken) {
            taken.push_back(Ip(t));
        }
        const std::optional<uint32_t> free = FreeAddress(Ip(c.card), c.prefix, taken);
        SCOPED_TRACE(SubnetText(Ip(c.card), c.prefix));
        if (c.expected == nullptr) {
            EXPECT_FALSE(free) << Ipv4Text(free.value_or(0));
        } else {
            ASSERT_TRUE(free);
            EXPECT_EQ(Ipv4Text(*free), c.expected);
        }
    }
}

} // namespace
