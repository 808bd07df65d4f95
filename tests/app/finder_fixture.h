#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/desktop_hooks.h"
#include "app/finder_app.h"
#include "app/finder_dlg.h"
#include "core/worker/search_schedule.h"
#include "sim/sim_codec.h"
#include "skin/skin_button.h"
#include "skin/transparent_static.h"
#include "tests/support/test_loopback.h"

// The window's controls as the tests reach them: by their template ids, as the finder's
// own code and the language store find them, or as the one object of their kind.
inline const CFinderDlg& DialogOf(const CFinderDlg& dlg) {
    return dlg;
}
inline const CFinderDlg& DialogOf(const CFinderDlg* dlg) {
    return *dlg;
}
inline const CFinderDlg& DialogOf(const std::unique_ptr<CFinderDlg>& dlg) {
    return *dlg;
}

template <typename Control, typename Dialog> Control* ControlOf(const Dialog& dlg, int id) {
    auto* control = dynamic_cast<Control*>(DialogOf(dlg).ControlById(id));
    EXPECT_NE(control, nullptr) << "no control " << id;
    return control;
}

template <typename Dialog> QLineEdit* Edit(const Dialog& dlg, int id) {
    return ControlOf<QLineEdit>(dlg, id);
}
template <typename Dialog> CTransparentStatic* Label(const Dialog& dlg, int id) {
    return ControlOf<CTransparentStatic>(dlg, id);
}
template <typename Dialog> CSkinButton* SkinButton(const Dialog& dlg, int id) {
    return ControlOf<CSkinButton>(dlg, id);
}
template <typename Dialog> QPushButton* Button(const Dialog& dlg, int id) {
    return ControlOf<QPushButton>(dlg, id);
}
template <typename Dialog> QRadioButton* Radio(const Dialog& dlg, int id) {
    return ControlOf<QRadioButton>(dlg, id);
}
template <typename Dialog> QListWidget* DeviceList(const Dialog& dlg) {
    return ControlOf<QListWidget>(dlg, IDC_DEVICE_LIST);
}
template <typename Dialog> QComboBox* LanguageList(const Dialog& dlg) {
    return ControlOf<QComboBox>(dlg, IDC_LANGUAGE);
}
template <typename Dialog> QGroupBox* MacGroup(const Dialog& dlg) {
    return ControlOf<QGroupBox>(dlg, IDC_MAC_GROUP);
}
// The notification-area icon: the window has just one.
template <typename Dialog> QSystemTrayIcon* TrayIcon(const Dialog& dlg) {
    auto* icon = DialogOf(dlg).template findChild<QSystemTrayIcon*>();
    EXPECT_NE(icon, nullptr);
    return icon;
}

// Cameras for the window tests, one of each kind the panel tells apart.
//   name | mac | ip | netmask | gateway | port | mode | version | account | password | ro
inline const char* const TEST_CAMERAS[] = {
    "Front door | 02005e000001 | 192.168.1.20 | 255.255.255.0 | 192.168.1.1 | 80 | FFFFFFFF | "
    "2.1.0 |  |  | 0",
    "Lobby      | 02005e000003 | 192.168.1.22 | 255.255.255.0 | 192.168.1.1 | 8080 | FFFF01FF | "
    "1.0 |  |  | 0",
    "Mixed      | 02005e000008 | 192.168.2.30 | 255.255.255.0 | 192.168.2.1 | 81 | FFFF0100 | "
    "2.0.0 |  |  | 0",
    "Roof PPPoE | 02005e000007 | 172.16.5.11 | 255.255.0.0 | 172.16.0.1 | 8000 | 01FFFFFF | 2.1.1 "
    "| roof@isp.example | Pa55w0rd | 0",
    "Server RO  | 02005e000009 | 192.168.1.40 | 255.255.255.0 | 192.168.1.1 | 443 | FFFFFFFF | "
    "3.0.0 |  |  | 1",
};

inline std::vector<SimDevice> DemoCameras() {
    std::vector<SimDevice> devices;
    std::string error;
    EXPECT_TRUE(LoadDeviceFile(DEMO_CAMERAS_FILE, devices, error)) << error;
    return devices;
}

