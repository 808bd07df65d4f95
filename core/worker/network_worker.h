#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "core/net/wake_signal.h"
#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"
#include "core/worker/device_arrival.h"
#include "core/worker/worker_outcome.h"

constexpr int CMD_NONE = 0;
constexpr int CMD_QUERY = 1;
constexpr int CMD_SET = 2;

constexpr uint16_t WORKER_LOCAL_PORT = 3566;
constexpr uint16_t WORKER_DEVICE_PORT = 4000;
constexpr char WORKER_BROADCAST_ADDRESS[] = "255.255.255.255";
constexpr std::size_t WORKER_RECEIVE_BUFFER = 3000;
// The socket's own queue: room for 255 cameras answering at the same moment. The kernel caps
// it at net.core.rmem_max (stock: 208 KiB, granted doubled, which still holds over 300
// replies of 256 bytes); an administrator's process gets the full size.
constexpr int WORKER_SOCKET_RECEIVE_BUFFER = 1 << 20;

// Where the worker listens and where its requests go. Tests and the simulator use loopback.
// With the limited broadcast as destination and everyInterface set (the defaults), each
// query leaves through every network card that is searched (see SearchedInterfaces), and a
// set request through the card its camera answered on. An explicit destination
// (everyInterface cleared, or another address) is one plain send, as the routing table has it.
struct WorkerEndpoints {
    uint16_t localPort = WORKER_LOCAL_PORT;
    std::string destinationAddress = WORKER_BROADCAST_ADDRESS;
    uint16_t destinationPort = WORKER_DEVICE_PORT;
    bool everyInterface = true;
    std::vector<std::string> interfaces; // search only these cards; empty: every card

    bool SendsPerInterface() const;
};

// One command for the worker: what to send and where to.
struct WorkerCommand {
    int command = CMD_NONE;
    DiscoveryDatagram datagram{}; // CMD_SET: the set request (a query builds its own)
    // CMD_SET: out of the card its camera answered on (empty: every card searched).
    std::string interfaceName;
    // CMD_SET: to this address alone (host order), where a camera found by a unicast query
    // answered from; 0: as a broadcast.
    uint32_t address = 0;
    // CMD_QUERY: beside the search targets, these addresses too (a camera's new address
    // while its change is confirmed).
    std::vector<uint32_t> targets;
};

// What the front end asks of the worker. Commands wait in order under one lock; setting a
// command or stop wakes the worker at once. Two queries in a row are one search; every set
// request goes out, each in its turn, so a plan of many changes loses none and a set request
// followed by a query both go out. A new control is in the Reset state, so a worker started
// on it broadcasts a query at once.
class WorkerControl {
public:
    WorkerControl();
    ~WorkerControl();
    WorkerControl(const WorkerControl&) = delete;
    WorkerControl& operator=(const WorkerControl&) = delete;

    // Front end side.
    void SetCommand(int command); // CMD_QUERY: the worker builds the query itself
                                  // (CMD_SET without a datagram sends 256 zero bytes)
    void SetCommand(WorkerCommand command);
    // The addresses (host order) every search also queries one by one, for cameras that a
    // broadcast does not reach; taken by each query as it goes out.
    void SetSearchTargets(std::vector<uint32_t> targets);
    void RequestStop();
    void Reset(); // stop cleared, only CMD_QUERY pending: the state a worker starts from

    // Worker side.
    bool StopRequested() const;
    void MarkStopped(); // start-up failed: the worker sets stop itself
    // Takes the first command waiting (CMD_NONE: none). A query's targets are the search
    // targets and its own.
    int TakeCommand(WorkerCommand& command);
    CWakeSignal& WakeSignal() { return m_wake; } // raised while a wake-up is pending

    // How many times the worker has taken its command: once a turn of its loop. An idle
    // worker turns no more, so a count that keeps growing means it spins.
    uint64_t Turns() const;

private:
    std::atomic<int> m_stop{0};
    mutable std::mutex m_mutex;
    std::deque<WorkerCommand> m_commands;
    std::vector<uint32_t> m_targets;
    CWakeSignal m_wake;
    std::atomic<uint64_t> m_turns{0};
};

// How a search's copies and its unicast queries went, once the last of them has gone out.
struct SearchSent {
    int copies = 0;                // copies of the query sent out of the cards
    std::size_t targets = 0;       // unicast queries sent
    std::size_t targetsFailed = 0; // unicast queries the system refused (no route, ...)
    int firstTargetError = 0;      // the system's code of the first refusal
};

// How the worker reports. Called on the worker's thread, in order; an implementation must
// not block on the front end's thread (the window posts each report to its own thread).
class WorkerReport {
public:
    virtual ~WorkerReport() = default;
    virtual void OnStatus(const WorkerOutcome& outcome) = 0; // of every step
    // A reply that passed ParseReply, and the card it came in on.
    virtual void OnReply(const DeviceRecord& record, const ReplyArrival& arrival) = 0;
    // After every send, with the command sent and its outcome (just reported to OnStatus).
    virtual void OnSent(int command, const WorkerOutcome& outcome) = 0;
    // Beside the status line of a failed start-up: the same failure, for plain words.
    virtual void OnStartupFailed(const WorkerStartFailure& failure) { (void)failure; }
    // A datagram longer than the receive buffer arrived and was lost.
    virtual void OnOverlongReply() {}
    // The last datagram of a search has gone out: its repeats and its unicast queries. Only
    // the first copy is reported to OnSent; a repeat clears nothing the search found.
    virtual void OnSearchSent(const SearchSent& sent) { (void)sent; }
};

// The worker's thread routine: start-up, then the loop until stop. Returns 1 when start-up
// failed, 0 after a normal end.
int NetworkWorker(WorkerControl& control, WorkerReport& report,
                  const WorkerEndpoints& endpoints = {});
