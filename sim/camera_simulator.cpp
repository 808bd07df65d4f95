#include "sim/camera_simulator.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>
#include <utility>

#include "sim/sim_codec.h"

using Clock = std::chrono::steady_clock;

struct CameraSimulator::PendingReply {
    Clock::time_point due;
    sockaddr_in destination;
    unsigned viaInterface; // 0: as the routing table has it
    std::vector<uint8_t> bytes;
};

CameraSimulator::CameraSimulator(std::vector<SimDevice> devices, SimSettings settings)
    : m_settings(std::move(settings)), m_devices(std::move(devices)),
      m_queried(m_devices.size(), 0) {}

CameraSimulator::~CameraSimulator() {
    if (m_log != nullptr) {
        std::fclose(m_log);
    }
}

static std::string FailureText(const std::string& what, int code) {
    return what + ": " + SocketErrorText(code);
}

bool CameraSimulator::Open(std::string& error) {
    sockaddr_in address{};
    if (!MakeSocketAddress(m_settings.bindAddress.c_str(), m_settings.port, address)) {
        error = "bind address \"" + m_settings.bindAddress + "\" is not an IPv4 address";
        return false;
    }
    if (!m_wake.IsValid()) {
        error = "the system refused the simulator's wake-up";
        return false;
    }
    if (const int code = m_socket.Open(); code != 0) {
        error = FailureText("socket", code);
        return false;
    }
    if (const int code = m_socket.Bind(m_settings.port, address.sin_addr.s_addr); code != 0) {
        error = FailureText(
            "bind " + m_settings.bindAddress + ":" + std::to_string(m_settings.port), code);
        return false;
    }
    // The card a query came in on, so that a broadcast answer leaves through that card.
    m_socket.ReportArrivalInterface();
    if (m_settings.replyBroadcast) {
        m_socket.SetBroadcast(true);
    }
    m_localPort = m_socket.LocalPort();
    if (!m_settings.logPath.empty()) {
        m_log = std::fopen(m_settings.logPath.c_str(), "wb"); // "\n" as it is, on Windows too
        if (m_log == nullptr) {
            error = "log " + m_settings.logPath + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

void CameraSimulator::Stop() {
    m_stop.store(true);
    m_wake.Signal();
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

void CameraSimulator::HandleDatagram(const uint8_t* bytes, std::size_t length,
                                     const sockaddr_in& source, unsigned arrival,
                                     std::vector<PendingReply>& pending) {
    LogDatagram(bytes, length);
    std::lock_guard lock(m_mutex);
    if (!sim::IsQuery(bytes, length)) {
        const std::optional<std::string> target = sim::SetRequestTarget(bytes, length);
        const bool lost =
            m_settings.dropSetRequests ||
            (target && std::find(m_settings.losingSets.begin(), m_settings.losingSets.end(),
                                 *target) != m_settings.losingSets.end());
        if (!lost) {
            sim::ApplySetRequest(bytes, length, m_devices); // a camera does not answer a set
        }
        return;
    }
    static thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<int> jitter(0, std::max(0, m_settings.jitterMs));
    const Clock::time_point now = Clock::now();
    for (std::size_t i = 0; i < m_devices.size(); ++i) {
        const SimDevice& device = m_devices[i];
        if (m_settings.dropFirstQuery && !std::exchange(m_queried[i], char{1})) {
            continue;
        }
        PendingReply reply;
        reply.due = now + std::chrono::milliseconds(m_settings.jitterMs > 0 ? jitter(random) : 0);
        reply.destination = source;
        reply.viaInterface = 0;
        if (m_settings.replyBroadcast) {
            reply.destination.sin_addr.s_addr = htonl(INADDR_BROADCAST);
            reply.viaInterface = arrival;
        }
        reply.bytes = sim::EncodeReply(device);
        pending.push_back(std::move(reply));
    }
    // Equal due times keep the device order, so replies without jitter go out in order.
    std::stable_sort(pending.begin(), pending.end(),
                     [](const PendingReply& a, const PendingReply& b) { return a.due < b.due; });
}

// A broadcast answer leaves through the card its query came in on: a camera in a foreign
// subnet has no route back to the finder.
void CameraSimulator::SendReply(const PendingReply& reply) {
    if (reply.viaInterface != 0) {
        m_socket.SendVia(reply.bytes.data(), reply.bytes.size(), reply.destination,
                         reply.viaInterface, 0);
    } else {
        m_socket.SendTo(reply.bytes.data(), reply.bytes.size(), reply.destination);
    }
}

int CameraSimulator::Run() {
    std::vector<PendingReply> pending;
    uint8_t buffer[65536];
    while (!m_stop.load()) {
        const Clock::time_point now = Clock::now();
        std::size_t sent = 0;
        while (sent < pending.size() && pending[sent].due <= now) {
            SendReply(pending[sent++]);
        }
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(sent));

        int timeoutMs = -1;
        if (!pending.empty()) {
            const auto wait =
                std::chrono::ceil<std::chrono::milliseconds>(pending.front().due - Clock::now());
            timeoutMs = static_cast<int>(std::max<std::int64_t>(0, wait.count()));
        }
        if (!m_wake.Wait(m_socket, timeoutMs).readable) {
            continue; // stop, the next reply's time, or an interrupted wait
        }
        sockaddr_in source{};
        std::size_t length = 0;
        unsigned arrival = 0;
        if (m_socket.ReceiveFrom(buffer, sizeof buffer, length, source, &arrival) == 0) {
            HandleDatagram(buffer, length, source, arrival, pending);
        }
    }
    return 0;
}
