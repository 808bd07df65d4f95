#include "app/finder_dlg.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <system_error>

#include "app/dialog_language_view.h"
#include "app/dialog_report.h"
#include "app/dialog_units.h"
#include "core/messages/finder_texts.h"
#include "core/present/device_list.h"
#include "core/present/startup_failure.h"
#include "core/present/status_text.h"
#include "core/rules/change_confirmation.h"
#include "skin/skin_bitmaps.h"
#include "skin/skin_button.h"
#include "skin/transparent_static.h"

// The template's font: 9 points, "宋体"; the desktop substitutes its own CJK face.
static QFont TemplateFont() {
    QFont font(QString::fromUtf8("宋体"));
    font.setFamilies(
        {QString::fromUtf8("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC")});
    font.setPointSize(9);
    return font;
}

CFinderDlg::CFinderDlg(const WorkerEndpoints& endpoints, const QString& markerFile,
                       const QString& languageDb)
    : QDialog(nullptr, Qt::Window | Qt::FramelessWindowHint), m_hIcon(LoadSkinIcon(IDI_FINDER)),
      m_table(std::make_unique<DeviceTable>()), m_arrivals(std::make_unique<ArrivalTable>()),
      m_report(std::make_unique<DialogReport>(this)), m_endpoints(endpoints),
      m_markerFile(markerFile), m_languageView(std::make_unique<DialogLanguageView>(*this)),
      m_languageDbPath(QFile::encodeName(languageDb).toStdString()) {
    setFont(TemplateFont());
    setContentsMargins(DIALOG_BORDER, DIALOG_BORDER, DIALOG_BORDER, DIALOG_BORDER);
    setFixedSize(DialogUnitsToPixels(DIALOG_WIDTH_UNITS) + 2 * DIALOG_BORDER,
                 DialogUnitsToPixels(DIALOG_HEIGHT_UNITS) + 2 * DIALOG_BORDER);
    // Every move over the dialog counts: the caption's buttons light up under the pointer.
    setMouseTracking(true);
    CreateControls();
    CreateTrayIcon();
}

CFinderDlg::~CFinderDlg() {
    // The worker reports to this object: it must have ended before anything here goes.
    StopWorker();
    m_language.Close();
    // The list goes with the children, after this part of the object: its clearing must
    // not reach the tray tip of a dialog that is no more.
    m_lstDevices->model()->disconnect(this);
}

QWidget* CFinderDlg::ControlById(int id) const {
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QVariant tag = child->property(CONTROL_ID_PROPERTY);
        if (tag.isValid() && tag.toInt() == id) {
            return child;
        }
    }
    return nullptr;
}

QRect CFinderDlg::ClientRect() const {
    return QRect(QPoint(0, 0), contentsRect().size());
}

QPoint CFinderDlg::ToClient(QPoint widgetPoint) {
    return widgetPoint - QPoint(DIALOG_BORDER, DIALOG_BORDER);
}

QRect CFinderDlg::ToWidget(QRect clientRect) {
    return clientRect.translated(DIALOG_BORDER, DIALOG_BORDER);
}

// Places a control at its template rectangle inside the border and tags it with its id.
template <typename Control>
static Control* Place(Control* control, int id, int x, int y, int width, int height) {
    control->setGeometry(
        DialogRectToPixels(x, y, width, height).translated(DIALOG_BORDER, DIALOG_BORDER));
    control->setProperty(CONTROL_ID_PROPERTY, id);
    return control;
}

