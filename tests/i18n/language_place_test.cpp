// Where the window's language.db comes from: the shipped file found in its places, the
// user's own copy made, kept and renewed, and each way that can fail.
#include "i18n/language_place.h"
#include "i18n/language_view.h"
#include "tests/i18n/language_test_support.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

constexpr int FRENCH = 3;

// A file in a folder as the finder names it, with the platform's separator.
std::string InFolder(const std::string& folder, const char* name) {
    return (fs::path(folder) / name).string();
}

// Windows will not remove a read-only file.
void RemoveShipped(const std::string& path) {
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    fs::remove(path);
}

class LanguagePlaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_shippedFolder);
        ASSERT_TRUE(fs::copy_file(FINDER_LANGUAGE_DB, m_shipped));
        RunSql(m_shipped, "update current set language=0");
        // Installed system-wide, the shipped file is not the user's to change.
        fs::permissions(m_shipped, fs::perms::owner_read | fs::perms::group_read);
        m_shippedBytes = ReadFile(m_shipped);
    }

    // A search whose first place holds nothing, as in an installed finder.
    LanguageSearch Search() const {
        return {{m_folder.File("bin/language.db"), m_shipped}, m_userFolder};
    }

    void ExpectWritableCopy(const LanguagePlace& place) const {
        EXPECT_EQ(place.path, m_copy);
        EXPECT_FALSE(place.readOnly);
        EXPECT_EQ(place.note, LanguagePlaceNote::None);
        EXPECT_EQ(ReadFile(m_shipped), m_shippedBytes) << "the shipped file must stay as it is";
        EXPECT_NE(fs::status(m_copy).permissions() & fs::perms::owner_write, fs::perms::none);
        // Nothing is left beside the copy.
        EXPECT_EQ(std::distance(fs::directory_iterator(m_userFolder), fs::directory_iterator()), 1);
    }

    // The shipped texts, changed as a newer finder's would be.
    void ShipNewerTexts() {
        fs::permissions(m_shipped, fs::perms::owner_write, fs::perm_options::add);
        RunSql(m_shipped, "update interface set gateway='Router' where language='English'");
        m_shippedBytes = ReadFile(m_shipped);
    }

    TempFolder m_folder;
    std::string m_shippedFolder = m_folder.File("share/finder");
    std::string m_shipped = m_shippedFolder + "/language.db";
    std::string m_userFolder = m_folder.File("home/.local/share/finder");
    std::string m_copy = InFolder(m_userFolder, "language.db");
    std::string m_shippedBytes;
};

TEST_F(LanguagePlaceTest, TheFirstStartCopiesTheShippedFileForTheUser) {
    const LanguagePlace place = PlaceLanguageDb(Search());
    ExpectWritableCopy(place);
    EXPECT_EQ(ReadFile(m_copy), m_shippedBytes);
}

TEST_F(LanguagePlaceTest, TheCopyKeepsThePickFromStartToStart) {
    PlaceLanguageDb(Search());
    RunSql(m_copy, "update current set language=3");
    const auto before = fs::last_write_time(m_copy);
    ExpectWritableCopy(PlaceLanguageDb(Search()));
    EXPECT_EQ(StoredLanguage(m_copy), FRENCH);
    EXPECT_EQ(fs::last_write_time(m_copy), before) << "the same texts leave the copy alone";
}

TEST_F(LanguagePlaceTest, NewerShippedTextsRenewTheCopyAndKeepThePick) {
    PlaceLanguageDb(Search());
    RunSql(m_copy, "update current set language=3");
    ShipNewerTexts();
    ExpectWritableCopy(PlaceLanguageDb(Search()));
    EXPECT_EQ(Query(m_copy, "select gateway from interface where language='English'"), "Router");
    EXPECT_EQ(StoredLanguage(m_copy), FRENCH);
}

TEST_F(LanguagePlaceTest, OlderShippedTextsWithoutThePickedLanguageFallBackToTheirOwn) {
    PlaceLanguageDb(Search());
    // The copy of a newer finder with a seventh language, picked.
    RunSql(m_copy, "alter table language add column seventh text;"
                   "insert into language (english) values ('Seventh');"
                   "update current set language=6");
    ExpectWritableCopy(PlaceLanguageDb(Search()));
    EXPECT_EQ(Query(m_copy, "select count(*) from language"), "6");
    EXPECT_EQ(StoredLanguage(m_copy), 0);
}

