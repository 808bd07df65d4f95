#pragma once

#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QRect>
#include <QString>
#include <QSystemTrayIcon>

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/encoding/text_codec.h"
#include "core/net/device_arrival.h"
#include "core/net/network_worker.h"
#include "core/net/report_batch.h"
#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"
#include "i18n/language_db.h"
#include "i18n/language_place.h"
#include "res/control_ids.h"

class QComboBox;
class QGroupBox;
class QMenu;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QTimer;
class CChangeConfirmation;
class CSkinButton;
class CTransparentStatic;
class DialogLanguageView;
class DialogReport;

// How long after a query the status line sums up who answered; later replies update it.
constexpr int SEARCH_SUMMARY_DELAY_MS = 1500;

// Every control carries its template id in this property, so later code and tests can
// find it by number.
constexpr char CONTROL_ID_PROPERTY[] = "controlId";

// The skinned caption bar across the top of the client area, and its two buttons.
constexpr int CAPTION_HEIGHT = 30;
constexpr int CAPTION_BUTTON_WIDTH = 28;

// The tip of the notification-area icon.
constexpr char TRAY_TIP[] = "Lanvista";

// The caption of the MAC group box while no device is selected.
constexpr char NO_DEVICE_MAC_TEXT[] = "ffffffffffff";

#ifdef _WIN32
constexpr char FINDER_MARKER_FILE[] = "c:\\tmp\\webcam\\Search.conf";
#else
constexpr char FINDER_MARKER_FILE[] = "/tmp/webcam/Search.conf";
#endif

// The tip of a device list entry: that a double-click opens the camera's web page, and its
// address. Every line an entry's tip shows is added here.
QString DeviceEntryToolTip(const DeviceRecord& record, const QString& hint);

// The finder's one window: the device list, the details panel of the selected camera and
// the commands. It owns the device table and the network worker; the worker reports to it
// through queued calls, so the table and the list are only ever touched on this thread.
// A UTF-8 text (the codec's output, the language store's texts) as the window shows it.
QString Utf8Text(const std::string& text);

class CFinderDlg : public QDialog {
    Q_OBJECT

public:
    // Always given, so that no caller broadcasts on the real network by leaving them out.
    explicit CFinderDlg(const WorkerEndpoints& endpoints,
                        const QString& markerFile = QString::fromLatin1(FINDER_MARKER_FILE),
                        const QString& languageDb = QString::fromLatin1(LANG_DB_FILE));
    ~CFinderDlg() override;

    // Runs the dialog modally; OnInitDialog runs as the window first shows.
    int DoModal();

    // The language.db to open instead of the one given at construction, before DoModal: a
    // read-only one keeps no pick, an empty path none at all, and the place's message is
    // shown once as the window starts.
    void SetLanguagePlace(const LanguagePlace& place);

    // Stops the worker and waits for it; harmless when none runs.
    void StopWorker();
    bool IsWorkerRunning() const;

    const DeviceTable& Table() const { return *m_table; }
    const ArrivalTable& Arrivals() const { return *m_arrivals; }
    const LanguageDb& Language() const { return m_language; }

    // A text of the window in the language applied, or its English; the same lookup for
    // the core's texts.
    QString Tr(const WindowText& text) const;
    // The text with "%1", "%2", ... filled in by the arguments.
    QString TrFilled(const WindowText& text, std::initializer_list<std::string> arguments) const;
    TextLookup WindowTextLookup() const;

    // How camera texts are read and written now: in the encoding the user named, else by
    // the language of the window.
    CTextCodec Codec() const;
    std::optional<TextEncoding> NamedEncoding() const { return m_namedEncoding; }
    // Names an encoding (none: by language), remembers it in language.db, reads the
    // listed camera texts again.
    void SetNamedEncoding(std::optional<TextEncoding> encoding);

    // The language store has applied a language: the texts it does not set itself, and
    // the camera texts, which may read differently now.
    void OnWindowTexts();

    // The template control with this id, or nullptr.
    QWidget* ControlById(int id) const;

    // The client area: the window inside its one-pixel frame, in client coordinates.
    QRect ClientRect() const;
    static QPoint ToClient(QPoint widgetPoint);
    static QRect ToWidget(QRect clientRect);
    QRect CloseButtonRect() const { return m_rcCloseButton; }
    QRect TrayButtonRect() const { return m_rcTrayButton; }

