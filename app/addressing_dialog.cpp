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
#include "app/finder_dlg.h"
#include "core/messages/fill_text.h"
#include "core/messages/finder_texts.h"
#include "core/plan/addressing_plan.h"
#include "core/plan/plan_report.h"
#include "core/rules/address_proposal.h"
#include "core/rules/settings_checks.h"
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

CAddressingDialog::CAddressingDialog(CFinderDlg& finder, std::vector<int> cameras)
    : CAddressingDialog(finder, std::move(cameras), std::nullopt) {
    ProposeAddresses();
    Rebuild();
    FitToRows();
}

CAddressingDialog::CAddressingDialog(CFinderDlg& finder, PlanFile file)
    : CAddressingDialog(finder, {}, std::move(file)) {
    Rebuild();
    FitToRows();
}

CAddressingDialog::CAddressingDialog(CFinderDlg& finder, std::vector<int> cameras,
                                     std::optional<PlanFile> file)
    : QDialog(&finder), m_finder(finder), m_table(std::make_unique<DeviceTable>(finder.Table())),
      m_arrivals(std::make_unique<ArrivalTable>(finder.Arrivals())), m_slots(std::move(cameras)),
      m_file(std::move(file)), m_timer(new QTimer(this)) {
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &CAddressingDialog::OnTick);
    connect(&finder, &CFinderDlg::WorkerSent, this, &CAddressingDialog::OnWorkerSent);
    connect(&finder, &CFinderDlg::WorkerFailed, this, &CAddressingDialog::OnWorkerFailed);
    connect(&finder, &CFinderDlg::WorkerReply, this, &CAddressingDialog::OnWorkerReply);
    CreateControls();
}

CAddressingDialog::~CAddressingDialog() = default;

