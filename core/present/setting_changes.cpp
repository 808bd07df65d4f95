#include "core/present/setting_changes.h"

#include "core/encoding/text_escape.h"
#include "core/wire/discovery_datagram.h"
#include "core/wire/net_mode.h"

namespace {

// A setting's value in a record as text, the way the outputs of a scan write it.
struct ShownSetting {
    const char* key;
    std::string (*value)(const DeviceRecord& record, const FormatOptions& options);
};

std::string EscapedText(const CTextCodec& codec, const std::string& field, std::size_t width) {
    return EscapeControls(codec.Shown(field, width));
}

const ShownSetting SHOWN_SETTINGS[] = {
    {"name",
     [](const DeviceRecord& d, const FormatOptions& o) {
         return EscapedText(o.codec, FieldText(d.name), ITEM_WIDTH_NAME);
     }},
    {"mac", [](const DeviceRecord& d, const FormatOptions&) { return MacToText(d.mac); }},
    {"ip", [](const DeviceRecord& d, const FormatOptions&) { return FieldText(d.ip); }},
    {"netmask", [](const DeviceRecord& d, const FormatOptions&) { return FieldText(d.netmask); }},
    {"gateway", [](const DeviceRecord& d, const FormatOptions&) { return FieldText(d.gateway); }},
    {"httpPort",
     [](const DeviceRecord& d, const FormatOptions&) { return std::to_string(d.httpPort); }},
    {"mode", [](const DeviceRecord& d,
                const FormatOptions&) { return std::string(ModeName(RecordMode(d.netMode))); }},
    {"pppoeAccount",
     [](const DeviceRecord& d, const FormatOptions& o) {
         return EscapedText(o.codec, FieldText(d.pppoeAccount), ITEM_WIDTH_PPPOE_ACCOUNT);
     }},
};

} // namespace

std::vector<SettingChange> SettingChanges(const DeviceRecord& before, const DeviceRecord& after,
                                          const FormatOptions& options) {
    std::vector<SettingChange> changes;
    for (const ShownSetting& setting : SHOWN_SETTINGS) {
        std::string from = setting.value(before, options);
        std::string to = setting.value(after, options);
        if (from != to) {
            changes.push_back({setting.key, std::move(from), std::move(to)});
        }
    }
    // Compared as bytes: two passwords may read the same and still differ.
    if (FieldText(before.pppoePassword) != FieldText(after.pppoePassword)) {
        const auto shown = [&](const DeviceRecord& d) {
            return options.showPasswords ? EscapedText(options.codec, FieldText(d.pppoePassword),
                                                       ITEM_WIDTH_PPPOE_PASSWORD)
                                         : std::string(SETTING_HIDDEN);
        };
        changes.push_back({"pppoePassword", shown(before), shown(after)});
    }
    return changes;
}

std::string ChangeText(const SettingChange& change) {
    return change.key + " " + change.from + " -> " + change.to;
}

std::string ChangesText(const std::vector<SettingChange>& changes) {
    std::string text;
    for (const SettingChange& change : changes) {
        text += (text.empty() ? "" : ", ") + ChangeText(change);
    }
    return text;
}

std::string ChangesJson(const std::vector<SettingChange>& changes) {
    std::string json;
    for (const SettingChange& change : changes) {
        json += (json.empty() ? "{" : ", ") + JsonString(change.key) +
                ": {\"from\": " + JsonString(change.from) + ", \"to\": " + JsonString(change.to) +
                "}";
    }
    return json.empty() ? "{}" : json + "}";
}
