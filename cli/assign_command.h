#pragma once

#include <ostream>

#include "cli/cli_options.h"
#include "core/net/net_interfaces.h"

// finder-cli assign: addresses the cameras named (or every camera found) in one step, from
// a first IP on, and waits for each one to confirm.
int RunAssign(const CliOptions& options, std::ostream& out, std::ostream& err,
              LocalNetworksFunction localNetworks);
