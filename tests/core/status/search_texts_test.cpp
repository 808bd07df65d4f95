// What the finder says about cards, cameras and subnets.

#include <gtest/gtest.h>

#include "core/net/net_interfaces.h"
#include "core/status/search_texts.h"
#include "tests/core/test_records.h"

namespace {

using namespace core_test;

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
