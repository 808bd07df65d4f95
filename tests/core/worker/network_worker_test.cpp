// The network worker against real UDP sockets on 127.0.0.1. The peer is a plain socket in
// the test; only the namespace test uses the worker's real defaults, and only inside a
// private network namespace of a child process, so nothing leaves the machine.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <net/if.h>
#include <sched.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/net/udp_socket.h"
#include "core/status/startup_failure.h"
#include "core/status/status_text.h"
#include "core/worker/network_worker.h"
#include "core/worker/search_schedule.h"
#include "tests/support/test_loopback.h"

namespace {

using namespace std::chrono_literals;

WorkerCommand SetRequest(const DiscoveryDatagram& datagram, const std::string& card = {}) {
    WorkerCommand command;
    command.command = CMD_SET;
    command.datagram = datagram;
    command.interfaceName = card;
    return command;
}
using Bytes = std::vector<uint8_t>;

constexpr auto WAIT_LIMIT = 5s; // generous: the sanitizer build is slow

// What the system answers a send to port 0 with (Wine: WSAEINVAL).
#ifdef _WIN32
constexpr int SEND_TO_PORT_ZERO_ERROR = WSAEINVAL;
#else
constexpr int SEND_TO_PORT_ZERO_ERROR = EINVAL;
#endif

std::string ErrorLine(const char* format, int code) {
    char text[64];
    std::snprintf(text, sizeof text, format, code);
    return text;
}

// Collects what the worker reports, as a front end would; merges replies into a table.
class CRecorder : public WorkerReport {
public:
    void OnStatus(const WorkerOutcome& outcome) override {
        const std::string text = StatusText(outcome);
        std::function<void(const std::string&)> hook;
        {
            std::lock_guard lock(m_mutex);
            statuses.push_back(text);
            hook = statusHook;
        }
        if (hook) {
            hook(text);
        }
        m_changed.notify_all();
    }
    void OnReply(const DeviceRecord& record, const ReplyArrival& arrival) override {
        {
            std::lock_guard lock(m_mutex);
            replies.push_back(record);
            arrivals.push_back(arrival);
            MergeRecord(*table, record);
        }
        m_changed.notify_all();
    }
    void OnSent(int, const WorkerOutcome&) override {
        {
            std::lock_guard lock(m_mutex);
            ++sent;
        }
        m_changed.notify_all();
    }
    void OnStartupFailed(const WorkerStartFailure& failure) override {
        std::lock_guard lock(m_mutex);
        startupFailures.push_back(StartupFailureSentence(failure));
    }
    void OnOverlongReply() override {
        std::lock_guard lock(m_mutex);
        ++overlong;
    }
    void OnSearchSent(const SearchSent& search) override {
        {
            std::lock_guard lock(m_mutex);
            searches.push_back(search);
        }
        m_changed.notify_all();
    }

    // Waits until the condition holds on the recorded state (checked under the lock).
    bool WaitFor(const std::function<bool()>& condition) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, WAIT_LIMIT, condition);
    }
    template <typename T> T Read(const std::function<T()>& reader) {
        std::lock_guard lock(m_mutex);
        return reader();
    }
    std::vector<std::string> Statuses() {
        return Read<std::vector<std::string>>([this] { return statuses; });
    }
    std::size_t ReplyCount() {
        return Read<std::size_t>([this] { return replies.size(); });
    }

    std::vector<std::string> statuses;
    std::vector<DeviceRecord> replies;
    std::vector<ReplyArrival> arrivals; // where each reply came in, in the same order
    std::unique_ptr<DeviceTable> table = std::make_unique<DeviceTable>();
    int sent = 0;
    std::vector<std::string> startupFailures;
    int overlong = 0;
    std::vector<SearchSent> searches;
    std::function<void(const std::string&)> statusHook; // runs on the worker's thread

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
};

// A UDP socket on loopback standing in for the cameras.
class CPeer {
public:
    explicit CPeer(uint32_t address = INADDR_LOOPBACK, uint16_t port = 0) {
        EXPECT_EQ(m_socket.Open(), 0);
        EXPECT_EQ(m_socket.Bind(port, htonl(address)), 0);
    }
    uint16_t Port() const { return m_socket.LocalPort(); }

