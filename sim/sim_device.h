#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One simulated camera: what it reports in a reply and what a set request may change.
// The simulator keeps its own model and codec so that tests check the finder's codec
// against an independent peer.
struct SimDevice {
    std::string name; // at most 16 bytes
    std::array<uint8_t, 6> mac{};
    std::array<uint8_t, 4> ip{};
    std::array<uint8_t, 4> netmask{};
    std::array<uint8_t, 4> gateway{};
    uint16_t httpPort = 80;
    std::array<uint8_t, 4> netMode{0xFF, 0xFF, 0xFF, 0xFF};
    std::string version;       // at most 16 bytes
    std::string pppoeAccount;  // at most 64 bytes
    std::string pppoePassword; // at most 16 bytes
    bool readOnly = false;
};

constexpr std::size_t SIM_NAME_WIDTH = 16;
constexpr std::size_t SIM_VERSION_WIDTH = 16;
constexpr std::size_t SIM_ACCOUNT_WIDTH = 64;
constexpr std::size_t SIM_PASSWORD_WIDTH = 16;
constexpr int SIM_MAX_COUNT = 10000;

// The devices file: one device per line, fields separated by '|', spaces around a field
// ignored, '#' starts a comment line, blank lines skipped:
//   name | mac | ip | netmask | gateway | port | mode | version | account | password | ro
// mac is 12 hexadecimal digits, mode the 4 mode bytes as 8 hexadecimal digits, ro 0 or 1.
bool ParseDeviceLine(std::string_view line, SimDevice& device, std::string& error);

// Reads every device of a file; on failure error names the file and line.
bool LoadDeviceFile(const std::string& path, std::vector<SimDevice>& devices, std::string& error);

// count generated devices with distinct MACs, addresses and names, cycling through the
// STATIC, DHCP and PPPoE modes.
std::vector<SimDevice> GenerateDevices(int count);

// count cameras as they come out of the box: one factory address (mask 255.255.255.0, the
// gateway .1 of its subnet), static, named alike, told apart by their MACs alone.
std::vector<SimDevice> FactoryDevices(int count, const std::array<uint8_t, 4>& address);

std::string MacText(const std::array<uint8_t, 6>& mac);
bool ParseMac(std::string_view text, std::array<uint8_t, 6>& mac);
bool ParseAddress(std::string_view text, std::array<uint8_t, 4>& address);
