#include "core/wire/subnet.h"

#include <algorithm>

// Reads a run of 1 to 3 decimal digits at text[pos]; advances pos past it.
static bool ReadPart(std::string_view text, std::size_t& pos, uint32_t& value) {
    const std::size_t start = pos;
    value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 3) {
        value = value * 10 + static_cast<uint32_t>(text[pos] - '0');
        ++pos;
    }
    return pos > start;
}

std::optional<uint32_t> ParseIpv4(std::string_view text) {
    std::size_t pos = 0;
    uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0 && (pos >= text.size() || text[pos++] != '.')) {
            return std::nullopt;
        }
        // Other readers of dotted quads take "010" as octal 8 and "08" as no address at
        // all, so a part with a leading zero would put the camera somewhere the user never
        // typed: it is no address here.
        const std::size_t start = pos;
        uint32_t value;
        if (!ReadPart(text, pos, value) || value > 255 || (pos - start > 1 && text[start] == '0')) {
            return std::nullopt;
        }
        address = address << 8 | value;
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    return address;
}

std::string Ipv4Text(uint32_t address) {
    return std::to_string(address >> 24) + "." + std::to_string(address >> 16 & 0xFF) + "." +
           std::to_string(address >> 8 & 0xFF) + "." + std::to_string(address & 0xFF);
}

uint32_t PrefixMask(int prefix) {
    prefix = std::clamp(prefix, 0, 32);
    return prefix == 0 ? 0 : ~uint32_t{0} << (32 - prefix);
}

std::optional<int> MaskPrefix(uint32_t mask) {
    for (int prefix = 0; prefix <= 32; ++prefix) {
        if (PrefixMask(prefix) == mask) {
            return prefix;
        }
    }
    return std::nullopt;
}

int MaskLength(uint32_t mask) {
    int length = 0;
    for (uint32_t bit = 0x80000000u; bit != 0 && (mask & bit) != 0; bit >>= 1) {
        ++length;
    }
    return length;
}

std::string SubnetText(uint32_t address, int prefix) {
    return Ipv4Text(address) + "/" + std::to_string(prefix);
}

bool InSubnet(uint32_t address, uint32_t interfaceAddress, int prefix) {
    return InMaskedSubnet(address, interfaceAddress, PrefixMask(prefix));
}

bool InMaskedSubnet(uint32_t address, uint32_t network, uint32_t netmask) {
    return (address & netmask) == (network & netmask);
}

std::optional<uint32_t> FreeAddress(uint32_t interfaceAddress, int prefix,
                                    const std::vector<uint32_t>& taken) {
    if (prefix < 0 || prefix > 30) {
        return std::nullopt; // a /31 or /32 has no address to spare
    }
    const uint32_t mask = PrefixMask(prefix);
    const uint32_t network = interfaceAddress & mask;
    const uint32_t hosts = ~mask - 1; // without the network and the broadcast address
    const uint32_t ownHost = (interfaceAddress & ~mask) - 1;
    // At most taken.size() + 1 candidates can be refused, so the loop ends early on a large
    // subnet.
    const uint64_t tries = std::min<uint64_t>(hosts, taken.size() + 2);
    for (uint64_t step = 1; step <= tries; ++step) {
        const uint32_t candidate = network + 1 + static_cast<uint32_t>((ownHost + step) % hosts);
        if (candidate != interfaceAddress &&
            std::find(taken.begin(), taken.end(), candidate) == taken.end()) {
            return candidate;
        }
    }
    return std::nullopt;
}

bool IsLinkLocal(std::string_view address) {
    const std::optional<uint32_t> ip = ParseIpv4(address);
    return ip && (*ip >> 16) == 0xA9FEu;
}
