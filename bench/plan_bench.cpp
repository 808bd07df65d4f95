// Measures a plan that addresses a whole site against one camera, on loopback: the time from
// the first request to the last camera's confirmation (and with the search before it), for
// 250 cameras fresh from the box (a /24 holds no more beside this PC and the gateway) and
// for one, in the same run; and how many requests the cameras never heard or heard twice.
// Sends only to 127.0.0.1.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "core/net/udp_socket.h"
#include "core/plan/addressing_plan.h"
#include "core/plan/change_plan.h"
#include "core/plan/plan_session.h"
#include "sim/camera_simulator.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int SITE_CAMERAS = 250;
constexpr int RUNS = 3;
constexpr int SCAN_MS = 1000;
constexpr std::size_t MAC_AT = 14; // hex digits before a set request's MAC: magic, type, length

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

uint16_t FreePort() {
    CUdpSocket probe;
    return probe.Open() == 0 && probe.Bind(0) == 0 ? probe.LocalPort() : 0;
}

struct RunFigures {
    double planMs = 0;  // first request to last confirmation
    double totalMs = 0; // the search before it included
    int confirmed = 0;
    int lost = 0;  // planned requests the cameras never received
    int twice = 0; // requests received more than once
};

// The set requests camsim logged, by the MAC they name.
std::map<std::string, int> SetRequestsByMac(const std::string& logPath) {
    std::map<std::string, int> requests;
    std::FILE* log = std::fopen(logPath.c_str(), "r");
    char line[1024];
    while (log != nullptr && std::fgets(line, sizeof line, log) != nullptr) {
        const std::string hex(line);
        // A set request names its camera by a first MAC item; a query asks for the name.
        if (hex.compare(10, 4, "1006") == 0) {
            ++requests[hex.substr(MAC_AT, 12)];
        }
    }
    if (log != nullptr) {
        std::fclose(log);
    }
    return requests;
}

RunFigures AddressSite(int cameras, const std::string& logPath) {
    SimSettings settings;
    settings.bindAddress = "127.0.0.1";
    settings.port = 0;
    settings.logPath = logPath;
    CameraSimulator simulator(FactoryDevices(cameras, {192, 168, 1, 64}), settings);
    std::string error;
    if (!simulator.Open(error)) {
        std::fprintf(stderr, "plan_bench: %s\n", error.c_str());
        std::exit(1);
    }
    std::thread serving([&] { simulator.Run(); });

    WorkerEndpoints endpoints;
    endpoints.localPort = FreePort();
    endpoints.destinationAddress = "127.0.0.1";
    endpoints.destinationPort = simulator.LocalPort();
    endpoints.everyInterface = false;
    RunFigures figures;
    const Clock::time_point start = Clock::now();
    {
        ScanSession session(endpoints);
        ScanResult found;
        if (session.Scan({SCAN_MS, ScanWait{}.settleMs}, found) ||
            static_cast<int>(found.devices.size()) != cameras) {
            std::fprintf(stderr, "plan_bench: %zu of %d cameras answered\n", found.devices.size(),
                         cameras);
            std::exit(1);
        }
        std::vector<int> slots;
        for (const DeviceRecord& device : found.devices) {
            slots.push_back(device.id - 1);
        }
        const AddressingRequest request{"10.77.0.2", "255.255.255.0", "10.77.0.1", PlanOrder::Mac,
                                        "Dock {n:03}"};
        const AddressingPlan addressing = PlanAddresses(*found.table, *found.arrivals, slots,
                                                        request, {}, EnglishText, CTextCodec());
        CChangePlan plan(*found.table, *found.arrivals, addressing.changes);
        if (!addressing.refusal.empty() || plan.Validate({}, EnglishText, CTextCodec())) {
            std::fprintf(stderr, "plan_bench: the plan was refused %s\n",
                         addressing.refusal.c_str());
            std::exit(1);
        }
        const std::atomic<bool> never{false};
        const Clock::time_point sending = Clock::now();
        RunPlan(session, plan, never);
        figures.planMs = Milliseconds(Clock::now() - sending);
        figures.totalMs = Milliseconds(Clock::now() - start);
        for (std::size_t step = 0; step < plan.Size(); ++step) {
            figures.confirmed += plan.State(step) == PlanState::Confirmed ? 1 : 0;
        }
    }
    simulator.Stop();
    serving.join();
    const std::map<std::string, int> requests = SetRequestsByMac(logPath);
    figures.lost = cameras - static_cast<int>(requests.size());
    for (const auto& [mac, count] : requests) {
        figures.twice += count > 1 ? 1 : 0;
    }
    return figures;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main() {
    const std::string logPath = "plan_bench_camsim.log";
    std::vector<double> one, site, oneTotal, siteTotal;
    int lost = 0, twice = 0, unconfirmed = 0;
    std::printf("run  cameras  plan ms  with search ms  confirmed  lost  sent twice\n");
    for (int run = 1; run <= RUNS; ++run) {
        for (const int cameras : {1, SITE_CAMERAS}) {
            const RunFigures f = AddressSite(cameras, logPath);
            std::printf("%3d  %7d  %7.0f  %14.0f  %9d  %4d  %10d\n", run, cameras, f.planMs,
                        f.totalMs, f.confirmed, f.lost, f.twice);
            (cameras == 1 ? one : site).push_back(f.planMs);
            (cameras == 1 ? oneTotal : siteTotal).push_back(f.totalMs);
            lost += f.lost;
            twice += f.twice;
            unconfirmed += cameras - f.confirmed;
        }
    }
    std::remove(logPath.c_str());
    std::printf("median, first request to last confirmation: 1 camera %.0f ms, %d cameras %.0f ms: "
                "%.2f times (goal: at most 1.5)\n",
                Median(one), SITE_CAMERAS, Median(site), Median(site) / Median(one));
    std::printf("median with the search before it: 1 camera %.0f ms, %d cameras %.0f ms: %.2f "
                "times\n",
                Median(oneTotal), SITE_CAMERAS, Median(siteTotal),
                Median(siteTotal) / Median(oneTotal));
    std::printf("requests lost %d, sent twice %d, cameras not confirmed %d (goal: 0, 0, 0)\n", lost,
                twice, unconfirmed);
    return 0;
}
