#pragma once

#include <QTemporaryDir>

#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "protocol/network_worker.h"
#include "sim/camera_simulator.h"

// camsim in this process, on 127.0.0.1 and a free port, logging every datagram it gets.
class CameraPeer {
public:
    explicit CameraPeer(std::vector<SimDevice> devices);
    ~CameraPeer();

    bool Started() const { return m_started; }
    const std::string& Error() const { return m_error; }

    // Where a finder under test listens and sends: loopback only, free ports.
    WorkerEndpoints Endpoints() const;

    // Every datagram received so far, as lower-case hexadecimal text.
    std::vector<std::string> Received() const;
    std::vector<SimDevice> Devices() const { return m_simulator->Devices(); }

private:
    QTemporaryDir m_folder;
    std::unique_ptr<CameraSimulator> m_simulator;
    std::thread m_thread;
    uint16_t m_finderPort = 0;
    bool m_started = false;
    std::string m_error;
};

// A UDP port that nothing holds right now.
uint16_t FreeUdpPort();

// Whether a UDP port on any address can be bound now (nothing else holds it).
bool CanBindUdpPort(uint16_t port);

std::vector<SimDevice> DemoCameras();

std::string Hex(const uint8_t* bytes, std::size_t length);
