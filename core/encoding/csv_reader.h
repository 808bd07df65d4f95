#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Reads CSV as spreadsheets save it: a byte-order mark or none, CRLF, LF or CR at the ends of
// lines, cells quoted or not ("" stands for a quote inside a quoted cell, which may also hold
// line breaks). The separator is the first comma, semicolon or tab of the first line outside
// quotes (a spreadsheet of a country that writes decimal commas saves semicolons); a comma
// when the first line has none. Lines without any text are skipped.

struct CsvRow {
    std::size_t line = 0; // where the row starts in the file, from 1
    std::vector<std::string> cells;
};

struct CsvRead {
    std::vector<CsvRow> rows;
    std::string error;         // empty when the whole text was read
    std::size_t errorLine = 0; // the line the error is on
};

CsvRead ReadCsv(std::string_view text);
