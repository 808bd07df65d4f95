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

namespace {

// Both front ends lay out the same sentences: where the search went, what likely kept the
// cameras quiet, and, with search targets, that some answer only a broadcast.
TEST(SearchTextsTest, NothingAnsweredIsSaidInTheSameSentencesEverywhere) {
    WorkerEndpoints broadcast;
    broadcast.destinationAddress = "127.255.255.255";
    broadcast.everyInterface = false;
    const std::string causes =
        "Likely causes: no network card is up (cable unplugged), a firewall drops UDP port "
        "3566, or the cameras are powered off or on another network segment.";
    const struct {
        bool targets;
        const char* after;
        std::vector<std::string> sentences;
    } cases[] = {
        {false, "", {"No camera answered on 127.255.255.255.", causes}},
        {true,
         " within 3000 ms",
         {"No camera answered on 127.255.255.255 within 3000 ms.", causes,
          "Some cameras answer only to a broadcast on their own segment, not to a query sent "
          "to their address."}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NothingAnsweredSentences(broadcast, c.targets, c.after), c.sentences);
    }
    const auto marked = [](const WindowText& text) { return std::string("<") + text.id + ">"; };
    EXPECT_EQ(NothingAnsweredSentences(broadcast, false, "", marked).back(),
              "<search_likely_causes>")
        << "in the front end's language";
}

} // namespace
