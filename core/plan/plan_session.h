#pragma once

#include <atomic>
#include <functional>
#include <limits>
#include <optional>

#include "core/plan/change_engine.h"
#include "core/plan/change_plan.h"
#include "core/session/scan_session.h"

// How a plan runs through a session: whether its changes are confirmed; how long a round's
// scan collects at most and after its last new reply (a round's close comes first when it
// is sooner); whether a request that did not go out ends the run as its failure (a change of
// one camera); and what to say once every request went out.
struct PlanRun {
    bool confirm = true;
    ScanWait roundWait{std::numeric_limits<int>::max(), ScanWait{}.settleMs};
    bool sendFailureEnds = false;
    std::function<void()> onAllSent;
};

// Drives the change engine through the session: each request in its turn and out of its
// camera's card, then the shared rounds of queries, each a scan that ends once its answers
// settled. stop is looked at between requests and between rounds: once it is set nothing
// more goes out and the plan says which requests went and which did not. Nothing when the
// session's worker did its part, else why it failed (the plan says what became of each
// camera either way).
std::optional<SessionFailure> RunPlan(ScanSession& session, CChangePlan& plan,
                                      const std::atomic<bool>& stop, const PlanRun& run = {});
