#include "cli/set_change.h"

#include "core/session/editable_values.h"
#include "core/wire/net_mode.h"

// The mode --mode names: "pppoe", "dhcp", anything else static.
static NetMode ModeOption(const std::string& option) {
    return option == "pppoe" ? NetMode::Pppoe : option == "dhcp" ? NetMode::Dhcp : NetMode::Static;
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
