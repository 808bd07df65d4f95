#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "sim/camera_simulator.h"

// What camsim's command line asks for.
struct CamsimOptions {
    SimSettings settings;
    int count = 0;                                 // generated devices, when no file is given
    std::optional<std::array<uint8_t, 4>> factory; // --factory: all of them at this address
    std::string devicesPath;                       // the devices file
    bool help = false;
    bool version = false;
};

// The text of --help: the options and the format of the devices file.
std::string CamsimUsage();

// Reads the arguments after the program name; nullopt with error set on bad usage.
std::optional<CamsimOptions> ParseCamsimArguments(const std::vector<std::string>& args,
                                                  std::string& error);

// The whole program: parse, load, bind, serve until SIGINT or SIGTERM. Exit status 0, 1
// when the socket or a file fails, 2 for bad usage.
int CamsimMain(int argc, char** argv, std::ostream& out, std::ostream& err);
