#include "protocol/device_format.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "protocol/discovery_datagram.h"
#include "protocol/net_mode.h"

std::string NetModeText(const uint8_t netMode[4]) {
    char text[9];
    std::snprintf(text, sizeof text, "%02x%02x%02x%02x", netMode[0], netMode[1], netMode[2],
                  netMode[3]);
    return text;
}

namespace {

// The columns of --json and --csv, in order, as (key, JSON value, CSV value).
struct Column {
    const char* key;
    std::string json;
    std::string csv;
};

Column Text(const char* key, const std::string& text) {
    return {key, JsonString(text), CsvCell(text)};
}

Column Plain(const char* key, const std::string& value) {
    return {key, value, value};
}

// The address fields are written by the finder itself ("%u.%u.%u.%u"): always ASCII.
std::vector<Column> Columns(const DeviceRecord& d, const FormatOptions& options) {
    const CTextCodec& codec = options.codec;
    std::vector<Column> columns = {
        Plain("id", std::to_string(d.id)),
        Plain("readOnly", d.readOnly ? "true" : "false"),
        Text("name", codec.Shown(FieldText(d.name), ITEM_WIDTH_NAME)),
        Text("version", codec.Shown(FieldText(d.version), ITEM_WIDTH_VERSION)),
        Text("mac", MacToText(d.mac)),
        Text("ip", FieldText(d.ip)),
        Text("netmask", FieldText(d.netmask)),
        Text("gateway", FieldText(d.gateway)),
        Plain("httpPort", std::to_string(d.httpPort)),
        Text("netMode", NetModeText(d.netMode)),
        Text("mode", ModeName(RadioMode(d.netMode))),
        Text("pppoeAccount", codec.Shown(FieldText(d.pppoeAccount), ITEM_WIDTH_PPPOE_ACCOUNT)),
    };
    if (options.showPasswords) {
        columns.push_back(Text("pppoePassword",
                               codec.Shown(FieldText(d.pppoePassword), ITEM_WIDTH_PPPOE_PASSWORD)));
    }
    return columns;
}

} // namespace

std::string FormatJson(const std::vector<DeviceRecord>& devices, const FormatOptions& options) {
    if (devices.empty()) {
        return "[]\n";
    }
    std::string out = "[\n";
    for (std::size_t i = 0; i < devices.size(); ++i) {
        out += "  {";
        const std::vector<Column> columns = Columns(devices[i], options);
        for (std::size_t c = 0; c < columns.size(); ++c) {
            out +=
                std::string(c == 0 ? "" : ", ") + "\"" + columns[c].key + "\": " + columns[c].json;
        }
        out += i + 1 < devices.size() ? "},\n" : "}\n";
    }
    return out + "]\n";
}

std::string FormatCsv(const std::vector<DeviceRecord>& devices, const FormatOptions& options) {
    std::string out;
    for (const Column& column : Columns(DeviceRecord{}, options)) {
        out += std::string(out.empty() ? "" : ",") + column.key;
    }
    out += "\r\n";
    for (const DeviceRecord& device : devices) {
        std::string row;
        for (const Column& column : Columns(device, options)) {
            row += (row.empty() ? "" : ",") + column.csv;
        }
        out += row + "\r\n";
    }
    return out;
}

std::string FormatTable(const std::vector<DeviceRecord>& devices, const FormatOptions& options) {
    const CTextCodec& codec = options.codec;
    using Row = std::array<std::string, 10>;
    std::vector<Row> rows = {
        {"ID", "NAME", "MAC", "IP", "NETMASK", "GATEWAY", "PORT", "MODE", "VERSION", "READ-ONLY"}};
    for (const DeviceRecord& d : devices) {
        rows.push_back(
            {std::to_string(d.id), EscapeControls(codec.Shown(FieldText(d.name), ITEM_WIDTH_NAME)),
             MacToText(d.mac), FieldText(d.ip), FieldText(d.netmask), FieldText(d.gateway),
             std::to_string(d.httpPort), ModeName(RadioMode(d.netMode)),
             EscapeControls(codec.Shown(FieldText(d.version), ITEM_WIDTH_VERSION)),
             d.readOnly ? "yes" : "no"});
    }
    Row::size_type columns = rows.front().size();
    std::array<std::size_t, 10> width{};
    for (const Row& row : rows) {
        for (std::size_t c = 0; c < columns; ++c) {
            width[c] = std::max(width[c], DisplayWidth(row[c]));
        }
    }
    std::string out;
    for (const Row& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < columns; ++c) {
            line += row[c];
            if (c + 1 < columns) {
                line += std::string(width[c] - DisplayWidth(row[c]) + 2, ' ');
            }
        }
        out += line + "\n";
    }
    return out;
}
