#include "cli/command.h"

#include <utility>

CCommand::CCommand(std::string name, std::string arguments, std::string summary,
                   std::string description, std::string statuses)
    : m_name(std::move(name)), m_arguments(std::move(arguments)), m_summary(std::move(summary)),
      m_description(std::move(description)), m_statuses(std::move(statuses)) {}

void CCommand::AddSearch(SearchOptions& search) {
    m_search = &search;
    AddSearchOptions(m_options, search);
}

std::string CCommand::TakeArgument(const std::string& argument) {
    return "unexpected argument \"" + argument + "\"";
}

std::string CCommand::Read(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("--", 0) == 0) {
            if (const OptionFault fault = m_options.Read(args, i)) {
                return DescribeOptionFault(fault) +
                       (fault.kind == OptionFaultKind::Unknown ? " for " + m_name : "");
            }
        } else if (std::string reason = TakeArgument(args[i]); !reason.empty()) {
            return reason;
        }
    }
    if (m_search != nullptr) {
        if (std::string fault = m_search->Finish(); !fault.empty()) {
            return fault;
        }
    }
    return Finish();
}

bool CCommand::Check(std::ostream& err) const {
    if (m_search == nullptr) {
        return true;
    }
    const std::vector<NetInterface> cards = ListInterfaces();
    const std::vector<std::string> unknown =
        UnknownInterfaceNames(cards, m_search->endpoints.interfaces);
    if (unknown.empty()) {
        return true;
    }
    err << "finder-cli: --interface: no network card is named \"" << unknown.front()
        << "\"; this machine has: " << InterfaceNames(cards) << "\n";
    return false;
}

std::string CCommand::Help() const {
    const std::string arguments = m_arguments.empty() ? "" : " " + m_arguments;
    const std::string options = m_options.Help(CLI_HELP_COLUMN);
    return "Usage: finder-cli " + m_name + arguments + (options.empty() ? "" : " [options]") +
           "\n\n" + COptionTable::Wrapped(m_description, 0) +
           (options.empty() ? "" : "\nOptions:\n" + options) + "\nExit status:\n" +
           COptionTable::Wrapped(m_statuses, 2);
}
