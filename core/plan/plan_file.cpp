#include "core/plan/plan_file.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>

#include "core/encoding/csv_reader.h"
#include "core/encoding/text_escape.h"
#include "core/encoding/text_file.h"
#include "core/messages/fill_text.h"
#include "core/messages/finder_texts.h"
#include "core/present/device_format.h"
#include "core/rules/input_checks.h"
#include "core/session/editable_values.h"
#include "core/wire/net_mode.h"
#include "core/wire/settings_fields.h"

namespace {

// A decimal number as its sign, its significant digits (no leading or trailing zeros) and
// the power of ten of the last of them.
struct Decimal {
    bool negative = false;
    std::string digits;
    long exponent = 0;

    bool operator==(const Decimal&) const = default;
};

std::optional<Decimal> ReadDecimal(std::string_view text) {
    Decimal number;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        number.negative = text[i++] == '-';
    }
    bool point = false;
    bool digit = false;
    for (; i < text.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(text[i]))) {
            number.digits += text[i];
            number.exponent -= point ? 1 : 0;
            digit = true;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digit) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        const bool negative = ++i < text.size() && text[i] == '-';
        i += i < text.size() && (text[i] == '-' || text[i] == '+') ? 1 : 0;
        const std::size_t start = i;
        long power = 0;
        for (;
             i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && i - start < 6;
             ++i) {
            power = power * 10 + (text[i] - '0');
        }
        if (i == start) {
            return std::nullopt;
        }
        number.exponent += negative ? -power : power;
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    number.digits.erase(0, std::min(number.digits.find_first_not_of('0'), number.digits.size()));
    while (!number.digits.empty() && number.digits.back() == '0') {
        number.digits.pop_back();
        ++number.exponent;
    }
    if (number.digits.empty()) {
        return Decimal{}; // zero, whatever its sign and exponent
    }
    return number;
}

std::string Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return "";
    }
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsFormulaStart(char c) {
    return c == '=' || c == '+' || c == '-' || c == '@';
}

// Whether a setting is one a plan's row gives: all but the new MAC, since a row's mac
// names the camera.
bool IsPlanSetting(const SettingField& field) {
    return field.setting != SETTING_NEW_MAC;
}

// Reads the rows into the plan file, one at a time.
class CPlanFileReader {
public:
    CPlanFileReader(const DeviceTable& table, const CTextCodec& codec, bool keepNumbers,
                    const TextLookup& tr, PlanFile& file)
        : m_table(table), m_codec(codec), m_keepNumbers(keepNumbers), m_tr(tr), m_file(file) {}

    bool Header(const CsvRow& header) {
        const std::vector<std::string> scanColumns = ScanColumnKeys();
        bool setting = false;
        for (std::size_t cell = 0; cell < header.cells.size(); ++cell) {
            const std::string given = Trimmed(header.cells[cell]);
            const std::string name = Lower(given);
            const auto named = [&](const std::string& column) { return Lower(column) == name; };
            if (std::none_of(scanColumns.begin(), scanColumns.end(), named)) {
                if (!given.empty()) {
                    m_file.warnings.push_back(
                        FillText(m_tr(PLAN_TEXT_FILE_LINE), {std::to_string(header.line), given,
                                                             m_tr(PLAN_TEXT_UNKNOWN_COLUMN)}));
                }
                continue;
            }
            const bool isSetting =
                std::any_of(SETTINGS.begin(), SETTINGS.end(), [&](const SettingField& field) {
                    return IsPlanSetting(field) && named(field.key);
                });
            if (!isSetting && name != "mac") {
                continue; // a column of the scan that is no setting
            }
            if (m_columns.count(name) != 0) {
                return Fail(header.line, given, m_tr(PLAN_TEXT_COLUMN_TWICE));
            }
            m_columns[name] = cell;
            setting = setting || isSetting;
        }
        if (m_columns.count("mac") == 0) {
            return Fail(header.line, "mac", m_tr(PLAN_TEXT_NO_MAC_COLUMN));
        }
        if (!setting) {
            std::string columns;
            for (const SettingField& field : SETTINGS) {
                if (IsPlanSetting(field)) {
                    columns += (columns.empty() ? "" : ", ") + std::string(field.key);
                }
            }
            m_file.error = FillText(m_tr(PLAN_TEXT_FILE_AT),
                                    {std::to_string(header.line),
                                     FillText(m_tr(PLAN_TEXT_NO_SETTING_COLUMN), {columns})});
        }
        return setting;
    }

    bool Row(const CsvRow& row) {
        if (std::all_of(row.cells.begin(), row.cells.end(),
                        [](const std::string& cell) { return Trimmed(cell).empty(); })) {
            return true; // a spreadsheet saves empty rows as separators alone
        }
        const std::string macCell = Trimmed(Cell(row, "mac"));
        const std::optional<std::string> mac = ReadMacText(macCell);
        if (!mac) {
            const std::optional<Decimal> number = ReadDecimal(macCell);
            return Fail(
                row.line, "mac",
                FillText(m_tr(number ? PLAN_TEXT_MAC_AS_NUMBER : PLAN_TEXT_NOT_MAC), {macCell}));
        }
        if (const auto seen = m_lineOfMac.find(*mac); seen != m_lineOfMac.end()) {
            return Fail(row.line, "mac",
                        FillText(m_tr(PLAN_TEXT_MAC_TWICE), {*mac, std::to_string(seen->second)}));
        }
        m_lineOfMac[*mac] = row.line;
        const DeviceRecord* camera = FindSetTarget(m_table, *mac);
        if (camera == nullptr || camera->id == 0) {
            return Fail(row.line, "mac", FillText(m_tr(PLAN_TEXT_NO_CAMERA), {*mac}));
        }
        ChangeValues values = EditableValues(*camera, m_codec);
        std::vector<std::string> kept;
        for (const SettingField& field : SETTINGS) {
            if (IsPlanSetting(field) && !Take(row, field, *camera, values, kept)) {
                return false;
            }
        }
        m_file.changes.push_back(std::move(values));
        m_file.lines.push_back(row.line);
        m_file.kept.push_back(std::move(kept));
        return NewIpOnce(*camera);
    }

private:
    std::string Cell(const CsvRow& row, const std::string& column) const {
        const auto at = m_columns.find(Lower(column));
        return at != m_columns.end() && at->second < row.cells.size() ? row.cells[at->second] : "";
    }

