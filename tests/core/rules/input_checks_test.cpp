#include <gtest/gtest.h>

#include <cstdio>

#include "core/rules/input_checks.h"
#include "core/wire/subnet.h"

namespace {

TEST(InputChecks, DottedAddressIsWhatInetAddrReadsAsTyped) {
    for (const char* good : {"192.168.1.10", "0.0.0.0", "255.255.255.255", "10.0.0.1"}) {
        EXPECT_TRUE(IsDottedAddress(good)) << good;
        // What passes the check must reach the camera as the four numbers the user typed.
        unsigned a, b, c, d;
        ASSERT_EQ(std::sscanf(good, "%u.%u.%u.%u", &a, &b, &c, &d), 4);
        const uint32_t address = ParseIpv4(good).value(); // as the set request writes it
        const uint8_t bytes[4] = {
            static_cast<uint8_t>(address >> 24), static_cast<uint8_t>(address >> 16),
            static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address)};
        EXPECT_EQ(bytes[0], a);
        EXPECT_EQ(bytes[1], b);
        EXPECT_EQ(bytes[2], c);
        EXPECT_EQ(bytes[3], d);
    }
    for (const char* bad : {"", "256.1.1.1", "1.2.3", "1.2.3.4.", "1.2.3.4.5", "1..2.3", "a.b.c.d",
                            " 1.2.3.4", "1.2.3.4 ", "1234.1.1.1", "-1.2.3.4", "+1.2.3.4",
                            "010.0.0.1", "192.168.1.08", "00.0.0.0", "0x7f.0.0.1", "10.1"}) {
        EXPECT_FALSE(IsDottedAddress(bad)) << bad;
    }
}

TEST(InputChecks, HttpPortFitsItsFiveCharacters) {
    for (const char* good : {"80", "1", "65535", "08080", "00080"}) {
        EXPECT_TRUE(IsHttpPort(good)) << good;
    }
    for (const char* bad :
         {"", "0", "00000", "65536", "99999", "000080", "81x", "-80", " 80", "8 0"}) {
        EXPECT_FALSE(IsHttpPort(bad)) << bad;
    }
}

TEST(InputChecks, MacTextIsTwelveHexDigitsOfEitherCase) {
    for (const char* good : {"001a2b3c4d5e", "001A2B3C4D5E", "FFffFFffFFff"}) {
        EXPECT_TRUE(IsMacText(good)) << good;
    }
    for (const char* bad : {"", "001a2b3c4d5", "001a2b3c4d5e0", "00:1a:2b:3c:", "001a2b3c4d5g"}) {
        EXPECT_FALSE(IsMacText(bad)) << bad;
    }
}

} // namespace
