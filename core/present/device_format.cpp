#include "core/present/device_format.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/wire/discovery_datagram.h"
#include "core/wire/net_mode.h"
#include "core/wire/settings_fields.h"
#include "core/wire/subnet.h"

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

// The MACs of the other devices with the IP of devices[index].
std::vector<const uint8_t*> SameIpMacs(const std::vector<DeviceRecord>& devices,
                                       std::size_t index) {
    std::vector<const uint8_t*> macs;
    for (const std::size_t other : SameIpAs(devices, index)) {
        macs.push_back(devices[other].mac);
    }
    return macs;
}

// JSON keeps a MAC's twelve digits; CSV writes it with colons, which a spreadsheet keeps as
// text where it may read twelve digits as a number.
Column Mac(const char* key, const uint8_t mac[6]) {
    return {key, JsonString(MacToText(mac)), CsvCell(MacToColonText(mac))};
}

Column MacList(const char* key, const std::vector<const uint8_t*>& macs) {
    std::string json = "[";
    std::string csv;
    for (const uint8_t* mac : macs) {
        json += (json.size() > 1 ? ", " : "") + JsonString(MacToText(mac));
        csv += (csv.empty() ? "" : " ") + MacToColonText(mac);
    }
    return {key, json + "]", CsvCell(csv)};
}

// A setting's column, by its kind. The address fields are written by the finder itself
// ("%u.%u.%u.%u"): always ASCII.
Column SettingColumn(const SettingField& field, const DeviceRecord& d, const CTextCodec& codec) {
    const std::string stored = StoredText(field, d);
    switch (field.kind) {
    case SettingKind::Mac:
        return Mac(field.key, d.mac);
    case SettingKind::Text:
        return Text(field.key, codec.Shown(stored, field.width));
    case SettingKind::Port:
        return Plain(field.key, stored);
    case SettingKind::Address:
    case SettingKind::Mode:
        break;
    }
    return Text(field.key, stored);
}

// What a column of a scan holds: a setting, or what else the finder knows of the camera.
enum class Fact {
    Setting,
    Id,
    ReadOnly,
    Version,
    NetMode,
    Interface,
    InterfaceAddress,
    SameSubnet,
    SameIpAs,
    LinkLocal
};

struct ScanColumn {
    Fact fact;
    unsigned setting = 0; // SETTING_*, for Fact::Setting
};

// The columns of --json and --csv in order; the settings among them in the order of
// SETTINGS (a test holds them to it).
constexpr ScanColumn SCAN_COLUMNS[] = {
    {Fact::Id},
    {Fact::ReadOnly},
    {Fact::Setting, SETTING_NAME},
    {Fact::Version},
    {Fact::Setting, SETTING_NEW_MAC},
    {Fact::Setting, SETTING_IP},
    {Fact::Setting, SETTING_NETMASK},
    {Fact::Setting, SETTING_GATEWAY},
    {Fact::Setting, SETTING_HTTP_PORT},
    {Fact::NetMode},
    {Fact::Setting, SETTING_MODE},
    {Fact::Setting, SETTING_ACCOUNT},
    {Fact::Setting, SETTING_PASSWORD},
    {Fact::Interface},
    {Fact::InterfaceAddress},
    {Fact::SameSubnet},
    {Fact::SameIpAs},
    {Fact::LinkLocal},
};

const char* Flag(bool on) {
    return on ? "true" : "false";
}

Column FactColumn(Fact fact, const DeviceRecord& d, const FormatOptions& options,
                  const ReplyArrival& seen, const std::vector<const uint8_t*>& sameIpAs) {
    switch (fact) {
    case Fact::Id:
        return Plain("id", std::to_string(d.id));
    case Fact::ReadOnly:
        return Plain("readOnly", Flag(d.readOnly != 0));
    case Fact::Version:
        return Text("version", options.codec.Shown(FieldText(d.version), ITEM_WIDTH_VERSION));
    case Fact::NetMode:
        return Text("netMode", NetModeText(d.netMode));
    case Fact::Interface:
        return Text("interface", seen.interfaceName);
    case Fact::InterfaceAddress:
        return Text("interfaceAddress", InterfaceAddressText(seen));
    case Fact::SameSubnet:
        return Plain("sameSubnet", Flag(SameSubnet(d, seen)));
    case Fact::SameIpAs:
        return MacList("sameIpAs", sameIpAs);
    case Fact::LinkLocal:
    case Fact::Setting:
        break;
    }
    return Plain("linkLocal", Flag(IsLinkLocal(FieldText(d.ip))));
}

// A secret setting's column only where passwords are shown.
std::vector<Column> Columns(const DeviceRecord& d, const FormatOptions& options,
                            const ReplyArrival& seen, const std::vector<const uint8_t*>& sameIpAs) {
    std::vector<Column> columns;
    for (const ScanColumn& column : SCAN_COLUMNS) {
        if (column.fact != Fact::Setting) {
            columns.push_back(FactColumn(column.fact, d, options, seen, sameIpAs));
            continue;
        }
        const SettingField& field = FieldOf(column.setting);
        if (!field.secret || options.showPasswords) {
            columns.push_back(SettingColumn(field, d, options.codec));
        }
    }
    return columns;
}

