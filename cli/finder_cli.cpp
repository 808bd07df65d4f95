#include "cli/finder_cli.h"

#include "cli/cli_options.h"
#include "protocol/device_format.h"
#include "cli/scan_session.h"
#include "cli/set_change.h"

namespace {

int Fail(std::ostream& err, const std::string& message, int status) {
    err << "finder-cli: " << message << "\n";
    return status;
}

// Replies that never made it into the result are named, so that "0 devices" after a
// flood of over-long datagrams is not taken for an empty network.
void ReportLostReplies(const ScanResult& result, std::ostream& err) {
    if (result.overlongReplies > 0) {
        err << "finder-cli: " << result.overlongReplies << " replies longer than "
            << WORKER_RECEIVE_BUFFER << " bytes were dropped\n";
    }
    if (result.tableFullReplies > 0) {
        err << "finder-cli: " << result.tableFullReplies
            << " replies were dropped: the table holds at most " << DEVICE_TABLE_SLOTS
            << " devices\n";
    }
}

int RunScan(const CliOptions& options, std::ostream& out, std::ostream& err) {
    ScanSession session(options.endpoints);
    ScanResult result;
    std::string error;
    if (!session.Scan(options.timeoutMs, result, error)) {
        return Fail(err, error, CLI_EXIT_FAILED);
    }
    ReportLostReplies(result, err);
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
    case CliCommand::Help:
        break;
    }
    out << FINDER_CLI_USAGE;
    return CLI_EXIT_OK;
}
