// The actions beside the double-click, used as a person uses them against camsim: the
// device list's menu, the export, the entries' tips, a page that cannot open, and the
// notification-area icon's menu.

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QToolTip>

#include <map>

#include "app/device_list_view.h"
#include "core/messages/finder_texts.h"
#include "core/present/device_list.h"
#include "tests/app/finder_fixture.h"

namespace {

// What the window copies and exports, as a user reads it (CSV lines end in CR LF, the MAC with
// colons so that a spreadsheet keeps it as text): the cameras of
// TestCameras in the list's order, with no card known (the window keeps the card beside the list).
constexpr char FRONT_DOOR_TABLE[] =
    "ID   NAME        MAC           IP            NETMASK        GATEWAY      PORT  MODE    "
    "VERSION  READ-ONLY  INTERFACE  INTERFACE-ADDRESS  SAME-SUBNET  NOTE\n"
    "255  Front door  02005e000001  192.168.1.20  255.255.255.0  192.168.1.1  80    STATIC  2.1.0  "
    "  no         -          -                  no           -\n";
constexpr char LIST_CSV[] =
    "id,readOnly,name,version,mac,ip,netmask,gateway,httpPort,netMode,mode,pppoeAccount,interface,"
    "interfaceAddress,sameSubnet,sameIpAs,linkLocal\r\n"
    "251,true,Server "
    "RO,3.0.0,02:00:5e:00:00:09,192.168.1.40,255.255.255.0,192.168.1.1,443,ffffffff,STATIC,,,,"
    "false,,false\r\n"
    "252,false,Roof "
    "PPPoE,2.1.1,02:00:5e:00:00:07,172.16.5.11,255.255.0.0,172.16.0.1,8000,01ffffff,PPPOE,roof@isp."
    "example,,,false,,false\r\n"
    "253,false,Mixed,2.0.0,02:00:5e:00:00:08,192.168.2.30,255.255.255.0,192.168.2.1,81,ffff0100,"
    "DHCP,,,,false,,false\r\n"
    "254,false,Lobby,1.0,02:00:5e:00:00:03,192.168.1.22,255.255.255.0,192.168.1.1,8080,ffff01ff,"
    "DHCP,,,,false,,false\r\n"
    "255,false,Front "
    "door,2.1.0,02:00:5e:00:00:01,192.168.1.20,255.255.255.0,192.168.1.1,80,ffffffff,STATIC,,,,"
    "false,,false\r\n";
constexpr char LIST_JSON[] =
    "[\n"
    "  {\"id\": 251, \"readOnly\": true, \"name\": \"Server RO\", \"version\": \"3.0.0\", \"mac\": "
    "\"02005e000009\", \"ip\": \"192.168.1.40\", \"netmask\": \"255.255.255.0\", \"gateway\": "
    "\"192.168.1.1\", \"httpPort\": 443, \"netMode\": \"ffffffff\", \"mode\": \"STATIC\", "
    "\"pppoeAccount\": \"\", \"interface\": \"\", \"interfaceAddress\": \"\", \"sameSubnet\": "
    "false, \"sameIpAs\": [], \"linkLocal\": false},\n"
    "  {\"id\": 252, \"readOnly\": false, \"name\": \"Roof PPPoE\", \"version\": \"2.1.1\", "
    "\"mac\": \"02005e000007\", \"ip\": \"172.16.5.11\", \"netmask\": \"255.255.0.0\", "
    "\"gateway\": \"172.16.0.1\", \"httpPort\": 8000, \"netMode\": \"01ffffff\", \"mode\": "
    "\"PPPOE\", \"pppoeAccount\": \"roof@isp.example\", \"interface\": \"\", \"interfaceAddress\": "
    "\"\", \"sameSubnet\": false, \"sameIpAs\": [], \"linkLocal\": false},\n"
    "  {\"id\": 253, \"readOnly\": false, \"name\": \"Mixed\", \"version\": \"2.0.0\", \"mac\": "
    "\"02005e000008\", \"ip\": \"192.168.2.30\", \"netmask\": \"255.255.255.0\", \"gateway\": "
    "\"192.168.2.1\", \"httpPort\": 81, \"netMode\": \"ffff0100\", \"mode\": \"DHCP\", "
    "\"pppoeAccount\": \"\", \"interface\": \"\", \"interfaceAddress\": \"\", \"sameSubnet\": "
    "false, \"sameIpAs\": [], \"linkLocal\": false},\n"
    "  {\"id\": 254, \"readOnly\": false, \"name\": \"Lobby\", \"version\": \"1.0\", \"mac\": "
    "\"02005e000003\", \"ip\": \"192.168.1.22\", \"netmask\": \"255.255.255.0\", \"gateway\": "
    "\"192.168.1.1\", \"httpPort\": 8080, \"netMode\": \"ffff01ff\", \"mode\": \"DHCP\", "
    "\"pppoeAccount\": \"\", \"interface\": \"\", \"interfaceAddress\": \"\", \"sameSubnet\": "
    "false, \"sameIpAs\": [], \"linkLocal\": false},\n"
    "  {\"id\": 255, \"readOnly\": false, \"name\": \"Front door\", \"version\": \"2.1.0\", "
    "\"mac\": \"02005e000001\", \"ip\": \"192.168.1.20\", \"netmask\": \"255.255.255.0\", "
    "\"gateway\": \"192.168.1.1\", \"httpPort\": 80, \"netMode\": \"ffffffff\", \"mode\": "
    "\"STATIC\", \"pppoeAccount\": \"\", \"interface\": \"\", \"interfaceAddress\": \"\", "
    "\"sameSubnet\": false, \"sameIpAs\": [], \"linkLocal\": false}\n"
    "]\n";

class ActionsTest : public FinderDlgTest {
protected:
    void SetUp() override {
        StartFinder(TestCameras());
        ASSERT_TRUE(WaitForList(m_expected));
    }

