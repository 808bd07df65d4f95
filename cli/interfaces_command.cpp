#include "cli/interfaces_command.h"

#include "core/net/net_interfaces.h"
#include "core/present/device_format.h"

CInterfacesCommand::CInterfacesCommand()
    : CCommand("interfaces", "", "list the network cards and whether a scan searches each",
               "Lists the network cards: name, address/prefix, whether it is up, whether it can "
               "broadcast, and whether a scan searches it (or why not).",
               "0 the list was printed; 2 bad usage.") {}

int CInterfacesCommand::Run(const CommandIo& io) {
    io.out << FormatInterfaces(ListInterfaces(), {});
    return CLI_EXIT_OK;
}
