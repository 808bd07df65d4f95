#pragma once

#include <QObject>

#include <cstddef>
#include <memory>
#include <vector>

#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"

class CCameraRoster;
class CChangeConfirmation;
class CChangeFlow;
class CDeviceListView;
class CStatusLine;
class CWindowContext;
class CWorkerLink;
class QWidget;
class QTimer;

// The window's side of a change: Submit's checks and the user's approval before the set
// request goes to its camera, and afterwards the rounds of queries whose answers confirm it.
class CChangeFlowView : public QObject {
    Q_OBJECT

public:
    // Its questions and messages open over `window`.
    CChangeFlowView(QWidget* window, const CWindowContext& context, CWorkerLink& worker,
                    const CCameraRoster& roster, CStatusLine& status, CDeviceListView& list);
    ~CChangeFlowView() override;

    // The request built from what the panel shows now; the worker sends it as it is.
    void Submit(ChangeValues values);
    void OnReply(const DeviceRecord& record);
    // A send went out: the first one after Submit is the set request, which starts the
    // schedule.
    void OnSent();
    // The set request itself failed: nothing to wait for.
    void OnFailedSend();
    // Update, a new selection or the end of the program: the wait is over, and whatever the
    // camera answers later is not taken for its word on the change. A new selection says so.
    void Cancel(bool say);

private:
    bool Approve(const CChangeFlow& change);
    void Start(const DeviceRecord& before, const ChangeValues& sent);
    void OnConfirmTick();
    void Finish();

    QWidget* m_window;
    const CWindowContext& m_context;
    CWorkerLink& m_worker;
    const CCameraRoster& m_roster;
    CStatusLine& m_status;
    CDeviceListView& m_list;
    // The change waiting for its camera's word: set when the request is handed to the
    // worker, running its schedule once the worker reports it sent.
    std::unique_ptr<CChangeConfirmation> m_confirmation;
    QTimer* m_confirmTimer;
    std::vector<uint32_t> m_confirmTargets; // asked by unicast beside the search targets
    std::size_t m_confirmTick = 0;
    bool m_bConfirmSent = false;
};