inline std::vector<SimDevice> TestCameras() {
    std::vector<SimDevice> devices;
    for (const char* line : TEST_CAMERAS) {
        SimDevice device;
        std::string error;
        EXPECT_TRUE(ParseDeviceLine(line, device, error)) << error;
        devices.push_back(device);
    }
    return devices;
}

struct ShownMessage {
    QString title;
    QString text;
};

// Answers every message box at once and keeps what it said.
inline std::vector<ShownMessage> g_shownMessages;
inline void RecordMessage(QWidget*, const QString& title, const QString& text) {
    g_shownMessages.push_back({title, text});
}

// Answers every question with g_sendAnyway (the real box's default is the second answer).
struct AskedQuestion {
    QString title;
    QString text;
    QString yes;
    QString no;
    QString details;
};
inline std::vector<AskedQuestion> g_askedQuestions;
inline bool g_sendAnyway = false;
inline bool RecordQuestion(QWidget*, const QString& title, const QString& text, const QString& yes,
                           const QString& no, const QString& details) {
    g_askedQuestions.push_back({title, text, yes, no, details});
    return g_sendAnyway;
}

// The networks the window believes this PC is on: the test cameras' own beside loopback.
inline std::vector<LocalNetwork> TestNetworks() {
    return {{0x7F000001, 0xFF000000}, {0xC0A80105, 0xFFFFFF00}}; // 127.0.0.1/8, 192.168.1.5/24
}

inline std::vector<QString> g_openedUrls;
inline bool g_urlOpens = true; // whether the desktop has a browser
inline bool RecordUrl(const QString& url) {
    g_openedUrls.push_back(url);
    return g_urlOpens;
}

// Answers the save dialog with the file and filter a test puts here (empty: cancelled).
inline QString g_saveFile;
inline QString g_saveFilter;
inline QString AnswerSaveFile(QWidget*, const QString&, const QString&, QString* selectedFilter) {
    *selectedFilter = g_saveFilter;
    return g_saveFile;
}

inline bool g_trayAvailable = false;
inline bool IsTestTrayAvailable() {
    return g_trayAvailable;
}

