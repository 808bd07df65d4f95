#include "core/wire/search_targets.h"

#include <algorithm>
#include <optional>
#include <unordered_set>
#include <utility>

#include "core/wire/subnet.h"

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string TooMany() {
    return "more than " + std::to_string(SEARCH_TARGET_LIMIT) + " addresses in all";
}

// First and last address of one target (host order, first <= last), or why it is none.
struct Span {
    uint64_t first = 0;
    uint64_t last = 0;
    std::string error;
    SearchTargetFault fault = SearchTargetFault::None;
};

Span Refused(SearchTargetFault fault, std::string error) {
    return {0, 0, std::move(error), fault};
}

std::optional<int> ReadPrefix(const std::string& text) {
    if (text.empty() || text.size() > 2 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int prefix = std::stoi(text);
    return prefix <= 32 ? std::optional<int>(prefix) : std::nullopt;
}

Span ReadCidr(const std::string& text, std::size_t slash) {
    const std::optional<uint32_t> base = ParseIpv4(std::string_view(text).substr(0, slash));
    const std::optional<int> prefix = ReadPrefix(text.substr(slash + 1));
    if (!base || !prefix) {
        return Refused(SearchTargetFault::NotATarget,
                       Quoted(text) + " is not an address block such as 10.2.0.0/24");
    }
    const uint64_t size = uint64_t{1} << (32 - *prefix);
    if (size > SEARCH_TARGET_LIMIT) {
        return Refused(SearchTargetFault::TooMany,
                       Quoted(text) + " holds " + std::to_string(size) + " addresses; at most " +
                           std::to_string(SEARCH_TARGET_LIMIT) + " (a /20) may be searched");
    }
    const uint64_t network = *base & PrefixMask(*prefix);
    if (size <= 2) {
        return {network, network + size - 1, {}, {}};
    }
    return {network + 1, network + size - 2, {}, {}}; // no network or broadcast address
}

Span ReadRange(const std::string& text, std::size_t dash) {
    const std::optional<uint32_t> first = ParseIpv4(std::string_view(text).substr(0, dash));
    const std::optional<uint32_t> last = ParseIpv4(std::string_view(text).substr(dash + 1));
    if (!first || !last) {
        return Refused(SearchTargetFault::NotATarget,
                       Quoted(text) + " is not a range such as 10.2.0.10-10.2.0.60");
    }
    if (*last < *first) {
        return Refused(SearchTargetFault::Reversed, Quoted(text) + " ends before it starts");
    }
    if (*last - *first >= SEARCH_TARGET_LIMIT) {
        return Refused(SearchTargetFault::TooMany,
                       Quoted(text) + " holds " + std::to_string(uint64_t{*last} - *first + 1) +
                           " addresses; at most " + std::to_string(SEARCH_TARGET_LIMIT) +
                           " may be searched");
    }
    return {*first, *last, {}, {}};
}

Span ReadTarget(const std::string& text) {
    if (const std::size_t slash = text.find('/'); slash != std::string::npos) {
        return ReadCidr(text, slash);
    }
    if (const std::size_t dash = text.find('-'); dash != std::string::npos) {
        return ReadRange(text, dash);
    }
    if (const std::optional<uint32_t> one = ParseIpv4(text)) {
        return {*one, *one, {}, {}};
    }
    return Refused(SearchTargetFault::NotATarget,
                   Quoted(text) + " is not an IP address, a block such as 10.2.0.0/24 or a " +
                       "range such as 10.2.0.10-10.2.0.60");
}

} // namespace

SearchTargets ParseSearchTargets(const std::vector<std::string>& targets) {
    SearchTargets read;
    std::unordered_set<uint32_t> seen;
    for (const std::string& target : targets) {
        const Span span = ReadTarget(target);
        if (!span.error.empty()) {
            return {{}, span.error, span.fault};
        }
        for (uint64_t address = span.first; address <= span.last; ++address) {
            if (seen.insert(static_cast<uint32_t>(address)).second) {
                if (read.addresses.size() == SEARCH_TARGET_LIMIT) {
                    return {{}, TooMany(), SearchTargetFault::TooMany};
                }
                read.addresses.push_back(static_cast<uint32_t>(address));
            }
        }
    }
    return read;
}
