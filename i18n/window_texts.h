#pragma once

#include <map>
#include <string>

#include "core/messages/window_text.h"

struct sqlite3;

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
