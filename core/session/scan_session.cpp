#include "core/session/scan_session.h"

#include <chrono>
#include <utility>

// How long a send may take to happen before the worker counts as stuck.
constexpr int SCAN_SEND_WAIT_MS = 5000;

const DeviceRecord* ScanResult::FindByMac(const std::string& macText) const {
    for (const DeviceRecord& device : devices) {
        if (MacToText(device.mac) == macText) {
            return &device;
        }
    }
    return nullptr;
}

const ReplyArrival& ScanResult::ArrivalOf(const DeviceRecord& device) const {
    return arrivals->slot[device.id - 1];
}

ScanCollector::ScanCollector() = default;

void ScanCollector::OnStatus(const WorkerOutcome& outcome) {
    std::lock_guard lock(m_mutex);
    m_lastOutcome = outcome;
}

void ScanCollector::OnReply(const DeviceRecord& record, const ReplyArrival& arrival) {
    std::lock_guard lock(m_mutex);
    if (m_roster.Take(record, arrival).slot == MERGE_DROPPED) {
        ++m_tableFull;
    }
}

void ScanCollector::OnStartupFailed(const WorkerStartFailure& failure) {
    std::lock_guard lock(m_mutex);
    m_startupFailure = failure;
}

void ScanCollector::OnOverlongReply() {
    std::lock_guard lock(m_mutex);
    ++m_overlong;
}

void ScanCollector::OnSent(int, const WorkerOutcome& outcome) {
    {
        std::lock_guard lock(m_mutex);
        m_roster.Clear();
        m_overlong = 0;
        m_tableFull = 0;
        m_sendOutcome = outcome;
        ++m_sent;
    }
    m_changed.notify_all();
}

void ScanCollector::OnEnded() {
    {
        std::lock_guard lock(m_mutex);
        m_ended = true;
    }
    m_changed.notify_all();
}

int ScanCollector::Sent() const {
    std::lock_guard lock(m_mutex);
    return m_sent;
}

std::optional<SessionFailure> ScanCollector::WaitForSend(int count, int waitMs,
                                                         WorkerOutcome& sent) {
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(waitMs),
                       [&] { return m_sent >= count || m_ended; });
    SessionFailure failure;
    failure.lastOutcome = m_lastOutcome;
    failure.startup = m_startupFailure;
    failure.waitMs = waitMs;
    if (m_sent < count) {
        failure.kind = m_startupFailure ? SessionFailure::Kind::StartFailed
                       : m_ended        ? SessionFailure::Kind::WorkerStopped
                                        : SessionFailure::Kind::NotSent;
        return failure;
    }
    sent = m_sendOutcome;
    if (m_sendOutcome.Failed()) {
        failure.kind = SessionFailure::Kind::SendFailed;
        failure.sent = m_sendOutcome;
        return failure;
    }
    return std::nullopt;
}

void ScanCollector::Collect(int timeoutMs, ScanResult& result) {
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_ended; });
    *result.table = m_roster.Table();
    *result.arrivals = m_roster.Arrivals();
    result.overlongReplies = m_overlong;
    result.tableFullReplies = m_tableFull;
    result.devices.clear();
    result.seen.clear();
    for (const int slot : m_roster.Listed()) {
        result.devices.push_back(m_roster.Record(slot));
        result.seen.push_back(m_roster.Arrival(slot));
    }
}

// A new WorkerControl has a query pending, so the worker's first turn broadcasts it.
ScanSession::ScanSession(const WorkerEndpoints& endpoints) {
    m_thread = std::thread([this, endpoints] {
        NetworkWorker(m_control, m_collector, endpoints);
        m_collector.OnEnded();
    });
}

ScanSession::~ScanSession() {
    m_control.RequestStop();
    m_thread.join();
}

std::optional<SessionFailure> ScanSession::SendCommand(WorkerCommand command, WorkerOutcome& sent) {
    const int count = m_collector.Sent() + 1;
    m_control.SetCommand(std::move(command));
    return m_collector.WaitForSend(count, SCAN_SEND_WAIT_MS, sent);
}

std::optional<SessionFailure> ScanSession::Scan(int timeoutMs, ScanResult& result,
                                                std::vector<uint32_t> targets) {
    std::optional<SessionFailure> failure;
    if (m_firstScan) {
        m_firstScan = false;
        failure = m_collector.WaitForSend(1, SCAN_SEND_WAIT_MS, result.sent);
    } else {
        WorkerCommand query;
        query.command = CMD_QUERY;
        query.targets = std::move(targets);
        failure = SendCommand(std::move(query), result.sent);
    }
    if (failure) {
        result.sent = failure->sent;
        return failure;
    }
    m_collector.Collect(timeoutMs, result);
    return std::nullopt;
}

std::optional<SessionFailure> ScanSession::Send(WorkerCommand command) {
    WorkerOutcome sent;
    return SendCommand(std::move(command), sent);
}
