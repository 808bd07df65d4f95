#include "app/finder_dlg.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include <system_error>

#include "app/change_flow_view.h"
#include "app/desktop_hooks.h"
#include "app/details_panel.h"
#include "app/device_list_view.h"
#include "app/dialog_language_view.h"
#include "app/dialog_report.h"
#include "app/encoding_menu.h"
#include "app/language_paths.h"
#include "app/qt_translations.h"
#include "app/search_summary.h"
#include "app/search_targets_dialog.h"
#include "app/skinned_frame.h"
#include "app/status_line.h"
#include "app/tray_icon.h"
#include "app/worker_link.h"
#include "core/messages/finder_texts.h"
#include "core/plan/plan_file.h"
#include "core/present/device_list.h"
#include "core/wire/search_targets.h"
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
    : QDialog(nullptr, Qt::Window | Qt::FramelessWindowHint),
      m_report(std::make_unique<DialogReport>(this, [this] { OnDrainReports(); })),
      m_endpoints(endpoints), m_markerFile(markerFile), m_icon(LoadSkinIcon(IDI_FINDER)),
      m_languageView(std::make_unique<DialogLanguageView>(*this, [this] { OnWindowTexts(); })),
      m_languageDbPath(QFile::encodeName(languageDb).toStdString()),
      m_frame(std::make_unique<CSkinnedFrame>(*this)) {
    setFont(TemplateFont());
    setContentsMargins(DIALOG_BORDER, DIALOG_BORDER, DIALOG_BORDER, DIALOG_BORDER);
    setFixedSize(DialogUnitsToPixels(DIALOG_WIDTH_UNITS) + 2 * DIALOG_BORDER,
                 DialogUnitsToPixels(DIALOG_HEIGHT_UNITS) + 2 * DIALOG_BORDER);
    // Every move over the dialog counts: the caption's buttons light up under the pointer.
    setMouseTracking(true);
    CreateControls();
}

CFinderDlg::~CFinderDlg() {
    // The worker reports to this object: it must have ended before anything here goes.
    StopWorker();
    m_language.Close();
    // The list goes with the children, after this part of the object: its clearing must
    // not reach the tray tip of a dialog that is no more.
    m_deviceList->disconnect(m_trayIcon);
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
    panel.subnetWarning->setGeometry(ToWidget(DialogRectToPixels(4, 165, 69, 58)));
    panel.subnetWarning->setProperty(CONTROL_ID_PROPERTY, IDC_SUBNET_WARNING);
    panel.subnetWarning->hide();

    panel.moveIntoNetwork =
        new QPushButton(QString::fromUtf8(TEXT_SEARCH_MOVE_INTO_NETWORK.english), dialog);
    panel.moveIntoNetwork->setAutoDefault(false);
    panel.moveIntoNetwork->setFont(small);
    panel.moveIntoNetwork->setGeometry(ToWidget(DialogRectToPixels(2, 226, 71, 16)));
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

    m_link = new CWorkerLink(m_worker, this);
    m_encodings = new CEncodingMenu(*this, this);
    m_qtTexts = new CQtTranslations(this);
    m_deviceList = new CDeviceListView(list, m_roster, *this, *m_encodings);
    m_panel = new CDetailsPanel(this, panel, m_roster, *this);
    m_search = new CSearchSummary(m_roster, *this, m_endpoints, m_searchTargets, this);
    m_statusLine = new CStatusLine(status, *this, *m_search, this);
    m_changeFlow =
        new CChangeFlowView(this, *this, *m_link, m_roster, *m_statusLine, *m_deviceList);
    m_trayIcon = new CTrayIcon(this, *this, m_icon);
    m_trayIcon->UpdateTip(0);
    WireParts();
    connect(update, &QPushButton::clicked, this, &CFinderDlg::OnUpdate);
    connect(exit, &QPushButton::clicked, this, &CFinderDlg::OnExit);
    // A pick from the list, never a selection made from code.
    connect(language, &QComboBox::activated, this,
            [this] { m_language.OnSelchangeLanguage(*m_languageView); });
}

