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
#include "core/session/camera_roster.h"
#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"
#include "core/worker/device_arrival.h"
#include "core/worker/network_worker.h"
#include "core/worker/report_batch.h"
#include "i18n/language_db.h"
#include "i18n/language_place.h"
#include "res/control_ids.h"

class CAddressingDialog;
class CChangeFlowView;
class CDetailsPanel;
class CDeviceListView;
class CSkinnedFrame;
class CStatusLine;
class CTrayIcon;
class DialogLanguageView;
class DialogReport;
class QGroupBox;
class QMenu;

// Every control carries its template id in this property, so later code and tests can
// find it by number.
constexpr char CONTROL_ID_PROPERTY[] = "controlId";

// The skinned caption bar across the top of the client area, and its two buttons.
constexpr int CAPTION_HEIGHT = 30;
constexpr int CAPTION_BUTTON_WIDTH = 28;

// The tip of the notification-area icon.
constexpr char TRAY_TIP[] = "Lanvista";

#ifdef _WIN32
constexpr char FINDER_MARKER_FILE[] = "c:\\tmp\\webcam\\Search.conf";
#else
constexpr char FINDER_MARKER_FILE[] = "/tmp/webcam/Search.conf";
#endif

// The tip of a device list entry: that a double-click opens the camera's web page, and its
// address. Every line an entry's tip shows is added here.
QString DeviceEntryToolTip(const DeviceRecord& record, const QString& hint);

// A UTF-8 text (the codec's output, the language store's texts) as the window shows it.
QString Utf8Text(const std::string& text);

// The finder's one window: the device list, the details panel of the selected camera and
// the commands. It owns the device table and the network worker; the worker reports to it
// through queued calls, so the table and the list are only ever touched on this thread.
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

    const DeviceTable& Table() const { return m_roster.Table(); }
    const ArrivalTable& Arrivals() const { return m_roster.Arrivals(); }
    const LanguageDb& Language() const { return m_language; }
    const WorkerEndpoints& Endpoints() const { return m_endpoints; }
    // The addresses, blocks and ranges every search also asks by unicast, as the user gave
    // them; kept in language.db.
    const std::vector<std::string>& SearchTargets() const { return m_searchTargets; }
    // Takes a new list of them (each a valid target), keeps it and searches at once.
    void SetSearchTargets(std::vector<std::string> targets);

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
    // The menu of the encoding of camera texts, in the device list's menu.
    QMenu* MakeEncodingMenu(QWidget* parent);

    // The language store has applied a language: the texts it does not set itself, and
    // the camera texts, which may read differently now.
    void OnWindowTexts();

    // The template control with this id, or nullptr.
    QWidget* ControlById(int id) const;

    // The client area: the window inside its one-pixel frame, in client coordinates.
    QRect ClientRect() const;
    static QPoint ToClient(QPoint widgetPoint);
    static QRect ToWidget(QRect clientRect);
    // Where the caption's close and minimise-to-tray buttons were last painted, in client
    // coordinates; empty until the first paint.
    QRect CloseButtonRect() const;
    QRect TrayButtonRect() const;

    // What the worker reports, carried out here on the dialog's thread.
    void OnStatus(const WorkerOutcome& outcome);
    void OnReply(const DeviceRecord& record, const ReplyArrival& arrival);
    void OnSent(); // ClearPanel, then the next step of a confirmation that waits for it
    void ClearPanel();
    // Takes everything the worker reported since the last call and shows it at once.
    void OnDrainReports();
    // Replies the worker left out of a batch because too many cameras answered at once.
    std::uint64_t DroppedReplies() const;
    // A message of the finder's own on the status line, made again in a new language.
    void ShowHeldStatus(const std::function<QString()>& makeText);

signals:
    // What the worker reported, as the window took it, for a plan that follows its sends.
    void WorkerSent();
    void WorkerFailed(const WorkerOutcome& outcome);
    void WorkerReply(const DeviceRecord& record);

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
    // The device list's export, also reached from its menu.
    void OnExportList();
    // The device list's plans: the selected cameras addressed, or a plan file opened.
    void OnAddressSelected();
    void OnOpenPlanFile();
    // The notification-area icon's menu.
    void OnTrayShow();
    void OnTrayQuit();
    // "Search addresses…" of the device list's and the tray icon's menus.
    void OnSearchAddresses();

public:
    bool m_bInTray = false;
    WorkerControl m_worker;
    QIcon m_hIcon;

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

private:
    void CreateControls();
    void StartWorker();
    void RestartWorker();
    // Every send starts a new search: the roster, the list and its summary start empty.
    void ClearSearch();

    // Set-up steps of their own, filled by the language store.
    void OpenLanguageDb();
    void ShowLanguageNotice();
    void InitLanguageList();

    void HideToTray();
    void ShowSubnetWarning(std::optional<int> slot);
    QString InfoLine(int slot) const;
    void ReadCameraTextsAgain();
    void LoadNamedEncoding();
    void LoadSearchTargets();

    CCameraRoster m_roster;
    std::unique_ptr<DialogReport> m_report;
    WorkerEndpoints m_endpoints;
    QString m_markerFile;
    std::thread m_workerThread;
    bool m_bInitialised = false;

    // The language store and the dialog's side of it.
    LanguageDb m_language;
    std::unique_ptr<DialogLanguageView> m_languageView;
    std::string m_languageDbPath;
    std::optional<TextEncoding> m_namedEncoding;
    std::vector<std::string> m_searchTargets;
    QGroupBox* m_adslFrame = nullptr; // the "ADSL / DSL" frame, which has no id of its own
    bool m_bLanguageReadOnly = false;
    LanguagePlace m_languagePlace; // where language.db was found, and what to say of it

    // The parts the window wires together; Qt owns the ones that are QObjects.
    std::unique_ptr<CSkinnedFrame> m_frame;
    CDeviceListView* m_deviceList = nullptr;
    CDetailsPanel* m_panel = nullptr;
    CStatusLine* m_statusLine = nullptr;
    CChangeFlowView* m_changeFlow = nullptr;
    CTrayIcon* m_trayIcon = nullptr;
};
