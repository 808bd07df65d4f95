#include "app/finder_options.h"

#include <cstdlib>
#include <string_view>

#include "core/rules/input_checks.h"

static bool ReadPort(std::string_view text, uint16_t& port) {
    if (!IsHttpPort(text)) { // the same rule: 1 to 65535 in at most five digits
        return false;
    }
    port = static_cast<uint16_t>(std::stoi(std::string(text)));
    return true;
}

static bool IsOption(std::string_view name) {
    return name == "--local-port" || name == "--device-port" || name == "--broadcast" ||
           name == "--interface";
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

// Applies one setting of a known name; false with an error text when its value is not
// understood.
static bool Apply(FinderOptions& options, std::string_view name, std::string_view value) {
    WorkerEndpoints& endpoints = options.endpoints;
    bool ok = false;
    if (name == "--local-port") {
        ok = ReadPort(value, endpoints.localPort);
    } else if (name == "--device-port") {
        ok = ReadPort(value, endpoints.destinationPort);
    } else if (name == "--interface") {
        ok = ReadInterfaces(value, endpoints.interfaces);
    } else {
        // One destination, sent to as the routing table has it: no search per card.
        ok = IsDottedAddress(value);
        if (ok) {
            endpoints.destinationAddress = std::string(value);
            endpoints.everyInterface = false;
        }
    }
    if (!ok) {
        options.error = "bad value for " + std::string(name) + ": \"" + std::string(value) + "\"";
    }
    return ok;
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
    const struct {
        const char* variable;
        const char* option;
    } environment[] = {{"FINDER_LOCAL_PORT", "--local-port"},
                       {"FINDER_BROADCAST", "--broadcast"},
                       {"FINDER_DEVICE_PORT", "--device-port"},
                       {"FINDER_INTERFACES", "--interface"}};
    for (const auto& setting : environment) {
        const char* value = std::getenv(setting.variable);
        if (value != nullptr && *value != '\0' && !Apply(options, setting.option, value)) {
            options.error += " (from " + std::string(setting.variable) + ")";
            return options;
        }
    }
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (IsQtArgument(argument)) {
            i += i + 1 < argc && argv[i + 1][0] != '-' ? 1 : 0;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string_view name = argument.substr(0, equals);
        // A name is checked before its value is looked for: "finder --help" is no missing value.
        if (!IsOption(name)) {
            options.error = "unknown option " + std::string(name);
            return options;
        }
        std::string_view value;
        if (equals != std::string_view::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            options.error = "missing value for " + std::string(name);
            return options;
        }
        if (!Apply(options, name, value)) {
            return options;
        }
    }
    if (!options.endpoints.everyInterface && !options.endpoints.interfaces.empty()) {
        options.error = "give either --broadcast or --interface, not both";
    }
    return options;
}

std::string FinderUsage() {
    const WorkerEndpoints defaults;
    return "Usage: finder [--local-port N] [--broadcast ADDR] [--device-port N]\n"
           "       finder --help | --version\n"
           "\n"
           "Lists the IP cameras of the local network segment, found by a UDP broadcast, shows\n"
           "the network settings a camera reports, sends changed settings back to one camera\n"
           "and opens a camera's web page.\n"
           "\n"
           "Options:\n"
           "  --local-port N     the local UDP port replies come to (default " +
           std::to_string(defaults.localPort) +
           ")\n"
           "  --broadcast ADDR   where queries and settings go (default " +
           defaults.destinationAddress +
           ")\n"
           "  --device-port N    the cameras' UDP port (default " +
           std::to_string(defaults.destinationPort) +
           ")\n"
           "  --help             show this text\n"
           "  --version          show the version\n"
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
