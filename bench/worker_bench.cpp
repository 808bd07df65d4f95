// Measures the network worker on loopback: its CPU use while idle (after its first query,
// after a query and after a set request), how fast a command goes out, and whether 255
// cameras answering at once all arrive. Sends only to 127.0.0.1.
#include <arpa/inet.h>
#include <poll.h>
#include <pthread.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/net/udp_socket.h"
#include "core/worker/network_worker.h"
#include "core/worker/search_schedule.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// A search's query goes out again SEARCH_COPY_INTERVAL_MS apart: only after its last copy
// has the worker nothing left to do.
constexpr auto SEARCH_SETTLED =
    SEARCH_QUERY_COPIES * std::chrono::milliseconds(SEARCH_COPY_INTERVAL_MS) + 100ms;
constexpr int LATENCY_TRIES = 200;
constexpr int BURST_ROUNDS = 5;

double Seconds(timespec time) {
    return static_cast<double>(time.tv_sec) + time.tv_nsec / 1e9;
}
double Seconds(timeval time) {
    return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6;
}
double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

// Merges replies into a table as a front end does, and notes when the first and last came.
class CBenchReport : public WorkerReport {
public:
    void OnStatus(const WorkerOutcome&) override {}
    void OnSent(int, const WorkerOutcome&) override {}
    void OnReply(const DeviceRecord& record, const ReplyArrival&) override {
        const Clock::time_point now = Clock::now();
        std::lock_guard lock(m_mutex);
        if (CountOccupied(*m_table) == 0) {
            m_first = now;
        }
        MergeRecord(*m_table, record);
        m_last = now;
    }
    void Clear() {
        std::lock_guard lock(m_mutex);
        ClearTable(*m_table);
    }
    int Merged(Clock::time_point& first, Clock::time_point& last) {
        std::lock_guard lock(m_mutex);
        first = m_first;
        last = m_last;
        return CountOccupied(*m_table);
    }

private:
    std::mutex m_mutex;
    std::unique_ptr<DeviceTable> m_table = std::make_unique<DeviceTable>();
    Clock::time_point m_first, m_last;
};

bool WaitReadable(const CUdpSocket& socket, int milliseconds) {
    pollfd watched{socket.Descriptor(), POLLIN, 0};
    return poll(&watched, 1, milliseconds) == 1;
}

bool ReceiveOne(CUdpSocket& socket) {
    uint8_t bytes[WORKER_RECEIVE_BUFFER];
    std::size_t length = 0;
    sockaddr_in sender{};
    return WaitReadable(socket, 2000) &&
           socket.ReceiveFrom(bytes, sizeof bytes, length, sender) == 0;
}

double ThreadCpuSeconds(std::thread& thread) {
    clockid_t clock;
    timespec used{};
    if (pthread_getcpuclockid(thread.native_handle(), &clock) != 0 ||
        clock_gettime(clock, &used) != 0) {
        return -1;
    }
    return Seconds(used);
}

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

void MeasureIdle(std::thread& worker, const WorkerControl& control, const char* when) {
    const double threadBefore = ThreadCpuSeconds(worker);
    const uint64_t turnsBefore = control.Turns();
    const double processBefore = ProcessCpuSeconds();
    const Clock::time_point start = Clock::now();
    std::this_thread::sleep_for(3s);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double threadUse = (ThreadCpuSeconds(worker) - threadBefore) / wall * 100;
    const double processUse = (ProcessCpuSeconds() - processBefore) / wall * 100;
    std::printf("idle CPU %s, over %.1f s: worker thread %.4f %% of a core, whole process "
                "%.4f %%, %llu turns of the worker's loop (goal < 0.1 %%, 0 turns)\n",
                when, wall, threadUse, processUse,
                static_cast<unsigned long long>(control.Turns() - turnsBefore));
}

void IdleAfterSend(std::thread& worker, const WorkerControl& control, CUdpSocket& peer,
                   const char* when) {
    if (!ReceiveOne(peer)) {
        std::printf("idle %s: the command's datagram never arrived\n", when);
        return;
    }
    std::this_thread::sleep_for(SEARCH_SETTLED);
    MeasureIdle(worker, control, when);
}

