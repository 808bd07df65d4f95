#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/net/udp_socket.h"

// BSD sockets: nothing to start, errno for every failure.

std::string SocketErrorText(int code) {
    return std::strerror(code);
}

int CSocketsLayer::Start() {
    m_started = true;
    return 0;
}

void CSocketsLayer::Stop() {
    m_started = false;
}

int CUdpSocket::Open() {
    Close();
    m_layer.Start();
    m_handle = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_UDP);
    if (m_handle < 0) {
        const int error = errno;
        Close();
        return error;
    }
    return 0;
}

void CUdpSocket::Release() {
    close(m_handle);
}

int CUdpSocket::SetBroadcast(bool allowed) {
    const int value = allowed ? 1 : 0;
    return setsockopt(m_handle, SOL_SOCKET, SO_BROADCAST, &value, sizeof value) < 0 ? errno : 0;
}

static int ReceiveBufferSize(int fd) {
    int granted = 0;
    socklen_t size = sizeof granted;
    return getsockopt(fd, SOL_SOCKET, SO_RCVBUF, &granted, &size) < 0 ? 0 : granted;
}

int CUdpSocket::GrowReceiveBuffer(int bytes) {
    setsockopt(m_handle, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
    // The kernel doubles the request for its own book-keeping and reports the doubled size.
    if (ReceiveBufferSize(m_handle) < 2 * bytes) {
        setsockopt(m_handle, SOL_SOCKET, SO_RCVBUFFORCE, &bytes, sizeof bytes);
    }
    return ReceiveBufferSize(m_handle);
}

int CUdpSocket::Bind(uint16_t port, uint32_t address) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    local.sin_addr.s_addr = address;
    return bind(m_handle, reinterpret_cast<const sockaddr*>(&local), sizeof local) < 0 ? errno : 0;
}

uint16_t CUdpSocket::LocalPort() const {
    sockaddr_in local{};
    socklen_t size = sizeof local;
    if (getsockname(m_handle, reinterpret_cast<sockaddr*>(&local), &size) < 0) {
        return 0;
    }
    return ntohs(local.sin_port);
}

int CUdpSocket::ReportArrivalInterface() {
    const int on = 1;
    return setsockopt(m_handle, IPPROTO_IP, IP_PKTINFO, &on, sizeof on) < 0 ? errno : 0;
}

int CUdpSocket::SendTo(const void* bytes, std::size_t length, const sockaddr_in& destination) {
    ssize_t sent;
    do {
        sent = sendto(m_handle, bytes, length, 0, reinterpret_cast<const sockaddr*>(&destination),
                      sizeof destination);
    } while (sent < 0 && errno == EINTR);
    return sent < 0 ? errno : 0;
}

int CUdpSocket::SendVia(const void* bytes, std::size_t length, const sockaddr_in& destination,
                        unsigned interfaceIndex, uint32_t sourceAddress) {
    iovec data{const_cast<void*>(bytes), length};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr message{};
    message.msg_name = const_cast<sockaddr_in*>(&destination);
    message.msg_namelen = sizeof destination;
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = IPPROTO_IP;
    header->cmsg_type = IP_PKTINFO;
    header->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
    in_pktinfo via{};
    via.ipi_ifindex = static_cast<int>(interfaceIndex);
    via.ipi_spec_dst.s_addr = sourceAddress;
    std::memcpy(CMSG_DATA(header), &via, sizeof via);
    ssize_t sent;
    do {
        sent = sendmsg(m_handle, &message, 0);
    } while (sent < 0 && errno == EINTR);
    return sent < 0 ? errno : 0;
}

namespace {

// The card index of an IP_PKTINFO note, or 0 when the message carries none.
unsigned ArrivalIndex(msghdr& message) {
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr;
         header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO) {
            in_pktinfo info;
            std::memcpy(&info, CMSG_DATA(header), sizeof info);
            return static_cast<unsigned>(info.ipi_ifindex);
        }
    }
    return 0;
}

} // namespace

int CUdpSocket::ReceiveFrom(void* buffer, std::size_t capacity, std::size_t& length,
                            sockaddr_in& sender, unsigned* arrivalInterface) {
    iovec data{buffer, capacity};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
    msghdr message{};
    ssize_t received;
    do {
        message = {};
        message.msg_name = &sender;
        message.msg_namelen = sizeof sender;
        message.msg_iov = &data;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        // MSG_TRUNC makes the kernel report the datagram's full length, so an over-long
        // one is recognised instead of being passed on cut short.
        received = recvmsg(m_handle, &message, MSG_DONTWAIT | MSG_TRUNC);
    } while (received < 0 && errno == EINTR);
    if (received < 0) {
        return errno;
    }
    if (arrivalInterface != nullptr) {
        *arrivalInterface = ArrivalIndex(message);
    }
    if (static_cast<std::size_t>(received) > capacity) {
        return EMSGSIZE;
    }
    length = static_cast<std::size_t>(received);
    return 0;
}

bool CUdpSocket::WaitReadable(int timeoutMs) const {
    pollfd watched{m_handle, POLLIN, 0};
    return poll(&watched, 1, timeoutMs) > 0;
}
