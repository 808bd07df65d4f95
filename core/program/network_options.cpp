#include "core/program/network_options.h"

#include <cstdlib>
#include <string_view>

#include "core/rules/input_checks.h"
#include "core/wire/search_targets.h"

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// A card's name as the system keeps it: 1 to 15 characters, no space and no '/'.
bool IsInterfaceName(std::string_view name) {
    return !name.empty() && name.size() < 16 && name.find_first_of("/ \t") == name.npos;
}

// The cards of a comma-separated list, added to names; why not when a name is bad.
std::string ReadInterfaces(const std::string& value, std::vector<std::string>& names) {
    std::vector<std::string> read;
    for (std::string_view list = value;;) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        if (!IsInterfaceName(name)) {
            return Quoted(value) + (value.find(',') == std::string::npos
                                        ? " is not the name of a network card"
                                        : " is not a comma-separated list of network cards");
        }
        read.emplace_back(name);
        if (comma == std::string_view::npos) {
            break;
        }
        list.remove_prefix(comma + 1);
    }
    names.insert(names.end(), read.begin(), read.end());
    return "";
}

std::string ReadPort(const std::string& value, uint16_t& port) {
    if (!IsHttpPort(value)) { // the same rule: 1 to 65535 in at most five digits
        return Quoted(value) + " is not a port of 1 to 65535";
    }
    port = static_cast<uint16_t>(std::stoi(value));
    return "";
}

// One destination, sent to as the routing table has it: no search per card.
std::string ReadDestination(const std::string& value, WorkerEndpoints& endpoints) {
    if (!IsDottedAddress(value)) {
        return Quoted(value) + " is not four dotted decimal numbers of 0 to 255";
    }
    endpoints.destinationAddress = value;
    endpoints.everyInterface = false;
    return "";
}

} // namespace

void AddNetworkOptions(COptionTable& table, NetworkOptions& options, NetworkTargets targets) {
    const WorkerEndpoints defaults;
    WorkerEndpoints& endpoints = options.endpoints;
    if (targets == NetworkTargets::With) {
        table.Add(
            {"--to"}, "TARGET",
            [&options](const std::string& value) {
                std::string error = ParseSearchTargets({value}).error;
                if (error.empty()) {
                    options.to.push_back(value);
                }
                return error;
            },
            "also ask each address of TARGET by unicast: one IP (10.2.0.21), a block "
            "(10.2.0.0/24) or a range (10.2.0.10-10.2.0.60); may be given more than once, at "
            "most " +
                std::to_string(SEARCH_TARGET_LIMIT) +
                " addresses in all. A camera found so gets its set request at the address it "
                "answered from. Some cameras answer only to a broadcast on their own segment.");
    }
    table.Add(
        {"--interface"}, "NAME",
        [&endpoints](const std::string& value) {
            return ReadInterfaces(value, endpoints.interfaces);
        },
        "search only these network cards: a comma-separated list (eth0,eth1), or the option "
        "given more than once; loopback is searched only when named (--interface lo); not "
        "with --broadcast");
    table.Add(
        {"--broadcast"}, "ADDR",
        [&endpoints](const std::string& value) { return ReadDestination(value, endpoints); },
        "send each request once to ADDR, as the routing table has it, instead of out of "
        "every card (default " +
            defaults.destinationAddress + "); not with --interface");
    table.Add(
        {"--device-port"}, "N",
        [&endpoints](const std::string& value) {
            return ReadPort(value, endpoints.destinationPort);
        },
        "the cameras' UDP port (default " + std::to_string(defaults.destinationPort) + ")");
    table.Add(
        {"--local-port"}, "N",
        [&endpoints](const std::string& value) { return ReadPort(value, endpoints.localPort); },
        "the local UDP port replies come to (default " + std::to_string(defaults.localPort) + ")");
}

std::string NetworkOptions::Finish() {
    if (!endpoints.everyInterface && !endpoints.interfaces.empty()) {
        return "give either --broadcast or --interface, not both";
    }
    SearchTargets read = ParseSearchTargets(to);
    if (!read.Ok()) {
        return "--to: " + read.error;
    }
    targets = std::move(read.addresses);
    return "";
}

const std::vector<NetworkVariable>& NetworkVariables() {
    static const std::vector<NetworkVariable> variables = {{"FINDER_INTERFACES", "--interface"},
                                                           {"FINDER_BROADCAST", "--broadcast"},
                                                           {"FINDER_DEVICE_PORT", "--device-port"},
                                                           {"FINDER_LOCAL_PORT", "--local-port"}};
    return variables;
}

std::string ReadNetworkVariables(const COptionTable& table) {
    for (const NetworkVariable& setting : NetworkVariables()) {
        const char* value = std::getenv(setting.variable);
        if (value == nullptr || *value == '\0') {
            continue;
        }
        if (const OptionFault fault = table.Give(setting.option, value)) {
            return DescribeOptionFault(fault) + " (from " + setting.variable + ")";
        }
    }
    return "";
}

std::string NetworkVariablesHelp(std::size_t column) {
    std::string help = COptionTable::Wrapped("Environment (an option wins over its variable; "
                                             "--interface adds its cards to those of "
                                             "FINDER_INTERFACES):",
                                             0);
    for (const NetworkVariable& setting : NetworkVariables()) {
        help +=
            COptionTable::HelpLine(setting.variable, std::string("as ") + setting.option, column);
    }
    return help;
}
