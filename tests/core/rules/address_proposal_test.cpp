// The settings that move a camera into the subnet of the card it answered on.

#include <gtest/gtest.h>

#include "core/rules/address_proposal.h"
#include "tests/core/test_records.h"

namespace {

using namespace core_test;

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

} // namespace