    std::optional<Bytes> Receive(std::chrono::milliseconds limit = WAIT_LIMIT) {
        if (!m_socket.WaitReadable(static_cast<int>(limit.count()))) {
            return std::nullopt;
        }
        Bytes bytes(4096);
        std::size_t length = 0;
        sockaddr_in sender{};
        if (m_socket.ReceiveFrom(bytes.data(), bytes.size(), length, sender) != 0) {
            return std::nullopt;
        }
        bytes.resize(length);
        lastSender = sender;
        return bytes;
    }

    void SendTo(uint16_t port, const Bytes& bytes) {
        sockaddr_in destination{};
        ASSERT_TRUE(MakeSocketAddress("127.0.0.1", port, destination));
        ASSERT_EQ(m_socket.SendTo(bytes.data(), bytes.size(), destination), 0);
    }

    sockaddr_in lastSender{};

private:
    CUdpSocket m_socket;
};

std::string FirstReplyName(CRecorder& recorder) {
    return recorder.Read<std::string>([&] { return FieldText(recorder.replies.at(0).name); });
}

// A camera's reply, written out by hand so that the test does not lean on the codec.
Bytes CameraReply(uint8_t macLast, const char* name, uint16_t httpPort = 80) {
    Bytes reply = {'R', 'Z', '8', '8', '0'};
    auto item = [&reply](uint8_t type, Bytes value) {
        reply.push_back(type);
        reply.push_back(static_cast<uint8_t>(value.size()));
        reply.insert(reply.end(), value.begin(), value.end());
    };
    Bytes nameBytes(16, 0);
    std::memcpy(nameBytes.data(), name, std::min<std::size_t>(16, std::strlen(name)));
    item(0x20, nameBytes);
    item(0x10, {0x00, 0x1a, 0x2b, 0x3c, 0x4d, macLast});
    item(0x11, {192, 168, 1, macLast});
    item(0x12, {255, 255, 255, 0});
    item(0x13, {192, 168, 1, 1});
    item(0x14, {static_cast<uint8_t>(httpPort & 0xff), static_cast<uint8_t>(httpPort >> 8)});
    item(0x1F, {0xFF, 0xFF, 0x01, 0xFF});
    return reply;
}

Bytes QueryBytes() {
    DiscoveryDatagram query;
    BuildQueryRequest(query);
    return Bytes(query.bytes, query.bytes + sizeof query.bytes);
}

// A worker on its own thread with loopback endpoints; stopped and joined on the way out.
class CWorkerRun {
public:
    explicit CWorkerRun(WorkerEndpoints endpoints, CRecorder* recorder = nullptr)
        : m_endpoints(std::move(endpoints)), m_recorder(recorder ? recorder : &m_ownRecorder) {}
    ~CWorkerRun() {
        if (m_thread.joinable()) {
            StopAndJoin();
        }
    }

    void Start() {
        m_thread =
            std::thread([this] { result = NetworkWorker(control, *m_recorder, m_endpoints); });
    }

    // True when the worker ended by itself within the limit. Otherwise a datagram to its port
    // ends its wait, so the test fails instead of hanging.
    bool StopAndJoin() {
        control.RequestStop();
        return Join();
    }
    bool Join() {
        std::mutex mutex;
        std::condition_variable ended;
        bool done = false;
        std::thread joiner([&] {
            m_thread.join();
            std::lock_guard lock(mutex);
            done = true;
            ended.notify_all();
        });
        bool inTime;
        {
            std::unique_lock lock(mutex);
            inTime = ended.wait_for(lock, WAIT_LIMIT, [&] { return done; });
        }
        if (!inTime) {
            CPeer nudge;
            nudge.SendTo(m_endpoints.localPort, {'x'});
        }
        joiner.join();
        return inTime;
    }

    CRecorder& Recorder() { return *m_recorder; }

    WorkerControl control;
    int result = -1;

private:
    WorkerEndpoints m_endpoints;
    CRecorder m_ownRecorder;
    CRecorder* m_recorder;
    std::thread m_thread;
};

