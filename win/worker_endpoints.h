#pragma once

#include <string>

#include "core/worker/network_worker.h"

// Where the worker listens and sends, from the environment as the Linux window reads it:
// FINDER_LOCAL_PORT, FINDER_BROADCAST, FINDER_DEVICE_PORT, FINDER_INTERFACES (a
// comma-separated list of cards). A value not understood names its variable in error, and
// the finder does not start: it never falls back to the real network by mistake.
struct EnvironmentEndpoints {
    WorkerEndpoints endpoints;
    std::string error;
};

EnvironmentEndpoints EndpointsFromEnvironment();
