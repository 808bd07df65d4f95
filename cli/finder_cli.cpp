#include "cli/finder_cli.h"

#include "cli/cli_options.h"
#include "cli/scan_session.h"
#include "cli/set_change.h"
#include "protocol/device_format.h"
#include "protocol/net_interfaces.h"
#include "protocol/search_texts.h"

namespace {

int Fail(std::ostream& err, const std::string& message, int status) {
    err << "finder-cli: " << message << "\n";
    return status;
}

// The first scan of a command, with the words a user needs when some cards failed or
// nothing answered. False when the scan itself failed (error says why).
bool FirstScan(ScanSession& session, const CliOptions& options, ScanResult& result,
               std::ostream& err, std::string& error) {
    if (!session.Scan(options.timeoutMs, result, error)) {
        const std::string noCard(SEARCH_ERR_NO_CARD, sizeof SEARCH_ERR_NO_CARD - 2); // no "\n"
        if (error.find(noCard) != std::string::npos) {
            error += "\n'finder-cli interfaces' shows each card and why it is not searched.";
        }
        return false;
    }
    if (!result.sendNote.empty()) {
        err << "finder-cli: " << result.sendNote << "\n";
    }
    if (result.devices.empty()) {
        const std::vector<NetInterface> searched =
            options.endpoints.SendsPerInterface()
                ? SearchedInterfaces(ListInterfaces(), options.endpoints.interfaces)
                : std::vector<NetInterface>{{options.endpoints.destinationAddress}};
        err << "finder-cli: " << NothingFoundText(searched) << " within " << options.timeoutMs
            << " ms.\n"
            << SEARCH_LIKELY_CAUSES << "\n";
    }
    return true;
}

int RunScan(const CliOptions& options, std::ostream& out, std::ostream& err) {
    ScanSession session(options.endpoints);
    ScanResult result;
    std::string error;
    if (!FirstScan(session, options, result, err, error)) {
        return Fail(err, error, CLI_EXIT_FAILED);
    }
    switch (options.format) {
    case OutputFormat::Json:
        out << FormatJson(result.devices, result.seen);
        break;
    case OutputFormat::Csv:
        out << FormatCsv(result.devices, result.seen);
        break;
    case OutputFormat::Table:
        out << FormatTable(result.devices, result.seen);
        break;
    }
    return CLI_EXIT_OK; // nothing found is an answer too
}

int RunInterfaces(const CliOptions& options, std::ostream& out) {
    out << FormatInterfaces(ListInterfaces(), options.endpoints.interfaces);
    return CLI_EXIT_OK;
}

int RunSuggest(const CliOptions& options, std::ostream& out, std::ostream& err) {
    ScanSession session(options.endpoints);
    ScanResult scanned;
    std::string error;
    if (!FirstScan(session, options, scanned, err, error)) {
        return Fail(err, error, CLI_EXIT_FAILED);
    }
    const DeviceRecord* device = scanned.FindByMac(options.mac);
    if (device == nullptr) {
        return Fail(err, "no device answered with MAC " + options.mac, CLI_EXIT_FAILED);
    }
    const ReplyArrival& card = scanned.ArrivalOf(*device);
    const std::optional<AddressProposal> proposal = ProposeAddress(*scanned.table, card);
    if (!proposal) {
        return Fail(err,
                    card.interfaceAddress == 0
                        ? "the network card device " + options.mac + " answered on is not known"
                        : FillText(SEARCH_NO_FREE_ADDRESS, InterfaceAddressText(card)),
                    CLI_EXIT_FAILED);
    }
    out << "ip " << proposal->ip << "\nnetmask " << proposal->netmask << "\ngateway "
        << proposal->gateway << "\n";
    return CLI_EXIT_OK;
}

// A card named by --interface must exist: a typo would otherwise search nothing.
bool CheckInterfaceNames(const CliOptions& options, std::ostream& err) {
    const std::vector<NetInterface> cards = ListInterfaces();
    const std::vector<std::string> unknown =
        UnknownInterfaceNames(cards, options.endpoints.interfaces);
    if (unknown.empty()) {
        return true;
    }
    Fail(err,
         "--interface: no network card is named \"" + unknown.front() +
             "\"; this machine has: " + InterfaceNames(cards),
         CLI_EXIT_USAGE);
    return false;
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
    if (!FirstScan(session, options, scanned, err, error)) {
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
    if (!session.Send(request, scanned.ArrivalOf(*device).interfaceName, error)) {
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
    if (!CheckInterfaceNames(*options, err)) {
        return CLI_EXIT_USAGE;
    }
    switch (options->command) {
    case CliCommand::Scan:
        return RunScan(*options, out, err);
    case CliCommand::Set:
        return RunSet(*options, out, err);
    case CliCommand::Suggest:
        return RunSuggest(*options, out, err);
    case CliCommand::Interfaces:
        return RunInterfaces(*options, out);
    case CliCommand::Help:
        break;
    }
    out << FINDER_CLI_USAGE;
    return CLI_EXIT_OK;
}
