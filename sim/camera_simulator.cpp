#include "sim/camera_simulator.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>

#include "sim/sim_codec.h"

using Clock = std::chrono::steady_clock;

struct CameraSimulator::PendingReply {
    Clock::time_point due;
    sockaddr_in destination;
    std::vector<uint8_t> bytes;
};

CameraSimulator::CameraSimulator(std::vector<SimDevice> devices, SimSettings settings)
    : m_settings(std::move(settings)), m_devices(std::move(devices)) {}

CameraSimulator::~CameraSimulator() {
    for (int fd : {m_socket, m_wakePipe[0], m_wakePipe[1]}) {
        if (fd >= 0) {
            close(fd);
        }
    }
    if (m_log != nullptr) {
        std::fclose(m_log);
    }
}

static std::string ErrnoText(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

bool CameraSimulator::Open(std::string& error) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(m_settings.port);
    if (inet_pton(AF_INET, m_settings.bindAddress.c_str(), &address.sin_addr) != 1) {
        error = "bind address \"" + m_settings.bindAddress + "\" is not an IPv4 address";
        return false;
    }
    if (pipe2(m_wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = ErrnoText("pipe");
        return false;
    }
    m_socket = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (m_socket < 0) {
        error = ErrnoText("socket");
        return false;
    }
    if (bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        error = ErrnoText(
            ("bind " + m_settings.bindAddress + ":" + std::to_string(m_settings.port)).c_str());
        return false;
    }
    socklen_t length = sizeof address;
    getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
    m_localPort = ntohs(address.sin_port);
    if (!m_settings.logPath.empty()) {
        m_log = std::fopen(m_settings.logPath.c_str(), "w");
        if (m_log == nullptr) {
            error = ErrnoText(("log " + m_settings.logPath).c_str());
            return false;
        }
    }
    return true;
}

void CameraSimulator::Stop() {
    m_stop.store(true);
    if (m_wakePipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] ssize_t written = write(m_wakePipe[1], &byte, 1);
    }
}

std::vector<SimDevice> CameraSimulator::Devices() const {
    std::lock_guard lock(m_mutex);
    return m_devices;
}

void CameraSimulator::LogDatagram(const uint8_t* bytes, std::size_t length) {
    if (m_log == nullptr) {
        return;
    }
    const std::string line = sim::HexLine(bytes, length);
    std::fprintf(m_log, "%s\n", line.c_str());
    std::fflush(m_log); // tests and people read the log while the simulator runs
}

void CameraSimulator::HandleDatagram(const uint8_t* bytes, std::size_t length, const void* source,
                                     unsigned sourceLength, std::vector<PendingReply>& pending) {
    LogDatagram(bytes, length);
    std::lock_guard lock(m_mutex);
    if (!sim::IsQuery(bytes, length)) {
        if (!m_settings.dropSetRequests) {
            sim::ApplySetRequest(bytes, length, m_devices); // a camera does not answer a set
        }
        return;
    }
    if (sourceLength < sizeof(sockaddr_in)) {
        return;
    }
    static thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<int> jitter(0, std::max(0, m_settings.jitterMs));
    const Clock::time_point now = Clock::now();
    for (const SimDevice& device : m_devices) {
        PendingReply reply;
        reply.due = now + std::chrono::milliseconds(m_settings.jitterMs > 0 ? jitter(random) : 0);
        std::memcpy(&reply.destination, source, sizeof reply.destination);
        reply.bytes = sim::EncodeReply(device);
        pending.push_back(std::move(reply));
    }
    // Equal due times keep the device order, so replies without jitter go out in order.
    std::stable_sort(pending.begin(), pending.end(),
                     [](const PendingReply& a, const PendingReply& b) { return a.due < b.due; });
}

int CameraSimulator::Run() {
    std::vector<PendingReply> pending;
    uint8_t buffer[65536];
    while (!m_stop.load()) {
        const Clock::time_point now = Clock::now();
        std::size_t sent = 0;
        while (sent < pending.size() && pending[sent].due <= now) {
            const PendingReply& reply = pending[sent++];
            sendto(m_socket, reply.bytes.data(), reply.bytes.size(), 0,
                   reinterpret_cast<const sockaddr*>(&reply.destination), sizeof reply.destination);
        }
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(sent));

        int timeoutMs = -1;
        if (!pending.empty()) {
            const auto wait =
                std::chrono::ceil<std::chrono::milliseconds>(pending.front().due - Clock::now());
            timeoutMs = static_cast<int>(std::max<std::int64_t>(0, wait.count()));
        }
        pollfd fds[2] = {{m_socket, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
        if (poll(fds, 2, timeoutMs) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return 1;
        }
        if (fds[0].revents & POLLIN) {
            sockaddr_in source{};
            socklen_t sourceLength = sizeof source;
            const ssize_t length = recvfrom(m_socket, buffer, sizeof buffer, 0,
                                            reinterpret_cast<sockaddr*>(&source), &sourceLength);
            if (length >= 0) {
                HandleDatagram(buffer, static_cast<std::size_t>(length), &source, sourceLength,
                               pending);
            }
        }
    }
    return 0;
}
