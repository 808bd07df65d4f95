#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/program/option_table.h"
#include "core/worker/network_worker.h"

// Where a program's searches and set requests go: the options finder and finder-cli share,
// each with one check, one help text and, for the window, one environment variable.
//   --interface NAME   FINDER_INTERFACES   search only these cards: a comma-separated list,
//                                          the option given more than once, or both
//   --broadcast ADDR   FINDER_BROADCAST    one destination, as the routing table has it
//   --device-port N    FINDER_DEVICE_PORT
//   --local-port N     FINDER_LOCAL_PORT
//   --to TARGET        (finder-cli only)   addresses also asked by unicast
struct NetworkOptions {
    WorkerEndpoints endpoints;
    std::vector<std::string> to;   // --to, as typed
    std::vector<uint32_t> targets; // their addresses, host order, once Finish has read them

    // The faults no single option shows, once all are read: --broadcast beside
    // --interface, more --to addresses than a search takes. Empty when none; the words
    // name the option.
    std::string Finish();
};

// Whether the program takes --to.
enum class NetworkTargets { Without, With };

// Adds the network options to the table, storing into options.
void AddNetworkOptions(COptionTable& table, NetworkOptions& options, NetworkTargets targets);

// The variable of each network option that has one, in the order the help lists them.
struct NetworkVariable {
    const char* variable;
    const char* option;
};
const std::vector<NetworkVariable>& NetworkVariables();

// Gives each variable that is set and not empty to its option of table, as if typed first
// (an option typed later wins, --interface adds its cards). Empty, or the fault described
// with "(from VARIABLE)".
std::string ReadNetworkVariables(const COptionTable& table);

// "Environment (an option wins over its variable):" and one line per variable.
std::string NetworkVariablesHelp(std::size_t column);