void CFinderDlg::WireParts() {
    connect(m_deviceList, &CDeviceListView::SelectionChanged, this, &CFinderDlg::OnSelectDevice);
    connect(m_deviceList, &CDeviceListView::AddressRequested, this, &CFinderDlg::OnAddressSelected);
    connect(m_deviceList, &CDeviceListView::OpenPlanRequested, this, &CFinderDlg::OnOpenPlanFile);
    connect(m_deviceList, &CDeviceListView::SearchAddressesRequested, this,
            &CFinderDlg::OnSearchAddresses);
    connect(m_deviceList, &CDeviceListView::CountChanged, m_trayIcon, &CTrayIcon::UpdateTip);
    connect(m_panel, &CDetailsPanel::SubmitClicked, this, [this] {
        m_search->ExpectQuery(false); // the next send is the set request
        m_changeFlow->Submit(m_panel->Gather());
    });
    connect(m_search, &CSearchSummary::EmptyNote, m_deviceList, &CDeviceListView::ShowEmptyNote);
    connect(m_statusLine, &CStatusLine::StartupNote, m_panel, &CDetailsPanel::ShowNote);
    connect(m_encodings, &CEncodingMenu::Picked, this, [this](std::optional<TextEncoding> named) {
        m_language.SaveEncoding(CEncodingMenu::SavedName(named), *m_languageView);
        ReadCameraTextsAgain();
    });
    connect(m_trayIcon, &CTrayIcon::ShowRequested, this, &CFinderDlg::OnTrayShow);
    connect(m_trayIcon, &CTrayIcon::UpdateRequested, this, &CFinderDlg::OnUpdate);
    connect(m_trayIcon, &CTrayIcon::SearchAddressesRequested, this, &CFinderDlg::OnSearchAddresses);
    connect(m_trayIcon, &CTrayIcon::QuitRequested, this, &CFinderDlg::OnTrayQuit);
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

void CFinderDlg::SetLanguagePlace(const LanguagePlace& place) {
    m_languageDbPath = place.path;
    m_bLanguageReadOnly = place.readOnly;
    m_languagePlace = place;
}

// Said once at start, in English when there is no database to translate it; otherwise
// once the saved language is applied.
void CFinderDlg::ShowLanguageNotice() {
    const QString notice = LanguagePlaceMessage(m_languagePlace, Lookup());
    if (!notice.isEmpty()) {
        ShowMessage(this, QCoreApplication::applicationName(), notice);
    }
}

// The language store opens first (a failure to open is reported there, and the rest of the
// start goes on); the start-up search asks the saved search addresses too.
void CFinderDlg::OnInitDialog() {
    setWindowIcon(m_icon);
    if (m_languagePlace.note == LanguagePlaceNote::NotFound) {
        ShowLanguageNotice();
    }
    // No database at all has been reported just now: the template texts stay.
    if (!m_languageDbPath.empty()) {
        m_language.OpenLanguageDb(m_languageDbPath, *m_languageView, m_bLanguageReadOnly);
    }
    m_frame->LoadSkin();
    m_encodings->Load(m_language.SavedEncoding());
    // A list saved by hand with a bad line in it asks nothing by unicast rather than a part.
    m_searchTargets = m_language.SavedSearchTargets();
    m_worker.SetSearchTargets(ParseSearchTargets(m_searchTargets).addresses);
    if (!m_languageDbPath.empty()) {
        m_language.InitLanguageList(*m_languageView);
        ShowLanguageNotice();
    }
    m_frame->SetupFonts();
    m_roster.Clear();
    m_search->Clear();
    m_search->ExpectQuery(true);
    m_worker.Reset(); // CMD_QUERY pending, stop cleared: the list fills without any action
    StartWorker();
    m_panel->ShowMacChange(QFileInfo::exists(m_markerFile));
    m_bInTray = false;
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

std::uint64_t CFinderDlg::DroppedReplies() const {
    return m_report->DroppedTotal();
}

TextLookup CFinderDlg::Lookup() const {
    return [this](const WindowText& text) { return m_language.Texts().Text(text); };
}

CTextCodec CFinderDlg::Codec() const {
    if (const std::optional<TextEncoding> named = m_encodings->Named()) {
        return CTextCodec(*named, true);
    }
    return CTextCodec::ForLanguage(m_language.SelectedLanguage());
}

std::optional<TextEncoding> CFinderDlg::NamedEncoding() const {
    return m_encodings->Named();
}

// The language store has applied a language: the texts it does not set itself, Qt's own,
// and the camera texts, which may read differently now.
void CFinderDlg::OnWindowTexts() {
    m_qtTexts->Apply(m_language.SelectedLanguage());
    m_adslFrame->setTitle(Tr(TEXT_FRAME_ADSL));
    m_trayIcon->FillMenu();
    m_trayIcon->UpdateTip(m_deviceList->Count());
    m_panel->OnWindowTexts();
    m_deviceList->ReadAgain();
    m_statusLine->OnWindowTexts();
}

// The list entries and the panel's camera, read with the codec as it is now. What the user
// typed into the panel, and the mode picked, stay as they are.
void CFinderDlg::ReadCameraTextsAgain() {
    m_deviceList->ReadAgain();
    m_panel->ReadAgain();
}

void CFinderDlg::OnSelectDevice() {
    const std::optional<int> slot = m_deviceList->SelectedSlot();
    if (!slot) {
        return;
    }
    m_changeFlow->Cancel(true); // the user turned to another camera
    m_panel->ShowCamera(*slot);
}

void CFinderDlg::OnUpdate() {
    m_changeFlow->Cancel(false);
    m_statusLine->ReleaseHeld(); // the search's own status follows
    m_panel->SetSubmitEnabled(false);
    m_deviceList->Clear();
    m_roster.Clear();
    m_search->Clear();
    m_search->ExpectQuery(true);
    // The worker ends by itself only when it could not start: Update tries again.
    if (m_worker.StopRequested()) {
        RestartWorker();
        return;
    }
    m_worker.SetCommand(CMD_QUERY);
}

// After every send: no device selected, an empty list and an empty roster, and nothing
// that Submit could send.
void CFinderDlg::ClearSearch() {
    m_panel->Clear();
    m_deviceList->Clear();
    m_roster.Clear();
    m_search->Clear();
}

// In the order the worker reported: the send (which clears the panel and moves a waiting
// confirmation on), the replies since, the status; then the summary of a query is due.
void CFinderDlg::OnDrainReports() {
    const ReportBatch batch = m_report->TakeBatch();
    if (batch.cleared) {
        ClearSearch();
        m_changeFlow->OnSent(); // the first send after Submit starts the schedule
        emit m_link->Sent();
    }
    for (const BatchedReply& reply : batch.replies) {
        OnReply(reply.record, reply.arrival);
    }
    m_roster.CountDropped(batch.dropped); // cameras beyond the batch's room
    if (batch.status) {
        OnStatus(*batch.status);
    }
    if (batch.queryOutcome) {
        m_search->OnQuerySent(*batch.queryOutcome); // after the status of the send
    }
    if (batch.searchSent) {
        m_search->OnSearchSent(*batch.searchSent);
    }
    if (batch.startupFailure) {
        m_statusLine->ShowStartupFailure(*batch.startupFailure);
    }
}

// A message of the finder's own stays until the next error or command; an error of the set
// request itself ends the wait for its camera's word.
void CFinderDlg::OnStatus(const WorkerOutcome& outcome) {
    if (m_statusLine->IsHolding() && outcome.kind == WorkerOutcomeKind::Ok) {
        return;
    }
    m_changeFlow->OnFailedSend();
    m_statusLine->OnStatus(outcome);
    if (outcome.Failed()) {
        emit m_link->Failed(outcome);
    }
}

// A reply goes into the roster by its MAC, and where it came in beside it; a camera new to
// the search gets its entry.
void CFinderDlg::OnReply(const DeviceRecord& record, const ReplyArrival& arrival) {
    m_changeFlow->OnReply(record);
    emit m_link->Reply(record);
    const CCameraRoster::Merge merge = m_roster.Take(record, arrival);
    if (merge.slot != MERGE_DROPPED) {
        m_deviceList->OnTaken(merge.slot, merge.added);
    }
}

// Takes a new list of search addresses (each a valid target), keeps it and searches at once.
void CFinderDlg::SetSearchTargets(std::vector<std::string> targets) {
    m_searchTargets = std::move(targets);
    m_language.SaveSearchTargets(m_searchTargets, *m_languageView);
    m_worker.SetSearchTargets(ParseSearchTargets(m_searchTargets).addresses);
    OnUpdate();
}

void CFinderDlg::OnSearchAddresses() {
    CSearchTargetsDialog dialog(this, *this, m_searchTargets);
    if (dialog.exec() == QDialog::Accepted) {
        SetSearchTargets(dialog.Targets());
    }
}

// The dialog stays on top of the window, which goes on taking the worker's reports for it.
// A plan stopped after a send leaves the list empty, as every send does: when it closes,
// the list fills again, quietly, so the plan's outcome stays on the status line.
void CFinderDlg::OpenPlanDialog(CAddressingDialog* dialog) {
    m_changeFlow->Cancel(true); // the user turned to many cameras
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::finished, this, [this] {
        if (m_deviceList->Count() == 0 && !m_worker.StopRequested()) {
            m_search->ExpectQuery(false);
            m_worker.SetCommand(CMD_QUERY);
        }
    });
    dialog->open();
}

void CFinderDlg::OnAddressSelected() {
    std::vector<int> cameras = m_deviceList->SelectedSlots();
    if (!cameras.empty()) {
        OpenPlanDialog(new CAddressingDialog(
            this, {*this, *m_link, *m_statusLine, m_roster, m_planFields}, std::move(cameras)));
    }
}

void CFinderDlg::OnOpenPlanFile() {
    const QString title = Tr(PLAN_TEXT_OPEN_TITLE);
    const QString path = AskOpenFile(this, title, Tr(TEXT_EXPORT_CSV));
    if (path.isEmpty()) {
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowMessage(this, title, Tr(PLAN_TEXT_READ_FAILED).arg(path, file.errorString()));
        return;
    }
    const QByteArray bytes = file.readAll();
    PlanFile plan = ReadPlanFile(std::string_view(bytes.constData(), bytes.size()),
                                 m_roster.Table(), Codec(), false, Lookup());
    // Read, but refused for what it holds: the core's words say what and where.
    if (!plan.error.empty()) {
        ShowMessage(this, title, Tr(PLAN_TEXT_FILE_REFUSED).arg(path, Utf8Text(plan.error)));
        return;
    }
    OpenPlanDialog(new CAddressingDialog(this,
                                         {*this, *m_link, *m_statusLine, m_roster, m_planFields},
                                         std::move(plan), QFileInfo(path).fileName()));
}

// Exit, Esc, closing the window: stop the worker, wait for it, end the dialog.
void CFinderDlg::OnExit() {
    m_changeFlow->Cancel(false);
    StopWorker();
    QDialog::done(QDialog::Rejected);
}

void CFinderDlg::reject() {
    OnExit();
}

// Enter is the dialog's OK command, and OK ends nothing: it would close the finder and
// lose every setting typed into the panel without a word. Exit, Esc and the caption's close
// button end the program.
void CFinderDlg::accept() {}

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
    }
}

