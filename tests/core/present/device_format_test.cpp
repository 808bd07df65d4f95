// The device formatting both front ends share.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "core/messages/finder_texts.h"
#include "core/present/device_format.h"
#include "core/wire/discovery_datagram.h"
#include "core/wire/settings_fields.h"

TEST(DeviceFormat, JsonStringsStayValidForAnyBytes) {
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString(std::string("\x01\n", 2)), "\"\\u0001\\u000a\"");
    EXPECT_EQ(JsonString("Caf\xc3\xa9"), "\"Caf\xc3\xa9\""); // UTF-8 passes
    // A byte that is no UTF-8 cannot pass for the character of the same number.
    EXPECT_EQ(JsonString("Caf\xe9"), "\"Caf\\ufffd\"");                 // Latin-1 byte
    EXPECT_EQ(JsonString("\xc3"), "\"\\ufffd\"");                       // cut sequence
    EXPECT_EQ(JsonString("\xed\xa0\x80"), "\"\\ufffd\\ufffd\\ufffd\""); // surrogate
}

namespace {

// One camera with the texts given, as a reply fills its record.
DeviceRecord Named(const std::string& name, const std::string& account = "") {
    DeviceRecord d{};
    d.id = 7;
    std::memcpy(d.name, name.data(), std::min<std::size_t>(name.size(), ITEM_WIDTH_NAME));
    SetFieldText(d.version, "2.1");
    d.mac[0] = 0x00;
    d.mac[5] = 0x5e;
    SetFieldText(d.ip, "10.0.0.5");
    SetFieldText(d.netmask, "255.255.255.0");
    d.httpPort = 80;
    std::fill(std::begin(d.netMode), std::end(d.netMode), 0xFF);
    SetFieldText(d.pppoeAccount, account);
    SetFieldText(d.pppoePassword, "s3cret");
    return d;
}

// The row after the header.
std::string SecondLine(const std::string& text) {
    const std::size_t start = text.find('\n') + 1;
    return text.substr(start, text.find('\n', start) - start);
}

TEST(DeviceFormat, HostileTextsReadTheSameInNoTwoWaysAndNeverSteerTheReader) {
    FormatOptions gbk{CTextCodec(TextEncoding::Gbk)};
    FormatOptions utf8{CTextCodec(TextEncoding::Utf8, true)};
    const char* cafe = "Caf\xC3\xA9";
    const char* marked = "Caf\xEF\xBF\xBD";
    const struct {
        const char* what;
        std::string name;
        FormatOptions options;
        const char* json;  // the name's value
        const char* csv;   // the name's cell
        const char* table; // the name's cell
    } cases[] = {
        {"plain", "Gate 01", FormatOptions{CTextCodec(), false}, "\"Gate 01\"", "Gate 01",
         "Gate 01"},
        {"quotes and a comma", "a\"b,c", FormatOptions{CTextCodec(), false}, "\"a\\\"b,c\"",
         "\"a\"\"b,c\"", "a\"b,c"},
        {"a newline", "a\nb", FormatOptions{CTextCodec(), false}, "\"a\\u000ab\"", "a\\x0ab",
         "a\\x0ab"},
        {"an escape byte", "a\x1b[2J", FormatOptions{CTextCodec(), false}, "\"a\\u001b[2J\"",
         "a\\x1b[2J", "a\\x1b[2J"},
        {"the escape typed", "a\\x1b", FormatOptions{CTextCodec(), false}, "\"a\\\\x1b\"", "a\\x1b",
         "a\\\\x1b"},
        {"a formula", "=1+1", FormatOptions{CTextCodec(), false}, "\"=1+1\"", "'=1+1", "=1+1"},
        {"a bidi override",
         "a\xE2\x80\xAE"
         "b",
         FormatOptions{CTextCodec(), false}, "\"a\\u202eb\"", "a\\u202eb", "a\\u202eb"},
        {"Windows-1252", "Caf\xE9", FormatOptions{CTextCodec(), false}, "\"Caf\xC3\xA9\"", cafe,
         cafe},
        {"no UTF-8 where UTF-8 was named", "Caf\xE9", utf8, "\"Caf\xEF\xBF\xBD\"", marked, marked},
        {"GBK read as such", "\xC9\xE3\xCF\xF1", gbk, "\"\xE6\x91\x84\xE5\x83\x8F\"",
         "\xE6\x91\x84\xE5\x83\x8F", "\xE6\x91\x84\xE5\x83\x8F"},
        // Sixteen bytes that cut a character: the cut byte is no character.
        {"cut at 16 bytes", "abcdefghijklmn\xC3\xA9", FormatOptions{CTextCodec(), false},
         "\"abcdefghijklmn\xC3\xA9\"", "abcdefghijklmn\xC3\xA9", "abcdefghijklmn\xC3\xA9"},
        {"a character cut by the 16th byte", "abcdefghijklmno\xE6\x91",
         FormatOptions{CTextCodec(), false}, "\"abcdefghijklmno\xEF\xBF\xBD\"",
         "abcdefghijklmno\xEF\xBF\xBD", "abcdefghijklmno\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<DeviceRecord> devices = {Named(c.name)};
        const std::string json = FormatJson(devices, c.options);
        EXPECT_NE(json.find(std::string("\"name\": ") + c.json + ", \"version\""),
                  std::string::npos)
            << json;
        const std::string row = SecondLine(FormatCsv(devices, c.options));
        EXPECT_EQ(row.substr(0, row.find(",2.1,")), std::string("7,false,") + c.csv);
        EXPECT_EQ(SecondLine(FormatTable(devices, c.options)).substr(0, 4 + std::strlen(c.table)),
                  std::string("7   ") + c.table);
    }
}

} // namespace

namespace {

// The settings' columns come from the one table: in its order, each key once, the window's
// word for each a text the finder has; the password's only where passwords are shown.
TEST(DeviceFormat, TheColumnsOfTheSettingsAreTheTableOfSettings) {
    const std::vector<std::string> keys = ScanColumnKeys();
    std::vector<std::string> settingKeys;
    for (const std::string& key : keys) {
        if (std::any_of(SETTINGS.begin(), SETTINGS.end(),
                        [&](const SettingField& field) { return key == field.key; })) {
            settingKeys.push_back(key);
        }
    }
    std::vector<std::string> tableKeys;
    for (const SettingField& field : SETTINGS) {
        tableKeys.push_back(field.key);
        EXPECT_NE(FinderText(field.label), nullptr) << field.label;
    }
    EXPECT_EQ(settingKeys, tableKeys);

    const std::vector<DeviceRecord> devices = {Named("Gate")};
    FormatOptions shown;
    shown.showPasswords = true;
    EXPECT_EQ(FormatJson(devices, FormatOptions{CTextCodec(), false}).find("s3cret"), std::string::npos);
    EXPECT_EQ(FormatCsv(devices, FormatOptions{CTextCodec(), false}).find("pppoePassword"), std::string::npos);
    EXPECT_NE(FormatJson(devices, shown).find("\"pppoePassword\": \"s3cret\", \"interface\""),
              std::string::npos);
    const std::string csv = FormatCsv(devices, shown);
    EXPECT_EQ(csv.substr(0, csv.find('\r')), "id,readOnly,name,version,mac,ip,netmask,gateway,"
                                             "httpPort,netMode,mode,pppoeAccount,pppoePassword,"
                                             "interface,interfaceAddress,sameSubnet,sameIpAs,"
                                             "linkLocal");
    EXPECT_EQ(SecondLine(csv), "7,false,Gate,2.1,00:00:00:00:00:5e,10.0.0.5,255.255.255.0,,80,"
                               "ffffffff,STATIC,,s3cret,,,false,,false\r");
}

} // namespace
