// The device formatting both front ends share.
#include <gtest/gtest.h>

#include <string>

#include "core/present/device_format.h"

TEST(DeviceFormat, JsonStringsStayValidForAnyBytes) {
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString(std::string("\x01\n", 2)), "\"\\u0001\\u000a\"");
    EXPECT_EQ(JsonString("Caf\xc3\xa9"), "\"Caf\xc3\xa9\""); // UTF-8 passes
    // A byte that is no UTF-8 cannot pass for the character of the same number.
    EXPECT_EQ(JsonString("Caf\xe9"), "\"Caf\\ufffd\"");                 // Latin-1 byte
    EXPECT_EQ(JsonString("\xc3"), "\"\\ufffd\"");                       // cut sequence
    EXPECT_EQ(JsonString("\xed\xa0\x80"), "\"\\ufffd\\ufffd\\ufffd\""); // surrogate
}
