// Camera texts in every encoding and the window's own texts in every language: cameras
// on camsim naming themselves in UTF-8 and in the code pages of older Windows tools.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QRegularExpression>
#include <QToolTip>

#include <sqlite3.h>

#include "app/device_list_view.h"
#include "core/messages/finder_texts.h"
#include "tests/app/finder_fixture.h"

namespace {

constexpr int ENGLISH = 0;
constexpr int CHINA_GB = 1;

const std::string BACK_GATE_GBK = "\xBA\xF3\xC3\xC5\xC9\xE3\xCF\xF1\xBB\xFA"; // 后门摄像机

// Cameras named as the window's users name them, and one in a legacy code page.
std::vector<SimDevice> NamedCameras(const std::string& legacyName) {
    std::vector<SimDevice> devices = TestCameras();
    devices.resize(4);
    devices[0].name = "G\xC3\xA4rage S\xC3\xBC"
                      "d";
    devices[1].name = "Caf\xC3\xA9";
    devices[2].name = "前门摄像机";
    devices[3].name = legacyName;
    devices[3].netMode = {0xFF, 0xFF, 0xFF, 0xFF};
    return devices;
}

class TextTest : public FinderDlgTest {
protected:
    // The window's own copy of language.db, in the language given; an old one lacks the
    // tables that came with the window's further texts.
    void UseLanguageDb(int language, bool old = false) {
        m_languageDb = m_folder.filePath(QStringLiteral("language.db"));
        QFile::remove(m_languageDb);
        ASSERT_TRUE(QFile::copy(QStringLiteral(LANGUAGE_DB_FILE), m_languageDb));
        QFile::setPermissions(m_languageDb, QFile::ReadOwner | QFile::WriteOwner);
        std::string sql = "update current set language=" + std::to_string(language) + ";";
        if (old) {
            sql += "drop table window_text; drop table text_encoding;";
        }
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(m_languageDb.toUtf8().constData(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }

    void Start(int language, const std::string& legacyName, bool old = false) {
        ASSERT_NO_FATAL_FAILURE(UseLanguageDb(language, old));
        ASSERT_NO_FATAL_FAILURE(StartFinder(NamedCameras(legacyName)));
        ASSERT_TRUE(WaitForList(m_expected));
    }

    // The first message shown, after a press of Submit that must send nothing.
    QString Refusal() {
        QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
        QTest::qWait(300); // time enough for a request to arrive, were one sent
        EXPECT_EQ(m_peer->Requests().size(), 1u) << "only the query";
        return g_shownMessages.empty() ? QString() : g_shownMessages.front().text;
    }

    // Opens the device list's menu and picks the encoding whose text starts so.
    void PickEncoding(const QString& start, std::optional<QPoint> at = std::nullopt) {
        QTimer::singleShot(0, [&] {
            QWidget* popup = QApplication::activePopupWidget();
            ASSERT_NE(popup, nullptr);
            QMenu* encodings = popup->actions().back()->menu(); // the last entry
            m_menuTexts.clear();
            for (QAction* action : popup->actions()) {
                m_listMenuTexts << action->text(); // the list's own entries
            }
            QAction* picked = nullptr;
            for (QAction* action : encodings->actions()) {
                m_menuTexts << action->text();
                if (action->text().startsWith(start)) {
                    picked = action;
                }
            }
            popup->close();
            ASSERT_NE(picked, nullptr) << start.toStdString();
            picked->trigger();
        });
        QListWidget* list = DeviceList(m_dlg);
        emit list->customContextMenuRequested(at.value_or(list->viewport()->rect().center()));
    }

    // The finder's own sentences around a change of the selected camera: the risks it asks
    // about (the IP of another camera, out of sight, beyond the gateway), a refusal, the
    // status when nothing changed, then a change sent and confirmed.
    QStringList SafeApplyTexts() {
        QStringList texts;
        Retype(Edit(m_dlg, IDC_IP), QStringLiteral("192.168.2.30"));
        QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
        EXPECT_EQ(g_askedQuestions.size(), 1u);
        for (const AskedQuestion& question : g_askedQuestions) {
            texts << question.title << question.text << question.yes << question.no;
        }
        Retype(Edit(m_dlg, IDC_IP), QStringLiteral("172.16.5.11"));
        Retype(Edit(m_dlg, IDC_NETMASK), QStringLiteral("255.0.255.0"));
        texts << Refusal();
        Retype(Edit(m_dlg, IDC_NETMASK), QStringLiteral("255.255.0.0"));
        QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
        texts << Label(m_dlg, IDC_STATUS)->text(); // nothing to send
        Retype(Edit(m_dlg, IDC_NAME), QString::fromUtf8("大门"));
        QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
        texts << Label(m_dlg, IDC_STATUS)->text(); // sending
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return Label(m_dlg, IDC_STATUS)->text().startsWith(QString::fromUtf8("大门")); },
            10000))
            << Label(m_dlg, IDC_STATUS)->text().toStdString();
        texts << Label(m_dlg, IDC_STATUS)->text(); // confirmed
        return texts;
    }

