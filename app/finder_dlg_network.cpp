// Where each camera answered: the list entries' marks and tips, the status line's summary
// of a search, and the warning and the move of a camera outside the subnet of its card.

#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include <algorithm>

#include "app/dialog_units.h"
#include "app/finder_dlg.h"
#include "core/messages/fill_text.h"
#include "core/net/net_interfaces.h"
#include "core/present/device_list.h"
#include "core/present/search_texts.h"
#include "core/rules/address_proposal.h"
#include "skin/transparent_static.h"

// The warning's red: it must stand out from the labels' navy on the skin.
static const QColor SUBNET_WARNING_COLOUR(170, 0, 0);

// Under the "Address:" label, left of the panel's frame, lies free space of the template:
// the warning and its button go there, in a smaller face, so the fixed layout stays as it is.
void CFinderDlg::CreateNetworkControls() {
    QFont small = font();
    small.setPointSize(7);
    m_stcSubnetWarning = new CTransparentStatic(this);
    m_stcSubnetWarning->setFont(small);
    m_stcSubnetWarning->setWordWrap(true);
    m_stcSubnetWarning->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_stcSubnetWarning->SetTextColor(SUBNET_WARNING_COLOUR);
    m_stcSubnetWarning->setGeometry(ToWidget(DialogRectToPixels(4, 165, 69, 58)));
    m_stcSubnetWarning->setProperty(CONTROL_ID_PROPERTY, IDC_SUBNET_WARNING);
    m_stcSubnetWarning->hide();

    m_btnMoveIntoNetwork =
        new QPushButton(QString::fromUtf8(TEXT_SEARCH_MOVE_INTO_NETWORK.english), this);
    m_btnMoveIntoNetwork->setAutoDefault(false);
    m_btnMoveIntoNetwork->setFont(small);
    m_btnMoveIntoNetwork->setGeometry(ToWidget(DialogRectToPixels(2, 226, 71, 16)));
    m_btnMoveIntoNetwork->setProperty(CONTROL_ID_PROPERTY, IDC_MOVE_INTO_NETWORK);
    m_btnMoveIntoNetwork->hide();
    connect(m_btnMoveIntoNetwork, &QPushButton::clicked, this, &CFinderDlg::OnMoveIntoNetwork);

    // The mark of a camera outside its card's subnet, no taller than an entry's text.
    m_lstDevices->setIconSize(QSize(11, 11));

    m_summaryTimer = new QTimer(this);
    m_summaryTimer->setSingleShot(true);
    m_summaryTimer->setInterval(SEARCH_SUMMARY_DELAY_MS);
    connect(m_summaryTimer, &QTimer::timeout, this, [this] {
        m_bSummaryShown = true;
        ShowSearchSummary();
    });
}

// The lines of an entry's tip that name the camera's IP, MAC and the card it answered on.
QString CFinderDlg::CardToolTip(int slot) const {
    const DeviceRecord& record = m_table->slot[slot];
    const ReplyArrival& arrival = m_arrivals->slot[slot];
    const TextLookup tr = WindowTextLookup();
    std::string card = CardName(arrival, tr);
    if (arrival.interfaceAddress != 0) {
        card += " (" + InterfaceAddressText(arrival) + ")";
    }
    return Utf8Text(
        FillText(tr(TEXT_SEARCH_DEVICE_TIP), {FieldText(record.ip), MacToText(record.mac), card}));
}

// The whole tip of a list entry: the web page, then the card the camera answered on.
QString CFinderDlg::EntryToolTip(int slot) const {
    return DeviceEntryToolTip(m_table->slot[slot], Tr(TEXT_TIP_DOUBLE_CLICK)) + QLatin1Char('\n') +
           CardToolTip(slot);
}

// A camera outside its card's subnet carries a warning mark in front of its text (the
// text itself, and so the order, stay as listed).
void CFinderDlg::DecorateEntry(int slot) const {
    QListWidgetItem* item = m_entryOfSlot[static_cast<std::size_t>(slot)];
    const DeviceRecord& record = m_table->slot[slot];
    const ReplyArrival& arrival = m_arrivals->slot[slot];
    item->setToolTip(EntryToolTip(slot));
    // Every entry gets an icon, a blank one when in the subnet, so that the texts line up.
    QPixmap blank(m_lstDevices->iconSize());
    blank.fill(Qt::transparent);
    item->setIcon(SameSubnet(record, arrival)
                      ? QIcon(blank)
                      : style()->standardIcon(QStyle::SP_MessageBoxWarning));
}

