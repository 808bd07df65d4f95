#pragma once

#include <optional>
#include <string>
#include <vector>

#include "protocol/network_worker.h"

// Where the finder's worker listens and sends. The defaults are the cameras' own (local
// port 3566, broadcast 255.255.255.255 port 4000); the demo and the tests point the finder
// elsewhere, by options or by environment variables (an option wins):
//   --local-port N     FINDER_LOCAL_PORT
//   --broadcast ADDR   FINDER_BROADCAST
//   --device-port N    FINDER_DEVICE_PORT
//   --interface NAME   FINDER_INTERFACES   search only these cards (repeatable, or a
//                                          comma-separated list); not with --broadcast
struct FinderOptions {
    WorkerEndpoints endpoints;
    std::string error; // empty when every value was understood
};

FinderOptions ParseFinderOptions(int argc, const char* const argv[]);
