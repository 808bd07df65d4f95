#include "cli/finder_cli.h"

#include "cli/apply_command.h"
#include "cli/assign_command.h"
#include "cli/cli_command.h"
#include "cli/cli_options.h"
#include "cli/interfaces_command.h"
#include "cli/interrupt_guard.h"
#include "cli/probe_command.h"
#include "cli/scan_command.h"
#include "cli/set_command.h"
#include "cli/suggest_command.h"
#include "cli/watch_command.h"
#include "core/program/finder_version.h"

int RunFinderCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 LocalNetworksFunction localNetworks) {
    std::string error;
    const std::optional<CliOptions> options = ParseCliArguments(args, error);
    if (!options) {
        err << "finder-cli: " << error << "\nTry 'finder-cli --help'.\n";
        return CLI_EXIT_USAGE;
    }
    if (!CheckInterfaceNames(*options, err)) {
        return CLI_EXIT_USAGE;
    }
    switch (options->command) {
    case CliCommand::Scan:
        return RunScan(*options, out, err);
    case CliCommand::Set:
        return RunSet(*options, out, err, localNetworks);
    case CliCommand::Assign:
        return RunAssign(*options, out, err, localNetworks);
    case CliCommand::Apply:
        return RunApply(*options, out, err, localNetworks);
    case CliCommand::Suggest:
        return RunSuggest(*options, out, err);
    case CliCommand::Probe:
        return RunProbe(*options, out, err);
    case CliCommand::Interfaces:
        return RunInterfaces(*options, out);
    case CliCommand::Watch: {
        const CInterruptGuard interrupt; // Ctrl-C ends the watch, and finder-cli with status 0
        return RunWatch(*options, out, err, interrupt.Raised());
    }
    case CliCommand::Version:
        out << VersionLine("finder-cli");
        return CLI_EXIT_OK;
    case CliCommand::Help:
        break;
    }
    out << FINDER_CLI_USAGE;
    return CLI_EXIT_OK;
}
