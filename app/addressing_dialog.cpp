#include "app/addressing_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStringList>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "app/desktop_hooks.h"
#include "app/qt_helpers.h"
#include "app/status_line.h"
#include "app/window_context.h"
#include "app/worker_link.h"
#include "core/messages/fill_text.h"
#include "core/messages/finder_texts.h"
#include "core/plan/addressing_plan.h"
#include "core/plan/plan_report.h"
#include "core/plan/plan_session.h"
#include "core/rules/address_proposal.h"
#include "core/rules/settings_checks.h"
#include "core/session/camera_roster.h"
#include "core/status/status_text.h"

namespace {

// The dialog's size on screen: wide enough for the changes of a row.
constexpr int PLAN_DIALOG_WIDTH = 920;
constexpr int PLAN_DIALOG_MIN_HEIGHT = 320;
constexpr int PLAN_DIALOG_SCREEN_MARGIN = 40; // the window frame's caption and the desktop's bar

enum PlanColumn {
    COLUMN_MAC,
    COLUMN_NAME,
    COLUMN_IP_NOW,
    COLUMN_NEW_IP,
    COLUMN_CHANGES,
    COLUMN_RESULT,
    COLUMN_COUNT
};

// The orders of the order list, in its order.
const struct {
    const WindowText& text;
    PlanOrder order;
} ORDERS[] = {{PLAN_TEXT_ORDER_GIVEN, PlanOrder::Given},
              {PLAN_TEXT_ORDER_MAC, PlanOrder::Mac},
              {PLAN_TEXT_ORDER_NAME, PlanOrder::Name},
              {PLAN_TEXT_ORDER_IP, PlanOrder::Ip}};

std::optional<std::string> FieldValue(const QLineEdit* edit) {
    const std::string text = edit->text().trimmed().toStdString();
    return text.empty() ? std::nullopt : std::optional<std::string>(text);
}

void SetCell(QTableWidget* table, int row, int column, const QString& text,
             const QString& tip = QString()) {
    auto* cell = table->item(row, column);
    if (cell == nullptr) {
        cell = new QTableWidgetItem;
        table->setItem(row, column, cell);
    }
    cell->setText(text);
    cell->setToolTip(tip.isEmpty() ? text : tip);
}

} // namespace

CAddressingDialog::CAddressingDialog(QWidget* parent, const PlanDialogParts& parts,
                                     std::vector<int> cameras)
    : CAddressingDialog(parent, parts, std::move(cameras), std::nullopt) {
    ProposeAddresses();
    Rebuild();
    FitToRows();
}

CAddressingDialog::CAddressingDialog(QWidget* parent, const PlanDialogParts& parts, PlanFile file,
                                     const QString& fileName)
    : CAddressingDialog(parent, parts, {}, std::move(file)) {
    // Which plan it is: the file's name beside the dialog's own.
    setWindowTitle(m_parts.context.Tr(PLAN_TEXT_TITLE) + QStringLiteral(" \u2014 ") + fileName);
    Rebuild();
    FitToRows();
}

CAddressingDialog::CAddressingDialog(QWidget* parent, const PlanDialogParts& parts,
                                     std::vector<int> cameras, std::optional<PlanFile> file)
    : QDialog(parent), m_parts(parts), m_table(std::make_unique<DeviceTable>(parts.roster.Table())),
      m_arrivals(std::make_unique<ArrivalTable>(parts.roster.Arrivals())),
      m_slots(std::move(cameras)), m_file(std::move(file)), m_pace(new QTimer(this)),
      m_confirmTimer(new QTimer(this)) {
    m_pace->setSingleShot(true);
    m_confirmTimer->setSingleShot(true);
    connect(m_pace, &QTimer::timeout, this, &CAddressingDialog::SendNext);
    connect(m_confirmTimer, &QTimer::timeout, this, &CAddressingDialog::OnConfirmTick);
    connect(&parts.worker, &CWorkerLink::Sent, this, &CAddressingDialog::OnWorkerSent);
    connect(&parts.worker, &CWorkerLink::Failed, this, &CAddressingDialog::OnWorkerFailed);
    connect(&parts.worker, &CWorkerLink::Reply, this, &CAddressingDialog::OnWorkerReply);
    CreateControls();
}

CAddressingDialog::~CAddressingDialog() = default;

