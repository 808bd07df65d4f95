// From search to search: which cameras appeared, changed and went, and the roster's marks
// of shared IPs and of cameras new since the search before.
#include <gtest/gtest.h>

#include "core/session/camera_roster.h"
#include "core/session/camera_watch.h"

namespace {

DeviceRecord Camera(uint8_t mac, const char* ip, const char* name = "cam") {
    DeviceRecord record{};
    record.mac[5] = mac;
    SetFieldText(record.ip, ip);
    SetFieldText(record.name, name);
    return record;
}

// "appeared 1", "changed 2 ip 10.0.0.2 -> 10.0.0.9", "gone 3"
std::vector<std::string> Told(const std::vector<WatchEvent>& events) {
    std::vector<std::string> told;
    for (const WatchEvent& event : events) {
        told.push_back(std::string(WatchEventName(event.kind)) + " " +
                       std::to_string(event.record.mac[5]) +
                       (event.changes.empty() ? "" : " " + ChangesText(event.changes)));
    }
    return told;
}

TEST(CameraWatch, TellsAppearedChangedAndGoneAfterTwoSearchesWithout) {
    CCameraWatch watch(FormatOptions{CTextCodec(), false});
    using Lines = std::vector<std::string>;
    EXPECT_EQ(Told(watch.TakeSearch({Camera(1, "10.0.0.1"), Camera(2, "10.0.0.2")})),
              (Lines{"appeared 1", "appeared 2"}));
    EXPECT_EQ(Told(watch.TakeSearch({Camera(2, "10.0.0.2"), Camera(1, "10.0.0.1")})), Lines{})
        << "the order of answers and the slot are no change";
    EXPECT_EQ(Told(watch.TakeSearch({Camera(1, "10.0.0.1"), Camera(2, "10.0.0.9", "door")})),
              (Lines{"changed 2 name cam -> door, ip 10.0.0.2 -> 10.0.0.9"}));
    EXPECT_EQ(Told(watch.TakeSearch({Camera(2, "10.0.0.9", "door")})), Lines{})
        << "one search without a camera is no loss yet";
    EXPECT_EQ(Told(watch.TakeSearch({Camera(1, "10.0.0.1"), Camera(2, "10.0.0.9", "door")})),
              Lines{})
        << "back in time: missed searches count in a row only";
    EXPECT_EQ(Told(watch.TakeSearch({Camera(3, "10.0.0.3")})), (Lines{"appeared 3"}));
    EXPECT_EQ(Told(watch.TakeSearch({})), (Lines{"gone 1", "gone 2"}));
    EXPECT_EQ(Told(watch.TakeSearch({Camera(1, "10.0.0.1")})), (Lines{"appeared 1", "gone 3"}))
        << "a camera that had gone appears again";
}

TEST(CameraRosterSearch, MarksSharedIpsAndCountsNewAndGoneSinceTheSearchBefore) {
    CCameraRoster roster;
    roster.BeginSearch();
    const int a = roster.Take(Camera(1, "10.0.0.5"), {}).slot;
    const int b = roster.Take(Camera(2, "10.0.0.6"), {}).slot;
    const int c = roster.Take(Camera(3, "10.0.0.5"), {}).slot;
    const int d = roster.Take(Camera(4, ""), {}).slot;
    const int e = roster.Take(Camera(5, ""), {}).slot;
    EXPECT_EQ(roster.SameIpSlots(a), std::vector<int>{c});
    EXPECT_EQ(roster.SameIpSlots(c), std::vector<int>{a});
    EXPECT_TRUE(roster.SameIpSlots(b).empty());
    EXPECT_TRUE(roster.SameIpSlots(d).empty() && roster.SameIpSlots(e).empty())
        << "no IP is no conflict";
    EXPECT_FALSE(roster.IsNew(a)) << "nothing is new without a search before";
    roster.EndSearch();
    EXPECT_FALSE(roster.HasSearchBefore());

    roster.Clear();
    roster.BeginSearch();
    roster.Take(Camera(2, "10.0.0.6"), {});
    const int f = roster.Take(Camera(6, "10.0.0.7"), {}).slot;
    const CCameraRoster::SearchCounts counts = roster.EndSearch();
    EXPECT_TRUE(roster.HasSearchBefore());
    EXPECT_EQ(counts.added, 1);
    EXPECT_EQ(counts.gone, 4);
    EXPECT_TRUE(roster.IsNew(f));
    EXPECT_FALSE(roster.IsNew(roster.SlotOfMac(MacToText(Camera(2, "").mac))));
}

} // namespace
