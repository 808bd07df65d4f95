// The hand-off between the worker and a front end on another thread: what a batch keeps,
// and that a flood asks the front end for one drain, not one call per reply.
#include <gtest/gtest.h>

#include "core/net/socket_platform.h"
#include "core/status/startup_failure.h"
#include "core/status/status_text.h"

#include <atomic>
#include <cstring>
#include <thread>

#include "core/wire/discovery_datagram.h"
#include "core/worker/report_batch.h"
#include "tests/support/test_flood.h"
#include "tests/support/test_loopback.h"

namespace {

DeviceRecord Camera(uint8_t macLast, const char* name) {
    DeviceRecord record{};
    const uint8_t mac[6] = {0x02, 0x00, 0x5e, 0x00, 0x01, macLast};
    std::memcpy(record.mac, mac, sizeof mac);
    SetFieldText(record.name, name);
    return record;
}

std::vector<std::string> Names(const ReportBatch& batch) {
    std::vector<std::string> names;
    for (const BatchedReply& reply : batch.replies) {
        names.push_back(FieldText(reply.record.name));
    }
    return names;
}

class ReportBatchTest : public ::testing::Test {
protected:
    std::atomic<int> m_drainsAsked{0};
    CBatchedReport m_report{[this] { ++m_drainsAsked; }, 3};
};

TEST_F(ReportBatchTest, LatestReplyPerMacWinsInTheOrderTheCamerasFirstAnswered) {
    m_report.OnReply(Camera(1, "one"), {"eth0"});
    m_report.OnStatus(WorkerOutcome{});
    m_report.OnReply(Camera(2, "two"), {"eth0"});
    m_report.OnReply(Camera(1, "one again"), {"eth1"});
    m_report.OnStatus({WorkerOutcomeKind::ReceiveFailed, 90, {}, {}});
    const ReportBatch batch = m_report.TakeBatch();
    EXPECT_EQ(Names(batch), (std::vector<std::string>{"one again", "two"}));
    EXPECT_EQ(batch.replies[0].arrival.interfaceName, "eth1") << "the latest card too";
    EXPECT_EQ(StatusText(batch.status.value()), "ERR: recv error! Errorcode =90\n");
    EXPECT_FALSE(batch.cleared);
    EXPECT_EQ(m_drainsAsked, 1) << "one drain per batch";
}

TEST_F(ReportBatchTest, CamerasBeyondTheRoomAreCountedKnownOnesStillUpdate) {
    for (uint8_t mac = 1; mac <= 5; ++mac) {
        m_report.OnReply(Camera(mac, "first"), {});
    }
    m_report.OnReply(Camera(2, "updated"), {});
    m_report.OnReply(Camera(5, "still no room"), {});
    ReportBatch batch = m_report.TakeBatch();
    EXPECT_EQ(Names(batch), (std::vector<std::string>{"first", "updated", "first"}));
    EXPECT_EQ(batch.dropped, 3u);

    // The next batch has room again; the total keeps counting.
    m_report.OnReply(Camera(5, "now"), {});
    m_report.OnReply(Camera(6, "a"), {});
    m_report.OnReply(Camera(7, "b"), {});
    m_report.OnReply(Camera(8, "c"), {});
    batch = m_report.TakeBatch();
    EXPECT_EQ(Names(batch), (std::vector<std::string>{"now", "a", "b"}));
    EXPECT_EQ(batch.dropped, 1u);
    EXPECT_EQ(m_report.DroppedTotal(), 4u);
}

TEST_F(ReportBatchTest, ASendWipesTheRepliesBeforeItAndKeepsThoseAfter) {
    m_report.OnReply(Camera(1, "before"), {});
    m_report.OnSent(CMD_QUERY, WorkerOutcome{});
    m_report.OnReply(Camera(2, "after"), {});
    m_report.OnReply(Camera(1, "again"), {});
    const ReportBatch batch = m_report.TakeBatch();
    EXPECT_TRUE(batch.cleared);
    EXPECT_EQ(Names(batch), (std::vector<std::string>{"after", "again"}));
}

TEST_F(ReportBatchTest, EachTakenBatchStartsEmptyAndAsksAgain) {
    m_report.OnStartupFailed({WorkerStartStep::Bind, SOCKET_ERR_ADDRESS_IN_USE, 3566});
    ReportBatch batch = m_report.TakeBatch();
    ASSERT_TRUE(batch.startupFailure.has_value());
    EXPECT_EQ(StartupFailureSentence(*batch.startupFailure),
              "UDP port 3566 is in use by another program, perhaps another finder");
    batch = m_report.TakeBatch();
    EXPECT_FALSE(batch.status.has_value());
    EXPECT_TRUE(batch.replies.empty() && !batch.startupFailure && !batch.cleared);
    m_report.OnStatus(WorkerOutcome{});
    EXPECT_EQ(m_drainsAsked, 2);
}

// A real worker on loopback, flooded by 1,500 cameras three times over while the front end
// takes nothing: one drain is asked for, and the batch holds one reply per camera up to
// its room, however many datagrams came.
TEST(ReportBatchFlood, AFloodAsksForOneDrainAndStaysWithinItsRoom) {
#ifdef _WIN32
    GTEST_SKIP() << "the flood paces itself by the receiving socket's queue, which only Linux "
                    "lists (/proc/net/udp)";
#else
    std::atomic<int> drainsAsked{0};
    CBatchedReport report([&] { ++drainsAsked; });
    WorkerControl control;
    WorkerCommand unused;
    control.TakeCommand(unused); // no query at start: nothing but the flood reaches the report
    WorkerEndpoints endpoints;
    endpoints.localPort = FreeUdpPort();
    endpoints.destinationAddress = "127.0.0.1";
    endpoints.destinationPort = FreeUdpPort();
    std::thread worker([&] { NetworkWorker(control, report, endpoints); });

    const std::vector<std::vector<uint8_t>> replies = GeneratedReplies(1500);
    std::vector<std::vector<uint8_t>> flood;
    for (int round = 0; round < 3; ++round) {
        flood.insert(flood.end(), replies.begin(), replies.end());
    }
    const bool taken = SendAllTaken(endpoints.localPort, flood);
    control.RequestStop();
    worker.join();
    ASSERT_TRUE(taken) << "the worker stopped taking datagrams";

    const ReportBatch batch = report.TakeBatch();
    EXPECT_EQ(drainsAsked, 1);
    EXPECT_EQ(batch.replies.size(), REPORT_BATCH_DEVICES);
    EXPECT_EQ(batch.dropped, 3 * (1500 - REPORT_BATCH_DEVICES));
    EXPECT_EQ(StatusText(batch.status.value()), "OK");
#endif
}

} // namespace
