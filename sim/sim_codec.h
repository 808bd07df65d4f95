#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/sim_device.h"

// The camera's side of the discovery protocol, written apart from the finder's codec:
// a datagram is the magic "RZ880" followed by type-length-value items.
namespace sim {

constexpr uint8_t TYPE_MAC = 0x10;
constexpr uint8_t TYPE_IP = 0x11;
constexpr uint8_t TYPE_NETMASK = 0x12;
constexpr uint8_t TYPE_GATEWAY = 0x13;
constexpr uint8_t TYPE_HTTP_PORT = 0x14;
constexpr uint8_t TYPE_NET_MODE = 0x1F;
constexpr uint8_t TYPE_NAME = 0x20;
constexpr uint8_t TYPE_VERSION = 0x21;
constexpr uint8_t TYPE_PPPOE_ACCOUNT = 0x22;
constexpr uint8_t TYPE_PPPOE_PASSWORD = 0x23;
constexpr uint8_t TYPE_READ_ONLY = 0x30;
constexpr std::size_t REQUEST_SIZE = 256;

// A query is a 256-byte request whose first item asks for the name.
bool IsQuery(const uint8_t* bytes, std::size_t length);

// The reply a camera sends for a query: every item, texts zero-padded to their widths,
// the HTTP port as 2 bytes least significant first.
std::vector<uint8_t> EncodeReply(const SimDevice& device);

enum class SetOutcome {
    NotSetRequest, // no magic, a query, or no leading MAC item
    UnknownDevice, // no device has the MAC of the first MAC item
    ReadOnly,      // the device ignores set requests
    Applied,
};

// Applies a set request to the device named by its first MAC item. Items whose length
// byte is not the width a request uses, or that reach past the received bytes, are ignored.
SetOutcome ApplySetRequest(const uint8_t* bytes, std::size_t length,
                           std::vector<SimDevice>& devices);

// The MAC (12 lower-case digits) of the device a set request names by its first item.
std::optional<std::string> SetRequestTarget(const uint8_t* bytes, std::size_t length);

// The datagram as lower-case hexadecimal digits, two per byte.
std::string HexLine(const uint8_t* bytes, std::size_t length);

} // namespace sim
