#include "tests/support/test_loopback.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <sstream>

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

// A UDP socket bound to the port on every local address (0: any free port), or -1.
static int BoundUdpSocket(uint16_t port, uint16_t& boundPort) {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    socklen_t length = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (fd >= 0) {
            close(fd);
        }
        return -1;
    }
    boundPort = ntohs(address.sin_port);
    return fd;
}

uint16_t FreeUdpPort() {
    uint16_t port = 0;
    const int fd = BoundUdpSocket(0, port);
    EXPECT_GE(fd, 0) << "no free UDP port";
    if (fd >= 0) {
        close(fd);
    }
    return port;
}

bool CanBindUdpPort(uint16_t port) {
    uint16_t bound = 0;
    const int fd = BoundUdpSocket(port, bound);
    if (fd >= 0) {
        close(fd);
    }
    return fd >= 0;
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

std::vector<std::string> CameraPeer::Received() const {
    std::vector<std::string> lines;
    std::istringstream log(ReadFile(m_logPath));
    for (std::string line; std::getline(log, line);) {
        lines.push_back(line);
    }
    return lines;
}
