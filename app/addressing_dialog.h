#pragma once

#include <QDialog>

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "core/plan/change_engine.h"
#include "core/plan/change_plan.h"
#include "core/plan/plan_file.h"
#include "core/wire/device_table.h"
#include "core/worker/device_arrival.h"
#include "core/worker/worker_outcome.h"

class CChangeEngine;
class CFinderDlg;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;

// The window's plan of many cameras: the selected cameras addressed from a first IP (or the
// changes of a plan file), a preview that follows what is typed with a mark on every
// conflict, one question for all the risks, then the requests one by one and the shared
// rounds of queries, each row showing its camera's result as it comes; the report saved as
// CSV. Closed or stopped while it runs, it sends no more and says what went out.
class CAddressingDialog : public QDialog {
    Q_OBJECT

public:
    // The selected cameras (slots, in the list's order) of the search as it is now.
    CAddressingDialog(CFinderDlg& finder, std::vector<int> cameras);
    // The changes of a plan file read for the search as it is now.
    CAddressingDialog(CFinderDlg& finder, PlanFile file);
    ~CAddressingDialog() override;

    bool IsRunning() const { return m_running; }

public slots:
    void OnSend();
    void OnStop();
    void OnSaveReport();

protected:
    void reject() override; // Esc or the close button: stops a run first

private:
    CAddressingDialog(CFinderDlg& finder, std::vector<int> cameras, std::optional<PlanFile> file);
    void CreateControls();
    void ProposeAddresses();
    void Rebuild();
    void ShowRows();
    void ShowNote(const QString& text);
    void FitToRows();

    void Take(const EngineStep& step);
    void OnWorkerSent();
    void OnWorkerFailed(const WorkerOutcome& outcome);
    void OnWorkerReply(const DeviceRecord& record);
    void OnTick();
    void Finish(bool stopped);

    CFinderDlg& m_finder;
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

    // The run: the engine that sends the requests and runs the rounds, woken by the timer.
    bool m_running = false;
    std::unique_ptr<CChangeEngine> m_engine;
    QTimer* m_timer;
};
