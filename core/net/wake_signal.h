#pragma once

#include "core/net/udp_socket.h"

// What woke a wait: a datagram waiting on the socket, the signal, both or neither (the
// time ran out, or the wait was interrupted).
struct WakeResult {
    bool readable = false;
    bool signalled = false;
};

// A wake-up that another thread (or a signal handler) raises, and one wait for it together
// with a socket's next datagram: how a thread that serves a socket is told of new work
// without spinning on a short time-out. The signal stays raised until Clear.
class CWakeSignal {
public:
    CWakeSignal();
    ~CWakeSignal();
    CWakeSignal(const CWakeSignal&) = delete;
    CWakeSignal& operator=(const CWakeSignal&) = delete;

    bool IsValid() const; // false when the system refused the objects it needs

    void Signal(); // any thread; async-signal-safe on POSIX
    void Clear();
    bool IsSignalled() const;

    // Sleeps until a datagram waits on the socket, the signal is raised, or timeoutMs
    // milliseconds pass (-1: no limit). Without a valid signal it watches the socket alone.
    WakeResult Wait(const CUdpSocket& socket, int timeoutMs);

private:
#ifdef _WIN32
    void* m_event = nullptr;       // manual-reset event: raised by Signal, lowered by Clear
    void* m_socketEvent = nullptr; // the socket's FD_READ notice, for one wait at a time
#else
    int m_pipe[2] = {-1, -1}; // a byte in the pipe is the raised signal
#endif
};
