#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/plan/change_plan.h"
#include "core/wire/device_table.h"
#include "core/worker/network_worker.h"

// A pause between two requests of a plan: every camera on the segment hears each broadcast
// request, and a small camera's queue must not overflow with the requests of the others.
constexpr int PLAN_SEND_INTERVAL_MS = 1;

// The steady clock in milliseconds, as the front ends give it to the engine.
int64_t EngineNowMs();

// What the front end does next for a change on its way.
struct EngineStep {
    enum class Kind {
        Send,  // hand command (the set request of plan step `step`) to the worker, then
               // report its send: OnSent or OnSendFailed
        Query, // hand command (a query) to the worker and report its send (OnSent); its
               // replies go to OnReply; call OnTime at wakeAtMs, when the round closes
        Wait,  // nothing to hand out: call OnTime at wakeAtMs
        Await, // nothing to hand out and no moment due: the worker's report is awaited
        Done,  // every camera of the plan has its result
    };
    Kind kind = Kind::Done;
    std::size_t step = 0;  // Send: the plan's step whose request it is
    WorkerCommand command; // Send, Query
    int64_t wakeAtMs = 0;  // Query, Wait
};

// The run of a checked plan, one camera or many, the same for every front end: the requests
// one at a time, PLAN_SEND_INTERVAL_MS apart, each out of its camera's card; then shared
// rounds of queries on the schedule of the cameras waited for, fixed when the last request
// went out (the longest of them), each round opening when its query went out and closing at
// the schedule's next moment. It blocks on nothing and owns no timer: the front end tells it
// what happened and when (milliseconds on a steady clock of its own), and does the step it
// answers. Events that do not concern it (a send it did not ask for) answer the step due.
class CChangeEngine {
public:
    // plan: checked, outliving the engine. confirm false: done once the requests went out,
    // the cameras left Sent.
    explicit CChangeEngine(CChangePlan& plan, bool confirm = true);

    EngineStep Start(int64_t nowMs);
    // What the worker was handed went out: a request (its camera is then waited for), or
    // a round's query (the round opens).
    EngineStep OnSent(int64_t nowMs);
    // The request handed out, or the one reported sent last while no other went since, did
    // not go out: its camera is not waited for.
    EngineStep OnSendFailed(int64_t nowMs, const std::string& why);
    // Counted only while a round is open: a reply before its query went out or after its
    // round closed answers no round.
    void OnReply(const DeviceRecord& reply);
    // A moment came: the next request, the first query, or the close of a round.
    EngineStep OnTime(int64_t nowMs);
    // The front end gathered every reply of the open round it will get (a scan that ended
    // once its answers settled): the round closes now rather than at its moment.
    EngineStep OnRoundCollected(int64_t nowMs);
    // Interrupted: nothing more goes out and each camera waited for says so.
    EngineStep Stop();

    // The step answered last.
    const EngineStep& Next() const { return m_next; }
    bool Done() const { return m_next.kind == EngineStep::Kind::Done; }
    // Whether requests are still to go or to be reported (the rounds have not begun).
    bool Sending() const { return !m_rounds && !Done(); }
    // The step whose request the worker holds, not yet reported sent.
    std::optional<std::size_t> InFlight() const { return m_inFlight; }
    // The steps whose requests were to go when the run started.
    const std::vector<std::size_t>& Requests() const { return m_requests; }

private:
    EngineStep Advance(int64_t nowMs); // what is due at nowMs
    EngineStep Hand(EngineStep step);
    EngineStep WaitUntil(int64_t moment);
    EngineStep Finish();
    void AfterRequest(int64_t nowMs);
    void CloseRound();
    bool LastRound() const;

    CChangePlan& m_plan;
    bool m_confirm;
    EngineStep m_next;
    std::vector<std::size_t> m_requests;
    std::size_t m_sendNext = 0;            // index into m_requests
    std::optional<std::size_t> m_inFlight; // a request handed out, not yet reported sent
    std::optional<std::size_t> m_lastSent; // reported sent; a failure that follows is its own
    int64_t m_sendAt = 0;                  // when the next request may go
    // The rounds: the schedule from m_anchor (the last request's send), the round whose
    // query was handed out (none before the first), and whether it is open.
    std::vector<int> m_schedule;
    int64_t m_anchor = 0;
    bool m_rounds = false;
    std::optional<std::size_t> m_round;
    bool m_roundClosed = false;
    bool m_queryInFlight = false;
    bool m_roundOpen = false;
};
