#include "win/worker_endpoints.h"

#include <cstdlib>
#include <sstream>

#include "core/rules/input_checks.h"

static bool ReadPort(const std::string& text, uint16_t& port) {
    if (!IsHttpPort(text)) { // the same rule: 1 to 65535 in at most five digits
        return false;
    }
    port = static_cast<uint16_t>(std::stoi(text));
    return true;
}

static bool ReadInterfaces(const std::string& list, std::vector<std::string>& names) {
    std::istringstream stream(list);
    for (std::string name; std::getline(stream, name, ',');) {
        if (name.empty() || name.find_first_of("/ \t") != std::string::npos) {
            return false;
        }
        names.push_back(name);
    }
    return !names.empty();
}

EnvironmentEndpoints EndpointsFromEnvironment() {
    EnvironmentEndpoints result;
    WorkerEndpoints& e = result.endpoints;
    const auto value = [](const char* name) {
        const char* text = std::getenv(name);
        return std::string(text != nullptr ? text : "");
    };
    const struct {
        const char* variable;
        bool (*read)(const std::string&, WorkerEndpoints&);
    } settings[] = {
        {"FINDER_LOCAL_PORT",
         [](const std::string& v, WorkerEndpoints& w) { return ReadPort(v, w.localPort); }},
        {"FINDER_BROADCAST",
         [](const std::string& v, WorkerEndpoints& w) {
             w.destinationAddress = v;
             w.everyInterface = false; // one destination, as the routing table has it
             return IsDottedAddress(v);
         }},
        {"FINDER_DEVICE_PORT",
         [](const std::string& v, WorkerEndpoints& w) { return ReadPort(v, w.destinationPort); }},
        {"FINDER_INTERFACES",
         [](const std::string& v, WorkerEndpoints& w) { return ReadInterfaces(v, w.interfaces); }},
    };
    for (const auto& setting : settings) {
        const std::string text = value(setting.variable);
        if (!text.empty() && !setting.read(text, e)) {
            result.error = std::string(setting.variable) + ": \"" + text + "\" not understood";
            return result;
        }
    }
    return result;
}
