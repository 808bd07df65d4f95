// The change engine alone: a fake clock in milliseconds, no socket; the plan's cameras
// answer as a test says.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/plan/change_engine.h"
#include "core/session/editable_values.h"
#include "tests/core/test_records.h"

namespace {

using Kind = EngineStep::Kind;

// Cameras 1.. at 192.168.1.64 on eth0, taking DHCP; each change moves one to a fixed IP
// of 10.77.0.0/24, or to DHCP.
struct Site {
    std::unique_ptr<DeviceTable> table = std::make_unique<DeviceTable>();
    std::unique_ptr<ArrivalTable> arrivals = std::make_unique<ArrivalTable>();

    explicit Site(uint8_t cameras) {
        ClearTable(*table);
        ClearArrivals(*arrivals);
        for (uint8_t mac = 1; mac <= cameras; ++mac) {
            DeviceRecord record = core_test::Camera(0, "192.168.1.64");
            record.mac[5] = mac;
            SetFieldText(record.name, "IPCAM");
            const int slot = MergeRecord(*table, record);
            arrivals->slot[slot] = {"eth0", core_test::Ip("10.77.0.5"), 24, 0, 0, false};
        }
    }

    ChangeValues Move(uint8_t mac, bool dhcp = false) const {
        ChangeValues values = EditableValues(
            *FindSetTarget(*table, "00000000000" + std::to_string(mac)), CTextCodec());
        values.name = "Dock " + std::to_string(mac);
        values.ip = "10.77.0." + std::to_string(10 + mac);
        values.mode = dhcp ? NetMode::Dhcp : NetMode::Static;
        return values;
    }

