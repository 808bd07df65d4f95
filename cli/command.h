#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "core/net/net_interfaces.h"
#include "core/program/option_table.h"

// Where a command's results and messages go, and the networks of this PC, which a change
// is weighed against.
struct CommandIo {
    std::ostream& out;
    std::ostream& err;
    LocalNetworksFunction localNetworks;
};

// One verb of finder-cli: its name, a line that says what it does, its own options (each
// with its help) and what it runs. A command is read once and run once; the registry makes
// a fresh one for each command line.
class CCommand {
public:
    // arguments: what the usage line shows between the name and "[options]" ("MAC");
    // statuses: what each exit status means for this command.
    CCommand(std::string name, std::string arguments, std::string summary, std::string description,
             std::string statuses);
    virtual ~CCommand() = default;
    CCommand(const CCommand&) = delete;
    CCommand& operator=(const CCommand&) = delete;

    const std::string& Name() const { return m_name; }
    const std::string& Summary() const { return m_summary; }

    // Reads the arguments after the command's name and checks every value: empty, or the
    // fault in words that name the option.
    std::string Read(const std::vector<std::string>& args);

    // What the command checks against this machine before it runs (the cards --interface
    // names exist); false once err has been told why.
    bool Check(std::ostream& err) const;

    // The text of COMMAND --help: usage, description, options, exit statuses.
    std::string Help() const;

    virtual int Run(const CommandIo& io) = 0;

protected:
    COptionTable& Options() { return m_options; }

    // The command searches: the options every search takes are added to its table, and
    // checked once all arguments are read.
    void AddSearch(SearchOptions& search);

    // An argument that is no option (a MAC, a file): empty when taken, else why not.
    virtual std::string TakeArgument(const std::string& argument);

    // What the arguments lack once all are read; empty when nothing.
    virtual std::string Finish() { return ""; }

private:
    std::string m_name;
    std::string m_arguments;
    std::string m_summary;
    std::string m_description;
    std::string m_statuses;
    COptionTable m_options{OptionSpelling::SeparateOrEquals};
    SearchOptions* m_search = nullptr;
};

// The column at which the help texts of finder-cli's options start.
constexpr std::size_t CLI_HELP_COLUMN = 25;
