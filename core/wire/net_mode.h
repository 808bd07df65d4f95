#pragma once

#include <cstdint>
#include <string>

// How a camera gets its address. The four mode bytes of a record are two pairs, PPPoE then
// DHCP; a byte of 0xFF is off. Two readings of them are in use, and they differ: the mode
// bytes 01 FF FF FF that a PPPoE request sends read as PPPOE on the radios, STATIC on the
// info line.
enum class NetMode { Pppoe, Dhcp, Static };

// The radios' reading: byte 0 on is PPPOE, else byte 2 on is DHCP, else STATIC.
NetMode RecordMode(const uint8_t netMode[4]);

// The info line's reading: both bytes of the PPPoE pair on is PPPOE, else both bytes of
// the DHCP pair on is DHCP, else STATIC.
NetMode InfoLineMode(const uint8_t netMode[4]);

// "PPPOE", "DHCP" or "STATIC".
const char* ModeName(NetMode mode);

// The 4 mode bytes as 8 lower-case hexadecimal digits.
std::string NetModeText(const uint8_t netMode[4]);
