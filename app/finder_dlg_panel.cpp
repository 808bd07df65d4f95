// The window's side of the details panel: a selection fills it, the mode radios, Submit and
// Update, the move of a camera into the subnet of its card, and the clearing after a send.

#include "app/change_flow_view.h"
#include "app/details_panel.h"
#include "app/device_list_view.h"
#include "app/finder_dlg.h"
#include "app/status_line.h"
#include "core/messages/fill_text.h"
#include "core/messages/finder_texts.h"
#include "core/present/info_line.h"
#include "core/status/search_texts.h"
#include "core/rules/address_proposal.h"
#include "core/rules/panel_checks.h"

QString CFinderDlg::InfoLine(int slot) const {
    return Utf8Text(InfoText(m_roster.Record(slot), Codec(), WindowTextLookup()));
}

void CFinderDlg::OnSelectDevice() {
    const std::optional<int> slot = m_deviceList->SelectedSlot();
    if (!slot) {
        return;
    }
    m_changeFlow->Cancel(true); // the user turned to another camera
    m_panel->Fill(m_roster.Record(*slot), Codec(), InfoLine(*slot));
    ShowSubnetWarning(slot);
}

void CFinderDlg::OnModeDhcp() {
    m_panel->PickMode(NetMode::Dhcp);
}

void CFinderDlg::OnModePppoe() {
    m_panel->PickMode(NetMode::Pppoe);
}

void CFinderDlg::OnModeStatic() {
    m_panel->PickMode(NetMode::Static);
}

void CFinderDlg::OnSubmit() {
    m_changeFlow->Submit(m_panel->Gather());
}

void CFinderDlg::OnUpdate() {
    m_changeFlow->Cancel(false);
    m_statusLine->ReleaseHeld(); // the search's own status follows
    m_panel->SetSubmitEnabled(false);
    ClearSearch();
    m_statusLine->ExpectQuery(true);
    // The worker ends by itself only when it could not start: Update tries again.
    if (m_worker.StopRequested()) {
        RestartWorker();
        return;
    }
    m_worker.SetCommand(CMD_QUERY);
}

// The first send after Submit is the set request: from then on the schedule runs.
void CFinderDlg::OnSent() {
    ClearPanel();
    m_changeFlow->OnSent();
    emit WorkerSent();
}

// After every send: no device selected, an empty list and an empty roster, and nothing
// that Submit could send.
void CFinderDlg::ClearPanel() {
    m_panel->Clear();
    ClearSearch();
}

void CFinderDlg::ShowSubnetWarning(std::optional<int> slot) {
    if (!slot || SameSubnet(m_roster.Record(*slot), m_roster.Arrival(*slot))) {
        m_panel->HideSubnetWarning();
        return;
    }
    const DeviceRecord& record = m_roster.Record(*slot);
    const ReplyArrival& arrival = m_roster.Arrival(*slot);
    // A read-only camera takes no new address; a card without an address has no subnet.
    m_panel->ShowSubnetWarning(Utf8Text(ForeignSubnetText(record, arrival, WindowTextLookup())),
                               record.readOnly != 1 && arrival.interfaceAddress != 0);
}

// Fills IP, Submask and Gateway with an address of the card's subnet; nothing is sent
// until the user presses Submit.
void CFinderDlg::OnMoveIntoNetwork() {
    const std::optional<int> slot = m_deviceList->SelectedSlot();
    if (!slot) {
        return;
    }
    const ReplyArrival& arrival = m_roster.Arrival(*slot);
    const std::optional<AddressProposal> proposal = ProposeAddress(m_roster.Table(), arrival);
    if (!proposal) {
        m_panel->SetSubnetWarningText(
            Utf8Text(FillText(m_language.Texts().Text(TEXT_SEARCH_NO_FREE_ADDRESS),
                              {InterfaceAddressText(arrival)})));
        return;
    }
    m_panel->ShowAddressProposal(*proposal);
}
