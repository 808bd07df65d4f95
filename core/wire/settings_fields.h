#pragma once

#include <cstddef>
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

// How a setting travels: a MAC (six bytes), a camera text (its bytes, in the camera's
// encoding), a dotted quad (four bytes), the HTTP port (its digits as text) or the mode (four
// bytes, always sent). A set request carries them in this order of kinds.
enum class SettingKind { Mac, Text, Address, Port, Mode };

// Where a record keeps a text or address setting: length bytes from offset.
struct RecordBytes {
    std::size_t offset;
    std::size_t length;
};

// One setting a set request carries beside the camera's MAC: the one description that the
// request, the checks, the confirmation and every output walk. A setting a user types as
// text (SETTING_FIELDS) has typed and, unless it is the port, stored; the new MAC and the
// mode have neither (ChangeValues::newMac, ChangeValues::mode).
struct SettingField {
    unsigned setting; // SETTING_*
    SettingKind kind;
    const char* key;    // its key in `scan --json`, its column in `scan --csv` and plan files,
                        // its name in a list of changes
    const char* option; // the option of `finder-cli set` that gives it
    const char* label;  // the id of the word the window and the console name it by
    uint8_t item;       // ITEM_*
    uint8_t width;      // ITEM_WIDTH_*
    std::string ChangeValues::*typed; // as the user gave it
    RecordBytes stored;
    bool secret; // never written out unless asked for, not even to say it differs
};

// Every setting, in the order of `scan --json`.
extern const std::span<const SettingField> SETTINGS;
// The settings a user types as text: all but the new MAC and the mode.
extern const std::span<const SettingField> SETTING_FIELDS;

// The setting as a set request built from values carries it, as StoredText reads it back:
// the typed text, the port by its number, the new MAC in lower case, the mode by its name.
std::string SentText(const SettingField& field, const ChangeValues& values);

// The row of a setting bit (SETTING_*; not SETTING_ADDRESSES).
const SettingField& FieldOf(unsigned setting);

// The setting as the camera reported it, as text: its bytes, its dotted quad, its port, its
// MAC (twelve digits) or its mode by the radios' reading.
std::string StoredText(const SettingField& field, const DeviceRecord& record);
// Where the record keeps a text or address setting (not the port).
std::span<char> StoredBytes(const SettingField& field, DeviceRecord& record);

// The port a text names as the request compares it: the number at its start (0 without
// digits), a run of digits too long for a long reading as LONG_MAX.
long PortNumber(std::string_view text);

// Whether values would change the setting on record: camera texts and addresses byte for
// byte, the port by its number, a new MAC by the address it names (no MAC: none), the mode
// by the radios' reading.
bool ChangesSetting(const SettingField& field, const ChangeValues& values,
                    const DeviceRecord& record);

// Whether two records hold the same settings and firmware, byte for byte.
bool SameSettings(const DeviceRecord& a, const DeviceRecord& b);
