#include <gtest/gtest.h>

#include <cstdlib>

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
    EXPECT_EQ(ParseFinderOptions(3, bad).error, "bad value for --interface: \"eth1,,eth2\"");
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
    const char* help[] = {"finder", "--help"};
    EXPECT_EQ(ParseFinderOptions(2, help).error, "unknown option --help");
    setenv("FINDER_BROADCAST", "not an address", 1);
    const char* argv[] = {"finder"};
    EXPECT_NE(ParseFinderOptions(1, argv).error.find("FINDER_BROADCAST"), std::string::npos);
}

} // namespace
