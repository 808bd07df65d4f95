#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/encoding/text_codec.h"
#include "core/net/address_probe.h"
#include "core/wire/device_table.h"

// How the address probe's answers read, one row per address: for finder-cli probe and the
// window alike.

struct ProbeRow {
    uint32_t address = 0; // host order
    bool held = false;
    std::vector<std::string> macs;     // the holders, with colons; empty when free
    std::optional<std::string> camera; // the name of the camera found at the address (UTF-8)
};

// The rows of the addresses the probe could ask, in their order. A camera found at an
// address holds it (it answered from there): its name is the row's, and its MAC the holder
// when the probe saw none. freeOnly keeps the free addresses alone.
std::vector<ProbeRow> ProbeRows(const ProbeResult& result, const std::vector<DeviceRecord>& cameras,
                                const CTextCodec& codec, bool freeOnly);

// The addresses the probe could not ask (outside every card's subnet, without ARP probes).
std::vector<uint32_t> UnaskedAddresses(const ProbeResult& result);

// A table (IP, HELD, MAC, CAMERA; every holder's MAC), a JSON array of objects with the keys
// ip, held, mac and camera (the first holder's MAC, or null; the name, or null), or CSV with
// those columns and a header row.
std::string FormatProbeTable(const std::vector<ProbeRow>& rows);
std::string FormatProbeJson(const std::vector<ProbeRow>& rows);
std::string FormatProbeCsv(const std::vector<ProbeRow>& rows);

// The way the segment was asked, to end "asked ... on eth1": "the kernel's neighbour
// table", "ARP probes", "the system's ARP (SendARP)".
std::string ProbeWayText(ProbeWay way);
