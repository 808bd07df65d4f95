#include "sim/sim_codec.h"

#include <algorithm>
#include <cstring>

namespace sim {

static constexpr char MAGIC[5] = {'R', 'Z', '8', '8', '0'};

static bool HasMagic(const uint8_t* bytes, std::size_t length) {
    return length >= sizeof MAGIC && std::memcmp(bytes, MAGIC, sizeof MAGIC) == 0;
}

bool IsQuery(const uint8_t* bytes, std::size_t length) {
    return length == REQUEST_SIZE && HasMagic(bytes, length) && bytes[sizeof MAGIC] == TYPE_NAME;
}

static void PutItem(std::vector<uint8_t>& out, uint8_t type, const uint8_t* value,
                    std::size_t width) {
    out.push_back(type);
    out.push_back(static_cast<uint8_t>(width));
    out.insert(out.end(), value, value + width);
}

static void PutText(std::vector<uint8_t>& out, uint8_t type, const std::string& text,
                    std::size_t width) {
    std::vector<uint8_t> value(width, 0);
    std::copy_n(text.begin(), std::min(width, text.size()), value.begin());
    PutItem(out, type, value.data(), width);
}

std::vector<uint8_t> EncodeReply(const SimDevice& device) {
    std::vector<uint8_t> out(MAGIC, MAGIC + sizeof MAGIC);
    const uint8_t port[2] = {static_cast<uint8_t>(device.httpPort & 0xFF),
                             static_cast<uint8_t>(device.httpPort >> 8)};
    const uint8_t readOnly[2] = {0x00, static_cast<uint8_t>(device.readOnly ? 0x01 : 0x00)};
    PutText(out, TYPE_NAME, device.name, SIM_NAME_WIDTH);
    PutItem(out, TYPE_MAC, device.mac.data(), device.mac.size());
    PutText(out, TYPE_VERSION, device.version, SIM_VERSION_WIDTH);
    PutItem(out, TYPE_IP, device.ip.data(), device.ip.size());
    PutItem(out, TYPE_NETMASK, device.netmask.data(), device.netmask.size());
    PutItem(out, TYPE_GATEWAY, device.gateway.data(), device.gateway.size());
    PutItem(out, TYPE_HTTP_PORT, port, sizeof port);
    PutItem(out, TYPE_NET_MODE, device.netMode.data(), device.netMode.size());
    PutItem(out, TYPE_READ_ONLY, readOnly, sizeof readOnly);
    PutText(out, TYPE_PPPOE_ACCOUNT, device.pppoeAccount, SIM_ACCOUNT_WIDTH);
    PutText(out, TYPE_PPPOE_PASSWORD, device.pppoePassword, SIM_PASSWORD_WIDTH);
    return out;
}

// The width each item has in a set request; 0 for types a request never carries.
static std::size_t RequestWidth(uint8_t type) {
    switch (type) {
    case TYPE_MAC:
        return 6;
    case TYPE_IP:
    case TYPE_NETMASK:
    case TYPE_GATEWAY:
    case TYPE_NET_MODE:
        return 4;
    case TYPE_HTTP_PORT:
        return 5;
    case TYPE_NAME:
    case TYPE_PPPOE_PASSWORD:
        return 16;
    case TYPE_PPPOE_ACCOUNT:
        return 64;
    default:
        return 0;
    }
}

struct Item {
    uint8_t type;
    const uint8_t* value;
    std::size_t length;
};

// The items up to the first type 0 or the end of the received bytes.
static std::vector<Item> SplitItems(const uint8_t* bytes, std::size_t length) {
    std::vector<Item> items;
    std::size_t offset = sizeof MAGIC;
    while (offset + 2 <= length && bytes[offset] != 0) {
        const std::size_t valueLength = bytes[offset + 1];
        if (offset + 2 + valueLength > length) {
            break;
        }
        items.push_back({bytes[offset], bytes + offset + 2, valueLength});
        offset += 2 + valueLength;
    }
    return items;
}

// Text up to the first zero byte.
static std::string TextOf(const Item& item) {
    const auto* end = std::find(item.value, item.value + item.length, 0);
    return std::string(item.value, end);
}

// The port travels as up to 5 characters of decimal text; anything else leaves it alone.
static void ApplyPort(const Item& item, SimDevice& device) {
    const std::string text = TextOf(item);
    unsigned value = 0;
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return;
    }
    for (char c : text) {
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value >= 1 && value <= 65535) {
        device.httpPort = static_cast<uint16_t>(value);
    }
}

static void ApplyItem(const Item& item, SimDevice& device) {
    switch (item.type) {
    case TYPE_MAC: // only a second MAC item reaches here: the device's new MAC
        std::copy_n(item.value, 6, device.mac.begin());
        break;
    case TYPE_IP:
        std::copy_n(item.value, 4, device.ip.begin());
        break;
    case TYPE_NETMASK:
        std::copy_n(item.value, 4, device.netmask.begin());
        break;
    case TYPE_GATEWAY:
        std::copy_n(item.value, 4, device.gateway.begin());
        break;
    case TYPE_HTTP_PORT:
        ApplyPort(item, device);
        break;
    case TYPE_NET_MODE:
        std::copy_n(item.value, 4, device.netMode.begin());
        break;
    case TYPE_NAME:
        device.name = TextOf(item);
        break;
    case TYPE_PPPOE_ACCOUNT:
        device.pppoeAccount = TextOf(item);
        break;
    case TYPE_PPPOE_PASSWORD:
        device.pppoePassword = TextOf(item);
        break;
    default:
        break;
    }
}

SetOutcome ApplySetRequest(const uint8_t* bytes, std::size_t length,
                           std::vector<SimDevice>& devices) {
    if (!HasMagic(bytes, length) || IsQuery(bytes, length)) {
        return SetOutcome::NotSetRequest;
    }
    const std::vector<Item> items = SplitItems(bytes, length);
    if (items.empty() || items.front().type != TYPE_MAC || items.front().length != 6) {
        return SetOutcome::NotSetRequest;
    }
    std::array<uint8_t, 6> target;
    std::copy_n(items.front().value, 6, target.begin());
    const auto device = std::find_if(devices.begin(), devices.end(),
                                     [&](const SimDevice& d) { return d.mac == target; });
    if (device == devices.end()) {
        return SetOutcome::UnknownDevice;
    }
    if (device->readOnly) {
        return SetOutcome::ReadOnly;
    }
    for (auto item = items.begin() + 1; item != items.end(); ++item) {
        if (item->length == RequestWidth(item->type)) {
            ApplyItem(*item, *device);
        }
    }
    return SetOutcome::Applied;
}

std::optional<std::string> SetRequestTarget(const uint8_t* bytes, std::size_t length) {
    if (!HasMagic(bytes, length) || IsQuery(bytes, length)) {
        return std::nullopt;
    }
    const std::vector<Item> items = SplitItems(bytes, length);
    if (items.empty() || items.front().type != TYPE_MAC || items.front().length != 6) {
        return std::nullopt;
    }
    return HexLine(items.front().value, 6);
}

std::string HexLine(const uint8_t* bytes, std::size_t length) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string line;
    line.reserve(2 * length);
    for (std::size_t i = 0; i < length; ++i) {
        line.push_back(digits[bytes[i] >> 4]);
        line.push_back(digits[bytes[i] & 0x0F]);
    }
    return line;
}

} // namespace sim
