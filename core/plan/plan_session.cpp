#include "core/plan/plan_session.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/status/status_text.h"

namespace {

// How often a wait for the next moment looks at stop.
constexpr int PLAN_STOP_LOOK_MS = 50;

// Waits until the moment; false when stop came first.
bool WaitUntil(int64_t momentMs, const std::atomic<bool>& stop) {
    while (!stop.load() && EngineNowMs() < momentMs) {
        std::this_thread::sleep_for(std::chrono::milliseconds(
            std::min<int64_t>(momentMs - EngineNowMs(), PLAN_STOP_LOOK_MS)));
    }
    return !stop.load();
}

} // namespace

std::optional<SessionFailure> RunPlan(ScanSession& session, CChangePlan& plan,
                                      const std::atomic<bool>& stop, const PlanRun& run) {
    CChangeEngine engine(plan, run.confirm);
    EngineStep next = engine.Start(EngineNowMs());
    while (next.kind != EngineStep::Kind::Done) {
        if (stop.load()) {
            engine.Stop();
            return std::nullopt;
        }
        switch (next.kind) {
        case EngineStep::Kind::Send:
            if (const std::optional<SessionFailure> failure = session.Send(next.command)) {
                const bool sendFailed = failure->kind == SessionFailure::Kind::SendFailed;
                next = engine.OnSendFailed(
                    EngineNowMs(), StatusLine(sendFailed ? failure->sent : failure->lastOutcome));
                if (!sendFailed || run.sendFailureEnds) {
                    engine.Stop(); // no worker to send anything more, or no use
                    return failure;
                }
                break;
            }
            next = engine.OnSent(EngineNowMs());
            if (!engine.Sending() && run.onAllSent) {
                run.onAllSent();
            }
            break;
        case EngineStep::Kind::Query: {
            ScanResult result;
            const ScanWait wait{static_cast<int>(std::clamp<int64_t>(next.wakeAtMs - EngineNowMs(),
                                                                     0, run.roundWait.timeoutMs)),
                                run.roundWait.settleMs};
            if (const std::optional<SessionFailure> failure =
                    session.Scan(wait, result, next.command.targets)) {
                engine.Stop();
                return failure;
            }
            engine.OnSent(EngineNowMs());
            for (const DeviceRecord& reply : result.devices) {
                engine.OnReply(reply);
            }
            next = engine.OnRoundCollected(EngineNowMs());
            break;
        }
        case EngineStep::Kind::Wait:
            if (WaitUntil(next.wakeAtMs, stop)) {
                next = engine.OnTime(EngineNowMs());
            }
            break;
        case EngineStep::Kind::Await: // a session reports each send before it returns
        case EngineStep::Kind::Done:
            next = engine.Stop();
            break;
        }
    }
    return std::nullopt;
}
