#include <gtest/gtest.h>

#include "device_table.h"

TEST(DeviceTable, FirstDeviceTakesTheLastSlot) {
    static DeviceTable table;
    ClearTable(table);
    DeviceRecord record{};
    record.mac[5] = 1;
    EXPECT_EQ(MergeRecord(table, record), 254);
    EXPECT_EQ(table.slot[254].id, 255);
}
