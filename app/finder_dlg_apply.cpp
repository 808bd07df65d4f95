// Safe apply: a change is checked before it goes to its camera, and confirmed afterwards by
// the camera's own answer to the queries that follow it.

#include <QListWidget>
#include <QTimer>

#include <string>
#include <vector>

#include "app/desktop_hooks.h"
#include "app/finder_dlg.h"
#include "core/messages/fill_text.h"
#include "core/present/device_list.h"
#include "core/rules/change_confirmation.h"
#include "core/rules/settings_checks.h"
#include "skin/transparent_static.h"

// Whether the change may go: refused values and a change of nothing stop it with a word
// why, risky ones go only when the user says so.
bool CFinderDlg::ApproveChange(const PanelValues& values) {
    const SettingsVerdict verdict =
        CheckSettingsChange(*m_table, values, g_pfnLocalNetworks(), WindowTextLookup(), Codec());
    if (verdict.nothingChanged) {
        ShowHeldStatus([this] { return Tr(APPLY_TEXT_NOTHING_TO_SEND); });
        return false;
    }
    const QString title = Tr(TEXT_SUBMIT_TITLE);
    if (!verdict.refusal.empty()) {
        ShowMessage(this, title, Utf8Text(verdict.refusal));
        return false;
    }
    if (verdict.warnings.empty()) {
        return true;
    }
    QStringList risks;
    for (const std::string& warning : verdict.warnings) {
        risks << Utf8Text(warning);
    }
    return Ask(this, title, risks.join(QLatin1Char('\n')), Tr(APPLY_TEXT_SEND_ANYWAY),
               Tr(APPLY_TEXT_CANCEL));
}

// The text is made again whenever the window's language changes while it is shown.
void CFinderDlg::ShowHeldStatus(const HeldText& makeText) {
    m_heldStatus = makeText;
    m_bHoldStatus = true;
    const QString text = makeText();
    m_stcStatus->setText(text);
    m_stcStatus->setToolTip(text); // a long sentence may not fit the line
}

void CFinderDlg::StartConfirmation(const DeviceRecord& before, const PanelValues& sent) {
    m_confirmation = std::make_unique<CChangeConfirmation>(before, sent);
    m_confirmTick = 0;
    m_bConfirmSent = false;
    if (m_confirmTimer == nullptr) {
        m_confirmTimer = new QTimer(this);
        m_confirmTimer->setSingleShot(true);
        connect(m_confirmTimer, &QTimer::timeout, this, &CFinderDlg::OnConfirmTick);
    }
    ShowHeldStatus(
        [this, mac = MacToText(before.mac)] { return TrFilled(APPLY_TEXT_SENDING, {mac}); });
}

// The first send after Submit is the set request: from then on the schedule runs.
void CFinderDlg::OnSent() {
    ClearPanel();
    if (m_confirmation && !m_bConfirmSent) {
        m_bConfirmSent = true;
        m_confirmTimer->start(m_confirmation->Schedule().front());
    }
}

// Each moment of the schedule judges the round before it and, unless that settled it,
// queries again; the worker's send clears the list as any query does.
void CFinderDlg::OnConfirmTick() {
    if (!m_confirmation) {
        return;
    }
    const std::vector<int>& schedule = m_confirmation->Schedule();
    const bool last = m_confirmTick + 1 == schedule.size();
    if (m_confirmTick > 0 && m_confirmation->EndRound(last)) {
        FinishConfirmation();
        return;
    }
    m_confirmation->StartRound();
    m_worker.SetCommand(CMD_QUERY);
    ++m_confirmTick;
    m_confirmTimer->start(schedule[m_confirmTick] - schedule[m_confirmTick - 1]);
}

// The camera is selected again when it answered, whatever it said; then the outcome.
void CFinderDlg::FinishConfirmation() {
    // Kept by the status text, which says the outcome again in a new language.
    const std::shared_ptr<const CChangeConfirmation> confirmation = std::move(m_confirmation);
    m_confirmTimer->stop();
    if (confirmation->Answered()) {
        SelectDeviceByMac(confirmation->Mac());
    }
    ShowHeldStatus([this, confirmation] {
        return Utf8Text(confirmation->Outcome(WindowTextLookup(), Codec()));
    });
}

// Update, a new selection or the end of the program: the wait is over, and whatever the
// camera answers later is not taken for its word on the change. A new selection says so.
void CFinderDlg::CancelConfirmation(bool say) {
    if (!m_confirmation) {
        return;
    }
    const std::string mac = m_confirmation->Mac();
    m_confirmation.reset();
    m_confirmTimer->stop();
    if (say) {
        ShowHeldStatus([this, mac] { return TrFilled(APPLY_TEXT_STOPPED_WAITING, {mac}); });
    }
}

void CFinderDlg::SelectDeviceByMac(const std::string& mac) {
    for (int row = 0; row < m_lstDevices->count(); ++row) {
        QListWidgetItem* item = m_lstDevices->item(row);
        const int slot = SlotOfEntry(item->text().toLatin1().toStdString());
        if (slot >= 0 && slot < DEVICE_TABLE_SLOTS && m_table->slot[slot].id != 0 &&
            MacToText(m_table->slot[slot].mac) == mac) {
            m_lstDevices->setCurrentItem(item);
            m_lstDevices->scrollToItem(item);
            return;
        }
    }
}
