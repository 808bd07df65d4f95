#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "core/wire/device_table.h"

namespace {

DeviceRecord Device(uint8_t macLast, const char* name = "cam") {
    DeviceRecord record{};
    const uint8_t mac[6] = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, macLast};
    std::memcpy(record.mac, mac, sizeof mac);
    SetFieldText(record.name, name);
    return record;
}

class DeviceTableTest : public ::testing::Test {
protected:
    void SetUp() override { ClearTable(*table); }
    std::unique_ptr<DeviceTable> table = std::make_unique<DeviceTable>();
};

TEST_F(DeviceTableTest, NewDevicesTakeTheHighestFreeSlot) {
    EXPECT_EQ(CountOccupied(*table), 0);
    EXPECT_EQ(MergeRecord(*table, Device(1)), 254);
    EXPECT_EQ(table->slot[254].id, 255);
    EXPECT_EQ(MergeRecord(*table, Device(2)), 253);
    EXPECT_EQ(table->slot[253].id, 254);
    EXPECT_EQ(CountOccupied(*table), 2);
}

TEST_F(DeviceTableTest, SameMacReplacesTheWholeRecordInItsSlot) {
    DeviceRecord first = Device(1, "old");
    SetFieldText(first.version, "v1.0");
    first.readOnly = 1;
    first.httpPort = 80;
    MergeRecord(*table, first);
    MergeRecord(*table, Device(2));
    ASSERT_EQ(FieldText(table->slot[254].version), "v1.0");
    ASSERT_EQ(table->slot[254].httpPort, 80);

    DeviceRecord again = Device(1, "new"); // lacks version, port and read-only
    again.id = 7;                          // whatever the caller left there is overwritten
    EXPECT_EQ(MergeRecord(*table, again), 254);

    const DeviceRecord& slot = table->slot[254];
    EXPECT_EQ(slot.id, 255);
    EXPECT_EQ(FieldText(slot.name), "new");
    EXPECT_EQ(FieldText(slot.version), "");
    EXPECT_EQ(slot.readOnly, 0);
    EXPECT_EQ(slot.httpPort, 0);
    EXPECT_EQ(CountOccupied(*table), 2);
}

TEST_F(DeviceTableTest, FullTableDropsANewMacButStillTakesAKnownOne) {
    for (int i = 0; i < DEVICE_TABLE_SLOTS; ++i) {
        ASSERT_EQ(MergeRecord(*table, Device(static_cast<uint8_t>(i))), 254 - i);
    }
    const auto before = std::make_unique<DeviceTable>(*table);
    EXPECT_EQ(MergeRecord(*table, Device(255)), MERGE_DROPPED);
    EXPECT_EQ(std::memcmp(table.get(), before.get(), sizeof(DeviceTable)), 0);

    EXPECT_EQ(MergeRecord(*table, Device(0, "renamed")), 254);
    EXPECT_EQ(FieldText(table->slot[254].name), "renamed");
}

TEST_F(DeviceTableTest, ZeroMacLandsInTheFirstEmptySlot) {
    MergeRecord(*table, Device(1)); // slot 254
    DeviceRecord zero{};
    EXPECT_EQ(MergeRecord(*table, zero), 0);
    EXPECT_EQ(table->slot[0].id, 1);
    EXPECT_EQ(MergeRecord(*table, zero), 0); // and stays there

    ClearTable(*table);
    table->slot[0] = Device(9);
    table->slot[0].id = 1;
    EXPECT_EQ(MergeRecord(*table, zero), 1);
}

TEST_F(DeviceTableTest, StoredNameAlwaysEndsWithItsTerminator) {
    DeviceRecord record = Device(1);
    std::memset(record.name, 'x', sizeof record.name);
    MergeRecord(*table, record);
    EXPECT_EQ(FieldText(table->slot[254].name), std::string(16, 'x'));
    EXPECT_EQ(table->slot[254].name[16], '\0');
}

TEST(DeviceTableText, FieldsAreBoundedByTheirWidth) {
    DeviceRecord record{};
    std::memset(record.version, 'v', sizeof record.version); // no terminator
    EXPECT_EQ(FieldText(record.version), std::string(16, 'v'));

    SetFieldText(record.pppoePassword, std::string(20, 'p'));
    EXPECT_EQ(FieldText(record.pppoePassword), std::string(16, 'p'));
    SetFieldText(record.pppoePassword, "ab");
    EXPECT_EQ(FieldText(record.pppoePassword), "ab");
    EXPECT_EQ(record.pppoePassword[15], '\0'); // the rest is zero-padded again
    SetFieldText(record.pppoePassword, std::string_view{});
    EXPECT_EQ(FieldText(record.pppoePassword), "");
}

TEST(MacText, ConvertsBothWays) {
    const uint8_t ones[6] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(MacToText(ones), "ffffffffffff");
    const uint8_t some[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    EXPECT_EQ(MacToText(some), "001a2b3c4d5e");

    uint8_t mac[6] = {};
    ASSERT_TRUE(TextToMac("ffffffffffff", mac));
    EXPECT_EQ(std::memcmp(mac, ones, 6), 0);
    ASSERT_TRUE(TextToMac("001A2b3C4d5E", mac)); // upper case names the same bytes
    EXPECT_EQ(std::memcmp(mac, some, 6), 0);
}

TEST(MacText, RefusesAnythingButTwelveHexDigits) {
    for (std::string_view bad :
         {std::string_view{}, std::string_view{"001a2b3c4d5"}, std::string_view{"001a2b3c4d5e0"},
          std::string_view{"001a2b3c4d5g"}, std::string_view{"00:1a:2b:3c:"},
          std::string_view{" 01a2b3c4d5e"}, std::string_view{"001a2b\0c4d5e", 12}}) {
        uint8_t mac[6] = {1, 2, 3, 4, 5, 6};
        EXPECT_FALSE(TextToMac(bad, mac)) << bad;
        const uint8_t untouched[6] = {1, 2, 3, 4, 5, 6};
        EXPECT_EQ(std::memcmp(mac, untouched, 6), 0) << bad;
    }
}

TEST(MacText, ReadsTheFormsUsersTypeAndNothingElse) {
    const struct {
        const char* typed;
        const char* read; // nullptr: refused
    } cases[] = {
        {"001A2B3C4D5E", "001a2b3c4d5e"},      {"00:1a:2B:3c:4d:5e", "001a2b3c4d5e"},
        {"00-1A-2B-3C-4D-5E", "001a2b3c4d5e"}, {"001a.2b3c.4d5e", "001a2b3c4d5e"},
        {"00:1a-2b:3c:4d:5e", nullptr},        {"001a2b:3c4d5e", nullptr},
        {"00:1a:2b:3c:4d:5", nullptr},         {"001a.2b3c.4d5g", nullptr},
        {"0:01a:2b:3c:4d:5e", nullptr},        {"", nullptr},
    };
    for (const auto& c : cases) {
        const std::optional<std::string> read = ReadMacText(c.typed);
        EXPECT_EQ(read.value_or("(refused)"), c.read != nullptr ? c.read : "(refused)") << c.typed;
    }
    const uint8_t mac[6] = {0x02, 0x00, 0x5E, 0x00, 0x00, 0x0A};
    EXPECT_EQ(MacToColonText(mac), "02:00:5e:00:00:0a");
}

} // namespace
