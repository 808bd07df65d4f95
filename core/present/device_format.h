#pragma once

#include <string>
#include <vector>

#include "core/encoding/text_codec.h"
#include "core/encoding/text_escape.h"
#include "core/net/net_interfaces.h"
#include "core/wire/device_table.h"
#include "core/worker/device_arrival.h"

// How a device record reads as text, for every front end: the mode, the table of a
// terminal, JSON and CSV. The columns of JSON and CSV are the same, in the same order.

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

// The keys of FormatJson and the columns of FormatCsv, in order, the password's included.
std::vector<std::string> ScanColumnKeys();

// Rows of cells as columns as wide as their widest cell on a terminal (by display width),
// two spaces apart, one line each, without spaces at its end.
std::string AlignedColumns(const std::vector<std::vector<std::string>>& rows);

// The network cards with address, state and whether a scan searches them (only: the
// cards named by --interface).
std::string FormatInterfaces(const std::vector<NetInterface>& cards,
                             const std::vector<std::string>& only);
