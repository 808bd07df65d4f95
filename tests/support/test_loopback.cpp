#include "tests/support/test_loopback.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

SimDevice CameraFromLine(const std::string& line) {
    SimDevice device;
    std::string error;
    EXPECT_TRUE(ParseDeviceLine(line, device, error)) << error;
    return device;
}

uint16_t FreeUdpPort() {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    socklen_t length = sizeof address;
    const bool bound = fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                       getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    EXPECT_TRUE(bound) << "no free UDP port";
    if (fd >= 0) {
        close(fd);
    }
    return ntohs(address.sin_port);
}

RunningCameras::RunningCameras(std::vector<SimDevice> devices, SimSettings settings) {
    settings.bindAddress = "127.0.0.1";
    settings.port = 0;
    m_simulator = std::make_unique<CameraSimulator>(std::move(devices), std::move(settings));
    std::string error;
    const bool open = m_simulator->Open(error);
    EXPECT_TRUE(open) << error;
    if (open) {
        m_thread = std::thread([this] { m_simulator->Run(); });
    }
}

RunningCameras::~RunningCameras() {
    m_simulator->Stop();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}
