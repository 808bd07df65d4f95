#include "cli/command_registry.h"

#include "cli/apply_command.h"
#include "cli/assign_command.h"
#include "cli/interfaces_command.h"
#include "cli/scan_command.h"
#include "cli/set_command.h"
#include "cli/suggest_command.h"
#include "cli/watch_command.h"

std::vector<std::unique_ptr<CCommand>> Commands() {
    std::vector<std::unique_ptr<CCommand>> commands;
    commands.push_back(std::make_unique<CScanCommand>());
    commands.push_back(std::make_unique<CSetCommand>());
    commands.push_back(std::make_unique<CAssignCommand>());
    commands.push_back(std::make_unique<CApplyCommand>());
    commands.push_back(std::make_unique<CSuggestCommand>());
    commands.push_back(std::make_unique<CWatchCommand>());
    commands.push_back(std::make_unique<CInterfacesCommand>());
    return commands;
}

std::unique_ptr<CCommand> FindCommand(const std::string& name) {
    for (std::unique_ptr<CCommand>& command : Commands()) {
        if (command->Name() == name) {
            return std::move(command);
        }
    }
    return nullptr;
}

std::string FinderCliHelp() {
    std::string help = "Usage: finder-cli COMMAND [options]\n"
                       "       finder-cli COMMAND --help\n"
                       "       finder-cli --help | --version\n\n" +
                       COptionTable::Wrapped("Finds the IP cameras of the local network segment "
                                             "by a UDP broadcast and changes the network "
                                             "settings of one of them, or of many in one step.",
                                             0) +
                       "\nCommands:\n";
    for (const std::unique_ptr<CCommand>& command : Commands()) {
        help += COptionTable::HelpLine(command->Name(), command->Summary(), 14);
    }
    return help + "\n" +
           COptionTable::Wrapped(
               "finder-cli COMMAND --help shows what the command does, its options and its exit "
               "statuses. Every value is checked before anything is sent; a bad one is named and "
               "nothing is sent. A value that starts with \"--\" is taken for a forgotten value: "
               "write --name=--x to mean it.\n"
               "Exit status: 0 success; 2 bad usage or input, and nothing was sent; 1 as each "
               "command's --help says.",
               0);
}
