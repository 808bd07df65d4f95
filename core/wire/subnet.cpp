#include "protocol/subnet.h"

#include <algorithm>

#include "protocol/input_checks.h"

std::optional<uint32_t> ParseIpv4(std::string_view text) {
    if (!IsDottedAddress(text)) {
        return std::nullopt;
    }
    uint32_t address = 0;
    uint32_t part = 0;
    for (char c : text) {
        if (c == '.') {
            address = address << 8 | part;
            part = 0;
        } else {
            part = part * 10 + static_cast<uint32_t>(c - '0');
        }
    }
    return address << 8 | part;
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

std::string SubnetText(uint32_t address, int prefix) {
    return Ipv4Text(address) + "/" + std::to_string(prefix);
}

bool InSubnet(uint32_t address, uint32_t interfaceAddress, int prefix) {
    const uint32_t mask = PrefixMask(prefix);
    return (address & mask) == (interfaceAddress & mask);
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
