#pragma once

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

// Collects what the worker reports, on the worker's thread, under a lock. Like the window,
// it clears its table and list after every send.
class ScanCollector : public WorkerReport {
public:
    ScanCollector();
    void OnStatus(const WorkerOutcome& outcome) override;
    void OnReply(const DeviceRecord& record, const ReplyArrival& arrival) override;
    void OnSent(int command, const WorkerOutcome& outcome) override;
    void OnStartupFailed(const WorkerStartFailure& failure) override;
    void OnOverlongReply() override;
    void OnEnded(); // the worker's routine has returned

    // Waits until the worker has sent `count` datagrams in all, or has ended; the send's
    // outcome in sent. Nothing when it went out (on some cards at least), else why not.
    std::optional<SessionFailure> WaitForSend(int count, int waitMs, WorkerOutcome& sent);
    // Waits timeoutMs for replies (less when the worker ends), then copies what came.
    void Collect(int timeoutMs, ScanResult& result);
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
    // replies for timeoutMs. Nothing when it did, else why the worker failed (result.sent
    // holds the send's outcome either way). targets: addresses (host order) the query also
    // goes to, one by one.
    std::optional<SessionFailure> Scan(int timeoutMs, ScanResult& result,
                                       std::vector<uint32_t> targets = {});
    // Sends a set request where the command says (CChangeFlow::Command).
    std::optional<SessionFailure> Send(WorkerCommand command);

private:
    std::optional<SessionFailure> SendCommand(WorkerCommand command, WorkerOutcome& sent);

    WorkerControl m_control;
    ScanCollector m_collector;
    std::thread m_thread;
    bool m_firstScan = true;
};