    // The tip of the entry under the pointer, as the list shows it.
    QString EntryTip(const QString& name) {
        QListWidget* list = DeviceList(m_dlg);
        const QPoint point = list->visualItemRect(Entry(name)).center();
        QHelpEvent event(QEvent::ToolTip, point, list->viewport()->mapToGlobal(point));
        QApplication::sendEvent(list->viewport(), &event);
        const QString tip = QToolTip::text();
        QToolTip::hideText();
        return tip;
    }

    QStringList m_menuTexts;
    QStringList m_listMenuTexts;
};

// What the export offers in the file dialog.
QStringList g_saveDialogTexts;
QString RecordSaveDialog(QWidget*, const QString& title, const QString& filters, QString*) {
    g_saveDialogTexts << title << filters;
    return {}; // cancelled
}

struct LanguageCase {
    int language;
    std::string legacyName; // in the language's code page
    const char* shown;
};

TEST_F(TextTest, EveryLanguageShowsUtf8AndItsOwnCodePage) {
    const LanguageCase cases[] = {
        {0, "Caf\xE9 Nord", "Café Nord"},
        {1, BACK_GATE_GBK, "后门摄像机"},
        {2, "\xAB\x65\xAA\xF9\xC4\xE1\xBC\x76\xBE\xF7", "前門攝影機"},
        {3,
         "Entr\xE9"
         "e",
         "Entrée"},
        {4,
         "Stra\xDF"
         "e",
         "Straße"},
        {5, "\x8C\xBA\x8A\xD6\x83\x4A\x83\x81\x83\x89", "玄関カメラ"},
    };
    for (const LanguageCase& c : cases) {
        SCOPED_TRACE(c.language);
        ASSERT_NO_FATAL_FAILURE(Start(c.language, c.legacyName));
        for (const char* name : {"Gärage Süd", "Café", "前门摄像机", c.shown}) {
            EXPECT_NE(Entry(QString::fromUtf8(name)), nullptr) << name;
        }
        Select(QString::fromUtf8(c.shown));
        EXPECT_EQ(Edit(m_dlg, IDC_NAME)->text(), QString::fromUtf8(c.shown));
        TearDown();
    }
}

TEST_F(TextTest, AChineseNameTypedInTheChineseWindowGoesOutInTheCamerasEncoding) {
    ASSERT_NO_FATAL_FAILURE(Start(CHINA_GB, BACK_GATE_GBK));
    Select(QString::fromUtf8("后门摄像机"));
    EXPECT_EQ(Label(m_dlg, IDC_INFO)->text(),
              QString::fromUtf8("IP获取方式：STATIC\r\n版本：2.1.1\r\n"));
    Retype(Edit(m_dlg, IDC_NAME), QString::fromUtf8("大门摄像机"));
    QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_peer->Requests().size() == 2; }, 5000));
    EXPECT_TRUE(g_shownMessages.empty());
    EXPECT_EQ(m_peer->Devices()[3].name, "\xB4\xF3\xC3\xC5\xC9\xE3\xCF\xF1\xBB\xFA");
    // The UTF-8 camera keeps UTF-8.
    QTest::mouseClick(SkinButton(m_dlg, IDC_UPDATE), Qt::LeftButton);
    ASSERT_TRUE(WaitForList(m_expected));
    Select(QString::fromUtf8("前门摄像机"));
    Retype(Edit(m_dlg, IDC_NAME), QString::fromUtf8("前门"));
    QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_peer->Requests().size() == 4; }, 5000));
    EXPECT_EQ(m_peer->Devices()[2].name, "前门");
}

