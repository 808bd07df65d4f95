#pragma once

#include <functional>
#include <map>
#include <string>

struct sqlite3;

// A text of the finder's window beyond the fixed cells of table `interface`: its id in
// table `window_text` of language.db, and its English, which the window shows when the
// database has no translation (an older language.db without the table, a language
// without the column, an empty cell). Declare one beside the code that shows it:
//   constexpr WindowText TEXT_SEARCHING{"status_searching", "Searching..."};
// and show it through the window's Tr(TEXT_SEARCHING). Placeholders %1, %2, ... are
// filled in by the code that shows the text.
struct WindowText {
    const char* id;
    const char* english;
};

// How the core asks a front end for a text in its user's language.
using TextLookup = std::function<std::string(const WindowText&)>;
inline std::string EnglishText(const WindowText& text) {
    return text.english;
}

// The texts of one language, read from table `window_text`: one row per text id (column
// `id`), one column per language key ("English", "ChinaGB", ...).
class CWindowTexts {
public:
    // Reads the column of languageKey. Anything missing or unreadable leaves English in
    // its place: the window works in English rather than stopping at a message.
    void Load(sqlite3* db, const std::string& languageKey);

    // The translation of text, or its English.
    std::string Text(const WindowText& text) const;

    bool Empty() const { return m_texts.empty(); }

private:
    std::map<std::string, std::string, std::less<>> m_texts;
};

constexpr const char* WINDOW_TEXT_TABLE = "window_text";
