#include "core/worker/network_worker.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "core/net/net_interfaces.h"
#include "core/net/udp_socket.h"
#include "core/wire/subnet.h"
#include "core/worker/search_schedule.h"

WorkerControl::WorkerControl() {
    Reset();
}

WorkerControl::~WorkerControl() = default;

void WorkerControl::SetCommand(int command) {
    WorkerCommand plain;
    plain.command = command;
    SetCommand(std::move(plain));
}

bool WorkerEndpoints::SendsPerInterface() const {
    return everyInterface && destinationAddress == WORKER_BROADCAST_ADDRESS;
}

void WorkerControl::SetCommand(WorkerCommand command) {
    {
        std::lock_guard lock(m_mutex);
        if (command.command == CMD_QUERY && !m_commands.empty() &&
            m_commands.back().command == CMD_QUERY) {
            m_commands.back() = std::move(command); // one search, not two
        } else {
            m_commands.push_back(std::move(command));
        }
    }
    m_wake.Signal();
}

void WorkerControl::SetSearchTargets(std::vector<uint32_t> targets) {
    std::lock_guard lock(m_mutex);
    m_targets = std::move(targets);
}

void WorkerControl::RequestStop() {
    m_stop.store(1);
    m_wake.Signal();
}

void WorkerControl::Reset() {
    m_stop.store(0);
    std::lock_guard lock(m_mutex);
    m_commands.clear();
    m_commands.push_back({});
    m_commands.back().command = CMD_QUERY;
}

bool WorkerControl::StopRequested() const {
    return m_stop.load() != 0;
}

void WorkerControl::MarkStopped() {
    m_stop.store(1);
}

