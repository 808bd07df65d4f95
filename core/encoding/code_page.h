#pragma once

#include <optional>
#include <string>
#include <string_view>

// The encodings camera texts come in: UTF-8 on current cameras, and the ANSI code page of
// the Windows system that named the camera on older ones (GBK on Simplified Chinese, Big5
// on Traditional Chinese, Shift_JIS on Japanese, Windows-1252 on Western European systems).
enum class TextEncoding { Utf8, Gbk, Big5, ShiftJis, Cp1252 };

// The platform's converter between a code page and UTF-8, strict both ways: a byte that
// starts no character of the page (or a character cut at the end), and a character the
// page cannot hold, give nothing rather than a guess or a substitute. UTF-8 itself is
// never passed here. One implementation per platform: iconv on POSIX systems,
// MultiByteToWideChar and WideCharToMultiByte on Windows.
std::optional<std::string> CodePageToUtf8(TextEncoding page, std::string_view bytes);
std::optional<std::string> Utf8ToCodePage(TextEncoding page, std::string_view utf8);
