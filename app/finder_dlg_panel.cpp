// The details panel: the selected camera's settings, the mode radio buttons, Submit and
// Update.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "app/desktop_hooks.h"
#include "app/finder_dlg.h"
#include "core/messages/finder_texts.h"
#include "core/present/device_list.h"
#include "core/present/info_line.h"
#include "core/rules/panel_checks.h"
#include "core/rules/panel_texts.h"
#include "core/rules/settings_checks.h"
#include "core/wire/net_mode.h"
#include "skin/skin_button.h"
#include "skin/transparent_static.h"

// Every field but the camera texts holds ASCII; the camera texts come and go through the
// codec, which hands the window UTF-8.
static std::string Utf8Bytes(const QString& text) {
    return text.toUtf8().toStdString();
}

// The slot of the selected entry, when the selection may be read at all.
std::optional<int> CFinderDlg::SelectedSlot() const {
    const QList<QListWidgetItem*> selected = m_lstDevices->selectedItems();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    const int index = m_lstDevices->row(selected.front());
    if (index < 0 || index >= CountOccupied(*m_table)) {
        return std::nullopt;
    }
    const int slot = SlotOfEntry(Utf8Bytes(selected.front()->text()));
    if (slot < 0 || slot >= DEVICE_TABLE_SLOTS) {
        return std::nullopt;
    }
    return slot;
}

void CFinderDlg::SetFieldsEnabled(bool addresses, bool pppoe) {
    m_edtIp->setEnabled(addresses);
    m_edtNetmask->setEnabled(addresses);
    m_edtGateway->setEnabled(addresses);
    m_edtPppoeAccount->setEnabled(pppoe);
    m_edtPppoePassword->setEnabled(pppoe);
}

void CFinderDlg::OnSelectDevice() {
    const std::optional<int> slot = SelectedSlot();
    if (!slot) {
        return;
    }
    CancelConfirmation(true); // the user turned to another camera, or to this one anew
    const DeviceRecord& record = m_table->slot[*slot];
    SetFieldsEnabled(false, false);

    const CTextCodec codec = Codec();
    const QString macText = Utf8Text(MacToText(record.mac));
    m_edtName->setText(Utf8Text(codec.Shown(FieldText(record.name), ITEM_WIDTH_NAME)));
    m_edtIp->setText(Utf8Text(FieldText(record.ip)));
    m_edtNetmask->setText(Utf8Text(FieldText(record.netmask)));
    m_edtGateway->setText(Utf8Text(FieldText(record.gateway)));
    m_edtPppoeAccount->setText(
        Utf8Text(codec.Shown(FieldText(record.pppoeAccount), ITEM_WIDTH_PPPOE_ACCOUNT)));
    m_edtPppoePassword->setText(
        Utf8Text(codec.Shown(FieldText(record.pppoePassword), ITEM_WIDTH_PPPOE_PASSWORD)));
    m_edtHttpPort->setText(QString::number(record.httpPort));
    m_grpMac->setTitle(macText);
    if (m_edtNewMac->isVisibleTo(this)) {
        m_edtNewMac->setText(macText);
    }

    // The radios look at the first byte of each pair only, and so does the info text.
    m_rdoPppoe->setChecked(false);
    m_rdoDhcp->setChecked(false);
    m_rdoStatic->setChecked(false);
    switch (RadioMode(record.netMode)) {
    case NetMode::Pppoe:
        m_rdoPppoe->setChecked(true);
        break;
    case NetMode::Dhcp:
        m_rdoDhcp->setChecked(true);
        break;
    case NetMode::Static:
        m_rdoStatic->setChecked(true);
        SetFieldsEnabled(true, false);
        break;
    }
    m_stcInfo->setText(Utf8Text(InfoText(record, codec, WindowTextLookup())));
    ShowSubnetWarning(slot);

    const bool editable = record.readOnly != 1;
    if (!editable) {
        SetFieldsEnabled(false, false);
    }
    for (QWidget* control : {static_cast<QWidget*>(m_edtName), static_cast<QWidget*>(m_edtHttpPort),
                             static_cast<QWidget*>(m_edtNewMac), static_cast<QWidget*>(m_rdoPppoe),
                             static_cast<QWidget*>(m_rdoDhcp), static_cast<QWidget*>(m_rdoStatic),
                             static_cast<QWidget*>(m_btnSubmit)}) {
        control->setEnabled(editable);
    }
}

