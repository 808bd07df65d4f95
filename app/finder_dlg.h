#pragma once

#include <QDialog>
#include <QIcon>
#include <QRect>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/addressing_dialog.h"
#include "app/dialog_units.h"
#include "app/qt_helpers.h"
#include "app/window_context.h"
#include "core/session/camera_roster.h"
#include "core/worker/network_worker.h"
#include "i18n/language_db.h"
#include "i18n/language_place.h"
#include "res/control_ids.h"

class CChangeFlowView;
class CDetailsPanel;
class CDeviceListView;
class CEncodingMenu;
class CQtTranslations;
class CSearchSummary;
class CSkinnedFrame;
class CStatusLine;
class CTrayIcon;
class CWorkerLink;
class DialogLanguageView;
class DialogReport;
class QGroupBox;

#ifdef _WIN32
constexpr char FINDER_MARKER_FILE[] = "c:\\tmp\\webcam\\Search.conf";
#else
constexpr char FINDER_MARKER_FILE[] = "/tmp/webcam/Search.conf";
#endif

// The finder's one window: it makes the controls of template 102 and the parts that work
// them (the device list, the details panel, the status line and the search's summary, the
// change of one camera, the plans of many, the tray icon, the skinned frame, the language
// store's view), and wires them together. It owns the device roster and the network worker;
// the worker reports to it through queued calls, so the roster and the list are only ever
// touched on this thread. To its parts it is their context: the texts in the language
// applied, and the codec of camera texts.
class CFinderDlg : public QDialog, public CWindowContext {
    Q_OBJECT

public:
    // Always given, so that no caller broadcasts on the real network by leaving them out.
    explicit CFinderDlg(const WorkerEndpoints& endpoints,
                        const QString& markerFile = QString::fromLatin1(FINDER_MARKER_FILE),
                        const QString& languageDb = QString::fromLatin1(LANG_DB_FILE));
    ~CFinderDlg() override;

    // Runs the dialog modally; the set-up runs as the window first shows.
    int DoModal();

    // The language.db to open instead of the one given at construction, before DoModal: a
    // read-only one keeps no pick, an empty path none at all, and the place's message is
    // shown once as the window starts.
    void SetLanguagePlace(const LanguagePlace& place);

    // Stops the worker and waits for it; harmless when none runs.
    void StopWorker();
    bool IsWorkerRunning() const;
    bool IsInTray() const { return m_bInTray; }

    const DeviceTable& Table() const { return m_roster.Table(); }
    const ArrivalTable& Arrivals() const { return m_roster.Arrivals(); }
    const LanguageDb& Language() const { return m_language; }
    // The addresses, blocks and ranges every search also asks by unicast, as the user gave
    // them; kept in language.db.
    const std::vector<std::string>& SearchTargets() const { return m_searchTargets; }
    std::optional<TextEncoding> NamedEncoding() const;
    // Replies the worker left out of a batch because too many cameras answered at once.
    std::uint64_t DroppedReplies() const;

    TextLookup Lookup() const override;
    CTextCodec Codec() const override;

    // The template control with this id, or nullptr.
    QWidget* ControlById(int id) const { return ::ControlById(this, id); }
    static QPoint ToClient(QPoint widgetPoint) { return ::ToClient(widgetPoint); }
    static QRect ToWidget(QRect clientRect) { return ::ToWidget(clientRect); }
    // Where the caption's close and minimise-to-tray buttons were last painted, in client
    // coordinates; empty until the first paint.
    QRect CloseButtonRect() const;
    QRect TrayButtonRect() const;

public slots:
    void OnUpdate();
    void OnExit();
    void OnMinimize();
    // "Search addresses…" of the device list's and the tray icon's menus.
    void OnSearchAddresses();

protected:
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
    void WireParts();
    void OnInitDialog();
    void StartWorker();
    void RestartWorker();
    // Every send starts a new search: the panel, the roster, the list and its summary start
    // empty.
    void ClearSearch();
    void OnDrainReports();
    void OnStatus(const WorkerOutcome& outcome);
    void OnReply(const DeviceRecord& record, const ReplyArrival& arrival);
    void OnSelectDevice();
    void OnWindowTexts();
    void ReadCameraTextsAgain();
    void ShowLanguageNotice();
    void SetSearchTargets(std::vector<std::string> targets);
    void OnAddressSelected();
    void OnOpenPlanFile();
    void OpenPlanDialog(CAddressingDialog* dialog);
    void HideToTray();
    void OnTrayShow();
    void OnTrayQuit();

    CCameraRoster m_roster;
    WorkerControl m_worker;
    std::unique_ptr<DialogReport> m_report;
    WorkerEndpoints m_endpoints;
    QString m_markerFile;
    std::thread m_workerThread;
    QIcon m_icon;
    bool m_bInitialised = false;
    bool m_bInTray = false;

    // The language store and the dialog's side of it.
    LanguageDb m_language;
    std::unique_ptr<DialogLanguageView> m_languageView;
    std::string m_languageDbPath;
    bool m_bLanguageReadOnly = false;
    LanguagePlace m_languagePlace; // where language.db was found, and what to say of it
    std::vector<std::string> m_searchTargets;
    PlanFieldMemory m_planFields;
    QGroupBox* m_adslFrame = nullptr; // the "ADSL / DSL" frame, which has no id of its own

    // The parts the window wires together; Qt owns the ones that are QObjects.
    std::unique_ptr<CSkinnedFrame> m_frame;
    CWorkerLink* m_link = nullptr;
    CEncodingMenu* m_encodings = nullptr;
    CQtTranslations* m_qtTexts = nullptr;
    CDeviceListView* m_deviceList = nullptr;
    CDetailsPanel* m_panel = nullptr;
    CSearchSummary* m_search = nullptr;
    CStatusLine* m_statusLine = nullptr;
    CChangeFlowView* m_changeFlow = nullptr;
    CTrayIcon* m_trayIcon = nullptr;
};
