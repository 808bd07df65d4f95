#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "core/net/net_interfaces.h"
#include "core/plan/change_plan.h"
#include "core/session/scan_session.h"

// What assign and apply share once they have a plan: its checks, the dry run, the run with
// Ctrl+C, the report and the exit status.

// Where a refusal of a plan points: at a camera (assign) or at a line of the file (apply).
using RefusalPlace = std::function<std::string(const PlanRefusal& refusal)>;

// Checks the plan and, unless refused, risky without --force, or a dry run, sends it and
// waits for every camera's word; the report goes to out in the format asked for. risks:
// those the plan was made with (a name cut to fit), asked for with the plan's own.
int RunCheckedPlan(ScanSession& session, CChangePlan& plan, const CliOptions& options,
                   std::ostream& out, std::ostream& err, LocalNetworksFunction localNetworks,
                   const RefusalPlace& place, const std::vector<PlanWarning>& risks = {});
