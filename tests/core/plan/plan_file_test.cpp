// The plan file as `scan --csv` writes it and spreadsheets save it again.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "core/encoding/csv_reader.h"
#include "core/plan/plan_file.h"
#include "core/rules/settings_checks.h"
#include "core/session/editable_values.h"
#include "tests/core/test_records.h"

namespace {

// Four cameras whose texts a spreadsheet reads as numbers, or as a formula.
struct Cameras {
    std::unique_ptr<DeviceTable> table = std::make_unique<DeviceTable>();

    Cameras() {
        ClearTable(*table);
        const struct {
            const char* name;
            const char* account;
            const char* password;
        } cameras[] = {{"0012", "", ""},
                       {"1e5", "0123456789", "007"},
                       {"=1+1", "", ""},
                       {"Caf\xC3\xA9, \"main\"", "1.50", ""}};
        uint8_t mac = 1;
        for (const auto& c : cameras) {
            DeviceRecord record = core_test::Camera(0, "10.0.0.1");
            SetFieldText(record.ip, "10.0.0." + std::to_string(mac));
            record.mac[5] = mac++;
            SetFieldText(record.name, c.name);
            SetFieldText(record.pppoeAccount, c.account);
            SetFieldText(record.pppoePassword, c.password);
            record.httpPort = 80;
            record.netMode[0] = 0xFF; // STATIC
            record.netMode[2] = 0xFF;
            MergeRecord(*table, record);
        }
    }

