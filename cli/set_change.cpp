#include "cli/set_change.h"

#include "protocol/device_format.h"
#include "protocol/net_mode.h"

// The mode --mode names: "pppoe", "dhcp", anything else static.
static NetMode ModeOption(const std::string& option) {
    return option == "pppoe" ? NetMode::Pppoe : option == "dhcp" ? NetMode::Dhcp : NetMode::Static;
}

PanelValues PanelValuesFor(const DeviceRecord& record, const SetChanges& changes) {
    PanelValues values;
    values.captionMac = MacToText(record.mac);
    values.newMac = changes.newMac;
    values.name = changes.name.value_or(FieldText(record.name));
    values.pppoeAccount = changes.pppoeAccount.value_or(FieldText(record.pppoeAccount));
    values.pppoePassword = changes.pppoePassword.value_or(FieldText(record.pppoePassword));
    values.ip = changes.ip.value_or(FieldText(record.ip));
    values.netmask = changes.netmask.value_or(FieldText(record.netmask));
    values.gateway = changes.gateway.value_or(FieldText(record.gateway));
    values.httpPort = changes.httpPort.value_or(std::to_string(record.httpPort));
    CheckMode(values, changes.mode ? ModeOption(*changes.mode) : RadioMode(record.netMode));
    return values;
}

std::string RefusalReason(const DeviceRecord& device, const SetChanges& changes,
                          const std::vector<DeviceRecord>& scanned) {
    const std::string mac = MacToText(device.mac);
    if (device.readOnly) {
        return "device " + mac + " is read-only: it takes no changes";
    }
    if (changes.newMac && *changes.newMac != mac) {
        for (const DeviceRecord& other : scanned) {
            if (MacToText(other.mac) == *changes.newMac) {
                return "--new-mac: another device (" + FieldText(other.name) +
                       ") already answers with MAC " + *changes.newMac;
            }
        }
    }
    return "";
}
