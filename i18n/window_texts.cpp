#include "i18n/window_texts.h"

#include <sqlite3.h>

#include <cstring>

#include "i18n/language_texts.h"

namespace {

bool HasTable(sqlite3* db, const char* table) {
    sqlite3_stmt* statement = nullptr;
    bool found = false;
    if (sqlite3_prepare_v2(db, "select 1 from sqlite_master where type='table' and name=?", -1,
                           &statement, nullptr) == SQLITE_OK &&
        sqlite3_bind_text(statement, 1, table, -1, SQLITE_STATIC) == SQLITE_OK) {
        found = sqlite3_step(statement) == SQLITE_ROW;
    }
    sqlite3_finalize(statement);
    return found;
}

int ColumnNamed(sqlite3_stmt* statement, const std::string& name) {
    for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        if (name == sqlite3_column_name(statement, i)) {
            return i;
        }
    }
    return -1;
}

const char* CellText(sqlite3_stmt* statement, int column) {
    return reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
}

} // namespace

void CWindowTexts::Load(sqlite3* db, const std::string& languageKey) {
    m_texts.clear();
    // An older language.db has no such table: the window stays in English, quietly.
    if (db == nullptr || languageKey.empty() || !HasTable(db, WINDOW_TEXT_TABLE)) {
        return;
    }
    sqlite3_stmt* statement = nullptr;
    const std::string sql = std::string("select * from ") + WINDOW_TEXT_TABLE;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
        const int id = ColumnNamed(statement, "id");
        const int column = ColumnNamed(statement, languageKey);
        while (id >= 0 && column >= 0 && sqlite3_step(statement) == SQLITE_ROW) {
            const char* key = CellText(statement, id);
            const char* text = CellText(statement, column);
            if (key != nullptr && text != nullptr && *text != '\0') {
                m_texts[key] = CutCellText(text);
            }
        }
    }
    sqlite3_finalize(statement);
}

std::string CWindowTexts::Text(const WindowText& text) const {
    const auto found = m_texts.find(std::string_view(text.id));
    return found != m_texts.end() ? found->second : text.english;
}
