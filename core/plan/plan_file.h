#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/encoding/text_codec.h"
#include "core/messages/window_text.h"
#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"

// A plan file: CSV with a header row, as `finder-cli scan --csv` writes it and a spreadsheet
// saves it again. Column mac (required) names the camera; the columns of the other settings
// (SETTINGS' keys, one at least) give its settings, where an empty cell keeps the camera's
// value; the scan's other columns are passed over, and any other column is ignored with a
// warning. So a row left as the scan wrote it changes nothing.
struct PlanFile {
    std::vector<ChangeValues> changes; // one per row, in the file's order (UTF-8)
    std::vector<std::size_t> lines;    // the line each row starts on
    // Per row: the columns whose number, made by a spreadsheet of a camera's text, was
    // passed over so that the camera keeps its text (keepNumbers).
    std::vector<std::vector<std::string>> kept;
    std::vector<std::string> warnings; // "line N: column: why", for columns that are ignored
    std::string error;                 // "line N: column: why"; empty when the file was read
    bool textAsNumber = false;         // the error is a text a spreadsheet turned into a number
};

// Reads the file's bytes (as ReadTextFile reads them in the codec's legacy code page: UTF-16
// tab-separated, as a spreadsheet saves "Unicode text", UTF-8, or the code page a Windows
// spreadsheet saves) for the cameras of table. A bad
// cell, a MAC that no camera answered with, a MAC on two rows or one new IP on two rows
// refuses the file. So does a text cell that differs from the camera's text only as a
// spreadsheet's number conversion makes it (leading zeros dropped, trailing decimal zeros
// dropped, an exponent written out) unless keepNumbers, which keeps the camera's text.
PlanFile ReadPlanFile(std::string_view bytes, const DeviceTable& table, const CTextCodec& codec,
                      bool keepNumbers, const TextLookup& tr);

// Whether cell is the number a spreadsheet writes for text, where text is not already
// written that way: both read as the same decimal number, in other digits.
bool IsSpreadsheetNumberOf(std::string_view text, std::string_view cell);

// The column (the key of `scan --json`) of a setting (SETTING_*); "mac" for none.
const char* SettingColumn(unsigned setting);
