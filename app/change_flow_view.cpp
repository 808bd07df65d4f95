#include "app/change_flow_view.h"

#include <QTimer>

#include <algorithm>
#include <string>
#include <vector>

#include "app/desktop_hooks.h"
#include "app/device_list_view.h"
#include "app/finder_dlg.h"
#include "app/status_line.h"
#include "core/messages/finder_texts.h"
#include "core/plan/change_engine.h"
#include "core/session/camera_roster.h"
#include "core/status/status_text.h"

CChangeFlowView::CChangeFlowView(CFinderDlg& dialog, const CCameraRoster& roster,
                                 CStatusLine& status, CDeviceListView& list)
    : QObject(&dialog), m_dialog(dialog), m_roster(roster), m_status(status), m_list(list),
      m_timer(new QTimer(this)) {
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &CChangeFlowView::OnTick);
}

CChangeFlowView::~CChangeFlowView() = default;

void CChangeFlowView::Submit(ChangeValues values) {
    // Submit is enabled only while a camera is selected; without one there is no target.
    const DeviceRecord* target = FindSetTarget(m_roster.Table(), values.mac);
    if (target == nullptr) {
        return;
    }
    auto change = std::make_unique<CChangePlan>(m_roster.Table(), m_roster.Arrivals(),
                                                std::vector<ChangeValues>{std::move(values)});
    if (!Approve(*change)) {
        return;
    }
    Cancel(false); // a change still waited for is over
    m_change = std::move(change);
    m_engine = std::make_unique<CChangeEngine>(*m_change);
    // Out of the card the camera answered on only: the other cards' networks need not hear it.
    m_status.ExpectQuery(false);
    const std::string mac = MacToText(target->mac);
    Take(m_engine->Start(EngineNowMs()));
    m_status.ShowHeld([this, mac] { return m_dialog.TrFilled(APPLY_TEXT_SENDING, {mac}); });
}

// Whether the change may go: refused values and a change of nothing stop it with a word
// why, risky ones go only when the user says so.
bool CChangeFlowView::Approve(CChangePlan& change) {
    const TextLookup tr = m_dialog.WindowTextLookup();
    const QString title = m_dialog.Tr(TEXT_SUBMIT_TITLE);
    if (const std::optional<PlanRefusal> refusal =
            change.Validate(g_pfnLocalNetworks(), tr, m_dialog.Codec())) {
        ShowMessage(&m_dialog, title, Utf8Text(refusal->reason));
        return false;
    }
    if (change.State(0) == PlanState::Unchanged) {
        m_status.ShowHeld([this] { return m_dialog.Tr(APPLY_TEXT_NOTHING_TO_SEND); });
        return false;
    }
    if (change.Warnings().empty()) {
        return true;
    }
    const RiskQuestion risks = change.Risks(tr, m_dialog.Codec());
    return Ask(&m_dialog, title, Utf8Text(risks.text), m_dialog.Tr(APPLY_TEXT_SEND_ANYWAY),
               m_dialog.Tr(APPLY_TEXT_CANCEL));
}

// Does what the engine asks: a request or a query to the worker, a moment to wake it at.
void CChangeFlowView::Take(const EngineStep& step) {
    switch (step.kind) {
    case EngineStep::Kind::Send:
    case EngineStep::Kind::Query:
        m_dialog.m_worker.SetCommand(step.command);
        break;
    case EngineStep::Kind::Wait:
    case EngineStep::Kind::Await:
        break;
    case EngineStep::Kind::Done:
        Finish();
        return;
    }
    if (step.kind == EngineStep::Kind::Query || step.kind == EngineStep::Kind::Wait) {
        m_timer->start(static_cast<int>(std::max<int64_t>(0, step.wakeAtMs - EngineNowMs())));
    }
}

void CChangeFlowView::OnReply(const DeviceRecord& record) {
    if (m_engine) {
        m_engine->OnReply(record);
    }
}

void CChangeFlowView::OnSent() {
    if (m_engine) {
        Take(m_engine->OnSent(EngineNowMs()));
    }
}

void CChangeFlowView::OnFailedSend(const WorkerOutcome& outcome) {
    if (m_engine && outcome.Failed() && outcome.kind != WorkerOutcomeKind::ReceiveFailed) {
        Take(m_engine->OnSendFailed(EngineNowMs(), StatusLine(outcome)));
    }
}

void CChangeFlowView::OnTick() {
    if (m_engine) {
        Take(m_engine->OnTime(EngineNowMs()));
    }
}

// The camera is selected again when it answered, whatever it said; then the outcome. A
// request that never went out leaves the status line to the failure.
void CChangeFlowView::Finish() {
    // Kept by the status text, which says the outcome again in a new language.
    const std::shared_ptr<const CChangePlan> change = std::move(m_change);
    m_engine.reset();
    m_timer->stop();
    if (!change->WentOut(0)) {
        return;
    }
    if (change->Answered(0)) {
        m_list.SelectByMac(MacToText(change->After(0).mac));
    }
    m_status.ShowHeld([this, change] {
        return Utf8Text(change->Outcome(0, m_dialog.WindowTextLookup(), m_dialog.Codec()));
    });
}

void CChangeFlowView::Cancel(bool say) {
    if (!m_engine) {
        return;
    }
    const std::string mac = MacToText(m_change->After(0).mac);
    m_engine.reset();
    m_change.reset();
    m_timer->stop();
    if (say) {
        m_status.ShowHeld(
            [this, mac] { return m_dialog.TrFilled(APPLY_TEXT_STOPPED_WAITING, {mac}); });
    }
}
