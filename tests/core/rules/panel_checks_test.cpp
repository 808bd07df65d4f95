// The details panel's checks before Submit, as a table of cases.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/rules/panel_checks.h"

namespace {

DeviceRecord FrontDoor() {
    DeviceRecord record{};
    record.id = 255;
    SetFieldText(record.name, "Front door");
    SetFieldText(record.version, "2.1.0");
    TextToMac("02005e000001", record.mac);
    SetFieldText(record.ip, "192.168.1.20");
    SetFieldText(record.netmask, "255.255.255.0");
    SetFieldText(record.gateway, "192.168.1.1");
    record.httpPort = 80;
    std::memset(record.netMode, 0xFF, sizeof record.netMode);
    return record;
}

// The panel as a selection fills it, with the MAC-change field shown.
ChangeValues AsSelected(const DeviceRecord& record) {
    ChangeValues values;
    values.mac = MacToText(record.mac);
    values.newMac = values.mac;
    values.name = FieldText(record.name);
    values.ip = FieldText(record.ip);
    values.netmask = FieldText(record.netmask);
    values.gateway = FieldText(record.gateway);
    values.httpPort = std::to_string(record.httpPort);
    return values;
}

// The panel's field by its label.
std::string& Field(ChangeValues& values, const std::string& label) {
    if (label == "IP") {
        return values.ip;
    }
    if (label == "Submask") {
        return values.netmask;
    }
    if (label == "Gateway") {
        return values.gateway;
    }
    return label == "Http Port" ? values.httpPort : *values.newMac;
}

} // namespace

TEST(PanelChecks, AChangedValueThatCannotGoIsRefusedByFieldAndText) {
    const struct {
        const char* field;
        const char* typed;
    } refused[] = {
        {"IP", "192.168.1"},          {"IP", "192.168.1.300"}, {"IP", "010.0.0.1"},
        {"Submask", "255.255.255.x"}, {"Gateway", ""},         {"Http Port", "0"},
        {"Http Port", "65536"},       {"Http Port", "81a"},    {"Http Port", "000080"},
        {"Mac", "02005e00000"},       {"Mac", "02005e00000g"}, {"Mac", "02:00:5e:00:00:01"},
    };
    const DeviceRecord target = FrontDoor();
    for (const auto& c : refused) {
        ChangeValues values = AsSelected(target);
        Field(values, c.field) = c.typed;
        const std::optional<std::string> problem = CheckPanelValues(target, values);
        ASSERT_TRUE(problem) << c.field << " \"" << c.typed << '"';
        EXPECT_EQ(problem->rfind(std::string(c.field) + ": \"" + c.typed + "\" is not a", 0), 0u)
            << *problem;
        EXPECT_TRUE(problem->ends_with(" Nothing was sent.")) << *problem;
    }
}

TEST(PanelChecks, ValuesTheCameraCanTakeOrAlreadyHasGo) {
    DeviceRecord target = FrontDoor();
    EXPECT_FALSE(CheckPanelValues(target, AsSelected(target)));
    const struct {
        const char* field;
        const char* typed;
    } accepted[] = {
        {"IP", "10.0.0.1"},     {"Submask", "255.0.0.0"}, {"Gateway", "0.0.0.0"},
        {"Http Port", "65535"}, {"Http Port", "08080"},   {"Mac", "0A0B0C0D0E0F"},
    };
    for (const auto& c : accepted) {
        ChangeValues values = AsSelected(target);
        Field(values, c.field) = c.typed;
        EXPECT_FALSE(CheckPanelValues(target, values)) << c.field << " \"" << c.typed << '"';
    }
    // What the camera reported goes back untouched (or not at all), even when no check
    // would pass it.
    SetFieldText(target.gateway, "");
    SetFieldText(target.ip, "not an address");
    EXPECT_FALSE(CheckPanelValues(target, AsSelected(target)));
    ChangeValues hidden = AsSelected(target); // no MAC-change field: no MAC to check
    hidden.newMac.reset();
    EXPECT_FALSE(CheckPanelValues(target, hidden));
}

TEST(PanelChecks, TheMessagesSayWhatToTypeInTheirOwnWords) {
    const DeviceRecord target = FrontDoor();
    const struct {
        const char* field;
        const char* typed;
        const char* message;
    } cases[] = {
        {"Submask", "1.2.3",
         "Submask: \"1.2.3\" is not an address. Type four numbers from 0 to "
         "255 separated by dots, such as 192.168.1.100. Nothing was sent."},
        {"Http Port", "0",
         "Http Port: \"0\" is not a port. Type a number from 1 to 65535. "
         "Nothing was sent."},
        {"Mac", "xyz",
         "Mac: \"xyz\" is not a MAC address. Type twelve hexadecimal digits without "
         "separators, such as 001a2b3c4d5e. Nothing was sent."},
    };
    for (const auto& c : cases) {
        ChangeValues values = AsSelected(target);
        Field(values, c.field) = c.typed;
        EXPECT_EQ(CheckPanelValues(target, values).value_or(""), c.message);
    }
    // A camera text that cannot go comes first, before any other field.
    DeviceRecord legacy = target;
    SetFieldText(legacy.pppoeAccount, "Caf\xE9"); // Windows-1252
    ChangeValues values = AsSelected(legacy);
    values.pppoeAccount = "账号";
    values.ip = "bad";
    EXPECT_EQ(CheckPanelValues(legacy, values).value_or(""),
              "Account: the camera keeps this text in Windows-1252, which has no \"账\" "
              "(U+8D26). Nothing was sent.");
}

TEST(PanelChecks, CameraTextsAreCheckedAsTheyWouldBeWritten) {
    DeviceRecord target = FrontDoor();
    SetFieldText(target.name, "\xC7\xB0\xC3\xC5"); // 前门 in GBK
    const CTextCodec chinese = CTextCodec::ForLanguage(1);
    ChangeValues values = AsSelected(target);
    values.name = "前门";
    EXPECT_FALSE(CheckPanelValues(target, values, chinese)) << "untouched";
    values.name = "前门摄像机一二三四";
    EXPECT_EQ(CheckPanelValues(target, values, chinese).value_or(""),
              "Name: the text is too long. The camera keeps 16 bytes of it in GBK: only the "
              "first 8 characters fit. Nothing was sent.");
    // The texts come in the front end's language, placeholders filled.
    const TextLookup german = [](const WindowText& text) -> std::string {
        if (std::string(text.id) == TEXT_CHECK_NOT_PORT.id) {
            return "%1: „%2“ ist kein Port.";
        }
        return std::string(text.id) == TEXT_FIELD_HTTP_PORT.id ? "HTTP-Port" : text.english;
    };
    values = AsSelected(target);
    values.name = "前门"; // as the panel shows it
    values.httpPort = "%1";
    EXPECT_EQ(CheckPanelValues(target, values, chinese, german).value_or(""),
              "HTTP-Port: „%1“ ist kein Port.");
}
