#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/net/net_interfaces.h"

// The whole command line: the arguments after the program name in, the exit status out
// (CLI_EXIT_OK, CLI_EXIT_FAILED, CLI_EXIT_USAGE). Results go to out, messages to err.
// localNetworks tells the networks of this PC, which `set` weighs a new IP against.
int RunFinderCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 LocalNetworksFunction localNetworks = LocalNetworks);