    bool Fail(std::size_t line, const std::string& column, const std::string& why) {
        m_file.error = FillText(m_tr(PLAN_TEXT_FILE_LINE), {std::to_string(line), column, why});
        return false;
    }

    // Lays one cell over the camera's values; false (the file refused) for a bad one.
    bool Take(const CsvRow& row, const SettingField& field, const DeviceRecord& camera,
              ChangeValues& values, std::vector<std::string>& kept) {
        const std::string cell = Cell(row, field.key);
        if (cell.empty()) {
            return true;
        }
        if (field.kind == SettingKind::Mode) {
            const std::string mode = Lower(Trimmed(cell));
            const NetMode modes[] = {NetMode::Static, NetMode::Dhcp, NetMode::Pppoe};
            for (const NetMode m : modes) {
                if (mode == Lower(ModeName(m))) {
                    values.mode = m;
                    return true;
                }
            }
            return Fail(row.line, field.key, FillText(m_tr(PLAN_TEXT_NOT_MODE), {cell}));
        }
        std::string& typed = values.*field.typed;
        if (field.kind != SettingKind::Text) {
            const std::string value = Trimmed(cell);
            const bool address = field.kind == SettingKind::Address;
            if (address ? !IsDottedAddress(value) : !IsHttpPort(value)) {
                return Fail(
                    row.line, field.key,
                    FillText(m_tr(address ? PLAN_TEXT_NOT_ADDRESS : PLAN_TEXT_NOT_PORT), {value}));
            }
            typed = value;
            return true;
        }
        // As the camera's text shows, or as the scan wrote it for a spreadsheet.
        const std::string shown = m_codec.Shown(StoredText(field, camera), field.width);
        const std::string escaped = EscapeControls(shown);
        if (cell == shown || cell == escaped || cell == "'" + escaped) {
            return true;
        }
        if (IsSpreadsheetNumberOf(shown, cell)) {
            if (!m_keepNumbers) {
                m_file.textAsNumber = true;
                return Fail(row.line, field.key,
                            FillText(m_tr(PLAN_TEXT_TEXT_AS_NUMBER), {cell, shown}));
            }
            kept.push_back(field.key);
            return true;
        }
        // The apostrophe a scan puts before a text a spreadsheet would run as a formula.
        typed =
            cell.size() > 1 && cell[0] == '\'' && IsFormulaStart(cell[1]) ? cell.substr(1) : cell;
        return true;
    }

    // The row just read may not give a new IP that an earlier row gave.
    bool NewIpOnce(const DeviceRecord& camera) {
        const ChangeValues& values = m_file.changes.back();
        if (values.ip == FieldText(camera.ip)) {
            return true;
        }
        for (std::size_t row = 0; row + 1 < m_file.changes.size(); ++row) {
            if (m_file.changes[row].ip == values.ip) {
                return Fail(m_file.lines.back(), "ip",
                            FillText(m_tr(PLAN_TEXT_IP_TWICE),
                                     {values.ip, std::to_string(m_file.lines[row])}));
            }
        }
        return true;
    }

    const DeviceTable& m_table;
    const CTextCodec& m_codec;
    const bool m_keepNumbers;
    const TextLookup& m_tr;
    PlanFile& m_file;
    std::map<std::string, std::size_t> m_columns; // lower-case name -> cell
    std::map<std::string, std::size_t> m_lineOfMac;
};

} // namespace

bool IsSpreadsheetNumberOf(std::string_view text, std::string_view cell) {
    if (text == cell) {
        return false;
    }
    const std::optional<Decimal> before = ReadDecimal(text);
    return before && before == ReadDecimal(cell);
}

const char* SettingColumn(unsigned setting) {
    for (const SettingField& field : SETTINGS) {
        if (field.setting == setting) {
            return field.key;
        }
    }
    return "mac";
}

PlanFile ReadPlanFile(std::string_view bytes, const DeviceTable& table, const CTextCodec& codec,
                      bool keepNumbers, const TextLookup& tr) {
    PlanFile file;
    const TextFileRead text = ReadTextFile(bytes, codec.Legacy());
    if (text.errorLine != 0) {
        file.error =
            FillText(tr(PLAN_TEXT_FILE_AT), {std::to_string(text.errorLine),
                                             FillText(tr(PLAN_TEXT_NOT_TEXT), {text.encoding})});
        return file;
    }
    const CsvRead csv = ReadCsv(text.text);
    CPlanFileReader reader(table, codec, keepNumbers, tr, file);
    if (!csv.error.empty()) {
        file.error = FillText(tr(PLAN_TEXT_FILE_AT),
                              {std::to_string(csv.errorLine), tr(PLAN_TEXT_UNENDED_QUOTE)});
    } else if (csv.rows.empty()) {
        file.error = tr(PLAN_TEXT_EMPTY);
    } else if (reader.Header(csv.rows.front())) {
        for (std::size_t row = 1; row < csv.rows.size() && reader.Row(csv.rows[row]); ++row) {
        }
    }
    if (!file.error.empty()) {
        file.changes.clear();
        file.lines.clear();
        file.kept.clear();
    }
    return file;
}
