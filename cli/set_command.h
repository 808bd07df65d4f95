#pragma once

#include "cli/command.h"
#include "cli/set_change.h"

// What set takes: the camera, the settings to lay over its own, and how to send them.
struct SetOptions : CameraOptions {
    SetChanges changes;
    bool verify = true;
    bool force = false; // send a risky change all the same
};

// finder-cli set: checks a change, sends it to its one camera and, unless told not to,
// waits for the camera to confirm it.
class CSetCommand : public CCommand {
public:
    CSetCommand();
    int Run(const CommandIo& io) override;

private:
    std::string TakeArgument(const std::string& argument) override;
    std::string Finish() override;

    SetOptions m_options;
};
