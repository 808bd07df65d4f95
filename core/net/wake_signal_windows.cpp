#include "core/net/wake_signal.h"

// Two Winsock events rather than a loopback socket pair: nothing outside the process can
// raise them, they need no free port and no working loopback, and WSAWaitForMultipleEvents
// waits on both at once. WSAEventSelect ties the socket's FD_READ to the second event;
// tying it again before each wait re-reports a datagram that is already waiting.

CWakeSignal::CWakeSignal() : m_event(WSACreateEvent()), m_socketEvent(WSACreateEvent()) {}

CWakeSignal::~CWakeSignal() {
    for (void* event : {m_event, m_socketEvent}) {
        if (event != WSA_INVALID_EVENT) {
            WSACloseEvent(event);
        }
    }
}

bool CWakeSignal::IsValid() const {
    return m_event != WSA_INVALID_EVENT && m_socketEvent != WSA_INVALID_EVENT;
}

void CWakeSignal::Signal() {
    if (m_event != WSA_INVALID_EVENT) {
        WSASetEvent(m_event);
    }
}

void CWakeSignal::Clear() {
    if (m_event != WSA_INVALID_EVENT) {
        WSAResetEvent(m_event);
    }
}

bool CWakeSignal::IsSignalled() const {
    return m_event != WSA_INVALID_EVENT && WaitForSingleObject(m_event, 0) == WAIT_OBJECT_0;
}

WakeResult CWakeSignal::Wait(const CUdpSocket& socket, int timeoutMs) {
    WakeResult result;
    if (!IsValid()) {
        result.readable = socket.WaitReadable(timeoutMs);
        return result;
    }
    WSAResetEvent(m_socketEvent);
    if (WSAEventSelect(socket.Descriptor(), m_socketEvent, FD_READ) == SOCKET_ERROR) {
        result.readable = socket.WaitReadable(timeoutMs);
        return result;
    }
    WSAEVENT events[2] = {m_socketEvent, m_event};
    const DWORD limit = timeoutMs < 0 ? WSA_INFINITE : static_cast<DWORD>(timeoutMs);
    if (WSAWaitForMultipleEvents(2, events, FALSE, limit, FALSE) == WSA_WAIT_TIMEOUT) {
        return result;
    }
    result.readable = WaitForSingleObject(m_socketEvent, 0) == WAIT_OBJECT_0;
    result.signalled = IsSignalled();
    return result;
}
