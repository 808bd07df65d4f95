#include "finder_options.h"

#include <cstdlib>
#include <string_view>

#include "input_checks.h"

static bool ReadPort(std::string_view text, uint16_t& port) {
    if (!IsHttpPort(text)) { // the same rule: 1 to 65535 in at most five digits
        return false;
    }
    port = static_cast<uint16_t>(std::stoi(std::string(text)));
    return true;
}

// Applies one setting; false with an error text when its value is not understood.
static bool Apply(FinderOptions& options, std::string_view name, std::string_view value) {
    WorkerEndpoints& endpoints = options.endpoints;
    bool ok = false;
    if (name == "--local-port") {
        ok = ReadPort(value, endpoints.localPort);
    } else if (name == "--device-port") {
        ok = ReadPort(value, endpoints.destinationPort);
    } else if (name == "--broadcast") {
        ok = IsDottedAddress(value);
        if (ok) {
            endpoints.destinationAddress = std::string(value);
        }
    } else {
        options.error = "unknown option " + std::string(name);
        return false;
    }
    if (!ok) {
        options.error = "bad value for " + std::string(name) + ": \"" + std::string(value) + "\"";
    }
    return ok;
}

FinderOptions ParseFinderOptions(int argc, const char* const argv[]) {
    FinderOptions options;
    const struct {
        const char* variable;
        const char* option;
    } environment[] = {{"FINDER_LOCAL_PORT", "--local-port"},
                       {"FINDER_BROADCAST", "--broadcast"},
                       {"FINDER_DEVICE_PORT", "--device-port"}};
    for (const auto& setting : environment) {
        const char* value = std::getenv(setting.variable);
        if (value != nullptr && *value != '\0' && !Apply(options, setting.option, value)) {
            options.error += " (from " + std::string(setting.variable) + ")";
            return options;
        }
    }
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const std::size_t equals = argument.find('=');
        if (equals != std::string_view::npos) {
            if (!Apply(options, argument.substr(0, equals), argument.substr(equals + 1))) {
                return options;
            }
        } else if (i + 1 < argc) {
            if (!Apply(options, argument, argv[++i])) {
                return options;
            }
        } else {
            options.error = "missing value for " + std::string(argument);
            return options;
        }
    }
    return options;
}
