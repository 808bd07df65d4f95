#include "core/plan/plan_session.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/status/status_text.h"

namespace {

using Clock = std::chrono::steady_clock;

// How often a wait for the next round looks at stop.
constexpr int PLAN_STOP_LOOK_MS = 50;

// Waits until the moment; false when stop came first.
bool WaitUntil(Clock::time_point moment, const std::atomic<bool>& stop) {
    while (!stop.load() && Clock::now() < moment) {
        std::this_thread::sleep_until(
            std::min(moment, Clock::now() + std::chrono::milliseconds(PLAN_STOP_LOOK_MS)));
    }
    return !stop.load();
}

// Sends every request still to go; a request whose own send failed is marked, the others
// go on. A worker that stopped ends it all.
std::optional<SessionFailure> SendAll(ScanSession& session, CChangePlan& plan,
                                      const std::atomic<bool>& stop) {
    bool first = true;
    for (const std::size_t step : plan.ToSend()) {
        if (!first) {
            std::this_thread::sleep_for(std::chrono::milliseconds(PLAN_SEND_INTERVAL_MS));
        }
        first = false;
        if (stop.load()) {
            return std::nullopt;
        }
        const std::optional<SessionFailure> failure = session.Send(plan.Command(step));
        if (!failure) {
            plan.MarkSent(step);
            continue;
        }
        const bool sendFailed = failure->kind == SessionFailure::Kind::SendFailed;
        plan.MarkFailed(step, StatusLine(sendFailed ? failure->sent : failure->lastOutcome));
        if (!sendFailed) {
            return failure;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<SessionFailure> RunPlan(ScanSession& session, CChangePlan& plan,
                                      const std::atomic<bool>& stop) {
    std::optional<SessionFailure> failure = SendAll(session, plan, stop);
    const Clock::time_point sentAt = Clock::now();
    const std::vector<int> schedule = plan.Schedule();
    for (std::size_t round = 0; !failure && plan.Waiting() && round + 1 < schedule.size();
         ++round) {
        if (!WaitUntil(sentAt + std::chrono::milliseconds(schedule[round]), stop)) {
            break;
        }
        plan.StartRound();
        ScanResult result;
        // A round ends once every camera that answers has answered, or when the next is due.
        ScanWait wait;
        wait.timeoutMs = schedule[round + 1] - schedule[round];
        failure = session.Scan(wait, result, plan.QueryTargets());
        for (const DeviceRecord& reply : result.devices) {
            plan.OnReply(reply);
        }
        if (!failure) {
            plan.EndRound(round + 2 == schedule.size());
        }
    }
    plan.Stop(); // whatever is left was stopped, or its worker failed
    return failure;
}
