// The finder window in the user's language: texts from its own copy of language.db, a pick
// from the language list, the choice kept for the next start.

#include <QAbstractItemView>
#include <QComboBox>
#include <QFileInfo>

#include "i18n/language_view.h"
#include "tests/app/finder_fixture.h"

namespace {

constexpr int JAPANESE = 5;

struct ExpectedText {
    int id; // LANG_CAPTION_ID: the window's caption
    const char* english;
    const char* japanese;
};

// Every control the language store writes, with the built database's texts.
const ExpectedText TEXTS[] = {
    {IDC_LABEL_ACCOUNT, "Acount", "アカウント"},
    {IDC_LABEL_PASSWORD, "Password", "パスワード"},
    {IDC_LABEL_ADDRESS, "Address:", "アドレス："},
    {IDC_LABEL_NAME, "Name", "名前"},
    {IDC_LABEL_IP, "IP", "IPアドレス"},
    {IDC_LABEL_NETMASK, "Submask", "ネットマスク"},
    {IDC_LABEL_GATEWAY, "Gateway", "ゲートウェイ"},
    {IDC_LABEL_HTTP_PORT, "Http Port", "HTTPポート"},
    {IDC_SUBMIT, "Submit", "送信"},
    {IDC_LABEL_STATUS, "Status:", "状態："},
    {LANG_CAPTION_ID, "IP Camera Finder", "IPカメラ検索ツール"},
    {IDC_UPDATE, "Update", "更新"},
    {IDC_EXIT, "Exit", "終了"},
};

class LanguageTest : public FinderDlgTest {
protected:
    QString TextOf(int id) const {
        if (id == LANG_CAPTION_ID)
            return m_dlg->windowTitle();
        QWidget* control = m_dlg->ControlById(id);
        if (auto* label = qobject_cast<QLabel*>(control))
            return label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            return button->text();
        return QStringLiteral("<no control %1>").arg(id);
    }

    void ExpectTexts(bool japanese) const {
        for (const ExpectedText& text : TEXTS) {
            SCOPED_TRACE(text.id);
            EXPECT_EQ(TextOf(text.id), QString::fromUtf8(japanese ? text.japanese : text.english));
        }
    }

    // Opens the drop-down list and clicks the row, as a user picks a language.
    void PickLanguage(int row) {
        QComboBox* combo = m_dlg->m_cmbLanguage;
        combo->showPopup();
        QAbstractItemView* list = combo->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !list->window()->isVisible(); }, 2000));
    }
};

TEST_F(LanguageTest, StartsInTheSavedLanguageWithItsNamesListed) {
    StartFinder({});
    EXPECT_TRUE(g_shownMessages.empty());
    ExpectTexts(false);
    ASSERT_EQ(m_dlg->m_cmbLanguage->count(), 6);
    EXPECT_EQ(m_dlg->m_cmbLanguage->currentIndex(), 0);
    EXPECT_EQ(m_dlg->m_cmbLanguage->itemText(JAPANESE), QStringLiteral("Japanese"));
}

TEST_F(LanguageTest, APickChangesLabelsButtonsAndCaptionTogetherAndSurvivesARestart) {
    StartFinder({});
    PickLanguage(JAPANESE);
    ExpectTexts(true);
    // The list now names every language in Japanese, with the pick still selected.
    EXPECT_EQ(m_dlg->m_cmbLanguage->currentIndex(), JAPANESE);
    EXPECT_EQ(m_dlg->m_cmbLanguage->itemText(0), QString::fromUtf8("英語"));
    EXPECT_EQ(m_dlg->m_cmbLanguage->itemText(JAPANESE), QString::fromUtf8("日本語"));
    EXPECT_EQ(m_dlg->Language().SavedLanguage(), JAPANESE);
    EXPECT_TRUE(g_shownMessages.empty());

    m_dlg.reset(); // closes the database
    StartFinder({});
    ExpectTexts(true);
    EXPECT_EQ(m_dlg->m_cmbLanguage->currentIndex(), JAPANESE);

    PickLanguage(0);
    ExpectTexts(false);
}

TEST_F(LanguageTest, SelectingFromCodeIsNoPick) {
    StartFinder({});
    m_dlg->m_cmbLanguage->setCurrentIndex(JAPANESE);
    ExpectTexts(false);
    EXPECT_EQ(m_dlg->Language().SavedLanguage(), 0);
}

TEST_F(LanguageTest, AMissingDatabaseIsReportedAndTheStartGoesOn) {
    m_languageDb = m_folder.filePath(QStringLiteral("absent/language.db"));
    StartFinder(TestCameras());
    ASSERT_FALSE(g_shownMessages.empty());
    EXPECT_EQ(g_shownMessages.front().text, QStringLiteral("open datebase false"));
    EXPECT_FALSE(QFileInfo::exists(m_languageDb)) << "no empty database may be left behind";
    // The window keeps its template texts and an empty caption, and finds the cameras.
    EXPECT_EQ(m_dlg->windowTitle(), QString());
    EXPECT_EQ(m_dlg->m_stcAccount->text(), QStringLiteral("Acount"));
    EXPECT_EQ(m_dlg->m_btnExit->text(), QStringLiteral("Exit"));
    EXPECT_TRUE(WaitForList(m_expected));
}

} // namespace
