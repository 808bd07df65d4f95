// What finder-cli says of itself: each command's help from its own option table, and the
// network options worded as the finder words them.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/command_registry.h"
#include "cli/finder_cli.h"
#include "core/program/option_table.h"
#include "tests/support/test_loopback.h"
#include "tests/support/test_process.h"

namespace {

struct Said {
    int status;
    std::string out;
    std::string err;
};

Said Cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunFinderCli(args, out, err);
    return {status, out.str(), err.str()};
}

// Every line of text, numbered from 1, that is wider than the help may be.
std::string WideLines(const std::string& text) {
    std::string wide;
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (line.size() > HELP_WIDTH) {
            wide += std::to_string(number) + ": " + line + "\n";
        }
    }
    return wide;
}

const std::vector<std::string> NETWORK = {"--to TARGET", "--interface NAME", "--broadcast ADDR",
                                          "--device-port N", "--local-port N"};
const std::vector<std::string> SEARCH = {"--timeout-ms N", "--settle-ms N", "--encoding ENC"};

} // namespace

TEST(FinderCliHelp, EveryCommandAnswersHelpWithItsOwnOptions) {
    const struct {
        const char* command;
        std::vector<std::string> options; // beside the search and network options
        bool searches;
    } cases[] = {
        {"scan", {"--json", "--csv", "--show-passwords"}, true},
        {"set",
         {"--name TEXT", "--ip ADDR", "--netmask ADDR", "--gateway ADDR", "--http-port P",
          "--mode MODE", "--pppoe-account TEXT", "--pppoe-password TEXT", "--new-mac MAC",
          "--no-verify", "--force"},
         true},
        {"assign",
         {"--all", "--netmask M", "--gateway G", "--name TEMPLATE", "--order ORDER", "--dry-run",
          "--force", "--json", "--csv", "--show-passwords"},
         true},
        {"apply", {"--dry-run", "--force", "--json", "--csv", "--show-passwords"}, true},
        {"suggest", {}, true},
        {"watch", {"--every SECONDS", "--json"}, true},
        {"interfaces", {}, false},
    };
    ASSERT_EQ(Commands().size(), std::size(cases)) << "a command without a case here";
    const std::string general = Cli({"--help"}).out;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const std::unique_ptr<CCommand> command = FindCommand(c.command);
        ASSERT_TRUE(command);
        EXPECT_NE(general.find("  " + command->Name() + " "), std::string::npos) << general;
        EXPECT_NE(general.find(command->Summary()), std::string::npos) << general;
        for (const std::vector<std::string>& args : {std::vector<std::string>{c.command, "--help"},
                                                     {"help", c.command},
                                                     {c.command, "-h", "--bogus"}}) {
            const Said said = Cli(args);
            EXPECT_EQ(said.status, 0);
            EXPECT_EQ(said.out, command->Help());
            EXPECT_EQ(said.err, "");
        }
        const std::string help = command->Help();
        EXPECT_EQ(help.rfind(std::string("Usage: finder-cli ") + c.command, 0), 0u) << help;
        EXPECT_NE(help.find("\nExit status:\n  0 "), std::string::npos) << help;
        std::vector<std::string> options = c.options;
        if (c.searches) {
            options.insert(options.end(), SEARCH.begin(), SEARCH.end());
            options.insert(options.end(), NETWORK.begin(), NETWORK.end());
        }
        for (const std::string& option : options) {
            EXPECT_NE(help.find("\n  " + option + " "), std::string::npos) << option << "\n"
                                                                           << help;
        }
        EXPECT_EQ(c.searches, help.find("--interface") != std::string::npos);
        EXPECT_EQ(WideLines(help), "");
    }
    EXPECT_EQ(WideLines(general), "");
    // The executable too, as a script calls it.
    EXPECT_EQ(CommandStatus(ShellQuoted(FINDER_CLI_PATH) + " watch --help >" + NULL_DEVICE), 0);
    EXPECT_EQ(CommandOutput(ShellQuoted(FINDER_CLI_PATH) + " set --help"),
              FindCommand("set")->Help());
}

// The faults of the network options read as the finder's (tests/app/finder_options_test).
TEST(FinderCliHelp, NetworkOptionsTakeBothFormsOfInterfaceAndWordFaultsAsTheFinder) {
    const struct {
        std::vector<std::string> args;
        const char* error;
    } faults[] = {
        {{"scan", "--device-port", "70000"},
         "--device-port: \"70000\" is not a port of 1 to 65535"},
        {{"scan", "--interface", "eth1,,eth2"},
         "--interface: \"eth1,,eth2\" is not a comma-separated list of network cards"},
        {{"watch", "--broadcast", "127.0.0.1", "--interface", "lo"},
         "give either --broadcast or --interface, not both"},
    };
    for (const auto& fault : faults) {
        const Said said = Cli(fault.args);
        EXPECT_EQ(said.status, 2);
        EXPECT_EQ(said.err,
                  "finder-cli: " + std::string(fault.error) + "\nTry 'finder-cli --help'.\n");
    }
    // A card that does not exist is named the same in both forms: both reached the check.
    const std::string port = std::to_string(FreeUdpPort());
    const Said list = Cli({"scan", "--interface", "lo,nosuch9", "--device-port", port});
    const Said repeated =
        Cli({"scan", "--interface", "lo", "--interface=nosuch9", "--device-port", port});
    EXPECT_EQ(list.status, 2);
    EXPECT_EQ(list.err.rfind("finder-cli: --interface: no network card is named \"nosuch9\"", 0),
              0u)
        << list.err;
    EXPECT_EQ(repeated.status, list.status);
    EXPECT_EQ(repeated.err, list.err);
}
