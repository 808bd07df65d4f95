#include "cli/finder_cli.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "cli/cli_options.h"
#include "cli/scan_session.h"
#include "cli/set_change.h"
#include "core/messages/fill_text.h"
#include "core/net/net_interfaces.h"
#include "core/present/device_format.h"
#include "core/present/search_texts.h"
#include "core/program/finder_version.h"
#include "core/rules/address_proposal.h"
#include "core/rules/change_confirmation.h"
#include "core/rules/panel_texts.h"
#include "core/rules/settings_checks.h"

namespace {

using Clock = std::chrono::steady_clock;

// After each risk of a change: how to send it all the same.
constexpr char CLI_SEND_ANYWAY_HINT[] = "Use --force to send it anyway.";

// The locale's name as the C library picks it: LC_ALL, then LC_CTYPE, then LANG.
std::string LocaleName() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "";
}

int Fail(std::ostream& err, const std::string& message, int status) {
    err << "finder-cli: " << message << "\n";
    return status;
}

// The first scan of a command, with the words a user needs when some cards failed or
// nothing answered. False when the scan itself failed (error says why).
bool FirstScan(ScanSession& session, const CliOptions& options, ScanResult& result,
               std::ostream& err, std::string& error) {
    if (!session.Scan(options.timeoutMs, result, error)) {
        if (result.sent.kind == WorkerOutcomeKind::NoCard) {
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
            << TEXT_SEARCH_LIKELY_CAUSES.english << "\n";
    }
    return true;
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
    if (!FirstScan(session, options, result, err, error)) {
        return Fail(err, error, CLI_EXIT_FAILED);
    }
    ReportLostReplies(result, err);
    const FormatOptions format{options.Codec(LocaleName()), options.showPasswords};
    switch (options.format) {
    case OutputFormat::Json:
        out << FormatJson(result.devices, format, result.seen);
        break;
    case OutputFormat::Csv:
        out << FormatCsv(result.devices, format, result.seen);
        break;
    case OutputFormat::Table:
        out << FormatTable(result.devices, format, result.seen);
        break;
    }
    return CLI_EXIT_OK; // nothing found is an answer too
}

int RunInterfaces(const CliOptions& options, std::ostream& out) {
    out << FormatInterfaces(ListInterfaces(), options.endpoints.interfaces);
    return CLI_EXIT_OK;
}

// The first scan, then the camera the command names by its MAC. Nothing, once err has been
// told why, when the scan failed or no camera answered with that MAC (`missing` ends that
// sentence); either way the command fails with CLI_EXIT_FAILED.
const DeviceRecord* ScanForCamera(ScanSession& session, const CliOptions& options,
                                  ScanResult& scanned, std::ostream& err,
                                  const std::string& missing) {
    std::string error;
    if (!FirstScan(session, options, scanned, err, error)) {
        Fail(err, error, CLI_EXIT_FAILED);
        return nullptr;
    }
    const DeviceRecord* device = scanned.FindByMac(options.mac);
    if (device == nullptr) {
        Fail(err, "no device answered with MAC " + options.mac + missing, CLI_EXIT_FAILED);
    }
    return device;
}

int RunSuggest(const CliOptions& options, std::ostream& out, std::ostream& err) {
    ScanSession session(options.endpoints);
    ScanResult scanned;
    const DeviceRecord* device = ScanForCamera(session, options, scanned, err, "");
    if (device == nullptr) {
        return CLI_EXIT_FAILED;
    }
    const ReplyArrival& card = scanned.ArrivalOf(*device);
    const std::optional<AddressProposal> proposal = ProposeAddress(*scanned.table, card);
    if (!proposal) {
        return Fail(
            err,
            card.interfaceAddress == 0
                ? "the network card device " + options.mac + " answered on is not known"
                : FillText(TEXT_SEARCH_NO_FREE_ADDRESS.english, {InterfaceAddressText(card)}),
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

// Queries again on the shared schedule until the device confirms the change or the last
// round is over.
int Verify(ScanSession& session, const CliOptions& options, const DeviceRecord& before,
           const PanelValues& sent, Clock::time_point sentAt, std::ostream& out,
           std::ostream& err) {
    CChangeConfirmation confirmation(before, sent);
    const std::vector<int>& schedule = confirmation.Schedule();
    for (std::size_t round = 0; round + 1 < schedule.size(); ++round) {
        std::this_thread::sleep_until(sentAt + std::chrono::milliseconds(schedule[round]));
        ScanResult result;
        std::string error;
        if (!session.Scan(options.timeoutMs, result, error)) {
            return Fail(err, error, CLI_EXIT_FAILED);
        }
        confirmation.StartRound();
        for (const DeviceRecord& device : result.devices) {
            confirmation.OnReply(device);
        }
        if (confirmation.EndRound(round + 2 == schedule.size())) {
            break;
        }
    }
    const CTextCodec codec = options.Codec(LocaleName());
    if (!confirmation.Confirmed()) {
        return Fail(err, "the change did not verify: " + confirmation.Outcome(EnglishText, codec),
                    CLI_EXIT_FAILED);
    }
    out << confirmation.Outcome(EnglishText, codec) << "\n";
    return CLI_EXIT_OK;
}

// The checks every change passes before it goes out; empty when it may go.
std::string CheckChange(const CliOptions& options, const ScanResult& scanned,
                        const PanelValues& values, LocalNetworksFunction localNetworks) {
    const SettingsVerdict verdict = CheckSettingsChange(*scanned.table, values, localNetworks(),
                                                        EnglishText, options.Codec(LocaleName()));
    if (verdict.nothingChanged) {
        return std::string(APPLY_TEXT_NOTHING_TO_SEND.english) + "; nothing was sent";
    }
    if (!verdict.refusal.empty()) {
        return verdict.refusal;
    }
    std::string risks;
    for (const std::string& warning : verdict.warnings) {
        risks += (risks.empty() ? "" : "\nfinder-cli: ") + warning + " " + CLI_SEND_ANYWAY_HINT +
                 " " + APPLY_TEXT_NOTHING_SENT.english;
    }
    return options.force ? "" : risks;
}

int RunSet(const CliOptions& options, std::ostream& out, std::ostream& err,
           LocalNetworksFunction localNetworks) {
    ScanSession session(options.endpoints);
    ScanResult scanned;
    const DeviceRecord* device =
        ScanForCamera(session, options, scanned, err, "; nothing was sent");
    if (device == nullptr) {
        return CLI_EXIT_FAILED;
    }
    const CTextCodec codec = options.Codec(LocaleName());
    if (const std::string reason = RefusalReason(*device, options.changes, scanned.devices, codec);
        !reason.empty()) {
        return Fail(err, reason + "; nothing was sent", CLI_EXIT_USAGE);
    }
    PanelValues values = PanelValuesFor(*device, options.changes, codec);
    if (const std::optional<PanelTextRefusal> refusal = EncodePanelTexts(values, *device, codec)) {
        return Fail(err, TextRefusalReason(*refusal) + "; nothing was sent", CLI_EXIT_USAGE);
    }
    if (const std::string reason = CheckChange(options, scanned, values, localNetworks);
        !reason.empty()) {
        return Fail(err, reason, CLI_EXIT_USAGE);
    }
    DiscoveryDatagram request;
    BuildSetRequest(request, *scanned.table, values);
    std::string error;
    if (!session.Send(request, scanned.ArrivalOf(*device).interfaceName, error)) {
        return Fail(err, error, CLI_EXIT_FAILED);
    }
    const Clock::time_point sentAt = Clock::now();
    out << "settings sent to device " << options.mac << "\n";
    return options.verify ? Verify(session, options, *device, values, sentAt, out, err)
                          : CLI_EXIT_OK;
}

} // namespace

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
    case CliCommand::Suggest:
        return RunSuggest(*options, out, err);
    case CliCommand::Interfaces:
        return RunInterfaces(*options, out);
    case CliCommand::Version:
        out << VersionLine("finder-cli");
        return CLI_EXIT_OK;
    case CliCommand::Help:
        break;
    }
    out << FINDER_CLI_USAGE;
    return CLI_EXIT_OK;
}
