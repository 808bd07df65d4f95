#include "core/encoding/csv_reader.h"

namespace {

constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";

// The separator of the first line, quoted parts passed over.
char Separator(std::string_view text) {
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\r' || c == '\n')) {
            break;
        } else if (!quoted && (c == ',' || c == ';' || c == '\t')) {
            return c;
        }
    }
    return ',';
}

bool IsBlank(const CsvRow& row) {
    return row.cells.size() == 1 && row.cells.front().empty();
}

} // namespace

CsvRead ReadCsv(std::string_view text) {
    if (text.substr(0, UTF8_BOM.size()) == UTF8_BOM) {
        text.remove_prefix(UTF8_BOM.size());
    }
    const char separator = Separator(text);
    CsvRead read;
    CsvRow row{1, {std::string()}};
    std::size_t line = 1;
    std::size_t quoteLine = 0; // where the open quoted cell started; 0: none is open
    const auto endRow = [&] {
        if (!IsBlank(row)) {
            read.rows.push_back(std::move(row));
        }
        row = CsvRow{line, {std::string()}};
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool lineEnd =
            c == '\n' || (c == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
        if (quoteLine != 0) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                row.cells.back() += '"';
                ++i;
            } else if (c == '"') {
                quoteLine = 0;
            } else {
                row.cells.back() += c;
                line += lineEnd ? 1 : 0;
            }
        } else if (c == '"' && row.cells.back().empty()) {
            quoteLine = line;
        } else if (c == separator) {
            row.cells.emplace_back();
        } else if (lineEnd) {
            ++line;
            endRow();
        } else if (c != '\r') {
            row.cells.back() += c;
        }
    }
    if (quoteLine != 0) {
        read.error = "a quoted cell does not end";
        read.errorLine = quoteLine;
        return read;
    }
    endRow();
    return read;
}
