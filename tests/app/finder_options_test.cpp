#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/finder_options.h"

namespace {

class FinderOptionsTest : public ::testing::Test {
protected:
    void SetUp() override { Unset(); }
    void TearDown() override { Unset(); }
    static void Unset() {
        unsetenv("FINDER_LOCAL_PORT");
        unsetenv("FINDER_BROADCAST");
        unsetenv("FINDER_DEVICE_PORT");
    }
};

TEST_F(FinderOptionsTest, DefaultsAreTheCamerasOwn) {
    const char* argv[] = {"finder"};
    const FinderOptions options = ParseFinderOptions(1, argv);
    EXPECT_TRUE(options.error.empty());
    EXPECT_EQ(options.endpoints.localPort, 3566);
    EXPECT_EQ(options.endpoints.destinationAddress, "255.255.255.255");
    EXPECT_EQ(options.endpoints.destinationPort, 4000);
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
    EXPECT_EQ(ParseFinderOptions(2, colour).error, "unknown option --colour");
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
          "FINDER_BROADCAST", "FINDER_DEVICE_PORT", "--help", "--version"}) {
        EXPECT_NE(usage.find(part), std::string::npos) << part;
    }
}

} // namespace
