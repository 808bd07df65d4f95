#include <climits>
#include <cstring>

#include "core/net/udp_socket.h"

#include <mswsock.h> // after winsock2.h, which it builds on

// Winsock 2: WSAStartup before the first socket, WSAGetLastError for every failure.

namespace {

constexpr WORD SOCKETS_LAYER_VERSION = MAKEWORD(2, 2);

int ClampedLength(std::size_t length) {
    return length > INT_MAX ? INT_MAX : static_cast<int>(length);
}

} // namespace

std::string SocketErrorText(int code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&text), 0, nullptr);
    // Not every system has words for every Winsock code (Wine has none): then the number.
    std::string result =
        length > 0 ? std::string(text, length) : "Winsock error " + std::to_string(code);
    LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' ||
                               result.back() == '.' || result.back() == ' ')) {
        result.pop_back();
    }
    return result;
}

int CSocketsLayer::Start() {
    if (m_started) {
        return 0;
    }
    WSADATA data;
    const int error = WSAStartup(SOCKETS_LAYER_VERSION, &data); // its result is the code
    m_started = error == 0;
    return error;
}

void CSocketsLayer::Stop() {
    if (m_started) {
        WSACleanup();
        m_started = false;
    }
}

int CUdpSocket::Open() {
    Close();
    if (const int error = m_layer.Start(); error != 0) {
        return error;
    }
    m_handle = WSASocketW(AF_INET, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0,
                          WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
    if (m_handle == INVALID_SOCKET) {
        const int error = WSAGetLastError();
        Close(); // gives the sockets layer back
        return error;
    }
    u_long nonBlocking = 1;
    ioctlsocket(m_handle, FIONBIO, &nonBlocking);
    // By default a datagram sent to a port where nobody listens makes the next receive fail
    // with WSAECONNRESET; for the finder that is no error of its own socket.
    BOOL reportReset = FALSE;
    DWORD returned = 0;
    WSAIoctl(m_handle, SIO_UDP_CONNRESET, &reportReset, sizeof reportReset, nullptr, 0, &returned,
             nullptr, nullptr);
    return 0;
}

void CUdpSocket::Release() {
    closesocket(m_handle);
}

int CUdpSocket::SetBroadcast(bool allowed) {
    const BOOL value = allowed ? TRUE : FALSE;
    return setsockopt(m_handle, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&value),
                      sizeof value) == SOCKET_ERROR
               ? WSAGetLastError()
               : 0;
}

int CUdpSocket::GrowReceiveBuffer(int bytes) {
    // Winsock grants what is asked and reports it as it is: no doubling, no privileged cap.
    setsockopt(m_handle, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bytes),
               sizeof bytes);
    int granted = 0;
    int size = sizeof granted;
    return getsockopt(m_handle, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&granted), &size) ==
                   SOCKET_ERROR
               ? 0
               : granted;
}

int CUdpSocket::Bind(uint16_t port, uint32_t address) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    local.sin_addr.s_addr = address;
    return bind(m_handle, reinterpret_cast<const sockaddr*>(&local), sizeof local) == SOCKET_ERROR
               ? WSAGetLastError()
               : 0;
}

uint16_t CUdpSocket::LocalPort() const {
    sockaddr_in local{};
    int size = sizeof local;
    if (getsockname(m_handle, reinterpret_cast<sockaddr*>(&local), &size) == SOCKET_ERROR) {
        return 0;
    }
    return ntohs(local.sin_port);
}

int CUdpSocket::ReportArrivalInterface() {
    const DWORD on = 1;
    return setsockopt(m_handle, IPPROTO_IP, IP_PKTINFO, reinterpret_cast<const char*>(&on),
                      sizeof on) == SOCKET_ERROR
               ? WSAGetLastError()
               : 0;
}

int CUdpSocket::SendTo(const void* bytes, std::size_t length, const sockaddr_in& destination) {
    const int sent = sendto(m_handle, static_cast<const char*>(bytes), ClampedLength(length), 0,
                            reinterpret_cast<const sockaddr*>(&destination), sizeof destination);
    return sent == SOCKET_ERROR ? WSAGetLastError() : 0;
}

