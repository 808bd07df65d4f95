#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/command.h"

// Every command of finder-cli, fresh, in the order the help lists them. A new command is
// one line here.
std::vector<std::unique_ptr<CCommand>> Commands();

// The command of this name, fresh; nothing when there is none.
std::unique_ptr<CCommand> FindCommand(const std::string& name);

// The text of finder-cli --help: the commands with their summaries.
std::string FinderCliHelp();
