#include "app/details_panel.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/dialog_units.h"
#include "app/qt_helpers.h"
#include "app/window_context.h"
#include "core/messages/fill_text.h"
#include "core/messages/finder_texts.h"
#include "core/present/info_line.h"
#include "core/rules/panel_checks.h"
#include "core/session/camera_roster.h"
#include "core/session/editable_values.h"
#include "core/status/search_texts.h"
#include "skin/skin_button.h"
#include "skin/transparent_static.h"

// Every field but the camera texts holds ASCII; the camera texts come and go through the
// codec, which hands the window UTF-8.
static std::string Utf8Bytes(const QString& text) {
    return text.toUtf8().toStdString();
}

// A text longer than its field shows from its start, as it is read (255.255.255.128 would
// otherwise show as 55.255.255.128, its end in view).
static void ShowField(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    edit->setCursorPosition(0);
}

CDetailsPanel::CDetailsPanel(QWidget* dialog, const PanelControls& controls,
                             const CCameraRoster& roster, const CWindowContext& context)
    : QObject(dialog), m_dialog(dialog), m_controls(controls), m_roster(roster),
      m_context(context) {
    const PanelControls& c = m_controls;
    connect(c.dhcp, &QRadioButton::clicked, this, [this] { PickMode(NetMode::Dhcp); });
    connect(c.pppoe, &QRadioButton::clicked, this, [this] { PickMode(NetMode::Pppoe); });
    connect(c.staticMode, &QRadioButton::clicked, this, [this] { PickMode(NetMode::Static); });
    connect(c.submit, &QPushButton::clicked, this, &CDetailsPanel::SubmitClicked);
    connect(c.moveIntoNetwork, &QPushButton::clicked, this, &CDetailsPanel::OnMoveIntoNetwork);
}

void CDetailsPanel::ShowCamera(int slot) {
    m_slot = slot;
    Fill(m_roster.Record(slot));
    ShowSubnetWarning();
}

QString CDetailsPanel::InfoLine() const {
    return Utf8Text(InfoText(m_roster.Record(*m_slot), m_context.Codec(), m_context.Lookup()));
}

void CDetailsPanel::SetFieldsEnabled(bool addresses, bool pppoe) {
    m_controls.ip->setEnabled(addresses);
    m_controls.netmask->setEnabled(addresses);
    m_controls.gateway->setEnabled(addresses);
    m_controls.pppoeAccount->setEnabled(pppoe);
    m_controls.pppoePassword->setEnabled(pppoe);
}

bool CDetailsPanel::IsMacChangeShown() const {
    return m_controls.newMac->isVisibleTo(m_dialog);
}

void CDetailsPanel::CheckRadios(NetMode mode) {
    m_controls.pppoe->setChecked(mode == NetMode::Pppoe);
    m_controls.dhcp->setChecked(mode == NetMode::Dhcp);
    m_controls.staticMode->setChecked(mode == NetMode::Static);
}

void CDetailsPanel::Fill(const DeviceRecord& record) {
    const PanelControls& c = m_controls;
    m_shown = EditableValues(record, m_context.Codec());
    SetFieldsEnabled(false, false);
    ShowField(c.name, Utf8Text(m_shown.name));
    ShowField(c.ip, Utf8Text(m_shown.ip));
    ShowField(c.netmask, Utf8Text(m_shown.netmask));
    ShowField(c.gateway, Utf8Text(m_shown.gateway));
    ShowField(c.pppoeAccount, Utf8Text(m_shown.pppoeAccount));
    ShowField(c.pppoePassword, Utf8Text(m_shown.pppoePassword));
    ShowField(c.httpPort, Utf8Text(m_shown.httpPort));
    const QString macText = Utf8Text(m_shown.mac);
    c.macGroup->setTitle(macText);
    if (IsMacChangeShown()) {
        ShowField(c.newMac, macText);
    }
    // The radios look at the first byte of each pair only, and so does the info text.
    const NetMode mode = RecordMode(record.netMode);
    CheckRadios(mode);
    if (mode == NetMode::Static) {
        SetFieldsEnabled(true, false);
    }
    c.info->setText(InfoLine());

    const bool editable = record.readOnly != 1;
    if (!editable) {
        SetFieldsEnabled(false, false);
    }
    for (QWidget* control : {static_cast<QWidget*>(c.name), static_cast<QWidget*>(c.httpPort),
                             static_cast<QWidget*>(c.newMac), static_cast<QWidget*>(c.pppoe),
                             static_cast<QWidget*>(c.dhcp), static_cast<QWidget*>(c.staticMode),
                             static_cast<QWidget*>(c.submit)}) {
        control->setEnabled(editable);
    }
}

// A text the user has not touched still reads as it was filled in; it is read again.
static void ReadTextAgain(QLineEdit* edit, std::string& shown, const std::string& now) {
    if (edit->text() == Utf8Text(shown)) {
        ShowField(edit, Utf8Text(now));
    }
    shown = now;
}

