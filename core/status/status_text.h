#pragma once

#include <string>

#include "core/worker/worker_outcome.h"

// The worker's status line for an outcome, as the finder has always shown it: "OK", or
// "ERR: ..." with the system's error code (WORKER_*, SEARCH_* texts).
std::string StatusText(const WorkerOutcome& outcome);

// The same without the line feed and blank the error texts end with, for a console line.
std::string StatusLine(const WorkerOutcome& outcome);
