#pragma once

#include <string>
#include <vector>

#include "protocol/device_table.h"
#include "protocol/text_escape.h"

// How a device record reads as text, for every front end: the mode, the table of a
// terminal, JSON and CSV. The columns of JSON and CSV are the same, in the same order.

// The 4 mode bytes as 8 lower-case hexadecimal digits.
std::string NetModeText(const uint8_t netMode[4]);

// The devices, in the order given, as an aligned table, a JSON array or CSV with a header.
std::string FormatTable(const std::vector<DeviceRecord>& devices);
std::string FormatJson(const std::vector<DeviceRecord>& devices);
std::string FormatCsv(const std::vector<DeviceRecord>& devices);
