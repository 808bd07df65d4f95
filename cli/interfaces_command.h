#pragma once

#include <ostream>

#include "cli/cli_options.h"

// finder-cli interfaces: the network cards, and whether a scan searches each.
int RunInterfaces(const CliOptions& options, std::ostream& out);