void CAddressingDialog::CreateControls() {
    setWindowTitle(m_parts.context.Tr(PLAN_TEXT_TITLE));
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QGridLayout;
    const auto addField = [&](int row, int column, const WindowText& label, QWidget* field) {
        fields->addWidget(new QLabel(m_parts.context.Tr(label), this), row, column);
        fields->addWidget(field, row, column + 1);
        return field;
    };
    m_firstIp = new QLineEdit(this);
    m_netmask = new QLineEdit(this);
    m_gateway = new QLineEdit(this);
    m_names = new QLineEdit(this);
    m_order = new QComboBox(this);
    addField(0, 0, PLAN_TEXT_FIRST_IP, m_firstIp);
    addField(0, 2, TEXT_FIELD_NETMASK, m_netmask);
    addField(0, 4, TEXT_FIELD_GATEWAY, m_gateway);
    addField(1, 0, PLAN_TEXT_NAMES, m_names)->setToolTip(m_parts.context.Tr(PLAN_TEXT_NAMES_TIP));
    addField(1, 2, PLAN_TEXT_ORDER, m_order);
    for (const auto& order : ORDERS) {
        m_order->addItem(m_parts.context.Tr(order.text));
    }
    m_names->setPlaceholderText(QStringLiteral("Dock {n:02}"));
    // A plan file brings its own settings: the rule's fields have nothing to say.
    if (m_file) {
        for (QWidget* field : findChildren<QWidget*>()) {
            field->hide();
        }
    } else {
        layout->addLayout(fields);
    }

    m_rows = new QTableWidget(0, COLUMN_COUNT, this);
    m_rows->setHorizontalHeaderLabels(
        {m_parts.context.Tr(TEXT_FIELD_MAC), m_parts.context.Tr(TEXT_FIELD_NAME),
         m_parts.context.Tr(PLAN_TEXT_IP_NOW), m_parts.context.Tr(PLAN_TEXT_NEW_IP),
         m_parts.context.Tr(PLAN_TEXT_CHANGES), m_parts.context.Tr(PLAN_TEXT_RESULT)});
    m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_rows->setSelectionMode(QAbstractItemView::NoSelection);
    m_rows->setTabKeyNavigation(false); // Tab goes on to Send
    m_rows->verticalHeader()->hide();
    m_rows->horizontalHeader()->setSectionResizeMode(COLUMN_CHANGES, QHeaderView::Stretch);
    layout->addWidget(m_rows);

    m_note = new QLabel(this);
    m_note->setWordWrap(true);
    m_note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_note);

    auto* buttons = new QHBoxLayout;
    m_send = new QPushButton(m_parts.context.Tr(PLAN_TEXT_SEND), this);
    m_save = new QPushButton(m_parts.context.Tr(PLAN_TEXT_SAVE_REPORT), this);
    m_close = new QPushButton(m_parts.context.Tr(PLAN_TEXT_CLOSE), this);
    m_save->setEnabled(false); // once there is a result to report
    buttons->addStretch();
    for (QPushButton* button : {m_send, m_save, m_close}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    m_rows->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

    for (QLineEdit* field : {m_firstIp, m_netmask, m_gateway, m_names}) {
        connect(field, &QLineEdit::textChanged, this, &CAddressingDialog::Rebuild);
    }
    connect(m_order, &QComboBox::currentIndexChanged, this, &CAddressingDialog::Rebuild);
    connect(m_send, &QPushButton::clicked, this, &CAddressingDialog::OnSend);
    connect(m_save, &QPushButton::clicked, this, &CAddressingDialog::OnSaveReport);
    connect(m_close, &QPushButton::clicked, this, &CAddressingDialog::reject);
}

// "Move into my network" for the first camera: a free address of its card's subnet, the
// card's mask and gateway. A camera whose card is not known leaves the fields to the user.
void CAddressingDialog::ProposeAddresses() {
    if (m_slots.empty()) {
        return;
    }
    const std::optional<AddressProposal> proposal =
        ProposeAddress(*m_table, m_arrivals->slot[m_slots.front()]);
    if (proposal) {
        const QSignalBlocker blockIp(m_firstIp), blockMask(m_netmask), blockGateway(m_gateway);
        m_firstIp->setText(Utf8Text(proposal->ip));
        m_netmask->setText(Utf8Text(proposal->netmask));
        m_gateway->setText(Utf8Text(proposal->gateway));
    }
    // What the user gave the plan before in this session comes back over the proposal.
    const PlanFieldMemory& kept = m_parts.remembered;
    const QSignalBlocker blockMask(m_netmask), blockGateway(m_gateway), blockNames(m_names);
    for (const auto& [field, text] :
         {std::pair{m_netmask, kept.netmask}, std::pair{m_gateway, kept.gateway},
          std::pair{m_names, kept.names}}) {
        if (!text.isEmpty()) {
            field->setText(text);
        }
    }
}

