#pragma once

#include <QObject>
#include <QString>

#include <optional>
#include <string>
#include <vector>

#include "core/worker/network_worker.h"
#include "core/worker/worker_outcome.h"

class CCameraRoster;
class CWindowContext;
class QTimer;

// How long after a query the status line sums up who answered; later replies update it.
constexpr int SEARCH_SUMMARY_DELAY_MS = 1500;

// A search from its query to its summary: the search begins in the roster once its query
// went out well, and ends there when the cameras have had time to answer; then it is summed
// up ("12 cameras on eth0", or that nothing answered and where the finder looked, with the
// cameras new and gone since the search before and the queries the system refused).
class CSearchSummary : public QObject {
    Q_OBJECT

public:
    CSearchSummary(CCameraRoster& roster, const CWindowContext& context,
                   const WorkerEndpoints& endpoints, const std::vector<std::string>& targets,
                   QObject* parent);

    // The next send is the search's query, whose answers are summed up; a set request's is
    // not.
    void ExpectQuery(bool query) { m_bQueryPending = query; }
    // After the send of a query, with how it went.
    void OnQuerySent(const WorkerOutcome& sent);
    // The search's last datagram went out: the unicast queries the system refused are told.
    void OnSearchSent(const SearchSent& sent);
    void Clear();
    // An "OK" of a reply: a summary shown (or one with replies dropped) is brought up to
    // date; false when none is due.
    bool Refresh();
    // Summed up again in the window's language, when it is shown.
    void OnWindowTexts();

signals:
    // The summary for the status line; the tip holds the whole of a long one.
    void Summary(const QString& text, const QString& tip);
    // Where nothing answered, the whole sentence for the empty list; empty: none.
    void EmptyNote(const QString& note);

private:
    void Show();
    void ShowNote(const QString& note);

    CCameraRoster& m_roster;
    const CWindowContext& m_context;
    const WorkerEndpoints& m_endpoints;
    const std::vector<std::string>& m_targets;
    QTimer* m_timer;
    bool m_bQueryPending = false;
    bool m_bShown = false;     // the status line sums up the last search
    bool m_bNoteShown = false; // the empty list holds the summary of a search that found nothing
    std::optional<SearchSent> m_sent; // of the search summed up
};
