#pragma once

#include <cstdint>
#include <string>

// The worker's start-up steps that can fail after the sockets layer is up.
enum class WorkerStartStep { Socket, Bind };

// What a user is told beside the worker's status line when it cannot start.
constexpr char WORKER_MSG_PORT_IN_USE[] =
    "UDP port %u is in use by another program, perhaps another finder";
constexpr char WORKER_MSG_PORT_DENIED[] = "UDP port %u may not be used by this user";
constexpr char WORKER_MSG_NO_SOCKET[] = "The finder cannot open a network socket (error %d)";
constexpr char WORKER_MSG_NO_BIND[] = "The finder cannot listen on UDP port %u (error %d)";

// The plain sentence for a failed start-up step and its error code.
std::string StartupFailureSentence(WorkerStartStep step, int error, uint16_t localPort);
