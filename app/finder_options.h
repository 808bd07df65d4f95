#pragma once

#include <string>
#include <vector>

#include "core/worker/network_worker.h"

// Where the finder's worker listens and sends. The defaults are the cameras' own (local
// port 3566, broadcast 255.255.255.255 port 4000); the demo and the tests point the finder
// elsewhere, by options or by environment variables (an option wins):
// the network options of core/program/network_options.h, without --to.
// --help and --version answer and end the program. Qt's own options (one dash, such as
// "-platform offscreen") are left to Qt. Nothing here needs Qt, so the command line is
// read before Qt starts: --help works without a display.
struct FinderOptions {
    WorkerEndpoints endpoints;
    bool help = false;
    bool version = false;
    std::string error; // empty when every value was understood
};

FinderOptions ParseFinderOptions(int argc, const char* const argv[]);

// The text of --help, with the defaults and the variables that change them.
std::string FinderUsage();

// Exit statuses of the finder's command line.
constexpr int FINDER_EXIT_OK = 0;
constexpr int FINDER_EXIT_USAGE = 2;
