#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/encoding/text_codec.h"
#include "core/messages/window_text.h"
#include "core/net/net_interfaces.h"
#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"
#include "core/wire/settings_fields.h"
#include "core/wire/subnet.h"

// The word the window and the console name a setting by (SETTING_*: the new MAC, the mode
// and the fields of SETTING_FIELDS).
const WindowText& FieldLabel(unsigned setting);

// What a set request built from values changes on target: the items BuildSetRequest writes
// beside the target's MAC, and the mode when it is another one than the camera's. The mode
// item itself always travels, so a request that changes nothing still rewrites odd mode
// bytes: such a request is not worth sending.
unsigned ChangedSettings(const DeviceRecord& target, const ChangeValues& values);

// A risk of a change, sent only once the user accepted it: its kind (the pattern of its
// sentence, APPLY_TEXT_*), the setting it is about (SETTING_*) and the sentence.
struct SettingsRisk {
    const WindowText* kind = nullptr;
    unsigned setting = 0;
    std::string sentence;
};

struct SettingsVerdict {
    std::string refusal;                // names the field and says why; empty when none
    unsigned refusedSetting = 0;        // SETTING_*: the field the refusal names
    bool nothingChanged = false;        // the request would change nothing
    std::vector<SettingsRisk> warnings; // risks, one sentence each: send only when confirmed
};

// Checks a change before it goes to the camera values.mac names in the table.
// Only what the change touches is looked at, so a camera whose stored settings are odd can
// still be renamed. The other cameras of the table count for a clash of IPs and of a new
// MAC; the local
// networks say which IPs are this PC's and which subnets the finder can see. The sentences
// come through `tr`, in the front end's language; another camera is named as `codec` reads
// its name.
SettingsVerdict CheckSettingsChange(const DeviceTable& table, const ChangeValues& values,
                                    const std::vector<LocalNetwork>& localNetworks,
                                    const TextLookup& tr = EnglishText,
                                    const CTextCodec& codec = CTextCodec());
