// The probe on Linux: ARP probes from a packet socket where the process may open one (root
// or CAP_NET_RAW), else the kernel's own neighbour resolution, which needs no privilege: a
// datagram to each address from a socket on the card, then the neighbour table read
// through rtnetlink.

#include <net/if.h>
#include <net/if_arp.h>
#include <netinet/in.h>
#include <netinet/ip_icmp.h>
#include <netpacket/packet.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <ctime> // before the kernel's errqueue.h, which uses timespec

#include <linux/errqueue.h>
#include <linux/if_ether.h>
#include <linux/neighbour.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <thread>

#include "core/net/address_probe.h"
#include "core/wire/subnet.h"

namespace {

using Clock = std::chrono::steady_clock;

// The discard port: a datagram there asks nothing of a device, but its address must be
// resolved before it can go.
constexpr uint16_t PROBE_DISCARD_PORT = 9;
// At most this many addresses are resolved at once, far below the neighbour table's
// default hard limit (gc_thresh3, 1024), so that no entry of the machine is pushed out.
constexpr std::size_t PROBE_NEIGHBOUR_BATCH = 256;
// ARP probes go out twice to an address that has not answered: one lost frame does not
// make a held address free.
constexpr int PROBE_ARP_ROUNDS = 2;

constexpr std::size_t ARP_LENGTH = 28; // an ARP message for IPv4 over Ethernet
constexpr uint16_t ARP_OP_REQUEST = 1;
constexpr uint16_t ARP_OP_REPLY = 2;

class CDescriptor {
public:
    explicit CDescriptor(int fd) : m_fd(fd) {}
    ~CDescriptor() {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    CDescriptor(const CDescriptor&) = delete;
    CDescriptor& operator=(const CDescriptor&) = delete;
    int Get() const { return m_fd; }
    bool Ok() const { return m_fd >= 0; }

private:
    int m_fd;
};

// Waits for the descriptor to become readable, at most until the deadline.
bool WaitReadable(int fd, Clock::time_point deadline) {
    const auto left = std::max(Clock::duration::zero(), deadline - Clock::now());
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    const timespec timeout{static_cast<time_t>(ns / 1000000000),
                           static_cast<long>(ns % 1000000000)};
    pollfd watched{fd, POLLIN, 0};
    return ppoll(&watched, 1, &timeout, nullptr) > 0;
}

// The card's own MAC, which ioctl tells any process.
bool CardMac(const NetInterface& card, HardwareAddress& mac) {
    const CDescriptor fd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    ifreq request{};
    std::strncpy(request.ifr_name, card.name.c_str(), IFNAMSIZ - 1);
    if (!fd.Ok() || ioctl(fd.Get(), SIOCGIFHWADDR, &request) < 0) {
        return false;
    }
    std::memcpy(mac.data(), request.ifr_hwaddr.sa_data, mac.size());
    return true;
}

void Record(AddressAnswer& answer, const HardwareAddress& mac) {
    answer.held = true;
    if (std::find(answer.macs.begin(), answer.macs.end(), mac) == answer.macs.end()) {
        answer.macs.push_back(mac);
    }
}

// The card's own address is held by the card: this PC asks nobody about it.
void AnswerOwnAddress(const NetInterface& card, std::vector<AddressAnswer>& answers) {
    HardwareAddress mac{};
    const bool known = CardMac(card, mac);
    for (AddressAnswer& answer : answers) {
        if (answer.address == card.address) {
            answer.held = true;
            if (known) {
                Record(answer, mac);
            }
        }
    }
}

// --- ARP probes ---

void PutShort(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value >> 8);
    at[1] = static_cast<uint8_t>(value);
}

uint16_t GetShort(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] << 8 | at[1]);
}

void PutAddress(uint8_t* at, uint32_t address) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<uint8_t>(address >> (24 - 8 * i));
    }
}

uint32_t GetAddress(const uint8_t* at) {
    return uint32_t{at[0]} << 24 | uint32_t{at[1]} << 16 | uint32_t{at[2]} << 8 | at[3];
}

