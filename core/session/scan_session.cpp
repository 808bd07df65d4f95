#include "cli/scan_session.h"

#include <chrono>

#include "core/present/startup_failure.h"
#include "core/present/status_text.h"

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
    m_startupFailure = StartupFailureSentence(failure);
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

bool ScanCollector::WaitForSend(int count, int waitMs, std::string& error, std::string* note,
                                WorkerOutcome* sent) {
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(waitMs),
                       [&] { return m_sent >= count || m_ended; });
    if (m_sent < count) {
        if (!m_startupFailure.empty()) {
            error = m_startupFailure + " (" + StatusLine(m_lastOutcome) + ")";
        } else if (m_ended) {
            error = "the network worker stopped: " + StatusLine(m_lastOutcome);
        } else {
            error = "the network worker did not send within " + std::to_string(waitMs) + " ms";
        }
        return false;
    }
    if (sent != nullptr) {
        *sent = m_sendOutcome;
    }
    if (m_sendOutcome.Failed()) {
        error = "sending failed: " + StatusLine(m_sendOutcome);
        return false;
    }
    if (note != nullptr) {
        *note = m_sendOutcome.kind == WorkerOutcomeKind::Ok ? "" : StatusLine(m_sendOutcome);
    }
    return true;
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

bool ScanSession::SendCommand(int command, const DiscoveryDatagram& datagram,
                              const std::string& cardName, std::string& error, std::string* note,
                              WorkerOutcome* sent) {
    const int count = m_collector.Sent() + 1;
    m_control.SetCommand(command, datagram, cardName);
    return m_collector.WaitForSend(count, SCAN_SEND_WAIT_MS, error, note, sent);
}

bool ScanSession::Scan(int timeoutMs, ScanResult& result, std::string& error) {
    if (m_firstScan) {
        m_firstScan = false;
        if (!m_collector.WaitForSend(1, SCAN_SEND_WAIT_MS, error, &result.sendNote, &result.sent)) {
            return false;
        }
    } else if (!SendCommand(CMD_QUERY, DiscoveryDatagram{}, {}, error, &result.sendNote,
                            &result.sent)) {
        return false;
    }
    m_collector.Collect(timeoutMs, result);
    return true;
}

bool ScanSession::Send(const DiscoveryDatagram& datagram, const std::string& cardName,
                       std::string& error) {
    return SendCommand(CMD_SET, datagram, cardName, error);
}
