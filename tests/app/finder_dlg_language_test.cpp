// The finder window in the user's language: texts from its own copy of language.db, a pick
// from the language list, the choice kept for the next start.

#include <QAbstractItemView>
#include <QComboBox>
#include <QFileInfo>

#include <sqlite3.h>

#include "app/window_texts.h"
#include "core/messages/finder_texts.h"
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

// The language index that table `current` of a database holds; -1 when none can be read.
int StoredLanguage(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    int stored = -1;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
            SQLITE_OK &&
        sqlite3_prepare_v2(db, "select language from current", -1, &statement, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        stored = sqlite3_column_int(statement, 0);
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return stored;
}

class LanguageTest : public FinderDlgTest {
protected:
    static QString TextOf(const CFinderDlg& dlg, int id) {
        if (id == LANG_CAPTION_ID)
            return dlg.windowTitle();
        QWidget* control = dlg.ControlById(id);
        if (auto* label = qobject_cast<QLabel*>(control))
            return label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            return button->text();
        return QStringLiteral("<no control %1>").arg(id);
    }

    void ExpectTexts(bool japanese, const CFinderDlg* dlg = nullptr) const {
        for (const ExpectedText& text : TEXTS) {
            SCOPED_TRACE(text.id);
            EXPECT_EQ(TextOf(dlg != nullptr ? *dlg : *m_dlg, text.id),
                      QString::fromUtf8(japanese ? text.japanese : text.english));
        }
    }

    // Opens the drop-down list and clicks the row, as a user picks a language.
    void PickLanguage(int row, CFinderDlg* dlg = nullptr) {
        QComboBox* combo = LanguageList(dlg != nullptr ? dlg : m_dlg.get());
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
    ASSERT_EQ(LanguageList(m_dlg)->count(), 6);
    EXPECT_EQ(LanguageList(m_dlg)->currentIndex(), 0);
    EXPECT_EQ(LanguageList(m_dlg)->itemText(JAPANESE), QStringLiteral("Japanese"));
}

TEST_F(LanguageTest, APickChangesLabelsButtonsAndCaptionTogetherAndSurvivesARestart) {
    StartFinder({});
    PickLanguage(JAPANESE);
    ExpectTexts(true);
    // The list now names every language in Japanese, with the pick still selected.
    EXPECT_EQ(LanguageList(m_dlg)->currentIndex(), JAPANESE);
    EXPECT_EQ(LanguageList(m_dlg)->itemText(0), QString::fromUtf8("英語"));
    EXPECT_EQ(LanguageList(m_dlg)->itemText(JAPANESE), QString::fromUtf8("日本語"));
    EXPECT_EQ(m_dlg->Language().SavedLanguage(), JAPANESE);
    EXPECT_TRUE(g_shownMessages.empty());

    m_dlg.reset(); // closes the database
    StartFinder({});
    ExpectTexts(true);
    EXPECT_EQ(LanguageList(m_dlg)->currentIndex(), JAPANESE);

    PickLanguage(0);
    ExpectTexts(false);
}

TEST_F(LanguageTest, SelectingFromCodeIsNoPick) {
    StartFinder({});
    LanguageList(m_dlg)->setCurrentIndex(JAPANESE);
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
    EXPECT_EQ(Label(m_dlg, IDC_LABEL_ACCOUNT)->text(), QStringLiteral("Acount"));
    EXPECT_EQ(SkinButton(m_dlg, IDC_EXIT)->text(), QStringLiteral("Exit"));
    EXPECT_TRUE(WaitForList(m_expected));
}

// The whole program, started where no language.db lies: it takes the one beside it,
// keeps the user's pick in the user's own copy, and leaves the one beside it as it was.
TEST_F(LanguageTest, TheProgramKeepsThePickInTheUsersOwnCopy) {
    QFile shipped(QCoreApplication::applicationDirPath() + QStringLiteral("/language.db"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly)) << "build the language_db target first";
    const QByteArray shippedBytes = shipped.readAll();
    shipped.close();
    QFile::remove(m_folder.filePath(QStringLiteral("language.db"))); // none where it starts
    RunProgram({}, [&](CFinderApp& app) {
        PickLanguage(JAPANESE, app.m_pFinderDlg);
        QTest::mouseClick(SkinButton(app.m_pFinderDlg, IDC_EXIT), Qt::LeftButton);
    });
    const QString copy = UserDataHome() + QLatin1Char('/') + QCoreApplication::applicationName() +
                         QStringLiteral("/language.db");
    EXPECT_EQ(StoredLanguage(copy), JAPANESE);
    RunProgram({}, [&](CFinderApp& app) {
        ExpectTexts(true, app.m_pFinderDlg);
        QTest::mouseClick(SkinButton(app.m_pFinderDlg, IDC_EXIT), Qt::LeftButton);
    });
    EXPECT_TRUE(g_shownMessages.empty());
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    EXPECT_EQ(shipped.readAll(), shippedBytes);
}

TEST_F(LanguageTest, NoDatabaseAnywhereIsOneMessageNamingThePlacesTried) {
    m_languagePlace = LanguagePlace{};
    m_languagePlace->note = LanguagePlaceNote::NotFound;
    m_languagePlace->tried = {"/opt/finder/bin/language.db", "/usr/share/finder/language.db"};
    StartFinder(TestCameras());
    ASSERT_EQ(g_shownMessages.size(), 1u);
    const QString text = g_shownMessages.front().text;
    EXPECT_TRUE(text.startsWith(QString::fromUtf8(TEXT_LANGUAGE_NOT_FOUND))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\n/opt/finder/bin/language.db\n")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\n/usr/share/finder/language.db")));
    EXPECT_EQ(Label(m_dlg, IDC_LABEL_ACCOUNT)->text(), QStringLiteral("Acount"));
    EXPECT_EQ(LanguageList(m_dlg)->count(), 0);
    EXPECT_TRUE(WaitForList(m_expected));
}

// A database the user may not change: its texts and picks work, the one message says the
// pick is not kept, and no failed save is reported on top.
TEST_F(LanguageTest, AReadOnlyDatabaseSaysOnceThatThePickIsNotKept) {
    StartFinder({}); // makes the test's own copy of the database
    m_dlg.reset();
    m_languagePlace = LanguagePlace{};
    m_languagePlace->path = m_languageDb.toStdString();
    m_languagePlace->readOnly = true;
    m_languagePlace->note = LanguagePlaceNote::NoUserFolder;
    m_languagePlace->detail = "/home/user/.local/share/finder: Permission denied";
    StartFinder({});
    PickLanguage(JAPANESE);
    ExpectTexts(true);
    ASSERT_EQ(g_shownMessages.size(), 1u);
    EXPECT_EQ(g_shownMessages.front().text,
              QString::fromUtf8(TEXT_PICK_NOT_KEPT.english) +
                  QStringLiteral("\n/home/user/.local/share/finder: Permission denied"));
    m_dlg.reset();
    EXPECT_EQ(StoredLanguage(m_languageDb), 0);
}

} // namespace
