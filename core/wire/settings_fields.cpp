#include "core/wire/settings_fields.h"

#include <cstdlib>
#include <cstring>

#include "core/wire/net_mode.h"

namespace {

constexpr RecordBytes NOT_STORED{0, 0};

// In the order of `scan --json`. The window's words (TEXT_FIELD_*) live with the other
// texts; the table names them by id.
constexpr SettingField SETTING_TABLE[] = {
    {SETTING_NAME,
     SettingKind::Text,
     "name",
     "--name",
     "field_name",
     ITEM_NAME,
     ITEM_WIDTH_NAME,
     &ChangeValues::name,
     {offsetof(DeviceRecord, name), ITEM_WIDTH_NAME},
     false}, // 17th: 0
    {SETTING_NEW_MAC, SettingKind::Mac, "mac", "--new-mac", "field_mac", ITEM_MAC, ITEM_WIDTH_MAC,
     nullptr, NOT_STORED, false},
    {SETTING_IP,
     SettingKind::Address,
     "ip",
     "--ip",
     "field_ip",
     ITEM_IP,
     ITEM_WIDTH_ADDRESS,
     &ChangeValues::ip,
     {offsetof(DeviceRecord, ip), sizeof DeviceRecord::ip},
     false},
    {SETTING_NETMASK,
     SettingKind::Address,
     "netmask",
     "--netmask",
     "field_netmask",
     ITEM_NETMASK,
     ITEM_WIDTH_ADDRESS,
     &ChangeValues::netmask,
     {offsetof(DeviceRecord, netmask), sizeof DeviceRecord::netmask},
     false},
    {SETTING_GATEWAY,
     SettingKind::Address,
     "gateway",
     "--gateway",
     "field_gateway",
     ITEM_GATEWAY,
     ITEM_WIDTH_ADDRESS,
     &ChangeValues::gateway,
     {offsetof(DeviceRecord, gateway), sizeof DeviceRecord::gateway},
     false},
    {SETTING_HTTP_PORT, SettingKind::Port, "httpPort", "--http-port", "field_http_port",
     ITEM_HTTP_PORT, ITEM_WIDTH_HTTP_PORT, &ChangeValues::httpPort, NOT_STORED, false},
    {SETTING_MODE, SettingKind::Mode, "mode", "--mode", "field_mode", ITEM_NET_MODE,
     ITEM_WIDTH_NET_MODE, nullptr, NOT_STORED, false},
    {SETTING_ACCOUNT,
     SettingKind::Text,
     "pppoeAccount",
     "--pppoe-account",
     "field_account",
     ITEM_PPPOE_ACCOUNT,
     ITEM_WIDTH_PPPOE_ACCOUNT,
     &ChangeValues::pppoeAccount,
     {offsetof(DeviceRecord, pppoeAccount), sizeof DeviceRecord::pppoeAccount},
     false},
    {SETTING_PASSWORD,
     SettingKind::Text,
     "pppoePassword",
     "--pppoe-password",
     "field_password",
     ITEM_PPPOE_PASSWORD,
     ITEM_WIDTH_PPPOE_PASSWORD,
     &ChangeValues::pppoePassword,
     {offsetof(DeviceRecord, pppoePassword), sizeof DeviceRecord::pppoePassword},
     true},
};

constexpr std::size_t TypedCount() {
    std::size_t count = 0;
    for (const SettingField& field : SETTING_TABLE) {
        count += field.typed != nullptr ? 1 : 0;
    }
    return count;
}

// The typed settings in the table's order.
constexpr std::array<SettingField, TypedCount()> TypedFields() {
    std::array<SettingField, TypedCount()> fields{};
    std::size_t next = 0;
    for (const SettingField& field : SETTING_TABLE) {
        if (field.typed != nullptr) {
            fields[next++] = field;
        }
    }
    return fields;
}

constexpr std::array<SettingField, TypedCount()> TYPED_FIELDS = TypedFields();

} // namespace

constinit const std::span<const SettingField> SETTINGS(SETTING_TABLE);
constinit const std::span<const SettingField> SETTING_FIELDS(TYPED_FIELDS);

const SettingField& FieldOf(unsigned setting) {
    for (const SettingField& field : SETTINGS) {
        if (field.setting == setting) {
            return field;
        }
    }
    return SETTINGS.front(); // not reached for the settings listed
}

std::span<char> StoredBytes(const SettingField& field, DeviceRecord& record) {
    return {reinterpret_cast<char*>(&record) + field.stored.offset, field.stored.length};
}

static std::span<const char> StoredBytes(const SettingField& field, const DeviceRecord& record) {
    return {reinterpret_cast<const char*>(&record) + field.stored.offset, field.stored.length};
}

std::string StoredText(const SettingField& field, const DeviceRecord& record) {
    switch (field.kind) {
    case SettingKind::Port:
        return std::to_string(record.httpPort);
    case SettingKind::Mac:
        return MacToText(record.mac);
    case SettingKind::Mode:
        return ModeName(RecordMode(record.netMode));
    case SettingKind::Text:
    case SettingKind::Address:
        break;
    }
    const std::span<const char> bytes = StoredBytes(field, record);
    return FieldText(bytes.data(), bytes.size());
}

long PortNumber(std::string_view text) {
    const std::string digits(text); // strtol needs the zero at the end
    return std::strtol(digits.c_str(), nullptr, 10);
}

std::string SentText(const SettingField& field, const ChangeValues& values) {
    switch (field.kind) {
    case SettingKind::Port:
        return std::to_string(PortNumber(values.*field.typed));
    case SettingKind::Mac: {
        uint8_t mac[ITEM_WIDTH_MAC];
        return values.newMac && TextToMac(*values.newMac, mac) ? MacToText(mac) : "";
    }
    case SettingKind::Mode:
        return ModeName(values.mode);
    case SettingKind::Text:
    case SettingKind::Address:
        break;
    }
    return values.*field.typed;
}

bool ChangesSetting(const SettingField& field, const ChangeValues& values,
                    const DeviceRecord& record) {
    switch (field.kind) {
    case SettingKind::Mac: {
        // Upper-case digits name the same address; text that is no MAC changes nothing.
        uint8_t mac[ITEM_WIDTH_MAC];
        return values.newMac && TextToMac(*values.newMac, mac) &&
               std::memcmp(mac, record.mac, sizeof mac) != 0;
    }
    case SettingKind::Mode:
        return values.mode != RecordMode(record.netMode);
    case SettingKind::Port:
        return PortNumber(values.*field.typed) != record.httpPort;
    case SettingKind::Text:
    case SettingKind::Address:
        break;
    }
    return TextDiffers(values.*field.typed, StoredText(field, record));
}

// The mode by its bytes, not by a reading of them: two cameras may read alike and differ.
bool SameSettings(const DeviceRecord& a, const DeviceRecord& b) {
    for (const SettingField& field : SETTINGS) {
        const bool same = field.kind == SettingKind::Mode
                              ? std::memcmp(a.netMode, b.netMode, sizeof a.netMode) == 0
                              : StoredText(field, a) == StoredText(field, b);
        if (!same) {
            return false;
        }
    }
    return FieldText(a.version) == FieldText(b.version) && a.readOnly == b.readOnly;
}