// An ARP probe: a request whose sender address is 0.0.0.0, so that no device asked
// learns a binding from it, and whose target hardware address is zero.
std::array<uint8_t, ARP_LENGTH> ArpProbe(const HardwareAddress& own, uint32_t target) {
    std::array<uint8_t, ARP_LENGTH> packet{};
    PutShort(&packet[0], ARPHRD_ETHER);
    PutShort(&packet[2], ETH_P_IP);
    packet[4] = 6;
    packet[5] = 4;
    PutShort(&packet[6], ARP_OP_REQUEST);
    std::copy(own.begin(), own.end(), &packet[8]);
    PutAddress(&packet[24], target);
    return packet;
}

class CArpProber {
public:
    CArpProber(const NetInterface& card, const ProbeOptions& options,
               std::vector<AddressAnswer>& answers)
        : m_card(card), m_options(options), m_answers(answers),
          m_fd(socket(AF_PACKET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, htons(ETH_P_ARP))) {
        for (std::size_t i = 0; i < answers.size(); ++i) {
            m_places.emplace(answers[i].address, i);
        }
    }

    int Run() {
        if (!m_fd.Ok()) {
            return errno;
        }
        sockaddr_ll local{};
        local.sll_family = AF_PACKET;
        local.sll_protocol = htons(ETH_P_ARP);
        local.sll_ifindex = static_cast<int>(m_card.index);
        socklen_t size = sizeof local;
        if (bind(m_fd.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) < 0 ||
            getsockname(m_fd.Get(), reinterpret_cast<sockaddr*>(&local), &size) < 0) {
            return errno;
        }
        std::copy(local.sll_addr, local.sll_addr + m_own.size(), m_own.begin());
        Clock::time_point next = Clock::now();
        for (int round = 0; round < PROBE_ARP_ROUNDS; ++round) {
            for (AddressAnswer& answer : m_answers) {
                if (answer.held || answer.address == m_card.address) {
                    continue;
                }
                Drain(next);
                if (const int error = Send(answer.address); error != 0) {
                    return error;
                }
                next = Clock::now() + std::chrono::microseconds(m_options.intervalUs);
            }
        }
        Drain(Clock::now() + std::chrono::milliseconds(m_options.answerWaitMs));
        return 0;
    }

private:
    int Send(uint32_t target) {
        const std::array<uint8_t, ARP_LENGTH> packet = ArpProbe(m_own, target);
        sockaddr_ll to{};
        to.sll_family = AF_PACKET;
        to.sll_protocol = htons(ETH_P_ARP);
        to.sll_ifindex = static_cast<int>(m_card.index);
        to.sll_halen = 6;
        std::fill(to.sll_addr, to.sll_addr + 6, 0xff);
        ssize_t sent;
        do {
            sent = sendto(m_fd.Get(), packet.data(), packet.size(), 0,
                          reinterpret_cast<const sockaddr*>(&to), sizeof to);
        } while (sent < 0 && errno == EINTR);
        // A full send queue is a pause, not a failure: the next round asks again.
        return sent < 0 && errno != EAGAIN && errno != ENOBUFS ? errno : 0;
    }

    // Reads what arrives until the deadline.
    void Drain(Clock::time_point deadline) {
        do {
            uint8_t packet[256];
            sockaddr_ll from{};
            socklen_t size = sizeof from;
            ssize_t length;
            while ((length = recvfrom(m_fd.Get(), packet, sizeof packet, 0,
                                      reinterpret_cast<sockaddr*>(&from), &size)) >= 0) {
                if (from.sll_pkttype != PACKET_OUTGOING &&
                    static_cast<std::size_t>(length) >= ARP_LENGTH) {
                    Take(packet);
                }
                size = sizeof from;
            }
        } while (Clock::now() < deadline && WaitReadable(m_fd.Get(), deadline));
    }

    // A reply from the address asked for, or a request that a device sends from it (it
    // announces the address, or asks from it), tells that this device holds it.
    void Take(const uint8_t* packet) {
        const uint16_t op = GetShort(&packet[6]);
        if (GetShort(&packet[0]) != ARPHRD_ETHER || GetShort(&packet[2]) != ETH_P_IP ||
            packet[4] != 6 || packet[5] != 4 || (op != ARP_OP_REPLY && op != ARP_OP_REQUEST)) {
            return;
        }
        HardwareAddress sender;
        std::copy(&packet[8], &packet[14], sender.begin());
        const auto place = m_places.find(GetAddress(&packet[14]));
        if (place != m_places.end() && sender != m_own) {
            Record(m_answers[place->second], sender);
        }
    }