// The real dialog, started against camsim on loopback, in a temporary folder with its own
// copy of the built language.db (the built one keeps its language).
class FinderDlgTest : public ::testing::Test {
protected:
    void StartFinder(std::vector<SimDevice> devices, bool withMarker = false,
                     bool dropSetRequests = false) {
        g_shownMessages.clear();
        g_askedQuestions.clear();
        g_sendAnyway = false;
        g_pfnAsk = RecordQuestion;
        g_pfnLocalNetworks = TestNetworks;
        g_openedUrls.clear();
        g_pfnShowMessage = RecordMessage;
        g_pfnOpenUrl = RecordUrl;
        g_urlOpens = true;
        g_pfnAskSaveFile = AnswerSaveFile;
        g_saveFile.clear();
        g_trayAvailable = false;
        g_pfnIsSystemTrayAvailable = IsTestTrayAvailable;
        if (m_languageDb.isEmpty()) {
            m_languageDb = m_folder.filePath(QStringLiteral("language.db"));
            ASSERT_TRUE(QFile::copy(QStringLiteral(LANGUAGE_DB_FILE), m_languageDb))
                << "build the language_db target first";
            QFile::setPermissions(m_languageDb, QFile::ReadOwner | QFile::WriteOwner);
        }
        m_expected = static_cast<int>(devices.size());
        SimSettings settings;
        settings.dropSetRequests = dropSetRequests;
        m_peer = std::make_unique<CameraPeer>(std::move(devices), settings);
        ASSERT_TRUE(m_peer->Started()) << m_peer->Error();
        const QString marker = m_folder.filePath(QStringLiteral("Search.conf"));
        if (withMarker) {
            QFile file(marker);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        if (m_beforeDialog) {
            m_beforeDialog(m_peer->Endpoints());
        }
        m_dlg = std::make_unique<CFinderDlg>(m_peer->Endpoints(), marker, m_languageDb);
        if (m_languagePlace) {
            m_dlg->SetLanguagePlace(*m_languagePlace);
        }
        m_dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_dlg.get()));
    }

    void TearDown() override {
        m_dlg.reset();
        m_peer.reset();
    }

    // The whole program as main runs it, in the test's folder (the finder opens language.db
    // in its current folder) and against camsim on loopback. `inLoop` runs inside the
    // dialog's modal loop and must end it. The tests' own folder comes back in any case.
    void RunProgram(std::vector<SimDevice> devices,
                    const std::function<void(CFinderApp&)>& inLoop) {
        ASSERT_NO_FATAL_FAILURE(StartFinder(std::move(devices))); // the peer, the database
        const WorkerEndpoints endpoints = m_peer->Endpoints();
        m_dlg.reset();
        ASSERT_TRUE(CanBindUdpPort(endpoints.localPort));
        const struct Back {
            QString folder = QDir::currentPath();
            ~Back() { QDir::setCurrent(folder); }
        } back;
        ASSERT_TRUE(QDir::setCurrent(m_folder.path()));
        // The program keeps the user's copy of language.db in the user's data folder: a
        // scratch one, never the real home.
        const struct Data {
            QByteArray before = qgetenv("XDG_DATA_HOME");
            ~Data() {
                if (before.isNull()) {
                    qunsetenv("XDG_DATA_HOME");
                } else {
                    qputenv("XDG_DATA_HOME", before);
                }
            }
        } data;
        qputenv("XDG_DATA_HOME", QFile::encodeName(UserDataHome()));

        CFinderApp app;
        app.SetEndpoints(endpoints);
        // Owned here, so that it cannot fire after the program when the loop never ran.
        QTimer start;
        start.setSingleShot(true);
        QObject::connect(&start, &QTimer::timeout, [&] { inLoop(app); });
        start.start(0);
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(app.ExitInstance(), 0);
        EXPECT_EQ(app.m_pFinderDlg, nullptr);
        EXPECT_TRUE(CanBindUdpPort(endpoints.localPort)) << "the worker was not joined";
    }

    QString UserDataHome() const { return m_folder.filePath(QStringLiteral("data")); }

    bool WaitForList(int count, int ms = 5000) {
        return QTest::qWaitFor([&] { return DeviceList(m_dlg)->count() == count; }, ms);
    }

    // Until the cameras have heard this many datagrams: the copies of a search's query
    // included, so that what comes next is told apart from them.
    bool WaitForReceived(std::size_t count, int ms = 5000) {
        return QTest::qWaitFor([&] { return m_peer->Received().size() == count; }, ms);
    }

    QListWidgetItem* Entry(const QString& name) const {
        for (int row = 0; row < DeviceList(m_dlg)->count(); ++row) {
            QListWidgetItem* item = DeviceList(m_dlg)->item(row);
            if (item->text().section(QLatin1Char(' '), 1) == name) {
                return item;
            }
        }
        return nullptr;
    }

    // Selects an entry with a click, as a user does.
    void Select(const QString& name) {
        QListWidgetItem* item = Entry(name);
        ASSERT_NE(item, nullptr) << name.toStdString();
        QListWidget* list = DeviceList(m_dlg);
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(item).center());
        ASSERT_EQ(MacGroup(m_dlg)->title().size(), 12);
    }

    static void Retype(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        // QTest types ASCII only; other characters come in as from the input method.
        for (QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(edit, c.toLatin1());
            } else {
                edit->insert(QString(c));
            }
        }
    }

    QTemporaryDir m_folder;
    QString m_languageDb;
    // Runs just before the dialog is made, with the endpoints it will get.
    std::function<void(const WorkerEndpoints&)> m_beforeDialog;
    std::optional<LanguagePlace> m_languagePlace; // instead of m_languageDb, when set
    std::unique_ptr<CameraPeer> m_peer;
    std::unique_ptr<CFinderDlg> m_dlg;
    int m_expected = 0;
};
