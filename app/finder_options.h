#pragma once

#include <optional>
#include <string>

#include "protocol/network_worker.h"

// Where the finder's worker listens and sends. The defaults are the cameras' own (local
// port 3566, broadcast 255.255.255.255 port 4000); the demo and the tests point the finder
// elsewhere, by options or by environment variables (an option wins):
//   --local-port N     FINDER_LOCAL_PORT
//   --broadcast ADDR   FINDER_BROADCAST
//   --device-port N    FINDER_DEVICE_PORT
struct FinderOptions {
    WorkerEndpoints endpoints;
    std::string error; // empty when every value was understood
};

FinderOptions ParseFinderOptions(int argc, const char* const argv[]);
