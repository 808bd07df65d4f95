#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What became of a step of the worker, as a value: the front ends act on its kind and put
// it in words through core/present's StatusText.
enum class WorkerOutcomeKind {
    Ok,                 // started, sent, or a datagram taken in
    PartlySent,         // sent, but not out of failedCards
    SocketsLayerFailed, // error: the sockets layer would not start
    SocketFailed,       // error: no socket
    BindFailed,         // error: the local port would not bind
    SendFailed,         // error: the one send failed
    ReceiveFailed,      // error: taking a datagram in failed
    NoCard,             // no network card to search
    EveryCardFailed,    // the send failed out of every card (failedCards)
    CardGone,           // card: the card the camera answered on is gone
};

// One card a send could not go out of, and the system's error code.
struct CardSendFailure {
    std::string card;
    int error = 0;

    bool operator==(const CardSendFailure&) const = default;
};

struct WorkerOutcome {
    WorkerOutcomeKind kind = WorkerOutcomeKind::Ok;
    int error = 0;
    std::string card;
    std::vector<CardSendFailure> failedCards;

    // Nothing went where it was meant to: a partly sent request still went out.
    bool Failed() const {
        return kind != WorkerOutcomeKind::Ok && kind != WorkerOutcomeKind::PartlySent;
    }
    bool operator==(const WorkerOutcome&) const = default;
};

// The worker's start-up steps that can fail after the sockets layer is up.
enum class WorkerStartStep { Socket, Bind };

// A failed start-up as the worker reports it beside its outcome, for plain words.
struct WorkerStartFailure {
    WorkerStartStep step = WorkerStartStep::Socket;
    int error = 0;
    uint16_t localPort = 0;
};
