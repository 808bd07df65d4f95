#include "sim/sim_device.h"

#include <cstdio>
#include <fstream>

static int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Exactly 2 * size hexadecimal digits into size bytes.
static bool ParseHexBytes(std::string_view text, uint8_t* bytes, std::size_t size) {
    if (text.size() != 2 * size) {
        return false;
    }
    for (std::size_t i = 0; i < size; ++i) {
        const int high = HexValue(text[2 * i]);
        const int low = HexValue(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes[i] = static_cast<uint8_t>(high << 4 | low);
    }
    return true;
}

// A decimal number of at most maxDigits digits, nothing else.
static bool ParseDecimal(std::string_view text, std::size_t maxDigits, unsigned& value) {
    if (text.empty() || text.size() > maxDigits) {
        return false;
    }
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return true;
}

std::string MacText(const std::array<uint8_t, 6>& mac) {
    char text[13];
    std::snprintf(text, sizeof text, "%02x%02x%02x%02x%02x%02x", mac[0], mac[1], mac[2], mac[3],
                  mac[4], mac[5]);
    return text;
}

bool ParseMac(std::string_view text, std::array<uint8_t, 6>& mac) {
    return ParseHexBytes(text, mac.data(), mac.size());
}

bool ParseAddress(std::string_view text, std::array<uint8_t, 4>& address) {
    std::array<uint8_t, 4> parsed{};
    for (std::size_t part = 0; part < 4; ++part) {
        const std::size_t dot = part < 3 ? text.find('.') : text.size();
        unsigned value;
        if (dot == std::string_view::npos || !ParseDecimal(text.substr(0, dot), 3, value) ||
            value > 255) {
            return false;
        }
        parsed[part] = static_cast<uint8_t>(value);
        text.remove_prefix(part < 3 ? dot + 1 : dot);
    }
    address = parsed;
    return true;
}

static std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

static std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t bar = line.find('|');
        fields.push_back(Trim(line.substr(0, bar)));
        if (bar == std::string_view::npos) {
            return fields;
        }
        line.remove_prefix(bar + 1);
    }
}

static bool TakeText(std::string_view text, std::size_t width, const char* what, std::string& field,
                     std::string& error) {
    if (text.size() > width) {
        error = std::string(what) + " is longer than " + std::to_string(width) + " bytes";
        return false;
    }
    field = text;
    return true;
}

bool ParseDeviceLine(std::string_view line, SimDevice& device, std::string& error) {
    const std::vector<std::string_view> f = SplitFields(line);
    if (f.size() != 11) {
        error = "expected 11 fields separated by '|', found " + std::to_string(f.size());
        return false;
    }
    SimDevice parsed;
    unsigned port = 0;
    unsigned readOnly = 0;
    if (!TakeText(f[0], SIM_NAME_WIDTH, "name", parsed.name, error) ||
        !TakeText(f[7], SIM_VERSION_WIDTH, "version", parsed.version, error) ||
        !TakeText(f[8], SIM_ACCOUNT_WIDTH, "PPPoE account", parsed.pppoeAccount, error) ||
        !TakeText(f[9], SIM_PASSWORD_WIDTH, "PPPoE password", parsed.pppoePassword, error)) {
        return false;
    }
    if (!ParseMac(f[1], parsed.mac)) {
        error = "MAC \"" + std::string(f[1]) + "\" is not 12 hexadecimal digits";
    } else if (!ParseAddress(f[2], parsed.ip)) {
        error = "IP \"" + std::string(f[2]) + "\" is not a dotted address";
    } else if (!ParseAddress(f[3], parsed.netmask)) {
        error = "netmask \"" + std::string(f[3]) + "\" is not a dotted address";
    } else if (!ParseAddress(f[4], parsed.gateway)) {
        error = "gateway \"" + std::string(f[4]) + "\" is not a dotted address";
    } else if (!ParseDecimal(f[5], 5, port) || port > 65535) {
        error = "port \"" + std::string(f[5]) + "\" is not a number of 0 to 65535";
    } else if (!ParseHexBytes(f[6], parsed.netMode.data(), parsed.netMode.size())) {
        error = "mode \"" + std::string(f[6]) + "\" is not 8 hexadecimal digits";
    } else if (!ParseDecimal(f[10], 1, readOnly) || readOnly > 1) {
        error = "read-only \"" + std::string(f[10]) + "\" is not 0 or 1";
    } else {
        parsed.httpPort = static_cast<uint16_t>(port);
        parsed.readOnly = readOnly == 1;
        device = parsed;
        return true;
    }
    return false;
}

bool LoadDeviceFile(const std::string& path, std::vector<SimDevice>& devices, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    std::vector<SimDevice> loaded;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string_view content = Trim(line);
        if (content.empty() || content.front() == '#') {
            continue;
        }
        SimDevice device;
        std::string lineError;
        if (!ParseDeviceLine(line, device, lineError)) {
            error = path + ":" + std::to_string(number) + ": " + lineError;
            return false;
        }
        loaded.push_back(device);
    }
    devices = std::move(loaded);
    return true;
}

std::vector<SimDevice> GenerateDevices(int count) {
    static const std::array<std::array<uint8_t, 4>, 3> modes = {{
        {0xFF, 0xFF, 0xFF, 0xFF}, // STATIC
        {0xFF, 0xFF, 0x01, 0xFF}, // DHCP
        {0x01, 0xFF, 0xFF, 0xFF}, // PPPoE
    }};
    std::vector<SimDevice> devices;
    for (int i = 0; i < count; ++i) {
        SimDevice device;
        device.name = "camera-" + std::to_string(i + 1);
        // Locally administered MACs, never a vendor's.
        device.mac = {
            0x02, 0x00, 0x5e, 0x10, static_cast<uint8_t>(i >> 8), static_cast<uint8_t>(i & 0xFF)};
        device.ip = {192, 168, static_cast<uint8_t>(1 + i / 250),
                     static_cast<uint8_t>(2 + i % 250)};
        device.netmask = {255, 255, 255, 0};
        device.gateway = {192, 168, static_cast<uint8_t>(1 + i / 250), 1};
        device.httpPort = i % 4 == 3 ? 8080 : 80;
        device.netMode = modes[i % modes.size()];
        device.version = "2.1." + std::to_string(i % 10);
        if (i % modes.size() == 2) {
            device.pppoeAccount = "user" + std::to_string(i + 1) + "@isp.example";
            device.pppoePassword = "secret";
        }
        devices.push_back(device);
    }
    return devices;
}

std::vector<SimDevice> FactoryDevices(int count, const std::array<uint8_t, 4>& address) {
    std::vector<SimDevice> devices = GenerateDevices(count);
    for (SimDevice& device : devices) {
        device.name = "IPCAM";
        device.ip = address;
        device.netmask = {255, 255, 255, 0};
        device.gateway = {address[0], address[1], address[2], 1};
        device.netMode = {0xFF, 0xFF, 0xFF, 0xFF};
        device.pppoeAccount.clear();
        device.pppoePassword.clear();
    }
    return devices;
}
