#pragma once

#include <gtest/gtest.h>

#include <string>

// A camera segment for the address probe, inside a private network namespace of the test
// program: this PC's card eth5 (10.3.0.5/24) leads to a far end that is camera "Gate"
// (camsim, 10.3.0.20, MAC 02:00:5e:00:03:01) and also holds 10.3.0.30, 10.3.0.31, 10.3.0.40
// and 172.16.9.9 of a foreign subnet, as any host answers ARP for its addresses; a second
// device (MAC 02:00:5e:00:0e:40) holds 10.3.0.40 too. Every other address is free.

constexpr char PROBE_CARD[] = "eth5";
constexpr char PROBE_FAR_MAC[] = "02:00:5e:00:03:01";
constexpr char PROBE_TWIN_MAC[] = "02:00:5e:00:0e:40";

// Before any thread: a network namespace of this process, as root or in a user namespace.
// Empty, or why none could be made.
std::string EnterPrivateNetworkNamespace();

// Builds the segment with the script and camsim given, its state in stateDir. Empty, or
// why it could not be built.
std::string BuildProbeSegment(const std::string& script, const std::string& camsim,
                              const std::string& stateDir);
// Takes it down again.
void RemoveProbeSegment(const std::string& script, const std::string& stateDir);

// Why the tests on the segment skip (no namespace, or no segment); empty when they run.
const std::string& ProbeSegmentSkipReason();
#define SKIP_WITHOUT_SEGMENT()                                                                     \
    if (!ProbeSegmentSkipReason().empty()) {                                                       \
        GTEST_SKIP() << ProbeSegmentSkipReason();                                                  \
    }

// A test program's main: its own namespace first, then the segment around all its tests.
int RunOnProbeSegment(int argc, char** argv, const std::string& script, const std::string& camsim);