class NetworkWorkerTest : public ::testing::Test {
protected:
    WorkerEndpoints Endpoints() {
        WorkerEndpoints endpoints;
        endpoints.localPort = FreeUdpPort();
        endpoints.destinationAddress = "127.0.0.1";
        endpoints.destinationPort = peer.Port();
        return endpoints;
    }
    // Starts the worker and takes the query of its first turn, in all its copies.
    void StartAndTakeQuery(CWorkerRun& run) {
        run.Start();
        for (int copy = 0; copy < SEARCH_QUERY_COPIES; ++copy) {
            std::optional<Bytes> query = peer.Receive();
            ASSERT_TRUE(query.has_value()) << copy;
            ASSERT_EQ(*query, QueryBytes());
        }
        ASSERT_TRUE(run.Recorder().WaitFor([&] { return run.Recorder().sent == 1; }));
    }

    CPeer peer;
};

TEST(WorkerControlTest, StartsWithAQueryPendingAndTakesEachCommandOnce) {
    WorkerControl control;
    WorkerCommand taken;
    EXPECT_FALSE(control.StopRequested());
    EXPECT_EQ(control.TakeCommand(taken), CMD_QUERY);
    EXPECT_EQ(control.TakeCommand(taken), CMD_NONE);

    DiscoveryDatagram set{};
    std::memset(set.bytes, 0xA5, sizeof set.bytes);
    DiscoveryDatagram other{};
    std::memset(other.bytes, 0x5A, sizeof other.bytes);
    control.SetCommand(SetRequest(set, "eth1"));
    control.SetCommand(SetRequest(other)); // each set request goes out, none replaces another
    EXPECT_EQ(control.TakeCommand(taken), CMD_SET);
    EXPECT_EQ(taken.interfaceName, "eth1") << "the card of the camera goes with its request";
    EXPECT_EQ(std::memcmp(taken.datagram.bytes, set.bytes, sizeof set.bytes), 0);
    EXPECT_EQ(control.TakeCommand(taken), CMD_SET);
    EXPECT_EQ(std::memcmp(taken.datagram.bytes, other.bytes, sizeof other.bytes), 0);
    EXPECT_EQ(control.TakeCommand(taken), CMD_NONE);

    // Submit then Update at once: the set request still goes out, then the query.
    control.SetCommand(SetRequest(set, "eth1"));
    control.SetCommand(CMD_QUERY);
    control.SetCommand(CMD_QUERY); // one search, not two
    EXPECT_EQ(control.TakeCommand(taken), CMD_SET);
    EXPECT_EQ(control.TakeCommand(taken), CMD_QUERY);
    EXPECT_EQ(control.TakeCommand(taken), CMD_NONE);

    // A query takes the search targets along with its own.
    control.SetSearchTargets({0x0A020015});
    WorkerCommand query;
    query.command = CMD_QUERY;
    query.targets = {0x0A02001E};
    control.SetCommand(query);
    EXPECT_EQ(control.TakeCommand(taken), CMD_QUERY);
    EXPECT_EQ(taken.targets, (std::vector<uint32_t>{0x0A02001E, 0x0A020015}));

    control.SetCommand(SetRequest(set));
    control.RequestStop();
    EXPECT_TRUE(control.StopRequested());
    control.Reset(); // drops the set request that waited
    EXPECT_FALSE(control.StopRequested());
    EXPECT_EQ(control.TakeCommand(taken), CMD_QUERY);
}

TEST(WorkerControlTest, CommandAndStopRaiseTheWakeSignal) {
    WorkerControl control;
    CWakeSignal& wake = control.WakeSignal();
    ASSERT_TRUE(wake.IsValid());
    wake.Clear();
    EXPECT_FALSE(wake.IsSignalled());
    control.SetCommand(CMD_QUERY);
    EXPECT_TRUE(wake.IsSignalled());
    wake.Clear();
    EXPECT_FALSE(wake.IsSignalled());
    control.RequestStop();
    EXPECT_TRUE(wake.IsSignalled());
}

