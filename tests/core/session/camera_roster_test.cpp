// The roster of a search: each camera once by its MAC, in the order it first answered.
#include <gtest/gtest.h>

#include "core/session/camera_roster.h"

namespace {

DeviceRecord Reply(uint8_t mac, const char* name) {
    DeviceRecord record{};
    record.mac[5] = mac;
    SetFieldText(record.name, name);
    return record;
}

TEST(CameraRoster, ListsEachMacOnceInTheOrderOfFirstAnswerAndKeepsItsLatestReply) {
    CCameraRoster roster;
    const CCameraRoster::Merge first = roster.Take(Reply(1, "A"), {"eth0", 1, 24, 0});
    const CCameraRoster::Merge second = roster.Take(Reply(2, "B"), {"eth1", 2, 24, 0});
    const CCameraRoster::Merge again = roster.Take(Reply(1, "A2"), {"eth1", 2, 24, 0});
    EXPECT_TRUE(first.added);
    EXPECT_TRUE(second.added);
    EXPECT_FALSE(again.added);
    EXPECT_EQ(again.slot, first.slot);
    EXPECT_EQ(roster.Listed(), (std::vector<int>{first.slot, second.slot}));
    EXPECT_EQ(FieldText(roster.Record(first.slot).name), "A2");
    EXPECT_EQ(roster.Arrival(first.slot).interfaceName, "eth1") << "where it answered last";
    EXPECT_EQ(roster.SlotOfMac(MacToText(Reply(2, "").mac)), second.slot);
    EXPECT_EQ(roster.SlotOfMac("0000000000ff"), -1);

    roster.Clear();
    EXPECT_TRUE(roster.Listed().empty());
    EXPECT_TRUE(roster.Take(Reply(1, "A"), {}).added) << "a new search lists it anew";
}

TEST(CameraRoster, AFullTableCountsTheRepliesItHasNoRoomFor) {
    CCameraRoster roster;
    for (int mac = 1; mac <= DEVICE_TABLE_SLOTS; ++mac) {
        ASSERT_NE(roster.Take(Reply(static_cast<uint8_t>(mac), ""), {}).slot, MERGE_DROPPED);
    }
    DeviceRecord stranger = Reply(1, "");
    stranger.mac[0] = 2;
    EXPECT_EQ(roster.Take(stranger, {}).slot, MERGE_DROPPED);
    roster.CountDropped(3); // the batch's own
    EXPECT_EQ(roster.Dropped(), 4u);
    EXPECT_EQ(roster.Listed().size(), static_cast<std::size_t>(DEVICE_TABLE_SLOTS));
    roster.Clear();
    EXPECT_EQ(roster.Dropped(), 0u);
}

} // namespace
