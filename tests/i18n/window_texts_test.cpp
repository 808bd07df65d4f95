// The window's further texts from table `window_text`: six languages in the shipped
// database, English for anything an older or partial database lacks.

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "core/encoding/text_codec.h"
#include "core/messages/finder_texts.h"
#include "i18n/language_db.h"
#include "i18n/language_texts.h"
#include "tests/i18n/language_test_support.h"

namespace {

constexpr WindowText TEXT_ABSENT{"absent_text", "Absent"};

// A view that keeps the texts the store hands over.
class TextsView : public RecordingView {
public:
    void ApplyWindowTexts(const CWindowTexts& given) override {
        texts = given;
        ++applied;
    }
    CWindowTexts texts;
    int applied = 0;
};

class WindowTextsTest : public LanguageStoreTest {
protected:
    void SetUp() override { RunSql(m_path, ShippedSql()); }

    // The store started over the database, then switched to language.
    void Apply(LanguageDb& store, TextsView& view, int language) {
        Start(store, view);
        view.Pick(language);
        store.OnSelchangeLanguage(view);
    }
};

TEST_F(WindowTextsTest, TheShippedDatabaseTranslatesEveryTextIntoEveryLanguage) {
    LanguageDb store;
    TextsView view;
    Start(store, view);
    std::set<std::string> ids;
    for (int language = 0; language < LANG_KEY_COUNT; ++language) {
        SCOPED_TRACE(LanguageKey(language));
        view.Pick(language);
        store.OnSelchangeLanguage(view);
        for (const WindowText* text : FINDER_TEXTS) {
            ids.insert(text->id);
            const std::string shown = view.texts.Text(*text);
            EXPECT_TRUE(IsValidUtf8(shown)) << text->id;
            EXPECT_LE(shown.size(), LANG_TEXT_MAX) << text->id;
            // The placeholders the code fills in are all there.
            for (const char* mark : {"%1", "%2", "%3", "%4"}) {
                EXPECT_EQ(shown.find(mark) == std::string::npos,
                          std::string(text->english).find(mark) == std::string::npos)
                    << text->id << " " << mark;
            }
            if (language == 0) {
                EXPECT_EQ(shown, text->english) << "English in the code and in the database";
            }
        }
        EXPECT_EQ(view.texts.Text(TEXT_ABSENT), "Absent");
    }
    EXPECT_EQ(ids.size(), std::size(FINDER_TEXTS)) << "every id once";
    EXPECT_EQ(Query(m_path, "select count(*) from window_text where " +
                                std::string("English = '' or ChinaGB = '' or ChinaBG = '' or ") +
                                "French = '' or German = '' or Japan = '' or English is null or " +
                                "ChinaGB is null or ChinaBG is null or French is null or German " +
                                "is null or Japan is null"),
              "0");
    EXPECT_EQ(Query(m_path, "select count(*) from window_text"),
              std::to_string(std::size(FINDER_TEXTS)))
        << "no row that the finder does not use";
    EXPECT_EQ(view.texts.Text(TEXT_FRAME_ADSL), "ADSL / DSL 接続");
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(WindowTextsTest, WhatTheDatabaseLacksIsEnglish) {
    const struct {
        const char* what;
        const char* sql;
    } cases[] = {
        {"an older database", "drop table window_text"},
        {"a column missing", "alter table window_text drop column ChinaGB"},
        {"an empty cell", "update window_text set ChinaGB = '' where id = 'info_ip_get'"},
        {"a null cell", "update window_text set ChinaGB = null where id = 'info_ip_get'"},
        {"a row missing", "delete from window_text where id = 'info_ip_get'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::remove(m_path.c_str());
        RunSql(m_path, ShippedSql());
        RunSql(m_path, c.sql);
        LanguageDb store;
        TextsView view;
        Apply(store, view, 1);
        EXPECT_TRUE(view.messages.empty());
        EXPECT_EQ(view.texts.Text(TEXT_INFO_IP_GET), "IP Get:");
        EXPECT_EQ(view.applied, 2) << "at the start and at the pick";
        EXPECT_EQ(view.texts.Text(TEXT_INFO_VERSION) == "Version:",
                  std::string(c.what) == "an older database" ||
                      std::string(c.what) == "a column missing");
    }
}

} // namespace
