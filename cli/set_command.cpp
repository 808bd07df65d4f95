#include "cli/set_command.h"

#include <chrono>
#include <thread>

#include "cli/cli_command.h"
#include "cli/set_change.h"
#include "core/messages/finder_texts.h"
#include "core/session/change_flow.h"
#include "core/session/scan_session.h"

namespace {

using Clock = std::chrono::steady_clock;

// After each risk of a change: how to send it all the same.
constexpr char CLI_SEND_ANYWAY_HINT[] = "Use --force to send it anyway.";

// Queries again on the shared schedule until the device confirms the change or the last
// round is over.
int Verify(ScanSession& session, const CliOptions& options, CChangeFlow& change,
           Clock::time_point sentAt, std::ostream& out, std::ostream& err) {
    const CChangeConfirmation& confirmation = change.Confirmation();
    const std::vector<int>& schedule = confirmation.Schedule();
    for (std::size_t round = 0; round + 1 < schedule.size(); ++round) {
        std::this_thread::sleep_until(sentAt + std::chrono::milliseconds(schedule[round]));
        ScanResult result;
        if (const std::optional<SessionFailure> failure =
                session.Scan(options.Wait(), result, change.ConfirmTargets())) {
            return Fail(err, FailureText(*failure), CLI_EXIT_FAILED);
        }
        if (change.JudgeRound(result.devices, round + 2 == schedule.size())) {
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
std::string CheckChange(const CliOptions& options, const CChangeFlow& change,
                        LocalNetworksFunction localNetworks) {
    const SettingsVerdict verdict =
        change.Check(localNetworks(), EnglishText, options.Codec(LocaleName()));
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

} // namespace

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
    CChangeFlow change(*scanned.table, *device, scanned.ArrivalOf(*device),
                       PanelValuesFor(*device, options.changes, codec));
    if (const std::optional<PanelTextRefusal> refusal = change.EncodeTexts(codec)) {
        return Fail(err, TextRefusalReason(*refusal) + "; nothing was sent", CLI_EXIT_USAGE);
    }
    if (const std::string reason = CheckChange(options, change, localNetworks); !reason.empty()) {
        return Fail(err, reason, CLI_EXIT_USAGE);
    }
    if (const std::optional<SessionFailure> failure = session.Send(change.Command())) {
        return Fail(err, FailureText(*failure), CLI_EXIT_FAILED);
    }
    const Clock::time_point sentAt = Clock::now();
    out << "settings sent to device " << options.mac << "\n";
    return options.verify ? Verify(session, options, change, sentAt, out, err) : CLI_EXIT_OK;
}
