#pragma once

#include "cli/command.h"
#include "cli/plan_command.h"

// finder-cli assign: addresses the cameras named (or every camera found) in one step, from
// a first IP on, and waits for each one to confirm.
class CAssignCommand : public CCommand {
public:
    CAssignCommand();
    int Run(const CommandIo& io) override;

private:
    std::string TakeArgument(const std::string& argument) override;
    std::string Finish() override;

    PlanRunOptions m_options;
};
