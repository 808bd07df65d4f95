#pragma once

#include <ostream>

#include "cli/cli_options.h"

// finder-cli suggest: settings that move a camera into the subnet of the card it answered
// on.
int RunSuggest(const CliOptions& options, std::ostream& out, std::ostream& err);
