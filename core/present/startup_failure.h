#pragma once

#include <cstdint>
#include <string>

#include "i18n/window_texts.h"

// The worker's start-up steps that can fail after the sockets layer is up.
enum class WorkerStartStep { Socket, Bind };

// A failed start-up as the worker reports it; the front end puts it in words.
struct WorkerStartFailure {
    WorkerStartStep step = WorkerStartStep::Socket;
    int error = 0;
    uint16_t localPort = 0;
};

// What a user is told beside the worker's status line when it cannot start, in the
// language of `tr` (WORKER_MSG_*).
std::string StartupFailureSentence(const WorkerStartFailure& failure,
                                   const TextLookup& tr = EnglishText);
