#pragma once

#include <QDialog>

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "core/plan/change_plan.h"
#include "core/plan/plan_file.h"
#include "core/wire/device_table.h"
#include "core/worker/device_arrival.h"
#include "core/worker/worker_outcome.h"

class CCameraRoster;
class CStatusLine;
class CWindowContext;
class CWorkerLink;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;

// What the plan dialog keeps of its fields for the rest of the window's session: the next
// plan starts from them.
struct PlanFieldMemory {
    QString netmask;
    QString gateway;
    QString names;
};

// What the plan dialog takes of the window: its texts and codec, the worker's link, the
// status line that keeps the outcome, the search as it is now, and the fields kept.
struct PlanDialogParts {
    const CWindowContext& context;
    CWorkerLink& worker;
    CStatusLine& status;
    const CCameraRoster& roster;
    PlanFieldMemory& remembered;
};

// The window's plan of many cameras: the selected cameras addressed from a first IP (or the
// changes of a plan file), a preview that follows what is typed with a mark on every
// conflict, one question for all the risks, then the requests one by one and the shared
// rounds of queries, each row showing its camera's result as it comes; the report saved as
// CSV. Closed or stopped while it runs, it sends no more and says what went out.
class CAddressingDialog : public QDialog {
    Q_OBJECT

public:
    // The selected cameras (slots, in the list's order) of the search as it is now.
    CAddressingDialog(QWidget* parent, const PlanDialogParts& parts, std::vector<int> cameras);
    // The changes of a plan file read for the search as it is now, and the file's name.
    CAddressingDialog(QWidget* parent, const PlanDialogParts& parts, PlanFile file,
                      const QString& fileName);
    ~CAddressingDialog() override;

    bool IsRunning() const { return m_running; }

public slots:
    void OnSend();
    void OnStop();
    void OnSaveReport();

protected:
    void reject() override; // Esc or the close button: stops a run first

private:
    CAddressingDialog(QWidget* parent, const PlanDialogParts& parts, std::vector<int> cameras,
                      std::optional<PlanFile> file);
    void RememberFields();
    void CreateControls();
    void ProposeAddresses();
    void Rebuild();
    void ShowRows();
    void ShowNote(const QString& text);
    void FitToRows();

    void SendNext();
    void OnWorkerSent();
    void OnWorkerFailed(const WorkerOutcome& outcome);
    void OnWorkerReply(const DeviceRecord& record);
    void OnConfirmTick();
    void Finish(bool stopped);

    PlanDialogParts m_parts;
    std::unique_ptr<DeviceTable> m_table; // the search as the dialog opened
    std::unique_ptr<ArrivalTable> m_arrivals;
    std::vector<int> m_slots;
    std::optional<PlanFile> m_file;
    std::unique_ptr<CChangePlan> m_plan; // as the fields give it; none while they give none
    std::optional<PlanRefusal> m_refusal;

    QLineEdit* m_firstIp = nullptr;
    QLineEdit* m_netmask = nullptr;
    QLineEdit* m_gateway = nullptr;
    QLineEdit* m_names = nullptr;
    QComboBox* m_order = nullptr;
    QTableWidget* m_rows = nullptr;
    QLabel* m_note = nullptr;
    QPushButton* m_send = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_close = nullptr;

    // The run: the requests to go, one at a time, and the rounds after the last.
    bool m_running = false;
    std::vector<std::size_t> m_toSend;
    std::size_t m_next = 0;
    std::optional<std::size_t> m_inFlight; // handed to the worker, not yet reported sent
    std::optional<std::size_t> m_lastSent; // reported sent; a failure that follows is its own
    QTimer* m_pace;
    QTimer* m_confirmTimer;
    std::size_t m_confirmTick = 0;
};
