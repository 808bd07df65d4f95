#pragma once

#include <ostream>

#include "cli/cli_options.h"
#include "core/net/net_interfaces.h"

// finder-cli apply: the plan of a CSV file (as scan --csv writes it and a spreadsheet saves
// it), sent and confirmed in one step.
int RunApply(const CliOptions& options, std::ostream& out, std::ostream& err,
             LocalNetworksFunction localNetworks);