TEST_F(TextTest, RefusalsSpeakTheWindowsLanguageAndNameTheCharacter) {
    ASSERT_NO_FATAL_FAILURE(Start(CHINA_GB, BACK_GATE_GBK));
    Select(QString::fromUtf8("后门摄像机"));
    Retype(Edit(m_dlg, IDC_NAME), QString::fromUtf8("Gärage"));
    EXPECT_EQ(Refusal(),
              QString::fromUtf8("名称：摄像机以 GBK 编码保存这段文字，该编码中没有字符“ä”"
                                "（U+00E4）。未发送任何内容。"));
    EXPECT_EQ(g_shownMessages.front().title, QString::fromUtf8("提交"));
    g_shownMessages.clear();
    Retype(Edit(m_dlg, IDC_NAME), QStringLiteral("ok"));
    Retype(Edit(m_dlg, IDC_IP), QStringLiteral("10.0.0"));
    EXPECT_TRUE(Refusal().startsWith(QString::fromUtf8("IP地址：“10.0.0”不是有效的地址。")));
}

// Everything the Chinese window says, but for the worker's status line, the camera's own
// data and the names of protocols, is Chinese: its controls, its menus, the tray icon's
// menu and tip, an entry's tip, the export's dialog and the safe-apply step.
TEST_F(TextTest, NoEnglishIsLeftInTheChineseWindow) {
    ASSERT_NO_FATAL_FAILURE(Start(CHINA_GB, BACK_GATE_GBK));
    Select(QString::fromUtf8("后门摄像机"));
    const QRegularExpression english(QStringLiteral("[A-Za-z]{2,}"));
    // Names of protocols and encodings stay as they are in any language.
    const QStringList allowed = {
        QStringLiteral("IP"),   QStringLiteral("HTTP"),    QStringLiteral("PPPOE"),
        QStringLiteral("DHCP"), QStringLiteral("STATIC"),  QStringLiteral("ADSL"),
        QStringLiteral("DSL"),  QStringLiteral("MAC"),     QStringLiteral("UTF"),
        QStringLiteral("GBK"),  QStringLiteral("Big"),     QStringLiteral("Shift"),
        QStringLiteral("JIS"),  QStringLiteral("Windows"), QStringLiteral("CSV"),
        QStringLiteral("csv"),  QStringLiteral("JSON"),    QStringLiteral("json"),
        QStringLiteral("lo")}; // and the network card's name
    QStringList texts = {m_dlg->windowTitle(), MacGroup(m_dlg)->title()};
    for (QWidget* child : m_dlg->findChildren<QWidget*>()) {
        if (child == Label(m_dlg, IDC_STATUS)) {
            continue; // the worker's "OK"
        }
        if (auto* label = qobject_cast<QLabel*>(child)) {
            texts << label->text();
        } else if (auto* button = qobject_cast<QAbstractButton*>(child)) {
            texts << button->text();
        } else if (auto* group = qobject_cast<QGroupBox*>(child)) {
            texts << group->title();
        }
    }
    PickEncoding(QString::fromUtf8("自动"));
    texts << m_menuTexts << m_listMenuTexts;
    EXPECT_EQ(m_menuTexts.size(), 6);
    EXPECT_EQ(m_listMenuTexts.size(), 12) << "four for a camera, the export, the two plans, "
                                             "three separators, the search addresses, the "
                                             "encodings";
    for (QAction* action : TrayIcon(m_dlg)->contextMenu()->actions()) {
        texts << action->text();
    }
    // The tip's first line is the product's name.
    texts << TrayIcon(m_dlg)->toolTip().section(QLatin1Char('\n'), 1);
    EXPECT_TRUE(TrayIcon(m_dlg)->toolTip().startsWith(QStringLiteral("Lanvista finder ")));
    const QString tip = EntryTip(QString::fromUtf8("前门摄像机"));
    for (const QString& line : tip.split(QLatin1Char('\n'))) {
        if (!line.startsWith(QStringLiteral("http://"))) { // the page's address
            texts << line;
        }
    }
    // The search's summary replaces the worker's "OK" once the cameras have answered.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Label(m_dlg, IDC_STATUS)->text() != "OK"; }, 5000));
    texts << Label(m_dlg, IDC_STATUS)->text();
    g_saveDialogTexts.clear();
    g_pfnAskSaveFile = RecordSaveDialog;
    m_dlg->findChild<CDeviceListView*>()->OnExportList();
    EXPECT_EQ(g_saveDialogTexts.size(), 2);
    texts << g_saveDialogTexts;
    Select(QString::fromUtf8("后门摄像机"));
    const QStringList applyTexts = SafeApplyTexts();
    EXPECT_EQ(applyTexts.size(), 8);
    texts << applyTexts;
    for (const QString& text : texts) {
        for (const QRegularExpressionMatch& word : english.globalMatch(text)) {
            EXPECT_TRUE(allowed.contains(word.captured()) || text == MacGroup(m_dlg)->title())
                << text.toStdString();
        }
    }
}

