#pragma once

#include "cli/command.h"

// What watch takes beside the options of every search.
struct WatchOptions : SearchOptions {
    double everySeconds = 5; // --every
    OutputFormat format = OutputFormat::Table;
    bool showPasswords = false; // never shown in an event
};

// finder-cli watch: a search every --every seconds, one line per camera that appeared,
// changed or went, until Ctrl-C or a kill.
class CWatchCommand : public CCommand {
public:
    CWatchCommand();
    int Run(const CommandIo& io) override;

private:
    WatchOptions m_options;
};