const ReplyArrival& SeenAt(const std::vector<ReplyArrival>& seen, std::size_t i) {
    static const ReplyArrival none;
    return i < seen.size() ? seen[i] : none;
}

template <std::size_t N> std::string Aligned(const std::vector<std::array<std::string, N>>& rows) {
    std::vector<std::vector<std::string>> cells;
    for (const auto& row : rows) {
        cells.emplace_back(row.begin(), row.end());
    }
    return AlignedColumns(cells);
}

} // namespace

std::string AlignedColumns(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> width;
    for (const auto& row : rows) {
        width.resize(std::max(width.size(), row.size()));
        for (std::size_t c = 0; c < row.size(); ++c) {
            width[c] = std::max(width[c], DisplayWidth(row[c]));
        }
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size()) {
                line += std::string(width[c] - DisplayWidth(row[c]) + 2, ' ');
            }
        }
        line.erase(line.find_last_not_of(' ') + 1); // an empty last cell leaves no padding
        out += line + "\n";
    }
    return out;
}

namespace {

// The table's NOTE: an IP that others answer with too, a self-assigned IP; "-" for neither.
std::string DeviceNote(const std::vector<DeviceRecord>& devices, std::size_t index) {
    std::string note;
    for (const uint8_t* mac : SameIpMacs(devices, index)) {
        note += (note.empty() ? "same IP as " : ", ") + MacToText(mac);
    }
    if (IsLinkLocal(FieldText(devices[index].ip))) {
        note += std::string(note.empty() ? "" : "; ") + "self-assigned IP: no DHCP server";
    }
    return note.empty() ? "-" : note;
}

} // namespace

std::string FormatJson(const std::vector<DeviceRecord>& devices, const FormatOptions& options,
                       const std::vector<ReplyArrival>& seen) {
    if (devices.empty()) {
        return "[]\n";
    }
    std::string out = "[\n";
    for (std::size_t i = 0; i < devices.size(); ++i) {
        out += "  {";
        const std::vector<Column> columns =
            Columns(devices[i], options, SeenAt(seen, i), SameIpMacs(devices, i));
        for (std::size_t c = 0; c < columns.size(); ++c) {
            out +=
                std::string(c == 0 ? "" : ", ") + "\"" + columns[c].key + "\": " + columns[c].json;
        }
        out += i + 1 < devices.size() ? "},\n" : "}\n";
    }
    return out + "]\n";
}

std::string FormatCsv(const std::vector<DeviceRecord>& devices, const FormatOptions& options,
                      const std::vector<ReplyArrival>& seen) {
    std::string out;
    for (const Column& column : Columns(DeviceRecord{}, options, ReplyArrival{}, {})) {
        out += std::string(out.empty() ? "" : ",") + column.key;
    }
    out += "\r\n";
    for (std::size_t i = 0; i < devices.size(); ++i) {
        std::string row;
        for (const Column& column :
             Columns(devices[i], options, SeenAt(seen, i), SameIpMacs(devices, i))) {
            row += (row.empty() ? "" : ",") + column.csv;
        }
        out += row + "\r\n";
    }
    return out;
}

std::string FormatTable(const std::vector<DeviceRecord>& devices, const FormatOptions& options,
                        const std::vector<ReplyArrival>& seen) {
    const CTextCodec& codec = options.codec;
    using Row = std::array<std::string, 14>;
    std::vector<Row> rows = {{"ID", "NAME", "MAC", "IP", "NETMASK", "GATEWAY", "PORT", "MODE",
                              "VERSION", "READ-ONLY", "INTERFACE", "INTERFACE-ADDRESS",
                              "SAME-SUBNET", "NOTE"}};
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const DeviceRecord& d = devices[i];
        const ReplyArrival& card = SeenAt(seen, i);
        rows.push_back(
            {std::to_string(d.id), TableText(codec.Shown(FieldText(d.name), ITEM_WIDTH_NAME)),
             MacToText(d.mac), FieldText(d.ip), FieldText(d.netmask), FieldText(d.gateway),
             std::to_string(d.httpPort), ModeName(RecordMode(d.netMode)),
             TableText(codec.Shown(FieldText(d.version), ITEM_WIDTH_VERSION)),
             d.readOnly ? "yes" : "no", card.interfaceName.empty() ? "-" : card.interfaceName,
             card.interfaceAddress == 0 ? "-" : InterfaceAddressText(card),
             SameSubnet(d, card) ? "yes" : "no", DeviceNote(devices, i)});
    }
    return Aligned(rows);
}

std::vector<std::string> ScanColumnKeys() {
    FormatOptions every;
    every.showPasswords = true;
    std::vector<std::string> keys;
    for (const Column& column : Columns(DeviceRecord{}, every, ReplyArrival{}, {})) {
        keys.push_back(column.key);
    }
    return keys;
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
