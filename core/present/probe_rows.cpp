#include "core/present/probe_rows.h"

#include "core/encoding/text_escape.h"
#include "core/present/device_format.h"
#include "core/wire/discovery_datagram.h"
#include "core/wire/subnet.h"

namespace {

const DeviceRecord* CameraAt(const std::vector<DeviceRecord>& cameras, uint32_t address) {
    for (const DeviceRecord& camera : cameras) {
        if (ParseIpv4(FieldText(camera.ip)) == address) {
            return &camera;
        }
    }
    return nullptr;
}

ProbeRow RowOf(const AddressAnswer& answer, const DeviceRecord* camera, const CTextCodec& codec) {
    ProbeRow row;
    row.address = answer.address;
    row.held = answer.held || camera != nullptr;
    for (const HardwareAddress& mac : answer.macs) {
        row.macs.push_back(MacToColonText(mac.data()));
    }
    if (camera != nullptr) {
        row.camera = codec.Shown(FieldText(camera->name), ITEM_WIDTH_NAME);
        if (row.macs.empty()) {
            row.macs.push_back(MacToColonText(camera->mac));
        }
    }
    return row;
}

std::string JsonOrNull(const std::optional<std::string>& text) {
    return text ? JsonString(*text) : "null";
}

std::optional<std::string> FirstMac(const ProbeRow& row) {
    return row.macs.empty() ? std::nullopt : std::optional<std::string>(row.macs.front());
}

} // namespace

std::vector<ProbeRow> ProbeRows(const ProbeResult& result, const std::vector<DeviceRecord>& cameras,
                                const CTextCodec& codec, bool freeOnly) {
    std::vector<ProbeRow> rows;
    for (const AddressAnswer& answer : result.answers) {
        const DeviceRecord* camera = CameraAt(cameras, answer.address);
        if (!answer.asked && camera == nullptr) {
            continue;
        }
        ProbeRow row = RowOf(answer, camera, codec);
        if (!freeOnly || !row.held) {
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

std::vector<uint32_t> UnaskedAddresses(const ProbeResult& result) {
    std::vector<uint32_t> unasked;
    for (const AddressAnswer& answer : result.answers) {
        if (!answer.asked) {
            unasked.push_back(answer.address);
        }
    }
    return unasked;
}

std::string FormatProbeTable(const std::vector<ProbeRow>& rows) {
    std::vector<std::vector<std::string>> cells = {{"IP", "HELD", "MAC", "CAMERA"}};
    for (const ProbeRow& row : rows) {
        std::string macs;
        for (const std::string& mac : row.macs) {
            macs += (macs.empty() ? "" : " ") + mac;
        }
        cells.push_back({Ipv4Text(row.address), row.held ? "yes" : "no", macs.empty() ? "-" : macs,
                         row.camera ? EscapeControls(*row.camera) : "-"});
    }
    return AlignedColumns(cells);
}

std::string FormatProbeJson(const std::vector<ProbeRow>& rows) {
    if (rows.empty()) {
        return "[]\n";
    }
    std::string out = "[\n";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ProbeRow& row = rows[i];
        out += "  {\"ip\": " + JsonString(Ipv4Text(row.address)) +
               ", \"held\": " + (row.held ? "true" : "false") +
               ", \"mac\": " + JsonOrNull(FirstMac(row)) +
               ", \"camera\": " + JsonOrNull(row.camera) + (i + 1 < rows.size() ? "},\n" : "}\n");
    }
    return out + "]\n";
}

std::string FormatProbeCsv(const std::vector<ProbeRow>& rows) {
    std::string out = "ip,held,mac,camera\r\n";
    for (const ProbeRow& row : rows) {
        out += Ipv4Text(row.address) + "," + (row.held ? "true" : "false") + "," +
               CsvCell(FirstMac(row).value_or("")) + "," + CsvCell(row.camera.value_or("")) +
               "\r\n";
    }
    return out;
}

std::string ProbeWayText(ProbeWay way) {
    switch (way) {
    case ProbeWay::ArpProbe:
        return "ARP probes";
    case ProbeWay::SystemArp:
        return "the system's ARP (SendARP)";
    case ProbeWay::NeighbourTable:
        break;
    }
    return "the kernel's neighbour table";
}