    // What the worker reports, carried out here on the dialog's thread.
    void OnStatus(const WorkerOutcome& outcome);
    void OnReply(const DeviceRecord& record, const ReplyArrival& arrival);
    void OnSent(); // ClearPanel, then the next step of a confirmation that waits for it
    void ClearPanel();
    // Takes everything the worker reported since the last call and shows it at once.
    void OnDrainReports();
    // Replies the worker left out of a batch because too many cameras answered at once.
    std::uint64_t DroppedReplies() const;

public slots:
    void OnSelectDevice();
    void OnModeDhcp();
    void OnModePppoe();
    void OnModeStatic();
    void OnSubmit();
    void OnUpdate();
    void OnDblclkDeviceList();
    void OnExit();
    virtual void OnCancel();
    void OnSelchangeLanguage();
    void OnMinimize();
    void OnTrayNotify(QSystemTrayIcon::ActivationReason reason);
    void OnMoveIntoNetwork();
    // The device list's context menu and its actions, on the selected camera.
    void OnDeviceListMenu(QPoint point);
    void OnCopyIpAddress();
    void OnCopyMacAddress();
    void OnCopyAllAsText();
    void OnExportList();
    // The notification-area icon's menu.
    void OnTrayShow();
    void OnTrayQuit();

public:
    // Every child control of template 102, in template (and tab) order.
    QListWidget* m_lstDevices = nullptr;              // 1000
    CSkinButton* m_btnUpdate = nullptr;               // 1001
    CSkinButton* m_btnExit = nullptr;                 // 1002
    CTransparentStatic* m_stcInfo = nullptr;          // 1003
    QLineEdit* m_edtPppoeAccount = nullptr;           // 1004
    QLineEdit* m_edtPppoePassword = nullptr;          // 1005
    CTransparentStatic* m_stcAccount = nullptr;       // 1019
    CTransparentStatic* m_stcPassword = nullptr;      // 1020
    QLineEdit* m_edtNewMac = nullptr;                 // 1006
    CTransparentStatic* m_stcMac = nullptr;           // 1021
    CTransparentStatic* m_stcAddress = nullptr;       // 1022
    QGroupBox* m_grpMac = nullptr;                    // 1034
    QLineEdit* m_edtName = nullptr;                   // 1007
    QLineEdit* m_edtIp = nullptr;                     // 1008
    QLineEdit* m_edtNetmask = nullptr;                // 1009
    QLineEdit* m_edtGateway = nullptr;                // 1010
    QLineEdit* m_edtHttpPort = nullptr;               // 1011
    CTransparentStatic* m_stcName = nullptr;          // 1023
    CTransparentStatic* m_stcIp = nullptr;            // 1024
    CTransparentStatic* m_stcNetmask = nullptr;       // 1025
    CTransparentStatic* m_stcGateway = nullptr;       // 1026
    CTransparentStatic* m_stcHttpPort = nullptr;      // 1027
    CSkinButton* m_btnSubmit = nullptr;               // 1012
    QRadioButton* m_rdoPppoe = nullptr;               // 1013
    QRadioButton* m_rdoDhcp = nullptr;                // 1014
    QRadioButton* m_rdoStatic = nullptr;              // 1015
    CTransparentStatic* m_stcStatusLabel = nullptr;   // 1028
    CTransparentStatic* m_stcStatus = nullptr;        // 1029
    CTransparentStatic* m_stcPppoe = nullptr;         // 1030
    CTransparentStatic* m_stcDhcp = nullptr;          // 1031
    CTransparentStatic* m_stcStatic = nullptr;        // 1032
    QComboBox* m_cmbLanguage = nullptr;               // 1036
    CTransparentStatic* m_stcSubnetWarning = nullptr; // 1040
    QPushButton* m_btnMoveIntoNetwork = nullptr;      // 1041

    // Where the caption's close and minimise-to-tray buttons were last painted, in client
    // coordinates; empty until the first paint, so no press counts as on them before.
    QRect m_rcCloseButton;
    QRect m_rcTrayButton;
    bool m_bInTray = false;
    WorkerControl m_worker;
    QIcon m_hIcon;
    QSystemTrayIcon* m_nid = nullptr; // the notification-area icon, shown while in the tray

protected:
    bool OnInitDialog();
    virtual void OnOK();
    void accept() override;
    void reject() override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void StartWorker();
    // Empties the device list; every slot counts as not listed again.
    void ClearList();
    void RestartWorker();
    void ShowStartupFailure(const WorkerStartFailure& failure);

    // Set-up steps of their own, filled by the language store and the skin.
    void OpenLanguageDb();
    void ShowLanguageNotice();
    void InitLanguageList();
    void SetupSkin();
    void SetupFonts();

