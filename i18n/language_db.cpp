#include "i18n/language_db.h"

#include <sqlite3.h>

#include <cstdio>
#include <functional>

#include "core/messages/finder_texts.h"
#include "i18n/language_texts.h"
#include "i18n/language_view.h"

namespace {

// Runs a select and hands each row to onRow. SQLITE_OK, or the failure: no connection
// (SQLITE_MISUSE), a statement that does not compile (a missing table, a file that is no
// database) or a step that fails (a lock another program kept past the busy wait). The
// caller then reports it, rather than going on with rows silently missing.
int ReadRows(sqlite3* db, const char* sql, const std::function<void(sqlite3_stmt*)>& onRow) {
    if (db == nullptr)
        return SQLITE_MISUSE;
    sqlite3_stmt* statement = nullptr;
    if (const int prepared = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
        prepared != SQLITE_OK) {
        sqlite3_finalize(statement);
        return prepared;
    }
    int result;
    while ((result = sqlite3_step(statement)) == SQLITE_ROW)
        onRow(statement);
    sqlite3_finalize(statement);
    return result == SQLITE_DONE ? SQLITE_OK : result;
}

// A lock that outlasted the wait is named as such, in the language applied last (the
// texts were read before the lock came); anything else keeps the finder's own text.
std::string FailureText(int result, const char* otherwise, const CWindowTexts& texts) {
    const int primary = result & 0xFF; // extended codes carry the primary one in the low byte
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED ? texts.Text(TEXT_DATABASE_BUSY)
                                                              : otherwise;
}

const char* CellText(sqlite3_stmt* statement, int column) {
    return reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
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

// Runs a select; a failure is shown through the view. True when every row was read.
bool LanguageDb::ReadAllRows(const char* sql, LanguageView& view,
                             const std::function<void(sqlite3_stmt*)>& onRow) {
    const int result = ReadRows(m_pLanguageDb, sql, onRow);
    if (result != SQLITE_OK)
        view.ShowMessage(FailureText(result, LANG_MSG_PREPARE_FAILED, m_windowTexts));
    return result == SQLITE_OK;
}

LanguageDb::~LanguageDb() {
    Close();
}

void LanguageDb::OpenLanguageDb(const std::string& path, LanguageView& view, bool readOnly,
                                int busyTimeoutMs) {
    Close();
    // No SQLITE_OPEN_CREATE: a finder started in the wrong folder must say so, not leave
    // an empty language.db there.
    sqlite3* db = nullptr;
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        view.ShowMessage(LANG_MSG_OPEN_FAILED);
        return;
    }
    // A second finder starting at the same moment holds the file only briefly.
    sqlite3_busy_timeout(db, busyTimeoutMs);
    m_pLanguageDb = db;
    m_bReadOnly = readOnly;
}

void LanguageDb::Close() {
    sqlite3_close(m_pLanguageDb);
    m_pLanguageDb = nullptr;
}

bool LanguageDb::ReadSavedIndex(std::int64_t& index, LanguageView& view) {
    // The last integer cell of the table wins, read whole: cut to 32 bits, a large value
    // could pass for a language, and the save could never find its row again.
    return ReadAllRows("select * from current", view, [&](sqlite3_stmt* row) {
        for (int i = 0; i < sqlite3_column_count(row); ++i)
            if (sqlite3_column_type(row, i) == SQLITE_INTEGER)
                index = sqlite3_column_int64(row, i);
    });
}

bool LanguageDb::ReadLanguageRows(LanguageRows& rows, LanguageView& view) {
    return ReadAllRows("select * from language", view, [&](sqlite3_stmt* row) {
        std::vector<std::string>& names = rows.emplace_back();
        for (int i = 0; i < sqlite3_column_count(row); ++i)
            names.push_back(sqlite3_column_type(row, i) == SQLITE_TEXT
                                ? CutCellText(CellText(row, i))
                                : std::string());
    });
}

void LanguageDb::InitLanguageList(LanguageView& view) {
    std::int64_t saved = LANG_FIRST_LANGUAGE; // when table `current` holds no integer
    if (!ReadSavedIndex(saved, view))
        return;
    m_nSavedLanguage = saved;

    LanguageRows rows;
    if (!ReadLanguageRows(rows, view))
        return;
    // An index that names no language would leave the list without a selection and be
    // saved as -1; the first language stands in, and the save then mends the table (its
    // update looks for the row by the value as stored).
    const bool names = saved >= 0 && static_cast<std::uint64_t>(saved) < rows.size();
    const int index = names ? static_cast<int>(saved) : LANG_FIRST_LANGUAGE;
    ListLanguageNames(rows, index, view);
    view.SelectLanguageItem(index);
    OnSelchangeLanguage(view);
}

bool LanguageDb::ApplyInterfaceTexts(int language, LanguageView& view) {
    char sql[100];
    std::snprintf(sql, sizeof sql, "select * from interface where language='%s'",
                  LanguageKey(language));
    // Rows in the order returned: a later row with the same key overwrites an earlier.
    return ReadAllRows(sql, view, [&](sqlite3_stmt* row) {
        for (int i = 0; i < sqlite3_column_count(row); ++i) {
            int control = InterfaceCellControl(i);
            // A cell that is no text leaves its control's text as it is.
            if (control != LANG_NO_CONTROL && sqlite3_column_type(row, i) == SQLITE_TEXT)
                view.SetControlText(control, CutCellText(CellText(row, i)));
        }
    });
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
    m_windowTexts.Load(m_pLanguageDb, LanguageKey(sel));
    view.ApplyWindowTexts(m_windowTexts);
    m_nSelectedLanguage = view.CurrentLanguageItem();
    SaveLanguage(view);
    view.RepaintAll();
}

void LanguageDb::SaveLanguage(LanguageView& view) {
    // With nothing selected there is no language to keep; -1 is never stored. A read-only
    // database keeps nothing, and the user has been told.
    if (m_nSelectedLanguage < 0 || m_bReadOnly)
        return;
    char sql[100];
    std::snprintf(sql, sizeof sql, "update current set language=%d where language=%lld",
                  m_nSelectedLanguage, static_cast<long long>(m_nSavedLanguage));
    // An update that finds no row saved nothing either (another finder changed the
    // table meanwhile): the user is told, as for any failed update.
    const int result = m_pLanguageDb == nullptr
                           ? SQLITE_MISUSE
                           : sqlite3_exec(m_pLanguageDb, sql, nullptr, nullptr, nullptr);
    if (result != SQLITE_OK || sqlite3_changes(m_pLanguageDb) == 0) {
        view.ShowMessage(FailureText(result, LANG_MSG_UPDATE_FAILED, m_windowTexts));
        return;
    }
    m_nSavedLanguage = m_nSelectedLanguage;
}

std::string LanguageDb::SavedEncoding() const {
    std::string name;
    // Quietly nothing when the table is missing: an older language.db names no encoding.
    ReadRows(m_pLanguageDb, "select encoding from text_encoding", [&](sqlite3_stmt* row) {
        if (sqlite3_column_type(row, 0) == SQLITE_TEXT)
            name = CutCellText(CellText(row, 0));
    });
    return name;
}

std::vector<std::string> LanguageDb::SavedSearchTargets() const {
    std::vector<std::string> targets;
    ReadRows(m_pLanguageDb, "select target from search_target order by rowid",
             [&](sqlite3_stmt* row) {
                 if (sqlite3_column_type(row, 0) == SQLITE_TEXT)
                     targets.push_back(CellText(row, 0));
             });
    return targets;
}

void LanguageDb::SaveSearchTargets(const std::vector<std::string>& targets, LanguageView& view) {
    if (m_bReadOnly)
        return; // the user was told at start that nothing is kept
    // All rows or none: a failure half-way keeps the list saved before.
    std::string sql = "begin;"
                      "create table if not exists search_target (target text not null);"
                      "delete from search_target;";
    for (const std::string& target : targets) {
        char* insert = sqlite3_mprintf("insert into search_target values (%Q);", target.c_str());
        if (insert == nullptr) {
            view.ShowMessage(LANG_MSG_UPDATE_FAILED);
            return;
        }
        sql += insert;
        sqlite3_free(insert);
    }
    sql += "commit;";
    if (m_pLanguageDb != nullptr &&
        sqlite3_exec(m_pLanguageDb, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK)
        return;
    if (m_pLanguageDb != nullptr)
        sqlite3_exec(m_pLanguageDb, "rollback;", nullptr, nullptr, nullptr);
    view.ShowMessage(LANG_MSG_UPDATE_FAILED);
}

void LanguageDb::SaveEncoding(const std::string& name, LanguageView& view) {
    // One row; an older language.db gets the table on the first save.
    char* sql = sqlite3_mprintf(
        "create table if not exists text_encoding (encoding text not null);"
        "update text_encoding set encoding=%Q;"
        "insert into text_encoding select %Q where not exists (select * from text_encoding);",
        name.c_str(), name.c_str());
    const bool saved = m_pLanguageDb != nullptr && sql != nullptr &&
                       sqlite3_exec(m_pLanguageDb, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_free(sql);
    if (!saved)
        view.ShowMessage(LANG_MSG_UPDATE_FAILED);
}
