#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <ostream>

#include "core/present/setting_changes.h"
#include "tests/core/test_records.h"

namespace {

using core_test::Camera;

} // namespace

void PrintTo(const SettingChange& change, std::ostream* out) {
    *out << ChangeText(change);
}

namespace {

TEST(SettingChanges, EachChangedSettingOnceInTheOrderOfAScanWithThePasswordHidden) {
    DeviceRecord before = Camera(1, "192.168.1.64");
    SetFieldText(before.name, "Cam\x01");
    SetFieldText(before.pppoePassword, "old");
    before.httpPort = 80;
    std::fill(std::begin(before.netMode), std::end(before.netMode), 0xFF); // STATIC
    DeviceRecord after = before;
    EXPECT_TRUE(SettingChanges(before, after, FormatOptions()).empty());

    SetFieldText(after.pppoePassword, "new");
    SetFieldText(after.ip, "10.77.0.100");
    SetFieldText(after.name, "Dock 01");
    after.httpPort = 8080;
    after.netMode[2] = 0x01; // DHCP
    const std::vector<SettingChange> expected = {
        {"name", "Cam\\x01", "Dock 01"},
        {"ip", "192.168.1.64", "10.77.0.100"},
        {"httpPort", "80", "8080"},
        {"mode", "STATIC", "DHCP"},
        {"pppoePassword", SETTING_HIDDEN, SETTING_HIDDEN},
    };
    const std::vector<SettingChange> changes = SettingChanges(before, after, FormatOptions());
    EXPECT_EQ(changes, expected);
    EXPECT_EQ(ChangesText({changes[1], changes[2]}), "ip 192.168.1.64 -> 10.77.0.100, "
                                                     "httpPort 80 -> 8080");
    EXPECT_EQ(ChangesJson({changes[0]}), R"({"name": {"from": "Cam\\x01", "to": "Dock 01"}})");
    EXPECT_EQ(ChangesJson({}), "{}");

    FormatOptions shown;
    shown.showPasswords = true;
    EXPECT_EQ(SettingChanges(before, after, shown).back(),
              (SettingChange{"pppoePassword", "old", "new"}));
}

} // namespace
