// The two readings of a record's mode bytes, and the mode of the panel's radios.
#include <gtest/gtest.h>

#include <iterator>

#include "core/present/device_format.h"
#include "core/wire/discovery_datagram.h"
#include "core/wire/net_mode.h"

TEST(NetMode, ModeFollowsTheRadioRule) {
    const uint8_t modes[][4] = {{0xFF, 0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0x01, 0xFF},
                                {0x01, 0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0x01, 0x00},
                                {0x00, 0x00, 0x00, 0x00}, {0xFF, 0x01, 0xFF, 0x01}};
    const char* expected[] = {"STATIC", "DHCP", "PPPOE", "DHCP", "PPPOE", "STATIC"};
    for (std::size_t i = 0; i < std::size(modes); ++i) {
        EXPECT_STREQ(ModeName(RecordMode(modes[i])), expected[i]) << NetModeText(modes[i]);
    }
}

// The info line asks for both bytes of a pair, so it parts from the radios where a pair
// has one byte on.
TEST(NetMode, InfoLineWantsBothBytesOfAPair) {
    const struct {
        uint8_t bytes[4];
        NetMode infoLine;
        NetMode radios;
    } cases[] = {
        {{0xFF, 0xFF, 0xFF, 0xFF}, NetMode::Static, NetMode::Static},
        {{0x01, 0xFF, 0xFF, 0xFF}, NetMode::Static, NetMode::Pppoe},
        {{0x01, 0x01, 0xFF, 0xFF}, NetMode::Pppoe, NetMode::Pppoe},
        {{0x00, 0x00, 0x00, 0x00}, NetMode::Pppoe, NetMode::Pppoe},
        {{0xFF, 0xFF, 0x01, 0xFF}, NetMode::Static, NetMode::Dhcp},
        {{0xFF, 0xFF, 0x01, 0x00}, NetMode::Dhcp, NetMode::Dhcp},
        {{0x01, 0xFF, 0x01, 0x01}, NetMode::Dhcp, NetMode::Pppoe},
        {{0xFF, 0x01, 0xFF, 0x01}, NetMode::Static, NetMode::Static},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InfoLineMode(c.bytes), c.infoLine) << NetModeText(c.bytes);
        EXPECT_EQ(RecordMode(c.bytes), c.radios) << NetModeText(c.bytes);
    }
}
