#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Addresses a search also asks one by one, for cameras behind a router or on a VLAN that a
// broadcast does not reach. A target is one address ("10.2.0.21"), a CIDR block
// ("10.2.0.0/24": every address of it but the network and broadcast address of blocks
// wider than /31) or a range ("10.2.0.10-10.2.0.60", both ends included).

// All targets of one search together may name at most this many addresses.
constexpr std::size_t SEARCH_TARGET_LIMIT = 4096;

// Why a target was refused.
enum class SearchTargetFault { None, NotATarget, Reversed, TooMany };

struct SearchTargets {
    std::vector<uint32_t> addresses; // host order, in the order given, each once
    std::string error;               // why a target was refused; empty when all were read
    SearchTargetFault fault = SearchTargetFault::None;

    bool Ok() const { return error.empty(); }
};

// Reads the targets, each whole; the first bad one, or more than SEARCH_TARGET_LIMIT
// addresses in all, is refused with a sentence that quotes it.
SearchTargets ParseSearchTargets(const std::vector<std::string>& targets);
