#include "cli/plan_command.h"

#include "cli/cli_command.h"
#include "cli/interrupt_guard.h"
#include "core/messages/finder_texts.h"
#include "core/plan/plan_report.h"
#include "core/plan/plan_session.h"

namespace {

void PrintReport(const CChangePlan& plan, const CliOptions& options, std::ostream& out) {
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

int RunCheckedPlan(ScanSession& session, CChangePlan& plan, const CliOptions& options,
                   std::ostream& out, std::ostream& err, LocalNetworksFunction localNetworks,
                   const RefusalPlace& place, const std::vector<PlanWarning>& risks) {
    const CTextCodec codec = options.Codec(LocaleName());
    if (const std::optional<PlanRefusal> refusal =
            plan.Validate(localNetworks(), EnglishText, codec)) {
        return Fail(err, place(*refusal) + "; nothing was sent", CLI_EXIT_USAGE);
    }
    for (const PlanWarning& risk : risks) {
        err << "finder-cli: " << plan.CameraText(risk.step, EnglishText, codec, risk.sentence)
            << "\n";
    }
    if (options.plan.dryRun) {
        PrintReport(plan, options, out);
        return CLI_EXIT_OK;
    }
    if ((!plan.Warnings().empty() || !risks.empty()) && !options.force) {
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