TEST_F(LanguagePlaceTest, ACopyThatIsNoDatabaseIsRenewed) {
    fs::create_directories(m_userFolder);
    RunSql(m_copy, "create table current (x text)"); // a database, but not the finder's
    ExpectWritableCopy(PlaceLanguageDb(Search()));
    EXPECT_EQ(ReadFile(m_copy), m_shippedBytes);
}

TEST_F(LanguagePlaceTest, AShippedFileThatCannotBeReadLeavesTheCopyAlone) {
    PlaceLanguageDb(Search());
    RunSql(m_copy, "update current set language=3");
    const std::string copied = ReadFile(m_copy);
    fs::permissions(m_shipped, fs::perms::owner_write, fs::perm_options::add);
    fs::resize_file(m_shipped, 100); // cut short
    const LanguagePlace place = PlaceLanguageDb(Search());
    EXPECT_EQ(place.path, m_copy);
    EXPECT_EQ(ReadFile(m_copy), copied);
}

TEST_F(LanguagePlaceTest, TheFirstPlaceThatHoldsAFileWins) {
    fs::create_directories(m_folder.File("bin"));
    fs::copy_file(m_shipped, m_folder.File("bin/language.db"));
    ShipNewerTexts(); // now the two differ
    PlaceLanguageDb(Search());
    EXPECT_EQ(Query(m_copy, "select gateway from interface where language='English'"), "Gateway");
}

// Each way the user's copy can fail: the window gets the shipped texts read-only and one
// note, and nothing half-made is left behind.
TEST_F(LanguagePlaceTest, WithoutAUserCopyTheShippedFileOpensReadOnly) {
    const std::string blocker = m_folder.File("home/.local/share");
    fs::create_directories(m_folder.File("home/.local"));
    RunSql(blocker, "create table t (x)"); // a file where the data folder belongs
    fs::create_directories(m_folder.File("copy-is-a-folder/language.db"));
    const struct {
        const char* what;
        std::string userFolder;
        LanguagePlaceNote note;
        std::string detail;
    } cases[] = {
        {"no data folder at all", "", LanguagePlaceNote::NoUserFolder, ""},
        {"a file in the folder's way", m_userFolder, LanguagePlaceNote::NoUserFolder,
         m_userFolder + ": "},
        {"a folder in the copy's way", m_folder.File("copy-is-a-folder"),
         LanguagePlaceNote::CopyFailed,
         InFolder(m_folder.File("copy-is-a-folder"), "language.db") + ": "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const LanguagePlace place = PlaceLanguageDb({Search().shipped, c.userFolder});
        EXPECT_EQ(place.path, m_shipped);
        EXPECT_TRUE(place.readOnly);
        EXPECT_EQ(place.note, c.note);
        EXPECT_EQ(place.detail.substr(0, c.detail.size()), c.detail);
        if (!c.detail.empty()) {
            EXPECT_GT(place.detail.size(), c.detail.size()) << "the system's reason follows";
        }
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder.File("copy-is-a-folder")),
                            fs::directory_iterator()),
              1);
}

TEST_F(LanguagePlaceTest, NoDatabaseAnywhereNamesEveryPlaceTried) {
    RemoveShipped(m_shipped);
    const LanguagePlace place = PlaceLanguageDb(Search());
    EXPECT_TRUE(place.path.empty());
    EXPECT_EQ(place.note, LanguagePlaceNote::NotFound);
    EXPECT_EQ(place.tried,
              (std::vector<std::string>{m_folder.File("bin/language.db"), m_shipped, m_copy}));
    EXPECT_FALSE(fs::exists(m_userFolder)) << "nothing is made for a database that is not there";
}

TEST_F(LanguagePlaceTest, TheCopyServesWhenTheShippedFileIsGone) {
    PlaceLanguageDb(Search());
    RemoveShipped(m_shipped);
    const LanguagePlace place = PlaceLanguageDb(Search());
    EXPECT_EQ(place.path, m_copy);
    EXPECT_EQ(place.note, LanguagePlaceNote::None);
}

// A read-only database gives its texts and the pick; nothing is saved and nothing said.
TEST_F(LanguagePlaceTest, AReadOnlyStoreAppliesPicksWithoutSavingThem) {
    LanguageDb store;
    RecordingView view;
    store.OpenLanguageDb(m_shipped, view, true);
    store.InitLanguageList(view);
    view.Pick(FRENCH);
    store.OnSelchangeLanguage(view);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.texts[LANG_CAPTION_ID], "Recherche de caméras IP");
    EXPECT_EQ(store.SelectedLanguage(), FRENCH);
    EXPECT_EQ(store.SavedLanguage(), 0);
    store.Close();
    EXPECT_EQ(ReadFile(m_shipped), m_shippedBytes);
}

} // namespace
