// The confirmation of a change by the camera's own replies, as both front ends judge it.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/rules/change_confirmation.h"
#include "core/rules/settings_checks.h"

namespace {

DeviceRecord FrontDoor() {
    DeviceRecord record{};
    record.id = 255;
    SetFieldText(record.name, "Front door");
    const uint8_t mac[6] = {0x02, 0x00, 0x5e, 0x00, 0x00, 0x01};
    std::memcpy(record.mac, mac, sizeof mac);
    SetFieldText(record.ip, "192.168.1.20");
    SetFieldText(record.netmask, "255.255.255.0");
    SetFieldText(record.gateway, "192.168.1.1");
    record.httpPort = 80;
    std::memset(record.netMode, 0xFF, sizeof record.netMode);
    SetFieldText(record.pppoePassword, "old secret");
    return record;
}

ChangeValues Unchanged(const DeviceRecord& record) {
    ChangeValues values;
    values.mac = MacToText(record.mac);
    values.name = FieldText(record.name);
    values.ip = FieldText(record.ip);
    values.netmask = FieldText(record.netmask);
    values.gateway = FieldText(record.gateway);
    values.httpPort = std::to_string(record.httpPort);
    values.pppoePassword = FieldText(record.pppoePassword);
    return values;
}

// One round: the query went out and these replies came.
bool Round(CChangeConfirmation& confirmation, std::initializer_list<DeviceRecord> replies,
           bool last = false) {
    confirmation.StartRound();
    for (const DeviceRecord& reply : replies) {
        confirmation.OnReply(reply);
    }
    return confirmation.EndRound(last);
}

TEST(ChangeConfirmation, TheCameraAnsweringAsSentConfirms) {
    const DeviceRecord before = FrontDoor();
    ChangeValues sent = Unchanged(before);
    sent.name = "Front gate";
    sent.httpPort = "08081";
    DeviceRecord after = before;
    SetFieldText(after.name, "Front gate");
    after.httpPort = 8081;
    after.id = 254; // another slot after the list was rebuilt: no matter
    CChangeConfirmation confirmation(before, sent);
    EXPECT_EQ(confirmation.Mac(), "02005e000001");
    EXPECT_TRUE(Round(confirmation, {after, after})); // one camera answering twice
    EXPECT_TRUE(confirmation.Confirmed());
    EXPECT_EQ(confirmation.Outcome(), "Front gate confirmed the new settings");
}

TEST(ChangeConfirmation, ASettingThatDidNotComeBackIsNamedAfterTheLastRound) {
    const DeviceRecord before = FrontDoor();
    ChangeValues sent = Unchanged(before);
    sent.ip = "192.168.1.99";
    sent.pppoePassword = "new secret";
    sent.mode = NetMode::Dhcp;
    CChangeConfirmation confirmation(before, sent);
    EXPECT_FALSE(Round(confirmation, {before})) << "the camera may still be applying it";
    EXPECT_TRUE(Round(confirmation, {before}, true));
    EXPECT_FALSE(confirmation.Confirmed());
    EXPECT_TRUE(confirmation.Answered());
    EXPECT_EQ(confirmation.Outcome(),
              "Front door did not take the new settings: IP is \"192.168.1.20\", not "
              "\"192.168.1.99\" as sent; Mode is \"STATIC\", not \"DHCP\" as sent; Password did "
              "not change");
    EXPECT_EQ(confirmation.Outcome().find("secret"), std::string::npos);
}

TEST(ChangeConfirmation, SilenceAndOtherCamerasAreNoAnswer) {
    const DeviceRecord before = FrontDoor();
    ChangeValues sent = Unchanged(before);
    sent.name = "Front gate";
    DeviceRecord other = before;
    other.mac[5] = 2;
    SetFieldText(other.name, "Front gate"); // what was sent, but another camera
    CChangeConfirmation confirmation(before, sent);
    EXPECT_FALSE(Round(confirmation, {other}));
    EXPECT_TRUE(Round(confirmation, {}, true));
    EXPECT_FALSE(confirmation.Answered());
    EXPECT_EQ(confirmation.Outcome(),
              "Front door did not answer: it may be restarting; press Update in a minute");
}

TEST(ChangeConfirmation, TwoCamerasWithTheMacAreToldApart) {
    const DeviceRecord before = FrontDoor();
    ChangeValues sent = Unchanged(before);
    sent.name = "Front gate";
    DeviceRecord taken = before;
    SetFieldText(taken.name, "Front gate");
    DeviceRecord twin = before;
    SetFieldText(twin.ip, "192.168.1.77");
    CChangeConfirmation confirmation(before, sent);
    EXPECT_TRUE(Round(confirmation, {twin, taken}));
    EXPECT_FALSE(confirmation.Confirmed());
    EXPECT_EQ(confirmation.Outcome(), "Two cameras answer with the MAC 02005e000001: check which "
                                      "one took the new settings");
}

TEST(ChangeConfirmation, ANewMacIsWhereTheCameraIsLookedFor) {
    const DeviceRecord before = FrontDoor();
    ChangeValues sent = Unchanged(before);
    sent.newMac = "0A0B0C0D0E0F";
    DeviceRecord moved = before;
    const uint8_t mac[6] = {0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f};
    std::memcpy(moved.mac, mac, sizeof mac);
    CChangeConfirmation confirmation(before, sent);
    EXPECT_EQ(confirmation.Mac(), "0a0b0c0d0e0f");
    EXPECT_FALSE(Round(confirmation, {before}));
    EXPECT_TRUE(Round(confirmation, {moved}));
    EXPECT_TRUE(confirmation.Confirmed());
}

TEST(ChangeConfirmation, ACameraTurnedToDhcpGetsLonger) {
    const DeviceRecord before = FrontDoor();
    ChangeValues sent = Unchanged(before);
    EXPECT_EQ(&CChangeConfirmation(before, sent).Schedule(), &CONFIRM_SCHEDULE_MS);
    sent.mode = NetMode::Dhcp;
    EXPECT_EQ(&CChangeConfirmation(before, sent).Schedule(), &CONFIRM_SCHEDULE_DHCP_MS);
    EXPECT_GE(CONFIRM_SCHEDULE_MS.back(), 4000);
    EXPECT_LE(CONFIRM_SCHEDULE_MS.back(), 7000);
    EXPECT_GT(CONFIRM_SCHEDULE_DHCP_MS.back(), 2 * CONFIRM_SCHEDULE_MS.back());
    // A camera taking its address by DHCP reports another IP than it had: no difference.
    DeviceRecord after = before;
    SetFieldText(after.ip, "192.168.1.131");
    std::memcpy(after.netMode, "\xFF\xFF\x01\xFF", 4);
    EXPECT_TRUE(ChangeDifferences(before, sent, after).empty());
}

} // namespace
