#include <gtest/gtest.h>

#include <memory>

#include "core/present/device_list.h"

namespace {

DeviceRecord Listed(int id, const char* name) {
    DeviceRecord record{};
    record.id = id;
    SetFieldText(record.name, name);
    return record;
}

TEST(DeviceList, EntryIsTheIdASpaceAndTheName) {
    EXPECT_EQ(ListEntryText(Listed(255, "Door cam")), "255 Door cam");
    EXPECT_EQ(ListEntryText(Listed(3, "")), "3 ");
    EXPECT_EQ(SlotOfEntry("255 Door cam"), 254);
    EXPECT_EQ(SlotOfEntry("3 "), 2);
}

TEST(DeviceList, OneEntryPerIdFoundByTheLeadingNumber) {
    std::vector<std::string> entries;
    EXPECT_TRUE(AddListEntry(entries, Listed(255, "b")));
    // "255 b" must not pass for id 25, nor "25 a" for id 255.
    EXPECT_TRUE(AddListEntry(entries, Listed(25, "a")));
    EXPECT_FALSE(AddListEntry(entries, Listed(25, "a")));
    EXPECT_FALSE(AddListEntry(entries, Listed(255, "b")));
    EXPECT_EQ(entries, (std::vector<std::string>{"255 b", "25 a"}));
}

TEST(DeviceList, EntryIsNeverRewritten) {
    std::vector<std::string> entries;
    AddListEntry(entries, Listed(255, "old name"));
    EXPECT_FALSE(NeedsListEntry(entries, Listed(255, "new name")));
    EXPECT_FALSE(AddListEntry(entries, Listed(255, "new name")));
    EXPECT_EQ(entries, std::vector<std::string>{"255 old name"});
}

TEST(DeviceList, FollowsTheTableThroughMerges) {
    auto table = std::make_unique<DeviceTable>();
    ClearTable(*table);
    std::vector<std::string> entries;
    DeviceRecord record{};
    record.mac[5] = 1;
    SetFieldText(record.name, "first");
    AddListEntry(entries, table->slot[MergeRecord(*table, record)]);
    SetFieldText(record.name, "again");
    AddListEntry(entries, table->slot[MergeRecord(*table, record)]);
    record.mac[5] = 2;
    AddListEntry(entries, table->slot[MergeRecord(*table, record)]);
    EXPECT_EQ(entries, (std::vector<std::string>{"255 first", "254 again"}));
    for (const std::string& entry : entries) {
        EXPECT_EQ(table->slot[SlotOfEntry(entry)].id, SlotOfEntry(entry) + 1);
    }
}

TEST(DeviceList, ForeignEntriesNeverMatchASlot) {
    // Text that is no number, or a number beyond any int, names no device.
    EXPECT_EQ(SlotOfEntry("cam"), -1);
    EXPECT_EQ(SlotOfEntry("99999999999999999999 x"), -1);
    EXPECT_TRUE(NeedsListEntry({"99999999999999999999 x", "x 255"}, Listed(255, "x")));
}

} // namespace
