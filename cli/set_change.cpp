#include "cli/set_change.h"

#include <cstdlib>

#include "protocol/device_format.h"
#include "protocol/net_mode.h"

// The mode --mode names: "pppoe", "dhcp", anything else static.
static NetMode ModeOption(const std::string& option) {
    return option == "pppoe" ? NetMode::Pppoe : option == "dhcp" ? NetMode::Dhcp : NetMode::Static;
}

PanelValues PanelValuesFor(const DeviceRecord& record, const SetChanges& changes,
                           const CTextCodec& codec) {
    PanelValues values;
    values.captionMac = MacToText(record.mac);
    values.newMac = changes.newMac;
    values.name = changes.name.value_or(codec.Shown(FieldText(record.name), ITEM_WIDTH_NAME));
    values.pppoeAccount = changes.pppoeAccount.value_or(
        codec.Shown(FieldText(record.pppoeAccount), ITEM_WIDTH_PPPOE_ACCOUNT));
    values.pppoePassword = changes.pppoePassword.value_or(
        codec.Shown(FieldText(record.pppoePassword), ITEM_WIDTH_PPPOE_PASSWORD));
    values.ip = changes.ip.value_or(FieldText(record.ip));
    values.netmask = changes.netmask.value_or(FieldText(record.netmask));
    values.gateway = changes.gateway.value_or(FieldText(record.gateway));
    values.httpPort = changes.httpPort.value_or(std::to_string(record.httpPort));
    CheckMode(values, changes.mode ? ModeOption(*changes.mode) : RadioMode(record.netMode));
    return values;
}

std::string RefusalReason(const DeviceRecord& device, const SetChanges& changes,
                          const std::vector<DeviceRecord>& scanned, const CTextCodec& codec) {
    const std::string mac = MacToText(device.mac);
    if (device.readOnly) {
        return "device " + mac + " is read-only: it takes no changes";
    }
    if (changes.newMac && *changes.newMac != mac) {
        for (const DeviceRecord& other : scanned) {
            if (MacToText(other.mac) == *changes.newMac) {
                return "--new-mac: another device (" +
                       codec.Shown(FieldText(other.name), ITEM_WIDTH_NAME) +
                       ") already answers with MAC " + *changes.newMac;
            }
        }
    }
    return "";
}

static void Compare(std::vector<std::string>& differences, const char* what,
                    const std::string& reported, const std::string& sent) {
    if (reported != sent) {
        differences.push_back(std::string(what) + " is \"" + reported + "\", not \"" + sent + "\"");
    }
}

std::string TextRefusalReason(const PanelTextRefusal& refusal) {
    const char* option = refusal.field == PanelTextField::Name           ? "--name"
                         : refusal.field == PanelTextField::PppoeAccount ? "--pppoe-account"
                                                                         : "--pppoe-password";
    const TextWrite& write = refusal.write;
    const std::string encoding = EncodingLabel(write.encoding);
    switch (write.refusal) {
    case TextRefusal::TooLong:
        return std::string(option) + ": the device keeps " + std::to_string(refusal.width) +
               " bytes of it in " + encoding + ": only the first " + std::to_string(write.fits) +
               " characters fit";
    case TextRefusal::NotHeld:
        return std::string(option) + ": the device stores this text in " + encoding +
               ", which has no \"" + write.character + "\" (" + CodePointText(write.codePoint) +
               ")";
    case TextRefusal::Unreadable:
    case TextRefusal::None:
        break;
    }
    return std::string(option) + ": the text holds replacement marks (U+FFFD); type it in full";
}

std::vector<std::string> VerifyChange(const PanelValues& sent, const DeviceRecord& reply,
                                      const CTextCodec& codec) {
    std::vector<std::string> differences;
    // Texts compare as the bytes the device stores; the message shows them readable.
    const auto compareText = [&](const char* what, const std::string& reported,
                                 const std::string& bytes, std::size_t width) {
        if (reported != bytes) {
            differences.push_back(std::string(what) + " is \"" + codec.Shown(reported, width) +
                                  "\", not \"" + codec.Shown(bytes, width) + "\"");
        }
    };
    // A text longer than its field is refused before sending, so what went out is whole.
    compareText("name", FieldText(reply.name), sent.name, ITEM_WIDTH_NAME);
    Compare(differences, "ip", FieldText(reply.ip), sent.ip);
    Compare(differences, "netmask", FieldText(reply.netmask), sent.netmask);
    Compare(differences, "gateway", FieldText(reply.gateway), sent.gateway);
    Compare(differences, "httpPort", std::to_string(reply.httpPort),
            std::to_string(std::atoi(sent.httpPort.c_str())));
    Compare(differences, "mode", ModeName(RadioMode(reply.netMode)), ModeName(CheckedMode(sent)));
    compareText("pppoeAccount", FieldText(reply.pppoeAccount), sent.pppoeAccount,
                ITEM_WIDTH_PPPOE_ACCOUNT);
    compareText("pppoePassword", FieldText(reply.pppoePassword), sent.pppoePassword,
                ITEM_WIDTH_PPPOE_PASSWORD);
    return differences;
}
