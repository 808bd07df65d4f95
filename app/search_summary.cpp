#include "app/search_summary.h"

#include <QTimer>

#include <algorithm>

#include "app/qt_helpers.h"
#include "app/window_context.h"
#include "core/messages/fill_text.h"
#include "core/net/net_interfaces.h"
#include "core/session/camera_roster.h"
#include "core/status/search_texts.h"

CSearchSummary::CSearchSummary(CCameraRoster& roster, const CWindowContext& context,
                               const WorkerEndpoints& endpoints,
                               const std::vector<std::string>& targets, QObject* parent)
    : QObject(parent), m_roster(roster), m_context(context), m_endpoints(endpoints),
      m_targets(targets), m_timer(new QTimer(this)) {
    m_timer->setSingleShot(true);
    m_timer->setInterval(SEARCH_SUMMARY_DELAY_MS);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_bShown = true;
        Show();
    });
}

void CSearchSummary::OnQuerySent(const WorkerOutcome& sent) {
    if (m_bQueryPending && sent.kind == WorkerOutcomeKind::Ok) {
        m_roster.BeginSearch();
        m_sent.reset();
        m_timer->start();
    }
    m_bQueryPending = false;
}

void CSearchSummary::OnSearchSent(const SearchSent& sent) {
    m_sent = sent;
    if (m_bShown) {
        Show();
    }
}

void CSearchSummary::Clear() {
    m_bShown = false;
    m_timer->stop();
    ShowNote(QString());
}

bool CSearchSummary::Refresh() {
    if (!m_bShown && m_roster.Dropped() == 0) {
        return false;
    }
    Show();
    return true;
}

void CSearchSummary::OnWindowTexts() {
    if (m_bShown) {
        Show();
    }
}

void CSearchSummary::Show() {
    const TextLookup tr = m_context.Lookup();
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
    QString note;
    if (cameras > 0) {
        text = FoundText(cameras, cards, tr);
    } else {
        const std::vector<NetInterface> searched =
            m_endpoints.SendsPerInterface()
                ? SearchedInterfaces(ListInterfaces(), m_endpoints.interfaces)
                : std::vector<NetInterface>{{m_endpoints.destinationAddress}};
        text = NothingFoundText(searched, tr) + ". " + tr(TEXT_SEARCH_LIKELY_CAUSES);
        if (!m_targets.empty()) {
            text += " " + tr(TEXT_SEARCH_BROADCAST_ONLY);
        }
        note = Utf8Text(text);
    }
    // Later replies bring the counts up to date with the summary.
    const std::string separator = tr(APPLY_TEXT_LIST_SEPARATOR);
    const CCameraRoster::SearchCounts counts = m_roster.EndSearch();
    if (m_roster.HasSearchBefore()) {
        text += separator + FillText(tr(TEXT_SEARCH_NEW_GONE),
                                     {std::to_string(counts.added), std::to_string(counts.gone)});
    }
    if (m_roster.Dropped() > 0) {
        text +=
            separator + FillText(tr(TEXT_SEARCH_TABLE_FULL), {std::to_string(m_roster.Dropped())});
    }
    if (m_sent && m_sent->targetsFailed > 0) {
        text += separator + RefusedTargetsText(*m_sent, tr);
    }
    emit Summary(Utf8Text(text), note);
    ShowNote(note);
}

// The status line holds one line: where nothing answered, the whole sentence with its
// likely causes also stands in the empty list, where the cameras would be.
void CSearchSummary::ShowNote(const QString& note) {
    if (note.isEmpty() && !m_bNoteShown) {
        return;
    }
    emit EmptyNote(note);
    m_bNoteShown = !note.isEmpty();
}
