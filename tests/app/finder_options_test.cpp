#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/finder_options.h"
#include "core/program/option_table.h"

namespace {

class FinderOptionsTest : public ::testing::Test {
protected:
    void SetUp() override { Unset(); }
    void TearDown() override { Unset(); }
    static void Unset() {
        unsetenv("FINDER_LOCAL_PORT");
        unsetenv("FINDER_BROADCAST");
        unsetenv("FINDER_DEVICE_PORT");
        unsetenv("FINDER_INTERFACES");
    }
};

TEST_F(FinderOptionsTest, DefaultsAreTheCamerasOwn) {
    const char* argv[] = {"finder"};
    const FinderOptions options = ParseFinderOptions(1, argv);
    EXPECT_TRUE(options.error.empty());
    EXPECT_EQ(options.endpoints.localPort, 3566);
    EXPECT_EQ(options.endpoints.destinationAddress, "255.255.255.255");
    EXPECT_EQ(options.endpoints.destinationPort, 4000);
    EXPECT_TRUE(options.endpoints.SendsPerInterface()) << "a query out of every card";
}

TEST_F(FinderOptionsTest, CardsAreChosenByNameAndABroadcastIsOneDestination) {
    setenv("FINDER_INTERFACES", "eth1,eth2", 1);
    const char* cards[] = {"finder", "--interface", "lo"};
    FinderOptions options = ParseFinderOptions(3, cards);
    EXPECT_TRUE(options.error.empty()) << options.error;
    EXPECT_EQ(options.endpoints.interfaces, (std::vector<std::string>{"eth1", "eth2", "lo"}));
    EXPECT_TRUE(options.endpoints.SendsPerInterface());

    unsetenv("FINDER_INTERFACES");
    const char* broadcast[] = {"finder", "--broadcast", "255.255.255.255"};
    options = ParseFinderOptions(3, broadcast);
    EXPECT_FALSE(options.endpoints.SendsPerInterface()) << "one send, as before";

    const char* both[] = {"finder", "--broadcast", "127.0.0.1", "--interface", "eth1"};
    EXPECT_EQ(ParseFinderOptions(5, both).error,
              "give either --broadcast or --interface, not both");
    const char* bad[] = {"finder", "--interface", "eth1,,eth2"};
    EXPECT_EQ(ParseFinderOptions(3, bad).error,
              "--interface: \"eth1,,eth2\" is not a comma-separated list of network cards");
    // Both forms of --interface, as finder-cli takes them.
    const char* repeated[] = {"finder", "--interface", "eth1", "--interface=eth2"};
    const char* list[] = {"finder", "--interface", "eth1,eth2"};
    EXPECT_EQ(ParseFinderOptions(4, repeated).endpoints.interfaces,
              ParseFinderOptions(3, list).endpoints.interfaces);
    EXPECT_EQ(ParseFinderOptions(3, list).endpoints.interfaces,
              (std::vector<std::string>{"eth1", "eth2"}));
}

TEST_F(FinderOptionsTest, OptionsOverrideTheEnvironment) {
    setenv("FINDER_LOCAL_PORT", "4100", 1);
    setenv("FINDER_BROADCAST", "127.0.0.1", 1);
    setenv("FINDER_DEVICE_PORT", "4200", 1);
    const char* argv[] = {"finder", "--device-port", "4300", "--local-port=4400"};
    const FinderOptions options = ParseFinderOptions(4, argv);
    EXPECT_TRUE(options.error.empty()) << options.error;
    EXPECT_EQ(options.endpoints.localPort, 4400);
    EXPECT_EQ(options.endpoints.destinationAddress, "127.0.0.1");
    EXPECT_EQ(options.endpoints.destinationPort, 4300);
}

TEST_F(FinderOptionsTest, BadValuesAreReported) {
    const std::vector<std::vector<const char*>> bad = {{"finder", "--broadcast", "localhost"},
                                                       {"finder", "--local-port", "0"},
                                                       {"finder", "--device-port", "70000"},
                                                       {"finder", "--device-port"},
                                                       {"finder", "--colour", "red"}};
    for (const auto& argv : bad) {
        EXPECT_FALSE(ParseFinderOptions(static_cast<int>(argv.size()), argv.data()).error.empty())
            << argv[1];
    }
    const char* colour[] = {"finder", "--colour"};
    EXPECT_EQ(ParseFinderOptions(2, colour).error, "unknown option \"--colour\"");
    // Worded as finder-cli words them: the shared network options have one description.
    const char* port[] = {"finder", "--device-port", "70000"};
    EXPECT_EQ(ParseFinderOptions(3, port).error,
              "--device-port: \"70000\" is not a port of 1 to 65535");
    setenv("FINDER_BROADCAST", "not an address", 1);
    const char* argv[] = {"finder"};
    EXPECT_NE(ParseFinderOptions(1, argv).error.find("FINDER_BROADCAST"), std::string::npos);
}

// --help and --version win over anything else on the line or in the environment; Qt's
// own options (one dash) and their values are left to Qt.
TEST_F(FinderOptionsTest, HelpVersionAndQtsOwnOptions) {
    setenv("FINDER_BROADCAST", "not an address", 1);
    const struct {
        std::vector<const char*> argv;
        bool help;
        bool version;
        bool error;
    } cases[] = {
        {{"finder", "--help"}, true, false, false},
        {{"finder", "-h"}, true, false, false},
        {{"finder", "--local-port", "0", "--version"}, false, true, false},
        {{"finder", "--bogus", "--help"}, true, false, false},
        {{"finder"}, false, false, true}, // the variable is read without --help
    };
    for (const auto& c : cases) {
        const FinderOptions options =
            ParseFinderOptions(static_cast<int>(c.argv.size()), c.argv.data());
        EXPECT_EQ(options.help, c.help) << c.argv.back();
        EXPECT_EQ(options.version, c.version) << c.argv.back();
        EXPECT_EQ(!options.error.empty(), c.error) << c.argv.back() << ": " << options.error;
    }
    unsetenv("FINDER_BROADCAST");
    const char* qt[] = {"finder", "-platform", "offscreen", "-reverse", "--local-port", "4500"};
    const FinderOptions options = ParseFinderOptions(6, qt);
    EXPECT_TRUE(options.error.empty()) << options.error;
    EXPECT_EQ(options.endpoints.localPort, 4500);
}

TEST_F(FinderOptionsTest, UsageNamesTheDefaultsAndTheVariables) {
    const std::string usage = FinderUsage();
    for (const char* part :
         {"(default 3566)", "(default 255.255.255.255)", "(default 4000)", "FINDER_LOCAL_PORT",
          "FINDER_BROADCAST", "FINDER_DEVICE_PORT", "--help", "--version", "--interface NAME",
          "FINDER_INTERFACES", "--broadcast ADDR", "--local-port N", "--device-port N"}) {
        EXPECT_NE(usage.find(part), std::string::npos) << part;
    }
    for (std::size_t start = 0; start < usage.size(); start = usage.find('\n', start) + 1) {
        EXPECT_LE(usage.find('\n', start) - start, HELP_WIDTH) << usage.substr(start, 100);
    }
}

} // namespace
