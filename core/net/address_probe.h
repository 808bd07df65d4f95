#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/net/net_interfaces.h"

// Asks the segment behind a network card whether addresses are held, and by which MAC: the
// finder's check before it hands out an address, for every device there, not only cameras.
// One implementation per platform.

using HardwareAddress = std::array<uint8_t, 6>;

// How the segment was asked.
enum class ProbeWay {
    NeighbourTable, // a datagram to each address, then the kernel's neighbour table (Linux)
    ArpProbe,       // ARP probes with sender address 0.0.0.0 from a packet socket (Linux)
    SystemArp,      // the system's own ARP request, SendARP (Windows)
};

// Whether a way can ask an address outside the card's subnet. Only an ARP probe can: the
// kernel resolves only neighbours of its own subnets, and so does SendARP.
bool WayAsksOutsideSubnet(ProbeWay way);

struct AddressAnswer {
    uint32_t address = 0;              // host order
    bool asked = false;                // false: no card could ask it this way
    bool held = false;                 // something answered for it
    std::vector<HardwareAddress> macs; // the holders seen, each once, in order of answer
};

struct ProbeOptions {
    bool neighbourTableOnly = false; // the unprivileged way even where a packet socket opens
    int intervalUs = 1000;           // between two questions on the wire
    int answerWaitMs = 300;          // after the last question, for late answers
};

struct ProbeResult {
    ProbeWay way = ProbeWay::NeighbourTable;
    std::vector<AddressAnswer> answers; // one per address asked for, in the order given
    int error = 0;                      // the platform's code when a card could not be asked
    std::string failedCard;             // the card it failed on
};

// Asks every address on the card whose subnet holds it; an address outside the subnets of
// all cards is asked on every card where the way can ask it. cards: the cards to ask on
// (up, with an IPv4 address).
ProbeResult ProbeAddresses(const std::vector<NetInterface>& cards,
                           const std::vector<uint32_t>& addresses, const ProbeOptions& options);

// The platform's part.

// The way this process can ask: an ARP probe where a packet socket opens (root or
// CAP_NET_RAW) unless neighbourTableOnly; else the neighbour table.
ProbeWay AvailableProbeWay(bool neighbourTableOnly);

// Asks the answers' addresses on one card and fills in what answered (answers come with
// asked set). 0, or the platform's code when the card could not be asked at all.
int ProbeOnCard(const NetInterface& card, ProbeWay way, const ProbeOptions& options,
                std::vector<AddressAnswer>& answers);