    // Each row's camera and what it changes, "000000000001 name ip; 000000000002 -".
    std::string Read(const std::string& file, bool keepNumbers = false) const {
        const PlanFile plan = ReadPlanFile(file, *table, CTextCodec(), keepNumbers, EnglishText);
        if (!plan.error.empty()) {
            return plan.error;
        }
        std::string summary;
        for (std::size_t row = 0; row < plan.changes.size(); ++row) {
            const ChangeValues& values = plan.changes[row];
            const unsigned changed = ChangedSettings(*FindSetTarget(*table, values.mac), values);
            summary += (row == 0 ? "" : "; ") + values.mac;
            for (const unsigned setting :
                 {SETTING_NAME, SETTING_IP, SETTING_HTTP_PORT, SETTING_MODE, SETTING_ACCOUNT}) {
                if ((changed & setting) != 0) {
                    summary += std::string(" ") + SettingColumn(setting) + "=" +
                               (setting == SETTING_MODE ? "" : values.*FieldOf(setting).typed);
                }
            }
            for (const std::string& column : plan.kept[row]) {
                summary += " kept " + column;
            }
        }
        return summary;
    }
};

const std::string HEAD = "id,name,mac,ip,httpPort,mode,pppoeAccount\r\n";

TEST(PlanFile, RowsAsTheScanWroteThemChangeNothingAndEditedCellsDo) {
    const Cameras cameras;
    const struct {
        std::string file;
        const char* read;
    } cases[] = {
        // As scan --csv writes them: the MAC with colons, the formula's apostrophe.
        {HEAD + "255,0012,00:00:00:00:00:01,10.0.0.1,80,STATIC,\r\n"
                "254,'=1+1,00:00:00:00:00:03,10.0.0.3,80,STATIC,\r\n",
         "000000000001; 000000000003"},
        // A byte-order mark, LF, a quoted edit, other MAC forms, empty cells keep.
        {"\xEF\xBB\xBF"
         "mac,name,ip,mode\n000000000001,\"Dock, 1\",,\n00-00-00-00-00-02,,10.0.0.9,"
         "dhcp\n0000.0000.0004,\"Caf\xC3\xA9, \"\"main\"\"\",,\n",
         "000000000001 name=Dock, 1; 000000000002 ip=10.0.0.9 mode=; 000000000004"},
        // Semicolons, as a spreadsheet of a decimal-comma country saves; an empty row.
        {"mac;httpPort;Name\r\n;;\r\n000000000003;8080;'=2\r\n",
         "000000000003 name==2 httpPort=8080"},
        // Windows-1252, as a Windows spreadsheet saves it.
        {"mac,name\n000000000004,Caf\xE9s\n", "000000000004 name=Caf\xC3\xA9s"},
        // What the spreadsheet did to numbers, and what was typed.
        {HEAD + "1,12,000000000001,,,,\n", "line 2: name: the spreadsheet turned the text \"0012\" "
                                           "into the number 12: open the column as text"},
        {HEAD + "1,100000,000000000002,,,,\n", "line 2: name: the spreadsheet turned the text "
                                               "\"1e5\" into the number 100000: open the column as "
                                               "text"},
        {HEAD + "1,,000000000002,,,,123456789\n",
         "line 2: pppoeAccount: the spreadsheet turned the text \"0123456789\" into the number "
         "123456789: open the column as text"},
        {HEAD + "1,13,000000000001,,,,\n", "000000000001 name=13"},
        {HEAD + "1,20050,20050,,,,\n", "line 2: mac: the spreadsheet turned the MAC into the "
                                       "number 20050: open the column as text, or write the MACs "
                                       "with colons"},
        // Bad cells, unknown and repeated MACs, one new IP twice.
        {HEAD + "1,,000000000001,10.0.0,,,\n",
         "line 2: ip: \"10.0.0\" is not an address (four numbers from 0 to 255 with dots)"},
        {HEAD + "1,,000000000001,,0,,\n", "line 2: httpPort: \"0\" is not a port from 1 to 65535"},
        {HEAD + "1,,000000000001,,,auto,\n", "line 2: mode: \"auto\" is not STATIC, DHCP or PPPOE"},
        {HEAD + "1,,00:00:00:00:00,,,,\n", "line 2: mac: \"00:00:00:00:00\" is not a MAC address"},
        {HEAD + "1,,0000000000ff,,,,\n",
         "line 2: mac: no camera answered with the MAC 0000000000ff"},
        {HEAD + "1,,000000000001,,,,\n2,,00:00:00:00:00:01,,,,\n",
         "line 3: mac: the MAC 000000000001 is on line 2 too"},
        {HEAD + "1,,000000000001,10.0.0.9,,,\n\n2,,000000000002,10.0.0.9,,,\n",
         "line 4: ip: the new IP 10.0.0.9 is on line 2 too"},
        {"name,ip\nx,10.0.0.1\n", "line 1: mac: the first row names no mac column"},
        {"mac,MAC\n", "line 1: MAC: the column is named twice"},
        {"", "the plan is empty"},
        {"mac,name\n000000000001,\"Dock\n", "line 2: a quoted cell does not end"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cameras.Read(c.file), c.read) << c.file;
    }
}

// What LibreOffice Calc 7.4 saved of `scan --csv --show-passwords` of these cameras (opened
// as it offers, saved as CSV again): LF, texts that read as numbers turned into numbers, the
// MACs with colons and the formula's apostrophe kept. A scan of the old form lost its MACs.
TEST(PlanFile, WhatASpreadsheetSavedIsRefusedOrKeepsTheCamerasTexts) {
    const Cameras cameras;
    const std::string header = "id,readOnly,name,version,mac,ip,netmask,gateway,httpPort,netMode,"
                               "mode,pppoeAccount,pppoePassword,interface,interfaceAddress,"
                               "sameSubnet\n";
    const std::string rows =
        "255,false,12,2.1.0,MAC1,10.0.0.1,255.255.255.0,,80,ffffffff,STATIC,,,lo,127.0.0.1/"
        "8,false\n"
        "254,false,100000,2.1.0,MAC2,10.0.0.2,255.255.255.0,,80,ffffffff,STATIC,123456789,7,lo,"
        "127.0.0.1/8,false\n"
        "253,false,'=1+1,2.0.7,MAC3,10.0.0.3,255.255.255.0,,80,ffffffff,STATIC,,,lo,127.0.0.1/8,"
        "false\n"
        "252,false,\"Caf\xC3\xA9, \"\"main\"\"\",3.0.0,MAC4,10.0.0.4,255.255.255.0,,80,ffffffff,"
        "STATIC,1.5,,lo,127.0.0.1/8,false\n";
    const auto saved = [&](const char* first, const char* rest) {
        std::string file = header + rows;
        for (const char digit : {'1', '2', '3', '4'}) {
            const std::string mac = std::string(digit == '1' ? first : rest) + digit;
            file.replace(file.find(std::string("MAC") + digit), 4, mac);
        }
        return file;
    };
    const std::string colons = saved("00:00:00:00:00:0", "00:00:00:00:00:0");
    EXPECT_EQ(cameras.Read(colons), "line 2: name: the spreadsheet turned the text \"0012\" into "
                                    "the number 12: open the column as text");
    EXPECT_EQ(cameras.Read(colons, true),
              "000000000001 kept name; 000000000002 kept name kept pppoeAccount kept "
              "pppoePassword; 000000000003; 000000000004 kept pppoeAccount");
    EXPECT_EQ(cameras.Read(saved("", "00:00:00:00:00:0")),
              "line 2: mac: the spreadsheet turned the MAC into the number 1: open the column as "
              "text, or write the MACs with colons");
}

// A file as written to disk and read back, so that its bytes are the file's.
std::string ThroughFile(const std::string& bytes) {
    const std::string path = ::testing::TempDir() + "plan_file_test.csv";
    std::ofstream(path, std::ios::binary) << bytes;
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The text in UTF-16 of either byte order, with the byte-order mark or without.
std::string Utf16(const std::string& ascii, bool bigEndian, bool mark) {
    std::string bytes = mark ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
    for (const char c : ascii) {
        bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    }
    return bytes;
}

TEST(PlanFile, FilesAsSpreadsheetsSaveThemAndWhatCannotBeRead) {
    const Cameras cameras;
    const std::string unicodeText = "id\tname\tmac\tip\r\n1\tDock\t00:00:00:00:00:01\t\r\n";
    const struct {
        const char* what;
        std::string file;
        const char* read;
        std::vector<std::string> warnings;
    } cases[] = {
        {"UTF-16 with a mark, tabs", Utf16(unicodeText, false, true), "000000000001 name=Dock"},
        {"UTF-16 big-endian", Utf16(unicodeText, true, true), "000000000001 name=Dock"},
        {"UTF-16 without a mark", Utf16(unicodeText, false, false), "000000000001 name=Dock"},
        {"UTF-16 with a lone surrogate on line 2",
         Utf16("mac,name\n000000000001,", false, true) + std::string("\x00\xD8", 2),
         "line 2: the file is neither UTF-8 nor UTF-16"},
        {"an odd byte at the end", Utf16("mac,name\n", false, true) + "x",
         "line 2: the file is neither UTF-8 nor UTF-16"},
        {"a mark alone", "\xEF\xBB\xBF", "the plan is empty"},
        {"blank lines alone", "\r\n\r\n", "the plan is empty"},
        {"a byte of no code page on line 3", "mac,name\n000000000001,a\n000000000002,\x81\n",
         "line 3: the file is neither UTF-8 nor Windows-1252"},
        {"a typo beside a setting",
         "mac,nmae,ip,http_port\n000000000001,x,10.0.0.9,8080\n",
         "000000000001 ip=10.0.0.9",
         {"line 1: nmae: no column of a scan has this name; it is ignored",
          "line 1: http_port: no column of a scan has this name; it is ignored"}},
        {"a no-break space in a name",
         "mac,\xC2\xA0name\n000000000001,x\n",
         "line 1: the first row names no setting to change; name one of the columns name, ip, "
         "netmask, gateway, httpPort, mode, pppoeAccount, pppoePassword",
         {"line 1: \xC2\xA0name: no column of a scan has this name; it is ignored"}},
        {"only the scan's other columns", "id,mac,version\n1,000000000001,2\n",
         "line 1: the first row names no setting to change; name one of the columns name, ip, "
         "netmask, gateway, httpPort, mode, pppoeAccount, pppoePassword"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string bytes = ThroughFile(c.file);
        EXPECT_EQ(cameras.Read(bytes), c.read);
        EXPECT_EQ(ReadPlanFile(bytes, *cameras.table, CTextCodec(), false, EnglishText).warnings,
                  c.warnings);
    }
}

TEST(PlanFile, SpreadsheetNumbers) {
    const struct {
        const char* text;
        const char* cell;
        bool number;
    } cases[] = {
        {"0012", "12", true},
        {"1.50", "1.5", true},
        {"2.0", "2", true},
        {"1e5", "100000", true},
        {"1E-2", "0.01", true},
        {"02005e000009", "2005000000000", true},
        {"0123456789", "123456789", true},
        {"12", "12", false},
        {"12", "13", false},
        {"Cam 1", "1", false},
        {"1.2.3", "123", false},
        {"", "0", false},
        {"00", "0", true},
        {"-0012", "-12", true},
        {"0012", "-12", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsSpreadsheetNumberOf(c.text, c.cell), c.number) << c.text << " / " << c.cell;
    }
}

TEST(CsvReader, QuotesLineBreaksAndLineNumbers) {
    const CsvRead read = ReadCsv("a,\"b\"\"c\",\"d\r\ne\"\r\n\r\nf\rg,\n");
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.rows.size(), 3u);
    EXPECT_EQ(read.rows[0].cells, (std::vector<std::string>{"a", "b\"c", "d\r\ne"}));
    EXPECT_EQ(read.rows[1].line, 4u);
    EXPECT_EQ(read.rows[1].cells, (std::vector<std::string>{"f"}));
    EXPECT_EQ(read.rows[2].line, 5u);
    EXPECT_EQ(read.rows[2].cells, (std::vector<std::string>{"g", ""}));
}

} // namespace
