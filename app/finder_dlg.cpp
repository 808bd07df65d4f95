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

#include "app/change_flow_view.h"
#include "app/details_panel.h"
#include "app/device_list_view.h"
#include "app/dialog_language_view.h"
#include "app/dialog_report.h"
#include "app/dialog_units.h"
#include "app/skinned_frame.h"
#include "app/status_line.h"
#include "app/tray_icon.h"
#include "core/messages/finder_texts.h"
#include "core/present/device_list.h"
#include "skin/skin_bitmaps.h"
#include "skin/skin_button.h"
#include "skin/transparent_static.h"

// The template's font: 9 points, "宋体"; the desktop substitutes its own CJK face.
// The warning's red: it must stand out from the labels' navy on the skin.
static const QColor SUBNET_WARNING_COLOUR(170, 0, 0);

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
      m_report(std::make_unique<DialogReport>(this)), m_endpoints(endpoints),
      m_markerFile(markerFile), m_languageView(std::make_unique<DialogLanguageView>(*this)),
      m_languageDbPath(QFile::encodeName(languageDb).toStdString()),
      m_frame(std::make_unique<CSkinnedFrame>(*this)) {
    setFont(TemplateFont());
    setContentsMargins(DIALOG_BORDER, DIALOG_BORDER, DIALOG_BORDER, DIALOG_BORDER);
    setFixedSize(DialogUnitsToPixels(DIALOG_WIDTH_UNITS) + 2 * DIALOG_BORDER,
                 DialogUnitsToPixels(DIALOG_HEIGHT_UNITS) + 2 * DIALOG_BORDER);
    // Every move over the dialog counts: the caption's buttons light up under the pointer.
    setMouseTracking(true);
    CreateControls();
    m_trayIcon = new CTrayIcon(*this);
    m_trayIcon->UpdateTip(0);
    connect(m_deviceList, &CDeviceListView::CountChanged, m_trayIcon, &CTrayIcon::UpdateTip);
}

