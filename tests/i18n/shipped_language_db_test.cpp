// The language.db the finder ships: built from res/language.sql, it must give every
// language a name in every language and every mapped text in every language.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "i18n/language_db.h"
#include "i18n/language_texts.h"
#include "tests/i18n/language_test_support.h"

namespace {

const std::map<int, std::string> TEMPLATE_TEXTS = {{1019, "Acount"},
                                                   {1020, "Password"},
                                                   {1022, "Address:"},
                                                   {1023, "Name"},
                                                   {1024, "IP"},
                                                   {1025, "Submask"},
                                                   {1026, "Gateway"},
                                                   {1027, "Http Port"},
                                                   {1012, "Submit"},
                                                   {1028, "Status:"},
                                                   {LANG_CAPTION_ID, "IP Camera Finder"},
                                                   {1001, "Update"},
                                                   {1002, "Exit"}};

bool IsUtf8(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        unsigned char c = text[i];
        std::size_t length = c < 0x80         ? 1
                             : (c >> 5) == 6  ? 2
                             : (c >> 4) == 14 ? 3
                             : (c >> 3) == 30 ? 4
                                              : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

class ShippedLanguageDbTest : public LanguageStoreTest {
protected:
    void SetUp() override { RunSql(m_path, ShippedSql()); }
};

TEST_F(ShippedLanguageDbTest, AFreshDatabaseStartsInEnglishWithTheTemplateTexts) {
    EXPECT_EQ(Query(m_path, "select * from current"), "0");
    LanguageDb store;
    RecordingView view;
    Start(store, view);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.selected, 0);
    EXPECT_EQ(view.texts, TEMPLATE_TEXTS);
}

TEST_F(ShippedLanguageDbTest, SixLanguagesNamedInSixLanguages) {
    EXPECT_EQ(Query(m_path, "select count(*) from language"), "6");
    for (int column = 0; column < 6; ++column) {
        std::vector<std::string> names = ShippedNames(column);
        ASSERT_EQ(names.size(), 6u);
        std::set<std::string> distinct(names.begin(), names.end());
        EXPECT_EQ(distinct.size(), 6u) << "column " << column;
        for (const std::string& name : names) {
            EXPECT_FALSE(name.empty());
            EXPECT_TRUE(IsUtf8(name)) << name;
        }
    }
    // Each language's name written in itself.
    EXPECT_EQ(ShippedNames(0)[0], "English");
    EXPECT_EQ(ShippedNames(3)[3], "Français");
    EXPECT_EQ(ShippedNames(4)[4], "Deutsch");
    EXPECT_EQ(ShippedNames(5)[5], "日本語");
}

TEST_F(ShippedLanguageDbTest, EveryLanguageGivesEveryMappedControlATextOfItsOwn) {
    EXPECT_EQ(Query(m_path, "select count(*), count(distinct language) from interface"), "6|6");
    LanguageDb store;
    RecordingView view;
    Start(store, view);
    for (int language = 0; language < LANG_KEY_COUNT; ++language) {
        SCOPED_TRACE(LanguageKey(language));
        view.texts.clear();
        view.Pick(language);
        store.OnSelchangeLanguage(view);
        ASSERT_EQ(view.texts.size(), TEMPLATE_TEXTS.size());
        for (const auto& [control, text] : view.texts) {
            EXPECT_TRUE(TEMPLATE_TEXTS.count(control)) << control;
            EXPECT_FALSE(text.empty()) << control;
            EXPECT_LE(text.size(), LANG_TEXT_MAX);
            EXPECT_TRUE(IsUtf8(text)) << text;
        }
        if (language != 0) {
            EXPECT_NE(view.texts[LANG_CAPTION_ID], TEMPLATE_TEXTS.at(LANG_CAPTION_ID));
            EXPECT_NE(view.texts[1002], "Exit");
        }
    }
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(StoredLanguage(m_path), LANG_KEY_COUNT - 1);
}

TEST(BuiltLanguageDb, LiesNextToTheFinderWithTheShippedTexts) {
    ASSERT_TRUE(std::filesystem::exists(FINDER_LANGUAGE_DB)) << FINDER_LANGUAGE_DB;
    TempFolder folder;
    std::string fresh = folder.File("language.db");
    RunSql(fresh, ShippedSql());
    // The user's pick may differ; the names and texts may not.
    for (const char* sql : {"select * from language", "select * from interface"})
        EXPECT_EQ(Query(FINDER_LANGUAGE_DB, sql), Query(fresh, sql)) << sql;
    int picked = StoredLanguage(FINDER_LANGUAGE_DB);
    EXPECT_GE(picked, 0);
    EXPECT_LT(picked, 6);
}

} // namespace
