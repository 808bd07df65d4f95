#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

#include "core/worker/worker_outcome.h"

class CSearchSummary;
class CTransparentStatic;
class CWindowContext;

// The status line: the worker's outcomes, the messages of the finder's own that it holds
// against the worker's routine "OK", the summary of a search, and a failed start-up. It is
// one line: a text too long for it ends in "…" and shows whole in the line's tip.
class CStatusLine : public QObject {
    Q_OBJECT

public:
    CStatusLine(CTransparentStatic* status, const CWindowContext& context, CSearchSummary& search,
                QObject* parent);

    void OnStatus(const WorkerOutcome& outcome);

    // A message of the finder's own, made again whenever the window's language changes.
    using HeldText = std::function<QString()>;
    void ShowHeld(const HeldText& makeText);
    void ReleaseHeld() { m_bHold = false; }
    bool IsHolding() const { return m_bHold; }

    void ShowStartupFailure(const WorkerStartFailure& failure);
    void ClearStartupFailure();

    // The texts it shows again in the window's language.
    void OnWindowTexts();

signals:
    // The sentence of a failed start-up, for where the selected camera's information would
    // be (empty: none).
    void StartupNote(const QString& note);

private:
    void ShowText(const QString& text, const QString& tip);

    CTransparentStatic* m_status;
    const CWindowContext& m_context;
    CSearchSummary& m_search;
    bool m_bHold = false; // a held message stays until the next error or command
    HeldText m_held;
    std::optional<WorkerStartFailure> m_startupFailure; // shown while the worker is down
};
