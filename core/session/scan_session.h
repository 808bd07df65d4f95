#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/session/camera_roster.h"
#include "core/wire/device_table.h"
#include "core/worker/device_arrival.h"
#include "core/worker/network_worker.h"

// What one scan found: the table the replies were merged into, and the devices in the
// order of their list entries (the order they first answered in).
struct ScanResult {
    std::unique_ptr<DeviceTable> table = std::make_unique<DeviceTable>();
    std::unique_ptr<ArrivalTable> arrivals = std::make_unique<ArrivalTable>();
    std::vector<DeviceRecord> devices;
    std::vector<ReplyArrival> seen; // where each of devices answered, in the same order
    WorkerOutcome sent;             // how the query went out (partly: some cards failed)
    SearchSent searchSent;          // its repeats and unicast queries, once all went out
    // Replies that were lost: longer than the receive buffer, or finding the table full.
    int overlongReplies = 0;
    int tableFullReplies = 0;

    const DeviceRecord* FindByMac(const std::string& macText) const;
    // The card the device of this MAC answered on (that device must have been found).
    const ReplyArrival& ArrivalOf(const DeviceRecord& device) const;
};

// Why a scan or a send did not happen, for the front end to put in words.
struct SessionFailure {
    enum class Kind {
        StartFailed,   // the worker could not start (startup), after lastOutcome
        WorkerStopped, // the worker ended, after lastOutcome
        NotSent,       // the worker did not send within waitMs
        SendFailed,    // the send itself failed (sent)
    };
    Kind kind = Kind::NotSent;
    WorkerOutcome lastOutcome;
    WorkerOutcome sent;
    std::optional<WorkerStartFailure> startup;
    int waitMs = 0;
};

// When a scan ends: once the last datagram of its search has gone out and no new camera
// has answered for settleMs, and at the latest timeoutMs after it began. A scan that found
// nobody waits the whole timeout.
struct ScanWait {
    int timeoutMs = 1500;
    int settleMs = 300;
};

// Collects what the worker reports, on the worker's thread, under a lock. Like the window,
// it clears its table and list after every send, so an answer that comes after its scan
// ended is never counted in the next.
class ScanCollector : public WorkerReport {
public:
    ScanCollector();
    void OnStatus(const WorkerOutcome& outcome) override;
    void OnReply(const DeviceRecord& record, const ReplyArrival& arrival) override;
    void OnSent(int command, const WorkerOutcome& outcome) override;
    void OnStartupFailed(const WorkerStartFailure& failure) override;
    void OnOverlongReply() override;
    void OnSearchSent(const SearchSent& sent) override;
    void OnEnded(); // the worker's routine has returned

    // Waits until the worker has sent `count` datagrams in all, or has ended; the send's
    // outcome in sent. Nothing when it went out (on some cards at least), else why not.
    std::optional<SessionFailure> WaitForSend(int count, int waitMs, WorkerOutcome& sent);
    // Waits for replies as ScanWait says (less when the worker ends), then copies what came.
    void Collect(const ScanWait& wait, ScanResult& result);
    int Sent() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    CCameraRoster m_roster;
    WorkerOutcome m_lastOutcome;
    WorkerOutcome m_sendOutcome; // of the last send
    std::optional<WorkerStartFailure> m_startupFailure;
    int m_overlong = 0;  // since the last send
    int m_tableFull = 0; // since the last send
    int m_sent = 0;
    bool m_ended = false;
    std::optional<SearchSent> m_searchSent; // the search's last datagram has gone out
    std::chrono::steady_clock::time_point m_settledFrom{}; // last new camera or last send
};

// A network worker on its own thread for the life of the session. Its first turn
// broadcasts a query; later queries and set requests go through Scan and Send.
class ScanSession {
public:
    explicit ScanSession(const WorkerEndpoints& endpoints);
    ~ScanSession(); // stops the worker and waits for it
    ScanSession(const ScanSession&) = delete;
    ScanSession& operator=(const ScanSession&) = delete;

    // Sends a query (the first call uses the worker's start-up query) and collects the
    // replies as wait says. Nothing when it did, else why the worker failed (result.sent
    // holds the send's outcome either way). extraTargets are asked by unicast beside the
    // search targets (a camera's new address while its change is confirmed).
    std::optional<SessionFailure> Scan(const ScanWait& wait, ScanResult& result,
                                       std::vector<uint32_t> extraTargets = {});
    // The addresses every search of the session also asks by unicast (host order). Give
    // them before the first Scan: the worker's start-up query takes them.
    void SetSearchTargets(std::vector<uint32_t> targets);
    // Sends a set request where the command says (CChangeFlow::Command).
    std::optional<SessionFailure> Send(WorkerCommand command);

private:
    std::optional<SessionFailure> SendCommand(WorkerCommand command, WorkerOutcome& sent);

    void StartWorker();

    WorkerEndpoints m_endpoints;
    WorkerControl m_control;
    ScanCollector m_collector;
    std::thread m_thread;
};
