#include "core/encoding/text_codec.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>

namespace {

struct EncodingNames {
    TextEncoding encoding;
    const char* name;
    const char* label;
};

constexpr EncodingNames ENCODING_NAMES[] = {
    {TextEncoding::Utf8, "utf-8", "UTF-8"},
    {TextEncoding::Gbk, "gbk", "GBK"},
    {TextEncoding::Big5, "big5", "Big5"},
    {TextEncoding::ShiftJis, "shift_jis", "Shift_JIS"},
    {TextEncoding::Cp1252, "cp1252", "Windows-1252"},
};

const EncodingNames& NamesOf(TextEncoding encoding) {
    for (const EncodingNames& names : ENCODING_NAMES) {
        if (names.encoding == encoding) {
            return names;
        }
    }
    return ENCODING_NAMES[0];
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The number of bytes a UTF-8 character that starts with lead has; 0 for a byte that
// starts none.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    return lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
}

// Whether tail is the start of a UTF-8 character that the end of the field cut off.
bool IsCutCharacter(std::string_view tail) {
    const std::size_t length = SequenceLength(static_cast<unsigned char>(tail.front()));
    return length > tail.size() && std::all_of(tail.begin() + 1, tail.end(), [](char c) {
               return IsContinuation(static_cast<unsigned char>(c));
           });
}

// The text with every byte that starts no character replaced by a mark, and how many
// marks that took. readAt gives the length of the character at a position, or 0.
template <typename ReadAt>
std::string WithMarks(std::string_view bytes, ReadAt readAt, std::size_t& marks) {
    std::string shown;
    marks = 0;
    for (std::size_t pos = 0; pos < bytes.size();) {
        std::string piece;
        const std::size_t length = readAt(pos, piece);
        if (length == 0) {
            shown += TEXT_REPLACEMENT_MARK;
            ++marks;
            ++pos;
            continue;
        }
        shown += piece;
        pos += length;
    }
    return shown;
}

// Each character of the code pages here is one or two bytes.
constexpr std::size_t CODE_PAGE_MAX_CHARACTER = 2;

// Wide and fullwidth characters take two columns of a terminal: Hangul Jamo, the CJK
// blocks with kana, Hangul syllables, compatibility ideographs, fullwidth forms, and the
// ideographs beyond the first plane.
struct CodePointRange {
    char32_t first;
    char32_t last;
};
constexpr CodePointRange WIDE_RANGES[] = {
    {0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},
    {0xFE30, 0xFE4F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x1F300, 0x1F64F},
    {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};
constexpr CodePointRange COMBINING_RANGES[] = {
    {0x0300, 0x036F}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x200B, 0x200F},
    {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F},
};

template <std::size_t N> bool InRanges(const CodePointRange (&ranges)[N], char32_t codePoint) {
    return std::any_of(std::begin(ranges), std::end(ranges), [&](const CodePointRange& range) {
        return codePoint >= range.first && codePoint <= range.last;
    });
}

std::optional<std::string> Encode(TextEncoding encoding, std::string_view utf8) {
    if (encoding == TextEncoding::Utf8) {
        return std::string(utf8);
    }
    return Utf8ToCodePage(encoding, utf8);
}

} // namespace

const char* EncodingName(TextEncoding encoding) {
    return NamesOf(encoding).name;
}

const char* EncodingLabel(TextEncoding encoding) {
    return NamesOf(encoding).label;
}

std::optional<TextEncoding> EncodingFromName(std::string_view name) {
    std::string key;
    for (char c : name) {
        key += c == '-' ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (const EncodingNames& names : ENCODING_NAMES) {
        std::string known = names.name;
        std::replace(known.begin(), known.end(), '-', '_');
        if (key == known) {
            return names.encoding;
        }
    }
    return std::nullopt;
}

TextEncoding LegacyEncodingOfLanguage(int languageIndex) {
    switch (languageIndex) {
    case 1:
        return TextEncoding::Gbk;
    case 2:
        return TextEncoding::Big5;
    case 5:
        return TextEncoding::ShiftJis;
    default:
        return TextEncoding::Cp1252;
    }
}

std::size_t NextCodePoint(std::string_view text, std::size_t pos, char32_t& codePoint) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const std::size_t length = SequenceLength(byte(pos));
    if (length == 0 || pos + length > text.size()) {
        return 0;
    }
    char32_t code = length == 1 ? byte(pos) : byte(pos) & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if (!IsContinuation(byte(pos + k))) {
            return 0;
        }
        code = code << 6 | (byte(pos + k) & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are no characters.
    constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return 0;
    }
    codePoint = code;
    return length;
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t pos = 0; pos < bytes.size();) {
        char32_t codePoint;
        const std::size_t length = NextCodePoint(bytes, pos, codePoint);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

std::size_t DisplayWidth(std::string_view utf8) {
    std::size_t width = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t codePoint = 0xFFFD;
        const std::size_t length = std::max<std::size_t>(1, NextCodePoint(utf8, pos, codePoint));
        if (InRanges(WIDE_RANGES, codePoint)) {
            width += 2;
        } else if (!InRanges(COMBINING_RANGES, codePoint)) {
            width += 1;
        }
        pos += length;
    }
    return width;
}

