#include "protocol/text_escape.h"

#include <cstdint>
#include <cstdio>

namespace {

// The code point of a valid sequence of the given length at text[at].
uint32_t CodePoint(std::string_view text, std::size_t at, std::size_t length) {
    static constexpr unsigned char LEAD_BITS[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    uint32_t code = static_cast<unsigned char>(text[at]) & LEAD_BITS[length];
    for (std::size_t k = 1; k < length; ++k) {
        code = code << 6 | (static_cast<unsigned char>(text[at + k]) & 0x3F);
    }
    return code;
}

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
        const std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0) {
            onStray(static_cast<unsigned char>(text[i]));
            ++i;
            continue;
        }
        onCharacter(CodePoint(text, i, length), text.substr(i, length));
        i += length;
    }
}

} // namespace

std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[at + k]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    static constexpr uint32_t SMALLEST[] = {0, 0, 0x80, 0x800, 0x10000};
    const uint32_t code = CodePoint(text, at, length);
    const bool valid =
        code >= SMALLEST[length] && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
    return valid ? length : 0;
}

// A stray byte of a legacy code page (GBK, Big5, ...) stays as it is, unless it is one of
// the C1 controls, which an 8-bit terminal would obey.
std::string EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    ForEachCharacter(
        text,
        [&](uint32_t code, std::string_view bytes) {
            if (!IsControl(code)) {
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
