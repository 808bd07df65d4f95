#include "cli/set_change.h"

#include "core/present/device_format.h"
#include "core/session/editable_values.h"
#include "core/wire/net_mode.h"

// The mode --mode names: "pppoe", "dhcp", anything else static.
static NetMode ModeOption(const std::string& option) {
    return option == "pppoe" ? NetMode::Pppoe : option == "dhcp" ? NetMode::Dhcp : NetMode::Static;
}

bool SetChanges::Any() const {
    return name || ip || netmask || gateway || httpPort || mode || pppoeAccount || pppoePassword ||
           newMac;
}

ChangeValues ChangeValuesFor(const DeviceRecord& record, const SetChanges& changes,
                             const CTextCodec& codec) {
    ChangeValues values = EditableValues(record, codec);
    values.newMac = changes.newMac;
    values.name = changes.name.value_or(values.name);
    values.pppoeAccount = changes.pppoeAccount.value_or(values.pppoeAccount);
    values.pppoePassword = changes.pppoePassword.value_or(values.pppoePassword);
    values.ip = changes.ip.value_or(values.ip);
    values.netmask = changes.netmask.value_or(values.netmask);
    values.gateway = changes.gateway.value_or(values.gateway);
    values.httpPort = changes.httpPort.value_or(values.httpPort);
    if (changes.mode) {
        values.mode = ModeOption(*changes.mode);
    }
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

std::string TextRefusalReason(const PanelTextRefusal& refusal) {
    const char* option = refusal.setting == SETTING_NAME      ? "--name"
                         : refusal.setting == SETTING_ACCOUNT ? "--pppoe-account"
                                                              : "--pppoe-password";
    return TextRefusalSentence(
        refusal, option,
        {"%1: the device keeps %2 bytes of it in %3: only the first %4 characters fit",
         "%1: the device stores this text in %2, which has no \"%3\" (%4)",
         "%1: the text holds replacement marks (U+FFFD); type it in full"});
}
