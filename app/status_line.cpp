#include "app/status_line.h"

#include <QTimer>

#include <algorithm>
#include <string>
#include <vector>

#include "app/details_panel.h"
#include "app/device_list_view.h"
#include "app/finder_dlg.h"
#include "core/messages/fill_text.h"
#include "core/net/net_interfaces.h"
#include "core/session/camera_roster.h"
#include "core/status/search_texts.h"
#include "core/status/startup_failure.h"
#include "core/status/status_text.h"
#include "skin/transparent_static.h"

CStatusLine::CStatusLine(CFinderDlg& dialog, CTransparentStatic* status, CCameraRoster& roster,
                         CDeviceListView& list, CDetailsPanel& panel)
    : QObject(&dialog), m_dialog(dialog), m_status(status), m_roster(roster), m_list(list),
      m_panel(panel), m_summaryTimer(new QTimer(this)) {
    m_summaryTimer->setSingleShot(true);
    m_summaryTimer->setInterval(SEARCH_SUMMARY_DELAY_MS);
    connect(m_summaryTimer, &QTimer::timeout, this, [this] {
        m_bSummaryShown = true;
        ShowSearchSummary();
    });
}

// Every datagram of a burst of replies brings an outcome, so the label repaints through
// Qt's ordinary update, once per pass of the event loop, not once each. An "OK" for a reply
// keeps the summary of the search that is shown, brought up to date.
void CStatusLine::OnStatus(const WorkerOutcome& outcome) {
    const bool ok = outcome.kind == WorkerOutcomeKind::Ok;
    if (m_bHold && ok) {
        return;
    }
    m_bHold = false;
    if (ok && (m_bSummaryShown || m_roster.Dropped() > 0)) {
        ShowSearchSummary();
        return;
    }
    m_bSummaryShown = false;
    m_status->setToolTip(QString());
    m_status->QLabel::setText(QString::fromLatin1(StatusText(outcome)));
}

void CStatusLine::ShowHeld(const HeldText& makeText) {
    m_held = makeText;
    m_bHold = true;
    const QString text = makeText();
    ShowText(text, text); // a long sentence may not fit the line
}

void CStatusLine::ShowText(const QString& text, const QString& tip) {
    m_status->setText(text);
    m_status->setToolTip(tip);
}

void CStatusLine::StartSearchSummary(const WorkerOutcome& sent) {
    if (m_bQueryPending && sent.kind == WorkerOutcomeKind::Ok) {
        m_roster.BeginSearch();
        m_summaryTimer->start();
    }
    m_bQueryPending = false;
}

void CStatusLine::ClearSearch() {
    m_bSummaryShown = false;
    m_summaryTimer->stop();
    ShowSummaryNote(QString());
}

// "12 cameras on eth0, eth1", or plainly that nothing answered and where the finder looked.
void CStatusLine::ShowSearchSummary() {
    const TextLookup tr = m_dialog.WindowTextLookup();
    std::vector<std::string> cards;
    for (int slot : m_roster.Listed()) {
        const std::string card = CardName(m_roster.Arrival(slot), tr);
        if (std::find(cards.begin(), cards.end(), card) == cards.end()) {
            cards.push_back(card);
        }
    }
    std::sort(cards.begin(), cards.end());
    const int cameras = static_cast<int>(m_roster.Listed().size());
    std::string text;
    QString tip;
    if (cameras > 0) {
        text = FoundText(cameras, cards, tr);
    } else {
        for (const std::string& sentence : NothingAnsweredSentences(
                 m_dialog.Endpoints(), !m_dialog.SearchTargets().empty(), "", tr)) {
            text += (text.empty() ? "" : " ") + sentence;
        }
        tip = Utf8Text(text);
    }
    // Later replies bring the counts up to date with the summary.
    const CCameraRoster::SearchCounts counts = m_roster.EndSearch();
    if (m_roster.HasSearchBefore()) {
        text += "; " + FillText(tr(TEXT_SEARCH_NEW_GONE),
                                {std::to_string(counts.added), std::to_string(counts.gone)});
    }
    if (m_roster.Dropped() > 0) {
        text += "; " + FillText(tr(TEXT_SEARCH_TABLE_FULL), {std::to_string(m_roster.Dropped())});
    }
    ShowText(Utf8Text(text), tip);
    ShowSummaryNote(tip);
}

// The status line holds a line and a half: where nothing answered, the whole sentence with
// its likely causes also stands in the empty list, where the cameras would be.
void CStatusLine::ShowSummaryNote(const QString& note) {
    if (note.isEmpty() && !m_bNoteShown) {
        return;
    }
    m_list.ShowEmptyNote(note);
    m_bNoteShown = !note.isEmpty();
}

// The status line keeps the worker's own text; the sentence goes where the selected
// camera's information would be, which is empty while no camera can answer.
void CStatusLine::ShowStartupFailure(const WorkerStartFailure& failure) {
    m_startupFailure = failure;
    const QString text = Utf8Text(StartupFailureSentence(failure, m_dialog.WindowTextLookup()));
    m_panel.ShowNote(text);
    m_status->setToolTip(text);
}

void CStatusLine::ClearStartupFailure() {
    m_startupFailure.reset();
    m_panel.ShowNote(QString());
    m_status->setToolTip(QString());
}

void CStatusLine::OnWindowTexts() {
    if (m_held) {
        ShowHeld(m_held);
    }
    if (m_bSummaryShown) {
        ShowSearchSummary();
    }
    if (m_startupFailure) {
        ShowStartupFailure(*m_startupFailure);
    }
}
