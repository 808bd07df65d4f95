#include "cli/finder_cli.h"

#include <algorithm>

#include "cli/cli_options.h"
#include "cli/command_registry.h"
#include "core/program/finder_version.h"

namespace {

bool Holds(const std::vector<std::string>& args, const char* word) {
    return std::find(args.begin(), args.end(), word) != args.end();
}

int Usage(std::ostream& err, const std::string& error) {
    err << "finder-cli: " << error << "\nTry 'finder-cli --help'.\n";
    return CLI_EXIT_USAGE;
}

// "scan, set, ... or interfaces"
std::string CommandList() {
    const std::vector<std::unique_ptr<CCommand>> commands = Commands();
    std::string names;
    for (std::size_t i = 0; i < commands.size(); ++i) {
        names += (i == 0 ? "" : i + 1 == commands.size() ? " or " : ", ") + commands[i]->Name();
    }
    return names;
}

} // namespace

// --help (or -h) anywhere asks for help: a command's own after its name, else the general
// one; --version anywhere the version.
int RunFinderCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 LocalNetworksFunction localNetworks) {
    if (args.empty()) {
        return Usage(err, "give a command: " + CommandList());
    }
    const bool helpWord = args[0] == "help";
    if (helpWord || Holds(args, "--help") || Holds(args, "-h")) {
        const std::string& name = helpWord && args.size() > 1 ? args[1] : args[0];
        const std::unique_ptr<CCommand> command = FindCommand(name);
        out << (command ? command->Help() : FinderCliHelp());
        return CLI_EXIT_OK;
    }
    if (Holds(args, "--version")) {
        out << VersionLine("finder-cli");
        return CLI_EXIT_OK;
    }
    const std::unique_ptr<CCommand> command = FindCommand(args[0]);
    if (!command) {
        return Usage(err, "unknown command \"" + args[0] + "\" (" + CommandList() + ")");
    }
    if (const std::string error = command->Read({args.begin() + 1, args.end()}); !error.empty()) {
        return Usage(err, error);
    }
    if (!command->Check(err)) {
        return CLI_EXIT_USAGE;
    }
    return command->Run({out, err, localNetworks});
}