    // The skinned frame: painting, the caption's buttons and dragging, the tray.
    void OnPaint();
    void OnLButtonDown(QPoint point, QPoint globalPoint);
    void OnMouseMove(QPoint point);
    void DragBy(QPoint globalPoint);
    void HideToTray();
    void CreateTrayIcon();
    void FillTrayMenu();
    void UpdateTrayTip();

    // The cameras as the list shows them, in its order.
    std::vector<DeviceRecord> ListedDevices() const;
    void CopyText(const std::string& text);

    // Where each camera answered: the list's marks and tips, the status line's summary of a
    // search, and the warning and move of a camera outside its card's subnet.
    void CreateNetworkControls();
    void DecorateEntry(int slot) const;
    QString CardToolTip(int slot) const;
    QString EntryToolTip(int slot) const;
    void ShowSubnetWarning(std::optional<int> slot);
    void StartSearchSummary(const WorkerOutcome& sent);
    void ShowSearchSummary();
    void ClearArrivalState();

    // Details panel helpers.
    std::optional<int> SelectedSlot() const;
    void SetFieldsEnabled(bool addresses, bool pppoe);
    PanelValues GatherPanelValues() const;

    // Camera texts as the codec reads them now.
    QString EntryText(const DeviceRecord& record) const;
    void ReadCameraTextsAgain();
    void LoadNamedEncoding();
    // The menu of the device list: the encoding of camera texts.
    QMenu* MakeEncodingMenu(QWidget* parent);

    // Safe apply: the checks before a change goes out, and its confirmation by the camera.
    bool ApproveChange(const PanelValues& values);
    void StartConfirmation(const DeviceRecord& before, const PanelValues& sent);
    void OnConfirmTick();
    void FinishConfirmation();
    void CancelConfirmation(bool say);
    void SelectDeviceByMac(const std::string& mac);
    using HeldText = std::function<QString()>;
    void ShowHeldStatus(const HeldText& makeText);

    // The change waiting for its camera's word: set when the request is handed to the
    // worker, running its schedule once the worker reports it sent.
    std::unique_ptr<CChangeConfirmation> m_confirmation;
    QTimer* m_confirmTimer = nullptr;
    std::size_t m_confirmTick = 0;
    bool m_bConfirmSent = false;
    // The status line holds a message of the finder's own, which the worker's routine "OK"
    // must not wipe out; its errors still show.
    bool m_bHoldStatus = false;
    HeldText m_heldStatus; // makes the held text in the window's language
    std::optional<WorkerStartFailure> m_startupFailure; // shown while the worker is down

    std::unique_ptr<DeviceTable> m_table;
    std::array<QListWidgetItem*, DEVICE_TABLE_SLOTS> m_entryOfSlot{}; // the list's, or none
    std::unique_ptr<ArrivalTable> m_arrivals;
    QTimer* m_summaryTimer = nullptr;
    bool m_bQueryPending = false; // the next send is a query, whose answers are summed up
    bool m_bSummaryShown = false; // the status line sums up the last search
    int m_nDropped = 0;           // replies dropped since the last send: the table was full
    std::unique_ptr<DialogReport> m_report;
    WorkerEndpoints m_endpoints;
    QString m_markerFile;
    std::thread m_hWorkerThread;
    bool m_bInitialised = false;

    // The language store and the dialog's side of it.
    LanguageDb m_language;
    std::unique_ptr<DialogLanguageView> m_languageView;
    std::string m_languageDbPath;
    std::optional<TextEncoding> m_namedEncoding;
    QGroupBox* m_grpAdsl = nullptr; // the "ADSL / DSL" frame, which has no id of its own
    bool m_bLanguageReadOnly = false;
    LanguagePlace m_languagePlace; // where language.db was found, and what to say of it

    // The skin, loaded once by SetupSkin: background, caption strip, logo, frame ends, and
    // the caption's two buttons with their glowing looks, so that no paint decodes a picture.
    QImage m_bmpBackground;
    QImage m_bmpCaption;
    QImage m_bmpLogo;
    QImage m_bmpFrameLeft;
    QImage m_bmpFrameRight;
    QImage m_bmpClose;
    QImage m_bmpCloseGlow;
    QImage m_bmpTray;
    QImage m_bmpTrayGlow;
    QFont m_fontCaption;
    QFont m_fontLabels;
    bool m_bCloseGlows = false; // the pointer is over the close button
    bool m_bTrayGlows = false;  // the pointer is over the minimise-to-tray button
    // Where the pointer holds the window while the desktop leaves the move to us.
    std::optional<QPoint> m_dragGrip;
};
