#include "core/worker/search_schedule.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::chrono::milliseconds COPY_INTERVAL(SEARCH_COPY_INTERVAL_MS);
constexpr std::chrono::milliseconds TARGET_STEP(SEARCH_TARGET_STEP_MS);

} // namespace

void CSearchSchedule::Start(Clock::time_point now, std::vector<uint32_t> targets) {
    std::sort(targets.begin(), targets.end());
    targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
    m_targets = std::move(targets);
    m_start = now;
    m_lastBurst = now - TARGET_STEP;
    m_copiesSent = 0;
    m_targetsSent = 0;
    m_active = true;
    m_finished = false;
}

void CSearchSchedule::Cancel() {
    m_active = false;
    m_finished = false;
}

CSearchSchedule::Clock::time_point CSearchSchedule::CopyDue(int copy) const {
    return m_start + copy * COPY_INTERVAL;
}

CSearchSchedule::Due CSearchSchedule::Take(Clock::time_point now) {
    Due due;
    if (!m_active) {
        return due;
    }
    due.firstCopy = m_copiesSent;
    while (m_copiesSent < SEARCH_QUERY_COPIES && CopyDue(m_copiesSent) <= now) {
        ++m_copiesSent;
        ++due.copies;
    }
    // A burst goes only to targets of copies whose broadcast has gone.
    const std::size_t started = m_copiesSent * m_targets.size();
    if (m_targetsSent < started && now >= m_lastBurst + TARGET_STEP) {
        const std::size_t count = std::min(SEARCH_TARGET_BURST, started - m_targetsSent);
        for (std::size_t i = 0; i < count; ++i) {
            due.targets.push_back(m_targets[(m_targetsSent + i) % m_targets.size()]);
        }
        m_targetsSent += count;
        m_lastBurst = now;
    }
    if (m_copiesSent == SEARCH_QUERY_COPIES &&
        m_targetsSent == SEARCH_QUERY_COPIES * m_targets.size()) {
        m_active = false;
        m_finished = true;
    }
    return due;
}

bool CSearchSchedule::TakeFinished() {
    return std::exchange(m_finished, false);
}

CSearchSchedule::Clock::time_point CSearchSchedule::NextDue() const {
    Clock::time_point next = Clock::time_point::max();
    if (m_copiesSent < SEARCH_QUERY_COPIES) {
        next = CopyDue(m_copiesSent);
    }
    if (m_targetsSent < m_copiesSent * m_targets.size()) {
        next = std::min(next, m_lastBurst + TARGET_STEP);
    }
    return next;
}

int CSearchSchedule::WaitMs(Clock::time_point now) const {
    if (!m_active) {
        return -1;
    }
    const Clock::time_point next = NextDue();
    if (next <= now) {
        return 0;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(next - now);
    return static_cast<int>(wait.count());
}

bool CSearchSchedule::IsTarget(uint32_t address) const {
    return std::binary_search(m_targets.begin(), m_targets.end(), address);
}
