// camsim against the finder's own codec: its replies are decoded with ParseReply and its set
// handling is fed with BuildSetRequest, so a fault on either side shows up here.
#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "core/net/udp_socket.h"
#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"
#include "sim/camera_simulator.h"
#include "sim/camsim_command.h"
#include "sim/sim_codec.h"
#include "sim/sim_device.h"
#include "tests/support/test_files.h"
#include "tests/support/test_loopback.h"

namespace {

std::vector<SimDevice> SampleDevices() {
    return {
        CameraFromLine(
            "Front door | 02005e000001 | 192.168.1.20 | 255.255.255.0 | 192.168.1.1 | 80 | "
            "FFFFFFFF | 2.1.0 | | | 0"),
        CameraFromLine(
            "Sixteen chars ok | 02005E0000AB | 10.0.0.50 | 255.0.0.0 | 10.0.0.1 | 65535 | "
            "FFFF0100 | 16-char-version! | | | 0"),
        CameraFromLine(
            " | 02005e000003 | 172.16.5.10 | 255.255.0.0 | 172.16.0.1 | 20480 | 01FFFFFF | 1.0 | "
            "a-very-long-account-name-that-fills-all-sixty-four-bytes-exactly | "
            "sixteen-bytes-pw | 0"),
        CameraFromLine(
            "Server room | 02005e000009 | 192.168.1.40 | 255.255.255.0 | 192.168.1.1 | 443 | "
            "FFFFFFFF | 3.0.0 | | | 1"),
    };
}

// A UDP socket on 127.0.0.1 standing in for the finder.
class LoopbackPeer {
public:
    LoopbackPeer() {
        EXPECT_EQ(m_socket.Open(), 0);
        EXPECT_EQ(m_socket.Bind(0, htonl(INADDR_LOOPBACK)), 0);
    }

    static sockaddr_in Address(uint16_t port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return address;
    }

    void Send(uint16_t port, const void* bytes, std::size_t length) {
        ASSERT_EQ(m_socket.SendTo(bytes, length, Address(port)), 0);
    }

    // Every datagram that arrives until none has come for quietMs; while fewer than
    // `expected` have come, a wait may last 5 s, which a loaded machine needs.
    std::vector<std::vector<uint8_t>> Receive(int quietMs = 300, std::size_t expected = 0) {
        std::vector<std::vector<uint8_t>> datagrams;
        while (m_socket.WaitReadable(datagrams.size() < expected ? 5000 : quietMs)) {
            uint8_t buffer[3000];
            std::size_t length = 0;
            sockaddr_in sender{};
            if (m_socket.ReceiveFrom(buffer, sizeof buffer, length, sender) == 0) {
                datagrams.emplace_back(buffer, buffer + length);
            }
        }
        return datagrams;
    }

private:
    CUdpSocket m_socket;
};

// The replies to one query: one per device the simulator holds.
std::vector<DeviceRecord> Query(CameraPeer& sim, LoopbackPeer& peer) {
    DiscoveryDatagram query;
    BuildQueryRequest(query);
    peer.Send(sim->LocalPort(), query.bytes, sizeof query.bytes);
    std::vector<DeviceRecord> records;
    for (const auto& reply : peer.Receive(300, sim->Devices().size())) {
        DeviceRecord record;
        EXPECT_TRUE(ParseReply(reply.data(), reply.size(), record));
        records.push_back(record);
    }
    return records;
}

// The table a finder holds after one query to the simulator (one at a time: it is shared).
const DeviceTable& QueriedTable(CameraPeer& sim, LoopbackPeer& peer) {
    static DeviceTable table;
    ClearTable(table);
    for (const DeviceRecord& record : Query(sim, peer)) {
        MergeRecord(table, record);
    }
    return table;
}

} // namespace