std::string CodePointText(char32_t codePoint) {
    char text[12];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(codePoint));
    return text;
}

CTextCodec CTextCodec::ForLanguage(int languageIndex) {
    return CTextCodec(LegacyEncodingOfLanguage(languageIndex));
}

CameraText CTextCodec::Read(std::string_view bytes, std::size_t width) const {
    CameraText text;
    text.bytes = bytes;
    text.asciiOnly = IsAscii(bytes);
    // A text without a byte above 0x7F reads the same in every encoding; a new text over
    // it goes out as UTF-8, or in the encoding the user named.
    text.encoding = text.asciiOnly && m_named ? m_legacy : TextEncoding::Utf8;
    if (IsValidUtf8(bytes)) {
        text.shown = bytes;
        return text;
    }
    const bool full = !bytes.empty() && bytes.size() >= width;
    const auto cut = [&](std::string shown, TextEncoding encoding) {
        text.shown = std::move(shown) + TEXT_REPLACEMENT_MARK;
        text.encoding = encoding;
        text.marked = true;
        return text;
    };
    // Only a full field can have been cut: elsewhere a stray lead byte at the end (such as
    // the "é" of "Café" in Windows-1252) belongs to the legacy code page.
    if (full) {
        for (std::size_t keep = bytes.size() - 1; keep + 4 > bytes.size() && keep > 0; --keep) {
            if (IsCutCharacter(bytes.substr(keep)) && IsValidUtf8(bytes.substr(0, keep))) {
                return cut(std::string(bytes.substr(0, keep)), TextEncoding::Utf8);
            }
        }
    }
    if (m_legacy != TextEncoding::Utf8) {
        if (std::optional<std::string> shown = CodePageToUtf8(m_legacy, bytes)) {
            text.shown = std::move(*shown);
            text.encoding = m_legacy;
            return text;
        }
        if (std::optional<std::string> shown =
                full ? CodePageToUtf8(m_legacy, bytes.substr(0, bytes.size() - 1)) : std::nullopt) {
            return cut(std::move(*shown), m_legacy);
        }
    }
    return ReadWithMarks(std::move(text));
}

// Bytes that no encoding reads whole: each stray byte becomes a mark, in the reading
// that needs fewer of them (UTF-8 when both need as many).
CameraText CTextCodec::ReadWithMarks(CameraText text) const {
    const std::string_view bytes = text.bytes;
    std::size_t utf8Marks = 0;
    std::string shown = WithMarks(
        bytes,
        [&](std::size_t pos, std::string& piece) {
            char32_t codePoint;
            const std::size_t length = NextCodePoint(bytes, pos, codePoint);
            piece = bytes.substr(pos, length);
            return length;
        },
        utf8Marks);
    text.encoding = TextEncoding::Utf8;
    if (m_legacy != TextEncoding::Utf8) {
        std::size_t legacyMarks = 0;
        std::string legacy = WithMarks(
            bytes,
            [&](std::size_t pos, std::string& piece) -> std::size_t {
                for (std::size_t length = 1;
                     length <= CODE_PAGE_MAX_CHARACTER && pos + length <= bytes.size(); ++length) {
                    if (std::optional<std::string> read =
                            CodePageToUtf8(m_legacy, bytes.substr(pos, length))) {
                        piece = std::move(*read);
                        return length;
                    }
                }
                return 0;
            },
            legacyMarks);
        if (legacyMarks < utf8Marks) {
            shown = std::move(legacy);
            text.encoding = m_legacy;
        }
    }
    text.shown = std::move(shown);
    text.marked = true;
    return text;
}

TextWrite CTextCodec::Write(std::string_view typed, const CameraText& current,
                            std::size_t width) const {
    TextWrite write;
    write.encoding = current.encoding;
    if (typed == current.shown) {
        write.bytes = current.bytes;
        return write;
    }
    // A mark stands for bytes nobody could read: sending it would store the mark itself.
    if (!IsValidUtf8(typed) || typed.find(TEXT_REPLACEMENT_MARK) != std::string_view::npos) {
        write.refusal = TextRefusal::Unreadable;
        return write;
    }
    if (std::optional<std::string> whole = Encode(current.encoding, typed);
        whole && whole->size() <= width) {
        write.bytes = std::move(*whole);
        return write;
    }
    // Character by character: the first one the encoding lacks, or how many fit.
    std::size_t used = 0;
    for (std::size_t pos = 0; pos < typed.size();) {
        char32_t codePoint = 0;
        const std::size_t length = NextCodePoint(typed, pos, codePoint);
        const std::string_view character = typed.substr(pos, length);
        const std::optional<std::string> piece = Encode(current.encoding, character);
        if (!piece) {
            write = TextWrite{};
            write.encoding = current.encoding;
            write.refusal = TextRefusal::NotHeld;
            write.character = character;
            write.codePoint = codePoint;
            return write;
        }
        used += piece->size();
        if (used <= width) {
            ++write.fits;
        }
        pos += length;
    }
    write.refusal = TextRefusal::TooLong;
    return write;
}
