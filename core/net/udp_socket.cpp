#include "core/net/udp_socket.h"

#include <utility>

// What both platforms share; the system calls are in udp_socket_posix.cpp and
// udp_socket_windows.cpp.

CSocketsLayer::~CSocketsLayer() {
    Stop();
}

CSocketsLayer::CSocketsLayer(CSocketsLayer&& other) noexcept
    : m_started(std::exchange(other.m_started, false)) {}

CSocketsLayer& CSocketsLayer::operator=(CSocketsLayer&& other) noexcept {
    if (this != &other) {
        Stop();
        m_started = std::exchange(other.m_started, false);
    }
    return *this;
}

CUdpSocket::~CUdpSocket() {
    Close();
}

CUdpSocket::CUdpSocket(CUdpSocket&& other) noexcept
    : m_handle(std::exchange(other.m_handle, SOCKET_HANDLE_NONE)),
      m_layer(std::move(other.m_layer)) {}

CUdpSocket& CUdpSocket::operator=(CUdpSocket&& other) noexcept {
    if (this != &other) {
        Close();
        m_handle = std::exchange(other.m_handle, SOCKET_HANDLE_NONE);
        m_layer = std::move(other.m_layer);
    }
    return *this;
}

void CUdpSocket::Close() {
    if (IsOpen()) {
        Release();
        m_handle = SOCKET_HANDLE_NONE;
    }
    m_layer.Stop(); // after the socket: the layer must outlive every socket of it
}

bool MakeSocketAddress(const char* address, uint16_t port, sockaddr_in& result) {
    result = {};
    result.sin_family = AF_INET;
    result.sin_port = htons(port);
    return inet_pton(AF_INET, address, &result.sin_addr) == 1;
}
