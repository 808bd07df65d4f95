#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/worker/network_worker.h"
#include "sim/camera_simulator.h"
#include "sim/sim_device.h"
#include "tests/support/test_files.h"

// One camera from a line of camsim's devices file; fails the test when the line is bad.
SimDevice CameraFromLine(const std::string& line);

// Whether `done` came true within ms milliseconds; looks every 5 ms.
bool WaitFor(const std::function<bool()>& done, int ms = 2000);

// A UDP port that was free a moment ago on every local address.
uint16_t FreeUdpPort();

// Whether a UDP port on any address can be bound now (nothing else holds it).
bool CanBindUdpPort(uint16_t port);

// The cameras every test talks to: camsim's simulator serving on its own thread, on a free
// port of 127.0.0.1 whatever the settings say, logging every datagram it receives (into a
// folder of its own unless the settings name a log); stopped and joined when it goes.
class CameraPeer {
public:
    explicit CameraPeer(std::vector<SimDevice> devices, SimSettings settings = {});
    ~CameraPeer();
    CameraPeer(const CameraPeer&) = delete;
    CameraPeer& operator=(const CameraPeer&) = delete;

    bool Started() const { return m_thread.joinable(); }
    const std::string& Error() const { return m_error; }

    // Where a finder under test listens and sends: loopback only, free ports.
    WorkerEndpoints Endpoints() const;

    // Every datagram received so far, as lower-case hexadecimal text.
    std::vector<std::string> Received() const;
    // The same, with each search counted once: the copies of its query that follow the
    // first are left out. Two searches in a row read as one.
    std::vector<std::string> Requests() const;
    std::vector<SimDevice> Devices() const { return m_simulator->Devices(); }

    CameraSimulator& operator*() { return *m_simulator; }
    CameraSimulator* operator->() { return m_simulator.get(); }
    const CameraSimulator* operator->() const { return m_simulator.get(); }

private:
    TempFolder m_folder; // outlives the simulator that writes the log into it
    std::string m_logPath;
    std::unique_ptr<CameraSimulator> m_simulator;
    std::thread m_thread;
    uint16_t m_finderPort = 0;
    std::string m_error;
};
