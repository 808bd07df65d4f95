#pragma once

#include <atomic>
#include <optional>

#include "core/plan/change_plan.h"
#include "core/session/scan_session.h"

// A pause between two requests of a plan: every camera on the segment hears each broadcast
// request, and a small camera's queue must not overflow with the requests of the others.
constexpr int PLAN_SEND_INTERVAL_MS = 1;

// Sends the requests of a checked plan through the session, each in its turn and out of
// its camera's card, then confirms them all by shared rounds of queries on the plan's
// schedule, each round collecting until the next moment. stop is looked at between
// requests and between rounds: once it is set nothing more goes out and the plan says
// which requests went and which did not. Nothing when the session's worker did its part,
// else why it failed (the plan says what became of each camera either way).
std::optional<SessionFailure> RunPlan(ScanSession& session, CChangePlan& plan,
                                      const std::atomic<bool>& stop);
