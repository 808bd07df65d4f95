#pragma once

#include <QObject>

#include "core/wire/discovery_datagram.h"
#include "core/worker/network_worker.h"
#include "core/worker/worker_outcome.h"

// The window's parts and the network worker: the commands a part hands it, and what the
// worker reported as the window took it, for a part that follows its sends. The window
// owns the worker and reports through here; a test drives a link of its own.
class CWorkerLink : public QObject {
    Q_OBJECT

public:
    CWorkerLink(WorkerControl& worker, QObject* parent) : QObject(parent), m_worker(worker) {}

    void SetCommand(WorkerCommand command) { m_worker.SetCommand(std::move(command)); }
    // No worker takes commands: it could not start, or the window is ending.
    bool StopRequested() const { return m_worker.StopRequested(); }

signals:
    void Sent();
    void Failed(const WorkerOutcome& outcome);
    void Reply(const DeviceRecord& record);

private:
    WorkerControl& m_worker;
};