    QPoint PointOf(const QString& name) const {
        return DeviceList(m_dlg)->visualItemRect(Entry(name)).center();
    }

    // Opens the list's menu at a point of its viewport, as the right button does, notes
    // which actions it offers enabled, and clicks the one named (or closes the menu).
    std::map<QString, bool> UseMenu(QPoint point, const char* click) {
        std::map<QString, bool> enabled;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr) << "no menu opened";
            QAction* target = nullptr;
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator()) {
                    enabled[action->text()] = action->isEnabled();
                }
                if (click != nullptr && action->text() == QString::fromUtf8(click)) {
                    target = action;
                }
            }
            if (target != nullptr && target->isEnabled()) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(target).center());
            } else {
                menu->close();
            }
        });
        QWidget* viewport = DeviceList(m_dlg)->viewport();
        QContextMenuEvent event(QContextMenuEvent::Mouse, point, viewport->mapToGlobal(point));
        QApplication::sendEvent(viewport, &event); // returns once the menu has closed
        return enabled;
    }

    const DeviceRecord& Record(const QString& mac) const {
        for (const DeviceRecord& record : m_dlg->Table().slot) {
            if (record.id != 0 && QString::fromStdString(MacToText(record.mac)) == mac) {
                return record;
            }
        }
        ADD_FAILURE() << "no camera " << mac.toStdString();
        return m_dlg->Table().slot[0];
    }

    // What an export writes: the cameras in the order the list shows them.
    std::vector<DeviceRecord> InListOrder() const {
        std::vector<DeviceRecord> devices;
        for (int row = 0; row < DeviceList(m_dlg)->count(); ++row) {
            const std::string text = DeviceList(m_dlg)->item(row)->text().toStdString();
            devices.push_back(m_dlg->Table().slot[SlotOfEntry(text)]);
        }
        return devices;
    }

    static QByteArray Contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
};

