#include "core/encoding/code_page.h"

#include <windows.h>

#include <climits>

namespace {

UINT WindowsCodePage(TextEncoding page) {
    switch (page) {
    case TextEncoding::Gbk:
        return 936;
    case TextEncoding::Big5:
        return 950;
    case TextEncoding::ShiftJis:
        return 932;
    case TextEncoding::Cp1252:
        return 1252;
    case TextEncoding::Utf8:
        break;
    }
    return CP_UTF8;
}

// MB_ERR_INVALID_CHARS: a byte that starts no character fails the whole text.
std::optional<std::wstring> Widen(UINT page, std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX) {
        return bytes.empty() ? std::optional<std::wstring>(std::wstring()) : std::nullopt;
    }
    const int size = static_cast<int>(bytes.size());
    const int length =
        MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), length);
    return wide;
}

// WC_NO_BEST_FIT_CHARS and the default-character check: a character the page lacks fails
// rather than turning into a look-alike or a question mark.
std::optional<std::string> Narrow(UINT page, const std::wstring& wide) {
    if (wide.empty() || wide.size() > INT_MAX) {
        return wide.empty() ? std::optional<std::string>(std::string()) : std::nullopt;
    }
    const bool utf8 = page == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(page, flags, wide.data(), size, nullptr, 0, nullptr,
                                           utf8 ? nullptr : &usedDefault);
    if (length <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(page, flags, wide.data(), size, bytes.data(), length, nullptr,
                        utf8 ? nullptr : &usedDefault);
    return usedDefault ? std::nullopt : std::optional<std::string>(bytes);
}

// Windows-1252 leaves five bytes undefined, and Windows (and Wine) read them as the C1
// controls of the same number; they start no character here, as with iconv.
bool HasUndefinedByte(TextEncoding page, std::string_view bytes) {
    return page == TextEncoding::Cp1252 &&
           bytes.find_first_of(std::string_view("\x81\x8d\x8f\x90\x9d", 5)) != bytes.npos;
}

} // namespace

std::optional<std::string> CodePageToUtf8(TextEncoding page, std::string_view bytes) {
    if (HasUndefinedByte(page, bytes)) {
        return std::nullopt;
    }
    const std::optional<std::wstring> wide = Widen(WindowsCodePage(page), bytes);
    return wide ? Narrow(CP_UTF8, *wide) : std::nullopt;
}

std::optional<std::string> Utf8ToCodePage(TextEncoding page, std::string_view utf8) {
    const std::optional<std::wstring> wide = Widen(CP_UTF8, utf8);
    std::optional<std::string> bytes = wide ? Narrow(WindowsCodePage(page), *wide) : std::nullopt;
    return bytes && HasUndefinedByte(page, *bytes) ? std::nullopt : bytes;
}
