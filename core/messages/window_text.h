#pragma once

#include <functional>
#include <string>

// A text of the finder's window beyond the fixed cells of table `interface`: its id in
// table `window_text` of language.db, and its English, which the window shows when the
// database has no translation (an older language.db without the table, a language
// without the column, an empty cell). Declare one as
//   FINDER_TEXT(TEXT_SEARCHING, "status_searching", "Searching...")
// in finder_text_list.inc and show it through the window's Tr(TEXT_SEARCHING). Placeholders %1, %2,
// ... are filled in by the code that shows the text.
struct WindowText {
    const char* id;
    const char* english;
};

// How the core asks a front end for a text in its user's language.
using TextLookup = std::function<std::string(const WindowText&)>;
inline std::string EnglishText(const WindowText& text) {
    return text.english;
}
