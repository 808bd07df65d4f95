// The platform seams of the core, on real loopback sockets: the socket's error codes as the
// status texts show them, the sockets layer's start and release, and the worker's wake-up.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "core/net/udp_socket.h"
#include "core/net/wake_signal.h"
#include "core/status/status_text.h"
#include "core/worker/network_worker.h"
#include "tests/support/test_loopback.h"

namespace {

using namespace std::chrono_literals;

// The status line of a copy of the finder that finds its port taken: the code is the
// platform's own, as a user of that platform would look it up.
#ifdef _WIN32
constexpr char BUSY_PORT_STATUS[] = "ERR: bind() error! Errorcode =10048\n";
#else
constexpr char BUSY_PORT_STATUS[] = "ERR: bind() error! Errorcode =98\n";
#endif

// Records the worker's status lines; replies and sends are not looked at here.
class CStatusLines : public WorkerReport {
public:
    void OnStatus(const WorkerOutcome& outcome) override { lines.push_back(StatusText(outcome)); }
    void OnReply(const DeviceRecord&, const ReplyArrival&) override {}
    void OnSent(int, const WorkerOutcome&) override {}
    std::vector<std::string> lines;
};

CUdpSocket BoundOnLoopback() {
    CUdpSocket socket;
    EXPECT_EQ(socket.Open(), 0);
    EXPECT_EQ(socket.Bind(0, htonl(INADDR_LOOPBACK)), 0);
    return socket;
}

sockaddr_in LoopbackAddress(uint16_t port) {
    sockaddr_in address{};
    EXPECT_TRUE(MakeSocketAddress("127.0.0.1", port, address));
    return address;
}

TEST(SocketSeam, ABusyPortGivesThePlatformsAddressInUseCode) {
    CUdpSocket holder = BoundOnLoopback();
    CUdpSocket second;
    ASSERT_EQ(second.Open(), 0);
    EXPECT_EQ(second.Bind(holder.LocalPort(), htonl(INADDR_LOOPBACK)), SOCKET_ERR_ADDRESS_IN_USE);

    // The worker that finds its port taken says so in the platform's words and ends.
    CUdpSocket taken;
    ASSERT_EQ(taken.Open(), 0);
    ASSERT_EQ(taken.Bind(0), 0);
    WorkerEndpoints endpoints;
    endpoints.localPort = taken.LocalPort();
    endpoints.destinationAddress = "127.0.0.1";
    WorkerControl control;
    CStatusLines report;
    EXPECT_EQ(NetworkWorker(control, report, endpoints), 1);
    EXPECT_EQ(report.lines, (std::vector<std::string>{"OK", "OK", BUSY_PORT_STATUS}));
    EXPECT_TRUE(control.StopRequested());
}

TEST(SocketSeam, ErrorTextsReadAsOneLineWithoutTrailingPunctuation) {
    for (const int code : {SOCKET_ERR_ADDRESS_IN_USE, SOCKET_ERR_MESSAGE_SIZE, 12345}) {
        const std::string text = SocketErrorText(code);
        ASSERT_FALSE(text.empty()) << code;
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
        EXPECT_EQ(std::string(".: ").find(text.back()), std::string::npos) << text;
    }
}

TEST(SocketSeam, ASendToAPortNobodyListensOnLeavesTheNextReceiveQuiet) {
    CUdpSocket socket = BoundOnLoopback();
    const uint8_t byte = 1;
    ASSERT_EQ(socket.SendTo(&byte, 1, LoopbackAddress(FreeUdpPort())), 0);
    std::this_thread::sleep_for(100ms); // time for the system's "unreachable" notice
    uint8_t buffer[16];
    std::size_t length = 0;
    sockaddr_in sender{};
    EXPECT_EQ(socket.ReceiveFrom(buffer, sizeof buffer, length, sender), SOCKET_ERR_WOULD_BLOCK);

    CUdpSocket peer = BoundOnLoopback();
    ASSERT_EQ(peer.SendTo("hi", 2, LoopbackAddress(socket.LocalPort())), 0);
    ASSERT_TRUE(socket.WaitReadable(5000));
    EXPECT_EQ(socket.ReceiveFrom(buffer, sizeof buffer, length, sender), 0);
    EXPECT_EQ(length, 2u);
}

TEST(WakeSignal, AWaitReportsWhatIsPendingAndNothingElse) {
    struct Case {
        const char* name;
        bool signal;
        bool datagram;
    };
    const Case cases[] = {
        {"neither: the time runs out", false, false},
        {"the signal", true, false},
        {"a datagram", false, true},
        {"both", true, true},
    };
    for (const Case& c : cases) {
        CWakeSignal wake;
        ASSERT_TRUE(wake.IsValid());
        CUdpSocket socket = BoundOnLoopback();
        CUdpSocket peer = BoundOnLoopback();
        if (c.datagram) {
            ASSERT_EQ(peer.SendTo("x", 1, LoopbackAddress(socket.LocalPort())), 0);
            ASSERT_TRUE(socket.WaitReadable(5000)) << c.name;
        }
        if (c.signal) {
            wake.Signal();
        }
        const auto start = std::chrono::steady_clock::now();
        const WakeResult result = wake.Wait(socket, 100);
        EXPECT_EQ(result.readable, c.datagram) << c.name;
        EXPECT_EQ(result.signalled, c.signal) << c.name;
        if (c.signal || c.datagram) {
            EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms) << c.name;
        }
        EXPECT_EQ(wake.IsSignalled(), c.signal) << "a wait does not lower the signal";
        wake.Clear();
        EXPECT_FALSE(wake.IsSignalled());
    }
}