void CAddressingDialog::RememberFields() {
    if (!m_file) {
        m_parts.remembered = {m_netmask->text(), m_gateway->text(), m_names->text()};
    }
}

// The plan as the fields give it now, checked; its rows follow.
void CAddressingDialog::Rebuild() {
    m_plan.reset();
    m_refusal.reset();
    const TextLookup tr = m_parts.context.Lookup();
    const CTextCodec codec = m_parts.context.Codec();
    std::vector<ChangeValues> changes;
    QString note;
    if (m_file) {
        changes = m_file->changes;
    } else {
        const AddressingRequest request{
            m_firstIp->text().trimmed().toStdString(), FieldValue(m_netmask), FieldValue(m_gateway),
            ORDERS[static_cast<std::size_t>(std::max(0, m_order->currentIndex()))].order,
            m_names->text().toStdString()};
        AddressingPlan addressing =
            PlanAddresses(*m_table, *m_arrivals, m_slots, request, g_pfnLocalNetworks(), tr, codec);
        note = Utf8Text(addressing.refusal);
        changes = std::move(addressing.changes);
    }
    if (note.isEmpty()) {
        m_plan = std::make_unique<CChangePlan>(*m_table, *m_arrivals, std::move(changes));
        m_refusal = m_plan->Check(g_pfnLocalNetworks(), tr, codec);
    }
    if (m_refusal) {
        const std::string reason =
            m_plan->CameraText(m_refusal->step, tr, codec, m_refusal->reason);
        note = Utf8Text(m_file ? FillText(tr(PLAN_TEXT_FILE_AT),
                                          {std::to_string(m_file->lines[m_refusal->step]), reason})
                               : reason);
    }
    ShowNote(note);
    ShowRows();
    m_send->setEnabled(m_plan && !m_refusal && !m_plan->ToSend().empty());
}

// Tall enough for every row of a site's box of cameras, where the screen has the room.
void CAddressingDialog::FitToRows() {
    const int rowHeight = m_rows->verticalHeader()->defaultSectionSize();
    const int wanted = sizeHint().height() - m_rows->sizeHint().height() +
                       m_rows->horizontalHeader()->sizeHint().height() +
                       m_rows->rowCount() * rowHeight + 2 * m_rows->frameWidth() + 2;
    const QScreen* screen = parentWidget()->screen();
    const int room = screen != nullptr
                         ? screen->availableGeometry().height() - PLAN_DIALOG_SCREEN_MARGIN
                         : wanted;
    resize(PLAN_DIALOG_WIDTH,
           std::clamp(wanted, PLAN_DIALOG_MIN_HEIGHT, std::max(room, PLAN_DIALOG_MIN_HEIGHT)));
}

void CAddressingDialog::ShowNote(const QString& text) {
    m_note->setText(text);
}