TEST(CamsimDevices, DemoFileHoldsADozenVariedCameras) {
    std::vector<SimDevice> devices;
    std::string error;
    ASSERT_TRUE(LoadDeviceFile(DEMO_CAMERAS_PATH, devices, error)) << error;
    ASSERT_EQ(devices.size(), 12u);
    bool emptyName = false, fullName = false, readOnly = false, mixed = false, pppoe = false;
    for (const SimDevice& d : devices) {
        emptyName |= d.name.empty();
        fullName |= d.name.size() == 16;
        readOnly |= d.readOnly;
        mixed |= d.netMode == std::array<uint8_t, 4>{0xFF, 0xFF, 0x01, 0x00};
        pppoe |= d.netMode == std::array<uint8_t, 4>{0x01, 0xFF, 0xFF, 0xFF};
    }
    EXPECT_TRUE(emptyName && fullName && readOnly && mixed && pppoe);
}

TEST(CamsimDevices, BadLinesAreRefusedWithTheirReason) {
    SimDevice device;
    std::string error;
    const std::string good =
        "n | 02005e000001 | 1.2.3.4 | 255.0.0.0 | 1.2.3.1 | 80 | FFFFFFFF | v | "
        "a | p | 0";
    EXPECT_TRUE(ParseDeviceLine(good, device, error)) << error;
    const char* bad[] = {
        "n | 02005e000001 | 1.2.3.4", // fields
        "seventeen chars!! | 02005e000001 | 1.2.3.4 | 255.0.0.0 | 1.2.3.1 | 80 | "
        "FFFFFFFF | v "
        "| a | p | 0", // name
        "n | 02005e00001 | 1.2.3.4 | 255.0.0.0 | 1.2.3.1 | 80 | FFFFFFFF | v | a | p | "
        "0", // mac
        "n | 02005e000001 | 1.2.3.256 | 255.0.0.0 | 1.2.3.1 | 80 | FFFFFFFF | v | a | "
        "p | 0", // ip
        "n | 02005e000001 | 1.2.3.4 | 255.0.0.0 | 1.2.3.1 | 65536 | FFFFFFFF | v | a | "
        "p | 0", // port
        "n | 02005e000001 | 1.2.3.4 | 255.0.0.0 | 1.2.3.1 | 80 | FFFFFFF | v | a | p | "
        "0", // mode
        "n | 02005e000001 | 1.2.3.4 | 255.0.0.0 | 1.2.3.1 | 80 | FFFFFFFF | v | a | p "
        "| 2", // ro
    };
    for (const char* line : bad) {
        error.clear();
        EXPECT_FALSE(ParseDeviceLine(line, device, error)) << line;
        EXPECT_FALSE(error.empty()) << line;
    }

    const TempFolder folder;
    const std::string path = folder.File("devices.txt");
    std::ofstream(path) << "# comment\n\n" << good << "\n" << bad[2] << "\n";
    std::vector<SimDevice> devices;
    EXPECT_FALSE(LoadDeviceFile(path, devices, error));
    EXPECT_NE(error.find(":4: MAC"), std::string::npos) << error;
}

TEST(CamsimDevices, GeneratedDevicesAreDistinct) {
    const std::vector<SimDevice> devices = GenerateDevices(300);
    ASSERT_EQ(devices.size(), 300u);
    for (std::size_t i = 1; i < devices.size(); ++i) {
        EXPECT_NE(devices[i].mac, devices[i - 1].mac);
        EXPECT_NE(devices[i].ip, devices[i - 1].ip);
        EXPECT_LE(devices[i].name.size(), SIM_NAME_WIDTH);
    }
}

