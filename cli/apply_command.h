#pragma once

#include "cli/command.h"
#include "cli/plan_command.h"

// finder-cli apply: the plan of a CSV file (as scan --csv writes it and a spreadsheet saves
// it), sent and confirmed in one step.
class CApplyCommand : public CCommand {
public:
    CApplyCommand();
    int Run(const CommandIo& io) override;

private:
    std::string TakeArgument(const std::string& argument) override;
    std::string Finish() override;

    PlanRunOptions m_options;
};
