#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "core/encoding/text_codec.h"
#include "core/rules/panel_texts.h"
#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"

// The settings `set` lays over the device's record; an option not given keeps the record's.
struct SetChanges {
    std::optional<std::string> name;
    std::optional<std::string> ip;
    std::optional<std::string> netmask;
    std::optional<std::string> gateway;
    std::optional<std::string> httpPort;
    std::optional<std::string> mode; // "static", "dhcp" or "pppoe"
    std::optional<std::string> pppoeAccount;
    std::optional<std::string> pppoePassword;
    std::optional<std::string> newMac; // lower-case

    bool Any() const;
};

// The panel values `set` sends: the device's record with the changes laid over it, its
// texts as the codec shows them (UTF-8, as the changes are typed). The mode, when not
// given, is the one the panel's radio buttons would show for the record.
ChangeValues ChangeValuesFor(const DeviceRecord& record, const SetChanges& changes,
                             const CTextCodec& codec);

// Why the change may not go to this device (read-only, or a new MAC another device of
// the scan already answers with); empty when it may.
std::string RefusalReason(const DeviceRecord& device, const SetChanges& changes,
                          const std::vector<DeviceRecord>& scanned, const CTextCodec& codec);

// Why a typed text cannot go to the device, naming its option.
std::string TextRefusalReason(const PanelTextRefusal& refusal);