// A new language reaches what is already shown: the tray icon's menu and tip, and a status
// line the finder holds.
TEST_F(TextTest, ALanguagePickRetranslatesTheTrayAndTheHeldStatus) {
    ASSERT_NO_FATAL_FAILURE(Start(CHINA_GB, BACK_GATE_GBK));
    Select(QString::fromUtf8("Café"));
    QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
    EXPECT_EQ(Label(m_dlg, IDC_STATUS)->text(), QString::fromUtf8("无需发送：没有更改任何设置"));
    EXPECT_EQ(TrayIcon(m_dlg)->contextMenu()->actions().front()->text(), QString::fromUtf8("显示"));
    LanguageList(m_dlg)->setCurrentIndex(ENGLISH);
    emit LanguageList(m_dlg)->activated(ENGLISH);
    EXPECT_EQ(Label(m_dlg, IDC_STATUS)->text(),
              QString::fromUtf8(APPLY_TEXT_NOTHING_TO_SEND.english));
    QStringList tray;
    for (QAction* action : TrayIcon(m_dlg)->contextMenu()->actions()) {
        tray << action->text();
    }
    EXPECT_EQ(tray, (QStringList{QStringLiteral("Show"), QStringLiteral("Update"),
                                 QString::fromUtf8(TEXT_MENU_SEARCH_ADDRESSES.english), QString(),
                                 QStringLiteral("Quit")}));
    EXPECT_TRUE(TrayIcon(m_dlg)->toolTip().endsWith(QStringLiteral("\n4 cameras listed")));
}

// A language pick, or an encoding picked from the list's menu, reads again the camera texts
// the user left alone; what the user typed and the mode picked stay.
TEST_F(TextTest, ReadingAgainKeepsWhatWasTypedAndPicked) {
    ASSERT_NO_FATAL_FAILURE(Start(CHINA_GB, BACK_GATE_GBK));
    Select(QString::fromUtf8("后门摄像机"));
    Retype(Edit(m_dlg, IDC_IP), QStringLiteral("192.168.1.99"));
    QTest::mouseClick(Radio(m_dlg, IDC_MODE_DHCP), Qt::LeftButton);
    const QPoint away = DeviceList(m_dlg)->viewport()->rect().bottomLeft() + QPoint(2, -2);
    const std::function<void()> readings[] = {
        [&] {
            LanguageList(m_dlg)->setCurrentIndex(ENGLISH);
            emit LanguageList(m_dlg)->activated(ENGLISH);
        },
        // Away from the entries, so that the menu selects none of them.
        [&] { PickEncoding(QStringLiteral("Shift_JIS"), away); },
    };
    for (const auto& readAgain : readings) {
        readAgain();
        EXPECT_EQ(Edit(m_dlg, IDC_IP)->text(), QStringLiteral("192.168.1.99"));
        EXPECT_TRUE(Radio(m_dlg, IDC_MODE_DHCP)->isChecked());
        EXPECT_FALSE(Radio(m_dlg, IDC_MODE_STATIC)->isChecked());
        // The name nobody touched reads as its entry reads now.
        const QString listed =
            DeviceList(m_dlg)->selectedItems().value(0)->text().section(QLatin1Char(' '), 1);
        EXPECT_EQ(Edit(m_dlg, IDC_NAME)->text(), listed);
    }
    Retype(Edit(m_dlg, IDC_NAME), QStringLiteral("typed"));
    PickEncoding(QStringLiteral("GBK"), away);
    EXPECT_EQ(Edit(m_dlg, IDC_NAME)->text(), QStringLiteral("typed"));
}

