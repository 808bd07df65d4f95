#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

// A busy camera or switch drops a datagram now and then: a search sends its query this many
// times, SEARCH_COPY_INTERVAL_MS apart, so that one lost query loses no camera.
constexpr int SEARCH_QUERY_COPIES = 3;
constexpr int SEARCH_COPY_INTERVAL_MS = 250;
// The query to each target address (networks behind a router) leaves in bursts this large,
// this far apart: a /20 takes a quarter of a second a copy instead of leaving all at once.
constexpr std::size_t SEARCH_TARGET_BURST = 32;
constexpr int SEARCH_TARGET_STEP_MS = 2;

// When each datagram of one search goes out. Copy k of the query leaves out of the cards at
// k * SEARCH_COPY_INTERVAL_MS after the start, and then to every target address in bursts;
// a copy's targets follow the targets of the copy before. Pure timing: the worker sends.
class CSearchSchedule {
public:
    using Clock = std::chrono::steady_clock;

    // A new search; its first copy is due at once. Targets are host-order addresses.
    void Start(Clock::time_point now, std::vector<uint32_t> targets);
    // Nothing more goes out; the targets stay known (IsTarget) until the next Start.
    void Cancel();

    // What is due at now: how many copies go out of the cards (their numbers from
    // firstCopy), and the target addresses whose burst has come.
    struct Due {
        int firstCopy = 0;
        int copies = 0;
        std::vector<uint32_t> targets;
    };
    Due Take(Clock::time_point now);

    bool Active() const { return m_active; }
    // True once, when the last datagram of the search has been taken.
    bool TakeFinished();
    // Milliseconds until the next datagram is due (rounded up), -1 when none is.
    int WaitMs(Clock::time_point now) const;
    // Whether the address is a target of the last search: its camera answered a unicast query.
    bool IsTarget(uint32_t address) const;
    std::size_t TargetCount() const { return m_targets.size(); }

private:
    Clock::time_point CopyDue(int copy) const;
    Clock::time_point NextDue() const;

    std::vector<uint32_t> m_targets; // sorted, each once
    Clock::time_point m_start{};
    Clock::time_point m_lastBurst{};
    int m_copiesSent = 0;
    std::size_t m_targetsSent = 0; // over all copies: copy k's targets are k * size + i
    bool m_active = false;
    bool m_finished = false;
};