TEST(WakeSignal, ADatagramStillWaitingIsReportedByTheNextWaitAgain) {
    CWakeSignal wake;
    CUdpSocket socket = BoundOnLoopback();
    CUdpSocket peer = BoundOnLoopback();
    for (const char* text : {"one", "two"}) {
        ASSERT_EQ(peer.SendTo(text, 3, LoopbackAddress(socket.LocalPort())), 0);
    }
    uint8_t buffer[16];
    std::size_t length = 0;
    sockaddr_in sender{};
    for (int taken = 0; taken < 2; ++taken) {
        ASSERT_TRUE(wake.Wait(socket, 5000).readable) << "datagram " << taken + 1;
        ASSERT_EQ(socket.ReceiveFrom(buffer, sizeof buffer, length, sender), 0);
    }
    EXPECT_FALSE(wake.Wait(socket, 50).readable) << "both were taken";
}

TEST(WakeSignal, ASignalFromAnotherThreadEndsAWaitWithoutLimit) {
    CWakeSignal wake;
    CUdpSocket socket = BoundOnLoopback();
    std::thread raiser([&wake] {
        std::this_thread::sleep_for(50ms);
        wake.Signal();
    });
    const WakeResult result = wake.Wait(socket, -1);
    raiser.join();
    EXPECT_TRUE(result.signalled);
    EXPECT_FALSE(result.readable);
}

#ifdef _WIN32
// Whether this process holds Winsock started: without WSAStartup, socket() fails with
// WSANOTINITIALISED. Nothing else in the test program starts it.
bool SocketsLayerRunning() {
    const SOCKET probe = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (probe == INVALID_SOCKET) {
        return WSAGetLastError() != WSANOTINITIALISED;
    }
    closesocket(probe);
    return true;
}
#endif

TEST(SocketsLayer, EverySuccessfulStartIsBalancedOnEveryPath) {
#ifndef _WIN32
    GTEST_SKIP() << "POSIX sockets have no start-up to balance";
#else
    ASSERT_FALSE(SocketsLayerRunning()) << "started before the test";
    const std::vector<std::pair<const char*, std::function<void()>>> paths = {
        {"a socket opened and closed", [] { BoundOnLoopback(); }},
        {"a socket opened twice",
         [] {
             CUdpSocket socket;
             EXPECT_EQ(socket.Open(), 0);
             EXPECT_EQ(socket.Open(), 0);
             EXPECT_TRUE(SocketsLayerRunning());
         }},
        {"a socket whose bind failed",
         [] {
             CUdpSocket holder = BoundOnLoopback();
             CUdpSocket second;
             EXPECT_EQ(second.Open(), 0);
             EXPECT_EQ(second.Bind(holder.LocalPort(), htonl(INADDR_LOOPBACK)),
                       SOCKET_ERR_ADDRESS_IN_USE);
         }},
        {"a socket moved to another",
         [] {
             CUdpSocket first = BoundOnLoopback();
             CUdpSocket second(std::move(first));
             first = BoundOnLoopback(); // the moved-from object is usable again
             second = std::move(first);
             EXPECT_TRUE(SocketsLayerRunning());
         }},
        {"a layer started twice",
         [] {
             CSocketsLayer layer;
             EXPECT_EQ(layer.Start(), 0);
             EXPECT_EQ(layer.Start(), 0);
             EXPECT_TRUE(SocketsLayerRunning());
         }},
        {"a worker that could not bind",
         [] {
             CUdpSocket holder = BoundOnLoopback();
             CUdpSocket taken;
             EXPECT_EQ(taken.Open(), 0);
             EXPECT_EQ(taken.Bind(0), 0);
             WorkerEndpoints endpoints;
             endpoints.localPort = taken.LocalPort();
             endpoints.destinationAddress = "127.0.0.1";
             WorkerControl control;
             CStatusLines report;
             EXPECT_EQ(NetworkWorker(control, report, endpoints), 1);
         }},
        {"a worker that ran and was stopped",
         [] {
             WorkerEndpoints endpoints;
             endpoints.localPort = FreeUdpPort();
             endpoints.destinationAddress = "127.0.0.1";
             endpoints.destinationPort = FreeUdpPort();
             WorkerControl control;
             CStatusLines report;
             std::thread worker([&] { NetworkWorker(control, report, endpoints); });
             std::this_thread::sleep_for(50ms);
             control.RequestStop();
             worker.join();
             EXPECT_GE(report.lines.size(), 3u) << "start, socket, bind";
         }},
    };
    for (const auto& [name, path] : paths) {
        path();
        EXPECT_FALSE(SocketsLayerRunning()) << name << ": WSAStartup left unbalanced";
    }
#endif
}

} // namespace