int CUdpSocket::SendVia(const void* bytes, std::size_t length, const sockaddr_in& destination,
                        unsigned interfaceIndex, uint32_t sourceAddress) {
    WSABUF data{static_cast<ULONG>(ClampedLength(length)),
                static_cast<char*>(const_cast<void*>(bytes))};
    alignas(WSACMSGHDR) char control[WSA_CMSG_SPACE(sizeof(IN_PKTINFO))] = {};
    WSAMSG message{};
    message.name = reinterpret_cast<sockaddr*>(const_cast<sockaddr_in*>(&destination));
    message.namelen = sizeof destination;
    message.lpBuffers = &data;
    message.dwBufferCount = 1;
    message.Control = {sizeof control, control};
    WSACMSGHDR* header = WSA_CMSG_FIRSTHDR(&message);
    header->cmsg_level = IPPROTO_IP;
    header->cmsg_type = IP_PKTINFO;
    header->cmsg_len = WSA_CMSG_LEN(sizeof(IN_PKTINFO));
    IN_PKTINFO via{};
    via.ipi_ifindex = interfaceIndex;
    via.ipi_addr.s_addr = sourceAddress;
    std::memcpy(WSA_CMSG_DATA(header), &via, sizeof via);
    DWORD sent = 0;
    return WSASendMsg(m_handle, &message, 0, &sent, nullptr, nullptr) == SOCKET_ERROR
               ? WSAGetLastError()
               : 0;
}

namespace {

// Winsock hands out WSARecvMsg, which alone tells the card a datagram came in on, only
// through this call; it is the same for every socket of the provider.
LPFN_WSARECVMSG LoadReceiveMessage(SOCKET handle) {
    GUID id = WSAID_WSARECVMSG;
    LPFN_WSARECVMSG function = nullptr;
    DWORD returned = 0;
    if (WSAIoctl(handle, SIO_GET_EXTENSION_FUNCTION_POINTER, &id, sizeof id, &function,
                 sizeof function, &returned, nullptr, nullptr) == SOCKET_ERROR) {
        return nullptr;
    }
    return function;
}

// The card index of an IP_PKTINFO note, or 0 when the message carries none.
unsigned ArrivalIndex(WSAMSG& message) {
    for (WSACMSGHDR* header = WSA_CMSG_FIRSTHDR(&message); header != nullptr;
         header = WSA_CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO) {
            IN_PKTINFO info;
            std::memcpy(&info, WSA_CMSG_DATA(header), sizeof info);
            return static_cast<unsigned>(info.ipi_ifindex);
        }
    }
    return 0;
}

} // namespace

int CUdpSocket::ReceiveFrom(void* buffer, std::size_t capacity, std::size_t& length,
                            sockaddr_in& sender, unsigned* arrivalInterface) {
    static const LPFN_WSARECVMSG receiveMessage = LoadReceiveMessage(m_handle);
    // An over-long datagram fails with WSAEMSGSIZE and is gone, which is the rule here.
    if (arrivalInterface == nullptr || receiveMessage == nullptr) {
        int size = sizeof sender;
        const int received = recvfrom(m_handle, static_cast<char*>(buffer), ClampedLength(capacity),
                                      0, reinterpret_cast<sockaddr*>(&sender), &size);
        if (received == SOCKET_ERROR) {
            return WSAGetLastError();
        }
        if (arrivalInterface != nullptr) {
            *arrivalInterface = 0;
        }
        length = static_cast<std::size_t>(received);
        return 0;
    }
    WSABUF data{static_cast<ULONG>(ClampedLength(capacity)), static_cast<char*>(buffer)};
    alignas(WSACMSGHDR) char control[WSA_CMSG_SPACE(sizeof(IN_PKTINFO))];
    WSAMSG message{};
    message.name = reinterpret_cast<sockaddr*>(&sender);
    message.namelen = sizeof sender;
    message.lpBuffers = &data;
    message.dwBufferCount = 1;
    message.Control = {sizeof control, control};
    DWORD received = 0;
    if (receiveMessage(m_handle, &message, &received, nullptr, nullptr) == SOCKET_ERROR) {
        return WSAGetLastError();
    }
    *arrivalInterface = ArrivalIndex(message);
    length = received;
    return 0;
}

bool CUdpSocket::WaitReadable(int timeoutMs) const {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(m_handle, &readable);
    timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    return select(0, &readable, nullptr, nullptr, timeoutMs < 0 ? nullptr : &limit) > 0;
}
