#include "core/wire/discovery_datagram.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/wire/settings_fields.h"
#include "core/wire/subnet.h"

uint8_t* AppendItem(uint8_t* cursor, uint8_t type, uint8_t width, const void* value) {
    cursor[0] = type;
    cursor[1] = width;
    if (value != nullptr) {
        std::memcpy(cursor + 2, value, width);
    } else {
        std::memset(cursor + 2, 0, width);
    }
    return cursor + 2 + width;
}

static uint8_t* StartDatagram(DiscoveryDatagram& datagram) {
    std::memset(datagram.bytes, 0, sizeof datagram.bytes);
    std::memcpy(datagram.bytes, DISCOVERY_MAGIC, DISCOVERY_MAGIC_LENGTH);
    return datagram.bytes + DISCOVERY_MAGIC_LENGTH;
}

void BuildQueryRequest(DiscoveryDatagram& datagram) {
    uint8_t* cursor = StartDatagram(datagram);
    cursor = AppendItem(cursor, ITEM_NAME, ITEM_WIDTH_NAME);
    cursor = AppendItem(cursor, ITEM_MAC, ITEM_WIDTH_MAC);
    cursor = AppendItem(cursor, ITEM_VERSION, ITEM_WIDTH_VERSION);
    cursor = AppendItem(cursor, ITEM_IP, ITEM_WIDTH_ADDRESS);
    cursor = AppendItem(cursor, ITEM_NETMASK, ITEM_WIDTH_ADDRESS);
    cursor = AppendItem(cursor, ITEM_GATEWAY, ITEM_WIDTH_ADDRESS);
    cursor = AppendItem(cursor, ITEM_HTTP_PORT, ITEM_WIDTH_HTTP_PORT);
    cursor = AppendItem(cursor, ITEM_NET_MODE, ITEM_WIDTH_NET_MODE);
    cursor = AppendItem(cursor, ITEM_READ_ONLY, ITEM_WIDTH_READ_ONLY);
    cursor = AppendItem(cursor, ITEM_PPPOE_ACCOUNT, ITEM_WIDTH_PPPOE_ACCOUNT);
    AppendItem(cursor, ITEM_PPPOE_PASSWORD, ITEM_WIDTH_PPPOE_PASSWORD);
}

bool TextDiffers(std::string_view a, std::string_view b) {
    return a.size() != b.size() || a.compare(b) != 0; // compare() copes with empty views
}

// A text item: the characters, cut to the width, zero-padded.
static uint8_t* AppendText(uint8_t* cursor, uint8_t type, uint8_t width, std::string_view text) {
    char value[UINT8_MAX] = {};
    if (!text.empty()) {
        std::memcpy(value, text.data(), std::min<std::size_t>(width, text.size()));
    }
    return AppendItem(cursor, type, width, value);
}

// The address in network order. Text that is no dotted quad goes out as 255.255.255.255;
// the front ends refuse it before it gets here.
static uint8_t* AppendAddress(uint8_t* cursor, uint8_t type, const std::string& text) {
    const uint32_t address = ParseIpv4(text).value_or(0xFFFFFFFFu);
    const uint8_t bytes[ITEM_WIDTH_ADDRESS] = {
        static_cast<uint8_t>(address >> 24), static_cast<uint8_t>(address >> 16),
        static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address)};
    return AppendItem(cursor, type, ITEM_WIDTH_ADDRESS, bytes);
}

const DeviceRecord* FindSetTarget(const DeviceTable& table, const std::string& mac) {
    for (const DeviceRecord& slot : table.slot) {
        if (!TextDiffers(MacToText(slot.mac), mac)) {
            return &slot;
        }
    }
    return nullptr;
}

// One setting's item, as the camera takes it.
static uint8_t* AppendSetting(uint8_t* cursor, const SettingField& field,
                              const ChangeValues& values) {
    switch (field.kind) {
    case SettingKind::Mac: {
        uint8_t mac[ITEM_WIDTH_MAC];
        TextToMac(*values.newMac, mac);
        return AppendItem(cursor, field.item, field.width, mac);
    }
    case SettingKind::Mode: {
        uint8_t mode[ITEM_WIDTH_NET_MODE];
        RequestModeBytes(values, mode);
        return AppendItem(cursor, field.item, field.width, mode);
    }
    case SettingKind::Address:
        return AppendAddress(cursor, field.item, values.*field.typed);
    case SettingKind::Text:
    case SettingKind::Port:
        break;
    }
    return AppendText(cursor, field.item, field.width, values.*field.typed);
}

void BuildSetRequest(DiscoveryDatagram& datagram, const DeviceTable& table,
                     const ChangeValues& values) {
    uint8_t* cursor = StartDatagram(datagram);
    const DeviceRecord* target = FindSetTarget(table, values.mac);
    if (target == nullptr) {
        return;
    }
    // The caption came from the table, so it converts; the target's bytes are the same.
    cursor = AppendItem(cursor, ITEM_MAC, ITEM_WIDTH_MAC, target->mac);
    // Grouped by kind, in the table's order within each; the mode always travels, every
    // other setting only when it changes.
    for (const SettingKind kind : {SettingKind::Mac, SettingKind::Text, SettingKind::Address,
                                   SettingKind::Port, SettingKind::Mode}) {
        for (const SettingField& field : SETTINGS) {
            if (field.kind == kind &&
                (kind == SettingKind::Mode || ChangesSetting(field, values, *target))) {
                cursor = AppendSetting(cursor, field, values);
            }
        }
    }
}

