// A camera network behind a router that a broadcast does not reach: this process's own
// network namespace holds the site of camera_networks.sh with its router (eth4 10.1.0.5/24,
// the router at 10.1.0.1, the cameras at 10.2.0.0/24 behind it). Without a namespace every
// test skips.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "cli/finder_cli.h"
#include "core/worker/search_schedule.h"
#include "tests/support/test_files.h"
#include "tests/support/test_namespace.h"

namespace {

//   name | mac | ip | netmask | gateway | port | mode | version | account | password | ro
const char LOCAL_CAMERA[] = "Front door | 02005e000001 | 192.168.1.20 | 255.255.255.0 | "
                            "192.168.1.1 | 80 | FFFFFFFF | 2.1.0 | | | 0\n";
const char ROUTED_CAMERA[] = "Yard | 02005e000201 | 10.2.0.21 | 255.255.255.0 | 10.2.0.1 | 80 | "
                             "FFFFFFFF | 2.1.0 | | | 0\n";

std::string g_skipReason;

class RoutedNetwork : public ::testing::Environment {
public:
    void SetUp() override {
        if (!g_skipReason.empty()) {
            return;
        }
        const std::string state = m_state.path().toStdString();
        std::ofstream(state + "/local.txt") << LOCAL_CAMERA;
        std::ofstream(state + "/routed.txt") << ROUTED_CAMERA;
        const std::string up = std::string(CAMERA_NETWORKS_SCRIPT) + " up " + state + " " +
                               CAMSIM_PATH + " " + state + "/local.txt " + state + "/local.txt " +
                               state + "/routed.txt";
        if (std::system(up.c_str()) != 0) {
            g_skipReason = "the routed camera network could not be built here (ip, veth)";
        }
    }
    void TearDown() override {
        const std::string down =
            std::string(CAMERA_NETWORKS_SCRIPT) + " down " + m_state.path().toStdString();
        [[maybe_unused]] const int status = std::system(down.c_str());
    }
    static std::string RoutedLog() { return s_state + "/net3.log"; }
    RoutedNetwork() { s_state = m_state.path().toStdString(); }

private:
    QTemporaryDir m_state;
    static inline std::string s_state;
};

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

int Datagrams(const std::string& log) {
    const std::string text = ReadFile(log);
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(RoutedNetworkTest, ACameraBehindARouterIsFoundByToAndRenamedAndConfirmedThere) {
    if (!g_skipReason.empty()) {
        GTEST_SKIP() << g_skipReason;
    }
    CliRun run = Cli({"scan", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("02005e000001"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("02005e000201"), std::string::npos) << "no broadcast reaches it";
    EXPECT_EQ(Datagrams(RoutedNetwork::RoutedLog()), 0);

    run = Cli({"scan", "--json", "--to", "10.2.0.16/28", "--to", "10.9.0.1"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(R"("mac": "02005e000201", "ip": "10.2.0.21")"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("02005e000001"), std::string::npos) << "the broadcast went as well";
    EXPECT_EQ(Datagrams(RoutedNetwork::RoutedLog()), SEARCH_QUERY_COPIES)
        << "each copy of the query once at its address";

    run = Cli({"set", "02005e000201", "--name", "Gate", "--to", "10.2.0.21"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("settings sent to device 02005e000201\n", 0), 0u) << run.out;
    run = Cli({"scan", "--csv", "--to", "10.2.0.21"});
    EXPECT_NE(run.out.find(",Gate,2.1.0,02005e000201,10.2.0.21,"), std::string::npos) << run.out;
}

} // namespace

int main(int argc, char** argv) {
    g_skipReason = EnterPrivateNetworkNamespace(); // before anything starts a thread
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new RoutedNetwork);
    return RUN_ALL_TESTS();
}