CFinderDlg::~CFinderDlg() {
    // The worker reports to this object: it must have ended before anything here goes.
    StopWorker();
    m_language.Close();
    // The list goes with the children, after this part of the object: its clearing must
    // not reach the tray tip of a dialog that is no more.
    m_deviceList->disconnect(m_trayIcon);
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

// Under the "Address:" label, left of the panel's frame, lies free space of the template:
// the warning of a camera outside its card's subnet and its button go there, in a smaller
// face, so the fixed layout stays as it is.
static void CreateFreeSpaceControls(QWidget* dialog, PanelControls& panel) {
    QFont small = dialog->font();
    small.setPointSize(7);
    panel.subnetWarning = new CTransparentStatic(dialog);
    panel.subnetWarning->setFont(small);
    panel.subnetWarning->setWordWrap(true);
    panel.subnetWarning->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    panel.subnetWarning->SetTextColor(SUBNET_WARNING_COLOUR);
    panel.subnetWarning->setGeometry(CFinderDlg::ToWidget(DialogRectToPixels(4, 165, 69, 58)));
    panel.subnetWarning->setProperty(CONTROL_ID_PROPERTY, IDC_SUBNET_WARNING);
    panel.subnetWarning->hide();

    panel.moveIntoNetwork =
        new QPushButton(QString::fromUtf8(TEXT_SEARCH_MOVE_INTO_NETWORK.english), dialog);
    panel.moveIntoNetwork->setAutoDefault(false);
    panel.moveIntoNetwork->setFont(small);
    panel.moveIntoNetwork->setGeometry(CFinderDlg::ToWidget(DialogRectToPixels(2, 226, 71, 16)));
    panel.moveIntoNetwork->setProperty(CONTROL_ID_PROPERTY, IDC_MOVE_INTO_NETWORK);
    panel.moveIntoNetwork->hide();
}

// The 33 controls of template 102, created in the template's order, which is also the
// order of the focus chain; then the parts that work them.
void CFinderDlg::CreateControls() {
    auto* list = Place(new QListWidget(this), IDC_DEVICE_LIST, 9, 30, 136, 88);
    CSkinButton* update = Place(MakeButton(this, "Update"), IDC_UPDATE, 19, 124, 56, 21);
    CSkinButton* exit = Place(MakeButton(this, "Exit"), IDC_EXIT, 82, 124, 58, 21);
    PanelControls panel;
    panel.info = Place(MakeLabel(this, ""), IDC_INFO, 150, 20, 150, 30);
    panel.pppoeAccount =
        Place(MakeEdit(this, ITEM_WIDTH_PPPOE_ACCOUNT), IDC_PPPOE_ACCOUNT, 230, 73, 67, 14);
    panel.pppoePassword =
        Place(MakeEdit(this, ITEM_WIDTH_PPPOE_PASSWORD), IDC_PPPOE_PASSWORD, 230, 95, 67, 14);
    panel.pppoePassword->setEchoMode(QLineEdit::Password);
    Place(MakeLabel(this, "Acount"), IDC_LABEL_ACCOUNT, 152, 77, 77, 17);
    Place(MakeLabel(this, "Password"), IDC_LABEL_PASSWORD, 152, 96, 80, 13);
    panel.newMac = Place(MakeEdit(this, MAC_TEXT_LENGTH), IDC_NEW_MAC, 213, 123, 81, 14);
    panel.macLabel = Place(MakeLabel(this, "Mac"), IDC_LABEL_MAC, 154, 126, 49, 15);
    Place(MakeLabel(this, "Address:"), IDC_LABEL_ADDRESS, 8, 155, 62, 80);
    panel.macGroup = Place(MakeGroup(this, NO_DEVICE_MAC_TEXT), IDC_MAC_GROUP, 74, 153, 228, 114);
    panel.name = Place(MakeEdit(this, ITEM_WIDTH_NAME), IDC_NAME, 162, 167, 62, 14);
    panel.ip = Place(MakeEdit(this, sizeof(DeviceRecord::ip) - 1), IDC_IP, 162, 185, 61, 14);
    panel.netmask =
        Place(MakeEdit(this, sizeof(DeviceRecord::netmask) - 1), IDC_NETMASK, 162, 203, 61, 14);
    panel.gateway =
        Place(MakeEdit(this, sizeof(DeviceRecord::gateway) - 1), IDC_GATEWAY, 162, 223, 62, 14);
    panel.httpPort = Place(MakeEdit(this, ITEM_WIDTH_HTTP_PORT), IDC_HTTP_PORT, 162, 243, 40, 14);
    Place(MakeLabel(this, "Name"), IDC_LABEL_NAME, 80, 169, 74, 14);
    Place(MakeLabel(this, "IP"), IDC_LABEL_IP, 80, 187, 74, 16);
    Place(MakeLabel(this, "Submask"), IDC_LABEL_NETMASK, 80, 206, 71, 16);
    Place(MakeLabel(this, "Gateway"), IDC_LABEL_GATEWAY, 80, 225, 77, 17);
    Place(MakeLabel(this, "Http Port"), IDC_LABEL_HTTP_PORT, 79, 246, 77, 16);
    panel.submit = Place(MakeButton(this, "Submit"), IDC_SUBMIT, 231, 239, 65, 21);
    panel.submit->setEnabled(false); // until a selection fills the panel
    panel.pppoe = Place(MakeRadio(this), IDC_MODE_PPPOE, 235, 179, 9, 8);
    panel.dhcp = Place(MakeRadio(this), IDC_MODE_DHCP, 235, 200, 9, 8);
    panel.staticMode = Place(MakeRadio(this), IDC_MODE_STATIC, 235, 220, 9, 8);
    Place(MakeLabel(this, "Status:"), IDC_LABEL_STATUS, 5, 269, 86, 19);
    CTransparentStatic* status = Place(MakeLabel(this, ""), IDC_STATUS, 68, 271, 212, 14);
    Place(MakeLabel(this, "PPPOE      "), IDC_LABEL_PPPOE, 248, 178, 41, 16);
    Place(MakeLabel(this, "DHCP    "), IDC_LABEL_DHCP, 248, 199, 39, 15);
    Place(MakeLabel(this, "STATIC    "), IDC_LABEL_STATIC, 248, 220, 43, 13);
    auto* language = Place(new QComboBox(this), IDC_LANGUAGE, 230, 51, 72, 124);
    // A list to pick from, not a field to type into; it shows the height of one line, the
    // template's height is that of the opened list.
    language->setEditable(false);
    language->resize(language->width(), language->sizeHint().height());
    m_adslFrame = Place(MakeGroup(this, TEXT_FRAME_ADSL.english), IDC_STATIC, 148, 63, 154, 53);
    // Last in the template, yet only a frame: it stays under the PPPoE fields.
    m_adslFrame->lower();
    CreateFreeSpaceControls(this, panel);

    m_deviceList = new CDeviceListView(*this, list, m_roster);
    m_panel = new CDetailsPanel(this, panel);
    m_statusLine = new CStatusLine(*this, status, m_roster, *m_deviceList, *m_panel);
    m_changeFlow = new CChangeFlowView(*this, m_roster, *m_statusLine, *m_deviceList);
    connect(m_deviceList, &CDeviceListView::SelectionChanged, this, &CFinderDlg::OnSelectDevice);
    connect(m_deviceList, &CDeviceListView::OpenPageRequested, this,
            &CFinderDlg::OnDblclkDeviceList);
    connect(m_deviceList, &CDeviceListView::AddressRequested, this, &CFinderDlg::OnAddressSelected);
    connect(m_deviceList, &CDeviceListView::OpenPlanRequested, this, &CFinderDlg::OnOpenPlanFile);
    connect(m_panel, &CDetailsPanel::ModePicked, this, [this](NetMode mode) {
        switch (mode) {
        case NetMode::Pppoe:
            OnModePppoe();
            break;
        case NetMode::Dhcp:
            OnModeDhcp();
            break;
        case NetMode::Static:
            OnModeStatic();
            break;
        }
    });
    connect(m_panel, &CDetailsPanel::SubmitClicked, this, &CFinderDlg::OnSubmit);
    connect(m_panel, &CDetailsPanel::MoveIntoNetworkClicked, this, &CFinderDlg::OnMoveIntoNetwork);
    connect(update, &QPushButton::clicked, this, &CFinderDlg::OnUpdate);
    connect(exit, &QPushButton::clicked, this, &CFinderDlg::OnExit);
    // A pick from the list, never a selection made from code.
    connect(language, &QComboBox::activated, this, &CFinderDlg::OnSelchangeLanguage);
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
    m_frame->LoadSkin();
    LoadNamedEncoding();
    LoadSearchTargets(); // the start-up search asks them too
    InitLanguageList();
    m_frame->SetupFonts();
    m_roster.Clear();
    m_statusLine->ClearSearch();
    m_statusLine->ExpectQuery(true);
    m_worker.Reset(); // CMD_QUERY pending, stop cleared: the list fills without any action
    StartWorker();
    m_panel->ShowMacChange(QFileInfo::exists(m_markerFile));
    m_bInTray = false;
    return true;
}

void CFinderDlg::StartWorker() {
    try {
        m_workerThread = std::thread([this] { NetworkWorker(m_worker, *m_report, m_endpoints); });
    } catch (const std::system_error&) {
        // No thread: the dialog works, but no camera is ever listed; Exit skips the wait.
    }
}

// After a failed start-up (the port was taken, say): the old thread has ended; a new one
// starts from the same state as at the window's start and broadcasts its query.
void CFinderDlg::RestartWorker() {
    StopWorker();
    m_statusLine->ClearStartupFailure();
    m_worker.Reset();
    StartWorker();
}

void CFinderDlg::StopWorker() {
    m_worker.RequestStop();
    if (m_workerThread.joinable()) {
        m_workerThread.join();
    }
}

bool CFinderDlg::IsWorkerRunning() const {
    return m_workerThread.joinable();
}

// Exit, Esc, closing the window: stop the worker, wait for it, end the dialog.
void CFinderDlg::OnCancel() {
    m_changeFlow->Cancel(false);
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

// A message of the finder's own stays until the next error or command; an error of the set
// request itself ends the wait for its camera's word.
void CFinderDlg::OnStatus(const WorkerOutcome& outcome) {
    if (m_statusLine->IsHolding() && outcome.kind == WorkerOutcomeKind::Ok) {
        return;
    }
    m_changeFlow->OnFailedSend(outcome);
    m_statusLine->OnStatus(outcome);
    if (outcome.Failed()) {
        emit WorkerFailed(outcome);
    }
}

// A reply goes into the roster by its MAC, and where it came in beside it; a camera new to
// the search gets its entry.
void CFinderDlg::OnReply(const DeviceRecord& record, const ReplyArrival& arrival) {
    m_changeFlow->OnReply(record);
    emit WorkerReply(record);
    const CCameraRoster::Merge merge = m_roster.Take(record, arrival);
    if (merge.slot != MERGE_DROPPED) {
        m_deviceList->OnTaken(merge.slot, merge.added);
    }
}

void CFinderDlg::ClearSearch() {
    m_deviceList->Clear();
    m_roster.Clear();
    m_statusLine->ClearSearch();
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
    m_roster.CountDropped(batch.dropped); // cameras beyond the batch's room
    if (batch.status) {
        OnStatus(*batch.status);
    }
    if (batch.queryOutcome) {
        m_statusLine->StartSearchSummary(*batch.queryOutcome); // after the status of the send
    }
    if (batch.startupFailure) {
        m_statusLine->ShowStartupFailure(*batch.startupFailure);
    }
}

std::uint64_t CFinderDlg::DroppedReplies() const {
    return m_report->DroppedTotal();
}