TEST_F(NetworkWorkerTest, FirstTurnSendsAQueryWithoutBeingAsked) {
    const WorkerEndpoints endpoints = Endpoints();
    CWorkerRun run(endpoints);
    ASSERT_NO_FATAL_FAILURE(StartAndTakeQuery(run));
    EXPECT_EQ(ntohs(peer.lastSender.sin_port), endpoints.localPort);
    // Sockets layer, socket, bind, then the query's send.
    EXPECT_EQ(run.Recorder().Statuses(), (std::vector<std::string>{"OK", "OK", "OK", "OK"}));
    EXPECT_FALSE(peer.Receive(100ms).has_value()) << "one query, in its copies only";
    EXPECT_TRUE(run.StopAndJoin());
    EXPECT_EQ(run.result, 0);
}

// Each command wakes the worker once; after it the worker waits again instead of turning
// its loop over and over. Counted in turns, so a slow machine cannot make it pass or fail.
// Commands given before the worker wakes share one wake-up; each of them still goes out.
TEST_F(NetworkWorkerTest, CommandsThatWaitTogetherAllGoOut) {
    CWorkerRun run(Endpoints());
    DiscoveryDatagram set{};
    set.bytes[0] = 0x5A;
    run.control.SetCommand(SetRequest(set)); // behind the first turn's query
    run.control.SetCommand(CMD_QUERY);
    run.Start();
    EXPECT_TRUE(run.Recorder().WaitFor([&] { return run.Recorder().sent == 3; }));
    EXPECT_EQ(peer.Receive().value(), QueryBytes());
    EXPECT_EQ(peer.Receive().value().front(), 0x5A);
    EXPECT_EQ(peer.Receive().value(), QueryBytes());
}

TEST_F(NetworkWorkerTest, AfterEachCommandTheWorkerSleepsAgain) {
    CWorkerRun run(Endpoints());
    ASSERT_NO_FATAL_FAILURE(StartAndTakeQuery(run));
    DiscoveryDatagram set{};
    std::memset(set.bytes, 0x5A, sizeof set.bytes);
    for (int command : {CMD_QUERY, CMD_SET}) {
        command == CMD_SET ? run.control.SetCommand(SetRequest(set))
                           : run.control.SetCommand(CMD_QUERY);
        for (int copy = 0; copy < (command == CMD_QUERY ? SEARCH_QUERY_COPIES : 1); ++copy) {
            ASSERT_TRUE(peer.Receive().has_value()) << command;
        }
        const uint64_t turns = run.control.Turns();
        std::this_thread::sleep_for(200ms);
        // At most the turn that took the wake-up of the command's own send is still to come.
        EXPECT_LE(run.control.Turns() - turns, 1u) << "the worker spins after command " << command;
    }
    EXPECT_TRUE(run.StopAndJoin());
}

TEST_F(NetworkWorkerTest, ReplyIsParsedReportedAndAnsweredWithOk) {
    const WorkerEndpoints endpoints = Endpoints();
    CWorkerRun run(endpoints);
    ASSERT_NO_FATAL_FAILURE(StartAndTakeQuery(run));
    CRecorder& recorder = run.Recorder();

    peer.SendTo(endpoints.localPort, CameraReply(0x42, "lobby", 8080));
    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.replies.size() == 1; }));
    const DeviceRecord record = recorder.Read<DeviceRecord>([&] { return recorder.replies[0]; });
    EXPECT_EQ(FieldText(record.name), "lobby");
    EXPECT_EQ(MacToText(record.mac), "001a2b3c4d42");
    EXPECT_EQ(FieldText(record.ip), "192.168.1.66");
    EXPECT_EQ(FieldText(record.netmask), "255.255.255.0");
    EXPECT_EQ(record.httpPort, 8080);
    // A reply on loopback is never dropped for where it came in: its card is lo.
    const ReplyArrival arrival = recorder.Read<ReplyArrival>([&] { return recorder.arrivals[0]; });
    EXPECT_EQ(arrival.interfaceName, "lo");
    EXPECT_EQ(InterfaceAddressText(arrival), "127.0.0.1/8");
    EXPECT_FALSE(SameSubnet(record, arrival));
    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.statuses.size() == 5; }));
    EXPECT_EQ(recorder.Statuses().back(), "OK");
}

