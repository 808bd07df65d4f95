#include "core/rules/input_checks.h"

#include <cstdint>

#include "core/wire/device_table.h"
#include "core/wire/subnet.h"

// Reads a run of 1 to maxDigits decimal digits at text[pos]; advances pos past it.
static bool ReadNumber(std::string_view text, std::size_t& pos, std::size_t maxDigits,
                       uint32_t& value) {
    const std::size_t start = pos;
    value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < maxDigits) {
        value = value * 10 + static_cast<uint32_t>(text[pos] - '0');
        ++pos;
    }
    return pos > start;
}

bool IsDottedAddress(std::string_view text) {
    return ParseIpv4(text).has_value();
}

bool IsHttpPort(std::string_view text) {
    // The port travels as at most five characters of text, so a longer one (even with
    // leading zeros) would be cut on the wire.
    std::size_t pos = 0;
    uint32_t value;
    return ReadNumber(text, pos, 5, value) && pos == text.size() && value >= 1 && value <= 65535;
}

bool IsMacText(std::string_view text) {
    uint8_t mac[6];
    return TextToMac(text, mac);
}