TEST_F(ActionsTest, TheMenuActsOnTheEntryUnderThePointer) {
    const struct {
        const char* action;
        const char* camera;
        std::function<QString(const DeviceRecord&)> copied; // nothing for the web page
    } cases[] = {
        {TEXT_MENU_COPY_IP.english, "Lobby", [](const DeviceRecord&) { return "192.168.1.22"; }},
        {TEXT_MENU_COPY_MAC.english, "Roof PPPoE",
         [](const DeviceRecord&) { return "02005e000007"; }},
        {TEXT_MENU_COPY_ALL.english, "Front door",
         [](const DeviceRecord&) { return QString::fromUtf8(FRONT_DOOR_TABLE); }},
        {TEXT_MENU_OPEN_PAGE.english, "Lobby", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action);
        QGuiApplication::clipboard()->clear();
        g_openedUrls.clear();
        const std::map<QString, bool> offered = UseMenu(PointOf(c.camera), c.action);
        // The five actions, the two plans, the search addresses and the text encoding's menu.
        EXPECT_EQ(offered.size(), 9u);
        for (const auto& [text, enabled] : offered) {
            EXPECT_TRUE(enabled) << text.toStdString();
        }
        // The entry is selected as a click would select it: the panel shows it.
        EXPECT_EQ(Edit(m_dlg, IDC_NAME)->text(), QString::fromLatin1(c.camera));
        if (c.copied) {
            const DeviceRecord& record = Record(MacGroup(m_dlg)->title());
            EXPECT_EQ(QGuiApplication::clipboard()->text(), c.copied(record));
            EXPECT_TRUE(g_openedUrls.empty());
        } else {
            EXPECT_EQ(g_openedUrls,
                      std::vector<QString>{QStringLiteral("http://192.168.1.22:8080/")});
        }
    }
}

TEST_F(ActionsTest, AwayFromTheEntriesOnlyTheExportIsOffered) {
    const QRect list = DeviceList(m_dlg)->viewport()->rect();
    const std::map<QString, bool> offered = UseMenu(list.bottomLeft() + QPoint(2, -2), nullptr);
    for (const auto& [text, enabled] : offered) {
        EXPECT_EQ(enabled, text == QString::fromUtf8(TEXT_MENU_EXPORT.english) ||
                               text == QString::fromUtf8(TEXT_MENU_SEARCH_ADDRESSES.english) ||
                               text == QString::fromUtf8(TEXT_MENU_OPEN_PLAN.english) ||
                               text == QString::fromUtf8(TEXT_MENU_ENCODING.english))
            << text.toStdString();
    }
}

TEST_F(ActionsTest, ExportWritesTheListInItsOrderAsCsvOrJson) {
    const QString csv = QString::fromUtf8(TEXT_EXPORT_CSV.english);
    const QString json = QString::fromUtf8(TEXT_EXPORT_JSON.english);
    const struct {
        const char* file;
        QString filter;
        const char* written; // the file the export makes
        bool asJson;
    } cases[] = {
        {"cameras.csv", csv, "cameras.csv", false},
        {"cameras.json", csv, "cameras.json", true}, // the extension wins
        {"cameras", json, "cameras.json", true},     // else the filter, and its extension
        {"list", csv, "list.csv", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        g_saveFile = m_folder.filePath(QString::fromLatin1(c.file));
        g_saveFilter = c.filter;
        UseMenu(PointOf(QStringLiteral("Lobby")), TEXT_MENU_EXPORT.english);
        EXPECT_EQ(Contents(m_folder.filePath(QString::fromLatin1(c.written))),
                  QByteArray(c.asJson ? LIST_JSON : LIST_CSV));
    }
    EXPECT_EQ(InListOrder().size(), 5u);
    EXPECT_TRUE(g_shownMessages.empty());
}

TEST_F(ActionsTest, AnExportThatCannotBeWrittenSaysSoAndLeavesNothing) {
    g_saveFile.clear(); // cancelled: nothing written, nothing said
    UseMenu(PointOf(QStringLiteral("Lobby")), TEXT_MENU_EXPORT.english);
    EXPECT_TRUE(g_shownMessages.empty());

    const QString folder = m_folder.filePath(QStringLiteral("taken.csv"));
    ASSERT_TRUE(QDir().mkpath(folder)); // a folder where the file should go
    for (const QString& path : {folder, m_folder.filePath(QStringLiteral("absent/list.csv"))}) {
        g_shownMessages.clear();
        g_saveFile = path;
        g_saveFilter = QString::fromUtf8(TEXT_EXPORT_CSV.english);
        UseMenu(PointOf(QStringLiteral("Lobby")), TEXT_MENU_EXPORT.english);
        ASSERT_EQ(g_shownMessages.size(), 1u) << path.toStdString();
        EXPECT_TRUE(g_shownMessages.front().text.startsWith(
            QStringLiteral("The list could not be saved to %1: ").arg(path)))
            << g_shownMessages.front().text.toStdString();
    }
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("language.db")});
}

