#pragma once

#include <netinet/in.h>

#include <cstddef>
#include <cstdint>

// One IPv4 UDP socket, closed when the object goes. Every call that can fail returns 0 or
// the errno value of the failure, which is what the finder's status texts show.
class CUdpSocket {
public:
    CUdpSocket() = default;
    ~CUdpSocket();
    CUdpSocket(CUdpSocket&& other) noexcept;
    CUdpSocket& operator=(CUdpSocket&& other) noexcept;
    CUdpSocket(const CUdpSocket&) = delete;
    CUdpSocket& operator=(const CUdpSocket&) = delete;

    int Open(); // AF_INET, SOCK_DGRAM, IPPROTO_UDP; non-blocking, close-on-exec
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    int Descriptor() const { return m_fd; }

    int SetBroadcast(bool allowed);
    // Asks for a receive buffer of this many bytes and returns what the kernel granted
    // (0 when it cannot be read back). Beyond the system's cap it tries the privileged
    // SO_RCVBUFFORCE, which only an administrator's process is allowed.
    int GrowReceiveBuffer(int bytes);
    int Bind(uint16_t port, in_addr_t address = INADDR_ANY); // address in network order
    uint16_t LocalPort() const;                              // 0 when not bound

    // Asks the system to tell, with each datagram received, the card it came in on.
    int ReportArrivalInterface();

    int SendTo(const void* bytes, std::size_t length, const sockaddr_in& destination);
    // Sends out of one card (its index) with that card's address as the source, whatever
    // the routing table says: a broadcast then leaves through that card even with no route
    // (no default route, or a second card that the route does not name).
    int SendVia(const void* bytes, std::size_t length, const sockaddr_in& destination,
                unsigned interfaceIndex, in_addr_t sourceAddress);

    // Takes one waiting datagram without blocking. EAGAIN: nothing is waiting. A datagram
    // longer than capacity is consumed and refused with EMSGSIZE, never handed over cut.
    // arrivalInterface, when given, receives the index of the card the datagram came in on
    // (0 when the system did not say; see ReportArrivalInterface).
    int ReceiveFrom(void* buffer, std::size_t capacity, std::size_t& length, sockaddr_in& sender,
                    unsigned* arrivalInterface = nullptr);

private:
    int m_fd = -1;
};

// The IPv4 address and port as a socket address; false when address is not a dotted quad.
bool MakeSocketAddress(const char* address, uint16_t port, sockaddr_in& result);
