#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/encoding/code_page.h"

// One codec for the texts a camera stores (name, version, PPPoE account and password),
// used by the window and the command line alike. Reading: valid UTF-8 is UTF-8, anything
// else is read in a legacy code page. Writing: a new text goes back in the encoding the
// camera's current text was read in, and a text the user left alone goes back as the very
// bytes the camera sent, so that it compares equal and is never sent.

// The names --encoding takes: "utf-8", "gbk", "big5", "shift_jis", "cp1252".
const char* EncodingName(TextEncoding encoding);
// The name a user reads: "UTF-8", "GBK", "Big5", "Shift_JIS", "Windows-1252".
const char* EncodingLabel(TextEncoding encoding);
// Any case; '-' and '_' stand for each other ("Shift-JIS", "UTF_8").
std::optional<TextEncoding> EncodingFromName(std::string_view name);
// The code page of a Windows system in the language of index 0 to 5 (English, ChinaGB,
// ChinaBG, French, German, Japan); Windows-1252 for any other index.
TextEncoding LegacyEncodingOfLanguage(int languageIndex);

// "�", U+FFFD, in UTF-8: stands for bytes that no encoding reads, and for a character
// cut off at the end of a full field.
constexpr char TEXT_REPLACEMENT_MARK[] = "\xEF\xBF\xBD";

bool IsValidUtf8(std::string_view bytes);

// The length of the valid UTF-8 character at text[pos] and its code point; 0 when the
// bytes there are no valid UTF-8.
std::size_t NextCodePoint(std::string_view text, std::size_t pos, char32_t& codePoint);

// The columns a terminal gives a valid UTF-8 text: two for wide East Asian characters,
// none for combining marks, one for the rest.
std::size_t DisplayWidth(std::string_view utf8);

// A camera text as it was read.
struct CameraText {
    std::string bytes;     // what the camera sent, up to its first zero byte
    std::string shown;     // UTF-8, what the user sees
    TextEncoding encoding; // read in; a new text is written in it (unless asciiOnly)
    bool asciiOnly = true; // no byte above 0x7F: the text tells no encoding
    bool marked = false;   // shown holds replacement marks
};

enum class TextRefusal {
    None,
    TooLong,    // the text is longer than the field; `fits` characters of it would fit
    NotHeld,    // `character` has no place in `encoding`
    Unreadable, // the text holds replacement marks (or is no UTF-8): retype it
};

// What writing a text gives: the bytes for the field, or the reason it cannot go.
struct TextWrite {
    TextRefusal refusal = TextRefusal::None;
    std::string bytes;
    TextEncoding encoding = TextEncoding::Utf8;
    std::size_t fits = 0;  // TooLong: how many characters fit, from the start
    std::string character; // NotHeld: the character, in UTF-8
    char32_t codePoint = 0;

    bool Ok() const { return refusal == TextRefusal::None; }
};

// "U+00E9"
std::string CodePointText(char32_t codePoint);

class CTextCodec {
public:
    // legacy: the code page for texts that are no UTF-8 (UTF-8 itself when the user named
    // it: such texts are then shown with replacement marks). named: the user chose it, so
    // it also writes new texts over ASCII-only ones.
    explicit CTextCodec(TextEncoding legacy = TextEncoding::Cp1252, bool named = false)
        : m_legacy(legacy), m_named(named) {}
    static CTextCodec ForLanguage(int languageIndex);

    TextEncoding Legacy() const { return m_legacy; }
    bool Named() const { return m_named; }

    // Reads a field of `width` bytes. A field filled to its width may end in the middle
    // of a character (the tool that wrote it cut it there): the cut character shows as a
    // replacement mark.
    CameraText Read(std::string_view bytes, std::size_t width) const;

    // The bytes for `typed` (UTF-8) in a field of `width` bytes whose current text is
    // `current`. An unchanged text gives back the current bytes.
    TextWrite Write(std::string_view typed, const CameraText& current, std::size_t width) const;

    // What a device text shows, for output.
    std::string Shown(std::string_view bytes, std::size_t width) const {
        return Read(bytes, width).shown;
    }

private:
    CameraText ReadWithMarks(CameraText text) const;

    TextEncoding m_legacy;
    bool m_named;
};
