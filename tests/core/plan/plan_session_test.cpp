// A plan run through a scan session against camsim on loopback, stopped as Ctrl+C stops it.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/plan/addressing_plan.h"
#include "core/plan/plan_report.h"
#include "core/plan/plan_session.h"
#include "tests/support/test_loopback.h"

namespace {

// How many set requests (anything but a query) the cameras received.
std::size_t SetRequests(const CameraPeer& cameras) {
    std::size_t count = 0;
    for (const std::string& line : cameras.Received()) {
        count += line.compare(10, 4, "1006") == 0 ? 1 : 0; // a first MAC item
    }
    return count;
}

// Three cameras from the box addressed from 192.168.1.10; stop comes as `stopWhen` says.
std::vector<PlanReportRow> RunStopped(CameraPeer& cameras, const std::function<bool()>& stopWhen) {
    ScanSession session(cameras.Endpoints());
    ScanResult found;
    EXPECT_FALSE(session.Scan({600, ScanWait{}.settleMs}, found));
    std::vector<int> slots;
    for (const DeviceRecord& device : found.devices) {
        slots.push_back(device.id - 1);
    }
    const AddressingPlan addressing =
        PlanAddresses(*found.table, *found.arrivals, slots,
                      {"192.168.1.10", "255.255.255.0", "192.168.1.1", PlanOrder::Mac, ""}, {},
                      EnglishText, CTextCodec());
    CChangePlan plan(*found.table, *found.arrivals, addressing.changes);
    EXPECT_FALSE(plan.Validate({}, EnglishText, CTextCodec()));
    std::atomic<bool> stop{stopWhen()};
    std::thread watch([&] { WaitFor([&] { return stop.load() || (stop = stopWhen()); }, 5000); });
    EXPECT_FALSE(RunPlan(session, plan, stop));
    watch.join();
    return PlanReport(plan, FormatOptions{CTextCodec()});
}

TEST(PlanSession, StoppedBeforeItsFirstRequestNothingGoesOut) {
    CameraPeer cameras(FactoryDevices(3, {192, 168, 1, 64}));
    for (const PlanReportRow& row : RunStopped(cameras, [] { return true; })) {
        EXPECT_EQ(row.detail, "not sent: stopped before its turn");
    }
    EXPECT_EQ(SetRequests(cameras), 0u);
}

TEST(PlanSession, StoppedWhileWaitingEveryRequestWentOutOnceAndNoRoundFollows) {
    CameraPeer cameras(FactoryDevices(3, {192, 168, 1, 64}));
    const std::vector<PlanReportRow> rows =
        RunStopped(cameras, [&] { return SetRequests(cameras) == 3; });
    ASSERT_EQ(rows.size(), 3u);
    for (const PlanReportRow& row : rows) {
        EXPECT_EQ(row.result, "not confirmed");
        EXPECT_EQ(row.detail, "sent; stopped before it confirmed");
    }
    EXPECT_EQ(cameras.Requests().size(), 4u) << "the search and the three requests, no query";
    EXPECT_EQ(cameras.Devices()[2].ip, (std::array<uint8_t, 4>{192, 168, 1, 12}));
}

} // namespace
