#include "core/status/status_text.h"

#include <cstdio>

#include "core/messages/fill_text.h"
#include "core/messages/worker_texts.h"

namespace {

std::string ErrorText(const char* format, int code) {
    char text[64];
    std::snprintf(text, sizeof text, format, code);
    return text;
}

// "eth1 (Errorcode =101), eth2 (Errorcode =19)".
std::string FailedCards(const std::vector<CardSendFailure>& failures) {
    std::string text;
    for (const CardSendFailure& failure : failures) {
        text +=
            (text.empty() ? "" : ", ") + failure.card + ErrorText(WORKER_CARD_ERROR, failure.error);
    }
    return text;
}

} // namespace

std::string StatusText(const WorkerOutcome& outcome) {
    switch (outcome.kind) {
    case WorkerOutcomeKind::Ok:
        return WORKER_STATUS_OK;
    case WorkerOutcomeKind::PartlySent:
        return FillText(SEARCH_PARTLY_SENT, {FailedCards(outcome.failedCards)});
    case WorkerOutcomeKind::SocketsLayerFailed:
        return ErrorText(WORKER_ERR_SOCKETS_LAYER, outcome.error);
    case WorkerOutcomeKind::SocketFailed:
        return ErrorText(WORKER_ERR_SOCKET, outcome.error);
    case WorkerOutcomeKind::BindFailed:
        return ErrorText(WORKER_ERR_BIND, outcome.error);
    case WorkerOutcomeKind::SendFailed:
        return ErrorText(WORKER_ERR_SEND, outcome.error);
    case WorkerOutcomeKind::ReceiveFailed:
        return ErrorText(WORKER_ERR_RECEIVE, outcome.error);
    case WorkerOutcomeKind::NoCard:
        return SEARCH_ERR_NO_CARD;
    case WorkerOutcomeKind::EveryCardFailed:
        return FillText(SEARCH_ERR_EVERY_CARD_FAILED, {FailedCards(outcome.failedCards)});
    case WorkerOutcomeKind::CardGone:
        return FillText(SEARCH_ERR_CARD_GONE, {outcome.card});
    }
    return WORKER_STATUS_OK;
}

std::string StatusLine(const WorkerOutcome& outcome) {
    std::string text = StatusText(outcome);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}
