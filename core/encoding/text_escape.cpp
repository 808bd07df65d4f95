#include "core/encoding/text_escape.h"

#include <cstdint>
#include <cstdio>

#include "core/encoding/text_codec.h"

namespace {

bool IsBidiOrSeparator(uint32_t code) {
    return code == 0x061C || code == 0x200E || code == 0x200F ||
           (code >= 0x2028 && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
}

bool IsControl(uint32_t code) {
    return code < 0x20 || (code >= 0x7F && code <= 0x9F) || IsBidiOrSeparator(code);
}

std::string Escape(const char* format, uint32_t value) {
    char text[8];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Walks the text one character (or stray byte) at a time: onCharacter(code, length) for
// a valid sequence, onStray(byte) for a byte that is none.
template <typename OnCharacter, typename OnStray>
void ForEachCharacter(std::string_view text, OnCharacter onCharacter, OnStray onStray) {
    for (std::size_t i = 0; i < text.size();) {
        char32_t code = 0;
        const std::size_t length = NextCodePoint(text, i, code);
        if (length == 0) {
            onStray(static_cast<unsigned char>(text[i]));
            ++i;
            continue;
        }
        onCharacter(code, text.substr(i, length));
        i += length;
    }
}

} // namespace

namespace {

// A stray byte of a legacy code page (GBK, Big5, ...) stays as it is, unless it is one of
// the C1 controls, which an 8-bit terminal would obey.
std::string Escaped(std::string_view text, bool doubleBackslashes) {
    std::string out;
    out.reserve(text.size());
    ForEachCharacter(
        text,
        [&](uint32_t code, std::string_view bytes) {
            if (code == '\\' && doubleBackslashes) {
                out += "\\\\";
            } else if (!IsControl(code)) {
                out += bytes;
            } else {
                out += code < 0x80 ? Escape("\\x%02x", code) : Escape("\\u%04x", code);
            }
        },
        [&](unsigned char byte) {
            if (byte <= 0x9F) {
                out += Escape("\\x%02x", byte);
            } else {
                out += static_cast<char>(byte);
            }
        });
    return out;
}

} // namespace

std::string EscapeControls(std::string_view text) {
    return Escaped(text, false);
}

std::string TableText(std::string_view text) {
    return Escaped(text, true);
}

std::string CsvCell(std::string_view text) {
    std::string cell = EscapeControls(text);
    if (!cell.empty() && std::string_view("=+-@").find(cell.front()) != std::string_view::npos) {
        cell.insert(cell.begin(), '\'');
    }
    if (cell.find_first_of(",\"") == std::string::npos) {
        return cell;
    }
    std::string quoted = "\"";
    for (char c : cell) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    ForEachCharacter(
        text,
        [&](uint32_t code, std::string_view bytes) {
            if (code == '"' || code == '\\') {
                out += '\\';
                out += static_cast<char>(code);
            } else if (IsControl(code)) {
                out += Escape("\\u%04x", code);
            } else {
                out += bytes;
            }
        },
        [&](unsigned char) { out += "\\ufffd"; });
    return out + "\"";
}
