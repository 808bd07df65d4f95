#include "core/encoding/code_page.h"

#include <iconv.h>

#include <cerrno>

namespace {

// Windows names the code pages 936, 950, 932 and 1252; glibc knows them by the same
// numbers, with the Windows extensions (the euro sign in 936, the NEC rows in 932).
const char* IconvName(TextEncoding page) {
    switch (page) {
    case TextEncoding::Gbk:
        return "CP936";
    case TextEncoding::Big5:
        return "CP950";
    case TextEncoding::ShiftJis:
        return "CP932";
    case TextEncoding::Cp1252:
        return "CP1252";
    case TextEncoding::Utf8:
        break;
    }
    return "UTF-8";
}

// Every input byte converted, or nothing. No //TRANSLIT or //IGNORE: those would turn a
// character the camera cannot hold into a question mark or drop it.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view input) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string output(input.size() * 4 + 4, '\0'); // 4 bytes per input byte at the most
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
    const bool whole = result != static_cast<std::size_t>(-1) && inLeft == 0 &&
                       iconv(cd, nullptr, nullptr, &out, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    if (!whole) {
        return std::nullopt;
    }
    output.resize(output.size() - outLeft);
    return output;
}

} // namespace

std::optional<std::string> CodePageToUtf8(TextEncoding page, std::string_view bytes) {
    return Convert("UTF-8", IconvName(page), bytes);
}

std::optional<std::string> Utf8ToCodePage(TextEncoding page, std::string_view utf8) {
    return Convert(IconvName(page), "UTF-8", utf8);
}