void CAddressingDialog::CreateControls() {
    setWindowTitle(m_finder.Tr(PLAN_TEXT_TITLE));
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QGridLayout;
    const auto addField = [&](int row, int column, const WindowText& label, QWidget* field) {
        fields->addWidget(new QLabel(m_finder.Tr(label), this), row, column);
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
    addField(1, 0, PLAN_TEXT_NAMES, m_names)->setToolTip(m_finder.Tr(PLAN_TEXT_NAMES_TIP));
    addField(1, 2, PLAN_TEXT_ORDER, m_order);
    for (const auto& order : ORDERS) {
        m_order->addItem(m_finder.Tr(order.text));
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
    m_rows->setHorizontalHeaderLabels({m_finder.Tr(TEXT_FIELD_MAC), m_finder.Tr(TEXT_FIELD_NAME),
                                       m_finder.Tr(PLAN_TEXT_IP_NOW), m_finder.Tr(PLAN_TEXT_NEW_IP),
                                       m_finder.Tr(PLAN_TEXT_CHANGES),
                                       m_finder.Tr(PLAN_TEXT_RESULT)});
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
    m_send = new QPushButton(m_finder.Tr(PLAN_TEXT_SEND), this);
    m_save = new QPushButton(m_finder.Tr(PLAN_TEXT_SAVE_REPORT), this);
    m_close = new QPushButton(m_finder.Tr(PLAN_TEXT_CLOSE), this);
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
}

// The plan as the fields give it now, checked; its rows follow.
void CAddressingDialog::Rebuild() {
    m_plan.reset();
    m_refusal.reset();
    const TextLookup tr = m_finder.WindowTextLookup();
    const CTextCodec codec = m_finder.Codec();
    std::vector<ChangeValues> changes;
    std::vector<PlanWarning> risks; // of the names a template cuts
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
        risks = std::move(addressing.warnings);
    }
    if (note.isEmpty()) {
        m_plan = std::make_unique<CChangePlan>(*m_table, *m_arrivals, std::move(changes));
        m_refusal = m_plan->Validate(g_pfnLocalNetworks(), tr, codec);
        m_plan->AddWarnings(risks);
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
    const QScreen* screen = m_finder.screen();
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
    const TextLookup tr = m_finder.WindowTextLookup();
    const CTextCodec codec = m_finder.Codec();
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
        SetCell(m_rows, r, COLUMN_IP_NOW, Utf8Text(FieldText(m_plan->Before(step).ip)));
        SetCell(m_rows, r, COLUMN_NEW_IP, Utf8Text(FieldText(m_plan->After(step).ip)));
        SetCell(m_rows, r, COLUMN_CHANGES, Utf8Text(ChangesText(row.changes)));
        const bool sending = m_running && m_engine->InFlight() == step;
        SetCell(m_rows, r, COLUMN_RESULT,
                sending ? m_finder.Tr(PLAN_TEXT_SENDING)
                        : m_finder.Tr(PlanResultText(m_plan->State(step))),
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

// One question for every risk of the plan, grouped by kind, each camera in its details;
// then the engine runs the plan.
void CAddressingDialog::OnSend() {
    if (m_running) {
        OnStop();
        return;
    }
    if (!m_plan || m_refusal) {
        return;
    }
    if (!m_plan->Warnings().empty()) {
        const RiskQuestion risks = m_plan->Risks(m_finder.WindowTextLookup(), m_finder.Codec());
        if (!Ask(this, m_finder.Tr(PLAN_TEXT_TITLE), Utf8Text(risks.text),
                 m_finder.Tr(APPLY_TEXT_SEND_ANYWAY), m_finder.Tr(APPLY_TEXT_CANCEL),
                 Utf8Text(risks.details))) {
            return;
        }
    }
    m_running = true;
    for (QWidget* field : {static_cast<QWidget*>(m_firstIp), static_cast<QWidget*>(m_netmask),
                           static_cast<QWidget*>(m_gateway), static_cast<QWidget*>(m_names),
                           static_cast<QWidget*>(m_order)}) {
        field->setEnabled(false);
    }
    m_send->setText(m_finder.Tr(PLAN_TEXT_STOP));
    ShowNote(QString());
    m_engine = std::make_unique<CChangeEngine>(*m_plan);
    Take(m_engine->Start(EngineNowMs()));
}

// Does what the engine asks: a request or a query to the worker, a moment to wake it at.
void CAddressingDialog::Take(const EngineStep& step) {
    if (!m_running) {
        return;
    }
    switch (step.kind) {
    case EngineStep::Kind::Send:
    case EngineStep::Kind::Query:
        if (m_finder.m_worker.StopRequested()) {
            Finish(true); // no worker to send anything
            return;
        }
        m_finder.m_worker.SetCommand(step.command);
        ShowRows();
        break;
    case EngineStep::Kind::Wait:
    case EngineStep::Kind::Await:
        break;
    case EngineStep::Kind::Done:
        Finish(false);
        return;
    }
    if (step.kind == EngineStep::Kind::Query || step.kind == EngineStep::Kind::Wait) {
        m_timer->start(static_cast<int>(std::max<int64_t>(0, step.wakeAtMs - EngineNowMs())));
    }
}

void CAddressingDialog::OnWorkerSent() {
    if (m_running) {
        Take(m_engine->OnSent(EngineNowMs()));
        ShowRows();
    }
}

void CAddressingDialog::OnWorkerFailed(const WorkerOutcome& outcome) {
    if (m_running && outcome.kind != WorkerOutcomeKind::ReceiveFailed) {
        Take(m_engine->OnSendFailed(EngineNowMs(), StatusLine(outcome)));
        ShowRows();
    }
}

void CAddressingDialog::OnWorkerReply(const DeviceRecord& record) {
    if (m_running) {
        m_engine->OnReply(record);
    }
}

void CAddressingDialog::OnTick() {
    if (m_running) {
        Take(m_engine->OnTime(EngineNowMs()));
    }
}

void CAddressingDialog::OnStop() {
    if (m_running) {
        Finish(true);
    }
}

// The outcome in the dialog and on the window's status line, which keeps it once the
// dialog is closed.
void CAddressingDialog::Finish(bool stopped) {
    m_timer->stop();
    if (stopped) {
        m_engine->Stop();
    }
    m_running = false;
    ShowRows();
    int counts[3] = {0, 0, 0}; // confirmed, not confirmed, unchanged
    for (std::size_t step = 0; step < m_plan->Size(); ++step) {
        const PlanState state = m_plan->State(step);
        ++counts[state == PlanState::Confirmed ? 0 : state == PlanState::Unchanged ? 2 : 1];
    }
    QString summary =
        m_finder.TrFilled(PLAN_TEXT_SUMMARY, {std::to_string(counts[0]), std::to_string(counts[1]),
                                              std::to_string(counts[2])});
    if (stopped) {
        const std::vector<std::size_t>& requests = m_engine->Requests();
        std::size_t went = 0;
        for (const std::size_t step : requests) {
            went += m_plan->WentOut(step) ? 1 : 0;
        }
        summary = m_finder.TrFilled(PLAN_TEXT_STOPPED, {std::to_string(went),
                                                        std::to_string(requests.size() - went)}) +
                  QStringLiteral("; ") + summary;
    }
    ShowNote(summary);
    m_finder.ShowHeldStatus([summary] { return summary; });
    m_send->setText(m_finder.Tr(PLAN_TEXT_SEND));
    m_send->setEnabled(false); // the plan is done: a new one starts from a new search
    m_save->setEnabled(true);
}

void CAddressingDialog::reject() {
    OnStop();
    QDialog::reject();
}

// The report as finder-cli apply --csv writes it, the details in the window's language.
void CAddressingDialog::OnSaveReport() {
    if (!m_plan) {
        return;
    }
    QString filter = m_finder.Tr(TEXT_EXPORT_CSV);
    QString path = AskSaveFile(this, m_finder.Tr(PLAN_TEXT_REPORT_TITLE), filter, &filter);
    if (path.isEmpty()) {
        return;
    }
    if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        path += QStringLiteral(".csv");
    }
    const std::string text = PlanReportCsv(
        PlanReport(*m_plan, FormatOptions{m_finder.Codec()}, m_finder.WindowTextLookup()));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !file.commit()) {
        ShowMessage(this, m_finder.Tr(PLAN_TEXT_TITLE),
                    m_finder.Tr(TEXT_EXPORT_FAILED).arg(path, file.errorString()));
    }
}
