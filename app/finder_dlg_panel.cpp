// The details panel: the selected camera's settings, the mode radio buttons, Submit and
// Update.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

#include "app/desktop_hooks.h"
#include "app/finder_dlg.h"
#include "protocol/device_list.h"
#include "protocol/net_mode.h"
#include "protocol/panel_checks.h"
#include "skin/skin_button.h"
#include "skin/transparent_static.h"

// Device texts travel as bytes. Latin-1 maps every byte to one character and back, so a
// text the user leaves alone goes back byte for byte and compares equal.
static QString DeviceText(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

static std::string DeviceBytes(const QString& text) {
    return text.toLatin1().toStdString();
}

static bool FitsDeviceText(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; });
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
    const int slot = SlotOfEntry(DeviceBytes(selected.front()->text()));
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
    const DeviceRecord& record = m_table->slot[*slot];
    SetFieldsEnabled(false, false);

    const QString macText = DeviceText(MacToText(record.mac));
    m_edtName->setText(DeviceText(FieldText(record.name)));
    m_edtIp->setText(DeviceText(FieldText(record.ip)));
    m_edtNetmask->setText(DeviceText(FieldText(record.netmask)));
    m_edtGateway->setText(DeviceText(FieldText(record.gateway)));
    m_edtPppoeAccount->setText(DeviceText(FieldText(record.pppoeAccount)));
    m_edtPppoePassword->setText(DeviceText(FieldText(record.pppoePassword)));
    m_edtHttpPort->setText(QString::number(record.httpPort));
    m_grpMac->setTitle(macText);
    if (m_edtNewMac->isVisibleTo(this)) {
        m_edtNewMac->setText(macText);
    }

    // The radios look at the first byte of each pair only, unlike the info text.
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
    m_stcInfo->setText(DeviceText(InfoText(record)));

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
    values.captionMac = DeviceBytes(m_grpMac->title());
    if (m_edtNewMac->isVisibleTo(this)) {
        values.newMac = DeviceBytes(m_edtNewMac->text());
    }
    values.name = DeviceBytes(m_edtName->text());
    values.pppoeAccount = DeviceBytes(m_edtPppoeAccount->text());
    values.pppoePassword = DeviceBytes(m_edtPppoePassword->text());
    values.ip = DeviceBytes(m_edtIp->text());
    values.netmask = DeviceBytes(m_edtNetmask->text());
    values.gateway = DeviceBytes(m_edtGateway->text());
    values.httpPort = DeviceBytes(m_edtHttpPort->text());
    values.pppoeChecked = m_rdoPppoe->isChecked();
    values.dhcpChecked = m_rdoDhcp->isChecked();
    return values;
}

// The label of the first text field holding characters a camera cannot store, or nothing.
std::string_view CFinderDlg::UnstorableField() const {
    const struct {
        const char* field;
        const QLineEdit* edit;
    } texts[] = {
        {"Name", m_edtName}, {"Account", m_edtPppoeAccount}, {"Password", m_edtPppoePassword}};
    for (const auto& text : texts) {
        if (!FitsDeviceText(text.edit->text())) {
            return text.field;
        }
    }
    return {};
}

// The request is built here from what the panel shows now; the worker sends it as it is.
void CFinderDlg::OnSubmit() {
    const PanelValues values = GatherPanelValues();
    // With no device selected the request carries no setting, so there is nothing to check.
    if (const DeviceRecord* target = FindSetTarget(*m_table, values.captionMac)) {
        if (const std::optional<std::string> problem =
                CheckPanelValues(*target, values, UnstorableField())) {
            ShowMessage(this, QStringLiteral("Submit"), DeviceText(*problem));
            return;
        }
    }
    DiscoveryDatagram datagram;
    BuildSetRequest(datagram, *m_table, values);
    m_worker.SetCommand(CMD_SET, datagram);
}

void CFinderDlg::OnUpdate() {
    ClearList();
    ClearTable(*m_table);
    // The worker ends by itself only when it could not start: Update tries again.
    if (m_worker.StopRequested()) {
        RestartWorker();
        return;
    }
    m_worker.SetCommand(CMD_QUERY);
}

// After every send: no device selected, an empty list and an empty table.
void CFinderDlg::ClearPanel() {
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
}
