#include "cli/set_command.h"

#include <chrono>
#include <thread>

#include "cli/cli_command.h"
#include "cli/set_change.h"
#include "core/messages/finder_texts.h"
#include "core/plan/change_plan.h"
#include "core/plan/plan_report.h"
#include "core/session/change_flow.h"
#include "core/session/scan_session.h"

namespace {

using Clock = std::chrono::steady_clock;

// The result of a change sent with --no-verify: nobody asked the camera again.
constexpr char SET_RESULT_SENT[] = "sent";

// After each risk of a change: how to send it all the same.
constexpr char CLI_SEND_ANYWAY_HINT[] = "Use --force to send it anyway.";

// Queries again on the shared schedule until the device confirms the change or the last
// round is over.
std::optional<SessionFailure> Verify(ScanSession& session, const CliOptions& options,
                                     CChangeFlow& change, Clock::time_point sentAt) {
    const std::vector<int>& schedule = change.Confirmation().Schedule();
    for (std::size_t round = 0; round + 1 < schedule.size(); ++round) {
        std::this_thread::sleep_until(sentAt + std::chrono::milliseconds(schedule[round]));
        ScanResult result;
        if (std::optional<SessionFailure> failure =
                session.Scan(options.Wait(), result, change.ConfirmTargets())) {
            return failure;
        }
        if (change.JudgeRound(result.devices, round + 2 == schedule.size())) {
            break;
        }
    }
    return std::nullopt;
}

// The camera's row as assign prints it: each setting changed, old -> new, and the result.
void PrintResult(const CliOptions& options, const CChangeFlow& change, const char* result,
                 const std::string& detail, std::ostream& out) {
    const FormatOptions format{options.Codec(LocaleName()), false};
    PlanReportRow row =
        ReportRow(change.Target(), RecordAfter(change.Target(), change.Values()), format);
    row.result = result;
    row.detail = detail;
    out << PlanReportTable({row});
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
                       ChangeValuesFor(*device, options.changes, codec));
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
    if (!options.verify) {
        PrintResult(options, change, SET_RESULT_SENT, "", out);
        return CLI_EXIT_OK;
    }
    err << "finder-cli: settings sent to device " << options.mac << "; asking it again\n";
    if (const std::optional<SessionFailure> failure = Verify(session, options, change, sentAt)) {
        return Fail(err, FailureText(*failure), CLI_EXIT_FAILED);
    }
    const CChangeConfirmation& confirmation = change.Confirmation();
    const std::string outcome = confirmation.Outcome(EnglishText, codec);
    if (!confirmation.Confirmed()) {
        PrintResult(options, change, PLAN_RESULT_NOT_CONFIRMED, outcome, out);
        return Fail(err, "the change did not verify: " + outcome, CLI_EXIT_FAILED);
    }
    PrintResult(options, change, PLAN_RESULT_CONFIRMED, "", out);
    return CLI_EXIT_OK;
}
