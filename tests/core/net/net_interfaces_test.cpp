// Which cards a query goes out of, and the card a reply belongs to.

#include <gtest/gtest.h>

#include "core/net/net_interfaces.h"
#include "core/worker/device_arrival.h"
#include "tests/core/test_records.h"

namespace {

using namespace core_test;

TEST(SubnetTest, SameSubnetNeedsAKnownCardAndAnAddress) {
    const ReplyArrival eth2{"eth2", Ip("10.0.0.5"), 24, 0};
    EXPECT_TRUE(SameSubnet(Camera(1, "10.0.0.60"), eth2));
    EXPECT_FALSE(SameSubnet(Camera(1, "192.168.1.64"), eth2));
    EXPECT_FALSE(SameSubnet(Camera(1, "not an ip"), eth2));
    EXPECT_FALSE(SameSubnet(Camera(1, "10.0.0.60"), ReplyArrival{}));
    EXPECT_FALSE(SameSubnet(Camera(1, "10.0.0.60"), ReplyArrival{"eth3", 0, 0, 0}));
    EXPECT_EQ(InterfaceAddressText(eth2), "10.0.0.5/24");
    EXPECT_EQ(InterfaceAddressText(ReplyArrival{}), "");
}

TEST(InterfacesTest, WhichCardsAQuerySearches) {
    const struct {
        std::vector<std::string> only;
        const char* searched;
    } cases[] = {
        {{}, "eth0, wlan0"},            // every card that can, loopback left out
        {{"wlan0"}, "wlan0"},           // the user's choice, and nothing else
        {{"lo"}, "lo"},                 // loopback when named
        {{"eth1", "eth2", "tun0"}, ""}, // down, no address, point-to-point
        {{"eth0", "wlan0"}, "eth0, wlan0"},
    };
    for (const auto& c : cases) {
        const std::vector<NetInterface> searched = SearchedInterfaces(Cards(), c.only);
        EXPECT_EQ(InterfaceNames(searched), c.searched);
        for (const NetInterface& card : searched) {
            EXPECT_NE(card.address, Ip("192.168.1.5")) << "one send per card, from its first";
        }
    }
    EXPECT_EQ(NotSearchedReason(Cards()[3], {}), "down");
    EXPECT_EQ(NotSearchedReason(Cards()[4], {}), "no IPv4 address");
    EXPECT_EQ(NotSearchedReason(Cards()[5], {}), "cannot broadcast (point-to-point link)");
    EXPECT_EQ(NotSearchedReason(Cards()[0], {}), "loopback (searched only when named)");
    EXPECT_EQ(NotSearchedReason(Cards()[1], {"wlan0"}), "not chosen");
    EXPECT_EQ(UnknownInterfaceNames(Cards(), {"eth0", "eth9", "lo"}),
              std::vector<std::string>{"eth9"});
    EXPECT_EQ(InterfaceNames(Cards()), "lo, eth0, eth1, eth2, tun0, wlan0");
}

TEST(InterfacesTest, AReplyBelongsToTheAddressOfItsCardThatHoldsTheCamera) {
    const NetInterface* card = ArrivalCard(Cards(), 2, Ip("192.168.1.64"));
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->address, Ip("192.168.1.5"));
    card = ArrivalCard(Cards(), 2, Ip("172.20.0.1")); // in neither: the card's first address
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->address, Ip("10.0.0.5"));
    EXPECT_EQ(ArrivalCard(Cards(), 9, Ip("10.0.0.9")), nullptr) << "a card that has gone";
    EXPECT_EQ(ArrivalCard(Cards(), 0, Ip("10.0.0.9")), nullptr) << "the system did not say";
}

} // namespace