void CFinderDlg::ShowSubnetWarning(std::optional<int> slot) {
    const bool foreign = slot && !SameSubnet(m_table->slot[*slot], m_arrivals->slot[*slot]);
    if (!foreign) {
        m_stcSubnetWarning->hide();
        m_btnMoveIntoNetwork->hide();
        return;
    }
    const DeviceRecord& record = m_table->slot[*slot];
    const ReplyArrival& arrival = m_arrivals->slot[*slot];
    const QString warning = Utf8Text(ForeignSubnetText(record, arrival, WindowTextLookup()));
    m_stcSubnetWarning->setText(warning);
    m_stcSubnetWarning->setToolTip(warning);
    m_stcSubnetWarning->show();
    // A read-only camera takes no new address; a card without an address has no subnet.
    m_btnMoveIntoNetwork->setEnabled(record.readOnly != 1 && arrival.interfaceAddress != 0);
    m_btnMoveIntoNetwork->setToolTip(warning);
    m_btnMoveIntoNetwork->show();
}

// Fills IP, Submask and Gateway with an address of the card's subnet; nothing is sent
// until the user presses Submit.
void CFinderDlg::OnMoveIntoNetwork() {
    const std::optional<int> slot = SelectedSlot();
    if (!slot) {
        return;
    }
    const ReplyArrival& arrival = m_arrivals->slot[*slot];
    const std::optional<AddressProposal> proposal = ProposeAddress(*m_table, arrival);
    if (!proposal) {
        m_stcSubnetWarning->setText(
            Utf8Text(FillText(m_language.Texts().Text(TEXT_SEARCH_NO_FREE_ADDRESS),
                              {InterfaceAddressText(arrival)})));
        return;
    }
    OnModeStatic(); // an address of one's own is a static one
    m_edtIp->setText(Utf8Text(proposal->ip));
    m_edtNetmask->setText(Utf8Text(proposal->netmask));
    m_edtGateway->setText(Utf8Text(proposal->gateway));
}

void CFinderDlg::ClearArrivalState() {
    ClearArrivals(*m_arrivals);
    m_nDropped = 0;
    m_bSummaryShown = false;
    if (m_summaryTimer != nullptr) {
        m_summaryTimer->stop();
    }
}

// After the send of the search's own query, when it went out well: the summary follows once
// the cameras have had time to answer. A set request's send, or a confirmation's query, may
// come in a batch of its own before it and leaves the search waiting.
void CFinderDlg::StartSearchSummary(const WorkerOutcome& sent) {
    if (m_bQueryPending && sent.kind == WorkerOutcomeKind::Ok) {
        m_summaryTimer->start();
    }
    m_bQueryPending = false;
}

// "12 cameras on eth0, eth1", or plainly that nothing answered and where the finder looked.
void CFinderDlg::ShowSearchSummary() {
    const TextLookup tr = WindowTextLookup();
    std::vector<std::string> cards;
    int cameras = 0;
    for (int slot = 0; slot < DEVICE_TABLE_SLOTS; ++slot) {
        if (m_table->slot[slot].id == 0) {
            continue;
        }
        ++cameras;
        const std::string card = CardName(m_arrivals->slot[slot], tr);
        if (std::find(cards.begin(), cards.end(), card) == cards.end()) {
            cards.push_back(card);
        }
    }
    std::sort(cards.begin(), cards.end());
    std::string text;
    QString tip;
    if (cameras > 0) {
        text = FoundText(cameras, cards, tr);
    } else {
        const std::vector<NetInterface> searched =
            m_endpoints.SendsPerInterface()
                ? SearchedInterfaces(ListInterfaces(), m_endpoints.interfaces)
                : std::vector<NetInterface>{{m_endpoints.destinationAddress}};
        text = NothingFoundText(searched, tr) + ". " + tr(TEXT_SEARCH_LIKELY_CAUSES);
        tip = Utf8Text(text);
    }
    if (m_nDropped > 0) {
        text += "; " + FillText(tr(TEXT_SEARCH_TABLE_FULL), {std::to_string(m_nDropped)});
    }
    m_stcStatus->setToolTip(tip);
    m_stcStatus->setText(Utf8Text(text));
}
