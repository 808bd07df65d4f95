#include "core/wire/device_table.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

std::string FieldText(const char* field, std::size_t width) {
    return std::string(field, strnlen(field, width));
}

void SetFieldText(char* field, std::size_t width, std::string_view text) {
    std::memset(field, 0, width);
    if (!text.empty()) { // an empty view may carry no pointer at all
        std::memcpy(field, text.data(), std::min(width, text.size()));
    }
}

void ClearTable(DeviceTable& table) {
    std::memset(&table, 0, sizeof table);
}

int CountOccupied(const DeviceTable& table) {
    int count = 0;
    for (const DeviceRecord& record : table.slot) {
        if (record.id != 0) {
            ++count;
        }
    }
    return count;
}

int MergeRecord(DeviceTable& table, const DeviceRecord& record) {
    int target = MERGE_DROPPED;
    for (int i = 0; i < DEVICE_TABLE_SLOTS; ++i) {
        const DeviceRecord& slot = table.slot[i];
        if (slot.id == 0) {
            target = i; // a later free slot replaces an earlier one
        }
        if (std::memcmp(slot.mac, record.mac, sizeof record.mac) == 0) {
            target = i;
            break;
        }
    }
    if (target == MERGE_DROPPED) {
        return MERGE_DROPPED;
    }
    table.slot[target] = record;
    table.slot[target].id = target + 1;
    table.slot[target].name[sizeof record.name - 1] = '\0';
    return target;
}

std::string MacToText(const uint8_t mac[6]) {
    char text[MAC_TEXT_LENGTH + 1];
    std::snprintf(text, sizeof text, "%02x%02x%02x%02x%02x%02x", mac[0], mac[1], mac[2], mac[3],
                  mac[4], mac[5]);
    return text;
}

static int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool TextToMac(std::string_view text, uint8_t mac[6]) {
    if (text.size() != MAC_TEXT_LENGTH) {
        return false;
    }
    uint8_t bytes[6];
    for (std::size_t i = 0; i < 6; ++i) {
        const int high = HexDigit(text[2 * i]);
        const int low = HexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes[i] = static_cast<uint8_t>(high << 4 | low);
    }
    std::memcpy(mac, bytes, sizeof bytes);
    return true;
}

bool SameIp(const DeviceRecord& a, const DeviceRecord& b) {
    return a.ip[0] != '\0' && std::strncmp(a.ip, b.ip, sizeof a.ip) == 0;
}

std::vector<std::size_t> SameIpAs(const std::vector<DeviceRecord>& devices, std::size_t index) {
    std::vector<std::size_t> others;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        if (i != index && SameIp(devices[index], devices[i])) {
            others.push_back(i);
        }
    }
    return others;
}

std::optional<std::string> ReadMacText(std::string_view typed) {
    // Separators stand between groups of this many digits: none, pairs, or fours.
    const struct {
        char separator;
        std::size_t group;
    } forms[] = {{'\0', MAC_TEXT_LENGTH}, {':', 2}, {'-', 2}, {'.', 4}};
    for (const auto& form : forms) {
        const std::size_t groups = MAC_TEXT_LENGTH / form.group;
        if (typed.size() != MAC_TEXT_LENGTH + groups - 1) {
            continue;
        }
        std::string digits;
        bool fits = true;
        for (std::size_t i = 0; i < typed.size() && fits; ++i) {
            const bool separatorPlace = (i + 1) % (form.group + 1) == 0;
            fits = separatorPlace ? typed[i] == form.separator : HexDigit(typed[i]) >= 0;
            if (!separatorPlace) {
                digits += static_cast<char>(std::tolower(static_cast<unsigned char>(typed[i])));
            }
        }
        if (fits) {
            return digits;
        }
    }
    return std::nullopt;
}

std::string MacToColonText(const uint8_t mac[6]) {
    char text[3 * 6];
    std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
    return text;
}
