#include "tests/support/test_loopback.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "core/net/udp_socket.h"
#include "core/wire/discovery_datagram.h"
#include "sim/sim_codec.h"

SimDevice CameraFromLine(const std::string& line) {
    SimDevice device;
    std::string error;
    EXPECT_TRUE(ParseDeviceLine(line, device, error)) << error;
    return device;
}

bool WaitFor(const std::function<bool()>& done, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// A UDP socket bound to the port on every local address (0: any free port); closed when the
// binding failed.
static CUdpSocket BoundUdpSocket(uint16_t port) {
    CUdpSocket socket;
    if (socket.Open() != 0 || socket.Bind(port) != 0) {
        socket.Close();
    }
    return socket;
}

uint16_t FreeUdpPort() {
    const CUdpSocket probe = BoundUdpSocket(0);
    EXPECT_TRUE(probe.IsOpen()) << "no free UDP port";
    return probe.IsOpen() ? probe.LocalPort() : 0;
}

bool CanBindUdpPort(uint16_t port) {
    return BoundUdpSocket(port).IsOpen();
}

CameraPeer::CameraPeer(std::vector<SimDevice> devices, SimSettings settings) {
    settings.bindAddress = "127.0.0.1";
    settings.port = 0;
    if (settings.logPath.empty()) {
        settings.logPath = m_folder.File("camsim.log");
    }
    m_logPath = settings.logPath;
    m_simulator = std::make_unique<CameraSimulator>(std::move(devices), std::move(settings));
    const bool open = m_simulator->Open(m_error);
    EXPECT_TRUE(open) << m_error;
    if (open) {
        m_thread = std::thread([this] { m_simulator->Run(); });
    }
    m_finderPort = FreeUdpPort();
}

CameraPeer::~CameraPeer() {
    m_simulator->Stop();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

WorkerEndpoints CameraPeer::Endpoints() const {
    WorkerEndpoints endpoints;
    endpoints.localPort = m_finderPort;
    endpoints.destinationAddress = "127.0.0.1";
    endpoints.destinationPort = m_simulator->LocalPort();
    return endpoints;
}

std::vector<std::string> CameraPeer::Requests() const {
    DiscoveryDatagram query;
    BuildQueryRequest(query);
    const std::string queryLine = sim::HexLine(query.bytes, sizeof query.bytes);
    std::vector<std::string> requests;
    for (std::string& line : Received()) {
        if (line != queryLine || requests.empty() || requests.back() != queryLine) {
            requests.push_back(std::move(line));
        }
    }
    return requests;
}

std::vector<std::string> CameraPeer::Received() const {
    std::vector<std::string> lines;
    std::istringstream log(ReadFile(m_logPath));
    for (std::string line; std::getline(log, line);) {
        lines.push_back(line);
    }
    return lines;
}
