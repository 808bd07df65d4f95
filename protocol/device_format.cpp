#include "protocol/device_format.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "protocol/net_mode.h"
#include "protocol/subnet.h"

std::string NetModeText(const uint8_t netMode[4]) {
    char text[9];
    std::snprintf(text, sizeof text, "%02x%02x%02x%02x", netMode[0], netMode[1], netMode[2],
                  netMode[3]);
    return text;
}

namespace {

// The length of the valid UTF-8 sequence at text[i], or 0.
std::size_t Utf8Length(const std::string& text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return 0;
        }
        code = code << 6 | (byte(i + k) & 0x3F);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool valid =
        code >= smallest[length] && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
    return valid ? length : 0;
}

// A text for a terminal: control characters become '?'.
std::string Printable(std::string text) {
    std::replace_if(
        text.begin(), text.end(),
        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, '?');
    return text;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

// The columns of --json and --csv, in order, as (key, JSON value, CSV value).
struct Column {
    const char* key;
    std::string json;
    std::string csv;
};

Column Text(const char* key, const std::string& text) {
    return {key, JsonString(text), CsvField(text)};
}

Column Plain(const char* key, const std::string& value) {
    return {key, value, value};
}

std::vector<Column> Columns(const DeviceRecord& d, const ReplyArrival& seen) {
    return {
        Plain("id", std::to_string(d.id)),
        Plain("readOnly", d.readOnly ? "true" : "false"),
        Text("name", FieldText(d.name)),
        Text("version", FieldText(d.version)),
        Text("mac", MacToText(d.mac)),
        Text("ip", FieldText(d.ip)),
        Text("netmask", FieldText(d.netmask)),
        Text("gateway", FieldText(d.gateway)),
        Plain("httpPort", std::to_string(d.httpPort)),
        Text("netMode", NetModeText(d.netMode)),
        Text("mode", ModeName(RadioMode(d.netMode))),
        Text("pppoeAccount", FieldText(d.pppoeAccount)),
        Text("pppoePassword", FieldText(d.pppoePassword)),
        Text("interface", seen.interfaceName),
        Text("interfaceAddress", InterfaceAddressText(seen)),
        Plain("sameSubnet", SameSubnet(d, seen) ? "true" : "false"),
    };
}

const ReplyArrival& SeenAt(const std::vector<ReplyArrival>& seen, std::size_t i) {
    static const ReplyArrival none;
    return i < seen.size() ? seen[i] : none;
}

// Rows of equal-width columns, two spaces apart.
template <std::size_t N> std::string Aligned(const std::vector<std::array<std::string, N>>& rows) {
    std::array<std::size_t, N> width{};
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < N; ++c) {
            width[c] = std::max(width[c], row[c].size());
        }
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < N; ++c) {
            line += row[c];
            if (c + 1 < N) {
                line += std::string(width[c] - row[c].size() + 2, ' ');
            }
        }
        out += line + "\n";
    }
    return out;
}

} // namespace

std::string JsonString(const std::string& bytes) {
    std::string out = "\"";
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        char escaped[8];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else if (c >= 0x80) {
            const std::size_t length = Utf8Length(bytes, i);
            if (length > 0) {
                out.append(bytes, i, length);
                i += length;
                continue;
            }
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out + "\"";
}

std::string FormatJson(const std::vector<DeviceRecord>& devices,
                       const std::vector<ReplyArrival>& seen) {
    if (devices.empty()) {
        return "[]\n";
    }
    std::string out = "[\n";
    for (std::size_t i = 0; i < devices.size(); ++i) {
        out += "  {";
        const std::vector<Column> columns = Columns(devices[i], SeenAt(seen, i));
        for (std::size_t c = 0; c < columns.size(); ++c) {
            out +=
                std::string(c == 0 ? "" : ", ") + "\"" + columns[c].key + "\": " + columns[c].json;
        }
        out += i + 1 < devices.size() ? "},\n" : "}\n";
    }
    return out + "]\n";
}

std::string FormatCsv(const std::vector<DeviceRecord>& devices,
                      const std::vector<ReplyArrival>& seen) {
    std::string out;
    for (const Column& column : Columns(DeviceRecord{}, ReplyArrival{})) {
        out += std::string(out.empty() ? "" : ",") + column.key;
    }
    out += "\r\n";
    for (std::size_t i = 0; i < devices.size(); ++i) {
        std::string row;
        for (const Column& column : Columns(devices[i], SeenAt(seen, i))) {
            row += (row.empty() ? "" : ",") + column.csv;
        }
        out += row + "\r\n";
    }
    return out;
}

std::string FormatTable(const std::vector<DeviceRecord>& devices,
                        const std::vector<ReplyArrival>& seen) {
    using Row = std::array<std::string, 13>;
    std::vector<Row> rows = {{"ID", "NAME", "MAC", "IP", "NETMASK", "GATEWAY", "PORT", "MODE",
                              "VERSION", "READ-ONLY", "INTERFACE", "INTERFACE-ADDRESS",
                              "SAME-SUBNET"}};
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const DeviceRecord& d = devices[i];
        const ReplyArrival& card = SeenAt(seen, i);
        rows.push_back({std::to_string(d.id), Printable(FieldText(d.name)), MacToText(d.mac),
                        FieldText(d.ip), FieldText(d.netmask), FieldText(d.gateway),
                        std::to_string(d.httpPort), ModeName(RadioMode(d.netMode)),
                        Printable(FieldText(d.version)), d.readOnly ? "yes" : "no",
                        card.interfaceName.empty() ? "-" : card.interfaceName,
                        card.interfaceAddress == 0 ? "-" : InterfaceAddressText(card),
                        SameSubnet(d, card) ? "yes" : "no"});
    }
    return Aligned(rows);
}

std::string FormatInterfaces(const std::vector<NetInterface>& cards,
                             const std::vector<std::string>& only) {
    using Row = std::array<std::string, 6>;
    std::vector<Row> rows = {{"NAME", "ADDRESS", "UP", "BROADCAST", "GATEWAY", "SEARCHED"}};
    for (const NetInterface& card : cards) {
        const std::string reason = NotSearchedReason(card, only);
        rows.push_back({card.name, card.address == 0 ? "-" : SubnetText(card.address, card.prefix),
                        card.up ? "yes" : "no", card.canBroadcast ? "yes" : "no",
                        card.gateway == 0 ? "-" : Ipv4Text(card.gateway),
                        reason.empty() ? "yes" : "no: " + reason});
    }
    return Aligned(rows);
}
