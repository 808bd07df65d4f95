// The info line of the details panel.
#include <gtest/gtest.h>

#include <cstring>

#include "core/present/info_line.h"

// The mode line reads the mode bytes as the radios do: a DHCP camera reads "DHCP".
TEST(PanelChecks, InfoTextHasTheRadiosModeAndTheVersion) {
    const struct {
        uint8_t mode[4];
        const char* version;
        const char* text;
    } cases[] = {
        {{0xFF, 0xFF, 0x01, 0x00}, "1.0", "IP Get:DHCP\r\nVersion:1.0\r\n"},
        {{0xFF, 0xFF, 0x01, 0xFF}, "1.0", "IP Get:DHCP\r\nVersion:1.0\r\n"},
        {{0x00, 0x00, 0x00, 0x00}, "", "IP Get:PPPOE\r\nVersion:\r\n"},
        {{0x01, 0xFF, 0xFF, 0xFF},
         "sixteen-chars-vv",
         "IP Get:PPPOE\r\nVersion:sixteen-chars-vv\r\n"},
    };
    for (const auto& c : cases) {
        DeviceRecord record{};
        std::memcpy(record.netMode, c.mode, sizeof record.netMode);
        SetFieldText(record.version, c.version);
        EXPECT_EQ(InfoText(record), c.text);
    }
}
