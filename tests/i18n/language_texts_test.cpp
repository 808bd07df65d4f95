#include <gtest/gtest.h>

#include <set>

#include "i18n/language_texts.h"
#include "i18n/language_view.h"

namespace {

TEST(LanguageTexts, KeysOfTheSixLanguagesAndTheEmptyKeyForAnyOtherIndex) {
    const char* expected[] = {"English", "ChinaGB", "ChinaBG", "French", "German", "Japan"};
    for (int i = 0; i < LANG_KEY_COUNT; ++i)
        EXPECT_STREQ(LanguageKey(i), expected[i]);
    for (int i : {-1, 6, 7, 1000, INT32_MIN, INT32_MAX})
        EXPECT_STREQ(LanguageKey(i), "") << i;
}

TEST(LanguageTexts, ThirteenCellsReachThirteenDifferentControls) {
    std::set<int> controls;
    for (int position = -2; position < 40; ++position) {
        int control = InterfaceCellControl(position);
        bool mapped = position >= 2 && position <= 15 && position != 4;
        EXPECT_EQ(control != LANG_NO_CONTROL, mapped) << position;
        if (mapped)
            controls.insert(control);
    }
    EXPECT_EQ(controls, (std::set<int>{1019, 1020, 1022, 1023, 1024, 1025, 1026, 1027, 1012, 1028,
                                       LANG_CAPTION_ID, 1001, 1002}));
    EXPECT_EQ(InterfaceCellControl(13), LANG_CAPTION_ID);
    EXPECT_EQ(InterfaceCellControl(11), 1012);
    EXPECT_EQ(InterfaceCellControl(14), 1001);
}

TEST(LanguageTexts, TextsAreCutBeforeTheCharacterThatCrossesTheLimit) {
    EXPECT_EQ(CutCellText(nullptr), "");
    EXPECT_EQ(CutCellText(""), "");
    std::string whole(259, 'a');
    EXPECT_EQ(CutCellText(whole.c_str()), whole);
    EXPECT_EQ(CutCellText(std::string(260, 'a').c_str()), whole);

    // Two, three and four byte characters ending exactly at the limit stay whole;
    // one byte further they go.
    for (std::string character : {"é", "中", "😀"}) {
        SCOPED_TRACE(character);
        std::string fits = std::string(259 - character.size(), 'x') + character;
        EXPECT_EQ(CutCellText(fits.c_str()), fits);
        std::string crosses = "x" + fits;
        EXPECT_EQ(CutCellText(crosses.c_str()), std::string(260 - character.size(), 'x'));
    }
}

} // namespace