void RequestModeBytes(const ChangeValues& values, uint8_t mode[ITEM_WIDTH_NET_MODE]) {
    mode[0] = values.mode == NetMode::Pppoe ? NET_MODE_ON : NET_MODE_OFF;
    mode[1] = NET_MODE_OFF;
    mode[2] = values.mode == NetMode::Dhcp ? NET_MODE_ON : NET_MODE_OFF;
    mode[3] = NET_MODE_OFF;
}

static void StoreAddress(char (&field)[16], const uint8_t* value) {
    std::snprintf(field, sizeof field, "%u.%u.%u.%u", value[0], value[1], value[2], value[3]);
}

// Stores one item's fixed-width value; the caller has checked that it lies within the
// received bytes.
static void StoreItem(DeviceRecord& record, uint8_t type, const uint8_t* value) {
    switch (type) {
    case ITEM_MAC:
        std::memcpy(record.mac, value, sizeof record.mac);
        break;
    case ITEM_IP:
        StoreAddress(record.ip, value);
        break;
    case ITEM_NETMASK:
        StoreAddress(record.netmask, value);
        break;
    case ITEM_GATEWAY:
        StoreAddress(record.gateway, value);
        break;
    case ITEM_HTTP_PORT:
        record.httpPort = value[0] | value[1] << 8;
        break;
    case ITEM_NET_MODE:
        std::memcpy(record.netMode, value, sizeof record.netMode);
        break;
    case ITEM_NAME:
        std::memcpy(record.name, value, ITEM_WIDTH_NAME); // the 17th byte stays zero
        break;
    case ITEM_VERSION:
        std::memcpy(record.version, value, sizeof record.version);
        break;
    case ITEM_PPPOE_ACCOUNT:
        std::memcpy(record.pppoeAccount, value, sizeof record.pppoeAccount);
        break;
    case ITEM_PPPOE_PASSWORD:
        std::memcpy(record.pppoePassword, value, sizeof record.pppoePassword);
        break;
    case ITEM_READ_ONLY:
        if (value[0] == 0x00 && value[1] == 0x01) {
            record.readOnly = 1; // a later item can set it, never clear it
        }
        break;
    default:
        break;
    }
}

// How many value bytes a reply item of this type is read with (0: not stored).
static std::size_t ReadWidth(uint8_t type) {
    switch (type) {
    case ITEM_MAC:
        return ITEM_WIDTH_MAC;
    case ITEM_IP:
    case ITEM_NETMASK:
    case ITEM_GATEWAY:
        return ITEM_WIDTH_ADDRESS;
    case ITEM_HTTP_PORT:
        return 2; // a reply carries the port as a little-endian number
    case ITEM_NET_MODE:
        return ITEM_WIDTH_NET_MODE;
    case ITEM_NAME:
        return ITEM_WIDTH_NAME;
    case ITEM_VERSION:
        return ITEM_WIDTH_VERSION;
    case ITEM_PPPOE_ACCOUNT:
        return ITEM_WIDTH_PPPOE_ACCOUNT;
    case ITEM_PPPOE_PASSWORD:
        return ITEM_WIDTH_PPPOE_PASSWORD;
    case ITEM_READ_ONLY:
        return ITEM_WIDTH_READ_ONLY;
    default:
        return 0;
    }
}

bool ParseReply(const uint8_t* bytes, std::size_t length, DeviceRecord& record) {
    if (length < DISCOVERY_MAGIC_LENGTH ||
        std::memcmp(bytes, DISCOVERY_MAGIC, DISCOVERY_MAGIC_LENGTH) != 0) {
        return false;
    }
    std::memset(&record, 0, sizeof record);
    std::size_t offset = DISCOVERY_MAGIC_LENGTH;
    while (offset < length) {
        const uint8_t type = bytes[offset];
        if (type == 0) {
            break;
        }
        // The value is read at its fixed width whatever the length byte says; a value
        // that would reach past the received bytes ends the items.
        const std::size_t width = ReadWidth(type);
        if (width > 0 && offset + 2 + width > length) {
            break;
        }
        if (width > 0) {
            StoreItem(record, type, bytes + offset + 2);
        }
        if (offset + 1 >= length) {
            break;
        }
        offset += 2 + std::size_t{bytes[offset + 1]}; // unsigned: always moves forward
    }
    return true;
}

std::size_t RequestContentLength(const DiscoveryDatagram& datagram) {
    std::size_t offset = DISCOVERY_MAGIC_LENGTH;
    while (offset + 1 < DISCOVERY_DATAGRAM_SIZE && datagram.bytes[offset] != 0) {
        offset += 2 + std::size_t{datagram.bytes[offset + 1]};
    }
    return std::min(offset, DISCOVERY_DATAGRAM_SIZE);
}
