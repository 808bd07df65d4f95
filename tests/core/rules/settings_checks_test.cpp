// The checks a change passes before it goes to a camera: refused values, a change of
// nothing, and the risks the user must confirm.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/messages/fill_text.h"
#include "core/rules/settings_checks.h"
#include "core/wire/net_mode.h"

namespace {

DeviceRecord Camera(const char* name, uint8_t lastMacByte, const char* ip, const char* netmask,
                    const char* gateway, std::array<uint8_t, 4> mode) {
    DeviceRecord record{};
    SetFieldText(record.name, name);
    const uint8_t mac[6] = {0x02, 0x00, 0x5e, 0x00, 0x00, lastMacByte};
    std::copy(mac, mac + 6, record.mac);
    SetFieldText(record.ip, ip);
    SetFieldText(record.netmask, netmask);
    SetFieldText(record.gateway, gateway);
    record.httpPort = 80;
    std::copy(mode.begin(), mode.end(), record.netMode);
    return record;
}

constexpr std::array<uint8_t, 4> STATIC = {0xFF, 0xFF, 0xFF, 0xFF};
constexpr std::array<uint8_t, 4> MIXED_DHCP = {0xFF, 0xFF, 0x01, 0x00};

// The table a front end holds: the camera to change, and one other on the same network.
class SettingsChecks : public ::testing::Test {
protected:
    void SetUp() override {
        ClearTable(m_table);
        MergeRecord(m_table, Camera("Front door", 1, "192.168.1.20", "255.255.255.0", "192.168.1.1",
                                    STATIC));
        MergeRecord(m_table,
                    Camera("Lobby", 3, "192.168.1.22", "255.255.255.0", "192.168.1.1", MIXED_DHCP));
    }

    // The panel as a selection fills it, for the camera with this last MAC byte.
    ChangeValues Untouched(uint8_t lastMacByte = 1) const {
        const DeviceRecord& record = Record(lastMacByte);
        ChangeValues values;
        values.mac = MacToText(record.mac);
        values.name = FieldText(record.name);
        values.ip = FieldText(record.ip);
        values.netmask = FieldText(record.netmask);
        values.gateway = FieldText(record.gateway);
        values.httpPort = std::to_string(record.httpPort);
        values.mode = RecordMode(record.netMode) == NetMode::Dhcp ? NetMode::Dhcp : NetMode::Static;
        return values;
    }

    const DeviceRecord& Record(uint8_t lastMacByte) const {
        for (const DeviceRecord& record : m_table.slot) {
            if (record.id != 0 && record.mac[5] == lastMacByte) {
                return record;
            }
        }
        return m_table.slot[0];
    }

    SettingsVerdict Check(const ChangeValues& values) const {
        // This PC: 192.168.1.5/24 beside loopback.
        return CheckSettingsChange(m_table, values,
                                   {{0x7F000001, 0xFF000000}, {0xC0A80105, 0xFFFFFF00}});
    }

