#pragma once

#include <initializer_list>
#include <string>

#include "core/messages/finder_texts.h"

// What the finder says about settings on their way to a camera lives with the window's
// other texts (APPLY_TEXT_*), so that both front ends say the same and language.db
// translates it for the window; finder-cli says the English. "%1", "%2" are filled in
// order by FillText. Texts are UTF-8.

// The pattern with "%1", "%2", ... replaced by the arguments in order; a placeholder
// without an argument stays as it is.
std::string FillText(const char* pattern, std::initializer_list<std::string> arguments);
inline std::string FillText(const std::string& pattern,
                            std::initializer_list<std::string> arguments) {
    return FillText(pattern.c_str(), arguments);
}
