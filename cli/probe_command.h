#pragma once

#include <ostream>

#include "cli/cli_options.h"
#include "core/net/address_probe.h"

// finder-cli probe: a scan, then the segment asked which addresses of the TARGETs are held;
// one row per address. probe sets how it asks (tests force the unprivileged way).
int RunProbe(const CliOptions& options, std::ostream& out, std::ostream& err,
             const ProbeOptions& probe = {});