TEST_F(NetworkWorkerTest, SetDatagramIsSentByteForByteAndReportedAsSent) {
    CWorkerRun run(Endpoints());
    ASSERT_NO_FATAL_FAILURE(StartAndTakeQuery(run));
    DiscoveryDatagram set;
    for (std::size_t i = 0; i < sizeof set.bytes; ++i) {
        set.bytes[i] = static_cast<uint8_t>(i * 7 + 3); // no zero tail that could hide a cut
    }
    run.control.SetCommand(SetRequest(set));
    std::optional<Bytes> got = peer.Receive();
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, Bytes(set.bytes, set.bytes + sizeof set.bytes));
    CRecorder& recorder = run.Recorder();
    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.sent == 2; }));
    EXPECT_EQ(recorder.Statuses().back(), "OK");
    EXPECT_FALSE(peer.Receive(100ms).has_value()) << "a command is sent once";
}

// The front end may set a command while the worker is still busy with the last one, e.g.
// while the status of the send is on its way; the worker must see it on its next turn.
TEST_F(NetworkWorkerTest, CommandSetDuringOrAfterASendIsNotLost) {
    // Declared before the worker, so they outlive its thread.
    CRecorder recorder;
    DiscoveryDatagram set{};
    std::memcpy(set.bytes, "RZ880", 5);
    set.bytes[5] = 0x10;
    int seen = 0;
    CWorkerRun run(Endpoints(), &recorder);
    recorder.statusHook = [&](const std::string&) {
        if (++seen == 4) { // the status of the first query's send
            run.control.SetCommand(SetRequest(set));
        }
    };
    run.Start();
    std::optional<Bytes> first = peer.Receive();
    std::optional<Bytes> second = peer.Receive();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(*first, QueryBytes());
    EXPECT_EQ(*second, Bytes(set.bytes, set.bytes + sizeof set.bytes));

    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.sent == 2; }));
    run.control.SetCommand(CMD_QUERY);
    std::optional<Bytes> third = peer.Receive();
    ASSERT_TRUE(third.has_value());
    EXPECT_EQ(*third, QueryBytes());
    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.sent == 3; }));
}

TEST_F(NetworkWorkerTest, StopWakesTheIdleWorkerAndItEnds) {
    CWorkerRun run(Endpoints());
    ASSERT_NO_FATAL_FAILURE(StartAndTakeQuery(run));
    std::this_thread::sleep_for(50ms); // well inside its wait
    EXPECT_TRUE(run.StopAndJoin()) << "the worker needed a datagram to notice stop";
    EXPECT_EQ(run.result, 0);
}

TEST_F(NetworkWorkerTest, StopSetBeforeStartEndsTheWorkerWithoutSending) {
    CWorkerRun run(Endpoints());
    run.control.RequestStop();
    run.Start();
    EXPECT_TRUE(run.Join());
    EXPECT_EQ(run.result, 0);
    EXPECT_FALSE(peer.Receive(100ms).has_value());
}

TEST_F(NetworkWorkerTest, SecondWorkerOnTheSamePortFailsToBindAndStops) {
    const WorkerEndpoints endpoints = Endpoints();
    CWorkerRun first(endpoints);
    ASSERT_NO_FATAL_FAILURE(StartAndTakeQuery(first));

    CWorkerRun second(endpoints);
    second.Start();
    EXPECT_TRUE(second.Join());
    EXPECT_EQ(second.result, 1);
    EXPECT_TRUE(second.control.StopRequested());
    EXPECT_EQ(second.Recorder().Statuses(),
              (std::vector<std::string>{
                  "OK", "OK",
                  ErrorLine("ERR: bind() error! Errorcode =%d\n", SOCKET_ERR_ADDRESS_IN_USE)}));
    EXPECT_EQ(second.Recorder().startupFailures,
              std::vector<std::string>{"UDP port " + std::to_string(endpoints.localPort) +
                                       " is in use by another program, perhaps another finder"});
    EXPECT_EQ(second.Recorder().sent, 0);
    EXPECT_FALSE(peer.Receive(100ms).has_value());

    // The failed copy took nothing away: replies still reach the first worker.
    peer.SendTo(endpoints.localPort, CameraReply(1, "still here"));
    CRecorder& recorder = first.Recorder();
    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.replies.size() == 1; }));
}

