#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>

#include "cli/cli_options.h"
#include "cli/plan_options.h"
#include "core/net/net_interfaces.h"
#include "core/plan/change_plan.h"
#include "core/session/scan_session.h"

// What assign and apply share once they have a plan: its checks, the dry run, the run with
// Ctrl+C, the report and the exit status.

// What assign and apply take beside the options of every search.
struct PlanRunOptions : SearchOptions {
    OutputFormat format = OutputFormat::Table;
    bool showPasswords = false;
    bool force = false; // send the risky changes all the same
    PlanOptions plan;
};

// The options of assign (assign) or apply, with the report's formats.
void AddPlanRunOptions(COptionTable& table, PlanRunOptions& options, bool assign);

// What the report is and how the plan stops, for the descriptions of assign and apply.
extern const char PLAN_RUN_DESCRIPTION[];

// The exit statuses of assign and apply.
extern const char PLAN_RUN_STATUSES[];

// Where a refusal of a plan points: at a camera (assign) or at a line of the file (apply).
using RefusalPlace = std::function<std::string(const PlanRefusal& refusal)>;

// Checks the plan and, unless refused, risky without --force, or a dry run, sends it and
// waits for every camera's word; the report goes to out in the format asked for.
int RunCheckedPlan(ScanSession& session, CChangePlan& plan, const PlanRunOptions& options,
                   std::ostream& out, std::ostream& err, LocalNetworksFunction localNetworks,
                   const RefusalPlace& place);