// A click always leaves the clicked radio checked, as an automatic radio button does.
void CFinderDlg::OnModeDhcp() {
    m_rdoDhcp->setChecked(true);
    SetFieldsEnabled(false, false);
    m_rdoPppoe->setChecked(false);
    m_rdoStatic->setChecked(false);
}

void CFinderDlg::OnModePppoe() {
    m_rdoPppoe->setChecked(true);
    SetFieldsEnabled(false, true);
    m_rdoDhcp->setChecked(false);
    m_rdoStatic->setChecked(false);
}

void CFinderDlg::OnModeStatic() {
    m_rdoStatic->setChecked(true);
    SetFieldsEnabled(true, false);
    m_rdoDhcp->setChecked(false);
    m_rdoPppoe->setChecked(false);
}

PanelValues CFinderDlg::GatherPanelValues() const {
    PanelValues values;
    values.captionMac = Utf8Bytes(m_grpMac->title());
    // A cleared MAC-change field asks for no new MAC, as any text that is no MAC does.
    if (m_edtNewMac->isVisibleTo(this) && !m_edtNewMac->text().isEmpty()) {
        values.newMac = Utf8Bytes(m_edtNewMac->text());
    }
    values.name = Utf8Bytes(m_edtName->text());
    values.pppoeAccount = Utf8Bytes(m_edtPppoeAccount->text());
    values.pppoePassword = Utf8Bytes(m_edtPppoePassword->text());
    values.ip = Utf8Bytes(m_edtIp->text());
    values.netmask = Utf8Bytes(m_edtNetmask->text());
    values.gateway = Utf8Bytes(m_edtGateway->text());
    values.httpPort = Utf8Bytes(m_edtHttpPort->text());
    values.pppoeChecked = m_rdoPppoe->isChecked();
    values.dhcpChecked = m_rdoDhcp->isChecked();
    return values;
}

// The request is built here from what the panel shows now; the worker sends it as it is.
void CFinderDlg::OnSubmit() {
    PanelValues values = GatherPanelValues();
    // Submit is enabled only while a camera is selected; without one there is no target.
    const DeviceRecord* target = FindSetTarget(*m_table, values.captionMac);
    if (target == nullptr) {
        return;
    }
    const CTextCodec codec = Codec();
    if (const std::optional<std::string> problem =
            CheckPanelValues(*target, values, codec, WindowTextLookup())) {
        ShowMessage(this, Tr(TEXT_SUBMIT_TITLE), Utf8Text(*problem));
        return;
    }
    // The checks have passed every text, so each one encodes; what follows compares the
    // bytes the camera would store.
    EncodePanelTexts(values, *target, codec);
    if (!ApproveChange(values)) {
        return;
    }
    DiscoveryDatagram datagram;
    BuildSetRequest(datagram, *m_table, values);
    // Out of the card the camera answered on only: the other cards' networks need not hear it.
    m_bQueryPending = false;
    m_worker.SetCommand(CMD_SET, datagram, m_arrivals->slot[target->id - 1].interfaceName);
    StartConfirmation(*target, values);
}

void CFinderDlg::OnUpdate() {
    CancelConfirmation(false);
    m_bHoldStatus = false; // the search's own status follows
    m_btnSubmit->setEnabled(false);
    ClearList();
    ClearTable(*m_table);
    ClearArrivalState();
    m_bQueryPending = true;
    // The worker ends by itself only when it could not start: Update tries again.
    if (m_worker.StopRequested()) {
        RestartWorker();
        return;
    }
    m_worker.SetCommand(CMD_QUERY);
}

// After every send: no device selected, an empty list and an empty table, and nothing
// that Submit could send.
void CFinderDlg::ClearPanel() {
    m_btnSubmit->setEnabled(false);
    for (QLineEdit* edit : {m_edtName, m_edtNewMac, m_edtIp, m_edtNetmask, m_edtGateway,
                            m_edtHttpPort, m_edtPppoeAccount, m_edtPppoePassword}) {
        edit->clear();
    }
    m_stcInfo->clear();
    m_grpMac->setTitle(QString::fromLatin1(NO_DEVICE_MAC_TEXT));
    m_rdoPppoe->setChecked(false);
    m_rdoStatic->setChecked(false);
    m_rdoDhcp->setChecked(false);
    ClearList();
    ClearTable(*m_table);
    ShowSubnetWarning(std::nullopt);
    ClearArrivalState();
}
