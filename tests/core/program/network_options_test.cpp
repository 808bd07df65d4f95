#include <gtest/gtest.h>

#include <cstdlib>

#include "core/program/network_options.h"

namespace {

struct Read {
    NetworkOptions options;
    std::string error;
};

Read ReadArguments(const std::vector<std::string>& args) {
    Read read;
    COptionTable table(OptionSpelling::SeparateOrEquals);
    AddNetworkOptions(table, read.options, NetworkTargets::With);
    for (std::size_t i = 0; i < args.size() && read.error.empty(); ++i) {
        read.error = DescribeOptionFault(table.Read(args, i));
    }
    if (read.error.empty()) {
        read.error = read.options.Finish();
    }
    return read;
}

TEST(NetworkOptions, CardsComeAsAListOrOneByOneAndFaultsNameTheOption) {
    using Args = std::vector<std::string>;
    const std::vector<std::string> cards = {"eth0", "eth1", "lo"};
    for (const Args& args : {Args{"--interface", "eth0,eth1,lo"},
                             Args{"--interface", "eth0", "--interface", "eth1", "--interface=lo"},
                             Args{"--interface", "eth0,eth1", "--interface", "lo"}}) {
        const Read read = ReadArguments(args);
        EXPECT_EQ(read.error, "") << ::testing::PrintToString(args);
        EXPECT_EQ(read.options.endpoints.interfaces, cards) << ::testing::PrintToString(args);
        EXPECT_TRUE(read.options.endpoints.SendsPerInterface());
    }
    const struct {
        Args args;
        const char* error;
    } faults[] = {
        {{"--interface", "eth0,,eth1"},
         "--interface: \"eth0,,eth1\" is not a comma-separated list of network cards"},
        {{"--interface", "a/b"}, "--interface: \"a/b\" is not the name of a network card"},
        {{"--interface", "sixteen-letters!"},
         "--interface: \"sixteen-letters!\" is not the name of a network card"},
        {{"--broadcast", "localhost"},
         "--broadcast: \"localhost\" is not four dotted decimal numbers of 0 to 255"},
        {{"--device-port", "70000"}, "--device-port: \"70000\" is not a port of 1 to 65535"},
        {{"--local-port", "0"}, "--local-port: \"0\" is not a port of 1 to 65535"},
        {{"--local-port"}, "--local-port needs a value"},
        {{"--colour"}, "unknown option \"--colour\""},
        {{"--broadcast", "127.0.0.1", "--interface", "lo"},
         "give either --broadcast or --interface, not both"},
        {{"--to", "10.0.0.0/20", "--to", "10.1.0.0-10.1.0.9"},
         "--to: more than 4096 addresses in all"},
    };
    for (const auto& fault : faults) {
        EXPECT_EQ(ReadArguments(fault.args).error, fault.error)
            << ::testing::PrintToString(fault.args);
    }
    const Read targets = ReadArguments({"--to", "10.0.0.1-10.0.0.3", "--to", "10.0.0.2"});
    EXPECT_EQ(targets.options.targets, (std::vector<uint32_t>{0x0A000001, 0x0A000002, 0x0A000003}));
}

TEST(NetworkOptions, VariablesGoToTheirOptionsAndAreNamedInAFault) {
    NetworkOptions options;
    COptionTable table(OptionSpelling::SeparateOrEquals);
    AddNetworkOptions(table, options, NetworkTargets::Without);
    setenv("FINDER_INTERFACES", "eth0,eth1", 1);
    setenv("FINDER_DEVICE_PORT", "4100", 1);
    EXPECT_EQ(ReadNetworkVariables(table), "");
    EXPECT_EQ(options.endpoints.interfaces, (std::vector<std::string>{"eth0", "eth1"}));
    EXPECT_EQ(options.endpoints.destinationPort, 4100);
    setenv("FINDER_DEVICE_PORT", "port", 1);
    EXPECT_EQ(ReadNetworkVariables(table),
              "--device-port: \"port\" is not a port of 1 to 65535 (from FINDER_DEVICE_PORT)");
    unsetenv("FINDER_INTERFACES");
    unsetenv("FINDER_DEVICE_PORT");
    const std::string help = NetworkVariablesHelp(24) + table.Help(24);
    for (const NetworkVariable& variable : NetworkVariables()) {
        EXPECT_NE(help.find(variable.variable), std::string::npos) << variable.variable;
        EXPECT_NE(help.find(std::string("  ") + variable.option + " "), std::string::npos)
            << variable.option;
    }
    EXPECT_EQ(help.find("--to"), std::string::npos) << "the finder takes no --to";
}

} // namespace
