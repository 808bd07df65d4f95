#include "protocol/worker_failure.h"

#include <cstdio>

#include "protocol/socket_platform.h"

std::string StartupFailureSentence(WorkerStartStep step, int error, uint16_t localPort) {
    char text[160];
    const unsigned port = localPort;
    if (step == WorkerStartStep::Socket) {
        std::snprintf(text, sizeof text, WORKER_MSG_NO_SOCKET, error);
    } else if (error == SOCKET_ERR_ADDRESS_IN_USE) {
        std::snprintf(text, sizeof text, WORKER_MSG_PORT_IN_USE, port);
    } else if (error == SOCKET_ERR_ACCESS_DENIED) {
        std::snprintf(text, sizeof text, WORKER_MSG_PORT_DENIED, port);
    } else {
        std::snprintf(text, sizeof text, WORKER_MSG_NO_BIND, port, error);
    }
    return text;
}
