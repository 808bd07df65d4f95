#include "core/encoding/text_file.h"

#include <optional>

#include "core/encoding/text_codec.h"

namespace {

constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";
constexpr std::string_view UTF16_LE_BOM = "\xFF\xFE";
constexpr std::string_view UTF16_BE_BOM = "\xFE\xFF";

// The line that text up to pos ends on, counted as the CSV reader counts them.
std::size_t LineAt(std::string_view text, std::size_t pos) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < pos && i < text.size(); ++i) {
        line +=
            text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
                ? 1
                : 0;
    }
    return line;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Whether the bytes, without a byte-order mark, start with an ASCII character in UTF-16 of
// that byte order; a file of another encoding starts with no zero byte.
std::optional<bool> Utf16WithoutMark(std::string_view bytes) {
    if (bytes.size() < 2 || (bytes[0] == 0) == (bytes[1] == 0)) {
        return std::nullopt;
    }
    const unsigned char ascii = static_cast<unsigned char>(bytes[0] == 0 ? bytes[1] : bytes[0]);
    if (ascii >= 0x80) {
        return std::nullopt;
    }
    return bytes[0] == 0; // big-endian puts the zero first
}

// UTF-16 of the byte order; an odd last byte or a surrogate without its pair does not read.
TextFileRead ReadUtf16(std::string_view bytes, bool bigEndian) {
    TextFileRead read;
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
        return bigEndian ? byte(i) << 8 | byte(i + 1) : byte(i + 1) << 8 | byte(i);
    };
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        char32_t code = i + 1 < bytes.size() ? unit(i) : 0xDC00; // an odd byte reads as none
        if (code >= 0xD800 && code < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (code >= 0xD800 && code < 0xE000) {
            read.errorLine = LineAt(read.text, read.text.size());
            read.encoding = "UTF-16";
            read.text.clear();
            return read;
        }
        AppendUtf8(read.text, code);
    }
    return read;
}

// Whether a line reads in the legacy code page (or, for UTF-8, as UTF-8).
bool LineReads(std::string_view line, TextEncoding legacy) {
    return IsValidUtf8(line) ||
           (legacy != TextEncoding::Utf8 && CodePageToUtf8(legacy, line).has_value());
}

// The first line that does not read; the code pages this reads have no line-end byte in
// their multi-byte characters, so each line reads alone.
std::size_t FirstBadLine(std::string_view bytes, TextEncoding legacy) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == '\n' || bytes[i] == '\r') {
            if (!LineReads(bytes.substr(start, i - start), legacy)) {
                return LineAt(bytes, start);
            }
            start = i + 1;
        }
    }
    return LineAt(bytes, bytes.size()); // a character cut at the end of the file
}

} // namespace

TextFileRead ReadTextFile(std::string_view bytes, TextEncoding legacy) {
    if (bytes.substr(0, 2) == UTF16_LE_BOM || bytes.substr(0, 2) == UTF16_BE_BOM) {
        return ReadUtf16(bytes.substr(2), bytes.substr(0, 2) == UTF16_BE_BOM);
    }
    if (const std::optional<bool> bigEndian = Utf16WithoutMark(bytes)) {
        return ReadUtf16(bytes, *bigEndian);
    }
    if (bytes.substr(0, UTF8_BOM.size()) == UTF8_BOM) {
        bytes.remove_prefix(UTF8_BOM.size());
    }
    TextFileRead read;
    if (IsValidUtf8(bytes)) {
        read.text = bytes;
        return read;
    }
    if (legacy != TextEncoding::Utf8) {
        if (std::optional<std::string> text = CodePageToUtf8(legacy, bytes)) {
            read.text = std::move(*text);
            return read;
        }
    }
    read.errorLine = FirstBadLine(bytes, legacy);
    read.encoding = EncodingLabel(legacy);
    return read;
}
