#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "i18n/window_texts.h"

struct sqlite3;
struct sqlite3_stmt;
class LanguageView;

// The file the finder opens, in its current directory.
constexpr const char* LANG_DB_FILE = "language.db";

// What the store shows when the database fails it. The texts are the finder's own.
constexpr const char* LANG_MSG_OPEN_FAILED = "open datebase false";
constexpr const char* LANG_MSG_PREPARE_FAILED = "Sqlite Prepare false";
constexpr const char* LANG_MSG_UPDATE_FAILED = "Update database fall";
// When another program kept its lock past the wait, TEXT_DATABASE_BUSY is said instead of
// the two above.

// How long a statement waits for another program's lock on the file before it gives up.
constexpr int LANG_BUSY_TIMEOUT_MS = 3000;

// The language store of the finder's window: the connection to language.db, the saved
// language index (table `current`) and the selected one. It decides what to read, which
// text goes to which control and what to save; the window only applies what it is given
// through its LanguageView. Every failure is shown as one message through the view and
// ends the operation. All calls come from the window's thread.
class LanguageDb {
public:
    LanguageDb() = default;
    ~LanguageDb();
    LanguageDb(const LanguageDb&) = delete;
    LanguageDb& operator=(const LanguageDb&) = delete;

    // Opens an existing database for reading and writing. A missing file is reported
    // like any other failure to open, never created empty. A database opened read-only
    // (one the user may not change) gives its texts, and the picks are not saved: the
    // caller has told the user so once. Every statement on the connection waits up to
    // busyTimeoutMs for a lock another program holds.
    void OpenLanguageDb(const std::string& path, LanguageView& view, bool readOnly = false,
                        int busyTimeoutMs = LANG_BUSY_TIMEOUT_MS);

    // Reads the saved index, lists the language names written in that language, selects
    // its row and applies it (which saves it). A saved index that names no language
    // falls back to the first language.
    void InitLanguageList(LanguageView& view);

    // Applies the language selected in the list: refills the list in that language,
    // sets the texts of table `interface` on the controls, saves the choice, repaints.
    void OnSelchangeLanguage(LanguageView& view);

    // Writes the selected index into table `current`.
    void SaveLanguage(LanguageView& view);

    // The window's further texts in the language applied last (English until then).
    const CWindowTexts& Texts() const { return m_windowTexts; }

    // The encoding the user named for camera texts, as saved in table `text_encoding`;
    // empty when none was saved (an older language.db has no such table).
    std::string SavedEncoding() const;
    // Saves it, making the table in an older language.db; a failure is shown.
    void SaveEncoding(const std::string& name, LanguageView& view);

    // The addresses every search also asks, as saved in table `search_target`, in order;
    // none when none were saved (an older language.db has no such table).
    std::vector<std::string> SavedSearchTargets() const;
    // Saves them in place of the ones saved before, making the table in an older
    // language.db; a failure is shown.
    void SaveSearchTargets(const std::vector<std::string>& targets, LanguageView& view);

    // Closes the connection; harmless when none is open.
    void Close();

    bool IsOpen() const { return m_pLanguageDb != nullptr; }
    // The index as table `current` holds it, which may name no language at all.
    std::int64_t SavedLanguage() const { return m_nSavedLanguage; }
    int SelectedLanguage() const { return m_nSelectedLanguage; }

private:
    using LanguageRows = std::vector<std::vector<std::string>>;
    bool ReadAllRows(const char* sql, LanguageView& view,
                     const std::function<void(sqlite3_stmt*)>& onRow);
    bool ReadSavedIndex(std::int64_t& index, LanguageView& view);
    bool ReadLanguageRows(LanguageRows& rows, LanguageView& view);
    bool ApplyInterfaceTexts(int language, LanguageView& view);

    sqlite3* m_pLanguageDb = nullptr;
    std::int64_t m_nSavedLanguage = 0;
    CWindowTexts m_windowTexts;
    bool m_bReadOnly = false;
    int m_nSelectedLanguage = 0;
};
