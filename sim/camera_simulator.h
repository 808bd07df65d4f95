#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "core/net/udp_socket.h"
#include "core/net/wake_signal.h"
#include "sim/sim_device.h"

struct SimSettings {
    std::string bindAddress = "0.0.0.0";
    uint16_t port = 4000;         // 0: any free port (see LocalPort)
    int jitterMs = 0;             // each reply waits a random 0 to jitterMs milliseconds
    std::string logPath;          // every received datagram in hex, one per line; empty: no log
    bool dropSetRequests = false; // a camera that loses every set request: nothing changes
    std::vector<std::string> losingSets; // the MACs (12 lower-case digits) that lose theirs
    // Answer to 255.255.255.255 (the query's source port) out of the card the query came
    // in on, as a camera must whose address lies in another subnet: it has no route back.
    bool replyBroadcast = false;
    // Each device ignores the first query it gets, as a busy camera that loses a datagram.
    bool dropFirstQuery = false;
};

// Stands in for a set of cameras on one UDP socket: answers every query with one reply per
// device, sent to the query's source, and applies set requests. Run() serves until Stop().
class CameraSimulator {
public:
    CameraSimulator(std::vector<SimDevice> devices, SimSettings settings);
    ~CameraSimulator();
    CameraSimulator(const CameraSimulator&) = delete;
    CameraSimulator& operator=(const CameraSimulator&) = delete;

    // Binds the socket and opens the log; false with error set when either fails.
    bool Open(std::string& error);
    uint16_t LocalPort() const { return m_localPort; }

    // Serves until Stop(); returns 0.
    int Run();

    // Safe from any thread and from a signal handler.
    void Stop();

    std::vector<SimDevice> Devices() const;

private:
    struct PendingReply;
    void HandleDatagram(const uint8_t* bytes, std::size_t length, const sockaddr_in& source,
                        unsigned arrival, std::vector<PendingReply>& pending);
    void SendReply(const PendingReply& reply);
    void LogDatagram(const uint8_t* bytes, std::size_t length);

    SimSettings m_settings;
    mutable std::mutex m_mutex; // guards m_devices
    std::vector<SimDevice> m_devices;
    std::vector<char> m_queried; // by device: it has had a query (dropFirstQuery)
    CUdpSocket m_socket;
    CWakeSignal m_wake;
    uint16_t m_localPort = 0;
    std::FILE* m_log = nullptr;
    std::atomic<bool> m_stop{false};
};
