// The language store against real language.db files: the list, the texts, the saved
// choice, and the unusual tables a translator may leave behind.
#include <gtest/gtest.h>

#include "i18n/language_db.h"
#include "i18n/language_texts.h"
#include "tests/i18n/language_test_support.h"

namespace {

const std::vector<std::string> ENGLISH_NAMES = {
    "English", "Simplified Chinese", "Traditional Chinese", "French", "German", "Japanese"};

// A small database with 16-column interface rows: cell i of key K holds "K i".
std::string SmallTables(int languages = 2) {
    std::string sql = "create table current (language integer);"
                      "insert into current values (0);";
    std::string columns;
    for (int k = 0; k < languages; ++k)
        columns += (k ? ", " : "") + std::string("c") + std::to_string(k) + " text";
    sql += "create table language (" + columns + ");";
    for (int r = 0; r < languages; ++r) {
        std::string values;
        for (int k = 0; k < languages; ++k)
            values +=
                (k ? ", " : "") + ("'L" + std::to_string(r) + " in " + std::to_string(k)) + "'";
        sql += "insert into language values (" + values + ");";
    }
    sql += "create table interface (language text";
    for (int i = 1; i < 16; ++i)
        sql += ", t" + std::to_string(i); // no type: numbers stay numbers
    sql += ");";
    return sql;
}

std::string InterfaceRow(const std::string& key) {
    std::string sql = "insert into interface values ('" + key + "'";
    for (int i = 1; i < 16; ++i)
        sql += ", '" + key + " " + std::to_string(i) + "'";
    return sql + ");";
}

class LanguageDbTest : public LanguageStoreTest {};

TEST_F(LanguageDbTest, StartListsTheNamesInTheSavedLanguageAndSelectsItsRow) {
    RunSql(m_path, ShippedSql() + "update current set language=3;"
                                  "create table log (old integer, new integer);"
                                  "create trigger logged after update on current begin "
                                  "insert into log values (old.language, new.language); end;");
    LanguageDb store;
    RecordingView view;
    Start(store, view);

    EXPECT_EQ(view.items, ShippedNames(3));
    EXPECT_EQ(view.selected, 3);
    EXPECT_EQ(view.texts[1019], "Compte");
    EXPECT_EQ(view.texts[LANG_CAPTION_ID], "Recherche de caméras IP");
    EXPECT_EQ(view.texts[1002], "Quitter");
    EXPECT_EQ(view.textsSet, 13);
    EXPECT_EQ(view.repaints, 1);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(store.SavedLanguage(), 3);
    EXPECT_EQ(store.SelectedLanguage(), 3);
    // The start writes the saved index back unchanged, exactly once.
    EXPECT_EQ(Query(m_path, "select * from log"), "3|3");
}

TEST_F(LanguageDbTest, PickingALanguageRefillsTheListAppliesItsTextsAndSavesIt) {
    RunSql(m_path, ShippedSql());
    LanguageDb store;
    RecordingView view;
    Start(store, view);
    ASSERT_EQ(view.items, ENGLISH_NAMES);
    EXPECT_EQ(view.texts[1019], "Acount");

    view.Pick(4);
    store.OnSelchangeLanguage(view);
    EXPECT_EQ(view.items, ShippedNames(4));
    EXPECT_EQ(view.selected, 4);
    EXPECT_EQ(view.texts[1025], "Netzmaske");
    EXPECT_EQ(view.texts[1001], "Suchen");
    EXPECT_EQ(StoredLanguage(m_path), 4);

    // A second change is stored too: the update names the row as it now stands.
    view.Pick(1);
    store.OnSelchangeLanguage(view);
    EXPECT_EQ(view.items, ShippedNames(1));
    EXPECT_EQ(view.texts[1012], "提交");
    EXPECT_EQ(StoredLanguage(m_path), 1);
    EXPECT_EQ(view.repaints, 3);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(LanguageDbTest, TheChoiceSurvivesARestart) {
    RunSql(m_path, ShippedSql());
    {
        LanguageDb store;
        RecordingView view;
        Start(store, view);
        view.Pick(5);
        store.OnSelchangeLanguage(view);
        store.Close();
        EXPECT_FALSE(store.IsOpen());
    }
    LanguageDb store;
    RecordingView view;
    Start(store, view);
    EXPECT_EQ(view.items, ShippedNames(5));
    EXPECT_EQ(view.selected, 5);
    EXPECT_EQ(view.texts[1020], "パスワード");
    EXPECT_EQ(view.texts[LANG_CAPTION_ID], "IPカメラ検索ツール");
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(LanguageDbTest, AKeyWithoutInterfaceRowChangesNoTextButIsSaved) {
    RunSql(m_path, SmallTables() + InterfaceRow("English"));
    LanguageDb store;
    RecordingView view;
    Start(store, view);
    ASSERT_EQ(view.textsSet, 13);

    view.Pick(1); // ChinaGB has no row
    store.OnSelchangeLanguage(view);
    EXPECT_EQ(view.textsSet, 13);
    EXPECT_EQ(view.texts[1019], "English 2");
    EXPECT_EQ(view.items, (std::vector<std::string>{"L0 in 1", "L1 in 1"}));
    EXPECT_EQ(StoredLanguage(m_path), 1);
    EXPECT_EQ(view.repaints, 2);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(LanguageDbTest, OfTwoRowsWithOneKeyTheLaterWinsAndItsNonTextCellsAreSkipped) {
    RunSql(m_path, SmallTables() + InterfaceRow("English") + InterfaceRow("English") +
                       "update interface set t2='second', t3=null, t5=42, t13=x'00ff' "
                       "where rowid=2;");
    LanguageDb store;
    RecordingView view;
    Start(store, view);
    EXPECT_EQ(view.texts[1019], "second");
    // NULL, integer and blob cells leave the earlier row's texts, not a repeat of the
    // previous text cell.
    EXPECT_EQ(view.texts[1020], "English 3");
    EXPECT_EQ(view.texts[1022], "English 5");
    EXPECT_EQ(view.texts[LANG_CAPTION_ID], "English 13");
    EXPECT_EQ(view.textsSet, 13 + 10);
}

TEST_F(LanguageDbTest, CellsZeroOneFourAndAboveFifteenReachNoControl) {
    // Twenty columns, the key at position 17: every other cell holds its position.
    std::string sql = "create table current (language integer); insert into current values (0);"
                      "create table language (c0 text); insert into language values ('E');"
                      "create table interface (";
    std::string values;
    for (int i = 0; i < 20; ++i) {
        const std::string column = i == 17 ? "language" : "p" + std::to_string(i);
        const std::string cell = i == 17 ? "English" : "cell " + std::to_string(i);
        sql += (i ? ", " : "") + column;
        values += (i ? ", '" : "'") + cell + "'";
    }
    RunSql(m_path, sql + "); insert into interface values (" + values + ");");

    LanguageDb store;
    RecordingView view;
    Start(store, view);
    const std::map<int, std::string> expected = {{1019, "cell 2"},
                                                 {1020, "cell 3"},
                                                 {1022, "cell 5"},
                                                 {1023, "cell 6"},
                                                 {1024, "cell 7"},
                                                 {1025, "cell 8"},
                                                 {1026, "cell 9"},
                                                 {1027, "cell 10"},
                                                 {1012, "cell 11"},
                                                 {1028, "cell 12"},
                                                 {LANG_CAPTION_ID, "cell 13"},
                                                 {1001, "cell 14"},
                                                 {1002, "cell 15"}};
    EXPECT_EQ(view.texts, expected);
    EXPECT_EQ(view.textsSet, 13);
}

TEST_F(LanguageDbTest, A259ByteTextStaysWholeALongerOneIsCutAtACharacterBoundary) {
    std::string whole(259, 'a');
    std::string ascii(300, 'b');
    std::string wide = std::string(257, 'c') + "中"; // 260 bytes; the 3-byte character crosses
    RunSql(m_path, SmallTables() + InterfaceRow("English") + "update interface set t2='" + whole +
                       "', t3='" + ascii + "', t5='" + wide + "';");
    LanguageDb store;
    RecordingView view;
    Start(store, view);
    EXPECT_EQ(view.texts[1019], whole);
    EXPECT_EQ(view.texts[1020], std::string(259, 'b'));
    EXPECT_EQ(view.texts[1022], std::string(257, 'c'));
}

TEST_F(LanguageDbTest, ASeventhLanguageListsItsNamesUsesTheEmptyKeyAndIsSaved) {
    std::string sql = SmallTables(7);
    for (const char* key : {"English", "ChinaGB", "ChinaBG", "French", "German", "Japan", ""})
        sql += InterfaceRow(key);
    RunSql(m_path, sql);
    LanguageDb store;
    RecordingView view;
    Start(store, view);
    view.Pick(6);
    store.OnSelchangeLanguage(view);
    ASSERT_EQ(view.items.size(), 7u);
    EXPECT_EQ(view.items[0], "L0 in 6");
    EXPECT_EQ(view.items[6], "L6 in 6");
    EXPECT_EQ(view.selected, 6);
    EXPECT_EQ(view.texts[1019], " 2");
    EXPECT_EQ(StoredLanguage(m_path), 6);

    LanguageDb restarted;
    RecordingView again;
    Start(restarted, again);
    EXPECT_EQ(again.selected, 6);
    EXPECT_EQ(again.texts[1002], " 15");
}

TEST_F(LanguageDbTest, ASavedIndexThatNamesNoLanguageFallsBackToTheFirstAndIsMended) {
    for (int stored : {9, 6, -1}) {
        SCOPED_TRACE(stored);
        std::remove(m_path.c_str());
        RunSql(m_path, ShippedSql() + "update current set language=" + std::to_string(stored));
        LanguageDb store;
        RecordingView view;
        Start(store, view);
        EXPECT_EQ(view.items, ENGLISH_NAMES);
        EXPECT_EQ(view.selected, 0);
        EXPECT_EQ(view.texts[1019], "Acount");
        EXPECT_TRUE(view.messages.empty());
        EXPECT_EQ(StoredLanguage(m_path), 0);
    }
}

TEST_F(LanguageDbTest, AnEmptyLanguageTableListsNothingAndNeverSavesMinusOne) {
    RunSql(m_path, SmallTables() + "delete from language;" + InterfaceRow("English"));
    LanguageDb store;
    RecordingView view;
    Start(store, view);
    EXPECT_TRUE(view.items.empty());
    EXPECT_EQ(view.selected, -1);
    EXPECT_EQ(view.textsSet, 0);
    EXPECT_EQ(StoredLanguage(m_path), 0);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(LanguageDbTest, ANameThatIsNoTextListsAnEmptyItemInItsRow) {
    RunSql(m_path,
           SmallTables(3) + "update language set c0=null where rowid=2;" + InterfaceRow("English"));
    LanguageDb store;
    RecordingView view;
    Start(store, view);
    EXPECT_EQ(view.items, (std::vector<std::string>{"L0 in 0", "", "L2 in 0"}));
}

TEST_F(LanguageDbTest, TheLastIntegerOfTableCurrentIsTheSavedIndex) {
    RunSql(m_path, ShippedSql() + "insert into current values ('text');"
                                  "insert into current values (2);");
    LanguageDb store;
    RecordingView view;
    Start(store, view);
    EXPECT_EQ(view.selected, 2);
    EXPECT_EQ(view.texts[1001], "重新整理");
}

} // namespace
