// The settings fields: what counts as a change of each, as the set request carries it.
#include <gtest/gtest.h>

#include <climits>

#include "core/wire/settings_fields.h"

namespace {

TEST(SettingsFields, TextsAndAddressesChangeByTheirBytesThePortByItsNumber) {
    DeviceRecord camera{};
    SetFieldText(camera.name, "Gate");
    SetFieldText(camera.ip, "10.0.0.5");
    camera.httpPort = 80;
    const struct {
        unsigned setting;
        const char* typed;
        bool changes;
    } cases[] = {
        {SETTING_NAME, "Gate", false},     {SETTING_NAME, "gate", true},
        {SETTING_IP, "10.0.0.5", false},   {SETTING_IP, "10.0.0.05", true},
        {SETTING_HTTP_PORT, "80", false},  {SETTING_HTTP_PORT, "080", false},
        {SETTING_HTTP_PORT, "80x", false}, {SETTING_HTTP_PORT, "8080", true},
        {SETTING_HTTP_PORT, "", true},
    };
    for (const auto& c : cases) {
        const SettingField& field = FieldOf(c.setting);
        EXPECT_EQ(field.setting, c.setting);
        ChangeValues values;
        values.*field.typed = c.typed;
        EXPECT_EQ(ChangesSetting(field, values, camera), c.changes) << c.typed;
    }
    EXPECT_EQ(StoredText(FieldOf(SETTING_HTTP_PORT), camera), "80");
    EXPECT_EQ(PortNumber("99999999999999999999"), LONG_MAX) << "no overflow";
}

} // namespace
