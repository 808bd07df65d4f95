#pragma once

#include <string>

#include "core/messages/window_text.h"
#include "core/worker/worker_outcome.h"

// What a user is told beside the worker's status line when it cannot start, in the
// language of `tr` (WORKER_MSG_*).
std::string StartupFailureSentence(const WorkerStartFailure& failure,
                                   const TextLookup& tr = EnglishText);