TEST_F(NetworkWorkerTest, SendErrorIsReportedSentAndNotRepeated) {
    WorkerEndpoints endpoints = Endpoints();
    endpoints.destinationPort = 0; // the system refuses to send there
    CWorkerRun run(endpoints);
    run.Start();
    CRecorder& recorder = run.Recorder();
    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.sent == 1; }));
    EXPECT_EQ(recorder.Statuses().back(),
              ErrorLine("ERR: sendto error! Errorcode =%d\n", SEND_TO_PORT_ZERO_ERROR));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(recorder.Statuses().size(), 4u) << "a failed request is not repeated";

    run.control.SetCommand(CMD_QUERY);
    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.sent == 2; }));
}

TEST_F(NetworkWorkerTest, UnusableDestinationAddressIsReportedAtEachSend) {
    WorkerEndpoints endpoints = Endpoints();
    endpoints.destinationAddress = "255.255.255.256";
    CWorkerRun run(endpoints);
    run.Start();
    CRecorder& recorder = run.Recorder();
    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.sent == 1; }));
    EXPECT_EQ(recorder.Statuses().back(),
              ErrorLine("ERR: sendto error! Errorcode =%d\n", SOCKET_ERR_NO_DESTINATION));
}

TEST_F(NetworkWorkerTest, OverlongDatagramIsReportedAndDroppedNeverParsedCut) {
    const WorkerEndpoints endpoints = Endpoints();
    CWorkerRun run(endpoints);
    ASSERT_NO_FATAL_FAILURE(StartAndTakeQuery(run));
    CRecorder& recorder = run.Recorder();

    // A valid reply padded past the receive buffer: cut to 3000 bytes it would parse.
    Bytes overlong = CameraReply(7, "too long");
    overlong.resize(WORKER_RECEIVE_BUFFER + 1, 0);
    peer.SendTo(endpoints.localPort, overlong);
    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.statuses.size() == 5; }));
    EXPECT_EQ(recorder.Statuses().back(),
              ErrorLine("ERR: recv error! Errorcode =%d\n", SOCKET_ERR_MESSAGE_SIZE));

    Bytes largest = CameraReply(8, "just fits");
    largest.resize(WORKER_RECEIVE_BUFFER, 0);
    peer.SendTo(endpoints.localPort, largest);
    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.statuses.size() == 6; }));
    EXPECT_EQ(recorder.Statuses().back(), "OK");
    ASSERT_EQ(recorder.ReplyCount(), 1u);
    EXPECT_EQ(FirstReplyName(recorder), "just fits");
    EXPECT_EQ(recorder.Read<int>([&] { return recorder.overlong; }), 1);
    EXPECT_TRUE(recorder.Read<bool>([&] { return recorder.startupFailures.empty(); }));
}

TEST_F(NetworkWorkerTest, DatagramWithoutMagicGivesOkAndNoReply) {
    const WorkerEndpoints endpoints = Endpoints();
    CWorkerRun run(endpoints);
    ASSERT_NO_FATAL_FAILURE(StartAndTakeQuery(run));
    CRecorder& recorder = run.Recorder();

    Bytes stranger = CameraReply(9, "stranger");
    stranger[4] = '1'; // "RZ881"
    peer.SendTo(endpoints.localPort, stranger);
    peer.SendTo(endpoints.localPort, {});
    peer.SendTo(endpoints.localPort, CameraReply(10, "camera"));
    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.statuses.size() == 7; }));
    EXPECT_EQ(recorder.Statuses(), (std::vector<std::string>(7, "OK")));
    ASSERT_EQ(recorder.ReplyCount(), 1u);
    EXPECT_EQ(FirstReplyName(recorder), "camera");
}

TEST_F(NetworkWorkerTest, BurstOf255CamerasAnsweringAtOnceLosesNothing) {
    const WorkerEndpoints endpoints = Endpoints();
    CWorkerRun run(endpoints);
    ASSERT_NO_FATAL_FAILURE(StartAndTakeQuery(run));
    CRecorder& recorder = run.Recorder();

    std::vector<Bytes> replies;
    for (int camera = 0; camera < DEVICE_TABLE_SLOTS; ++camera) {
        Bytes reply = CameraReply(static_cast<uint8_t>(camera), "burst");
        reply.resize(DISCOVERY_DATAGRAM_SIZE, 0); // the size a camera's answer has
        replies.push_back(std::move(reply));
    }
    for (const Bytes& reply : replies) {
        peer.SendTo(endpoints.localPort, reply);
    }
    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.replies.size() == 255; }))
        << recorder.ReplyCount() << " of 255 arrived";
    EXPECT_EQ(recorder.Read<int>([&] { return CountOccupied(*recorder.table); }), 255);
}

