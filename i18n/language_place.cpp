#include "i18n/language_place.h"

#include <filesystem>
#include <optional>
#include <random>
#include <sqlite3.h>

namespace {

namespace fs = std::filesystem;

// A connection that closes when it goes; get() is null when the file did not open.
class Connection {
public:
    Connection(const std::string& path, int flags) {
        if (sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
            sqlite3_close(m_db);
            m_db = nullptr;
            return;
        }
        // Another finder may be saving its pick this very moment.
        sqlite3_busy_timeout(m_db, 2000);
    }
    ~Connection() { sqlite3_close(m_db); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* get() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

// Every cell of a select, in order, typed, so that NULL and '' or 1 and '1' differ.
std::optional<std::vector<std::string>> Cells(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (db == nullptr || sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return std::nullopt;
    }
    std::vector<std::string> cells;
    int result;
    while ((result = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
            cells.push_back(std::to_string(sqlite3_column_type(statement, i)) + ":" +
                            (text != nullptr ? text : ""));
        }
        cells.emplace_back(); // the end of a row
    }
    sqlite3_finalize(statement);
    if (result != SQLITE_DONE) {
        return std::nullopt;
    }
    return cells;
}

// What a database gives the window: the language names and the texts of every language.
std::optional<std::vector<std::string>> Texts(const std::string& path) {
    const Connection db(path, SQLITE_OPEN_READONLY);
    std::optional<std::vector<std::string>> names = Cells(db.get(), "select * from language");
    std::optional<std::vector<std::string>> texts = Cells(db.get(), "select * from interface");
    if (!names || !texts) {
        return std::nullopt;
    }
    names->emplace_back("interface");
    names->insert(names->end(), texts->begin(), texts->end());
    // The window's further texts: an older database has none.
    if (const auto windowTexts = Cells(db.get(), "select * from window_text")) {
        names->emplace_back("window_text");
        names->insert(names->end(), windowTexts->begin(), windowTexts->end());
    }
    return names;
}

// The language picked in a database: the last integer cell of table `current`.
std::optional<int> Pick(const std::string& path) {
    const Connection db(path, SQLITE_OPEN_READONLY);
    sqlite3_stmt* statement = nullptr;
    std::optional<int> pick;
    if (db.get() != nullptr && sqlite3_prepare_v2(db.get(), "select * from current", -1, &statement,
                                                  nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                if (sqlite3_column_type(statement, i) == SQLITE_INTEGER) {
                    pick = sqlite3_column_int(statement, i);
                }
            }
        }
    }
    sqlite3_finalize(statement);
    return pick;
}

// Carries a pick into a fresh copy, as long as the copy still has that language; a pick
// it no longer has leaves the copy's own.
bool CarryPick(const std::string& path, int pick) {
    const Connection db(path, SQLITE_OPEN_READWRITE);
    const std::optional<std::vector<std::string>> rows =
        Cells(db.get(), "select count(*) from language");
    if (!rows || rows->empty()) {
        return false;
    }
    const int languages = std::stoi(rows->front().substr(rows->front().find(':') + 1));
    if (pick < 0 || pick >= languages) {
        return true;
    }
    const std::string sql = "update current set language=" + std::to_string(pick);
    return sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The encoding the user named for camera texts in a copy, when the copy has one.
std::optional<std::string> SavedEncoding(const std::string& path) {
    const Connection db(path, SQLITE_OPEN_READONLY);
    const std::optional<std::vector<std::string>> rows =
        Cells(db.get(), "select encoding from text_encoding");
    if (!rows || rows->empty()) {
        return std::nullopt;
    }
    return rows->front().substr(rows->front().find(':') + 1);
}

// Carries the named encoding into a fresh copy that keeps one (an older one may not).
bool CarryEncoding(const std::string& path, const std::string& encoding) {
    const Connection db(path, SQLITE_OPEN_READWRITE);
    char* sql = sqlite3_mprintf("update text_encoding set encoding=%Q", encoding.c_str());
    const int result = sqlite3_exec(db.get(), sql, nullptr, nullptr, nullptr);
    sqlite3_free(sql);
    return result == SQLITE_OK || !SavedEncoding(path);
}

// A name beside the copy that no other finder starting at the same moment picks.
std::string FreshName(const std::string& copy) {
    std::random_device random;
    return copy + ".new-" + std::to_string(random());
}

// Puts the shipped database in the copy's place, with the pick and the named encoding
// carried over. The new file
// is written beside the copy and renamed over it, so the copy is either whole or as it was.
bool RenewCopy(const std::string& shipped, const std::string& copy, std::optional<int> pick,
               std::string& detail) {
    const std::string fresh = FreshName(copy);
    const std::optional<std::string> encoding = SavedEncoding(copy);
    std::error_code error;
    fs::copy_file(shipped, fresh, fs::copy_options::overwrite_existing, error);
    if (!error) {
        // A shipped file is often read-only; the copy must take the user's picks.
        fs::permissions(fresh, fs::perms::owner_read | fs::perms::owner_write,
                        fs::perm_options::add, error);
    }
    if (!error && pick && !CarryPick(fresh, *pick)) {
        error = std::make_error_code(std::errc::io_error);
    }
    if (!error && encoding && !CarryEncoding(fresh, *encoding)) {
        error = std::make_error_code(std::errc::io_error);
    }
    if (!error) {
        fs::rename(fresh, copy, error);
    }
    if (error) {
        detail = copy + ": " + error.message();
        std::error_code ignored;
        fs::remove(fresh, ignored);
        return false;
    }
    return true;
}

std::string FirstFile(const std::vector<std::string>& candidates) {
    for (const std::string& candidate : candidates) {
        std::error_code error;
        if (fs::is_regular_file(candidate, error)) {
            return candidate;
        }
    }
    return {};
}

// The user's copy, for reading and writing.
LanguagePlace Copy(const std::string& copy) {
    LanguagePlace place;
    place.path = copy;
    return place;
}

LanguagePlace NotFound(const LanguageSearch& search, const std::string& copy) {
    LanguagePlace place;
    place.note = LanguagePlaceNote::NotFound;
    place.tried = search.shipped;
    if (!copy.empty()) {
        place.tried.push_back(copy);
    }
    return place;
}

// The shipped file itself, opened read-only: the window has its texts, the pick is lost.
LanguagePlace ReadOnly(const std::string& shipped, LanguagePlaceNote note, std::string detail) {
    LanguagePlace place;
    place.path = shipped;
    place.readOnly = true;
    place.note = note;
    place.detail = std::move(detail);
    return place;
}

} // namespace

LanguagePlace PlaceLanguageDb(const LanguageSearch& search) {
    const std::string shipped = FirstFile(search.shipped);
    const std::string copy = search.userFolder.empty()
                                 ? std::string()
                                 : (fs::path(search.userFolder) / LANG_PLACE_FILE).string();
    std::error_code error;
    const bool haveCopy = !copy.empty() && fs::is_regular_file(copy, error);
    if (shipped.empty()) {
        return haveCopy ? Copy(copy) : NotFound(search, copy);
    }
    if (copy.empty()) {
        return ReadOnly(shipped, LanguagePlaceNote::NoUserFolder, {});
    }
    fs::create_directories(search.userFolder, error);
    if (error) {
        return ReadOnly(shipped, LanguagePlaceNote::NoUserFolder,
                        search.userFolder + ": " + error.message());
    }
    // A shipped file that cannot be read renews nothing: the copy stays, or, without one,
    // the window opens the shipped file and reports what is wrong with it.
    const std::optional<std::vector<std::string>> shippedTexts = Texts(shipped);
    if (!shippedTexts) {
        return haveCopy ? Copy(copy) : ReadOnly(shipped, LanguagePlaceNote::None, {});
    }
    // The same texts: the copy stays as it is. Different or unreadable ones are renewed.
    if (haveCopy && Texts(copy) == shippedTexts) {
        return Copy(copy);
    }
    std::string detail;
    if (!RenewCopy(shipped, copy, haveCopy ? Pick(copy) : std::nullopt, detail)) {
        return ReadOnly(shipped, LanguagePlaceNote::CopyFailed, detail);
    }
    return Copy(copy);
}
