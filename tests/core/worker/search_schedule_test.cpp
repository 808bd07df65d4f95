#include <gtest/gtest.h>

#include <vector>

#include "core/worker/search_schedule.h"

namespace {

using namespace std::chrono_literals;
using Clock = CSearchSchedule::Clock;

// 70 targets: two full bursts and a short one a copy. Each row is a moment after the start
// and what is due then; the copies leave SEARCH_COPY_INTERVAL_MS apart and a copy's targets
// follow the copy out of the cards, one burst each SEARCH_TARGET_STEP_MS.
TEST(SearchSchedule, CopiesAreSpreadAndTargetsLeaveInPacedBursts) {
    static_assert(SEARCH_QUERY_COPIES == 3 && SEARCH_COPY_INTERVAL_MS == 250 &&
                  SEARCH_TARGET_BURST == 32 && SEARCH_TARGET_STEP_MS == 2);
    std::vector<uint32_t> targets;
    for (uint32_t i = 70; i > 0; --i) {
        targets.push_back(0x0A020000 + i); // given backwards, and one twice
    }
    targets.push_back(0x0A020001);
    const Clock::time_point start{};
    CSearchSchedule schedule;
    schedule.Start(start, targets);
    const struct {
        std::chrono::milliseconds at;
        int copies;
        std::size_t targets;
        int waitMs; // after the row
    } rows[] = {
        {0ms, 1, 32, 2},   {1ms, 0, 0, 1},    {2ms, 0, 32, 2},   {4ms, 0, 6, 246},
        {249ms, 0, 0, 1},  {250ms, 1, 32, 2}, {252ms, 0, 32, 2}, {260ms, 0, 6, 240},
        {500ms, 1, 32, 2}, {502ms, 0, 32, 2}, {504ms, 0, 6, -1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.at.count());
        const CSearchSchedule::Due due = schedule.Take(start + row.at);
        EXPECT_EQ(due.copies, row.copies);
        EXPECT_EQ(due.targets.size(), row.targets);
        EXPECT_EQ(schedule.WaitMs(start + row.at), row.waitMs);
    }
    EXPECT_TRUE(schedule.TakeFinished());
    EXPECT_FALSE(schedule.TakeFinished()) << "said once";
    EXPECT_TRUE(schedule.IsTarget(0x0A020001));
    EXPECT_FALSE(schedule.IsTarget(0x0A020047));
    EXPECT_EQ(schedule.TargetCount(), 70u);
}

TEST(SearchSchedule, ACancelledSearchSendsNoMoreButKnowsItsTargets) {
    CSearchSchedule schedule;
    EXPECT_EQ(schedule.WaitMs(Clock::now()), -1) << "no search, no wake-up";
    const Clock::time_point start{};
    schedule.Start(start, {0x0A020015});
    EXPECT_EQ(schedule.Take(start).copies, 1);
    schedule.Cancel();
    EXPECT_EQ(schedule.Take(start + 1s).copies, 0);
    EXPECT_EQ(schedule.WaitMs(start + 1s), -1);
    EXPECT_FALSE(schedule.TakeFinished());
    EXPECT_TRUE(schedule.IsTarget(0x0A020015));
}

} // namespace
