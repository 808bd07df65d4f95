#include "core/present/setting_changes.h"

#include "core/encoding/text_escape.h"
#include "core/wire/discovery_datagram.h"
#include "core/wire/settings_fields.h"

namespace {

// A setting's value in a record as the outputs of a scan write it, escaped for a terminal.
std::string ShownSetting(const SettingField& field, const DeviceRecord& record,
                         const CTextCodec& codec) {
    const std::string stored = StoredText(field, record);
    return field.kind == SettingKind::Text ? EscapeControls(codec.Shown(stored, field.width))
                                           : stored;
}

} // namespace

std::vector<SettingChange> SettingChanges(const DeviceRecord& before, const DeviceRecord& after,
                                          const FormatOptions& options) {
    std::vector<SettingChange> changes;
    for (const SettingField& field : SETTINGS) {
        std::string from = ShownSetting(field, before, options.codec);
        std::string to = ShownSetting(field, after, options.codec);
        if (!field.secret) {
            if (from != to) {
                changes.push_back({field.key, std::move(from), std::move(to)});
            }
            continue;
        }
        // Compared as bytes: two secrets may read the same and still differ.
        if (StoredText(field, before) != StoredText(field, after)) {
            const bool shown = options.showPasswords;
            changes.push_back({field.key, shown ? std::move(from) : SETTING_HIDDEN,
                               shown ? std::move(to) : SETTING_HIDDEN});
        }
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
