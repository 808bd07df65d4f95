#include "cli/plan_command.h"

#include "cli/cli_command.h"
#include "cli/interrupt_guard.h"
#include "core/messages/finder_texts.h"
#include "core/plan/plan_report.h"
#include "core/plan/plan_session.h"

namespace {

void PrintReport(const CChangePlan& plan, const PlanRunOptions& options, std::ostream& out) {
    const std::vector<PlanReportRow> rows =
        PlanReport(plan, FormatOptions{options.Codec(LocaleName()), options.showPasswords});
    switch (options.format) {
    case OutputFormat::Json:
        out << PlanReportJson(rows);
        break;
    case OutputFormat::Csv:
        out << PlanReportCsv(rows);
        break;
    case OutputFormat::Table:
        out << PlanReportTable(rows);
        break;
    }
}

} // namespace

const char PLAN_RUN_DESCRIPTION[] =
    "All requests go out, then the cameras are asked again together until each one confirms. "
    "One row per camera: MAC, name, the changes (ip 192.168.1.64 -> 10.77.0.100) and the "
    "result: confirmed, not confirmed (and why), or unchanged. Ctrl+C stops sending and "
    "waiting: the report says which requests went out.";

const char PLAN_RUN_STATUSES[] =
    "0 every camera confirmed or was unchanged, and on a dry run; 1 any did not confirm, or "
    "the network failed; 2 bad usage or input, a MAC that did not answer, or a refused or "
    "risky plan: nothing was sent.";

void AddPlanRunOptions(COptionTable& table, PlanRunOptions& options, bool assign) {
    AddPlanOptions(table, options.plan, options.force, assign);
    AddFormatOptions(table, options.format,
                     "an array of {mac, name, changes: {key: {from, to}}, result, detail}",
                     "CSV with the columns of --json");
    AddPasswordOption(table, options.showPasswords);
}

int RunCheckedPlan(ScanSession& session, CChangePlan& plan, const PlanRunOptions& options,
                   std::ostream& out, std::ostream& err, LocalNetworksFunction localNetworks,
                   const RefusalPlace& place) {
    const CTextCodec codec = options.Codec(LocaleName());
    if (const std::optional<PlanRefusal> refusal =
            plan.Check(localNetworks(), EnglishText, codec)) {
        return Fail(err, place(*refusal) + "; nothing was sent", CLI_EXIT_USAGE);
    }
    if (options.plan.dryRun) {
        PrintReport(plan, options, out);
        return CLI_EXIT_OK;
    }
    if (!plan.Warnings().empty() && !options.force) {
        for (const PlanWarning& warning : plan.Warnings()) {
            err << "finder-cli: "
                << plan.CameraText(warning.step, EnglishText, codec, warning.sentence) << "\n";
        }
        return Fail(err,
                    "Use --force to send the plan anyway. " +
                        std::string(APPLY_TEXT_NOTHING_SENT.english),
                    CLI_EXIT_USAGE);
    }
    std::optional<SessionFailure> failure;
    if (const std::size_t requests = plan.ToSend().size(); requests > 0) {
        err << "finder-cli: sending " << requests << " request" << (requests == 1 ? "" : "s")
            << ", then asking the cameras until each one confirms (Ctrl+C stops)\n";
        const CInterruptGuard interrupt; // Ctrl+C stops the plan between two steps
        failure = RunPlan(session, plan, interrupt.Raised());
    }
    PrintReport(plan, options, out);
    if (failure) {
        return Fail(err, FailureText(*failure), CLI_EXIT_FAILED);
    }
    for (std::size_t step = 0; step < plan.Size(); ++step) {
        if (plan.State(step) == PlanState::NotConfirmed) {
            return CLI_EXIT_FAILED;
        }
    }
    return CLI_EXIT_OK;
}