// A camera behind a router stands at another loopback address, on the cameras' port: the
// query reaches it by unicast beside the broadcast, and its set request goes to it alone.
TEST_F(NetworkWorkerTest, ASearchRepeatsItsQueryAsksEachTargetAndSetsReachWhereTheyAnswered) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows binds 127.0.0.1 only by default";
#else
    constexpr uint32_t TARGET = 0x7F000002; // 127.0.0.2
    const WorkerEndpoints endpoints = Endpoints();
    CPeer routed(TARGET, peer.Port());
    CWorkerRun run(endpoints);
    run.control.SetSearchTargets({TARGET});
    const auto start = std::chrono::steady_clock::now();
    ASSERT_NO_FATAL_FAILURE(StartAndTakeQuery(run));
    EXPECT_GE(std::chrono::steady_clock::now() - start,
              (SEARCH_QUERY_COPIES - 1) * std::chrono::milliseconds(SEARCH_COPY_INTERVAL_MS))
        << "the copies are spread, not sent at once";
    for (int copy = 0; copy < SEARCH_QUERY_COPIES; ++copy) {
        EXPECT_EQ(routed.Receive().value_or(Bytes{}), QueryBytes()) << copy;
    }
    CRecorder& recorder = run.Recorder();
    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.searches.size() == 1; }));
    EXPECT_EQ(recorder.searches[0].copies, SEARCH_QUERY_COPIES);
    EXPECT_EQ(recorder.searches[0].targets, std::size_t{SEARCH_QUERY_COPIES});
    EXPECT_EQ(recorder.sent, 1) << "only the first copy empties the front end's list";

    routed.SendTo(endpoints.localPort, CameraReply(2, "routed"));
    peer.SendTo(endpoints.localPort, CameraReply(1, "on the segment"));
    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.replies.size() == 2; }));
    const auto arrivals =
        recorder.Read<std::vector<ReplyArrival>>([&] { return recorder.arrivals; });
    EXPECT_TRUE(arrivals[0].unicast);
    EXPECT_EQ(arrivals[0].sender, TARGET);
    EXPECT_FALSE(arrivals[1].unicast);
    EXPECT_EQ(arrivals[1].sender, uint32_t{INADDR_LOOPBACK});

    WorkerCommand set = SetRequest(DiscoveryDatagram{});
    set.datagram.bytes[0] = 0x5A;
    set.address = TARGET;
    run.control.SetCommand(set);
    EXPECT_EQ(routed.Receive().value_or(Bytes{}).at(0), 0x5A);
    EXPECT_FALSE(peer.Receive(100ms).has_value()) << "not as a broadcast";
#endif
}

TEST_F(NetworkWorkerTest, ReplyFromAnotherPortDoesNotRedirectTheNextRequest) {
    const WorkerEndpoints endpoints = Endpoints();
    CWorkerRun run(endpoints);
    ASSERT_NO_FATAL_FAILURE(StartAndTakeQuery(run));
    CRecorder& recorder = run.Recorder();

    CPeer elsewhere;
    elsewhere.SendTo(endpoints.localPort, CameraReply(11, "odd port"));
    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.replies.size() == 1; }));

    run.control.SetCommand(CMD_QUERY);
    std::optional<Bytes> query = peer.Receive();
    ASSERT_TRUE(query.has_value());
    EXPECT_EQ(*query, QueryBytes());
    EXPECT_FALSE(elsewhere.Receive(200ms).has_value());
}

#ifndef _WIN32
// Exit codes of the child that runs the real defaults.
constexpr int CHILD_PASSED = 0;
constexpr int CHILD_NO_QUERY = 1;
constexpr int CHILD_WRONG_QUERY = 2;
constexpr int CHILD_NO_REPLY = 3;
constexpr int CHILD_SETUP_FAILED = 4;
constexpr int CHILD_NO_NAMESPACE = 77;

