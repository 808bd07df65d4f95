#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

#include "core/worker/worker_outcome.h"

class CCameraRoster;
class CDetailsPanel;
class CDeviceListView;
class CFinderDlg;
class CTransparentStatic;
class QTimer;

// How long after a query the status line sums up who answered; later replies update it.
constexpr int SEARCH_SUMMARY_DELAY_MS = 1500;

// The status line: the worker's outcomes, the messages of the finder's own that it holds
// against the worker's routine "OK", the summary of a search (with the cameras new and gone
// since the search before), and a failed start-up.
class CStatusLine : public QObject {
    Q_OBJECT

public:
    CStatusLine(CFinderDlg& dialog, CTransparentStatic* status, CCameraRoster& roster,
                CDeviceListView& list, CDetailsPanel& panel);

    void OnStatus(const WorkerOutcome& outcome);

    // A message of the finder's own, made again whenever the window's language changes.
    using HeldText = std::function<QString()>;
    void ShowHeld(const HeldText& makeText);
    void ReleaseHeld() { m_bHold = false; }
    bool IsHolding() const { return m_bHold; }

    // The next send is the search's query, whose answers are summed up; a set request's is
    // not.
    void ExpectQuery(bool query) { m_bQueryPending = query; }
    // After the send of the search's own query, when it went out well: the search begins
    // in the roster, and its summary follows once the cameras have had time to answer.
    void StartSearchSummary(const WorkerOutcome& sent);
    void ClearSearch();

    void ShowStartupFailure(const WorkerStartFailure& failure);
    void ClearStartupFailure();

    // The texts it shows again in the window's language.
    void OnWindowTexts();

private:
    void ShowSearchSummary();
    void ShowSummaryNote(const QString& note);
    void ShowText(const QString& text, const QString& tip);

    CFinderDlg& m_dialog;
    CTransparentStatic* m_status;
    CCameraRoster& m_roster; // the summary ends its search
    CDeviceListView& m_list;
    CDetailsPanel& m_panel;
    QTimer* m_summaryTimer;
    bool m_bHold = false; // a held message stays until the next error or command
    HeldText m_held;
    bool m_bQueryPending = false;
    bool m_bSummaryShown = false; // the status line sums up the last search
    bool m_bNoteShown = false;    // the empty list holds the summary of a search that found nothing
    std::optional<WorkerStartFailure> m_startupFailure; // shown while the worker is down
};
