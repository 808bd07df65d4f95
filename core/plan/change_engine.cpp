#include "core/plan/change_engine.h"

#include <chrono>

int64_t EngineNowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

namespace {

EngineStep StepOf(EngineStep::Kind kind, int64_t wakeAtMs = 0) {
    EngineStep step;
    step.kind = kind;
    step.wakeAtMs = wakeAtMs;
    return step;
}

} // namespace

CChangeEngine::CChangeEngine(CChangePlan& plan, bool confirm) : m_plan(plan), m_confirm(confirm) {}

EngineStep CChangeEngine::Start(int64_t nowMs) {
    m_requests = m_plan.ToSend();
    m_sendAt = nowMs;
    if (m_requests.empty()) {
        return Finish();
    }
    return Advance(nowMs);
}

// After a request's report: the next one after the pause, or the rounds from now on.
void CChangeEngine::AfterRequest(int64_t nowMs) {
    if (m_sendNext < m_requests.size()) {
        m_sendAt = nowMs + PLAN_SEND_INTERVAL_MS;
        return;
    }
    m_rounds = true;
    m_anchor = nowMs;
    m_schedule = m_plan.Schedule(); // fixed: a camera confirmed early does not shorten it
}

EngineStep CChangeEngine::OnSent(int64_t nowMs) {
    if (Done()) {
        return m_next;
    }
    if (m_inFlight) {
        const std::size_t step = *m_inFlight;
        m_inFlight.reset();
        m_plan.MarkSent(step);
        m_lastSent = step;
        AfterRequest(nowMs);
    } else if (m_queryInFlight) {
        m_queryInFlight = false;
        m_roundOpen = true;
        m_plan.StartRound();
    }
    return Advance(nowMs);
}

EngineStep CChangeEngine::OnSendFailed(int64_t nowMs, const std::string& why) {
    if (Done()) {
        return m_next;
    }
    if (m_inFlight) {
        m_plan.MarkFailed(*m_inFlight, why);
        m_inFlight.reset();
        AfterRequest(nowMs);
    } else if (m_lastSent) {
        m_plan.MarkFailed(*m_lastSent, why);
        m_lastSent.reset();
    }
    return Advance(nowMs);
}

void CChangeEngine::OnReply(const DeviceRecord& reply) {
    if (m_roundOpen) {
        m_plan.OnReply(reply);
    }
}

EngineStep CChangeEngine::OnTime(int64_t nowMs) {
    return Done() ? m_next : Advance(nowMs);
}

EngineStep CChangeEngine::OnRoundCollected(int64_t nowMs) {
    if (Done()) {
        return m_next;
    }
    if (m_roundOpen) {
        CloseRound();
    }
    return Advance(nowMs);
}

EngineStep CChangeEngine::Stop() {
    m_plan.Stop();
    m_inFlight.reset();
    m_roundOpen = false;
    return Finish();
}

EngineStep CChangeEngine::Advance(int64_t nowMs) {
    if (!m_rounds) {
        if (m_inFlight) {
            m_next = StepOf(EngineStep::Kind::Await);
            return m_next;
        }
        if (nowMs < m_sendAt) {
            return WaitUntil(m_sendAt);
        }
        const std::size_t step = m_requests[m_sendNext++];
        m_inFlight = step;
        m_lastSent.reset();
        return Hand(EngineStep{EngineStep::Kind::Send, step, m_plan.Command(step), 0});
    }
    if (!m_confirm || !m_plan.Waiting()) {
        return Finish();
    }
    if (m_round && !m_roundClosed) {
        const int64_t close = m_anchor + m_schedule[*m_round + 1];
        if (nowMs < close) {
            return WaitUntil(close);
        }
        CloseRound();
        return Advance(nowMs);
    }
    const std::size_t round = m_round ? *m_round + 1 : 0;
    const int64_t open = m_anchor + m_schedule[round];
    if (nowMs < open) {
        return WaitUntil(open);
    }
    m_round = round;
    m_roundClosed = false;
    m_queryInFlight = true;
    m_lastSent.reset(); // what fails from now on is a query
    EngineStep query{EngineStep::Kind::Query, 0, {}, m_anchor + m_schedule[round + 1]};
    query.command.command = CMD_QUERY;
    query.command.targets = m_plan.QueryTargets(); // behind a router: the new addresses too
    return Hand(std::move(query));
}

// The round closed at the schedule's last moment, or past it, is the last: its judgement
// ends every camera still waited for.
bool CChangeEngine::LastRound() const {
    return *m_round + 2 >= m_schedule.size();
}

void CChangeEngine::CloseRound() {
    m_roundOpen = false;
    m_queryInFlight = false;
    m_roundClosed = true;
    m_plan.EndRound(LastRound());
}

EngineStep CChangeEngine::Hand(EngineStep step) {
    m_next = std::move(step);
    return m_next;
}

EngineStep CChangeEngine::WaitUntil(int64_t moment) {
    m_next = StepOf(EngineStep::Kind::Wait, moment);
    return m_next;
}

EngineStep CChangeEngine::Finish() {
    m_next = StepOf(EngineStep::Kind::Done);
    return m_next;
}