bool BringLoopbackUp() {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool up = fd >= 0 && ioctl(fd, SIOCGIFFLAGS, &request) == 0;
    request.ifr_flags |= IFF_UP;
    up = up && ioctl(fd, SIOCSIFFLAGS, &request) == 0;
    if (fd >= 0) {
        close(fd);
    }
    return up;
}

// A fresh namespace holds nothing but lo: then a broadcast cannot reach a real network.
bool OnlyLoopbackExists() {
    struct if_nameindex* names = if_nameindex();
    if (names == nullptr) {
        return false;
    }
    bool onlyLo = true;
    for (struct if_nameindex* name = names; name->if_index != 0; ++name) {
        onlyLo = onlyLo && std::strcmp(name->if_name, "lo") == 0;
    }
    if_freenameindex(names);
    return onlyLo;
}

// Runs in the child process: a camera socket on port 4000 and a worker with the defaults.
int RunDefaultsInPrivateNamespace() {
    if (unshare(CLONE_NEWNET) != 0) {
        std::fprintf(stderr, "unshare(CLONE_NEWNET): %s\n", std::strerror(errno));
        return CHILD_NO_NAMESPACE;
    }
    if (!OnlyLoopbackExists()) {
        return CHILD_SETUP_FAILED;
    }
    if (!BringLoopbackUp() || std::system("ip route add default dev lo") != 0) {
        std::fprintf(stderr, "cannot bring lo up or route over it\n");
        return CHILD_NO_NAMESPACE;
    }
    CUdpSocket camera;
    if (camera.Open() != 0 || camera.Bind(WORKER_DEVICE_PORT) != 0) {
        return CHILD_SETUP_FAILED;
    }
    CRecorder recorder;
    WorkerControl control;
    // The defaults send out of every card; the only one here is lo, which is searched when
    // named.
    WorkerEndpoints endpoints;
    endpoints.interfaces = {"lo"};
    std::thread worker([&] { NetworkWorker(control, recorder, endpoints); });

    int outcome = CHILD_PASSED;
    uint8_t bytes[WORKER_RECEIVE_BUFFER];
    std::size_t length = 0;
    sockaddr_in sender{};
    if (!camera.WaitReadable(5000) ||
        camera.ReceiveFrom(bytes, sizeof bytes, length, sender) != 0) {
        outcome = CHILD_NO_QUERY;
    } else if (Bytes(bytes, bytes + length) != QueryBytes() ||
               ntohs(sender.sin_port) != WORKER_LOCAL_PORT) {
        outcome = CHILD_WRONG_QUERY;
    } else {
        const Bytes reply = CameraReply(0x55, "in namespace");
        camera.SendTo(reply.data(), reply.size(), sender);
        if (!recorder.WaitFor([&] { return recorder.replies.size() == 1; })) {
            outcome = CHILD_NO_REPLY;
        }
    }
    control.RequestStop();
    worker.join();
    return outcome;
}

#endif

TEST(NetworkWorkerNamespaceTest, RealDefaultsReachPort4000InsideAPrivateNamespace) {
#ifdef _WIN32
    GTEST_SKIP() << "a Windows program cannot make a network namespace; the Windows run does "
                    "this with finder-cli.exe and camsim.exe inside the namespace it runs in";
#else
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0) << std::strerror(errno);
    if (child == 0) {
        const int outcome = RunDefaultsInPrivateNamespace();
        std::fflush(nullptr);
        _exit(outcome);
    }
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            FAIL() << "the child with the default endpoints hung";
        }
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_TRUE(WIFEXITED(status)) << "the child ended abnormally";
    if (WEXITSTATUS(status) == CHILD_NO_NAMESPACE) {
        GTEST_SKIP() << "no private network namespace with a routed lo can be made here";
    }
    EXPECT_EQ(WEXITSTATUS(status), CHILD_PASSED)
        << "1: no query at port 4000, 2: not the query or not from port 3566, "
           "3: the reply was not reported, 4: namespace set-up failed";
#endif
}

} // namespace
