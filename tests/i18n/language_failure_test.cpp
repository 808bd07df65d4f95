// Each way language.db can fail the finder: one message through the window, and the
// window and the file left as they were.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

#include "core/messages/finder_texts.h"
#include "i18n/language_db.h"
#include "i18n/language_texts.h"
#include "tests/i18n/language_test_support.h"

namespace {

class LanguageFailureTest : public LanguageStoreTest {
protected:
    // Nothing shown, nothing listed, no text set, nothing repainted.
    static void ExpectUntouched(const RecordingView& view) {
        EXPECT_TRUE(view.items.empty());
        EXPECT_EQ(view.textsSet, 0);
        EXPECT_EQ(view.repaints, 0);
    }
};

TEST_F(LanguageFailureTest, AMissingFileIsReportedAndNotCreated) {
    LanguageDb store;
    RecordingView view;
    Start(store, view);
    EXPECT_FALSE(store.IsOpen());
    EXPECT_EQ(view.messages,
              (std::vector<std::string>{LANG_MSG_OPEN_FAILED, LANG_MSG_PREPARE_FAILED}));
    ExpectUntouched(view);
    EXPECT_FALSE(std::filesystem::exists(m_path));
    store.Close(); // the close on destroy after a failed open
}

TEST_F(LanguageFailureTest, AFileThatCannotBeOpenedIsReported) {
    std::filesystem::create_directory(m_path);
    LanguageDb store;
    RecordingView view;
    Start(store, view);
    EXPECT_FALSE(store.IsOpen());
    EXPECT_EQ(view.messages,
              (std::vector<std::string>{LANG_MSG_OPEN_FAILED, LANG_MSG_PREPARE_FAILED}));
    ExpectUntouched(view);
}

TEST_F(LanguageFailureTest, AFileThatIsNoDatabaseFailsAtTheFirstStatementAndIsKept) {
    std::string garbage(4096, 'x');
    FILE* file = std::fopen(m_path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(garbage.data(), 1, garbage.size(), file);
    std::fclose(file);

    LanguageDb store;
    RecordingView view;
    Start(store, view);
    EXPECT_EQ(view.messages, std::vector<std::string>{LANG_MSG_PREPARE_FAILED});
    ExpectUntouched(view);
    store.Close();
    EXPECT_EQ(ReadFile(m_path), garbage);
}

TEST_F(LanguageFailureTest, AMissingTableInTheFillStopsIt) {
    for (const char* table : {"current", "language"}) {
        SCOPED_TRACE(table);
        std::remove(m_path.c_str());
        RunSql(m_path, ShippedSql() + "update current set language=2; drop table " + table);
        LanguageDb store;
        RecordingView view;
        Start(store, view);
        EXPECT_EQ(view.messages, std::vector<std::string>{LANG_MSG_PREPARE_FAILED});
        ExpectUntouched(view);
        if (std::string(table) == "language") {
            EXPECT_EQ(StoredLanguage(m_path), 2);
        }
    }
}

TEST_F(LanguageFailureTest, AMissingInterfaceTableLeavesTheListFilledAndTheTextsAsTheyWere) {
    RunSql(m_path, ShippedSql() + "update current set language=3; drop table interface;");
    LanguageDb store;
    RecordingView view;
    Start(store, view);
    EXPECT_EQ(view.messages, std::vector<std::string>{LANG_MSG_PREPARE_FAILED});
    EXPECT_EQ(view.items, ShippedNames(3));
    EXPECT_EQ(view.selected, 3);
    EXPECT_EQ(view.textsSet, 0);
    EXPECT_EQ(view.repaints, 0);
    EXPECT_EQ(StoredLanguage(m_path), 3);
}

TEST_F(LanguageFailureTest, ALanguageTableThatVanishesLeavesTheListEmptyOnTheNextPick) {
    RunSql(m_path, ShippedSql());
    LanguageDb store;
    RecordingView view;
    Start(store, view);
    ASSERT_TRUE(view.messages.empty());
    RunSql(m_path, "drop table language;");

    view.Pick(3);
    store.OnSelchangeLanguage(view);
    EXPECT_EQ(view.messages, std::vector<std::string>{LANG_MSG_PREPARE_FAILED});
    EXPECT_TRUE(view.items.empty());
    EXPECT_EQ(view.texts[1019], "Acount");
    EXPECT_EQ(view.repaints, 1);
    EXPECT_EQ(StoredLanguage(m_path), 0);
    EXPECT_EQ(store.SavedLanguage(), 0);
}

TEST_F(LanguageFailureTest, AFailedUpdateIsReportedTheTextsStayAppliedAndNothingIsSaved) {
    RunSql(m_path, ShippedSql() + "create trigger refuse before update on current "
                                  "when new.language = 2 begin select raise(abort, 'no'); end;");
    LanguageDb store;
    RecordingView view;
    Start(store, view);
    ASSERT_TRUE(view.messages.empty());

    view.Pick(2);
    store.OnSelchangeLanguage(view);
    EXPECT_EQ(view.messages, std::vector<std::string>{LANG_MSG_UPDATE_FAILED});
    EXPECT_EQ(view.texts[1019], "帳號");
    EXPECT_EQ(view.repaints, 2);
    EXPECT_EQ(store.SavedLanguage(), 0);
    EXPECT_EQ(StoredLanguage(m_path), 0);

    // The saved index still names the row, so the next pick is stored.
    view.Pick(3);
    store.OnSelchangeLanguage(view);
    EXPECT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(StoredLanguage(m_path), 3);
}

// Another program holds a lock on language.db while the user picks a language.
class LockedDatabase {
public:
    LockedDatabase(const std::string& path, const char* begin) {
        EXPECT_EQ(sqlite3_open(path.c_str(), &m_db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(m_db, begin, nullptr, nullptr, nullptr), SQLITE_OK);
    }
    ~LockedDatabase() {
        sqlite3_exec(m_db, "rollback", nullptr, nullptr, nullptr);
        sqlite3_close(m_db);
    }

private:
    sqlite3* m_db = nullptr;
};

// The store waits this long here, so that a lock held for the whole call fails fast.
constexpr int SHORT_BUSY_WAIT_MS = 100;

TEST_F(LanguageFailureTest, ADatabaseLockedForReadingIsReportedNotShownAsAnEmptyLanguage) {
    RunSql(m_path, ShippedSql());
    LanguageDb store;
    RecordingView view;
    Start(store, view, SHORT_BUSY_WAIT_MS);
    {
        LockedDatabase lock(m_path, "begin exclusive; update current set language=0");
        view.Pick(4);
        store.OnSelchangeLanguage(view);
    }
    EXPECT_EQ(view.messages, std::vector<std::string>{TEXT_DATABASE_BUSY.english});
    EXPECT_TRUE(view.items.empty());
    EXPECT_EQ(view.texts[1002], "Exit");
    EXPECT_EQ(view.repaints, 1);
    EXPECT_EQ(StoredLanguage(m_path), 0);

    // Once the lock is gone the list can be filled again and the pick goes through.
    store.InitLanguageList(view);
    view.Pick(4);
    store.OnSelchangeLanguage(view);
    EXPECT_EQ(view.texts[1002], "Beenden");
    EXPECT_EQ(StoredLanguage(m_path), 4);
}

TEST_F(LanguageFailureTest, ADatabaseLockedForWritingIsReportedAsInUse) {
    RunSql(m_path, ShippedSql());
    LanguageDb store;
    RecordingView view;
    Start(store, view, SHORT_BUSY_WAIT_MS);
    {
        LockedDatabase lock(m_path, "begin immediate");
        view.Pick(4);
        store.OnSelchangeLanguage(view);
    }

    // German was applied before the save failed: the message says it in German.
    EXPECT_EQ(view.messages,
              std::vector<std::string>{"language.db wird von einem anderen Programm verwendet"});
    EXPECT_EQ(view.texts[1002], "Beenden");
    EXPECT_EQ(store.SavedLanguage(), 0);
    EXPECT_EQ(StoredLanguage(m_path), 0);
}

// Another program holds the lock for a moment, as a second finder starting does: the
// store waits for it and goes on as if nothing had happened.
TEST_F(LanguageFailureTest, ALockReleasedWithinTheWaitIsNoFailure) {
    RunSql(m_path, ShippedSql());
    LanguageDb store;
    RecordingView view;
    Start(store, view);
    ASSERT_TRUE(view.messages.empty());
    for (const char* begin :
         {"begin exclusive; update current set language=0", "begin immediate"}) {
        std::promise<void> locked;
        std::thread holder([&] {
            LockedDatabase lock(m_path, begin);
            locked.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        });
        locked.get_future().wait();
        view.Pick(4);
        store.OnSelchangeLanguage(view);
        holder.join();
        EXPECT_TRUE(view.messages.empty()) << begin << ": " << view.messages.front();
        EXPECT_EQ(view.texts[1002], "Beenden");
        EXPECT_EQ(StoredLanguage(m_path), 4);
        RunSql(m_path, "update current set language=0");
        store.InitLanguageList(view);
    }
}

TEST_F(LanguageFailureTest, TwoFindersStartingTogetherBothStartTranslated) {
    RunSql(m_path, ShippedSql() + "update current set language=3;");
    auto startMany = [this](std::vector<std::string>& messages) {
        for (int round = 0; round < 20; ++round) {
            LanguageDb store;
            RecordingView view;
            Start(store, view);
            messages.insert(messages.end(), view.messages.begin(), view.messages.end());
        }
    };
    std::vector<std::string> first, second;
    std::thread other([&] { startMany(second); });
    startMany(first);
    other.join();
    EXPECT_TRUE(first.empty()) << first.front();
    EXPECT_TRUE(second.empty()) << second.front();
    EXPECT_EQ(StoredLanguage(m_path), 3);
}

// A saved index that names no language, even one that does not fit 32 bits, is put back
// to the first language without a word, and stays mended at the next start.
TEST_F(LanguageFailureTest, ASavedIndexOutsideTheLanguagesIsRepairedToTheFirst) {
    for (const char* stored :
         {"9223372036854775807", "-9223372036854775808", "4294967296", "4294967299", "-1", "6"}) {
        RunSql(m_path, "drop table if exists current; drop table if exists language; "
                       "drop table if exists interface; drop table if exists window_text; "
                       "drop table if exists text_encoding; drop table if exists search_target;" +
                           ShippedSql() + "update current set language=" + stored + ";");
        for (int start = 0; start < 2; ++start) {
            LanguageDb store;
            RecordingView view;
            Start(store, view);
            EXPECT_TRUE(view.messages.empty()) << stored << ": " << view.messages.front();
            EXPECT_EQ(view.selected, 0) << stored;
            EXPECT_EQ(view.texts[1002], "Exit") << stored;
            EXPECT_EQ(store.SavedLanguage(), 0) << stored;
            EXPECT_EQ(Query(m_path, "select language from current"), "0") << stored;
        }
    }
}

TEST_F(LanguageFailureTest, AnUpdateThatFindsNoRowIsReportedNotTakenAsSaved) {
    RunSql(m_path, ShippedSql());
    LanguageDb store;
    RecordingView view;
    Start(store, view);
    RunSql(m_path, "update current set language=5;"); // another finder saved meanwhile

    view.Pick(1);
    store.OnSelchangeLanguage(view);
    EXPECT_EQ(view.messages, std::vector<std::string>{LANG_MSG_UPDATE_FAILED});
    EXPECT_EQ(store.SavedLanguage(), 0);
    EXPECT_EQ(StoredLanguage(m_path), 5);
}

TEST_F(LanguageFailureTest, AReadOnlyFileIsReportedAsAFailedUpdate) {
    RunSql(m_path, ShippedSql());
    // Opening with a read-only URI is not available to the finder, so the test takes
    // write access away from the file; root may write regardless, so skip then.
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::group_read);
    FILE* probe = std::fopen(m_path.c_str(), "r+b");
    if (probe != nullptr) {
        std::fclose(probe);
        GTEST_SKIP() << "this user may write read-only files";
    }
    LanguageDb store;
    RecordingView view;
    Start(store, view);
    view.Pick(3);
    store.OnSelchangeLanguage(view);
    EXPECT_EQ(view.messages,
              (std::vector<std::string>{LANG_MSG_UPDATE_FAILED, LANG_MSG_UPDATE_FAILED}));
    EXPECT_EQ(view.texts[1019], "Compte");
    EXPECT_EQ(StoredLanguage(m_path), 0);
}

} // namespace
