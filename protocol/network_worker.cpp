#include "protocol/network_worker.h"

#include <cstdio>
#include <optional>

#include "protocol/udp_socket.h"

WorkerControl::WorkerControl() {
    Reset();
}

WorkerControl::~WorkerControl() = default;

void WorkerControl::SetCommand(int command) {
    DiscoveryDatagram none{};
    SetCommand(command, none);
}

void WorkerControl::SetCommand(int command, const DiscoveryDatagram& datagram) {
    {
        std::lock_guard lock(m_mutex);
        m_command = command;
        m_datagram = datagram;
    }
    m_wake.Signal();
}

void WorkerControl::RequestStop() {
    m_stop.store(1);
    m_wake.Signal();
}

void WorkerControl::Reset() {
    m_stop.store(0);
    std::lock_guard lock(m_mutex);
    m_command = CMD_QUERY;
    m_datagram = {};
}

bool WorkerControl::StopRequested() const {
    return m_stop.load() != 0;
}

void WorkerControl::MarkStopped() {
    m_stop.store(1);
}

int WorkerControl::TakeCommand(DiscoveryDatagram& datagram) {
    m_turns.fetch_add(1, std::memory_order_relaxed);
    std::lock_guard lock(m_mutex);
    const int command = m_command;
    if (command != CMD_NONE) {
        datagram = m_datagram;
    }
    m_command = CMD_NONE;
    return command;
}

uint64_t WorkerControl::Turns() const {
    return m_turns.load(std::memory_order_relaxed);
}

namespace {

// Without a wake-up signal (the system refused one) the worker still sees commands
// and stop, by looking again after this many milliseconds.
constexpr int WORKER_FALLBACK_POLL_MS = 1;

// A flood of datagrams must not keep the worker from its commands and from stop: after
// this many it goes back to the top of its loop, and the next wait finds the rest at once.
constexpr int WORKER_DRAIN_LIMIT = 1024;

std::string ErrorText(const char* format, int code) {
    char text[64];
    std::snprintf(text, sizeof text, format, code);
    return text;
}

// Sends the command's datagram; a failed request is reported and not repeated.
void SendCommand(CUdpSocket& socket, const std::optional<sockaddr_in>& destination, int command,
                 DiscoveryDatagram& datagram, WorkerReport& report) {
    if (command == CMD_QUERY) {
        BuildQueryRequest(datagram);
    }
    const int error = destination
                          ? socket.SendTo(datagram.bytes, sizeof datagram.bytes, *destination)
                          : SOCKET_ERR_NO_DESTINATION;
    report.OnStatus(error != 0 ? ErrorText("ERR: sendto error! Errorcode =%d\n", error) : "OK");
    report.OnSent();
}

// Takes every datagram that is waiting, up to the drain limit.
void DrainSocket(CUdpSocket& socket, const WorkerControl& control, WorkerReport& report) {
    uint8_t buffer[WORKER_RECEIVE_BUFFER];
    for (int taken = 0; taken < WORKER_DRAIN_LIMIT && !control.StopRequested(); ++taken) {
        std::size_t length = 0;
        sockaddr_in sender; // who sent it does not matter, and never becomes the destination
        const int error = socket.ReceiveFrom(buffer, sizeof buffer, length, sender);
        if (error == SOCKET_ERR_WOULD_BLOCK) {
            return;
        }
        if (error != 0) {
            report.OnStatus(ErrorText("ERR: recv error! Errorcode =%d\n", error));
            if (error == SOCKET_ERR_MESSAGE_SIZE) {
                report.OnOverlongReply();
                continue; // the over-long datagram is gone; the next one may be fine
            }
            return;
        }
        DeviceRecord record;
        if (ParseReply(buffer, length, record)) {
            report.OnReply(record);
        }
        report.OnStatus("OK");
    }
}

// Sleeps until a datagram waits or the front end wakes the worker.
bool WaitForWork(CUdpSocket& socket, WorkerControl& control) {
    CWakeSignal& wake = control.WakeSignal();
    const WakeResult result = wake.Wait(socket, wake.IsValid() ? -1 : WORKER_FALLBACK_POLL_MS);
    if (result.signalled) {
        wake.Clear(); // before the next turn reads command and stop
    }
    return result.readable; // neither: a signal or a time-out ends the turn without a message
}

} // namespace

int NetworkWorker(WorkerControl& control, WorkerReport& report, const WorkerEndpoints& endpoints) {
    CSocketsLayer layer; // released after the socket, on every way out
    if (const int error = layer.Start(); error != 0) {
        report.OnStatus(ErrorText("ERR: WSAStartup() fail %d \n", error));
        control.MarkStopped();
        return 1;
    }
    report.OnStatus("OK");

    CUdpSocket socket;
    if (const int error = socket.Open(); error != 0) {
        report.OnStatus(ErrorText("ERR: socket() error! Errorcode =%d\n", error));
        control.MarkStopped(); // before the sentence: whoever reads it may start anew
        report.OnStartupFailed({WorkerStartStep::Socket, error, endpoints.localPort});
        return 1;
    }
    report.OnStatus("OK");

    socket.SetBroadcast(true); // without it only the broadcast fails, and says so
    socket.GrowReceiveBuffer(WORKER_SOCKET_RECEIVE_BUFFER);

    if (const int error = socket.Bind(endpoints.localPort); error != 0) {
        report.OnStatus(ErrorText("ERR: bind() error! Errorcode =%d\n", error));
        control.MarkStopped(); // before the sentence: whoever reads it may start anew
        report.OnStartupFailed({WorkerStartStep::Bind, error, endpoints.localPort});
        return 1; // the socket closes on the way out
    }
    report.OnStatus("OK");

    std::optional<sockaddr_in> destination(std::in_place);
    if (!MakeSocketAddress(endpoints.destinationAddress.c_str(), endpoints.destinationPort,
                           *destination)) {
        destination.reset(); // every send then reports the error
    }

    while (!control.StopRequested()) {
        DiscoveryDatagram datagram;
        const int command = control.TakeCommand(datagram);
        if (command == CMD_QUERY || command == CMD_SET) {
            SendCommand(socket, destination, command, datagram, report);
        }
        if (WaitForWork(socket, control)) {
            DrainSocket(socket, control, report);
        }
    }
    return 0;
}
