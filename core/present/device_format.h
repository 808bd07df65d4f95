#pragma once

#include <string>
#include <vector>

#include "protocol/device_arrival.h"
#include "protocol/device_table.h"
#include "protocol/net_interfaces.h"
#include "protocol/text_codec.h"
#include "protocol/text_escape.h"

// How a device record reads as text, for every front end: the mode, the table of a
// terminal, JSON and CSV. The columns of JSON and CSV are the same, in the same order.

// The 4 mode bytes as 8 lower-case hexadecimal digits.
std::string NetModeText(const uint8_t netMode[4]);

// How device texts are printed: read through the codec into UTF-8, then every control in
// them shown as an escape; the PPPoE password only when asked for.
struct FormatOptions {
    CTextCodec codec;
    bool showPasswords = false;
};

// The devices, in the order given, as a table aligned by display width, a JSON array or
// CSV with a header. Always valid UTF-8. seen holds the card each device answered on, in
// the same order (missing: none known).
std::string FormatTable(const std::vector<DeviceRecord>& devices, const FormatOptions& options,
                        const std::vector<ReplyArrival>& seen = {});
std::string FormatJson(const std::vector<DeviceRecord>& devices, const FormatOptions& options,
                       const std::vector<ReplyArrival>& seen = {});
std::string FormatCsv(const std::vector<DeviceRecord>& devices, const FormatOptions& options,
                      const std::vector<ReplyArrival>& seen = {});

// The network cards with address, state and whether a scan searches them (only: the
// cards named by --interface).
std::string FormatInterfaces(const std::vector<NetInterface>& cards,
                             const std::vector<std::string>& only);
