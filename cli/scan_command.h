#pragma once

#include "cli/command.h"

// What scan takes beside the options of every search.
struct ScanOptions : SearchOptions {
    OutputFormat format = OutputFormat::Table;
    bool showPasswords = false;
};

// finder-cli scan: the cameras that answer, as a table, JSON or CSV.
class CScanCommand : public CCommand {
public:
    CScanCommand();
    int Run(const CommandIo& io) override;

private:
    ScanOptions m_options;
};
