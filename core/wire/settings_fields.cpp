#include "core/wire/settings_fields.h"

#include <cstdlib>
#include <span>

const std::array<SettingField, 7> SETTING_FIELDS = {{
    {SETTING_NAME, SettingKind::Text, ITEM_NAME, ITEM_WIDTH_NAME, &ChangeValues::name, false},
    {SETTING_ACCOUNT, SettingKind::Text, ITEM_PPPOE_ACCOUNT, ITEM_WIDTH_PPPOE_ACCOUNT,
     &ChangeValues::pppoeAccount, false},
    {SETTING_PASSWORD, SettingKind::Text, ITEM_PPPOE_PASSWORD, ITEM_WIDTH_PPPOE_PASSWORD,
     &ChangeValues::pppoePassword, true},
    {SETTING_IP, SettingKind::Address, ITEM_IP, ITEM_WIDTH_ADDRESS, &ChangeValues::ip, false},
    {SETTING_NETMASK, SettingKind::Address, ITEM_NETMASK, ITEM_WIDTH_ADDRESS,
     &ChangeValues::netmask, false},
    {SETTING_GATEWAY, SettingKind::Address, ITEM_GATEWAY, ITEM_WIDTH_ADDRESS,
     &ChangeValues::gateway, false},
    {SETTING_HTTP_PORT, SettingKind::Port, ITEM_HTTP_PORT, ITEM_WIDTH_HTTP_PORT,
     &ChangeValues::httpPort, false},
}};

const SettingField& FieldOf(unsigned setting) {
    for (const SettingField& field : SETTING_FIELDS) {
        if (field.setting == setting) {
            return field;
        }
    }
    return SETTING_FIELDS.front(); // not reached for the settings listed
}

namespace {

// The record's bytes of a text or address setting, const or not.
template <typename Char, typename Record>
std::span<Char> FieldBytes(const SettingField& field, Record& record) {
    switch (field.item) {
    case ITEM_NAME:
        return {record.name, sizeof record.name - 1}; // the 17th byte stays zero
    case ITEM_PPPOE_ACCOUNT:
        return {record.pppoeAccount, sizeof record.pppoeAccount};
    case ITEM_PPPOE_PASSWORD:
        return {record.pppoePassword, sizeof record.pppoePassword};
    case ITEM_IP:
        return {record.ip, sizeof record.ip};
    case ITEM_NETMASK:
        return {record.netmask, sizeof record.netmask};
    default:
        return {record.gateway, sizeof record.gateway};
    }
}

} // namespace

std::span<char> StoredBytes(const SettingField& field, DeviceRecord& record) {
    return FieldBytes<char>(field, record);
}

std::string StoredText(const SettingField& field, const DeviceRecord& record) {
    if (field.kind == SettingKind::Port) {
        return std::to_string(record.httpPort);
    }
    const std::span<const char> bytes = FieldBytes<const char>(field, record);
    return FieldText(bytes.data(), bytes.size());
}

long PortNumber(std::string_view text) {
    const std::string digits(text); // strtol needs the zero at the end
    return std::strtol(digits.c_str(), nullptr, 10);
}

bool ChangesSetting(const SettingField& field, const ChangeValues& values,
                    const DeviceRecord& record) {
    const std::string& typed = values.*field.typed;
    if (field.kind == SettingKind::Port) {
        return PortNumber(typed) != record.httpPort;
    }
    return TextDiffers(typed, StoredText(field, record));
}