    DeviceTable m_table;
};

struct Change {
    const char* what;
    std::function<void(ChangeValues&)> apply;
    const char* refusal;               // the start of the refusal, or "" when the change may go
    std::vector<const char*> warnings; // a telling part of each warning, in order
};

void PrintTo(const Change& change, std::ostream* out) {
    *out << change.what;
}

class RefusedAndRisky : public SettingsChecks, public ::testing::WithParamInterface<Change> {};

TEST_P(RefusedAndRisky, IsJudgedAsExpected) {
    ChangeValues values = Untouched();
    GetParam().apply(values);
    const SettingsVerdict verdict = Check(values);
    EXPECT_FALSE(verdict.nothingChanged);
    EXPECT_EQ(verdict.refusal.rfind(GetParam().refusal, 0), 0u) << verdict.refusal;
    if (*GetParam().refusal != '\0') {
        EXPECT_NE(verdict.refusal.find("Nothing was sent."), std::string::npos);
    }
    ASSERT_EQ(verdict.warnings.size(), GetParam().warnings.size());
    for (std::size_t i = 0; i < verdict.warnings.size(); ++i) {
        EXPECT_NE(verdict.warnings[i].sentence.find(GetParam().warnings[i]), std::string::npos)
            << verdict.warnings[i].sentence;
    }
}

auto Set(std::string ChangeValues::*field, const char* text) {
    return [field, text](ChangeValues& v) { v.*field = text; };
}

auto SetMask(const char* netmask, const char* ip) {
    return [netmask, ip](ChangeValues& v) {
        v.netmask = netmask;
        v.ip = ip;
    };
}

auto NewMac(const char* text) {
    return [text](ChangeValues& v) { v.newMac = text; };
}

INSTANTIATE_TEST_SUITE_P(
    Values, RefusedAndRisky,
    ::testing::Values(
        Change{"mask with a hole",
               Set(&ChangeValues::netmask, "255.0.255.0"),
               "Submask: 255.0.255.0 is not a subnet mask",
               {}},
        Change{"mask of nothing",
               Set(&ChangeValues::netmask, "0.0.0.0"),
               "Submask: 0.0.0.0 cannot be",
               {}},
        Change{"mask of one host",
               Set(&ChangeValues::netmask, "255.255.255.255"),
               "Submask: 255.255.255.255 cannot be",
               {}},
        Change{"zero network IP", Set(&ChangeValues::ip, "0.1.2.3"), "IP: 0.1.2.3 is not", {}},
        Change{
            "loopback IP", Set(&ChangeValues::ip, "127.0.0.5"), "IP: 127.0.0.5 is a loopback", {}},
        Change{"multicast IP",
               Set(&ChangeValues::ip, "224.0.0.1"),
               "IP: 224.0.0.1 is a multicast",
               {}},
        Change{
            "reserved IP", Set(&ChangeValues::ip, "240.1.1.1"), "IP: 240.1.1.1 is a multicast", {}},
        Change{"network address",
               Set(&ChangeValues::ip, "192.168.1.0"),
               "IP: 192.168.1.0 is the network address",
               {}},
        Change{"broadcast address",
               Set(&ChangeValues::ip, "192.168.1.255"),
               "IP: 192.168.1.255 is the broadcast address",
               {}},
        Change{"a new mask makes the IP the broadcast",
               SetMask("255.255.255.252", "192.168.1.23"),
               "IP: 192.168.1.23 is the broadcast address",
               {}},
        Change{"gateway is the IP",
               Set(&ChangeValues::gateway, "192.168.1.20"),
               "Gateway: 192.168.1.20 is the camera's own IP",
               {}},
        Change{"loopback gateway",
               Set(&ChangeValues::gateway, "127.0.0.1"),
               "Gateway: 127.0.0.1 is a loopback",
               {}},
        Change{"multicast gateway",
               Set(&ChangeValues::gateway, "239.1.1.1"),
               "Gateway: 239.1.1.1 is a multicast",
               {}},
        Change{"broadcast gateway",
               Set(&ChangeValues::gateway, "255.255.255.255"),
               "Gateway: 255.255.255.255 is the broadcast",
               {}},
        Change{"MAC of zeros", NewMac("000000000000"), "Mac: 000000000000 is all zeros", {}},
        Change{"broadcast MAC", NewMac("FFFFFFFFFFFF"), "Mac: FFFFFFFFFFFF is the broadcast", {}},
        Change{"group MAC", NewMac("0300005e0001"), "Mac: 0300005e0001 is a group address", {}},
        Change{"tab in the name",
               Set(&ChangeValues::name, "Front\tdoor"),
               "Name: the text holds a control character",
               {}},
        Change{"delete in the account",
               Set(&ChangeValues::pppoeAccount, "me\x7f"),
               "Account: the text holds a control character",
               {}},
        Change{"line break in the password",
               Set(&ChangeValues::pppoePassword, "pw\n"),
               "Password: the text holds a control character",
               {}},
        // What may go without a question.
        Change{"no gateway", Set(&ChangeValues::gateway, "0.0.0.0"), "", {}},
        Change{"a name in a code page", Set(&ChangeValues::name, "Caf\xe9"), "", {}},
        Change{"a point-to-point subnet",
               SetMask("255.255.255.254", "192.168.1.20"),
               "",
               {"The gateway 192.168.1.1 lies outside the camera's new subnet 192.168.1.20/31"}},
        Change{"a unicast MAC", NewMac("02005e0000aa"), "", {}},
        Change{"another port", Set(&ChangeValues::httpPort, "8080"), "", {}},
        // What asks first.
        Change{"gateway elsewhere",
               Set(&ChangeValues::gateway, "192.168.2.1"),
               "",
               {"gateway 192.168.2.1 lies outside the camera's new subnet 192.168.1.0/24"}},
        Change{"IP of another camera",
               Set(&ChangeValues::ip, "192.168.1.22"),
               "",
               {"192.168.1.22 is already the IP of the camera Lobby (02005e000003)"}},
        Change{"IP of this PC",
               Set(&ChangeValues::ip, "192.168.1.5"),
               "",
               {"192.168.1.5 is the IP of this PC"}},
        Change{"IP on another network",
               Set(&ChangeValues::ip, "10.1.1.7"),
               "",
               {"gateway 192.168.1.1 lies outside", "finder will lose sight of the camera"}},
        Change{"a whole other network",
               SetMask("255.0.0.0", "10.1.1.7"),
               "",
               {"gateway 192.168.1.1 lies outside", "finder will lose sight"}}),
    [](const ::testing::TestParamInfo<Change>& info) {
        std::string name;
        for (const char* c = info.param.what; *c != '\0'; ++c) {
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        }
        return name;
    });

// The camera whose IP is taken is named as the front end reads its name, in its language.
TEST_F(SettingsChecks, ATakenIpNamesTheOtherCameraAsItsCodecReadsIt) {
    MergeRecord(m_table, Camera("\xBA\xF3\xC3\xC5", 5, "192.168.1.30", "255.255.255.0",
                                "192.168.1.1", STATIC)); // GBK
    ChangeValues values = Untouched();
    values.ip = "192.168.1.30";
    const TextLookup marked = [](const WindowText& text) {
        return std::string("~") + text.english;
    };
    const SettingsVerdict verdict =
        CheckSettingsChange(m_table, values, {}, marked, CTextCodec(TextEncoding::Gbk));
    ASSERT_EQ(verdict.warnings.size(), 1u);
    EXPECT_EQ(verdict.warnings.front().sentence,
              "~The IP 192.168.1.30 is already the IP of the camera 后门 (02005e000005): the two "
              "would disturb each other.");
}

TEST_F(SettingsChecks, AnUntouchedPanelChangesNothingAndIsNotSent) {
    EXPECT_TRUE(Check(Untouched()).nothingChanged);
    // Mode bytes FF FF 01 00 read as DHCP: DHCP again would rewrite them, and change nothing.
    EXPECT_TRUE(Check(Untouched(3)).nothingChanged);
    ChangeValues port = Untouched();
    port.httpPort = "0080"; // the same number
    EXPECT_TRUE(Check(port).nothingChanged);
    ChangeValues sameMac = Untouched();
    sameMac.newMac = "02005e000001";
    EXPECT_TRUE(Check(sameMac).nothingChanged);
    ChangeValues nobody = Untouched();
    nobody.mac = "ffffffffffff";
    EXPECT_TRUE(Check(nobody).nothingChanged);
}

TEST_F(SettingsChecks, OnlyWhatTheChangeTouchesIsJudged) {
    // A camera whose stored settings would be refused can still be renamed.
    MergeRecord(m_table, Camera("Odd", 9, "192.168.1.255", "255.0.255.0", "10.0.0.1", STATIC));
    ChangeValues values = Untouched(9);
    values.name = "Odd one";
    const SettingsVerdict verdict = Check(values);
    EXPECT_FALSE(verdict.nothingChanged);
    EXPECT_EQ(verdict.refusal, "");
    EXPECT_TRUE(verdict.warnings.empty());
    EXPECT_EQ(ChangedSettings(Record(9), values), SETTING_NAME);
}

TEST_F(SettingsChecks, ModeChangesCountAndAStaticCameraNeedsAMask) {
    ChangeValues values = Untouched(3); // DHCP, mask 255.255.255.0
    values.mode = NetMode::Static;
    EXPECT_EQ(ChangedSettings(Record(3), values), SETTING_MODE);
    EXPECT_EQ(Check(values).refusal, "");
    values.netmask = "0.0.0.0";
    EXPECT_EQ(Check(values).refusal.rfind("Submask: 0.0.0.0 cannot be", 0), 0u);
    values.mode = NetMode::Dhcp; // a DHCP camera takes its mask from the network
    EXPECT_EQ(Check(values).refusal, "");
    EXPECT_TRUE(Check(values).warnings.empty());
}

TEST_F(SettingsChecks, WithoutKnownNetworksNoCameraIsOutOfSight) {
    ChangeValues values = Untouched();
    values.ip = "10.1.1.7";
    values.gateway = "0.0.0.0";
    EXPECT_TRUE(CheckSettingsChange(m_table, values, {}).warnings.empty());
    EXPECT_EQ(Check(values).warnings.size(), 1u);
}

TEST(Ipv4, TextAndNumberBothWays) {
    EXPECT_EQ(ParseIpv4("192.168.1.20"), 0xC0A80114u);
    EXPECT_EQ(ParseIpv4("255.255.255.255"), 0xFFFFFFFFu);
    EXPECT_FALSE(ParseIpv4("192.168.1"));
    EXPECT_FALSE(ParseIpv4("010.0.0.1"));
    EXPECT_EQ(Ipv4Text(0xC0A80114u), "192.168.1.20");
    EXPECT_EQ(Ipv4Text(0), "0.0.0.0");
}

TEST(ApplyTexts, PlaceholdersAreFilledInOrderOnce) {
    EXPECT_EQ(FillText("%1 is %2, not %3 as sent", {"IP", "\"1\"", "\"2\""}),
              "IP is \"1\", not \"2\" as sent");
    EXPECT_EQ(FillText("%1 and %2", {"a%2"}), "a%2 and %2") << "an argument is not read again";
    EXPECT_EQ(FillText("100% sure", {}), "100% sure");
    EXPECT_EQ(FillText(APPLY_TEXT_SENDING.english, {"02005e000001"}),
              "Sending to 02005e000001\u2026");
}

} // namespace
