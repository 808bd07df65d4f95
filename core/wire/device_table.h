#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One device's reported settings. Texts are fixed-width byte fields, as on the wire:
// a text ends at its first zero byte or at the field's width.
struct DeviceRecord {
    int32_t id;       // slot index + 1; 0 marks an empty slot
    int32_t readOnly; // 1 when the device reported ITEM_READ_ONLY 00 01
    char name[17];    // 16 characters and a zero byte that is always there
    char version[16];
    uint8_t mac[6];
    char ip[16];
    char netmask[16];
    char gateway[16];
    int32_t httpPort;
    uint8_t netMode[4]; // PPPoE pair, DHCP pair; 0xFF means off
    char pppoeAccount[64];
    char pppoePassword[16];
};

constexpr int DEVICE_TABLE_SLOTS = 255;
constexpr int MERGE_DROPPED = -1;
constexpr std::size_t MAC_TEXT_LENGTH = 12;

struct DeviceTable {
    DeviceRecord slot[DEVICE_TABLE_SLOTS];
};

// The text of a fixed-width field, bounded by the width.
std::string FieldText(const char* field, std::size_t width);
template <std::size_t N> std::string FieldText(const char (&field)[N]) {
    return FieldText(field, N);
}

// Copies text into a fixed-width field: cut to the width, zero-padded.
void SetFieldText(char* field, std::size_t width, std::string_view text);
template <std::size_t N> void SetFieldText(char (&field)[N], std::string_view text) {
    SetFieldText(field, N, text);
}

void ClearTable(DeviceTable& table);
int CountOccupied(const DeviceTable& table);

// Puts a parsed record into the table by its MAC: a known device keeps its slot, a new
// one takes the highest-numbered free slot. Returns the slot written, or MERGE_DROPPED
// when the table is full.
int MergeRecord(DeviceTable& table, const DeviceRecord& record);

// Whether two devices answered with one IP (an address conflict); an empty IP is none.
bool SameIp(const DeviceRecord& a, const DeviceRecord& b);
// The others among devices that answered with the IP of devices[index], by their index.
std::vector<std::size_t> SameIpAs(const std::vector<DeviceRecord>& devices, std::size_t index);

// Twelve lower-case hexadecimal digits, first byte first.
std::string MacToText(const uint8_t mac[6]);

// Accepts exactly twelve hexadecimal digits (either case); anything else is refused
// and leaves mac untouched.
bool TextToMac(std::string_view text, uint8_t mac[6]);

// The MAC as a user may type it, in the MAC text above: twelve hexadecimal digits of either
// case, bare or in the usual groups (00:12:34:00:00:01, 00-12-34-00-00-01, 0012.3400.0001).
// Nothing for any other text, mixed separators included.
std::optional<std::string> ReadMacText(std::string_view typed);

// "00:1a:2b:3c:4d:5e": the form a spreadsheet keeps as text (twelve digits may read as a
// number there and lose their zeros).
std::string MacToColonText(const uint8_t mac[6]);
