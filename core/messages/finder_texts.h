#pragma once

#include <string_view>

#include "core/messages/window_text.h"

// The window's texts beyond table `interface`, each with its English, declared and listed
// from the one list in finder_text_list.inc: add a new text there.
#define FINDER_TEXT(name, id, english) constexpr WindowText name{id, english};
#include "core/messages/finder_text_list.inc"
#undef FINDER_TEXT

inline constexpr const WindowText* FINDER_TEXTS[] = {
#define FINDER_TEXT(name, id, english) &name,
#include "core/messages/finder_text_list.inc"
#undef FINDER_TEXT
};

// The text with this id; none when the finder has no such text.
const WindowText* FinderText(std::string_view id);
