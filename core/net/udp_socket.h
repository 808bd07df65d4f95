#pragma once

#include <cstddef>
#include <cstdint>

#include "core/net/socket_platform.h"

// The platform's sockets layer, held while sockets are in use. On Windows, Start is
// WSAStartup and the destructor the WSACleanup that balances it; elsewhere there is
// nothing to start and Start always succeeds.
class CSocketsLayer {
public:
    CSocketsLayer() = default;
    ~CSocketsLayer();
    CSocketsLayer(CSocketsLayer&& other) noexcept;
    CSocketsLayer& operator=(CSocketsLayer&& other) noexcept;
    CSocketsLayer(const CSocketsLayer&) = delete;
    CSocketsLayer& operator=(const CSocketsLayer&) = delete;

    int Start(); // 0, or the platform's code; a second call changes nothing
    void Stop(); // balances a successful Start, once
    bool IsStarted() const { return m_started; }

private:
    bool m_started = false;
};

// One IPv4 UDP socket, closed when the object goes. Every call that can fail returns 0 or
// the platform's code for the failure (errno, or the Winsock code on Windows), which is
// what the finder's status texts show. The socket holds the sockets layer while it is open.
class CUdpSocket {
public:
    CUdpSocket() = default;
    ~CUdpSocket();
    CUdpSocket(CUdpSocket&& other) noexcept;
    CUdpSocket& operator=(CUdpSocket&& other) noexcept;
    CUdpSocket(const CUdpSocket&) = delete;
    CUdpSocket& operator=(const CUdpSocket&) = delete;

    int Open(); // AF_INET, SOCK_DGRAM, IPPROTO_UDP; non-blocking, not inherited by children
    void Close();
    bool IsOpen() const { return m_handle != SOCKET_HANDLE_NONE; }
    SocketHandle Descriptor() const { return m_handle; }

    int SetBroadcast(bool allowed);
    // Asks for a receive buffer of this many bytes and returns what the system granted
    // (0 when it cannot be read back). Beyond the system's cap it tries the privileged
    // SO_RCVBUFFORCE where there is one, which only an administrator's process is allowed.
    int GrowReceiveBuffer(int bytes);
    int Bind(uint16_t port, uint32_t address = INADDR_ANY); // address in network order
    uint16_t LocalPort() const;                             // 0 when not bound

    // Asks the system to tell, with each datagram received, the card it came in on.
    int ReportArrivalInterface();

    int SendTo(const void* bytes, std::size_t length, const sockaddr_in& destination);
    // Sends out of one card (its index) with that card's address as the source, whatever
    // the routing table says: a broadcast then leaves through that card even with no route
    // (no default route, or a second card that the route does not name).
    int SendVia(const void* bytes, std::size_t length, const sockaddr_in& destination,
                unsigned interfaceIndex, uint32_t sourceAddress);

    // Takes one waiting datagram without blocking. SOCKET_ERR_WOULD_BLOCK: nothing is
    // waiting. A datagram longer than capacity is consumed and refused with
    // SOCKET_ERR_MESSAGE_SIZE, never handed over cut. arrivalInterface, when given, receives
    // the index of the card the datagram came in on (0 when the system did not say; see
    // ReportArrivalInterface).
    int ReceiveFrom(void* buffer, std::size_t capacity, std::size_t& length, sockaddr_in& sender,
                    unsigned* arrivalInterface = nullptr);

    // True once a datagram waits, false when none came within the time (in milliseconds).
    bool WaitReadable(int timeoutMs) const;

private:
    void Release(); // the platform's close, without touching the sockets layer

    SocketHandle m_handle = SOCKET_HANDLE_NONE;
    CSocketsLayer m_layer;
};

// The IPv4 address and port as a socket address; false when address is not a dotted quad.
bool MakeSocketAddress(const char* address, uint16_t port, sockaddr_in& result);
