#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/worker/network_worker.h"

// The most distinct cameras one batch holds: four times the table, so that a full table's
// worth of known cameras still finds room beside as many strangers.
constexpr std::size_t REPORT_BATCH_DEVICES = 4 * DEVICE_TABLE_SLOTS;

// One reply as the front end merges it, with the card it came in on.
struct BatchedReply {
    DeviceRecord record;
    ReplyArrival arrival;
};

// What the worker reported since the front end last took a batch, reduced to what the front
// end still has to do: empty its panel, list and table when a send happened; merge each
// camera's latest reply, in the order the cameras first answered after that send; show the
// latest status line; sum up a search once its query went out.
struct ReportBatch {
    bool cleared = false;
    std::vector<BatchedReply> replies;
    std::optional<WorkerOutcome> status;
    std::optional<WorkerOutcome> queryOutcome;        // a query was sent: how its send went
    std::optional<WorkerStartFailure> startupFailure; // only when the worker could not start
    std::optional<SearchSent> searchSent;             // a search's last datagram went out
    std::uint64_t dropped = 0;                        // replies of cameras beyond the batch's room
};

// Stands between the worker and a front end that lives on another thread. Runs on the
// worker's thread, never waits on the front end: each report goes into the pending batch
// under a short lock, and the first report of a batch asks the front end, through
// requestDrain, to take it. Memory stays bounded whatever the network sends.
class CBatchedReport : public WorkerReport {
public:
    using DrainRequest = std::function<void()>;
    explicit CBatchedReport(DrainRequest requestDrain,
                            std::size_t maxDevices = REPORT_BATCH_DEVICES);

    void OnStatus(const WorkerOutcome& outcome) override;
    void OnReply(const DeviceRecord& record, const ReplyArrival& arrival) override;
    void OnSent(int command, const WorkerOutcome& outcome) override;
    void OnStartupFailed(const WorkerStartFailure& failure) override;
    void OnSearchSent(const SearchSent& sent) override;

    // Front end side: everything pending, at once; the next report asks for a drain again.
    ReportBatch TakeBatch();
    std::uint64_t DroppedTotal() const;

private:
    // Runs the update under the lock, then asks for a drain unless one is already asked.
    template <typename Update> void Pend(Update update);

    const DrainRequest m_requestDrain;
    const std::size_t m_maxDevices;
    mutable std::mutex m_mutex;
    ReportBatch m_pending;
    // MAC and address -> index in replies: two cameras that share a MAC both stay in the batch.
    std::unordered_map<std::string, std::size_t> m_replyOfMac;
    bool m_drainAsked = false;
    std::uint64_t m_droppedTotal = 0;
};
