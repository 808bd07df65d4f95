#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "core/net/wake_signal.h"

// A non-blocking pipe: writing a byte is async-signal-safe, so a signal handler may raise
// it, and poll watches it together with the socket.

CWakeSignal::CWakeSignal() {
    if (pipe(m_pipe) != 0) {
        m_pipe[0] = m_pipe[1] = -1;
        return;
    }
    for (int fd : m_pipe) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
}

CWakeSignal::~CWakeSignal() {
    for (int fd : m_pipe) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

bool CWakeSignal::IsValid() const {
    return m_pipe[0] >= 0;
}

void CWakeSignal::Signal() {
    if (m_pipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = write(m_pipe[1], &byte, 1); // full: still raised
    }
}

void CWakeSignal::Clear() {
    if (m_pipe[0] < 0) {
        return;
    }
    char bytes[64];
    while (read(m_pipe[0], bytes, sizeof bytes) > 0) {
    }
}

bool CWakeSignal::IsSignalled() const {
    pollfd watched{m_pipe[0], POLLIN, 0};
    return m_pipe[0] >= 0 && poll(&watched, 1, 0) > 0;
}

WakeResult CWakeSignal::Wait(const CUdpSocket& socket, int timeoutMs) {
    pollfd watched[2] = {{socket.Descriptor(), POLLIN, 0}, {m_pipe[0], POLLIN, 0}};
    WakeResult result;
    if (poll(watched, IsValid() ? 2 : 1, timeoutMs) <= 0) {
        return result; // a signal or the time-out
    }
    result.readable = watched[0].revents != 0;
    result.signalled = IsValid() && watched[1].revents != 0;
    return result;
}
