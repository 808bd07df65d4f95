#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "i18n/language_db.h"
#include "i18n/language_view.h"
#include "tests/support/test_files.h"

struct sqlite3;

// A window for the language store that records what it is told. Its list behaves like
// the finder's combo box: selecting an index that has no item selects nothing.
class RecordingView : public LanguageView {
public:
    void ResetLanguageList() override;
    void AddLanguageItem(const std::string& text) override;
    void SelectLanguageItem(int index) override;
    int CurrentLanguageItem() const override { return selected; }
    void SetControlText(int id, const std::string& text) override;
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void RepaintAll() override { ++repaints; }

    // What a user's pick in the list does before the store hears of it.
    void Pick(int index) { selected = index; }

    std::vector<std::string> items;
    int selected = -1;
    std::map<int, std::string> texts;
    int textsSet = 0;
    std::vector<std::string> messages;
    int repaints = 0;
};

// A language.db in a fresh folder, and the start of the finder's window over it.
class LanguageStoreTest : public ::testing::Test {
protected:
    void Start(LanguageDb& store, RecordingView& view, int busyTimeoutMs = LANG_BUSY_TIMEOUT_MS);

    TempFolder m_folder;
    std::string m_path = m_folder.File("language.db");
};

std::string ShippedSql();

// Runs sql on the database at path (created when missing); fails the test on an error.
void RunSql(const std::string& path, const std::string& sql);

// The rows of a query, cells joined by '|' and rows by ';' (NULL as "null").
std::string Query(const std::string& path, const std::string& sql);

// The integer in table `current`, or -100 when it cannot be read.
int StoredLanguage(const std::string& path);

// The names of the languages in the shipped database, written in language column.
std::vector<std::string> ShippedNames(int column);