static CTransparentStatic* MakeLabel(QWidget* parent, const char* text) {
    auto* label = new CTransparentStatic(QString::fromLatin1(text), parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

static QLineEdit* MakeEdit(QWidget* parent, int maxLength) {
    auto* edit = new QLineEdit(parent);
    // No field holds more than its camera setting can: nothing is cut silently on the wire.
    edit->setMaxLength(maxLength);
    return edit;
}

static CSkinButton* MakeButton(QWidget* parent, const char* text) {
    auto* button = new CSkinButton(QString::fromLatin1(text), parent);
    // No default button: Enter in a field clicks nothing.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

static QRadioButton* MakeRadio(QWidget* parent) {
    auto* radio = new QRadioButton(parent);
    // Each radio button stands alone; the panel unchecks the others itself.
    radio->setAutoExclusive(false);
    return radio;
}

static QGroupBox* MakeGroup(QWidget* parent, const char* title) {
    auto* group = new QGroupBox(QString::fromLatin1(title), parent);
    // A frame only: the controls inside it take the mouse and the focus.
    group->setAttribute(Qt::WA_TransparentForMouseEvents);
    group->setFocusPolicy(Qt::NoFocus);
    return group;
}

// The 33 controls of template 102, created in the template's order, which is also the
// order of the focus chain.
void CFinderDlg::CreateControls() {
    m_lstDevices = Place(new QListWidget(this), IDC_DEVICE_LIST, 9, 30, 136, 88);
    m_lstDevices->setSortingEnabled(true);
    m_lstDevices->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstDevices->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_btnUpdate = Place(MakeButton(this, "Update"), IDC_UPDATE, 19, 124, 56, 21);
    m_btnExit = Place(MakeButton(this, "Exit"), IDC_EXIT, 82, 124, 58, 21);
    m_stcInfo = Place(MakeLabel(this, ""), IDC_INFO, 150, 20, 150, 30);
    m_edtPppoeAccount =
        Place(MakeEdit(this, ITEM_WIDTH_PPPOE_ACCOUNT), IDC_PPPOE_ACCOUNT, 230, 73, 67, 14);
    m_edtPppoePassword =
        Place(MakeEdit(this, ITEM_WIDTH_PPPOE_PASSWORD), IDC_PPPOE_PASSWORD, 230, 95, 67, 14);
    m_edtPppoePassword->setEchoMode(QLineEdit::Password);
    m_stcAccount = Place(MakeLabel(this, "Acount"), IDC_LABEL_ACCOUNT, 152, 77, 77, 17);
    m_stcPassword = Place(MakeLabel(this, "Password"), IDC_LABEL_PASSWORD, 152, 96, 80, 13);
    m_edtNewMac = Place(MakeEdit(this, MAC_TEXT_LENGTH), IDC_NEW_MAC, 213, 123, 81, 14);
    m_stcMac = Place(MakeLabel(this, "Mac"), IDC_LABEL_MAC, 154, 126, 49, 15);
    m_stcAddress = Place(MakeLabel(this, "Address:"), IDC_LABEL_ADDRESS, 8, 155, 62, 80);
    m_grpMac = Place(MakeGroup(this, NO_DEVICE_MAC_TEXT), IDC_MAC_GROUP, 74, 153, 228, 114);
    m_edtName = Place(MakeEdit(this, ITEM_WIDTH_NAME), IDC_NAME, 162, 167, 62, 14);
    m_edtIp = Place(MakeEdit(this, sizeof(DeviceRecord::ip) - 1), IDC_IP, 162, 185, 61, 14);
    m_edtNetmask =
        Place(MakeEdit(this, sizeof(DeviceRecord::netmask) - 1), IDC_NETMASK, 162, 203, 61, 14);
    m_edtGateway =
        Place(MakeEdit(this, sizeof(DeviceRecord::gateway) - 1), IDC_GATEWAY, 162, 223, 62, 14);
    m_edtHttpPort = Place(MakeEdit(this, ITEM_WIDTH_HTTP_PORT), IDC_HTTP_PORT, 162, 243, 40, 14);
    m_stcName = Place(MakeLabel(this, "Name"), IDC_LABEL_NAME, 80, 169, 74, 14);
    m_stcIp = Place(MakeLabel(this, "IP"), IDC_LABEL_IP, 80, 187, 74, 16);
    m_stcNetmask = Place(MakeLabel(this, "Submask"), IDC_LABEL_NETMASK, 80, 206, 71, 16);
    m_stcGateway = Place(MakeLabel(this, "Gateway"), IDC_LABEL_GATEWAY, 80, 225, 77, 17);
    m_stcHttpPort = Place(MakeLabel(this, "Http Port"), IDC_LABEL_HTTP_PORT, 79, 246, 77, 16);
    m_btnSubmit = Place(MakeButton(this, "Submit"), IDC_SUBMIT, 231, 239, 65, 21);
    m_btnSubmit->setEnabled(false); // until a selection fills the panel
    m_rdoPppoe = Place(MakeRadio(this), IDC_MODE_PPPOE, 235, 179, 9, 8);
    m_rdoDhcp = Place(MakeRadio(this), IDC_MODE_DHCP, 235, 200, 9, 8);
    m_rdoStatic = Place(MakeRadio(this), IDC_MODE_STATIC, 235, 220, 9, 8);
    m_stcStatusLabel = Place(MakeLabel(this, "Status:"), IDC_LABEL_STATUS, 5, 269, 86, 19);
    m_stcStatus = Place(MakeLabel(this, ""), IDC_STATUS, 68, 271, 212, 14);
    m_stcPppoe = Place(MakeLabel(this, "PPPOE      "), IDC_LABEL_PPPOE, 248, 178, 41, 16);
    m_stcDhcp = Place(MakeLabel(this, "DHCP    "), IDC_LABEL_DHCP, 248, 199, 39, 15);
    m_stcStatic = Place(MakeLabel(this, "STATIC    "), IDC_LABEL_STATIC, 248, 220, 43, 13);
    m_cmbLanguage = Place(new QComboBox(this), IDC_LANGUAGE, 230, 51, 72, 124);
    // A list to pick from, not a field to type into; it shows the height of one line, the
    // template's height is that of the opened list.
    m_cmbLanguage->setEditable(false);
    m_cmbLanguage->resize(m_cmbLanguage->width(), m_cmbLanguage->sizeHint().height());
    m_grpAdsl = Place(MakeGroup(this, TEXT_FRAME_ADSL.english), IDC_STATIC, 148, 63, 154, 53);
    // Last in the template, yet only a frame: it stays under the PPPoE fields.
    m_grpAdsl->lower();

    // A click on the entry already selected reads the table again, as a new selection does.
    connect(m_lstDevices, &QListWidget::itemSelectionChanged, this, &CFinderDlg::OnSelectDevice);
    connect(m_lstDevices, &QListWidget::itemClicked, this, &CFinderDlg::OnSelectDevice);
    connect(m_lstDevices, &QListWidget::itemDoubleClicked, this, &CFinderDlg::OnDblclkDeviceList);
    // The right button's menu (which also picks the encoding of camera texts, so the layout
    // stays); the entries' tips are made as they are shown.
    m_lstDevices->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_lstDevices, &QListWidget::customContextMenuRequested, this,
            &CFinderDlg::OnDeviceListMenu);
    m_lstDevices->viewport()->installEventFilter(this);
    connect(m_rdoDhcp, &QRadioButton::clicked, this, &CFinderDlg::OnModeDhcp);
    connect(m_rdoPppoe, &QRadioButton::clicked, this, &CFinderDlg::OnModePppoe);
    connect(m_rdoStatic, &QRadioButton::clicked, this, &CFinderDlg::OnModeStatic);
    connect(m_btnSubmit, &QPushButton::clicked, this, &CFinderDlg::OnSubmit);
    connect(m_btnUpdate, &QPushButton::clicked, this, &CFinderDlg::OnUpdate);
    connect(m_btnExit, &QPushButton::clicked, this, &CFinderDlg::OnExit);
    // A pick from the list, never a selection made from code.
    connect(m_cmbLanguage, &QComboBox::activated, this, &CFinderDlg::OnSelchangeLanguage);
    CreateNetworkControls();
}

int CFinderDlg::DoModal() {
    return exec();
}

void CFinderDlg::showEvent(QShowEvent* event) {
    // The first show stands for the window's creation: the dialog initialises then, once.
    if (!m_bInitialised) {
        m_bInitialised = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

bool CFinderDlg::OnInitDialog() {
    setWindowIcon(m_hIcon);
    // A failure to open is reported there; the rest of the start goes on.
    OpenLanguageDb();
    SetupSkin();
    LoadNamedEncoding();
    InitLanguageList();
    SetupFonts();
    ClearTable(*m_table);
    ClearArrivalState();
    m_bQueryPending = true;
    m_worker.Reset(); // CMD_QUERY pending, stop cleared: the list fills without any action
    StartWorker();
    m_edtNewMac->hide();
    m_stcMac->hide();
    if (QFileInfo::exists(m_markerFile)) {
        m_edtNewMac->show();
        m_stcMac->show();
    }
    m_bInTray = false;
    return true;
}

void CFinderDlg::StartWorker() {
    try {
        m_hWorkerThread = std::thread([this] { NetworkWorker(m_worker, *m_report, m_endpoints); });
    } catch (const std::system_error&) {
        // No thread: the dialog works, but no camera is ever listed; Exit skips the wait.
    }
}

// After a failed start-up (the port was taken, say): the old thread has ended; a new one
// starts from the same state as at the window's start and broadcasts its query.
void CFinderDlg::RestartWorker() {
    StopWorker();
    m_startupFailure.reset();
    m_stcInfo->clear();
    m_stcStatus->setToolTip(QString());
    m_worker.Reset();
    StartWorker();
}

void CFinderDlg::StopWorker() {
    m_worker.RequestStop();
    if (m_hWorkerThread.joinable()) {
        m_hWorkerThread.join();
    }
}

bool CFinderDlg::IsWorkerRunning() const {
    return m_hWorkerThread.joinable();
}

// Exit, Esc, closing the window: stop the worker, wait for it, end the dialog.
void CFinderDlg::OnCancel() {
    CancelConfirmation(false);
    StopWorker();
    QDialog::done(QDialog::Rejected);
}

void CFinderDlg::OnExit() {
    OnCancel();
}

void CFinderDlg::reject() {
    OnCancel();
}

// Enter is the dialog's OK command, and OK ends nothing: it would close the finder and
// lose every setting typed into the panel without a word. Exit, Esc and the caption's close
// button end the program.
void CFinderDlg::OnOK() {}

void CFinderDlg::accept() {
    OnOK();
}

void CFinderDlg::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != 0) {
        QDialog::keyPressEvent(event);
        return;
    }
    // Enter on a focused push button presses it; anywhere else it is the OK command, which
    // is ignored.
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
        button->click();
        return;
    }
    OnOK();
}

// The worker's status line. Every datagram of a burst of replies brings one, so the label
// repaints through Qt's ordinary update, once per pass of the event loop, not once each.
// A message of the finder's own stays until the next error or command. An "OK" for a reply
// keeps the summary of the search that is shown, brought up to date.
void CFinderDlg::OnStatus(const WorkerOutcome& outcome) {
    const bool ok = outcome.kind == WorkerOutcomeKind::Ok;
    if (m_bHoldStatus && ok) {
        return;
    }
    if (!m_bConfirmSent) {
        CancelConfirmation(false); // the set request itself failed: nothing to wait for
    }
    m_bHoldStatus = false;
    if (ok && (m_bSummaryShown || m_nDropped > 0)) {
        ShowSearchSummary();
        return;
    }
    m_bSummaryShown = false;
    m_stcStatus->setToolTip(QString());
    m_stcStatus->QLabel::setText(QString::fromLatin1(StatusText(outcome)));
}

// A reply goes into the table by its MAC, and where it came in beside it; a slot not yet
// listed gets its entry. Each slot keeps its entry, so a camera that answers again finds it
// at once, whatever the number of entries.
void CFinderDlg::OnReply(const DeviceRecord& record, const ReplyArrival& arrival) {
    if (m_confirmation) {
        m_confirmation->OnReply(record);
    }
    const int slot = MergeRecord(*m_table, record);
    if (slot == MERGE_DROPPED) {
        ++m_nDropped;
        return;
    }
    m_arrivals->slot[slot] = arrival;
    QListWidgetItem*& entry = m_entryOfSlot[static_cast<std::size_t>(slot)];
    if (entry == nullptr) {
        entry = new QListWidgetItem(EntryText(m_table->slot[slot]));
        DecorateEntry(slot);
        m_lstDevices->addItem(entry);
        return;
    }
    // The entry's text stays as it was first listed; its mark follows the camera, which may
    // answer with another IP or on another card.
    DecorateEntry(slot);
}

void CFinderDlg::ClearList() {
    m_lstDevices->clear();
    m_entryOfSlot.fill(nullptr);
}

// In the order the worker reported: the send (which clears the panel and moves a waiting
// confirmation on), the replies since, the status; then the summary of a query is due.
void CFinderDlg::OnDrainReports() {
    const ReportBatch batch = m_report->TakeBatch();
    if (batch.cleared) {
        OnSent();
    }
    for (const BatchedReply& reply : batch.replies) {
        OnReply(reply.record, reply.arrival);
    }
    m_nDropped += static_cast<int>(batch.dropped); // cameras beyond the batch's room
    if (batch.status) {
        OnStatus(*batch.status);
    }
    if (batch.queryOutcome) {
        StartSearchSummary(*batch.queryOutcome); // after the status of the send
    }
    if (batch.startupFailure) {
        ShowStartupFailure(*batch.startupFailure);
    }
}

std::uint64_t CFinderDlg::DroppedReplies() const {
    return m_report->DroppedTotal();
}

// The status line keeps the worker's own text; the sentence goes where the selected
// camera's information would be, which is empty while no camera can answer.
void CFinderDlg::ShowStartupFailure(const WorkerStartFailure& failure) {
    m_startupFailure = failure;
    const QString text = Utf8Text(StartupFailureSentence(failure, WindowTextLookup()));
    m_stcInfo->setText(text);
    m_stcStatus->setToolTip(text);
}
