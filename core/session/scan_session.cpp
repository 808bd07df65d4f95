#include "core/session/scan_session.h"

#include <algorithm>
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
    {
        std::lock_guard lock(m_mutex);
        const CCameraRoster::Merge merge = m_roster.Take(record, arrival);
        if (merge.slot == MERGE_DROPPED) {
            ++m_tableFull;
        }
        if (!merge.added) {
            return; // a camera already found does not put off the end of the scan
        }
        m_settledFrom = std::chrono::steady_clock::now();
    }
    m_changed.notify_all();
}

void ScanCollector::OnSearchSent(const SearchSent& sent) {
    {
        std::lock_guard lock(m_mutex);
        m_searchSent = sent;
        m_settledFrom = std::max(m_settledFrom, std::chrono::steady_clock::now());
    }
    m_changed.notify_all();
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
        m_searchSent.reset();
        m_settledFrom = {};
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

void ScanCollector::Collect(const ScanWait& wait, ScanResult& result) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point latest = Clock::now() + std::chrono::milliseconds(wait.timeoutMs);
    std::unique_lock lock(m_mutex);
    while (!m_ended) {
        Clock::time_point end = latest;
        if (m_searchSent && !m_roster.Listed().empty()) {
            end = std::min(end, m_settledFrom + std::chrono::milliseconds(wait.settleMs));
        }
        if (Clock::now() >= end) {
            break;
        }
        m_changed.wait_until(lock, end);
    }
    result.searchSent = m_searchSent.value_or(SearchSent{});
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

ScanSession::ScanSession(const WorkerEndpoints& endpoints) : m_endpoints(endpoints) {}

ScanSession::~ScanSession() {
    if (m_thread.joinable()) {
        m_control.RequestStop();
        m_thread.join();
    }
}

void ScanSession::SetSearchTargets(std::vector<uint32_t> targets) {
    m_control.SetSearchTargets(std::move(targets));
}

// The worker starts with the first scan or send, once the search targets are known. A new
// WorkerControl has a query pending, so its first turn broadcasts it.
void ScanSession::StartWorker() {
    m_thread = std::thread([this] {
        NetworkWorker(m_control, m_collector, m_endpoints);
        m_collector.OnEnded();
    });
}

std::optional<SessionFailure> ScanSession::SendCommand(WorkerCommand command, WorkerOutcome& sent) {
    // Before the worker starts, a query is one search with its start-up query, and a set
    // request follows that query.
    const bool start = !m_thread.joinable();
    const int count = m_collector.Sent() + (start && command.command != CMD_QUERY ? 2 : 1);
    m_control.SetCommand(std::move(command));
    if (start) {
        StartWorker();
    }
    return m_collector.WaitForSend(count, SCAN_SEND_WAIT_MS, sent);
}

std::optional<SessionFailure> ScanSession::Scan(const ScanWait& wait, ScanResult& result,
                                                std::vector<uint32_t> extraTargets) {
    WorkerCommand query;
    query.command = CMD_QUERY;
    query.targets = std::move(extraTargets);
    const std::optional<SessionFailure> failure = SendCommand(std::move(query), result.sent);
    if (failure) {
        result.sent = failure->sent;
        return failure;
    }
    m_collector.Collect(wait, result);
    return std::nullopt;
}

std::optional<SessionFailure> ScanSession::Send(WorkerCommand command) {
    WorkerOutcome sent;
    return SendCommand(std::move(command), sent);
}
