#include "core/wire/settings_fields.h"

#include <cstdlib>

const std::array<SettingField, 7> SETTING_FIELDS = {{
    {SETTING_NAME, SettingKind::Text, ITEM_NAME, ITEM_WIDTH_NAME, &PanelValues::name, false},
    {SETTING_ACCOUNT, SettingKind::Text, ITEM_PPPOE_ACCOUNT, ITEM_WIDTH_PPPOE_ACCOUNT,
     &PanelValues::pppoeAccount, false},
    {SETTING_PASSWORD, SettingKind::Text, ITEM_PPPOE_PASSWORD, ITEM_WIDTH_PPPOE_PASSWORD,
     &PanelValues::pppoePassword, true},
    {SETTING_IP, SettingKind::Address, ITEM_IP, ITEM_WIDTH_ADDRESS, &PanelValues::ip, false},
    {SETTING_NETMASK, SettingKind::Address, ITEM_NETMASK, ITEM_WIDTH_ADDRESS, &PanelValues::netmask,
     false},
    {SETTING_GATEWAY, SettingKind::Address, ITEM_GATEWAY, ITEM_WIDTH_ADDRESS, &PanelValues::gateway,
     false},
    {SETTING_HTTP_PORT, SettingKind::Port, ITEM_HTTP_PORT, ITEM_WIDTH_HTTP_PORT,
     &PanelValues::httpPort, false},
}};

const SettingField& FieldOf(unsigned setting) {
    for (const SettingField& field : SETTING_FIELDS) {
        if (field.setting == setting) {
            return field;
        }
    }
    return SETTING_FIELDS.front(); // not reached for the settings listed
}

std::string StoredText(const SettingField& field, const DeviceRecord& record) {
    switch (field.item) {
    case ITEM_NAME:
        return FieldText(record.name);
    case ITEM_PPPOE_ACCOUNT:
        return FieldText(record.pppoeAccount);
    case ITEM_PPPOE_PASSWORD:
        return FieldText(record.pppoePassword);
    case ITEM_IP:
        return FieldText(record.ip);
    case ITEM_NETMASK:
        return FieldText(record.netmask);
    case ITEM_GATEWAY:
        return FieldText(record.gateway);
    default:
        return std::to_string(record.httpPort);
    }
}

long PortNumber(std::string_view text) {
    const std::string digits(text); // strtol needs the zero at the end
    return std::strtol(digits.c_str(), nullptr, 10);
}

bool ChangesSetting(const SettingField& field, const PanelValues& values,
                    const DeviceRecord& record) {
    const std::string& typed = values.*field.typed;
    if (field.kind == SettingKind::Port) {
        return PortNumber(typed) != record.httpPort;
    }
    return TextDiffers(typed, StoredText(field, record));
}
