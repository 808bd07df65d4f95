#include "tests/i18n/language_test_support.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

void RecordingView::ResetLanguageList() {
    items.clear();
    selected = -1;
}

void RecordingView::AddLanguageItem(const std::string& text) {
    items.push_back(text);
}

void RecordingView::SelectLanguageItem(int index) {
    selected = (index >= 0 && static_cast<std::size_t>(index) < items.size()) ? index : -1;
}

void RecordingView::SetControlText(int id, const std::string& text) {
    texts[id] = text;
    ++textsSet;
}

void LanguageStoreTest::Start(LanguageDb& store, RecordingView& view, int busyTimeoutMs) {
    store.OpenLanguageDb(m_path, view, false, busyTimeoutMs);
    store.InitLanguageList(view);
}

std::string ShippedSql() {
    std::string sql = ReadFile(FINDER_LANGUAGE_SQL);
    EXPECT_FALSE(sql.empty()) << FINDER_LANGUAGE_SQL;
    return sql;
}

void RunSql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    int result = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    EXPECT_EQ(result, SQLITE_OK) << (error ? error : "") << "\n" << sql;
    sqlite3_free(error);
    sqlite3_close(db);
}

std::string Query(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    std::string result;
    EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), SQLITE_OK) << sql;
    while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW) {
        if (!result.empty())
            result += ';';
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            const unsigned char* text = sqlite3_column_text(statement, i);
            if (i > 0) {
                result += '|';
            }
            result += text ? reinterpret_cast<const char*>(text) : "null";
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return result;
}

int StoredLanguage(const std::string& path) {
    sqlite3* db = nullptr;
    int value = -100;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "select language from current", -1, &statement, nullptr) ==
                SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW &&
            sqlite3_column_type(statement, 0) == SQLITE_INTEGER)
            value = sqlite3_column_int(statement, 0);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return value;
}

std::vector<std::string> ShippedNames(int column) {
    TempFolder folder;
    std::string path = folder.File("names.db");
    RunSql(path, ShippedSql());
    sqlite3* db = nullptr;
    std::vector<std::string> names;
    sqlite3_open(path.c_str(), &db);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "select * from language", -1, &statement, nullptr) == SQLITE_OK)
        while (sqlite3_step(statement) == SQLITE_ROW)
            names.emplace_back(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return names;
}
