#include "cli/set_command.h"

#include <atomic>

#include "cli/cli_command.h"
#include "cli/set_change.h"
#include "core/messages/finder_texts.h"
#include "core/plan/change_plan.h"
#include "core/plan/plan_report.h"
#include "core/plan/plan_session.h"
#include "core/session/scan_session.h"

namespace {

// The result of a change sent with --no-verify: nobody asked the camera again.
constexpr char SET_RESULT_SENT[] = "sent";

// After each risk of a change: how to send it all the same.
constexpr char CLI_SEND_ANYWAY_HINT[] = "Use --force to send it anyway.";

// The camera's row as assign prints it: each setting changed, old -> new, and the result.
void PrintResult(const CliOptions& options, const CChangePlan& change, const char* result,
                 const std::string& detail, std::ostream& out) {
    const FormatOptions format{options.Codec(LocaleName()), false};
    PlanReportRow row = ReportRow(change.Before(0), change.After(0), format);
    row.result = result;
    row.detail = detail;
    out << PlanReportTable({row});
}

// Why the change may not go, in the core's words; empty when it may.
std::string CheckChange(const CliOptions& options, CChangePlan& change,
                        LocalNetworksFunction localNetworks) {
    if (const std::optional<PlanRefusal> refusal =
            change.Validate(localNetworks(), EnglishText, options.Codec(LocaleName()))) {
        const bool said = refusal->reason.ends_with(APPLY_TEXT_NOTHING_SENT.english);
        return refusal->reason + (said ? "" : "; nothing was sent");
    }
    if (change.State(0) == PlanState::Unchanged) {
        return std::string(APPLY_TEXT_NOTHING_TO_SEND.english) + "; nothing was sent";
    }
    std::string risks;
    for (const PlanWarning& warning : change.Warnings()) {
        risks += (risks.empty() ? "" : "\nfinder-cli: ") + warning.sentence + " " +
                 CLI_SEND_ANYWAY_HINT + " " + APPLY_TEXT_NOTHING_SENT.english;
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
    CChangePlan change(*scanned.table, *scanned.arrivals,
                       {ChangeValuesFor(*device, options.changes, codec)});
    if (const std::string reason = CheckChange(options, change, localNetworks); !reason.empty()) {
        return Fail(err, reason, CLI_EXIT_USAGE);
    }
    PlanRun run;
    run.confirm = options.verify;
    run.roundWait = options.Wait();
    run.sendFailureEnds = true;
    if (options.verify) {
        run.onAllSent = [&] {
            err << "finder-cli: settings sent to device " << options.mac << "; asking it again\n";
        };
    }
    const std::atomic<bool> never{false}; // set has no Ctrl+C of its own
    if (const std::optional<SessionFailure> failure = RunPlan(session, change, never, run)) {
        return Fail(err, FailureText(*failure), CLI_EXIT_FAILED);
    }
    if (!options.verify) {
        PrintResult(options, change, SET_RESULT_SENT, "", out);
        return CLI_EXIT_OK;
    }
    if (change.State(0) != PlanState::Confirmed) {
        const std::string outcome = change.Detail(0, EnglishText, codec);
        PrintResult(options, change, PLAN_RESULT_NOT_CONFIRMED, outcome, out);
        return Fail(err, "the change did not verify: " + outcome, CLI_EXIT_FAILED);
    }
    PrintResult(options, change, PLAN_RESULT_CONFIRMED, "", out);
    return CLI_EXIT_OK;
}
