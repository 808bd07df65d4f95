#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/encoding/code_page.h"

// How the bytes of a text file that a user or a spreadsheet saved read as UTF-8: UTF-16 with a
// byte-order mark (a spreadsheet's "Unicode text"), or without one where the first character
// shows it (an ASCII character beside a zero byte); else UTF-8 with or without a byte-order
// mark; else the legacy code page. Lines end in LF, CRLF or CR, and count from 1.
struct TextFileRead {
    std::string text;          // UTF-8, without a byte-order mark
    std::size_t errorLine = 0; // the line of the first character that does not read; 0: none
    std::string encoding;      // with an error: the encoding the file was tried in last
};

TextFileRead ReadTextFile(std::string_view bytes, TextEncoding legacy);
