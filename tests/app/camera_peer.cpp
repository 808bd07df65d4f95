#include "tests/app/camera_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>

CameraPeer::CameraPeer(std::vector<SimDevice> devices) {
    SimSettings settings;
    settings.bindAddress = "127.0.0.1";
    settings.port = 0;
    settings.logPath = m_folder.filePath(QStringLiteral("camsim.log")).toStdString();
    m_simulator = std::make_unique<CameraSimulator>(std::move(devices), settings);
    m_started = m_folder.isValid() && m_simulator->Open(m_error);
    if (m_started) {
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
    std::ifstream log(m_folder.filePath(QStringLiteral("camsim.log")).toStdString());
    for (std::string line; std::getline(log, line);) {
        lines.push_back(line);
    }
    return lines;
}

static int BoundUdpSocket(uint16_t port, uint16_t* boundPort) {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(port);
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (fd >= 0) {
            close(fd);
        }
        return -1;
    }
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    if (boundPort != nullptr) {
        *boundPort = ntohs(address.sin_port);
    }
    return fd;
}

uint16_t FreeUdpPort() {
    uint16_t port = 0;
    const int fd = BoundUdpSocket(0, &port);
    if (fd >= 0) {
        close(fd);
    }
    return port;
}

bool CanBindUdpPort(uint16_t port) {
    const int fd = BoundUdpSocket(port, nullptr);
    if (fd < 0) {
        return false;
    }
    close(fd);
    return true;
}

std::vector<SimDevice> DemoCameras() {
    std::vector<SimDevice> devices;
    std::string error;
    LoadDeviceFile(DEMO_CAMERAS_FILE, devices, error);
    return devices;
}

std::string Hex(const uint8_t* bytes, std::size_t length) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}
