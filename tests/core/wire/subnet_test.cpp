// Subnet arithmetic, the free-address rule, the cards a query goes out of, and the texts
// about them: pure functions, so every case is a row of a table.

#include <gtest/gtest.h>

#include <cstring>

#include "protocol/device_arrival.h"
#include "protocol/net_interfaces.h"
#include "protocol/search_texts.h"
#include "protocol/subnet.h"

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

DeviceRecord Camera(int id, const char* ip, const char* netmask = "255.255.255.0") {
    DeviceRecord record{};
    record.id = id;
    SetFieldText(record.ip, ip);
    SetFieldText(record.netmask, netmask);
    record.mac[5] = static_cast<uint8_t>(id);
    return record;
}

TEST(SubnetTest, ProposalTakesEveryListedCameraAndTheGateway) {
    auto table = std::make_unique<DeviceTable>();
    ClearTable(*table);
    table->slot[254] = Camera(255, "10.0.0.6");
    table->slot[253] = Camera(254, "192.168.1.64");
    ReplyArrival card{"eth2", Ip("10.0.0.5"), 24, Ip("10.0.0.7")};
    std::optional<AddressProposal> proposal = ProposeAddress(*table, card);
    ASSERT_TRUE(proposal);
    EXPECT_EQ(proposal->ip, "10.0.0.8"); // .6 is a camera, .7 the gateway
    EXPECT_EQ(proposal->netmask, "255.255.255.0");
    EXPECT_EQ(proposal->gateway, "10.0.0.7");

    card.gateway = 0;
    proposal = ProposeAddress(*table, card);
    ASSERT_TRUE(proposal);
    EXPECT_EQ(proposal->ip, "10.0.0.7");
    EXPECT_EQ(proposal->gateway, "0.0.0.0"); // no gateway on the card

    EXPECT_FALSE(ProposeAddress(*table, ReplyArrival{})) << "the card is not known";
    EXPECT_FALSE(ProposeAddress(*table, ReplyArrival{"eth3", 0, 0, 0})) << "no IPv4 address";
    EXPECT_FALSE(ProposeAddress(*table, ReplyArrival{"ppp0", Ip("10.0.0.1"), 32, 0}));
}

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

NetInterface Card(const char* name, unsigned index, const char* address, int prefix,
                  unsigned flags) {
    NetInterface card;
    card.name = name;
    card.index = index;
    card.address = address[0] == '\0' ? 0 : Ip(address);
    card.prefix = prefix;
    card.up = (flags & 1) != 0;
    card.canBroadcast = (flags & 2) != 0;
    card.loopback = (flags & 4) != 0;
    card.pointToPoint = (flags & 8) != 0;
    return card;
}

constexpr unsigned UP = 1, BCAST = 2, LOOP = 4, PTP = 8;

const std::vector<NetInterface>& Cards() {
    static const std::vector<NetInterface> cards = {
        Card("lo", 1, "127.0.0.1", 8, UP | LOOP),
        Card("eth0", 2, "10.0.0.5", 24, UP | BCAST),
        Card("eth0", 2, "192.168.1.5", 24, UP | BCAST), // a second address of eth0
        Card("eth1", 3, "172.16.0.2", 16, BCAST),       // down
        Card("eth2", 4, "", 0, UP | BCAST),             // no IPv4 address
        Card("tun0", 5, "10.8.0.2", 32, UP | PTP),
        Card("wlan0", 6, "192.168.50.3", 24, UP | BCAST),
    };
    return cards;
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

TEST(SearchTextsTest, TextsNameCardsCamerasAndSubnets) {
    DeviceRecord camera = Camera(243, "192.168.1.64");
    EXPECT_EQ(ForeignSubnetText(camera, ReplyArrival{"eth0", Ip("10.0.0.5"), 24, 0}),
              "192.168.1.64/24 is not in this PC's network 10.0.0.5/24 on eth0: its web page "
              "cannot open from here");
    SetFieldText(camera.ip, "%2");
    EXPECT_EQ(ForeignSubnetText(camera, ReplyArrival{}),
              "%2/24 is not in this PC's network  on a network card that has gone: its web "
              "page cannot open from here")
        << "a camera's text is never taken for a place to fill";
    EXPECT_EQ(FoundText(12, {"eth0", "eth1"}), "12 cameras on eth0, eth1");
    EXPECT_EQ(FoundText(1, {"eth1"}), "1 camera on eth1");
    EXPECT_EQ(NothingFoundText(SearchedInterfaces(Cards(), {})),
              "No camera answered on eth0, wlan0");
    EXPECT_EQ(NothingFoundText({}), "No network card was searched");
}

} // namespace
