#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"

// The settings a set request changes on its camera, one bit each.
constexpr unsigned SETTING_NEW_MAC = 1u << 0;
constexpr unsigned SETTING_NAME = 1u << 1;
constexpr unsigned SETTING_ACCOUNT = 1u << 2;
constexpr unsigned SETTING_PASSWORD = 1u << 3;
constexpr unsigned SETTING_IP = 1u << 4;
constexpr unsigned SETTING_NETMASK = 1u << 5;
constexpr unsigned SETTING_GATEWAY = 1u << 6;
constexpr unsigned SETTING_HTTP_PORT = 1u << 7;
constexpr unsigned SETTING_MODE = 1u << 8;
constexpr unsigned SETTING_ADDRESSES = SETTING_IP | SETTING_NETMASK | SETTING_GATEWAY;

// How a setting travels: a camera text (its bytes, in the camera's encoding), a dotted
// quad (four bytes), or the HTTP port (its digits as text).
enum class SettingKind { Text, Address, Port };

// One setting a user edits and a set request carries beside the MAC: the one description
// the request, the checks, the text encoding and the confirmation all walk.
struct SettingField {
    unsigned setting; // SETTING_*
    SettingKind kind;
    uint8_t item;                     // ITEM_*
    uint8_t width;                    // ITEM_WIDTH_*
    std::string ChangeValues::*typed; // as the user gave it
    bool secret;                      // never written out, not even to say it differs
};

// In the order a set request carries them.
extern const std::array<SettingField, 7> SETTING_FIELDS;

// The field of a setting bit; every SETTING_* but the new MAC and the mode has one.
const SettingField& FieldOf(unsigned setting);

// The setting as the camera reported it, as text: its bytes, its dotted quad, its port.
std::string StoredText(const SettingField& field, const DeviceRecord& record);
// Where the record keeps a text or address setting (not the port).
std::span<char> StoredBytes(const SettingField& field, DeviceRecord& record);

// The port a text names as the request compares it: the number at its start (0 without
// digits), a run of digits too long for a long reading as LONG_MAX.
long PortNumber(std::string_view text);

// Whether values would change the setting on record: camera texts and addresses byte for
// byte, the port by its number.
bool ChangesSetting(const SettingField& field, const ChangeValues& values,
                    const DeviceRecord& record);
