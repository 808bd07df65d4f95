#include "core/worker/network_worker.h"

#include <optional>

#include "core/net/net_interfaces.h"
#include "core/net/udp_socket.h"
#include "core/wire/subnet.h"

WorkerControl::WorkerControl() {
    Reset();
}

WorkerControl::~WorkerControl() = default;

void WorkerControl::SetCommand(int command) {
    DiscoveryDatagram none{};
    SetCommand(command, none);
}

bool WorkerEndpoints::SendsPerInterface() const {
    return everyInterface && destinationAddress == WORKER_BROADCAST_ADDRESS;
}

void WorkerControl::SetCommand(int command, const DiscoveryDatagram& datagram,
                               const std::string& interfaceName) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_commands.empty() && m_commands.back().command == command) {
            m_commands.back() = {command, datagram, interfaceName};
        } else {
            m_commands.push_back({command, datagram, interfaceName});
        }
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
    m_commands.clear();
    m_commands.push_back({CMD_QUERY, DiscoveryDatagram{}, {}});
}

bool WorkerControl::StopRequested() const {
    return m_stop.load() != 0;
}

void WorkerControl::MarkStopped() {
    m_stop.store(1);
}

int WorkerControl::TakeCommand(DiscoveryDatagram& datagram, std::string* interfaceName) {
    m_turns.fetch_add(1, std::memory_order_relaxed);
    std::lock_guard lock(m_mutex);
    if (m_commands.empty()) {
        return CMD_NONE;
    }
    const Command taken = std::move(m_commands.front());
    m_commands.pop_front();
    if (!m_commands.empty()) {
        m_wake.Signal(); // the next one is due at the next turn, not at the next datagram
    }
    datagram = taken.datagram;
    if (interfaceName != nullptr) {
        *interfaceName = taken.interfaceName;
    }
    return taken.command;
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

WorkerOutcome Failure(WorkerOutcomeKind kind, int error) {
    return {kind, error, {}, {}};
}

// The cards the worker knows: read again before every send, and once more after a send when
// a reply comes in on a card that was not there at the send (plugged in since). So a flood
// of replies costs at most one extra reading per send.
struct WorkerCards {
    std::vector<NetInterface> cards;
    bool readAgain = false;

    void Read() {
        cards = ListInterfaces();
        readAgain = false;
    }

    ReplyArrival ArrivalOf(unsigned index, const DeviceRecord& record) {
        const uint32_t camera = ParseIpv4(FieldText(record.ip)).value_or(0);
        const NetInterface* card = ArrivalCard(cards, index, camera);
        if (card == nullptr && index != 0 && !readAgain) {
            cards = ListInterfaces();
            readAgain = true;
            card = ArrivalCard(cards, index, camera);
        }
        if (card == nullptr) {
            return {}; // the card has gone: the reply still counts, without a card
        }
        return {card->name, card->address, card->prefix, card->gateway};
    }
};

// One send out of each card; the outcome says which cards failed. Only when every card
// failed is it an error: a card that fails must not hide the cameras of the others.
WorkerOutcome SendOutOfCards(CUdpSocket& socket, const sockaddr_in& destination,
                             const DiscoveryDatagram& datagram,
                             const std::vector<NetInterface>& cards) {
    WorkerOutcome outcome;
    for (const NetInterface& card : cards) {
        const int error = socket.SendVia(datagram.bytes, sizeof datagram.bytes, destination,
                                         card.index, htonl(card.address));
        if (error != 0) {
            outcome.failedCards.push_back({card.name, error});
        }
    }
    if (!outcome.failedCards.empty()) {
        outcome.kind = outcome.failedCards.size() == cards.size()
                           ? WorkerOutcomeKind::EveryCardFailed
                           : WorkerOutcomeKind::PartlySent;
    }
    return outcome;
}

// The outcome of sending a command out of the cards it is meant for: a query (or a set
// request whose camera's card is not known) out of every searched card, a set request out
// of the card its camera answered on.
WorkerOutcome SendPerInterface(CUdpSocket& socket, const sockaddr_in& destination, int command,
                               const DiscoveryDatagram& datagram, const std::string& cardName,
                               const WorkerEndpoints& endpoints, const WorkerCards& known) {
    if (command == CMD_SET && !cardName.empty()) {
        const std::vector<NetInterface> card = SearchedInterfaces(known.cards, {cardName});
        if (card.empty()) {
            return {WorkerOutcomeKind::CardGone, 0, cardName, {}};
        }
        return SendOutOfCards(socket, destination, datagram, card);
    }
    const std::vector<NetInterface> cards = SearchedInterfaces(known.cards, endpoints.interfaces);
    if (cards.empty()) {
        return {WorkerOutcomeKind::NoCard, 0, {}, {}};
    }
    return SendOutOfCards(socket, destination, datagram, cards);
}

// Sends the command's datagram; a failed request is reported and not repeated.
void SendCommand(CUdpSocket& socket, const std::optional<sockaddr_in>& destination, int command,
                 DiscoveryDatagram& datagram, const std::string& cardName,
                 const WorkerEndpoints& endpoints, WorkerCards& known, WorkerReport& report) {
    if (command == CMD_QUERY) {
        BuildQueryRequest(datagram);
    }
    known.Read();
    WorkerOutcome outcome;
    if (!destination) {
        outcome = Failure(WorkerOutcomeKind::SendFailed, SOCKET_ERR_NO_DESTINATION);
    } else if (endpoints.SendsPerInterface()) {
        outcome =
            SendPerInterface(socket, *destination, command, datagram, cardName, endpoints, known);
    } else if (const int error =
                   socket.SendTo(datagram.bytes, sizeof datagram.bytes, *destination)) {
        outcome = Failure(WorkerOutcomeKind::SendFailed, error);
    }
    report.OnStatus(outcome);
    report.OnSent(command, outcome);
}

// Takes every datagram that is waiting, up to the drain limit.
void DrainSocket(CUdpSocket& socket, const WorkerControl& control, WorkerCards& known,
                 WorkerReport& report) {
    uint8_t buffer[WORKER_RECEIVE_BUFFER];
    for (int taken = 0; taken < WORKER_DRAIN_LIMIT && !control.StopRequested(); ++taken) {
        std::size_t length = 0;
        sockaddr_in sender; // who sent it does not matter, and never becomes the destination
        unsigned arrival = 0;
        const int error = socket.ReceiveFrom(buffer, sizeof buffer, length, sender, &arrival);
        if (error == SOCKET_ERR_WOULD_BLOCK) {
            return;
        }
        if (error != 0) {
            report.OnStatus(Failure(WorkerOutcomeKind::ReceiveFailed, error));
            if (error == SOCKET_ERR_MESSAGE_SIZE) {
                report.OnOverlongReply();
                continue; // the over-long datagram is gone; the next one may be fine
            }
            return;
        }
        DeviceRecord record;
        if (ParseReply(buffer, length, record)) {
            report.OnReply(record, known.ArrivalOf(arrival, record));
        }
        report.OnStatus(WorkerOutcome{});
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
        report.OnStatus(Failure(WorkerOutcomeKind::SocketsLayerFailed, error));
        control.MarkStopped();
        return 1;
    }
    report.OnStatus(WorkerOutcome{});

    CUdpSocket socket;
    if (const int error = socket.Open(); error != 0) {
        report.OnStatus(Failure(WorkerOutcomeKind::SocketFailed, error));
        control.MarkStopped(); // before the sentence: whoever reads it may start anew
        report.OnStartupFailed({WorkerStartStep::Socket, error, endpoints.localPort});
        return 1;
    }
    report.OnStatus(WorkerOutcome{});

    socket.SetBroadcast(true); // without it only the broadcast fails, and says so
    // Each reply says which card it came in on: one socket serves every card, and the
    // sends pick their card the same way (SendVia), so no socket per card is needed and the
    // port 3566 is bound once, as a second finder expects to find it.
    socket.ReportArrivalInterface();
    socket.GrowReceiveBuffer(WORKER_SOCKET_RECEIVE_BUFFER);

    if (const int error = socket.Bind(endpoints.localPort); error != 0) {
        report.OnStatus(Failure(WorkerOutcomeKind::BindFailed, error));
        control.MarkStopped(); // before the sentence: whoever reads it may start anew
        report.OnStartupFailed({WorkerStartStep::Bind, error, endpoints.localPort});
        return 1; // the socket closes on the way out
    }
    report.OnStatus(WorkerOutcome{});

    std::optional<sockaddr_in> destination(std::in_place);
    if (!MakeSocketAddress(endpoints.destinationAddress.c_str(), endpoints.destinationPort,
                           *destination)) {
        destination.reset(); // every send then reports the error
    }

    WorkerCards known; // read at each send; a reply before the first reads them itself
    while (!control.StopRequested()) {
        DiscoveryDatagram datagram;
        std::string cardName;
        const int command = control.TakeCommand(datagram, &cardName);
        if (command == CMD_QUERY || command == CMD_SET) {
            SendCommand(socket, destination, command, datagram, cardName, endpoints, known, report);
        }
        if (WaitForWork(socket, control)) {
            DrainSocket(socket, control, known, report);
        }
    }
    return 0;
}