int WorkerControl::TakeCommand(WorkerCommand& command) {
    m_turns.fetch_add(1, std::memory_order_relaxed);
    std::lock_guard lock(m_mutex);
    if (m_commands.empty()) {
        command = WorkerCommand{};
        return CMD_NONE;
    }
    command = std::move(m_commands.front());
    m_commands.pop_front();
    if (!m_commands.empty()) {
        m_wake.Signal(); // the next one is due at the next turn, not at the next datagram
    }
    if (command.command == CMD_QUERY) {
        command.targets.insert(command.targets.end(), m_targets.begin(), m_targets.end());
    }
    return command.command;
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

// Sends the worker's datagrams and takes in the replies: one object for the life of the
// loop, over the socket that start-up opened.
class CWorkerLoop {
public:
    CWorkerLoop(CUdpSocket& socket, const WorkerEndpoints& endpoints, WorkerReport& report)
        : m_socket(socket), m_endpoints(endpoints), m_report(report) {
        m_destination.emplace();
        if (!MakeSocketAddress(endpoints.destinationAddress.c_str(), endpoints.destinationPort,
                               *m_destination)) {
            m_destination.reset(); // every send then reports the error
        }
    }

    // A new command ends what is left of the search before it: a query starts a search of
    // its own, and a set request empties the front end's list as every send does.
    void Carry(WorkerCommand& command) {
        m_schedule.Cancel();
        if (command.command == CMD_QUERY) {
            BuildQueryRequest(m_query);
            m_schedule.Start(CSearchSchedule::Clock::now(), std::move(command.targets));
            m_searchSent = SearchSent{};
            SendDue(true);
        } else {
            Report(command.command, Send(command));
        }
    }

    // The copies and the unicast queries of the search that are due; when first, the first
    // copy is the search's own send and reported as such.
    void SendDue(bool first = false) {
        const CSearchSchedule::Due due = m_schedule.Take(CSearchSchedule::Clock::now());
        for (int copy = 0; copy < due.copies; ++copy) {
            WorkerCommand query;
            query.command = CMD_QUERY;
            query.datagram = m_query;
            const WorkerOutcome outcome = Send(query);
            if (first && copy == 0) {
                Report(CMD_QUERY, outcome);
            }
            ++m_searchSent.copies;
        }
        for (const uint32_t target : due.targets) {
            SendToTarget(target);
        }
        if (m_schedule.TakeFinished()) {
            m_report.OnSearchSent(m_searchSent);
        }
    }

    // -1 when nothing waits to go out, else the milliseconds until the next send.
    int WaitMs() const { return m_schedule.WaitMs(CSearchSchedule::Clock::now()); }

    // Takes every datagram that is waiting, up to the drain limit.
    void Drain(const WorkerControl& control) {
        uint8_t buffer[WORKER_RECEIVE_BUFFER];
        for (int taken = 0; taken < WORKER_DRAIN_LIMIT && !control.StopRequested(); ++taken) {
            std::size_t length = 0;
            sockaddr_in sender; // never becomes the destination of a broadcast
            unsigned arrival = 0;
            const int error = m_socket.ReceiveFrom(buffer, sizeof buffer, length, sender, &arrival);
            if (error == SOCKET_ERR_WOULD_BLOCK) {
                return;
            }
            if (error != 0) {
                m_report.OnStatus(Failure(WorkerOutcomeKind::ReceiveFailed, error));
                if (error == SOCKET_ERR_MESSAGE_SIZE) {
                    m_report.OnOverlongReply();
                    continue; // the over-long datagram is gone; the next one may be fine
                }
                return;
            }
            DeviceRecord record;
            if (ParseReply(buffer, length, record)) {
                ReplyArrival where = m_known.ArrivalOf(arrival, record);
                where.sender = ntohl(sender.sin_addr.s_addr);
                where.unicast = m_schedule.IsTarget(where.sender);
                m_report.OnReply(record, where);
            }
            m_report.OnStatus(WorkerOutcome{});
        }
    }

private:
    void Report(int command, const WorkerOutcome& outcome) {
        m_report.OnStatus(outcome);
        m_report.OnSent(command, outcome);
    }

    // Sends one command's datagram where it is meant to go; a failed send is not repeated.
    WorkerOutcome Send(const WorkerCommand& command) {
        m_known.Read();
        if (command.command == CMD_SET && command.address != 0) {
            return SendToAddress(command.datagram, command.address);
        }
        if (!m_destination) {
            return Failure(WorkerOutcomeKind::SendFailed, SOCKET_ERR_NO_DESTINATION);
        }
        if (m_endpoints.SendsPerInterface()) {
            return SendPerInterface(command);
        }
        if (const int error = m_socket.SendTo(command.datagram.bytes, sizeof command.datagram.bytes,
                                              *m_destination)) {
            return Failure(WorkerOutcomeKind::SendFailed, error);
        }
        return {};
    }

    // A query (or a set request whose camera's card is not known) out of every searched
    // card, a set request out of the card its camera answered on.
    WorkerOutcome SendPerInterface(const WorkerCommand& command) {
        if (command.command == CMD_SET && !command.interfaceName.empty()) {
            const std::vector<NetInterface> card =
                SearchedInterfaces(m_known.cards, {command.interfaceName});
            if (card.empty()) {
                return {WorkerOutcomeKind::CardGone, 0, command.interfaceName, {}};
            }
            return SendOutOfCards(m_socket, *m_destination, command.datagram, card);
        }
        const std::vector<NetInterface> cards =
            SearchedInterfaces(m_known.cards, m_endpoints.interfaces);
        if (cards.empty()) {
            return {WorkerOutcomeKind::NoCard, 0, {}, {}};
        }
        return SendOutOfCards(m_socket, *m_destination, command.datagram, cards);
    }

    // To one address as the routing table has it, at the cameras' port.
    WorkerOutcome SendToAddress(const DiscoveryDatagram& datagram, uint32_t address) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(m_endpoints.destinationPort);
        to.sin_addr.s_addr = htonl(address);
        if (const int error = m_socket.SendTo(datagram.bytes, sizeof datagram.bytes, to)) {
            return Failure(WorkerOutcomeKind::SendFailed, error);
        }
        return {};
    }

    // An address without a route is counted, not reported: the other targets and the
    // broadcast go on.
    void SendToTarget(uint32_t target) {
        const WorkerOutcome outcome = SendToAddress(m_query, target);
        ++m_searchSent.targets;
        if (outcome.Failed()) {
            if (m_searchSent.targetsFailed++ == 0) {
                m_searchSent.firstTargetError = outcome.error;
            }
        }
    }

    CUdpSocket& m_socket;
    const WorkerEndpoints& m_endpoints;
    WorkerReport& m_report;
    std::optional<sockaddr_in> m_destination;
    WorkerCards m_known; // read at each send; a reply before the first reads them itself
    CSearchSchedule m_schedule;
    DiscoveryDatagram m_query;
    SearchSent m_searchSent;
};

// Sleeps until a datagram waits, the front end wakes the worker, or the next send of a
// search is due.
bool WaitForWork(CUdpSocket& socket, WorkerControl& control, int dueMs) {
    CWakeSignal& wake = control.WakeSignal();
    const int fallbackMs =
        dueMs < 0 ? WORKER_FALLBACK_POLL_MS : std::min(dueMs, WORKER_FALLBACK_POLL_MS);
    const WakeResult result = wake.Wait(socket, wake.IsValid() ? dueMs : fallbackMs);
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

    CWorkerLoop loop(socket, endpoints, report);
    while (!control.StopRequested()) {
        WorkerCommand command;
        if (control.TakeCommand(command) != CMD_NONE) {
            loop.Carry(command);
        }
        loop.SendDue();
        if (WaitForWork(socket, control, loop.WaitMs())) {
            loop.Drain(control);
        }
    }
    return 0;
}
