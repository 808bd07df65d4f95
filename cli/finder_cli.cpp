#include "cli/finder_cli.h"

#include "cli/cli_options.h"
#include "protocol/device_format.h"
#include "cli/scan_session.h"
#include "cli/set_change.h"
#include "protocol/finder_version.h"

namespace {

int Fail(std::ostream& err, const std::string& message, int status) {
    err << "finder-cli: " << message << "\n";
    return status;
}

int RunScan(const CliOptions& options, std::ostream& out, std::ostream& err) {
    ScanSession session(options.endpoints);
    ScanResult result;
    std::string error;
    if (!session.Scan(options.timeoutMs, result, error)) {
        return Fail(err, error, CLI_EXIT_FAILED);
    }
    switch (options.format) {
    case OutputFormat::Json:
        out << FormatJson(result.devices);
        break;
    case OutputFormat::Csv:
        out << FormatCsv(result.devices);
        break;
    case OutputFormat::Table:
        out << FormatTable(result.devices);
        break;
    }
    return CLI_EXIT_OK;
}

int Verify(ScanSession& session, const CliOptions& options, const PanelValues& sent,
           std::ostream& out, std::ostream& err) {
    const std::string mac = options.changes.newMac.value_or(options.mac);
    ScanResult result;
    std::string error;
    if (!session.Scan(options.timeoutMs, result, error)) {
        return Fail(err, error, CLI_EXIT_FAILED);
    }
    const DeviceRecord* device = result.FindByMac(mac);
    if (device == nullptr) {
        return Fail(err, "the change did not verify: no device answered with MAC " + mac,
                    CLI_EXIT_FAILED);
    }
    const std::vector<std::string> differences = VerifyChange(sent, *device);
    if (!differences.empty()) {
        std::string message = "the change did not verify: device " + mac + " answers with";
        for (std::size_t i = 0; i < differences.size(); ++i) {
            message += (i == 0 ? " " : "; ") + differences[i];
        }
        return Fail(err, message, CLI_EXIT_FAILED);
    }
    out << "device " << mac << " answers with the new settings\n";
    return CLI_EXIT_OK;
}

int RunSet(const CliOptions& options, std::ostream& out, std::ostream& err) {
    ScanSession session(options.endpoints);
    ScanResult scanned;
    std::string error;
    if (!session.Scan(options.timeoutMs, scanned, error)) {
        return Fail(err, error, CLI_EXIT_FAILED);
    }
    const DeviceRecord* device = scanned.FindByMac(options.mac);
    if (device == nullptr) {
        return Fail(err, "no device answered with MAC " + options.mac + "; nothing was sent",
                    CLI_EXIT_FAILED);
    }
    if (const std::string reason = RefusalReason(*device, options.changes, scanned.devices);
        !reason.empty()) {
        return Fail(err, reason + "; nothing was sent", CLI_EXIT_USAGE);
    }
    const PanelValues values = PanelValuesFor(*device, options.changes);
    DiscoveryDatagram request;
    BuildSetRequest(request, *scanned.table, values);
    if (!session.Send(request, error)) {
        return Fail(err, error, CLI_EXIT_FAILED);
    }
    out << "settings sent to device " << options.mac << "\n";
    return options.verify ? Verify(session, options, values, out, err) : CLI_EXIT_OK;
}

} // namespace

int RunFinderCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    const std::optional<CliOptions> options = ParseCliArguments(args, error);
    if (!options) {
        err << "finder-cli: " << error << "\nTry 'finder-cli --help'.\n";
        return CLI_EXIT_USAGE;
    }
    switch (options->command) {
    case CliCommand::Scan:
        return RunScan(*options, out, err);
    case CliCommand::Set:
        return RunSet(*options, out, err);
    case CliCommand::Version:
        out << VersionLine("finder-cli");
        return CLI_EXIT_OK;
    case CliCommand::Help:
        break;
    }
    out << FINDER_CLI_USAGE;
    return CLI_EXIT_OK;
}
