#include "core/worker/report_batch.h"

#include <utility>

namespace {

std::string CameraKey(const DeviceRecord& record) {
    return std::string(reinterpret_cast<const char*>(record.mac), sizeof record.mac) +
           FieldText(record.ip);
}

} // namespace

CBatchedReport::CBatchedReport(DrainRequest requestDrain, std::size_t maxDevices)
    : m_requestDrain(std::move(requestDrain)), m_maxDevices(maxDevices) {}

template <typename Update> void CBatchedReport::Pend(Update update) {
    bool ask = false;
    {
        std::lock_guard lock(m_mutex);
        update();
        ask = !std::exchange(m_drainAsked, true);
    }
    // Outside the lock: the front end may take the batch before this call returns.
    if (ask) {
        m_requestDrain();
    }
}

void CBatchedReport::OnStatus(const WorkerOutcome& outcome) {
    Pend([&] { m_pending.status = outcome; });
}

void CBatchedReport::OnReply(const DeviceRecord& record, const ReplyArrival& arrival) {
    Pend([&] {
        const auto [known, added] =
            m_replyOfMac.try_emplace(CameraKey(record), m_pending.replies.size());
        if (!added) {
            m_pending.replies[known->second] = {record, arrival}; // the latest reply wins
        } else if (m_pending.replies.size() < m_maxDevices) {
            m_pending.replies.push_back({record, arrival});
        } else {
            m_replyOfMac.erase(known);
            ++m_pending.dropped;
            ++m_droppedTotal;
        }
    });
}

// A send empties the front end's table: the replies before it would be wiped at once.
void CBatchedReport::OnSent(int command, const WorkerOutcome& outcome) {
    Pend([&] {
        m_pending.cleared = true;
        if (command == CMD_QUERY) {
            m_pending.queryOutcome = outcome;
        }
        m_pending.replies.clear();
        m_pending.dropped = 0; // counted for the replies that were wiped
        m_replyOfMac.clear();
    });
}

void CBatchedReport::OnStartupFailed(const WorkerStartFailure& failure) {
    Pend([&] { m_pending.startupFailure = failure; });
}

void CBatchedReport::OnSearchSent(const SearchSent& sent) {
    Pend([&] { m_pending.searchSent = sent; });
}

ReportBatch CBatchedReport::TakeBatch() {
    std::lock_guard lock(m_mutex);
    ReportBatch taken = std::exchange(m_pending, ReportBatch{});
    m_replyOfMac.clear();
    m_drainAsked = false;
    return taken;
}

std::uint64_t CBatchedReport::DroppedTotal() const {
    std::lock_guard lock(m_mutex);
    return m_droppedTotal;
}