void MeasureCommandLatency(WorkerControl& control, CUdpSocket& peer) {
    std::vector<double> times;
    for (int i = 0; i < LATENCY_TRIES; ++i) {
        std::this_thread::sleep_for(2ms); // let the worker settle into its wait
        const Clock::time_point start = Clock::now();
        control.SetCommand(CMD_QUERY);
        if (!ReceiveOne(peer)) {
            std::printf("command to datagram: try %d never arrived\n", i);
            return;
        }
        times.push_back(Milliseconds(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    std::printf("command to datagram at the peer, %d tries: median %.3f ms, p99 %.3f ms, max "
                "%.3f ms (goal median < 1 ms)\n",
                LATENCY_TRIES, times[times.size() / 2], times[times.size() * 99 / 100],
                times.back());
}

std::vector<std::vector<uint8_t>> CameraReplies(int round) {
    std::vector<std::vector<uint8_t>> replies;
    for (int camera = 0; camera < DEVICE_TABLE_SLOTS; ++camera) {
        std::vector<uint8_t> reply(DISCOVERY_DATAGRAM_SIZE, 0);
        std::memcpy(reply.data(), DISCOVERY_MAGIC, DISCOVERY_MAGIC_LENGTH);
        const uint8_t mac[] = {
            0x00, 0x1a, 0x2b, static_cast<uint8_t>(round), 0x4d, static_cast<uint8_t>(camera)};
        uint8_t* cursor = AppendItem(reply.data() + DISCOVERY_MAGIC_LENGTH, ITEM_MAC, 6, mac);
        cursor = AppendItem(cursor, ITEM_NAME, ITEM_WIDTH_NAME, "bench camera....");
        const uint8_t address[] = {10, 0, static_cast<uint8_t>(round),
                                   static_cast<uint8_t>(camera)};
        AppendItem(cursor, ITEM_IP, ITEM_WIDTH_ADDRESS, address);
        replies.push_back(std::move(reply));
    }
    return replies;
}

void MeasureBurst(CBenchReport& report, CUdpSocket& peer, uint16_t workerPort) {
    sockaddr_in worker{};
    MakeSocketAddress("127.0.0.1", workerPort, worker);
    int worstMerged = DEVICE_TABLE_SLOTS;
    double worstSpread = 0;
    for (int round = 0; round < BURST_ROUNDS; ++round) {
        const auto replies = CameraReplies(round);
        report.Clear();
        const Clock::time_point sendStart = Clock::now();
        for (const auto& reply : replies) {
            peer.SendTo(reply.data(), reply.size(), worker);
        }
        const double sendTime = Milliseconds(Clock::now() - sendStart);
        Clock::time_point first, last;
        const Clock::time_point deadline = Clock::now() + 1s;
        int merged = 0;
        while ((merged = report.Merged(first, last)) < DEVICE_TABLE_SLOTS &&
               Clock::now() < deadline) {
            std::this_thread::sleep_for(1ms);
        }
        const double spread = merged > 0 ? Milliseconds(last - first) : 0;
        std::printf("burst %d: %d/255 merged, last %.3f ms after the first (255 sends took "
                    "%.3f ms)\n",
                    round + 1, merged, spread, sendTime);
        worstMerged = std::min(worstMerged, merged);
        worstSpread = std::max(worstSpread, spread);
    }
    std::printf("burst of 255 cameras, worst of %d: %d/255 merged, last %.3f ms after the first "
                "(goal 255/255 within 20 ms)\n",
                BURST_ROUNDS, worstMerged, worstSpread);
}

} // namespace

int main() {
    CUdpSocket peer;
    if (peer.Open() != 0 || peer.Bind(0, htonl(INADDR_LOOPBACK)) != 0) {
        std::perror("peer socket");
        return 1;
    }
    CUdpSocket probe; // a free port for the worker
    probe.Open();
    probe.Bind(0, htonl(INADDR_LOOPBACK));
    WorkerEndpoints endpoints;
    endpoints.localPort = probe.LocalPort();
    endpoints.destinationAddress = "127.0.0.1";
    endpoints.destinationPort = peer.LocalPort();
    probe.Close();

    CUdpSocket sample; // what the worker's own socket is granted on this machine
    sample.Open();
    std::printf("socket receive buffer: asked %d bytes, granted %d\n", WORKER_SOCKET_RECEIVE_BUFFER,
                sample.GrowReceiveBuffer(WORKER_SOCKET_RECEIVE_BUFFER));

    CBenchReport report;
    WorkerControl control;
    std::thread worker([&] { NetworkWorker(control, report, endpoints); });
    if (!ReceiveOne(peer)) {
        std::printf("the worker's first query never arrived\n");
        control.RequestStop();
        worker.join();
        return 1;
    }
    std::this_thread::sleep_for(SEARCH_SETTLED);

    MeasureIdle(worker, control, "after the first query");
    // A command wakes the worker; once it is sent the worker must sleep again, not spin.
    control.SetCommand(CMD_QUERY);
    IdleAfterSend(worker, control, peer, "after a query");
    WorkerCommand set;
    set.command = CMD_SET;
    BuildQueryRequest(set.datagram); // any 256 bytes do: the peer only receives them
    control.SetCommand(std::move(set));
    IdleAfterSend(worker, control, peer, "after a set request");
    MeasureCommandLatency(control, peer);
    MeasureBurst(report, peer, endpoints.localPort);

    control.RequestStop();
    worker.join();
    return 0;
}
