#pragma once

#include <ostream>

#include "cli/cli_options.h"

// finder-cli scan: the cameras that answer, as a table, JSON or CSV.
int RunScan(const CliOptions& options, std::ostream& out, std::ostream& err);
