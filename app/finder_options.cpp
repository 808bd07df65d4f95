#include "app/finder_options.h"

#include <cstdlib>
#include <string_view>

#include "core/program/option_table.h"
#include "core/rules/input_checks.h"

static bool ReadPort(std::string_view text, uint16_t& port) {
    if (!IsHttpPort(text)) { // the same rule: 1 to 65535 in at most five digits
        return false;
    }
    port = static_cast<uint16_t>(std::stoi(std::string(text)));
    return true;
}

// The cards of a comma-separated list; false when a name is empty or holds a space or '/'.
static bool ReadInterfaces(std::string_view list, std::vector<std::string>& names) {
    while (true) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        if (name.empty() || name.size() >= 16 || name.find_first_of("/ \t") != name.npos) {
            return false;
        }
        names.emplace_back(name);
        if (comma == std::string_view::npos) {
            return true;
        }
        list.remove_prefix(comma + 1);
    }
}

// The finder shows no reason, only the value it did not understand.
static std::string Verdict(bool understood) {
    return understood ? "" : "not understood";
}

// One destination, sent to as the routing table has it: no search per card.
static std::string ReadDestination(const std::string& address, WorkerEndpoints& endpoints) {
    if (!IsDottedAddress(address)) {
        return Verdict(false);
    }
    endpoints.destinationAddress = address;
    endpoints.everyInterface = false;
    return Verdict(true);
}

// The settings, each help line with the cameras' default (--interface has none).
static COptionTable OptionTable(WorkerEndpoints& endpoints) {
    const WorkerEndpoints defaults;
    COptionTable table(OptionSpelling::SeparateOrEquals);
    table.Add(
        {"--local-port"}, "N",
        [&](const std::string& v) { return Verdict(ReadPort(v, endpoints.localPort)); },
        "the local UDP port replies come to (default " + std::to_string(defaults.localPort) + ")");
    table.Add(
        {"--broadcast"}, "ADDR",
        [&](const std::string& v) { return ReadDestination(v, endpoints); },
        "where queries and settings go (default " + defaults.destinationAddress + ")");
    table.Add(
        {"--device-port"}, "N",
        [&](const std::string& v) { return Verdict(ReadPort(v, endpoints.destinationPort)); },
        "the cameras' UDP port (default " + std::to_string(defaults.destinationPort) + ")");
    table.Add({"--interface"}, "NAME", [&](const std::string& v) {
        return Verdict(ReadInterfaces(v, endpoints.interfaces));
    });
    return table;
}

// The words of a fault, "(from VARIABLE)" added by the caller for a variable.
static std::string Describe(const OptionFault& fault) {
    switch (fault.kind) {
    case OptionFaultKind::Unknown:
        return "unknown option " + fault.name;
    case OptionFaultKind::MissingValue:
        return "missing value for " + fault.name;
    default:
        return "bad value for " + fault.name + ": \"" + fault.value + "\"";
    }
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
    const COptionTable table = OptionTable(options.endpoints);
    const struct {
        const char* variable;
        const char* option;
    } environment[] = {{"FINDER_LOCAL_PORT", "--local-port"},
                       {"FINDER_BROADCAST", "--broadcast"},
                       {"FINDER_DEVICE_PORT", "--device-port"},
                       {"FINDER_INTERFACES", "--interface"}};
    for (const auto& setting : environment) {
        const char* value = std::getenv(setting.variable);
        if (value == nullptr || *value == '\0') {
            continue;
        }
        if (const OptionFault fault = table.Give(setting.option, value)) {
            options.error = Describe(fault) + " (from " + setting.variable + ")";
            return options;
        }
    }
    const std::vector<std::string> args(argv, argv + argc);
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (IsQtArgument(args[i])) {
            i += i + 1 < args.size() && !args[i + 1].starts_with('-') ? 1 : 0;
            continue;
        }
        if (const OptionFault fault = table.Read(args, i)) {
            options.error = Describe(fault);
            return options;
        }
    }
    if (!options.endpoints.everyInterface && !options.endpoints.interfaces.empty()) {
        options.error = "give either --broadcast or --interface, not both";
    }
    return options;
}

std::string FinderUsage() {
    constexpr std::size_t column = 21;
    WorkerEndpoints unused;
    return "Usage: finder [--local-port N] [--broadcast ADDR] [--device-port N]\n"
           "       finder --help | --version\n"
           "\n"
           "Lists the IP cameras of the local network segment, found by a UDP broadcast, shows\n"
           "the network settings a camera reports, sends changed settings back to one camera\n"
           "and opens a camera's web page.\n"
           "\n"
           "Options:\n" +
           OptionTable(unused).Help(column) +
           COptionTable::HelpLine("--help", "show this text", column) +
           COptionTable::HelpLine("--version", "show the version", column) +
           "Qt's own options (one dash, such as -platform offscreen) go to Qt.\n"
           "\n"
           "Environment (an option wins over its variable):\n"
           "  FINDER_LOCAL_PORT    as --local-port\n"
           "  FINDER_BROADCAST     as --broadcast\n"
           "  FINDER_DEVICE_PORT   as --device-port\n"
           "\n"
           "The window's texts come from language.db, next to the program or in the installed\n"
           "share/finder folder; the language picked is kept in the user's own copy of it\n"
           "(~/.local/share/finder/language.db).\n"
           "Exit status: 0, or 2 for a bad option or variable.\n";
}