TEST(CamsimQuery, EveryDeviceAnswersAndTheFinderDecodesIt) {
    const std::vector<SimDevice> devices = SampleDevices();
    CameraPeer sim(devices);
    LoopbackPeer peer;
    const std::vector<DeviceRecord> records = Query(sim, peer);
    ASSERT_EQ(records.size(), devices.size());
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const SimDevice& d = devices[i];
        const DeviceRecord& r = records[i];
        SCOPED_TRACE(d.name);
        EXPECT_EQ(FieldText(r.name), d.name);
        EXPECT_EQ(MacToText(r.mac), MacText(d.mac));
        EXPECT_EQ(FieldText(r.version), d.version);
        EXPECT_EQ(FieldText(r.pppoeAccount), d.pppoeAccount);
        EXPECT_EQ(FieldText(r.pppoePassword), d.pppoePassword);
        EXPECT_EQ(r.httpPort, d.httpPort);
        EXPECT_EQ(std::memcmp(r.netMode, d.netMode.data(), 4), 0);
        EXPECT_EQ(r.readOnly, d.readOnly ? 1 : 0);
    }
    EXPECT_STREQ(records[1].ip, "10.0.0.50");
    EXPECT_STREQ(records[1].netmask, "255.0.0.0");
    EXPECT_STREQ(records[2].gateway, "172.16.0.1");
    EXPECT_EQ(records[1].httpPort, 65535);
    EXPECT_EQ(records[2].httpPort, 20480); // 0x5000: least significant byte first
}

TEST(CamsimQuery, OnlyAFullQueryIsAnswered) {
    CameraPeer sim(SampleDevices());
    LoopbackPeer peer;
    DiscoveryDatagram query;
    BuildQueryRequest(query);
    peer.Send(sim->LocalPort(), query.bytes, 200); // cut short
    query.bytes[0] = 'X';
    peer.Send(sim->LocalPort(), query.bytes, sizeof query.bytes); // no magic
    EXPECT_TRUE(peer.Receive().empty());
}

TEST(CamsimQuery, RepliesWithJitterAllArrive) {
    SimSettings settings;
    settings.jitterMs = 40;
    CameraPeer sim(GenerateDevices(50), settings);
    LoopbackPeer peer;
    const std::vector<DeviceRecord> records = Query(sim, peer);
    EXPECT_EQ(records.size(), 50u);
}

