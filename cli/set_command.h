#pragma once

#include <ostream>

#include "cli/cli_options.h"
#include "core/net/net_interfaces.h"

// finder-cli set: checks a change, sends it to its one camera and, unless told not to,
// waits for the camera to confirm it.
int RunSet(const CliOptions& options, std::ostream& out, std::ostream& err,
           LocalNetworksFunction localNetworks);
