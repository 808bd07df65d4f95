#include "language_db.h"

#include "language_texts.h"
#include "language_view.h"

#include <cstdio>
#include <memory>
#include <sqlite3.h>

namespace {

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Prepares the whole statement; an empty pointer when there is no connection or the
// statement does not compile (a missing table, a file that is no database).
Statement Prepare(sqlite3* db, const char* sql) {
    if (db == nullptr)
        return {};
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return {};
    }
    return Statement(statement);
}

// Lists the names of every row written in the language at column, one item per row, so
// that item r stays language r. A name that is no text gives an empty item rather than
// the previous row's name.
void ListLanguageNames(const std::vector<std::vector<std::string>>& rows, int column,
                       LanguageView& view) {
    if (column < 0)
        return;
    for (const std::vector<std::string>& row : rows)
        if (static_cast<std::size_t>(column) < row.size())
            view.AddLanguageItem(row[column]);
}

} // namespace

LanguageDb::~LanguageDb() {
    Close();
}

void LanguageDb::OpenLanguageDb(const std::string& path, LanguageView& view) {
    Close();
    // No SQLITE_OPEN_CREATE: a finder started in the wrong folder must say so, not leave
    // an empty language.db there.
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        view.ShowMessage(LANG_MSG_OPEN_FAILED);
        return;
    }
    m_pLanguageDb = db;
}

void LanguageDb::Close() {
    sqlite3_close(m_pLanguageDb);
    m_pLanguageDb = nullptr;
}

bool LanguageDb::ReadSavedIndex(int& index, LanguageView& view) {
    Statement statement = Prepare(m_pLanguageDb, "select * from current");
    if (!statement) {
        view.ShowMessage(LANG_MSG_PREPARE_FAILED);
        return false;
    }
    // The last integer cell of the table wins.
    while (sqlite3_step(statement.get()) == SQLITE_ROW) {
        int columns = sqlite3_column_count(statement.get());
        for (int i = 0; i < columns; ++i)
            if (sqlite3_column_type(statement.get(), i) == SQLITE_INTEGER)
                index = sqlite3_column_int(statement.get(), i);
    }
    return true;
}

bool LanguageDb::ReadLanguageRows(LanguageRows& rows, LanguageView& view) {
    Statement statement = Prepare(m_pLanguageDb, "select * from language");
    if (!statement) {
        view.ShowMessage(LANG_MSG_PREPARE_FAILED);
        return false;
    }
    while (sqlite3_step(statement.get()) == SQLITE_ROW) {
        int columns = sqlite3_column_count(statement.get());
        std::vector<std::string>& row = rows.emplace_back();
        for (int i = 0; i < columns; ++i) {
            bool isText = sqlite3_column_type(statement.get(), i) == SQLITE_TEXT;
            row.push_back(isText ? CutCellText(reinterpret_cast<const char*>(
                                       sqlite3_column_text(statement.get(), i)))
                                 : std::string());
        }
    }
    return true;
}

void LanguageDb::InitLanguageList(LanguageView& view) {
    int index = LANG_FIRST_LANGUAGE; // when table `current` holds no integer
    if (!ReadSavedIndex(index, view))
        return;
    m_nSavedLanguage = index;

    LanguageRows rows;
    if (!ReadLanguageRows(rows, view))
        return;
    // An index that names no language would leave the list without a selection and be
    // saved as -1; the first language stands in, and the save then mends the table.
    if (index < 0 || static_cast<std::size_t>(index) >= rows.size())
        index = LANG_FIRST_LANGUAGE;
    ListLanguageNames(rows, index, view);
    view.SelectLanguageItem(index);
    OnSelchangeLanguage(view);
}

bool LanguageDb::ApplyInterfaceTexts(int language, LanguageView& view) {
    char sql[100];
    std::snprintf(sql, sizeof sql, "select * from interface where language='%s'",
                  LanguageKey(language));
    Statement statement = Prepare(m_pLanguageDb, sql);
    if (!statement) {
        view.ShowMessage(LANG_MSG_PREPARE_FAILED);
        return false;
    }
    // Rows in the order returned: a later row with the same key overwrites an earlier.
    while (sqlite3_step(statement.get()) == SQLITE_ROW) {
        int columns = sqlite3_column_count(statement.get());
        for (int i = 0; i < columns; ++i) {
            int control = InterfaceCellControl(i);
            // A cell that is no text leaves its control's text as it is.
            if (control == LANG_NO_CONTROL ||
                sqlite3_column_type(statement.get(), i) != SQLITE_TEXT)
                continue;
            view.SetControlText(control, CutCellText(reinterpret_cast<const char*>(
                                             sqlite3_column_text(statement.get(), i))));
        }
    }
    return true;
}

void LanguageDb::OnSelchangeLanguage(LanguageView& view) {
    int sel = view.CurrentLanguageItem();
    view.ResetLanguageList();

    LanguageRows rows;
    if (!ReadLanguageRows(rows, view))
        return;
    ListLanguageNames(rows, sel, view);
    view.SelectLanguageItem(sel);

    if (!ApplyInterfaceTexts(sel, view))
        return;
    m_nSelectedLanguage = view.CurrentLanguageItem();
    SaveLanguage(view);
    view.RepaintAll();
}

void LanguageDb::SaveLanguage(LanguageView& view) {
    // With nothing selected there is no language to keep; -1 is never stored.
    if (m_nSelectedLanguage < 0)
        return;
    char sql[100];
    std::snprintf(sql, sizeof sql, "update current set language=%d where language=%d",
                  m_nSelectedLanguage, m_nSavedLanguage);
    // An update that finds no row saved nothing either (another finder changed the
    // table meanwhile): the user is told, as for any failed update.
    if (m_pLanguageDb == nullptr ||
        sqlite3_exec(m_pLanguageDb, sql, nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_changes(m_pLanguageDb) == 0) {
        view.ShowMessage(LANG_MSG_UPDATE_FAILED);
        return;
    }
    m_nSavedLanguage = m_nSelectedLanguage;
}