// The camera shown, never another that the list may have turned to since: its MAC in the
// frame's caption and its texts stay together.
void CDetailsPanel::ReadAgain() {
    if (!m_slot || !ShowsDevice()) {
        return;
    }
    const DeviceRecord& record = m_roster.Record(*m_slot);
    const ChangeValues now = EditableValues(record, m_context.Codec());
    ReadTextAgain(m_controls.name, m_shown.name, now.name);
    ReadTextAgain(m_controls.pppoeAccount, m_shown.pppoeAccount, now.pppoeAccount);
    ReadTextAgain(m_controls.pppoePassword, m_shown.pppoePassword, now.pppoePassword);
    m_controls.info->setText(InfoLine());
    ShowSubnetWarning();
}

ChangeValues CDetailsPanel::Gather() const {
    const PanelControls& c = m_controls;
    ChangeValues values;
    values.mac = Utf8Bytes(c.macGroup->title());
    // A cleared MAC-change field asks for no new MAC, as any text that is no MAC does.
    if (IsMacChangeShown() && !c.newMac->text().isEmpty()) {
        values.newMac = Utf8Bytes(c.newMac->text());
    }
    values.name = Utf8Bytes(c.name->text());
    values.pppoeAccount = Utf8Bytes(c.pppoeAccount->text());
    values.pppoePassword = Utf8Bytes(c.pppoePassword->text());
    values.ip = Utf8Bytes(c.ip->text());
    values.netmask = Utf8Bytes(c.netmask->text());
    values.gateway = Utf8Bytes(c.gateway->text());
    values.httpPort = Utf8Bytes(c.httpPort->text());
    values.mode = c.pppoe->isChecked()  ? NetMode::Pppoe
                  : c.dhcp->isChecked() ? NetMode::Dhcp
                                        : NetMode::Static;
    return values;
}

// No device selected, and nothing that Submit could send.
void CDetailsPanel::Clear() {
    m_slot.reset();
    const PanelControls& c = m_controls;
    c.submit->setEnabled(false);
    for (QLineEdit* edit : {c.name, c.newMac, c.ip, c.netmask, c.gateway, c.httpPort,
                            c.pppoeAccount, c.pppoePassword}) {
        edit->clear();
    }
    c.info->clear();
    c.macGroup->setTitle(QString::fromLatin1(NO_DEVICE_MAC_TEXT));
    c.pppoe->setChecked(false);
    c.staticMode->setChecked(false);
    c.dhcp->setChecked(false);
    HideSubnetWarning();
}

bool CDetailsPanel::ShowsDevice() const {
    return m_controls.macGroup->title() != QString::fromLatin1(NO_DEVICE_MAC_TEXT);
}

void CDetailsPanel::PickMode(NetMode mode) {
    CheckRadios(mode);
    SetFieldsEnabled(mode == NetMode::Static, mode == NetMode::Pppoe);
}

void CDetailsPanel::ShowAddressProposal(const AddressProposal& proposal) {
    PickMode(NetMode::Static); // an address of one's own is a static one
    ShowField(m_controls.ip, Utf8Text(proposal.ip));
    ShowField(m_controls.netmask, Utf8Text(proposal.netmask));
    ShowField(m_controls.gateway, Utf8Text(proposal.gateway));
}

void CDetailsPanel::SetSubmitEnabled(bool enabled) {
    m_controls.submit->setEnabled(enabled);
}

void CDetailsPanel::ShowMacChange(bool shown) {
    m_controls.newMac->setVisible(shown);
    m_controls.macLabel->setVisible(shown);
}

void CDetailsPanel::OnWindowTexts() {
    m_controls.macLabel->setText(m_context.Tr(TEXT_FIELD_MAC));
    m_controls.moveIntoNetwork->setText(m_context.Tr(TEXT_SEARCH_MOVE_INTO_NETWORK));
    ReadAgain();
}

// A read-only camera takes no new address; a card without an address has no subnet.
void CDetailsPanel::ShowSubnetWarning() {
    const DeviceRecord& record = m_roster.Record(*m_slot);
    const ReplyArrival& arrival = m_roster.Arrival(*m_slot);
    if (SameSubnet(record, arrival)) {
        HideSubnetWarning();
        return;
    }
    const QString warning = Utf8Text(ForeignSubnetText(record, arrival, m_context.Lookup()));
    m_controls.subnetWarning->setText(warning);
    m_controls.subnetWarning->setToolTip(warning);
    m_controls.subnetWarning->show();
    m_controls.moveIntoNetwork->setEnabled(record.readOnly != 1 && arrival.interfaceAddress != 0);
    m_controls.moveIntoNetwork->setToolTip(warning);
    m_controls.moveIntoNetwork->show();
}

void CDetailsPanel::HideSubnetWarning() {
    m_controls.subnetWarning->hide();
    m_controls.moveIntoNetwork->hide();
}

void CDetailsPanel::OnMoveIntoNetwork() {
    if (!m_slot) {
        return;
    }
    const ReplyArrival& arrival = m_roster.Arrival(*m_slot);
    const std::optional<AddressProposal> proposal = ProposeAddress(m_roster.Table(), arrival);
    if (!proposal) {
        m_controls.subnetWarning->setText(
            m_context.TrFilled(TEXT_SEARCH_NO_FREE_ADDRESS, {InterfaceAddressText(arrival)}));
        return;
    }
    ShowAddressProposal(*proposal);
}

void CDetailsPanel::ShowNote(const QString& text) {
    m_controls.info->setText(text);
}
