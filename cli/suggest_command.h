#pragma once

#include "cli/command.h"

// finder-cli suggest: settings that move a camera into the subnet of the card it answered
// on.
class CSuggestCommand : public CCommand {
public:
    CSuggestCommand();
    int Run(const CommandIo& io) override;

private:
    std::string TakeArgument(const std::string& argument) override;
    std::string Finish() override;

    CameraOptions m_options;
};
