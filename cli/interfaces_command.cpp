#include "cli/interfaces_command.h"

#include "core/net/net_interfaces.h"
#include "core/present/device_format.h"

int RunInterfaces(const CliOptions& options, std::ostream& out) {
    out << FormatInterfaces(ListInterfaces(), options.endpoints.interfaces);
    return CLI_EXIT_OK;
}