TEST_F(TextTest, AnOldLanguageDbFallsBackToEnglishAndLearnsTheEncodingPicked) {
    ASSERT_NO_FATAL_FAILURE(Start(CHINA_GB, "\x8C\xBA\x8A\xD6\x83\x4A\x83\x81\x83\x89", true));
    EXPECT_TRUE(g_shownMessages.empty());
    EXPECT_EQ(SkinButton(m_dlg, IDC_UPDATE)->text(),
              QString::fromUtf8("刷新")); // table `interface`
    Select(QString::fromUtf8("Café"));
    EXPECT_TRUE(Label(m_dlg, IDC_INFO)->text().startsWith(QStringLiteral("IP Get:")));
    EXPECT_EQ(Label(m_dlg, IDC_INFO)->text().section(QStringLiteral("\r\n"), 1, 1),
              QStringLiteral("Version:1.0"));

    // Shift_JIS read as GBK is no name; picked by hand it is, and stays picked.
    EXPECT_EQ(Entry(QString::fromUtf8("玄関カメラ")), nullptr);
    PickEncoding(QStringLiteral("Shift_JIS"));
    EXPECT_NE(Entry(QString::fromUtf8("玄関カメラ")), nullptr);
    EXPECT_TRUE(g_shownMessages.empty());
    m_dlg.reset();
    ASSERT_NO_FATAL_FAILURE(StartFinder(NamedCameras("\x8C\xBA\x8A\xD6\x83\x4A\x83\x81\x83\x89")));
    ASSERT_TRUE(WaitForList(m_expected));
    EXPECT_EQ(m_dlg->NamedEncoding(), TextEncoding::ShiftJis);
    EXPECT_NE(Entry(QString::fromUtf8("玄関カメラ")), nullptr);
}

// Bytes no encoding reads: marks stand in for them, the camera can still be picked, and
// its name goes back only when the user types a new one.
TEST_F(TextTest, AnUnreadableNameShowsMarksAndIsNeverSentBackUntouched) {
    ASSERT_NO_FATAL_FAILURE(Start(ENGLISH, "Yard \x81\x8D"));
    const QString marked = QString::fromUtf8("Yard \xEF\xBF\xBD\xEF\xBF\xBD");
    Select(marked);
    EXPECT_EQ(Edit(m_dlg, IDC_NAME)->text(), marked);
    Retype(Edit(m_dlg, IDC_NAME), marked + QStringLiteral("!"));
    EXPECT_TRUE(Refusal().startsWith(QStringLiteral("Name: the text still holds marks")));
    g_shownMessages.clear();
    Retype(Edit(m_dlg, IDC_NAME), marked);
    Retype(Edit(m_dlg, IDC_HTTP_PORT), QStringLiteral("81"));
    QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_peer->Requests().size() == 2; }, 5000));
    EXPECT_TRUE(g_shownMessages.empty());
    EXPECT_EQ(m_peer->Devices()[3].name, "Yard \x81\x8D");
    EXPECT_EQ(m_peer->Devices()[3].httpPort, 81);
}

TEST_F(TextTest, TheLanguageListIsPickedFromAndShowsWholeNames) {
    ASSERT_NO_FATAL_FAILURE(Start(ENGLISH, "x"));
    QComboBox* list = LanguageList(m_dlg);
    EXPECT_FALSE(list->isEditable());
    const QFontMetrics metrics(list->view()->font());
    for (int row = 0; row < list->count(); ++row) {
        EXPECT_GT(list->view()->minimumWidth(), metrics.horizontalAdvance(list->itemText(row)))
            << list->itemText(row).toStdString();
    }
    EXPECT_GT(list->view()->minimumWidth(), list->width()) << "Simplified Chinese is wider";
}

// The status line holds a line and a half; the whole of a search that found nothing, its
// likely causes included, stands in the empty list, until a camera answers.
TEST_F(TextTest, ASearchThatFindsNothingSaysAllOfItInTheEmptyList) {
    StartFinder({});
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !DeviceList(m_dlg)->accessibleDescription().isEmpty(); }, 5000));
    const QString status = Label(m_dlg, IDC_STATUS)->text();
    EXPECT_TRUE(status.startsWith(QStringLiteral("No camera answered on ")))
        << status.toStdString();
    EXPECT_TRUE(status.endsWith(QString::fromUtf8(TEXT_SEARCH_LIKELY_CAUSES.english)));
    EXPECT_EQ(DeviceList(m_dlg)->accessibleDescription(), status);
    QTest::mouseClick(SkinButton(m_dlg, IDC_UPDATE), Qt::LeftButton);
    EXPECT_TRUE(DeviceList(m_dlg)->accessibleDescription().isEmpty())
        << "a new search starts afresh";
}

} // namespace
