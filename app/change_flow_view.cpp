#include "app/change_flow_view.h"

#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <string>
#include <vector>

#include "app/desktop_hooks.h"
#include "app/device_list_view.h"
#include "app/qt_helpers.h"
#include "app/status_line.h"
#include "app/window_context.h"
#include "app/worker_link.h"
#include "core/messages/finder_texts.h"
#include "core/rules/change_confirmation.h"
#include "core/rules/panel_checks.h"
#include "core/session/camera_roster.h"
#include "core/session/change_flow.h"

CChangeFlowView::CChangeFlowView(QWidget* window, const CWindowContext& context,
                                 CWorkerLink& worker, const CCameraRoster& roster,
                                 CStatusLine& status, CDeviceListView& list)
    : QObject(window), m_window(window), m_context(context), m_worker(worker), m_roster(roster),
      m_status(status), m_list(list), m_confirmTimer(new QTimer(this)) {
    m_confirmTimer->setSingleShot(true);
    connect(m_confirmTimer, &QTimer::timeout, this, &CChangeFlowView::OnConfirmTick);
}

CChangeFlowView::~CChangeFlowView() = default;

void CChangeFlowView::Submit(ChangeValues values) {
    // Submit is enabled only while a camera is selected; without one there is no target.
    const DeviceRecord* target = FindSetTarget(m_roster.Table(), values.mac);
    if (target == nullptr) {
        return;
    }
    const CTextCodec codec = m_context.Codec();
    if (const std::optional<std::string> problem =
            CheckPanelValues(*target, values, codec, m_context.Lookup())) {
        ShowMessage(m_window, m_context.Tr(TEXT_SUBMIT_TITLE), Utf8Text(*problem));
        return;
    }
    CChangeFlow change(m_roster.Table(), *target, m_roster.Arrival(target->id - 1),
                       std::move(values));
    // The checks have passed every text, so each one encodes; what follows compares the
    // bytes the camera would store.
    change.EncodeTexts(codec);
    if (!Approve(change)) {
        return;
    }
    // Out of the card the camera answered on only: the other cards' networks need not hear it.
    m_worker.SetCommand(change.Command());
    Start(*target, change.Values());
    m_confirmTargets = change.ConfirmTargets();
}

// Whether the change may go: refused values and a change of nothing stop it with a word
// why, risky ones go only when the user says so.
bool CChangeFlowView::Approve(const CChangeFlow& change) {
    const SettingsVerdict verdict =
        change.Check(g_pfnLocalNetworks(), m_context.Lookup(), m_context.Codec());
    if (verdict.nothingChanged) {
        m_status.ShowHeld([this] { return m_context.Tr(APPLY_TEXT_NOTHING_TO_SEND); });
        return false;
    }
    const QString title = m_context.Tr(TEXT_SUBMIT_TITLE);
    if (!verdict.refusal.empty()) {
        ShowMessage(m_window, title, Utf8Text(verdict.refusal));
        return false;
    }
    if (verdict.warnings.empty()) {
        return true;
    }
    QStringList risks;
    for (const std::string& warning : verdict.warnings) {
        risks << Utf8Text(warning);
    }
    return Ask(m_window, title, risks.join(QLatin1Char('\n')), m_context.Tr(APPLY_TEXT_SEND_ANYWAY),
               m_context.Tr(APPLY_TEXT_CANCEL));
}

void CChangeFlowView::Start(const DeviceRecord& before, const ChangeValues& sent) {
    m_confirmation = std::make_unique<CChangeConfirmation>(before, sent);
    m_confirmTick = 0;
    m_bConfirmSent = false;
    m_status.ShowHeld([this, mac = MacToText(before.mac)] {
        return m_context.TrFilled(APPLY_TEXT_SENDING, {mac});
    });
}

void CChangeFlowView::OnReply(const DeviceRecord& record) {
    if (m_confirmation) {
        m_confirmation->OnReply(record);
    }
}

void CChangeFlowView::OnSent() {
    if (m_confirmation && !m_bConfirmSent) {
        m_bConfirmSent = true;
        m_confirmTimer->start(m_confirmation->Schedule().front());
    }
}

void CChangeFlowView::OnFailedSend() {
    if (!m_bConfirmSent) {
        Cancel(false);
    }
}

// Each moment of the schedule judges the round before it and, unless that settled it,
// queries again; the worker's send clears the list as any query does.
void CChangeFlowView::OnConfirmTick() {
    if (!m_confirmation) {
        return;
    }
    const std::vector<int>& schedule = m_confirmation->Schedule();
    const bool last = m_confirmTick + 1 == schedule.size();
    if (m_confirmTick > 0 && m_confirmation->EndRound(last)) {
        Finish();
        return;
    }
    m_confirmation->StartRound();
    WorkerCommand query;
    query.command = CMD_QUERY;
    query.targets = m_confirmTargets; // behind a router: the camera's new address too
    m_worker.SetCommand(std::move(query));
    ++m_confirmTick;
    m_confirmTimer->start(schedule[m_confirmTick] - schedule[m_confirmTick - 1]);
}

// The camera is selected again when it answered, whatever it said; then the outcome.
void CChangeFlowView::Finish() {
    // Kept by the status text, which says the outcome again in a new language.
    const std::shared_ptr<const CChangeConfirmation> confirmation = std::move(m_confirmation);
    m_confirmTimer->stop();
    if (confirmation->Answered()) {
        m_list.SelectByMac(confirmation->Mac());
    }
    m_status.ShowHeld([this, confirmation] {
        return Utf8Text(confirmation->Outcome(m_context.Lookup(), m_context.Codec()));
    });
}

void CChangeFlowView::Cancel(bool say) {
    if (!m_confirmation) {
        return;
    }
    const std::string mac = m_confirmation->Mac();
    m_confirmation.reset();
    m_confirmTimer->stop();
    if (say) {
        m_status.ShowHeld(
            [this, mac] { return m_context.TrFilled(APPLY_TEXT_STOPPED_WAITING, {mac}); });
    }
}
