#include "app/status_line.h"

#include "app/qt_helpers.h"
#include "app/search_summary.h"
#include "app/window_context.h"
#include "core/status/startup_failure.h"
#include "core/status/status_text.h"
#include "skin/transparent_static.h"

CStatusLine::CStatusLine(CTransparentStatic* status, const CWindowContext& context,
                         CSearchSummary& search, QObject* parent)
    : QObject(parent), m_status(status), m_context(context), m_search(search) {
    m_status->SetElided(true);
    connect(&m_search, &CSearchSummary::Summary, this, &CStatusLine::ShowText);
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
    if (ok && m_search.Refresh()) {
        return;
    }
    m_status->setToolTip(QString());
    m_status->QLabel::setText(QString::fromLatin1(StatusText(outcome)));
}

void CStatusLine::ShowHeld(const HeldText& makeText) {
    m_held = makeText;
    m_bHold = true;
    const QString text = makeText();
    ShowText(text, text); // a long sentence may not fit the line
}

// A text cut short by the line's edge shows whole in the tip.
void CStatusLine::ShowText(const QString& text, const QString& tip) {
    m_status->setText(text);
    m_status->setToolTip(tip.isEmpty() && m_status->IsCut() ? text : tip);
}

// The status line keeps the worker's own text; the sentence goes where the selected
// camera's information would be, which is empty while no camera can answer.
void CStatusLine::ShowStartupFailure(const WorkerStartFailure& failure) {
    m_startupFailure = failure;
    const QString text = Utf8Text(StartupFailureSentence(failure, m_context.Lookup()));
    emit StartupNote(text);
    m_status->setToolTip(text);
}

void CStatusLine::ClearStartupFailure() {
    m_startupFailure.reset();
    emit StartupNote(QString());
    m_status->setToolTip(QString());
}

void CStatusLine::OnWindowTexts() {
    if (m_held) {
        ShowHeld(m_held);
    }
    m_search.OnWindowTexts();
    if (m_startupFailure) {
        ShowStartupFailure(*m_startupFailure);
    }
}
