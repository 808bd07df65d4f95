#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/wire/device_table.h"
#include "core/wire/net_mode.h"

// Every request is one 256-byte datagram: the magic "RZ880", then type-length-value items,
// then zeros. Replies have the same form and any length.
constexpr std::size_t DISCOVERY_DATAGRAM_SIZE = 256;
constexpr char DISCOVERY_MAGIC[] = "RZ880";
constexpr std::size_t DISCOVERY_MAGIC_LENGTH = 5;

constexpr uint8_t ITEM_MAC = 0x10;
constexpr uint8_t ITEM_IP = 0x11;
constexpr uint8_t ITEM_NETMASK = 0x12;
constexpr uint8_t ITEM_GATEWAY = 0x13;
constexpr uint8_t ITEM_HTTP_PORT = 0x14;
constexpr uint8_t ITEM_NET_MODE = 0x1F;
constexpr uint8_t ITEM_NAME = 0x20;
constexpr uint8_t ITEM_VERSION = 0x21;
constexpr uint8_t ITEM_PPPOE_ACCOUNT = 0x22;
constexpr uint8_t ITEM_PPPOE_PASSWORD = 0x23;
constexpr uint8_t ITEM_READ_ONLY = 0x30;

// Value widths of the items as they are sent.
constexpr uint8_t ITEM_WIDTH_MAC = 6;
constexpr uint8_t ITEM_WIDTH_ADDRESS = 4;
constexpr uint8_t ITEM_WIDTH_HTTP_PORT = 5;
constexpr uint8_t ITEM_WIDTH_NET_MODE = 4;
constexpr uint8_t ITEM_WIDTH_NAME = 16;
constexpr uint8_t ITEM_WIDTH_VERSION = 16;
constexpr uint8_t ITEM_WIDTH_PPPOE_ACCOUNT = 64;
constexpr uint8_t ITEM_WIDTH_PPPOE_PASSWORD = 16;
constexpr uint8_t ITEM_WIDTH_READ_ONLY = 2;

constexpr uint8_t NET_MODE_ON = 0x01;
constexpr uint8_t NET_MODE_OFF = 0xFF;

struct DiscoveryDatagram {
    uint8_t bytes[DISCOVERY_DATAGRAM_SIZE];
};

// The values of one change, as a set request is built from them: the camera's settings as
// a user gave them, in text, and the mode it is to take.
struct ChangeValues {
    std::string mac;                   // the camera that is to take the settings
    std::optional<std::string> newMac; // only while the MAC-change field is shown
    std::string name;
    std::string pppoeAccount;
    std::string pppoePassword;
    std::string ip;
    std::string netmask;
    std::string gateway;
    std::string httpPort;
    NetMode mode = NetMode::Static;
};

// Writes type, width and width value bytes (zeros without a value); returns the cursor
// after the item.
uint8_t* AppendItem(uint8_t* cursor, uint8_t type, uint8_t width, const void* value = nullptr);

void BuildQueryRequest(DiscoveryDatagram& datagram);

// The slot a set request is for: the first, counting from 0, whose MAC text is mac
// (empty slots take part too); none when no slot has it.
const DeviceRecord* FindSetTarget(const DeviceTable& table, const std::string& mac);

// The set request for the device named by values.mac, carrying only the settings
// that differ from its slot; the bare magic when no slot has that MAC.
void BuildSetRequest(DiscoveryDatagram& datagram, const DeviceTable& table,
                     const ChangeValues& values);
// The mode bytes a set request carries, always: each radio's pair on or off.
void RequestModeBytes(const ChangeValues& values, uint8_t mode[ITEM_WIDTH_NET_MODE]);

// Differs by length first, then byte by byte, case-sensitive.
bool TextDiffers(std::string_view a, std::string_view b);

// Fills record from a reply; false (record untouched) when the datagram does not start
// with the magic. Never reads beyond length bytes.
bool ParseReply(const uint8_t* bytes, std::size_t length, DeviceRecord& record);

// The number of content bytes of a request: up to the end of its last item.
std::size_t RequestContentLength(const DiscoveryDatagram& datagram);