TEST(CamsimSet, ASetRequestFromTheFinderChangesTheNamedDevice) {
    CameraPeer sim(SampleDevices());
    LoopbackPeer peer;
    const DeviceTable& table = QueriedTable(sim, peer);
    ChangeValues values;
    values.mac = "02005e0000ab";
    values.newMac = "0a0b0c0d0e0f";
    values.name = "Renamed";
    values.ip = "192.168.7.8";
    values.netmask = "255.255.0.0";
    values.gateway = "192.168.0.254";
    values.httpPort = "8081";
    values.pppoeAccount = "acct";
    values.pppoePassword = "pw";
    values.mode = NetMode::Pppoe;
    DiscoveryDatagram request;
    BuildSetRequest(request, table, values);
    peer.Send(sim->LocalPort(), request.bytes, sizeof request.bytes);
    EXPECT_TRUE(peer.Receive(200).empty()) << "a set request is not answered";

    ASSERT_TRUE(WaitFor([&] { return sim->Devices()[1].name == "Renamed"; }));
    const SimDevice d = sim->Devices()[1];
    EXPECT_EQ(MacText(d.mac), "0a0b0c0d0e0f");
    EXPECT_EQ(d.ip, (std::array<uint8_t, 4>{192, 168, 7, 8}));
    EXPECT_EQ(d.netmask, (std::array<uint8_t, 4>{255, 255, 0, 0}));
    EXPECT_EQ(d.gateway, (std::array<uint8_t, 4>{192, 168, 0, 254}));
    EXPECT_EQ(d.httpPort, 8081);
    EXPECT_EQ(d.netMode, (std::array<uint8_t, 4>{0x01, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(d.pppoeAccount, "acct");
    EXPECT_EQ(d.pppoePassword, "pw");
    EXPECT_EQ(sim->Devices()[0].name, "Front door") << "other devices stay as they were";

    // The device now answers with its new settings.
    bool found = false;
    for (const DeviceRecord& record : Query(sim, peer)) {
        if (MacToText(record.mac) == "0a0b0c0d0e0f") {
            found = true;
            EXPECT_EQ(FieldText(record.name), "Renamed");
            EXPECT_EQ(record.httpPort, 8081);
        }
    }
    EXPECT_TRUE(found);
}

TEST(CamsimSet, DroppingSetRequestsLogsThemAndChangesNothing) {
    SimSettings settings;
    settings.dropSetRequests = true;
    CameraPeer sim(SampleDevices(), settings);
    LoopbackPeer peer;
    const DeviceTable& table = QueriedTable(sim, peer);
    ChangeValues values;
    values.mac = "02005e0000ab";
    values.name = "Renamed";
    DiscoveryDatagram request;
    BuildSetRequest(request, table, values);
    peer.Send(sim->LocalPort(), request.bytes, sizeof request.bytes);
    const std::string logged = sim::HexLine(request.bytes, sizeof request.bytes);
    ASSERT_TRUE(WaitFor([&] { return sim.Received().size() == 2; }));
    EXPECT_EQ(sim.Received()[1], logged);
    EXPECT_EQ(sim->Devices()[1].name, SampleDevices()[1].name);
    std::string error;
    EXPECT_TRUE(
        ParseCamsimArguments({"--count", "1", "--drop-sets"}, error)->settings.dropSetRequests);
}

TEST(CamsimSet, ReadOnlyAndUnknownDevicesIgnoreIt) {
    std::vector<SimDevice> devices = SampleDevices();
    const std::vector<SimDevice> before = devices;
    static DeviceTable table;
    ClearTable(table);
    DeviceRecord record{};
    std::memcpy(record.mac, devices[3].mac.data(), 6);
    MergeRecord(table, record);
    ChangeValues values;
    values.mac = MacText(devices[3].mac);
    values.name = "changed";
    DiscoveryDatagram request;
    BuildSetRequest(request, table, values);
    EXPECT_EQ(sim::ApplySetRequest(request.bytes, sizeof request.bytes, devices),
              sim::SetOutcome::ReadOnly);
    EXPECT_EQ(devices[3].name, "Server room");

    values.mac = "ffffffffffff"; // no slot: the bare magic goes out
    BuildSetRequest(request, table, values);
    EXPECT_EQ(sim::ApplySetRequest(request.bytes, sizeof request.bytes, devices),
              sim::SetOutcome::NotSetRequest);

    record.mac[0] ^= 0x40; // a device the simulator does not hold
    table.slot[254] = record;
    values.mac = MacToText(record.mac);
    BuildSetRequest(request, table, values);
    EXPECT_EQ(sim::ApplySetRequest(request.bytes, sizeof request.bytes, devices),
              sim::SetOutcome::UnknownDevice);
    for (std::size_t i = 0; i < devices.size(); ++i) {
        EXPECT_EQ(devices[i].name, before[i].name);
    }
}

TEST(CamsimSet, ItemsWithAnotherLengthOrCutShortAreIgnored) {
    std::vector<SimDevice> devices = SampleDevices();
    // magic, MAC of device 0, a name item claiming 15 bytes, a port item cut by the end.
    std::vector<uint8_t> request = {'R',  'Z',  '8', '8', '0', 0x10, 6, 0x02,
                                    0x00, 0x5e, 0,   0,   1,   0x20, 15};
    request.insert(request.end(), 15, 'x');
    request.insert(request.end(), {0x14, 5, '8', '1'});
    EXPECT_EQ(sim::ApplySetRequest(request.data(), request.size(), devices),
              sim::SetOutcome::Applied);
    EXPECT_EQ(devices[0].name, "Front door");
    EXPECT_EQ(devices[0].httpPort, 80);
}

TEST(CamsimLog, EveryDatagramIsOneHexLine) {
    const TempFolder folder;
    SimSettings settings;
    settings.logPath = folder.File("camsim.log");
    CameraPeer sim(SampleDevices(), settings);
    LoopbackPeer peer;
    DiscoveryDatagram query;
    BuildQueryRequest(query);
    peer.Send(sim->LocalPort(), query.bytes, sizeof query.bytes);
    const uint8_t junk[] = {0x00, 0xAB, 0xFF};
    peer.Send(sim->LocalPort(), junk, sizeof junk);
    peer.Receive();
    ASSERT_TRUE(WaitFor([&] { return ReadFile(settings.logPath).size() >= 512 + 1 + 6 + 1; }));
    EXPECT_EQ(ReadFile(settings.logPath),
              sim::HexLine(query.bytes, sizeof query.bytes) + "\n" + "00abff\n");
    EXPECT_EQ(sim::HexLine(query.bytes, 7), "525a3838302010");
}

TEST(CamsimCommand, UsageErrorsAndHelp) {
    std::string error;
    EXPECT_FALSE(ParseCamsimArguments({}, error));
    EXPECT_FALSE(ParseCamsimArguments({"--count", "3", "--devices", "f"}, error));
    EXPECT_FALSE(ParseCamsimArguments({"--count", "0"}, error));
    EXPECT_FALSE(ParseCamsimArguments({"--count", "3", "--port", "70000"}, error));
    EXPECT_FALSE(ParseCamsimArguments({"--count", "3", "--bind", "localhost"}, error));
    EXPECT_EQ(error, "--bind \"localhost\" is not an IPv4 address");
    EXPECT_FALSE(ParseCamsimArguments({"--count", "3", "--jitter-ms"}, error));
    EXPECT_EQ(error, "--jitter-ms needs a value");
    EXPECT_FALSE(ParseCamsimArguments({"--count", "3", "--fast"}, error));
    const auto options = ParseCamsimArguments(
        {"--count", "3", "--port", "4100", "--bind", "127.0.0.1", "--jitter-ms", "5"}, error);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->count, 3);
    EXPECT_EQ(options->settings.port, 4100);
    EXPECT_EQ(options->settings.bindAddress, "127.0.0.1");
    EXPECT_EQ(options->settings.jitterMs, 5);
    EXPECT_FALSE(options->settings.replyBroadcast);
    EXPECT_TRUE(ParseCamsimArguments({"--reply-broadcast", "--count", "1"}, error)
                    ->settings.replyBroadcast);
    EXPECT_TRUE(ParseCamsimArguments({"--help"}, error)->help);
    // A box of cameras at one factory address, one of which loses its set requests.
    EXPECT_FALSE(ParseCamsimArguments({"--devices", "f", "--factory", "192.168.1.64"}, error));
    EXPECT_EQ(error, "--factory goes with --count N");
    const auto factory = ParseCamsimArguments(
        {"--count", "2", "--factory", "192.168.1.64", "--lose-sets-of", "02005E100001"}, error);
    ASSERT_TRUE(factory);
    EXPECT_EQ(factory->factory, (std::array<uint8_t, 4>{192, 168, 1, 64}));
    EXPECT_EQ(factory->settings.losingSets, std::vector<std::string>{"02005e100001"});
}

TEST(CamsimCommand, TheProgramStopsCleanlyOnSigterm) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no SIGTERM to send to another program; camsim.exe stops on "
                    "Ctrl+C, which the Windows run's end-to-end scan uses";
#else
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        execl(CAMSIM_PATH, "camsim", "--count", "2", "--port", "0", "--bind", "127.0.0.1", nullptr);
        _exit(127);
    }
    close(out[1]);
    char banner[128] = {};
    const ssize_t length = read(out[0], banner, sizeof banner - 1); // printed once serving
    close(out[0]);
    EXPECT_GT(length, 0);
    EXPECT_EQ(std::string(banner).rfind("camsim: 2 devices on 127.0.0.1:", 0), 0u) << banner;
    kill(pid, SIGTERM);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by the signal instead of stopping";
    EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}
