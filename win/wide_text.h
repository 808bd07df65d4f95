#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The core and language.db speak UTF-8, the window's calls UTF-16: the texts are converted
// here, at the window's edge, and nowhere else.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// A window's text, as UTF-8.
std::string WindowTextUtf8(HWND window);
void SetWindowTextUtf8(HWND window, std::string_view text);
