// The finder on a site: this process's own network namespace holds four cards and no
// default route; eth1 (192.168.1.5/24) leads to a camera network with two cameras, eth2
// (10.0.0.5/24) to one whose camera with a factory address of a foreign subnet answers by
// broadcast, eth3 is up without an IPv4 address, eth4 (10.1.0.5/24) leads to a router with
// a camera network behind it (10.2.0.0/24) that no broadcast reaches. Each test is a process of its
// own, with a namespace and cameras of its own. Without a namespace every test skips.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/desktop_hooks.h"
#include "app/finder_dlg.h"
#include "cli/finder_cli.h"
#include "core/worker/search_schedule.h"
#include "skin/skin_button.h"
#include "skin/transparent_static.h"

namespace {

//   name | mac | ip | netmask | gateway | port | mode | version | account | password | ro
const char NET1_CAMERAS[] =
    "Front door | 02005e000001 | 192.168.1.20 | 255.255.255.0 | 192.168.1.1 | 80 | FFFFFFFF | "
    "2.1.0 | | | 0\n"
    "Garage     | 02005e000002 | 192.168.1.21 | 255.255.255.0 | 192.168.1.1 | 80 | FFFFFFFF | "
    "2.1.0 | | | 0\n";
const char NET2_CAMERAS[] =
    "Factory    | 02005e000101 | 192.168.1.64 | 255.255.255.0 | 192.168.1.1 | 80 | FFFFFFFF | "
    "2.1.0 | | | 0\n"
    "Dock       | 02005e000102 | 10.0.0.6     | 255.255.255.0 | 10.0.0.1    | 80 | FFFF01FF | "
    "2.1.0 | | | 0\n";
const char NET3_CAMERAS[] = "Yard | 02005e000201 | 10.2.0.21 | 255.255.255.0 | 10.2.0.1 | 80 | "
                            "FFFFFFFF | 2.1.0 | | | 0\n";

std::string g_skipReason; // set when the networks could not be made

bool WriteMap(const char* path, const std::string& text) {
    const int fd = open(path, O_WRONLY);
    const bool written =
        fd >= 0 && write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    if (fd >= 0) {
        close(fd);
    }
    return written;
}

// Before any thread: a network namespace of this process, as root or in a user namespace.
void EnterPrivateNetworkNamespace() {
    if (unshare(CLONE_NEWNET) == 0) {
        return;
    }
    const std::string uid = std::to_string(getuid());
    const std::string gid = std::to_string(getgid());
    if (unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0 || !WriteMap("/proc/self/setgroups", "deny") ||
        !WriteMap("/proc/self/uid_map", "0 " + uid + " 1") ||
        !WriteMap("/proc/self/gid_map", "0 " + gid + " 1")) {
        g_skipReason = "no private network namespace can be made here (needs root or user "
                       "namespaces)";
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

int LineCount(const std::string& path) {
    const std::string text = ReadFile(path);
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// What a camera network has received since the object was made: the datagrams in its log.
class Heard {
public:
    explicit Heard(std::string log) : m_log(std::move(log)), m_start(LineCount(m_log)) {}
    int Count() const { return LineCount(m_log) - m_start; }
    // The count once the camera network has logged what was sent (a set request is not
    // answered, so the sender cannot wait for it), or after 2 s what it has.
    int CountReaching(int expected) const {
        for (int i = 0; i < 100 && Count() < expected; ++i) {
            usleep(20000);
        }
        return Count();
    }

private:
    std::string m_log;
    int m_start;
};

// The two camera networks for the life of one test program.
class CameraNetworks : public ::testing::Environment {
public:
    void SetUp() override {
        if (!g_skipReason.empty() || !m_state.isValid()) {
            return;
        }
        const std::string state = m_state.path().toStdString();
        std::ofstream(state + "/net1.txt") << NET1_CAMERAS;
        std::ofstream(state + "/net2.txt") << NET2_CAMERAS;
        std::ofstream(state + "/net3.txt") << NET3_CAMERAS;
        const std::string up = std::string(CAMERA_NETWORKS_SCRIPT) + " up " + state + " " +
                               CAMSIM_PATH + " " + state + "/net1.txt " + state + "/net2.txt " +
                               state + "/net3.txt";
        if (std::system(up.c_str()) != 0) {
            g_skipReason = "the camera networks could not be built here (ip, veth)";
        }
    }
    void TearDown() override {
        if (m_state.isValid()) {
            const std::string down =
                std::string(CAMERA_NETWORKS_SCRIPT) + " down " + m_state.path().toStdString();
            [[maybe_unused]] const int status = std::system(down.c_str());
        }
    }
    static std::string Log(const char* net) {
        return Instance()->m_state.path().toStdString() + "/" + net + ".log";
    }
    static CameraNetworks* Instance() { return s_instance; }
    CameraNetworks() { s_instance = this; }

private:
    QTemporaryDir m_state;
    static inline CameraNetworks* s_instance = nullptr;
};

// Skips without the networks; else counts what each camera network hears from here on.
#define SKIP_WITHOUT_NETWORKS()                                                                    \
    if (!g_skipReason.empty()) {                                                                   \
        GTEST_SKIP() << g_skipReason;                                                              \
    }                                                                                              \
    const Heard net1(CameraNetworks::Log("net1"));                                                 \
    const Heard net2(CameraNetworks::Log("net2"));                                                 \
    const Heard net3(CameraNetworks::Log("net3"))

// Every search sends its query this many times; each scan here waits long enough for all.
constexpr int COPIES = SEARCH_QUERY_COPIES;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun Cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunFinderCli(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(CameraNetworkCliTest, ScanListsEveryCameraWithTheCardItAnsweredOn) {
    SKIP_WITHOUT_NETWORKS();
    const CliRun run = Cli({"scan", "--json", "--timeout-ms", "1000"});
    ASSERT_EQ(run.status, 0) << run.err;
    const struct {
        const char* mac;
        const char* card;
    } expected[] = {
        {"02005e000001", R"("interface": "eth1", "interfaceAddress": "192.168.1.5/24", )"
                         R"("sameSubnet": true, )"},
        {"02005e000002", R"("interface": "eth1", "interfaceAddress": "192.168.1.5/24", )"
                         R"("sameSubnet": true, )"},
        {"02005e000101", R"("interface": "eth2", "interfaceAddress": "10.0.0.5/24", )"
                         R"("sameSubnet": false, )"},
        {"02005e000102", R"("interface": "eth2", "interfaceAddress": "10.0.0.5/24", )"
                         R"("sameSubnet": true, )"},
    };
    for (const auto& camera : expected) {
        const std::size_t at = run.out.find(camera.mac);
        ASSERT_NE(at, std::string::npos) << camera.mac << " not found:\n" << run.out;
        const std::string object = run.out.substr(at, run.out.find('\n', at) - at);
        EXPECT_NE(object.find(camera.card), std::string::npos) << object;
    }
    EXPECT_EQ(net1.Count(), COPIES) << "one query per card, in its copies";
    EXPECT_EQ(net2.Count(), COPIES);
}

TEST(CameraNetworkCliTest, ASetRequestLeavesOnlyThroughItsCamerasCard) {
    SKIP_WITHOUT_NETWORKS();
    // The foreign camera moves into eth2's network; eth1's cameras hear the query only.
    // Its gateway stays in its old subnet, a risk the command sends only with --force.
    CliRun run = Cli({"set", "02005e000101", "--ip", "10.0.0.9", "--force", "--timeout-ms", "800"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(net1.Count(), 2 * COPIES) << "two queries, no set request";
    EXPECT_EQ(net2.Count(), 2 * COPIES + 1) << "a query, the set, a query";
    run = Cli({"scan", "--csv", "--timeout-ms", "800"});
    EXPECT_NE(run.out.find("02:00:5e:00:01:01,10.0.0.9,255.255.255.0,192.168.1.1,80,ffffffff,"
                           "STATIC,,eth2,10.0.0.5/24,true"),
              std::string::npos)
        << run.out;

    run = Cli({"set", "02005e000002", "--name", "Shed", "--no-verify", "--timeout-ms", "800"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(net1.CountReaching(4 * COPIES + 1), 4 * COPIES + 1);
    EXPECT_EQ(net2.Count(), 4 * COPIES + 1) << "eth2 heard the query only";

    // Back to its factory address, for the tests that follow in the same program.
    run =
        Cli({"set", "02005e000101", "--ip", "192.168.1.64", "--no-verify", "--timeout-ms", "800"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(net2.CountReaching(5 * COPIES + 2), 5 * COPIES + 2);
    EXPECT_EQ(net1.Count(), 5 * COPIES + 1);
}

TEST(CameraNetworkCliTest, AnExcludedCardSendsNothing) {
    SKIP_WITHOUT_NETWORKS();
    const CliRun run = Cli({"scan", "--interface", "eth2", "--timeout-ms", "800"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Factory"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("Front door"), std::string::npos) << run.out;
    EXPECT_EQ(net1.Count(), 0) << "eth1 was not chosen";
}

TEST(CameraNetworkCliTest, NothingFoundNoCardAndUnknownCardAreSaidPlainly) {
    SKIP_WITHOUT_NETWORKS();
    const struct {
        std::vector<std::string> args;
        int status;
        const char* err;
    } cases[] = {
        // Nobody listens on port 4001: an answer all the same, with the cards and causes.
        {{"scan", "--device-port", "4001", "--timeout-ms", "300"},
         0,
         "finder-cli: No camera answered on eth1, eth2, eth4 within 300 ms.\nLikely causes: no "
         "network card is up (cable unplugged), a firewall drops UDP port 3566, or the cameras "
         "are powered off or on another network segment.\n"},
        {{"scan", "--interface", "eth3"},
         1,
         "finder-cli: sending failed: ERR: no network card to search! None is up with an IPv4 "
         "address and broadcast\n'finder-cli interfaces' shows each card and why it is not "
         "searched.\n"},
        {{"scan", "--interface", "eth9"},
         2,
         "finder-cli: --interface: no network card is named \"eth9\"; this machine has: lo, "
         "eth1, eth2, eth4, eth3-end, eth3\n"},
        {{"suggest", "02005e000101", "--interface", "eth1", "--interface", "wlan0"}, 2, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[1] + " " + c.args[2]);
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.status, c.status) << run.err;
        if (c.err != nullptr) {
            EXPECT_EQ(run.err, c.err);
        }
    }
    EXPECT_EQ(net1.Count(), 0) << "the refused scans send nothing (the other went to 4001)";
}

TEST(CameraNetworkCliTest, SuggestAndInterfacesTellWhatTheWindowWouldDo) {
    SKIP_WITHOUT_NETWORKS();
    CliRun run = Cli({"suggest", "02005e000101", "--timeout-ms", "800"});
    ASSERT_EQ(run.status, 0) << run.err;
    // .5 is this PC, .6 the dock camera: .7 is free; no gateway on the card.
    EXPECT_EQ(run.out, "ip 10.0.0.7\nnetmask 255.255.255.0\ngateway 0.0.0.0\n");
    EXPECT_EQ(net2.Count(), COPIES) << "suggest sends nothing but a query";

    run = Cli({"interfaces"});
    ASSERT_EQ(run.status, 0);
    for (const char* row : {"lo        127.0.0.1/8     yes  no         -        no: loopback",
                            "eth1      192.168.1.5/24  yes  yes        -        yes",
                            "eth2      10.0.0.5/24     yes  yes        -        yes",
                            "eth3      -               yes  yes        -        no: no IPv4"}) {
        EXPECT_NE(run.out.find(row), std::string::npos) << row << "\n" << run.out;
    }
}

TEST(CameraNetworkCliTest, ACameraBehindARouterIsFoundByToAndRenamedAndConfirmedThere) {
    SKIP_WITHOUT_NETWORKS();
    CliRun run = Cli({"scan", "--csv"});
    EXPECT_EQ(run.out.find("02:00:5e:00:02:01"), std::string::npos) << "no broadcast reaches it";
    run = Cli({"scan", "--csv", "--to", "10.2.0.16/28", "--to", "10.9.0.1"});
    EXPECT_NE(run.out.find(",Yard,2.1.0,02:00:5e:00:02:01,10.2.0.21,"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(",Front door,"), std::string::npos) << "the broadcast went as well";
    EXPECT_EQ(net3.Count(), COPIES) << "each copy of the query once at its address";
    run = Cli({"set", "02005e000201", "--name", "Gate", "--to", "10.2.0.21"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "MAC           NAME  CHANGES            RESULT     DETAIL\n"
                       "02005e000201  Gate  name Yard -> Gate  confirmed\n");
}

// The real window, with the finder's defaults, in this namespace.
class CameraNetworkWindowTest : public ::testing::Test {
protected:
    void StartFinder(const WorkerEndpoints& endpoints) {
        g_pfnShowMessage = [](QWidget*, const QString&, const QString&) {};
        const QString languageDb = m_folder.filePath(QStringLiteral("language.db"));
        ASSERT_TRUE(QFile::exists(languageDb) ||
                    QFile::copy(QStringLiteral(LANGUAGE_DB_FILE), languageDb));
        QFile::setPermissions(languageDb, QFile::ReadOwner | QFile::WriteOwner);
        m_dlg = std::make_unique<CFinderDlg>(
            endpoints, m_folder.filePath(QStringLiteral("Search.conf")), languageDb);
        m_dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_dlg.get()));
    }

    // The window's controls by their template ids, as the finder itself finds them.
    template <typename Widget> Widget* Control(int id) const {
        return dynamic_cast<Widget*>(m_dlg->ControlById(id));
    }

    QListWidgetItem* Entry(const char* name) const {
        for (int row = 0; row < Control<QListWidget>(IDC_DEVICE_LIST)->count(); ++row) {
            if (Control<QListWidget>(IDC_DEVICE_LIST)
                    ->item(row)
                    ->text()
                    .endsWith(QLatin1String(name))) {
                return Control<QListWidget>(IDC_DEVICE_LIST)->item(row);
            }
        }
        return nullptr;
    }

    // Whether the entry carries a visible mark (the others carry a blank one).
    static bool Marked(const QListWidgetItem* item) {
        const QImage mark = item->icon().pixmap(QSize(11, 11)).toImage();
        for (int y = 0; y < mark.height(); ++y) {
            for (int x = 0; x < mark.width(); ++x) {
                if (qAlpha(mark.pixel(x, y)) != 0) {
                    return true;
                }
            }
        }
        return false;
    }

    void Select(const char* name) {
        QListWidgetItem* item = Entry(name);
        ASSERT_NE(item, nullptr) << name;
        QListWidget* list = Control<QListWidget>(IDC_DEVICE_LIST);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(item).center());
    }

    QString Status() const { return Control<CTransparentStatic>(IDC_STATUS)->text(); }

    QTemporaryDir m_folder;
    std::unique_ptr<CFinderDlg> m_dlg;
};

TEST_F(CameraNetworkWindowTest, MarksTheForeignCameraAndMovesItIntoTheNetwork) {
    SKIP_WITHOUT_NETWORKS();
    ASSERT_NO_FATAL_FAILURE(StartFinder(WorkerEndpoints{}));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return Control<QListWidget>(IDC_DEVICE_LIST)->count() == 4; }, 5000));
    const struct {
        const char* name;
        const char* tip;
        bool marked;
    } entries[] = {
        {"Front door", "IP: 192.168.1.20\nMAC: 02005e000001\nInterface: eth1 (192.168.1.5/24)",
         false},
        {"Factory", "IP: 192.168.1.64\nMAC: 02005e000101\nInterface: eth2 (10.0.0.5/24)", true},
        {"Dock", "IP: 10.0.0.6\nMAC: 02005e000102\nInterface: eth2 (10.0.0.5/24)", false},
    };
    for (const auto& entry : entries) {
        const QListWidgetItem* item = Entry(entry.name);
        ASSERT_NE(item, nullptr) << entry.name;
        // The web page's lines come first, the card's last.
        EXPECT_TRUE(item->toolTip().endsWith(QLatin1Char('\n') + QString::fromLatin1(entry.tip)))
            << item->toolTip().toStdString();
        EXPECT_EQ(Marked(item), entry.marked) << entry.name;
    }
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return Status() == QLatin1String("4 cameras on eth1, eth2"); }, 5000))
        << Status().toStdString();

    Select("Dock");
    EXPECT_FALSE(Control<QPushButton>(IDC_MOVE_INTO_NETWORK)->isVisible());
    EXPECT_FALSE(Control<CTransparentStatic>(IDC_SUBNET_WARNING)->isVisible());
    Select("Factory");
    ASSERT_TRUE(Control<QPushButton>(IDC_MOVE_INTO_NETWORK)->isVisible());
    EXPECT_EQ(Control<CTransparentStatic>(IDC_SUBNET_WARNING)->text(),
              QLatin1String("192.168.1.64/24 is not in this PC's network 10.0.0.5/24 on eth2: "
                            "its web page cannot open from here"));
    EXPECT_EQ(Control<QPushButton>(IDC_MOVE_INTO_NETWORK)->text(),
              QLatin1String("Move into my network"));

    const int net2Before = net2.Count();
    QTest::mouseClick(Control<QPushButton>(IDC_MOVE_INTO_NETWORK), Qt::LeftButton);
    EXPECT_EQ(Control<QLineEdit>(IDC_IP)->text(), QLatin1String("10.0.0.7"));
    EXPECT_EQ(Control<QLineEdit>(IDC_NETMASK)->text(), QLatin1String("255.255.255.0"));
    EXPECT_EQ(Control<QLineEdit>(IDC_GATEWAY)->text(), QLatin1String("0.0.0.0"));
    EXPECT_TRUE(Control<QRadioButton>(IDC_MODE_STATIC)->isChecked());
    QTest::qWait(200);
    EXPECT_EQ(net2.Count(), net2Before) << "nothing before Submit";

    const int net1Before = net1.Count();
    QTest::mouseClick(Control<QPushButton>(IDC_SUBMIT), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return net2.Count() == net2Before + 1; }, 5000));
    QTest::qWait(200);
    EXPECT_EQ(net1.Count(), net1Before) << "eth1 heard no set request";

    // Update: the camera now answers from inside eth2's subnet, unmarked.
    QTest::mouseClick(Control<QPushButton>(IDC_UPDATE), Qt::LeftButton);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return Control<QListWidget>(IDC_DEVICE_LIST)->count() == 4; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Marked(Entry("Factory")); }, 2000));
    EXPECT_TRUE(Entry("Factory")->toolTip().endsWith(
        QLatin1String("\nIP: 10.0.0.7\nMAC: 02005e000101\nInterface: eth2 (10.0.0.5/24)")))
        << Entry("Factory")->toolTip().toStdString();
}

TEST_F(CameraNetworkWindowTest, SaysWhenNothingAnsweredAndWhenNoCardCanBeSearched) {
    SKIP_WITHOUT_NETWORKS();
    WorkerEndpoints nobody;
    nobody.destinationPort = 4001;
    ASSERT_NO_FATAL_FAILURE(StartFinder(nobody));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return Status().startsWith(QLatin1String("No camera answered on eth1, eth2, eth4. "));
        },
        5000))
        << Status().toStdString();
    EXPECT_TRUE(Status().contains(QLatin1String("a firewall drops UDP port 3566")));
    m_dlg.reset();

    WorkerEndpoints noCard;
    noCard.interfaces = {"eth3"};
    ASSERT_NO_FATAL_FAILURE(StartFinder(noCard));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Status().startsWith(QLatin1String("ERR: no network card to search!")); },
        3000))
        << Status().toStdString();
}

} // namespace

int main(int argc, char** argv) {
    EnterPrivateNetworkNamespace(); // before Qt or anything else starts a thread
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new CameraNetworks);
    return RUN_ALL_TESTS();
}