    std::unique_ptr<CChangePlan> Plan(std::vector<ChangeValues> changes) const {
        auto plan = std::make_unique<CChangePlan>(*table, *arrivals, std::move(changes));
        EXPECT_FALSE(plan->Validate({}, EnglishText, CTextCodec()));
        return plan;
    }
};

// Sends every request, each reported sent at once, the pause kept: the moment the last went.
int64_t SendAll(CChangeEngine& engine, int64_t now) {
    for (EngineStep step = engine.Start(now); step.kind != Kind::Done;) {
        if (step.kind == Kind::Send) {
            EXPECT_EQ(step.command.command, CMD_SET);
            step = engine.OnSent(now);
            if (!engine.Sending()) {
                return now;
            }
            EXPECT_EQ(step.kind, Kind::Wait);
            EXPECT_EQ(step.wakeAtMs, now + PLAN_SEND_INTERVAL_MS) << "the pause";
            EXPECT_EQ(engine.OnTime(now).kind, Kind::Wait) << "not before its moment";
            now = step.wakeAtMs;
            step = engine.OnTime(now);
        }
    }
    return now;
}

// Runs the rounds from `sent` on, each query reported sent at once and `answer` giving the
// replies of round r: the moments at which queries went out.
std::vector<int64_t>
RunRounds(CChangeEngine& engine, int64_t sent,
          const std::function<std::vector<DeviceRecord>(std::size_t round)>& answer) {
    std::vector<int64_t> queries;
    EngineStep step = engine.Next();
    while (step.kind != Kind::Done) {
        if (step.kind == Kind::Wait) {
            step = engine.OnTime(step.wakeAtMs);
            continue;
        }
        EXPECT_EQ(step.kind, Kind::Query);
        const int64_t close = step.wakeAtMs;
        queries.push_back(close);
        engine.OnSent(close - 1);
        for (const DeviceRecord& reply : answer(queries.size() - 1)) {
            engine.OnReply(reply);
        }
        step = engine.OnTime(close);
    }
    for (int64_t& moment : queries) {
        moment -= sent; // as the schedule says them
    }
    return queries;
}

TEST(ChangeEngine, OneCameraIsSentToThenConfirmedByItsReply) {
    const Site site(1);
    const std::unique_ptr<CChangePlan> plan = site.Plan({site.Move(1)});
    CChangeEngine engine(*plan);
    EngineStep step = engine.Start(1000);
    ASSERT_EQ(step.kind, Kind::Send);
    EXPECT_EQ(step.command.interfaceName, "eth0");
    EXPECT_EQ(engine.InFlight(), 0u);
    EXPECT_EQ(engine.OnTime(5000).kind, Kind::Await) << "its report is awaited, not a moment";
    step = engine.OnSent(1010);
    EXPECT_EQ(plan->State(0), PlanState::Sent);
    ASSERT_EQ(step.kind, Kind::Wait);
    EXPECT_EQ(step.wakeAtMs, 1010 + CONFIRM_SCHEDULE_MS[0]);
    step = engine.OnTime(step.wakeAtMs);
    ASSERT_EQ(step.kind, Kind::Query);
    EXPECT_EQ(step.command.command, CMD_QUERY);
    EXPECT_EQ(step.wakeAtMs, 1010 + CONFIRM_SCHEDULE_MS[1]);
    engine.OnSent(1620);
    engine.OnReply(plan->After(0));
    EXPECT_EQ(engine.OnTime(2000).kind, Kind::Wait) << "the round is open until its moment";
    EXPECT_EQ(engine.OnTime(step.wakeAtMs).kind, Kind::Done);
    EXPECT_EQ(plan->State(0), PlanState::Confirmed);
    EXPECT_TRUE(plan->Answered(0));
    EXPECT_EQ(plan->Outcome(0, EnglishText, CTextCodec()), "Dock 1 confirmed the new settings");
}

TEST(ChangeEngine, ManyCamerasShareEachRoundAndARoundCollectedClosesEarly) {
    const Site site(3);
    const std::unique_ptr<CChangePlan> plan = site.Plan({site.Move(1), site.Move(2), site.Move(3)});
    CChangeEngine engine(*plan);
    const int64_t sent = SendAll(engine, 0);
    EXPECT_EQ(sent, 2 * PLAN_SEND_INTERVAL_MS);
    EXPECT_EQ(engine.Requests(), (std::vector<std::size_t>{0, 1, 2}));
    EngineStep step = engine.OnTime(sent + CONFIRM_SCHEDULE_MS[0]);
    ASSERT_EQ(step.kind, Kind::Query);
    engine.OnSent(sent + 601);
    engine.OnReply(plan->After(0));
    engine.OnReply(plan->Before(1)); // not yet taken; 3 is silent
    step = engine.OnRoundCollected(sent + 900);
    EXPECT_EQ(plan->State(0), PlanState::Confirmed);
    EXPECT_EQ(plan->State(1), PlanState::Sent);
    ASSERT_EQ(step.kind, Kind::Wait) << "the next round keeps its moment";
    EXPECT_EQ(step.wakeAtMs, sent + CONFIRM_SCHEDULE_MS[1]);
    const std::vector<int64_t> queries = RunRounds(engine, sent, [&](std::size_t) {
        return std::vector<DeviceRecord>{plan->After(1), plan->After(2)};
    });
    EXPECT_EQ(queries, (std::vector<int64_t>{CONFIRM_SCHEDULE_MS[2]}));
    for (std::size_t step = 0; step < 3; ++step) {
        EXPECT_EQ(plan->State(step), PlanState::Confirmed) << step;
    }
}

// A reply counts only in an open round: not before its query went out, not after it closed.
TEST(ChangeEngine, LostAndLateRepliesAnswerNoRound) {
    const Site site(1);
    const struct {
        const char* when;
        bool beforeQuery; // else after the round's close
    } cases[] = {{"before its query went out", true}, {"after its round closed", false}};
    for (const auto& c : cases) {
        const std::unique_ptr<CChangePlan> plan = site.Plan({site.Move(1)});
        CChangeEngine engine(*plan);
        const int64_t sent = SendAll(engine, 0);
        std::vector<int64_t> queries;
        EngineStep step = engine.Next();
        while (step.kind != Kind::Done) {
            if (step.kind == Kind::Wait) {
                step = engine.OnTime(step.wakeAtMs);
                continue;
            }
            const int64_t close = step.wakeAtMs;
            queries.push_back(close - sent);
            if (c.beforeQuery) {
                engine.OnReply(plan->After(0));
            }
            engine.OnSent(close - 900);
            step = engine.OnTime(close);
            if (!c.beforeQuery) {
                engine.OnReply(plan->After(0));
            }
        }
        EXPECT_EQ(plan->State(0), PlanState::NotConfirmed) << c.when;
        EXPECT_EQ(plan->Detail(0, EnglishText, CTextCodec()),
                  "IPCAM did not answer: it may be restarting; press Update in a minute")
            << c.when;
        // Every round of the schedule asked, the last closing at its last moment.
        EXPECT_EQ(queries, (std::vector<int64_t>(CONFIRM_SCHEDULE_MS.begin() + 1,
                                                 CONFIRM_SCHEDULE_MS.end())))
            << c.when;
    }
}

TEST(ChangeEngine, StopMidwaySaysWhichRequestsWentOut) {
    const Site site(3);
    const std::unique_ptr<CChangePlan> plan = site.Plan({site.Move(1), site.Move(2), site.Move(3)});
    CChangeEngine engine(*plan);
    engine.Start(0);
    engine.OnSent(1);
    engine.OnTime(2); // the second request is with the worker
    EXPECT_EQ(engine.Stop().kind, Kind::Done);
    EXPECT_FALSE(engine.InFlight());
    EXPECT_EQ(engine.OnSent(3).kind, Kind::Done) << "a late report changes nothing";
    EXPECT_EQ(plan->Detail(0, EnglishText, CTextCodec()), "sent; stopped before it confirmed");
    EXPECT_EQ(plan->Detail(1, EnglishText, CTextCodec()), "not sent: stopped before its turn");
    EXPECT_EQ(plan->Detail(2, EnglishText, CTextCodec()), "not sent: stopped before its turn");
    EXPECT_TRUE(plan->WentOut(0));
    EXPECT_FALSE(plan->WentOut(1));
}

// A failed send is the request's in flight, or the one reported sent last while no other
// went since; a query's failure is no camera's.
TEST(ChangeEngine, AFailedSendIsItsRequestsAloneAndTheOthersGoOn) {
    const Site site(3);
    const std::unique_ptr<CChangePlan> plan = site.Plan({site.Move(1), site.Move(2), site.Move(3)});
    CChangeEngine engine(*plan);
    engine.Start(0);
    EXPECT_EQ(engine.OnSendFailed(0, "no route").kind, Kind::Wait) << "the next after its pause";
    EXPECT_EQ(engine.OnTime(1).kind, Kind::Send);
    engine.OnSent(2);
    engine.OnTime(3);
    engine.OnSent(4);                  // the last request: the rounds begin
    engine.OnSendFailed(4, "refused"); // reported right after it: its own
    EngineStep step = engine.OnTime(4 + CONFIRM_SCHEDULE_MS[0]);
    ASSERT_EQ(step.kind, Kind::Query);
    engine.OnSendFailed(700, "a query"); // nobody's
    engine.OnSent(700);
    engine.OnReply(plan->After(1));
    EXPECT_EQ(engine.OnRoundCollected(800).kind, Kind::Done);
    EXPECT_EQ(plan->Detail(0, EnglishText, CTextCodec()), "not sent: no route");
    EXPECT_EQ(plan->State(1), PlanState::Confirmed);
    EXPECT_EQ(plan->Detail(2, EnglishText, CTextCodec()), "not sent: refused");

    // A change of one whose request failed is done at once.
    const std::unique_ptr<CChangePlan> one = site.Plan({site.Move(1)});
    CChangeEngine single(*one);
    single.Start(0);
    EXPECT_EQ(single.OnSendFailed(0, "no route").kind, Kind::Done);
    EXPECT_FALSE(one->WentOut(0));
}

// The schedule is fixed when the last request went: the DHCP camera's, the longest, even
// once the camera with a fixed IP confirmed.
TEST(ChangeEngine, ADhcpCameraIsAskedOnItsLongerScheduleToItsEnd) {
    const Site site(2);
    const std::unique_ptr<CChangePlan> plan = site.Plan({site.Move(1), site.Move(2, true)});
    CChangeEngine engine(*plan);
    const int64_t sent = SendAll(engine, 0);
    const std::vector<int64_t> queries = RunRounds(engine, sent, [&](std::size_t round) {
        return round == 0 ? std::vector<DeviceRecord>{plan->After(0)}
                          : std::vector<DeviceRecord>{plan->Before(1)};
    });
    EXPECT_EQ(queries, (std::vector<int64_t>(CONFIRM_SCHEDULE_DHCP_MS.begin() + 1,
                                             CONFIRM_SCHEDULE_DHCP_MS.end())));
    EXPECT_EQ(plan->State(0), PlanState::Confirmed);
    EXPECT_EQ(plan->State(1), PlanState::NotConfirmed);
    EXPECT_NE(plan->Detail(1, EnglishText, CTextCodec()).find("did not take the new settings"),
              std::string::npos);
}

TEST(ChangeEngine, WithoutConfirmationItIsDoneOnceTheRequestsWent) {
    const Site site(2);
    const std::unique_ptr<CChangePlan> plan = site.Plan({site.Move(1), site.Move(2)});
    CChangeEngine engine(*plan, false);
    SendAll(engine, 0);
    EXPECT_TRUE(engine.Done());
    EXPECT_EQ(plan->State(0), PlanState::Sent);
    EXPECT_EQ(plan->State(1), PlanState::Sent);

    const std::unique_ptr<CChangePlan> none =
        site.Plan({EditableValues(plan->Before(0), CTextCodec())});
    EXPECT_EQ(CChangeEngine(*none).Start(0).kind, Kind::Done) << "nothing to send";
}

} // namespace
