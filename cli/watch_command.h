#pragma once

#include <atomic>
#include <ostream>

#include "cli/cli_options.h"

// finder-cli watch: a search every --every seconds, one line per camera that appeared,
// changed or went, until stop is raised (RunFinderCli raises it on Ctrl-C or a kill).
int RunWatch(const CliOptions& options, std::ostream& out, std::ostream& err,
             const std::atomic<bool>& stop);