    const NetInterface& m_card;
    const ProbeOptions& m_options;
    std::vector<AddressAnswer>& m_answers;
    std::map<uint32_t, std::size_t> m_places;
    CDescriptor m_fd;
    HardwareAddress m_own{};
};

// --- the neighbour table ---

// The addresses of the card's table that resolve to a hardware address.
std::map<uint32_t, HardwareAddress> ResolvedNeighbours(unsigned cardIndex, int& error) {
    std::map<uint32_t, HardwareAddress> resolved;
    const CDescriptor fd(socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE));
    struct {
        nlmsghdr header;
        ndmsg message;
    } request{};
    request.header.nlmsg_len = sizeof request;
    request.header.nlmsg_type = RTM_GETNEIGH;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = 1;
    request.message.ndm_family = AF_INET;
    if (!fd.Ok() || send(fd.Get(), &request, sizeof request, 0) < 0) {
        error = errno;
        return resolved;
    }
    constexpr uint16_t RESOLVED = NUD_REACHABLE | NUD_STALE | NUD_DELAY | NUD_PROBE | NUD_PERMANENT;
    alignas(nlmsghdr) char buffer[32768];
    for (;;) {
        const ssize_t length = recv(fd.Get(), buffer, sizeof buffer, 0);
        if (length < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            return resolved;
        }
        auto left = static_cast<int>(length);
        for (auto* header = reinterpret_cast<nlmsghdr*>(buffer); NLMSG_OK(header, left);
             header = NLMSG_NEXT(header, left)) {
            if (header->nlmsg_type == NLMSG_DONE || header->nlmsg_type == NLMSG_ERROR) {
                return resolved;
            }
            const auto* entry = static_cast<const ndmsg*>(NLMSG_DATA(header));
            if (header->nlmsg_type != RTM_NEWNEIGH ||
                static_cast<unsigned>(entry->ndm_ifindex) != cardIndex ||
                (entry->ndm_state & RESOLVED) == 0) {
                continue;
            }
            const uint32_t* address = nullptr;
            const uint8_t* mac = nullptr;
            int attributes = static_cast<int>(RTM_PAYLOAD(header));
            for (auto* attribute =
                     reinterpret_cast<rtattr*>(reinterpret_cast<char*>(const_cast<ndmsg*>(entry)) +
                                               NLMSG_ALIGN(sizeof *entry));
                 RTA_OK(attribute, attributes); attribute = RTA_NEXT(attribute, attributes)) {
                if (attribute->rta_type == NDA_DST && RTA_PAYLOAD(attribute) == 4) {
                    address = static_cast<const uint32_t*>(RTA_DATA(attribute));
                } else if (attribute->rta_type == NDA_LLADDR && RTA_PAYLOAD(attribute) == 6) {
                    mac = static_cast<const uint8_t*>(RTA_DATA(attribute));
                }
            }
            if (address != nullptr && mac != nullptr) {
                std::copy(mac, mac + 6, resolved[ntohl(*address)].begin());
            }
        }
    }
}

// Port unreachable from the address itself: it holds the address, whatever the table says.
void TakeIcmpErrors(int fd, const std::map<uint32_t, std::size_t>& places,
                    std::vector<AddressAnswer>& answers) {
    for (;;) {
        char data[64];
        iovec io{data, sizeof data};
        sockaddr_in destination{};
        alignas(cmsghdr) char control[512];
        msghdr message{};
        message.msg_name = &destination;
        message.msg_namelen = sizeof destination;
        message.msg_iov = &io;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        if (recvmsg(fd, &message, MSG_ERRQUEUE | MSG_DONTWAIT) < 0) {
            return;
        }
        for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr;
             header = CMSG_NXTHDR(&message, header)) {
            if (header->cmsg_level != IPPROTO_IP || header->cmsg_type != IP_RECVERR) {
                continue;
            }
            const auto* error = reinterpret_cast<const sock_extended_err*>(CMSG_DATA(header));
            const auto* offender = reinterpret_cast<const sockaddr_in*>(SO_EE_OFFENDER(error));
            const auto place = places.find(ntohl(destination.sin_addr.s_addr));
            if (error->ee_origin == SO_EE_ORIGIN_ICMP && error->ee_type == ICMP_DEST_UNREACH &&
                error->ee_code == ICMP_PORT_UNREACH && place != places.end() &&
                offender->sin_addr.s_addr == destination.sin_addr.s_addr) {
                answers[place->second].held = true;
            }
        }
    }
}

