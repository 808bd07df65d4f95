#include "tests/support/test_flood.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "sim/sim_codec.h"
#include "sim/sim_device.h"

namespace {

// The bytes waiting in the receive queue of the UDP socket bound to port, as the kernel
// lists them for this network namespace; -1 when no such socket is listed.
long ReceiveQueueBytes(uint16_t port) {
    std::ifstream table("/proc/net/udp");
    std::string line;
    std::getline(table, line); // the header
    while (std::getline(table, line)) {
        unsigned localPort = 0;
        unsigned long txQueue = 0;
        unsigned long rxQueue = 0;
        if (std::sscanf(line.c_str(), " %*d: %*8x:%x %*8x:%*x %*x %lx:%lx", &localPort, &txQueue,
                        &rxQueue) == 3 &&
            localPort == port) {
            return static_cast<long>(rxQueue);
        }
    }
    return -1;
}

// Waits until the queue of the socket on port is empty; false after 5 s.
bool WaitUntilTaken(uint16_t port) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (ReceiveQueueBytes(port) != 0) {
        if (std::chrono::steady_clock::now() > giveUp) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

} // namespace

bool SendAllTaken(uint16_t port, const std::vector<std::vector<uint8_t>>& datagrams) {
    constexpr std::size_t IN_FLIGHT = 32;
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const auto send = [&](const std::vector<uint8_t>& datagram) {
        sendto(fd, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&to),
               sizeof to);
    };
    // The receiver's thread may not have bound its port yet: what is sent before that is
    // lost. The queue is listed, and empty, once it has.
    bool taken = fd >= 0 && WaitUntilTaken(port);
    for (std::size_t i = 0; taken && i < datagrams.size(); ++i) {
        send(datagrams[i]);
        if ((i + 1) % IN_FLIGHT == 0) {
            taken = WaitUntilTaken(port);
        }
    }
    // Once a datagram without the magic is taken too, the receiver has finished with the
    // last of the others: it handles one datagram at a time.
    if (taken) {
        send({0});
        taken = WaitUntilTaken(port);
    }
    if (fd >= 0) {
        close(fd);
    }
    return taken;
}

std::vector<std::vector<uint8_t>> GeneratedReplies(int count) {
    std::vector<std::vector<uint8_t>> replies;
    for (const SimDevice& device : GenerateDevices(count)) {
        replies.push_back(sim::EncodeReply(device));
    }
    return replies;
}