// Each camera: what it is, what it becomes, the mark of a conflict and its result.
void CAddressingDialog::ShowRows() {
    const TextLookup tr = m_parts.context.Lookup();
    const CTextCodec codec = m_parts.context.Codec();
    if (!m_plan) { // no plan: the cameras as they are
        m_rows->setRowCount(static_cast<int>(m_slots.size()));
        for (std::size_t row = 0; row < m_slots.size(); ++row) {
            const DeviceRecord& camera = m_table->slot[m_slots[row]];
            const int r = static_cast<int>(row);
            SetCell(m_rows, r, COLUMN_MAC, Utf8Text(MacToText(camera.mac)));
            SetCell(m_rows, r, COLUMN_NAME,
                    Utf8Text(codec.Shown(FieldText(camera.name), ITEM_WIDTH_NAME)));
            SetCell(m_rows, r, COLUMN_IP_NOW, Utf8Text(FieldText(camera.ip)));
            for (const int column : {COLUMN_NEW_IP, COLUMN_CHANGES, COLUMN_RESULT}) {
                SetCell(m_rows, r, column, QString());
            }
            m_rows->item(r, COLUMN_MAC)->setIcon(QIcon());
        }
        return;
    }
    const std::vector<PlanReportRow> report = PlanReport(*m_plan, FormatOptions{codec}, tr);
    m_rows->setRowCount(static_cast<int>(report.size()));
    for (std::size_t step = 0; step < report.size(); ++step) {
        const PlanReportRow& row = report[step];
        const int r = static_cast<int>(step);
        SetCell(m_rows, r, COLUMN_MAC, Utf8Text(row.mac));
        SetCell(m_rows, r, COLUMN_NAME, Utf8Text(row.name));
        // A confirmed camera answers at its new address now.
        const bool moved = m_plan->State(step) == PlanState::Confirmed;
        SetCell(m_rows, r, COLUMN_IP_NOW,
                Utf8Text(FieldText((moved ? m_plan->After(step) : m_plan->Before(step)).ip)));
        SetCell(m_rows, r, COLUMN_NEW_IP, Utf8Text(FieldText(m_plan->After(step).ip)));
        SetCell(m_rows, r, COLUMN_CHANGES, Utf8Text(ChangesText(row.changes)));
        const bool sending = m_inFlight == step;
        SetCell(m_rows, r, COLUMN_RESULT,
                sending ? m_parts.context.Tr(PLAN_TEXT_SENDING)
                        : m_parts.context.Tr(PlanResultText(m_plan->State(step))),
                Utf8Text(row.detail));
        // The mark of a conflict: a refusal, or a risk the user is asked about.
        QString conflict;
        QStyle::StandardPixmap mark = QStyle::SP_MessageBoxWarning;
        if (m_refusal && m_refusal->step == step) {
            conflict = Utf8Text(m_refusal->reason);
            mark = QStyle::SP_MessageBoxCritical;
        }
        for (const PlanWarning& warning : m_plan->Warnings()) {
            if (warning.step == step) {
                conflict += (conflict.isEmpty() ? "" : "\n") + Utf8Text(warning.sentence);
            }
        }
        QTableWidgetItem* mac = m_rows->item(r, COLUMN_MAC);
        mac->setIcon(conflict.isEmpty() ? QIcon() : style()->standardIcon(mark));
        mac->setToolTip(conflict.isEmpty() ? mac->text() : conflict);
    }
    m_rows->resizeColumnToContents(COLUMN_MAC);
}

// One question for every risk of the plan, each naming its camera; then the requests go,
// one at a time.
void CAddressingDialog::OnSend() {
    if (m_running) {
        OnStop();
        return;
    }
    if (!m_plan || m_refusal) {
        return;
    }
    const TextLookup tr = m_parts.context.Lookup();
    if (!m_plan->Warnings().empty()) {
        QStringList risks;
        for (const PlanWarning& warning : m_plan->Warnings()) {
            risks << Utf8Text(
                m_plan->CameraText(warning.step, tr, m_parts.context.Codec(), warning.sentence));
        }
        if (!Ask(this, m_parts.context.Tr(PLAN_TEXT_TITLE), risks.join(QLatin1Char('\n')),
                 m_parts.context.Tr(APPLY_TEXT_SEND_ANYWAY),
                 m_parts.context.Tr(APPLY_TEXT_CANCEL))) {
            return;
        }
    }
    m_running = true;
    for (QWidget* field : {static_cast<QWidget*>(m_firstIp), static_cast<QWidget*>(m_netmask),
                           static_cast<QWidget*>(m_gateway), static_cast<QWidget*>(m_names),
                           static_cast<QWidget*>(m_order)}) {
        field->setEnabled(false);
    }
    m_send->setText(m_parts.context.Tr(PLAN_TEXT_STOP));
    ShowNote(QString());
    m_toSend = m_plan->ToSend();
    m_next = 0;
    SendNext();
}

void CAddressingDialog::SendNext() {
    if (!m_running) {
        return;
    }
    if (m_parts.worker.StopRequested()) {
        Finish(true); // no worker to send anything
        return;
    }
    if (m_next < m_toSend.size()) {
        m_inFlight = m_toSend[m_next++];
        m_lastSent.reset();
        m_parts.worker.SetCommand(m_plan->Command(*m_inFlight));
        ShowRows();
        return;
    }
    m_lastSent.reset(); // what fails from now on is a query of the rounds
    if (!m_plan->Waiting()) {
        Finish(false);
        return;
    }
    m_confirmTick = 0;
    m_confirmTimer->start(m_plan->Schedule().front());
}

