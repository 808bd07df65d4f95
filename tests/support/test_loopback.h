#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "sim/camera_simulator.h"
#include "sim/sim_device.h"

// One camera from a line of camsim's devices file; fails the test when the line is bad.
SimDevice CameraFromLine(const std::string& line);

// A UDP port that was free a moment ago on every local address.
uint16_t FreeUdpPort();

// camsim's simulator serving on its own thread, on a free port of 127.0.0.1 whatever the
// settings say; stopped and joined when it goes.
class RunningCameras {
public:
    explicit RunningCameras(std::vector<SimDevice> devices, SimSettings settings = {});
    ~RunningCameras();
    RunningCameras(const RunningCameras&) = delete;
    RunningCameras& operator=(const RunningCameras&) = delete;

    CameraSimulator& operator*() { return *m_simulator; }
    CameraSimulator* operator->() { return m_simulator.get(); }
    const CameraSimulator* operator->() const { return m_simulator.get(); }

private:
    std::unique_ptr<CameraSimulator> m_simulator;
    std::thread m_thread;
};