TEST_F(ActionsTest, APageWithoutABrowserGivesItsAddressToCopy) {
    g_urlOpens = false;
    Select(QStringLiteral("Lobby"));
    m_dlg->findChild<CDeviceListView*>()->OnOpenPage();
    ASSERT_EQ(g_shownMessages.size(), 1u);
    EXPECT_EQ(g_shownMessages.front().text, QString::fromUtf8(TEXT_PAGE_NOT_OPENED.english) +
                                                QStringLiteral("\nhttp://192.168.1.22:8080/"));
}

// Front door answers on loopback from outside its subnet: its page cannot open from here, so
// its tip gives the address but offers no double-click.
TEST_F(ActionsTest, AnEntrysTipOffersTheDoubleClickOnlyWhereThePageOpens) {
    QWidget* viewport = DeviceList(m_dlg)->viewport();
    const QPoint point = PointOf(QStringLiteral("Front door"));
    QHelpEvent event(QEvent::ToolTip, point, viewport->mapToGlobal(point));
    QApplication::sendEvent(viewport, &event);
    // The card the camera answered on follows on the next lines.
    EXPECT_TRUE(QToolTip::text().startsWith(QStringLiteral("http://192.168.1.20\n")))
        << QToolTip::text().toStdString();
    EXPECT_FALSE(QToolTip::text().contains(QString::fromUtf8(TEXT_TIP_DOUBLE_CLICK.english)));
    QToolTip::hideText();
}

TEST_F(ActionsTest, TheTrayMenuSearchesAndShows) {
    g_trayAvailable = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_dlg->TrayButtonRect().isEmpty(); }, 2000));
    QTest::mousePress(m_dlg.get(), Qt::LeftButton, {},
                      CFinderDlg::ToWidget(m_dlg->TrayButtonRect()).center());
    ASSERT_TRUE(m_dlg->IsInTray());
    std::map<QString, QAction*> actions;
    for (QAction* action : TrayIcon(m_dlg)->contextMenu()->actions()) {
        actions[action->text()] = action;
    }
    ASSERT_EQ(actions.count(QString::fromUtf8(TEXT_TRAY_UPDATE.english)), 1u);
    ASSERT_TRUE(WaitForReceived(SEARCH_QUERY_COPIES)) << "the first search's copies";
    actions[QString::fromUtf8(TEXT_TRAY_UPDATE.english)]->trigger();
    EXPECT_TRUE(WaitForReceived(SEARCH_QUERY_COPIES + 1));
    EXPECT_TRUE(WaitForList(m_expected));
    EXPECT_FALSE(m_dlg->isVisible()) << "Update searches from the tray";
    actions[QString::fromUtf8(TEXT_TRAY_SHOW.english)]->trigger();
    EXPECT_TRUE(m_dlg->isVisible());
    EXPECT_FALSE(TrayIcon(m_dlg)->isVisible());
}

// Quit from the icon's menu, with the window hidden, ends the whole program as Exit does.
TEST_F(ActionsTest, QuitFromTheTrayEndsTheProgram) {
    m_dlg.reset();
    bool inTray = false;
    bool stuck = false;
    // Should Quit leave the dialog's loop running, this ends it, and the test fails.
    QTimer stop;
    stop.setSingleShot(true);
    QObject::connect(&stop, &QTimer::timeout, [&] {
        stuck = true;
        QCoreApplication::exit(1);
    });
    stop.start(10000);
    RunProgram(TestCameras(), [&](CFinderApp& app) {
        CFinderDlg* dlg = app.m_pFinderDlg;
        g_trayAvailable = true;
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg->TrayButtonRect().isEmpty(); }, 2000));
        QTest::mousePress(dlg, Qt::LeftButton, {},
                          CFinderDlg::ToWidget(dlg->TrayButtonRect()).center());
        inTray = dlg->IsInTray();
        TrayIcon(dlg)->contextMenu()->actions().back()->trigger(); // Quit
    });
    EXPECT_TRUE(inTray);
    EXPECT_FALSE(stuck) << "Quit did not end the program";
}

} // namespace