QRect CFinderDlg::CloseButtonRect() const {
    return m_frame->CloseButtonRect();
}

QRect CFinderDlg::TrayButtonRect() const {
    return m_frame->TrayButtonRect();
}

void CFinderDlg::paintEvent(QPaintEvent*) {
    m_frame->Paint();
}

void CFinderDlg::mousePressEvent(QMouseEvent* event) {
    QDialog::mousePressEvent(event);
    if (event->button() != Qt::LeftButton) {
        return;
    }
    switch (m_frame->OnLButtonDown(ToClient(event->position().toPoint()),
                                   event->globalPosition().toPoint())) {
    case CSkinnedFrame::Press::Close:
        close(); // the dialog's cancel path: the worker stops and is joined
        break;
    case CSkinnedFrame::Press::Tray:
        HideToTray();
        break;
    case CSkinnedFrame::Press::Drag:
    case CSkinnedFrame::Press::Nothing:
        break;
    }
}

void CFinderDlg::mouseMoveEvent(QMouseEvent* event) {
    QDialog::mouseMoveEvent(event);
    m_frame->OnMouseMove(ToClient(event->position().toPoint()), event->globalPosition().toPoint(),
                         (event->buttons() & Qt::LeftButton) != 0);
}

void CFinderDlg::mouseReleaseEvent(QMouseEvent* event) {
    QDialog::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        m_frame->OnLButtonUp();
    }
}

