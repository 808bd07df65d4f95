#pragma once

#include <cstdint>
#include <vector>

// Sends every datagram to 127.0.0.1:port, a few at a time, each time waiting until the
// socket bound to that port has taken them all from its queue, so that none is lost to a
// full queue. False when the receiver stopped taking them for 5 s.
bool SendAllTaken(uint16_t port, const std::vector<std::vector<uint8_t>>& datagrams);

// Replies of count generated cameras with distinct MACs, as camsim encodes them.
std::vector<std::vector<uint8_t>> GeneratedReplies(int count);
