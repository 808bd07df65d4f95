// The addresses a search asks by unicast, read from what the user typed.
#include <gtest/gtest.h>

#include "core/wire/search_targets.h"
#include "core/wire/subnet.h"

namespace {

uint32_t Ip(const char* text) {
    return ParseIpv4(text).value();
}

TEST(SearchTargets, EachFormReadsAsItsAddressesInOrderAndOnce) {
    const struct {
        std::vector<std::string> targets;
        std::size_t count;
        const char* first;
        const char* last;
    } cases[] = {
        {{"10.2.0.21"}, 1, "10.2.0.21", "10.2.0.21"},
        {{"10.2.0.0/24"}, 254, "10.2.0.1", "10.2.0.254"},
        {{"10.2.0.77/24"}, 254, "10.2.0.1", "10.2.0.254"}, // the block the address lies in
        {{"10.2.0.8/31"}, 2, "10.2.0.8", "10.2.0.9"},
        {{"10.2.0.8/32"}, 1, "10.2.0.8", "10.2.0.8"},
        {{"10.2.0.10-10.2.0.60"}, 51, "10.2.0.10", "10.2.0.60"},
        {{"10.2.0.255-10.2.1.0"}, 2, "10.2.0.255", "10.2.1.0"},
        {{"10.0.0.0/20"}, 4094, "10.0.0.1", "10.0.15.254"},
        {{"10.2.0.5", "10.2.0.0/29", "10.2.0.6-10.2.0.9"}, 9, "10.2.0.5", "10.2.0.9"},
        {{"10.0.0.0/20", "10.0.0.1", "10.0.15.254"}, 4094, "10.0.0.1", "10.0.15.254"},
        {{"10.0.0.0/20", "10.1.0.1-10.1.0.2"}, 4096, "10.0.0.1", "10.1.0.2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.targets.front());
        const SearchTargets read = ParseSearchTargets(c.targets);
        ASSERT_TRUE(read.Ok()) << read.error;
        ASSERT_EQ(read.addresses.size(), c.count);
        EXPECT_EQ(read.addresses.front(), Ip(c.first));
        EXPECT_EQ(read.addresses.back(), Ip(c.last));
    }
}

TEST(SearchTargets, BadTargetsAndTooManyAddressesAreRefusedByName) {
    const struct {
        std::vector<std::string> targets;
        const char* error;
    } cases[] = {
        {{"10.2.0"}, "\"10.2.0\" is not an IP address, a block such as 10.2.0.0/24 or a range"},
        {{"camera.local"}, "\"camera.local\" is not an IP address"},
        {{""}, "\"\" is not an IP address"},
        {{"10.2.0.0/"}, "\"10.2.0.0/\" is not an address block such as 10.2.0.0/24"},
        {{"10.2.0.0/33"}, "\"10.2.0.0/33\" is not an address block"},
        {{"10.2.0.0/-1"}, "\"10.2.0.0/-1\" is not an address block"},
        {{"10.2.0.0/19"},
         "\"10.2.0.0/19\" holds 8192 addresses; at most 4096 (a /20) may be "
         "searched"},
        {{"0.0.0.0/0"}, "holds 4294967296 addresses"},
        {{"10.2.0.60-10.2.0.10"}, "\"10.2.0.60-10.2.0.10\" ends before it starts"},
        {{"10.2.0.1-10.2.16.1"}, "holds 4097 addresses"},
        {{"10.2.0.1-"}, "is not a range such as 10.2.0.10-10.2.0.60"},
        {{"10.0.0.0/20", "10.1.0.0-10.1.0.2"}, "more than 4096 addresses in all"},
        {{"10.2.0.1", "nonsense"}, "\"nonsense\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.targets.back());
        const SearchTargets read = ParseSearchTargets(c.targets);
        EXPECT_NE(read.error.find(c.error), std::string::npos) << read.error;
        EXPECT_TRUE(read.addresses.empty());
    }
}

} // namespace