// Leaving the window puts the buttons' normal images back, as a move elsewhere does.
void CFinderDlg::leaveEvent(QEvent* event) {
    QDialog::leaveEvent(event);
    m_frame->OnMouseMove(QPoint(-1, -1), QPoint(), false);
}

// Without a notification area nothing could bring the window back: it stays shown.
void CFinderDlg::HideToTray() {
    if (!g_pfnIsSystemTrayAvailable()) {
        return;
    }
    // QDialog's own hide would also end the modal loop, and with it the program.
    QWidget::setVisible(false);
    m_trayIcon->Show();
    m_bInTray = true;
}

void CFinderDlg::OnTrayShow() {
    if (!m_bInTray) {
        return;
    }
    show();
    raise();
    activateWindow();
    m_trayIcon->Hide();
    m_bInTray = false;
}

// Quit from the icon's menu ends the program as Exit does: the worker stops and is joined.
void CFinderDlg::OnTrayQuit() {
    m_trayIcon->Hide();
    m_bInTray = false;
    // The window went to the tray past QDialog (see HideToTray), and QDialog ends its loop
    // only in hiding a shown window: shown again, it is closed in the same turn.
    QWidget::setVisible(true);
    OnExit();
}

// To the taskbar, not to the notification area.
void CFinderDlg::OnMinimize() {
    showMinimized();
}