// The request in flight went out: the next one follows after a pause.
void CAddressingDialog::OnWorkerSent() {
    if (!m_running || !m_inFlight) {
        return;
    }
    const std::size_t step = *m_inFlight;
    m_inFlight.reset();
    if (m_plan->State(step) == PlanState::Planned) { // not when its failure came first
        m_plan->MarkSent(step);
        m_lastSent = step;
    }
    ShowRows();
    m_pace->start(PLAN_SEND_INTERVAL_MS);
}

// A failed send is that of the request in flight, or of the one just reported sent.
void CAddressingDialog::OnWorkerFailed(const WorkerOutcome& outcome) {
    const std::optional<std::size_t> step = m_inFlight ? m_inFlight : m_lastSent;
    if (!m_running || !step || outcome.kind == WorkerOutcomeKind::ReceiveFailed) {
        return;
    }
    m_plan->MarkFailed(*step, StatusLine(outcome));
    m_lastSent.reset();
    ShowRows();
}

void CAddressingDialog::OnWorkerReply(const DeviceRecord& record) {
    if (m_running && m_confirmTick > 0) {
        m_plan->OnReply(record);
    }
}

// Each moment of the plan's schedule judges the round before it for every camera still
// waited for and, unless none is, queries again: one round for all of them.
void CAddressingDialog::OnConfirmTick() {
    if (!m_running) {
        return;
    }
    const std::vector<int>& schedule = m_plan->Schedule();
    const bool last = m_confirmTick + 1 >= schedule.size();
    if (m_confirmTick > 0 && m_plan->EndRound(last)) {
        Finish(false);
        return;
    }
    ShowRows();
    m_plan->StartRound();
    WorkerCommand query;
    query.command = CMD_QUERY;
    query.targets = m_plan->QueryTargets();
    m_parts.worker.SetCommand(std::move(query));
    ++m_confirmTick;
    m_confirmTimer->start(schedule[m_confirmTick] - schedule[m_confirmTick - 1]);
}

void CAddressingDialog::OnStop() {
    if (m_running) {
        Finish(true);
    }
}

// The outcome in the dialog and on the window's status line, which keeps it once the
// dialog is closed.
void CAddressingDialog::Finish(bool stopped) {
    m_pace->stop();
    m_confirmTimer->stop();
    m_inFlight.reset();
    if (stopped) {
        m_plan->Stop();
    }
    m_running = false;
    ShowRows();
    int counts[3] = {0, 0, 0}; // confirmed, not confirmed, unchanged
    for (std::size_t step = 0; step < m_plan->Size(); ++step) {
        const PlanState state = m_plan->State(step);
        ++counts[state == PlanState::Confirmed ? 0 : state == PlanState::Unchanged ? 2 : 1];
    }
    QString summary = m_parts.context.TrFilled(
        PLAN_TEXT_SUMMARY,
        {std::to_string(counts[0]), std::to_string(counts[1]), std::to_string(counts[2])});
    if (stopped) {
        std::size_t went = 0;
        for (const std::size_t step : m_toSend) {
            went += m_plan->WentOut(step) ? 1 : 0;
        }
        summary =
            m_parts.context.TrFilled(
                PLAN_TEXT_STOPPED, {std::to_string(went), std::to_string(m_toSend.size() - went)}) +
            QStringLiteral("; ") + summary;
    }
    ShowNote(summary);
    m_parts.status.ShowHeld([summary] { return summary; });
    m_send->setText(m_parts.context.Tr(PLAN_TEXT_SEND));
    m_send->setEnabled(false); // the plan is done: a new one starts from a new search
    m_save->setEnabled(true);
}

void CAddressingDialog::reject() {
    OnStop();
    RememberFields();
    QDialog::reject();
}

// The report as finder-cli apply --csv writes it, the details in the window's language.
void CAddressingDialog::OnSaveReport() {
    if (!m_plan) {
        return;
    }
    QString filter = m_parts.context.Tr(TEXT_EXPORT_CSV);
    QString path = AskSaveFile(this, m_parts.context.Tr(PLAN_TEXT_REPORT_TITLE), filter, &filter);
    if (path.isEmpty()) {
        return;
    }
    if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        path += QStringLiteral(".csv");
    }
    const std::string text = PlanReportCsv(
        PlanReport(*m_plan, FormatOptions{m_parts.context.Codec()}, m_parts.context.Lookup()));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !file.commit()) {
        ShowMessage(this, m_parts.context.Tr(PLAN_TEXT_TITLE),
                    m_parts.context.Tr(TEXT_EXPORT_FAILED).arg(path, file.errorString()));
    }
}
