#pragma once

#include "cli/command.h"

// finder-cli interfaces: the network cards, and whether a scan searches each.
class CInterfacesCommand : public CCommand {
public:
    CInterfacesCommand();
    int Run(const CommandIo& io) override;
};
