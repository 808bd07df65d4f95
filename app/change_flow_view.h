#pragma once

#include <QObject>

#include <memory>

#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"
#include "core/worker/worker_outcome.h"

class CCameraRoster;
class CChangeEngine;
class CChangePlan;
class CDeviceListView;
class CFinderDlg;
class CStatusLine;
class QTimer;
struct EngineStep;

// The window's side of a change: Submit's checks and the user's approval before the set
// request goes to its camera, then the change engine driven from one timer and the worker's
// reports until the camera's answers confirm it or not.
class CChangeFlowView : public QObject {
    Q_OBJECT

public:
    CChangeFlowView(CFinderDlg& dialog, const CCameraRoster& roster, CStatusLine& status,
                    CDeviceListView& list);
    ~CChangeFlowView() override;

    // The request built from what the panel shows now; the worker sends it as it is.
    void Submit(ChangeValues values);
    void OnReply(const DeviceRecord& record);
    // A send went out: the set request, or a query of the rounds.
    void OnSent();
    // A step failed: when it is the set request's send, nothing is waited for.
    void OnFailedSend(const WorkerOutcome& outcome);
    // Update, a new selection or the end of the program: the wait is over, and whatever the
    // camera answers later is not taken for its word on the change. A new selection says so.
    void Cancel(bool say);

private:
    bool Approve(CChangePlan& change);
    void Take(const EngineStep& step);
    void OnTick();
    void Finish();

    CFinderDlg& m_dialog;
    const CCameraRoster& m_roster;
    CStatusLine& m_status;
    CDeviceListView& m_list;
    // The change waiting for its camera's word, from Submit until its outcome, and the
    // engine that runs it; the timer wakes the engine at the moment it asks for.
    std::unique_ptr<CChangePlan> m_change;
    std::unique_ptr<CChangeEngine> m_engine;
    QTimer* m_timer;
};
