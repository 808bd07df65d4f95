#include "app/finder_options.h"

#include <string_view>

#include "core/program/network_options.h"
#include "core/program/option_table.h"

// The finder's network options; it takes no --to (its search addresses are the window's).
static COptionTable OptionTable(NetworkOptions& network) {
    COptionTable table(OptionSpelling::SeparateOrEquals);
    AddNetworkOptions(table, network, NetworkTargets::Without);
    return table;
}

// --help or --version anywhere wins over everything else, a bad variable included.
static bool AnswerFirst(FinderOptions& options, int argc, const char* const argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        options.help = options.help || argument == "--help" || argument == "-h";
        options.version = options.version || argument == "--version";
    }
    return options.help || options.version;
}

// Qt takes options of one dash ("-platform offscreen", "-style fusion"); they and the word
// after them are Qt's, so "finder -platform offscreen --local-port 3567" works.
static bool IsQtArgument(std::string_view argument) {
    return argument.size() > 1 && argument[0] == '-' && argument[1] != '-';
}

FinderOptions ParseFinderOptions(int argc, const char* const argv[]) {
    FinderOptions options;
    if (AnswerFirst(options, argc, argv)) {
        return options;
    }
    NetworkOptions network;
    const COptionTable table = OptionTable(network);
    options.error = ReadNetworkVariables(table);
    if (!options.error.empty()) {
        return options;
    }
    const std::vector<std::string> args(argv, argv + argc);
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (IsQtArgument(args[i])) {
            i += i + 1 < args.size() && !args[i + 1].starts_with('-') ? 1 : 0;
            continue;
        }
        if (const OptionFault fault = table.Read(args, i)) {
            options.error = DescribeOptionFault(fault);
            return options;
        }
    }
    options.error = network.Finish();
    options.endpoints = network.endpoints;
    return options;
}

std::string FinderUsage() {
    constexpr std::size_t column = 24;
    NetworkOptions unused;
    return "Usage: finder [--interface NAME[,NAME]...]... [--broadcast ADDR] [--device-port N]\n"
           "              [--local-port N]\n"
           "       finder --help | --version\n"
           "\n" +
           COptionTable::Wrapped("Lists the IP cameras of the local network segment, found by a "
                                 "UDP broadcast, shows the network settings a camera reports, "
                                 "sends changed settings back to one camera and opens a "
                                 "camera's web page.",
                                 0) +
           "\nOptions:\n" + OptionTable(unused).Help(column) +
           COptionTable::HelpLine("--help", "show this text", column) +
           COptionTable::HelpLine("--version", "show the version", column) +
           "Qt's own options (one dash, such as -platform offscreen) go to Qt.\n"
           "\n" +
           NetworkVariablesHelp(column) + "\n" +
           COptionTable::Wrapped("The window's texts come from language.db, next to the program "
                                 "or in the installed share/finder folder; the language picked "
                                 "is kept in the user's own copy of it "
                                 "(~/.local/share/finder/language.db).",
                                 0) +
           "Exit status: 0, or 2 for a bad option or variable.\n";
}
