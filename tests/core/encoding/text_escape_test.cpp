// Hostile camera names as a terminal, a spreadsheet and a JSON reader get them.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "core/encoding/text_escape.h"

namespace {

struct HostileName {
    const char* what;
    std::string name;
    std::string table; // EscapeControls
    std::string csv;   // CsvCell
    std::string json;  // JsonString
};

const HostileName HOSTILE_NAMES[] = {
    {"plain", "Front door", "Front door", "Front door", "\"Front door\""},
    {"escape sequence", "cam\x1b[2Jx", "cam\\x1b[2Jx", "cam\\x1b[2Jx", "\"cam\\u001b[2Jx\""},
    {"bell and delete",
     "a\x07"
     "b\x7f",
     "a\\x07b\\x7f", "a\\x07b\\x7f", "\"a\\u0007b\\u007f\""},
    {"line breaks", "a\r\nb", "a\\x0d\\x0ab", "a\\x0d\\x0ab", "\"a\\u000d\\u000ab\""},
    {"raw C1 byte",
     "x\x9b"
     "31m",
     "x\\x9b31m", "x\\x9b31m", "\"x\\ufffd31m\""},
    {"C1 as UTF-8",
     "x\xc2\x9b"
     "y\xc2\x9d",
     "x\\u009by\\u009d", "x\\u009by\\u009d", "\"x\\u009by\\u009d\""},
    {"right-to-left override",
     "abc\xe2\x80\xae"
     "gpj.exe",
     "abc\\u202egpj.exe", "abc\\u202egpj.exe", "\"abc\\u202egpj.exe\""},
    {"isolate and mark",
     "\xe2\x81\xa7"
     "a\xe2\x80\x8f",
     "\\u2067a\\u200f", "\\u2067a\\u200f", "\"\\u2067a\\u200f\""},
    {"formula", "=HYPERLINK(\"x\")", "=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\"",
     "\"=HYPERLINK(\\\"x\\\")\""},
    {"plus", "+1+1", "+1+1", "'+1+1", "\"+1+1\""},
    {"minus", "-2", "-2", "'-2", "\"-2\""},
    {"at", "@SUM(A1)", "@SUM(A1)", "'@SUM(A1)", "\"@SUM(A1)\""},
    {"comma", "Lobby, main", "Lobby, main", "\"Lobby, main\"", "\"Lobby, main\""},
    {"valid UTF-8", "Caf\xc3\xa9 \xe6\x91\x84", "Caf\xc3\xa9 \xe6\x91\x84",
     "Caf\xc3\xa9 \xe6\x91\x84", "\"Caf\xc3\xa9 \xe6\x91\x84\""},
    {"invalid 0xFF against valid y-diaeresis", "\xff|\xc3\xbf", "\xff|\xc3\xbf", "\xff|\xc3\xbf",
     "\"\\ufffd|\xc3\xbf\""},
    {"GBK bytes stay for the terminal", "\xc9\xe3\xcf\xf1", "\xc9\xe3\xcf\xf1", "\xc9\xe3\xcf\xf1",
     "\"\\ufffd\\ufffd\\ufffd\\ufffd\""},
    {"cut sequence", "a\xe6\x91", "a\xe6\\x91", "a\xe6\\x91", "\"a\\ufffd\\ufffd\""},
    {"surrogate", "\xed\xa0\x80", "\xed\xa0\\x80", "\xed\xa0\\x80", "\"\\ufffd\\ufffd\\ufffd\""},
    {"zero byte", std::string("a\0b", 3), "a\\x00b", "a\\x00b", "\"a\\u0000b\""},
    {"escaped control first, no guard", "\x1b=1", "\\x1b=1", "\\x1b=1", "\"\\u001b=1\""},
};

class HostileNameTest : public ::testing::TestWithParam<HostileName> {};

TEST_P(HostileNameTest, ComesOutEscapedInEveryFormat) {
    const HostileName& c = GetParam();
    EXPECT_EQ(EscapeControls(c.name), c.table);
    EXPECT_EQ(CsvCell(c.name), c.csv);
    EXPECT_EQ(JsonString(c.name), c.json);
}

INSTANTIATE_TEST_SUITE_P(Names, HostileNameTest, ::testing::ValuesIn(HOSTILE_NAMES),
                         [](const auto& info) {
                             std::string name;
                             for (char c : std::string(info.param.what)) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

// Whatever the bytes, no output carries a byte below 0x20, DEL or a C1 byte.
TEST(TextEscape, NoControlByteSurvivesAnyByteValue) {
    for (int first = 0; first < 256; ++first) {
        for (int second : {0x80, 0x9b, 0xbf, 0x41}) {
            const std::string text = {static_cast<char>(first), static_cast<char>(second)};
            for (const std::string& out : {EscapeControls(text), CsvCell(text), JsonString(text)}) {
                for (std::size_t i = 0; i < out.size(); ++i) {
                    const auto byte = static_cast<unsigned char>(out[i]);
                    const bool c1 = byte >= 0x80 && byte <= 0x9f &&
                                    (i == 0 || static_cast<unsigned char>(out[i - 1]) < 0xc2);
                    EXPECT_FALSE(byte < 0x20 || byte == 0x7f || c1)
                        << "input " << first << "," << second << " gives " << out;
                }
            }
        }
    }
}

} // namespace