// A socket on the card: bound to its address, which needs no privilege, and to the card
// itself where the kernel allows that (Linux 5.7 and later without CAP_NET_RAW).
int OpenCardSocket(const NetInterface& card, CDescriptor& fd) {
    if (!fd.Ok()) {
        return errno;
    }
    setsockopt(fd.Get(), SOL_SOCKET, SO_BINDTODEVICE, card.name.c_str(),
               static_cast<socklen_t>(card.name.size()));
    const int on = 1;
    setsockopt(fd.Get(), IPPROTO_IP, IP_RECVERR, &on, sizeof on);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(card.address);
    return bind(fd.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) < 0 ? errno : 0;
}

// Only a host address of the card's subnet is resolved by the kernel; the card's own, the
// subnet's network and broadcast address are not.
bool Resolvable(const NetInterface& card, uint32_t address) {
    const uint32_t mask = PrefixMask(card.prefix);
    const bool hostPart =
        card.prefix >= 31 || ((address & ~mask) != 0 && (address & ~mask) != ~mask);
    return InSubnet(address, card.address, card.prefix) && hostPart && address != card.address;
}

int ProbeNeighbours(const NetInterface& card, const ProbeOptions& options,
                    std::vector<AddressAnswer>& answers) {
    CDescriptor fd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, IPPROTO_UDP));
    if (const int error = OpenCardSocket(card, fd); error != 0) {
        return error;
    }
    std::vector<std::size_t> pending;
    for (std::size_t i = 0; i < answers.size(); ++i) {
        answers[i].asked =
            Resolvable(card, answers[i].address) || answers[i].address == card.address;
        if (Resolvable(card, answers[i].address)) {
            pending.push_back(i);
        }
    }
    for (std::size_t start = 0; start < pending.size(); start += PROBE_NEIGHBOUR_BATCH) {
        const std::size_t end = std::min(pending.size(), start + PROBE_NEIGHBOUR_BATCH);
        std::map<uint32_t, std::size_t> places;
        Clock::time_point next = Clock::now();
        for (std::size_t p = start; p < end; ++p) {
            AddressAnswer& answer = answers[pending[p]];
            places.emplace(answer.address, pending[p]);
            std::this_thread::sleep_until(next); // ICMP errors are taken after the batch
            sockaddr_in to{};
            to.sin_family = AF_INET;
            to.sin_port = htons(PROBE_DISCARD_PORT);
            to.sin_addr.s_addr = htonl(answer.address);
            // An ICMP error that came for an earlier datagram fails the next send once (it
            // stays queued for TakeIcmpErrors): that datagram is sent again. One the kernel
            // refuses for a full queue of unresolved datagrams has started the resolution.
            for (int attempt = 0; attempt < 2; ++attempt) {
                if (sendto(fd.Get(), "", 0, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) ==
                        0 ||
                    errno == EAGAIN) {
                    break;
                }
            }
            next = Clock::now() + std::chrono::microseconds(options.intervalUs);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(options.answerWaitMs));
        TakeIcmpErrors(fd.Get(), places, answers);
        int error = 0;
        const std::map<uint32_t, HardwareAddress> resolved = ResolvedNeighbours(card.index, error);
        if (error != 0) {
            return error;
        }
        for (const auto& [address, place] : places) {
            if (const auto entry = resolved.find(address); entry != resolved.end()) {
                Record(answers[place], entry->second);
            }
        }
    }
    return 0;
}

} // namespace

ProbeWay AvailableProbeWay(bool neighbourTableOnly) {
    if (neighbourTableOnly) {
        return ProbeWay::NeighbourTable;
    }
    const CDescriptor fd(socket(AF_PACKET, SOCK_DGRAM | SOCK_CLOEXEC, htons(ETH_P_ARP)));
    return fd.Ok() ? ProbeWay::ArpProbe : ProbeWay::NeighbourTable;
}

int ProbeOnCard(const NetInterface& card, ProbeWay way, const ProbeOptions& options,
                std::vector<AddressAnswer>& answers) {
    AnswerOwnAddress(card, answers);
    if (way == ProbeWay::ArpProbe) {
        return CArpProber(card, options, answers).Run();
    }
    return ProbeNeighbours(card, options, answers);
}
