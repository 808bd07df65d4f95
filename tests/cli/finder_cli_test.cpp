// finder-cli against camsim on loopback: real worker, real sockets, free ports.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <poll.h>
#endif

#include <algorithm>
#include <cstring>
#include <regex>
#include <sstream>

#include "cli/cli_options.h"
#include "cli/finder_cli.h"
#include "cli/set_change.h"
#include "core/net/udp_socket.h"
#include "core/worker/search_schedule.h"
#include "sim/camera_simulator.h"
#include "sim/sim_codec.h"
#include "sim/sim_device.h"
#include "tests/support/test_files.h"
#include "tests/support/test_flood.h"
#include "tests/support/test_loopback.h"
#include "tests/support/test_process.h"

namespace {

// How long each scan of a test collects replies: loopback answers come within
// milliseconds, but a loaded machine running the sanitizer build may hold a thread back.
const std::string SCAN_MS = "1000";

std::vector<SimDevice> SampleDevices() {
    return {
        CameraFromLine(
            "Front door | 02005e000001 | 192.168.1.20 | 255.255.255.0 | 192.168.1.1 | 80 | "
            "FFFFFFFF | 2.1.0 | | | 0"),
        CameraFromLine(
            "Lobby, \"main\" | 02005e000002 | 192.168.1.21 | 255.255.255.0 | 192.168.1.1 | "
            "8080 | FFFF0100 | 2.0.7 | | | 0"),
        CameraFromLine(
            "Roof | 02005e000003 | 172.16.5.11 | 255.255.0.0 | 172.16.0.1 | 8000 | 01FFFFFF | "
            "2.1.1 | roof@isp.example | pw | 0"),
        CameraFromLine(
            "Server room | 02005e000009 | 192.168.1.40 | 255.255.255.0 | 192.168.1.1 | 443 | "
            "FFFFFFFF | 3.0.0 | | | 1"),
    };
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// camsim on a free loopback port, and the options that point finder-cli at it.
class Cameras : public CameraPeer {
public:
    using CameraPeer::CameraPeer;

    std::vector<std::string> Network() const {
        const WorkerEndpoints endpoints = Endpoints();
        return {"--broadcast",   endpoints.destinationAddress,
                "--device-port", std::to_string(endpoints.destinationPort),
                "--local-port",  std::to_string(endpoints.localPort),
                "--timeout-ms",  SCAN_MS};
    }

    // How many set requests (anything but a query) reached the cameras.
    int SetRequests() const {
        int count = 0;
        for (const std::string& line : Received()) {
            count += line.rfind("525a3838302010", 0) == 0 ? 0 : 1; // magic, ITEM_NAME, 16
        }
        return count;
    }
};

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

// The networks finder-cli believes this PC is on: the cameras' own beside loopback.
std::vector<LocalNetwork> TestNetworks() {
    return {{0x7F000001, 0xFF000000}, {0xC0A80105, 0xFFFFFF00}}; // 127.0.0.1/8, 192.168.1.5/24
}

CliRun Cli(std::vector<std::string> args, const std::vector<std::string>& network = {}) {
    args.insert(args.end(), network.begin(), network.end());
    std::ostringstream out, err;
    const int status = RunFinderCli(args, out, err, TestNetworks);
    return {status, out.str(), err.str()};
}

} // namespace

TEST(FinderCliScan, TableListsEveryDeviceWithTheSlotRuleIds) {
    Cameras cameras(SampleDevices());
    const CliRun run = Cli({"scan"}, cameras.Network());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 5u) << run.out;
    EXPECT_EQ(lines[0].rfind("ID   NAME", 0), 0u) << lines[0];
    // The first to answer takes id 255, the next 254, and so on, in arrival order.
    EXPECT_EQ(lines[1].rfind("255  Front door", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind("254  Lobby, \"main\"", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3].rfind("253  Roof", 0), 0u) << lines[3];
    EXPECT_EQ(lines[4].rfind("252  Server room", 0), 0u) << lines[4];
    EXPECT_NE(lines[2].find("02005e000002  192.168.1.21  255.255.255.0  192.168.1.1  8080  DHCP "),
              std::string::npos)
        << lines[2];
    EXPECT_NE(lines[3].find(" PPPOE "), std::string::npos);
    // Read-only, then the card each answered on, its address, and the camera outside it.
    EXPECT_NE(lines[4].find("  yes        lo         127.0.0.1/8        no"), std::string::npos)
        << lines[4];
    EXPECT_NE(lines[1].find("  no         lo         127.0.0.1/8        no"), std::string::npos)
        << lines[1];
}

TEST(FinderCliScan, JsonHasEveryKeyAndEscapesTexts) {
    Cameras cameras(SampleDevices());
    const CliRun run = Cli({"scan", "--json"}, cameras.Network());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 6u) << run.out;
    EXPECT_EQ(lines.front(), "[");
    EXPECT_EQ(lines.back(), "]");
    EXPECT_EQ(
        lines[2],
        "  {\"id\": 254, \"readOnly\": false, \"name\": \"Lobby, \\\"main\\\"\", \"version\": "
        "\"2.0.7\", \"mac\": \"02005e000002\", \"ip\": \"192.168.1.21\", \"netmask\": "
        "\"255.255.255.0\", \"gateway\": \"192.168.1.1\", \"httpPort\": 8080, \"netMode\": "
        "\"ffff0100\", \"mode\": \"DHCP\", \"pppoeAccount\": \"\", \"interface\": \"lo\", "
        "\"interfaceAddress\": \"127.0.0.1/8\", \"sameSubnet\": false, \"sameIpAs\": [], "
        "\"linkLocal\": false},");
    // The password only when asked for.
    EXPECT_NE(lines[3].find("\"netMode\": \"01ffffff\", \"mode\": \"PPPOE\", \"pppoeAccount\": "
                            "\"roof@isp.example\", \"interface\": "),
              std::string::npos)
        << lines[3];
    const CliRun shown = Cli({"scan", "--json", "--show-passwords"}, cameras.Network());
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_NE(shown.out.find("\"pppoeAccount\": \"roof@isp.example\", \"pppoePassword\": \"pw\", "
                             "\"interface\": \"lo\""),
              std::string::npos)
        << shown.out;
    EXPECT_NE(lines[4].find("\"id\": 252, \"readOnly\": true,"), std::string::npos);
    EXPECT_EQ(lines[4].back(), '}') << "no comma after the last object";
}

TEST(FinderCliScan, CsvHasAHeaderAndQuotesWhereNeeded) {
    Cameras cameras(SampleDevices());
    const CliRun run = Cli({"scan", "--csv"}, cameras.Network());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "id,readOnly,name,version,mac,ip,netmask,gateway,httpPort,netMode,mode,"
                        "pppoeAccount,interface,interfaceAddress,sameSubnet,sameIpAs,linkLocal\r");
    EXPECT_EQ(lines[2], "254,false,\"Lobby, \"\"main\"\"\",2.0.7,02:00:5e:00:00:02,192.168.1.21,"
                        "255.255.255.0,192.168.1.1,8080,ffff0100,DHCP,,lo,127.0.0.1/8,false,,"
                        "false\r");
    EXPECT_EQ(run.out.find("pw"), std::string::npos) << "no password without --show-passwords";
    const CliRun shown = Cli({"scan", "--csv", "--show-passwords"}, cameras.Network());
    ASSERT_EQ(shown.status, 0) << shown.err;
    const std::vector<std::string> shownLines = Lines(shown.out);
    ASSERT_EQ(shownLines.size(), 5u);
    EXPECT_NE(shownLines[0].find(",pppoeAccount,pppoePassword,interface,"), std::string::npos)
        << shownLines[0];
    EXPECT_NE(shownLines[3].find(",roof@isp.example,pw,lo,127.0.0.1/8,"), std::string::npos)
        << shownLines[3];
}

TEST(FinderCliScan, NoDeviceGivesAnEmptyListAndANetworkFailureExitsWith1) {
    const std::string port = std::to_string(FreeUdpPort()); // nobody listens there
    const std::vector<std::string> network = {"--broadcast",  "127.0.0.1", "--device-port", port,
                                              "--timeout-ms", "100",       "--local-port"};
    CliRun run = Cli({"scan", "--json"}, [&] {
        auto n = network;
        n.push_back(std::to_string(FreeUdpPort()));
        return n;
    }());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "[]\n");

    // Someone else holds the local port: the worker's bind error, exit 1.
    CUdpSocket holder;
    ASSERT_EQ(holder.Open(), 0);
    ASSERT_EQ(holder.Bind(0), 0);
    auto busy = network;
    busy.push_back(std::to_string(holder.LocalPort()));
    run = Cli({"scan"}, busy);
    holder.Close();
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(
        run.err.find("ERR: bind() error! Errorcode =" + std::to_string(SOCKET_ERR_ADDRESS_IN_USE)),
        std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.rfind("finder-cli: UDP port " + busy.back() +
                                " is in use by another program, perhaps another finder",
                            0),
              0u)
        << run.err;
    EXPECT_TRUE(run.out.empty());
}

TEST(FinderCliScan, HostileNamesComeOutEscapedInEveryFormat) {
    std::vector<SimDevice> devices = SampleDevices();
    devices[0].name = "\x1b]0;pwn\x07";
    devices[1].name = "=1+1";
    devices[2].name = "abc\xe2\x80\xaegpj.exe";
    devices[3].name = "\x9b"
                      "2J\xff"; // read through the codec (Windows-1252 here): no C1 control left
    Cameras cameras(devices);

    const CliRun table = Cli({"scan"}, cameras.Network());
    ASSERT_EQ(table.status, 0) << table.err;
    for (const char* shown : {"255  \\x1b]0;pwn\\x07 ", "254  =1+1 ", "253  abc\\u202egpj.exe ",
                              "252  \xe2\x80\xba"
                              "2J\xc3\xbf "}) {
        EXPECT_NE(table.out.find(shown), std::string::npos) << shown << " in\n" << table.out;
    }

    const CliRun csv = Cli({"scan", "--csv"}, cameras.Network());
    ASSERT_EQ(csv.status, 0) << csv.err;
    for (const char* cell :
         {"\n255,false,\\x1b]0;pwn\\x07,", "\n254,false,'=1+1,", "\n253,false,abc\\u202egpj.exe,",
          "\n252,true,\xe2\x80\xba"
          "2J\xc3\xbf,"}) {
        EXPECT_NE(csv.out.find(cell), std::string::npos) << cell << " in\n" << csv.out;
    }

    const CliRun json = Cli({"scan", "--json"}, cameras.Network());
    ASSERT_EQ(json.status, 0) << json.err;
    for (const char* name : {"\"name\": \"\\u001b]0;pwn\\u0007\"", "\"name\": \"=1+1\"",
                             "\"name\": \"abc\\u202egpj.exe\"",
                             "\"name\": \"\xe2\x80\xba"
                             "2J\xc3\xbf\""}) {
        EXPECT_NE(json.out.find(name), std::string::npos) << name << " in\n" << json.out;
    }
    for (const CliRun* run : {&table, &csv, &json}) {
        EXPECT_EQ(run->out.find_first_of("\x1b\x07\x9b"), std::string::npos) << run->out;
    }
}

// A peer that answers the query with over-long datagrams and more cameras than the table
// holds: the scan lists what fits and says what it lost.
TEST(FinderCliScan, LostRepliesAreCountedAndNamed) {
#ifdef _WIN32
    GTEST_SKIP() << "the flood paces itself by the receiving socket's queue, which only Linux "
                    "lists (/proc/net/udp)";
#else
    CUdpSocket peer;
    ASSERT_EQ(peer.Open(), 0);
    ASSERT_EQ(peer.Bind(0, htonl(INADDR_LOOPBACK)), 0);
    const uint16_t localPort = FreeUdpPort();
    std::vector<std::vector<uint8_t>> answers = GeneratedReplies(300);
    for (std::size_t length : {WORKER_RECEIVE_BUFFER + 1, std::size_t{4000}, std::size_t{65507}}) {
        std::vector<uint8_t> overlong = answers.front();
        overlong.resize(length, 0);
        answers.push_back(overlong);
    }
    std::thread answer([&] {
        pollfd watched{peer.Descriptor(), POLLIN, 0};
        if (poll(&watched, 1, 5000) == 1) {
            EXPECT_TRUE(SendAllTaken(localPort, answers));
        }
    });
    const CliRun run = Cli({"scan", "--json"}, {"--broadcast", "127.0.0.1", "--device-port",
                                                std::to_string(peer.LocalPort()), "--local-port",
                                                std::to_string(localPort), "--timeout-ms", "3000"});
    answer.join();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Lines(run.out).size(), 2u + DEVICE_TABLE_SLOTS);
    EXPECT_EQ(run.err, "finder-cli: 3 replies longer than 3000 bytes were dropped\n"
                       "finder-cli: 45 replies were dropped: the table holds at most 255 "
                       "devices\n");
#endif
}

TEST(FinderCliSet, EveryChangeIsAppliedAndVerified) {
    Cameras cameras(SampleDevices());
    const CliRun run = Cli({"set",
                            "02005E000001",
                            "--name",
                            "Back door",
                            "--ip",
                            "10.1.2.3",
                            "--netmask",
                            "255.0.0.0",
                            "--gateway",
                            "10.0.0.254",
                            "--http-port",
                            "8081",
                            "--mode",
                            "PPPOE",
                            "--pppoe-account",
                            "me@isp.example",
                            "--pppoe-password",
                            "sixteen-bytes-pw",
                            "--new-mac",
                            "0A0B0C0D0E0F",
                            "--force"}, // 10.1.2.3 lies outside every network of this PC
                           cameras.Network());
    EXPECT_EQ(run.status, 0) << run.err;
    // Every setting it changed, old -> new, as assign and apply print them.
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u) << run.out;
    EXPECT_EQ(lines[1], "02005e000001  Back door  name Front door -> Back door, mac 02005e000001 "
                        "-> 0a0b0c0d0e0f, ip 192.168.1.20 -> 10.1.2.3, netmask 255.255.255.0 -> "
                        "255.0.0.0, gateway 192.168.1.1 -> 10.0.0.254, httpPort 80 -> 8081, mode "
                        "STATIC -> PPPOE, pppoeAccount  -> me@isp.example, pppoePassword (hidden) "
                        "-> (hidden)  confirmed");
    const SimDevice device = cameras.Devices()[0];
    EXPECT_EQ(MacText(device.mac), "0a0b0c0d0e0f");
    EXPECT_EQ(device.name, "Back door");
    EXPECT_EQ(device.ip, (std::array<uint8_t, 4>{10, 1, 2, 3}));
    EXPECT_EQ(device.netmask, (std::array<uint8_t, 4>{255, 0, 0, 0}));
    EXPECT_EQ(device.gateway, (std::array<uint8_t, 4>{10, 0, 0, 254}));
    EXPECT_EQ(device.httpPort, 8081);
    EXPECT_EQ(device.netMode, (std::array<uint8_t, 4>{0x01, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(device.pppoeAccount, "me@isp.example");
    EXPECT_EQ(device.pppoePassword, "sixteen-bytes-pw");
    EXPECT_EQ(cameras.SetRequests(), 1);
    EXPECT_EQ(cameras.Requests().size(), 3u) << "scan, set request, verifying scan";
}

TEST(FinderCliSet, OnlyChangedSettingsTravelAndTheModeDefaultsToTheRecords) {
    Cameras cameras(SampleDevices());
    // The mixed mode bytes FF FF 01 00 read as DHCP, so DHCP is what goes back.
    const CliRun run =
        Cli({"set", "02005e000002", "--name", "Lobby", "--no-verify"}, cameras.Network());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Lines(run.out).back(), "02005e000002  Lobby  name Lobby, \"main\" -> Lobby  sent");
    // Nothing waits for the cameras here: give them time to take the request in.
    ASSERT_TRUE(WaitFor([&] { return cameras.Devices()[1].name == "Lobby"; }));
    const std::vector<std::string> received = cameras.Requests();
    ASSERT_EQ(received.size(), 2u) << "no verifying scan";
    // magic, target MAC, name, mode: nothing else changed, so nothing else travels.
    const std::string name = sim::HexLine(reinterpret_cast<const uint8_t*>("Lobby"), 5);
    EXPECT_EQ(received[1], "525a383830"
                           "100602005e000002"
                           "2010" +
                               name + std::string(22, '0') + "1f04ffff01ff" +
                               std::string(2 * (256 - 37), '0'));
    EXPECT_EQ(cameras.Devices()[1].name, "Lobby");
}

TEST(FinderCliSet, AChangeTheDeviceDoesNotTakeDoesNotVerify) {
    SimSettings losing;
    losing.dropSetRequests = true; // answers queries, loses set requests
    Cameras cameras(SampleDevices(), losing);
    const CliRun run =
        Cli({"set", "02005e000001", "--name", "Other", "--http-port", "81"}, cameras.Network());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("the change did not verify: Front door did not take the new "
                           "settings: Name is \"Front door\", not \"Other\" as sent; Http Port "
                           "is \"80\", not \"81\" as sent"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(cameras.SetRequests(), 1);
    EXPECT_GT(cameras.Received().size(), 3u) << "it asked again before giving up";
}

// Checked against the scan before anything is sent: refused, or risky without --force.
TEST(FinderCliSet, RefusedAndRiskyChangesAreNotSent) {
    Cameras cameras(SampleDevices());
    const std::string mac = "02005e000001";
    const struct {
        std::vector<std::string> args;
        const char* said;
    } cases[] = {
        {{"--name", "Front door"}, "Nothing to send: no setting was changed"},
        {{"--http-port", "0080"}, "Nothing to send: no setting was changed"},
        {{"--netmask", "255.0.255.0"}, "Submask: 255.0.255.0 is not a subnet mask"},
        {{"--ip", "192.168.1.255"}, "IP: 192.168.1.255 is the broadcast address"},
        {{"--gateway", "192.168.1.20"}, "Gateway: 192.168.1.20 is the camera's own IP"},
        {{"--new-mac", "ffffffffffff"}, "Mac: ffffffffffff is the broadcast address"},
        {{"--name", "a\tb"}, "Name: the text holds a control character"},
        {{"--gateway", "192.168.2.1"},
         "subnet 192.168.1.0/24, so the camera cannot reach it. Use --force to send it anyway."},
        {{"--ip", "192.168.1.21"}, "already the IP of the camera Lobby, \"main\" (02005e000002)"},
        {{"--ip", "192.168.1.5"}, "192.168.1.5 is the IP of this PC"},
        {{"--ip", "10.0.0.9", "--netmask", "255.0.0.0", "--gateway", "0.0.0.0"},
         "the finder will lose sight of the camera"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"set", mac};
        args.insert(args.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(::testing::PrintToString(args));
        const CliRun run = Cli(args, cameras.Network());
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("othing was sent"), std::string::npos) << run.err;
    }
    EXPECT_EQ(cameras.SetRequests(), 0);
}

TEST(FinderCliSet, ForceSendsARiskyChangeAndItIsConfirmed) {
    Cameras cameras(SampleDevices());
    const CliRun run =
        Cli({"set", "02005e000001", "--gateway", "192.168.2.1", "--force"}, cameras.Network());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Lines(run.out).back(),
              "02005e000001  Front door  gateway 192.168.1.1 -> 192.168.2.1  confirmed");
    EXPECT_EQ(cameras.Devices()[0].gateway, (std::array<uint8_t, 4>{192, 168, 2, 1}));
}

TEST(FinderCliSet, BadInputIsRefusedBeforeAnythingIsSent) {
    Cameras cameras(SampleDevices());
    const std::string mac = "02005e000001";
    struct Case {
        std::vector<std::string> args;
        const char* named; // what the message must name
    };
    const Case cases[] = {
        {{"set", mac, "--ip", "192.168.1"}, "--ip"},
        {{"set", mac, "--ip", "192.168.1.256"}, "--ip"},
        {{"set", mac, "--netmask", "255.255.255.0.0"}, "--netmask"},
        {{"set", mac, "--gateway", "gateway"}, "--gateway"},
        {{"set", mac, "--http-port", "0"}, "--http-port"},
        {{"set", mac, "--http-port", "65536"}, "--http-port"},
        {{"set", mac, "--http-port", "80a"}, "--http-port"},
        {{"set", mac, "--name", "seventeen chars!!"}, "--name"},
        {{"set", mac, "--pppoe-account", std::string(65, 'a')}, "--pppoe-account"},
        {{"set", mac, "--pppoe-password", std::string(17, 'p')}, "--pppoe-password"},
        {{"set", mac, "--new-mac", "02005e00001"}, "--new-mac"},
        {{"set", mac, "--new-mac", "02005e00000g"}, "--new-mac"},
        {{"set", mac, "--mode", "auto"}, "--mode"},
        {{"set", "02:00:5e:00:00", "--name", "x"}, "MAC"},
        {{"set", "02:00:5e-00:00:01", "--name", "x"}, "MAC"},
        // A forgotten value is no value: the next option is not taken for it.
        {{"set", mac, "--name", "--force"}, "--name: \"--force\" is an option, not a value"},
        {{"assign", "10.0.0.10"}, "assign needs the MACs"},
        {{"assign", "10.0.0.10", mac, "--all"}, "either MACs or --all"},
        {{"assign", "10.0.0", mac}, "FIRST_IP \"10.0.0\""},
        {{"assign", "10.0.0.10", mac, mac}, "given twice"},
        {{"assign", "10.0.0.10", "--all", "--order", "age"}, "--order: \"age\""},
        {{"assign", "10.0.0.10", "--all", "--name", "Dock {x}"}, "not a name template"},
        {{"assign", "10.0.0.10", "--all", "--json", "--csv"}, "--csv"},
        {{"apply"}, "apply needs the plan file"},
        {{"apply", "a.csv", "b.csv"}, "apply reads one file"},
        {{"apply", "a.csv", "--name", "x"}, "--name"},
        {{"set", "--name", "x"}, "MAC"},
        {{"set", mac}, "at least one setting"},
        {{"set", mac, "--name"}, "--name needs a value"},
        {{"set", mac, "--name", "x", "--json"}, "--json"},
        {{"set", mac, "--name", "x", "--broadcast", "255.255.255"}, "--broadcast"},
        {{"set", mac, "--name", "x", "--device-port", "70000"}, "--device-port"},
        {{"set", mac, "--name", "x", "--local-port", "0"}, "--local-port"},
        {{"set", mac, "--name", "x", "--timeout-ms", "0"}, "--timeout-ms"},
        {{"scan", "--json", "--csv"}, "--csv"},
        {{"scan", "--json=yes"}, "--json takes no value"},
        {{"scan", "--name", "x"}, "--name"},
        {{"scan", "extra"}, "extra"},
        {{"find"}, "find"},
        {{}, "command"},
        // One destination or a choice of cards, never both (the cameras' --broadcast is here).
        {{"scan", "--interface", "eth0"}, "give either --broadcast or --interface"},
        {{"scan", "--interface", "a/b"}, "\"a/b\" is not the name of a network card"},
        {{"suggest"}, "suggest needs the MAC"},
        {{"suggest", mac, "--name", "x"}, "--name"},
        {{"interfaces"}, "unknown option \"--broadcast\" for interfaces"},
        {{"scan", "--to", "10.2.0"}, "--to: \"10.2.0\" is not an IP address"},
        {{"scan", "--to", "10.2.0.0/19"}, "--to: \"10.2.0.0/19\" holds 8192 addresses"},
        {{"scan", "--to", "10.2.0.0/33"}, "--to: \"10.2.0.0/33\" is not an address block"},
        {{"set", mac, "--name", "x", "--to", "10.2.0.60-10.2.0.10"},
         "--to: \"10.2.0.60-10.2.0.10\" "
         "ends before it starts"},
        {{"watch", "--to", "10.0.0.0/20", "--to", "10.1.0.0-10.1.0.9"}, "--to: more than 4096"},
        {{"watch", "--every", "0"}, "--every: \"0\" is not a number of seconds"},
        {{"watch", "--every", "-1"}, "--every: \"-1\" is not a number of seconds"},
        {{"watch", "--csv"}, "unknown option \"--csv\" for watch"},
        {{"scan", "--settle-ms", "1001"}, "--settle-ms: 1001 ms is longer than the longest wait"},
        {{"suggest", mac, "--settle-ms", "0"}, "--settle-ms"},
    };
    for (const Case& c : cases) {
        // Pointed at the cameras, so anything sent would show in their log.
        std::vector<std::string> args = c.args;
        if (!args.empty()) {
            const std::vector<std::string> network = cameras.Network();
            args.insert(args.begin() + 1, network.begin(), network.end());
        }
        SCOPED_TRACE(::testing::PrintToString(args));
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_TRUE(cameras.Received().empty());
}

TEST(FinderCliSet, UnknownAndReadOnlyDevicesAreRefusedAfterTheScan) {
    Cameras cameras(SampleDevices());
    CliRun run = Cli({"set", "02005e0000ff", "--name", "x"}, cameras.Network());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no device answered with MAC 02005e0000ff"), std::string::npos)
        << run.err;

    run = Cli({"set", "02005e000009", "--name", "x"}, cameras.Network());
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("read-only"), std::string::npos) << run.err;

    run = Cli({"set", "02005e000001", "--new-mac", "02005e000002"}, cameras.Network());
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Mac: 02005e000002 is already the MAC of the camera Lobby"),
              std::string::npos)
        << run.err;

    EXPECT_EQ(cameras.Received().size(), 3u * SEARCH_QUERY_COPIES) << "three scans";
    EXPECT_EQ(cameras.SetRequests(), 0);
    EXPECT_EQ(cameras.Devices()[3].name, "Server room");
}

TEST(FinderCliRules, PanelValuesKeepTheRecordWhereNoOptionIsGiven) {
    DeviceRecord record{};
    SetFieldText(record.name, "Cam");
    SetFieldText(record.ip, "192.168.1.5");
    record.httpPort = 80;
    const uint8_t mixed[4] = {0xFF, 0xFF, 0x01, 0x00};
    std::copy(mixed, mixed + 4, record.netMode);
    SetChanges changes;
    changes.name = "New";
    ChangeValues values = ChangeValuesFor(record, changes, CTextCodec());
    EXPECT_EQ(values.name, "New");
    EXPECT_EQ(values.ip, "192.168.1.5");
    EXPECT_EQ(values.httpPort, "80");
    EXPECT_EQ(values.mode, NetMode::Dhcp);
    EXPECT_FALSE(values.newMac);
    changes.mode = "static";
    values = ChangeValuesFor(record, changes, CTextCodec());
    EXPECT_EQ(values.mode, NetMode::Static);
}

TEST(FinderCliProgram, ExitStatusAndHelpOfTheExecutable) {
    const auto status = [](const std::string& command) { return CommandStatus(command); };
    const std::string cli = ShellQuoted(FINDER_CLI_PATH);
    const std::string toNowhere = std::string(" 2>") + NULL_DEVICE;
    // Pointed at loopback, so that even a refusal that failed could not broadcast.
    const std::string loopback = " --broadcast 127.0.0.1 --device-port " +
                                 std::to_string(FreeUdpPort()) + " --local-port " +
                                 std::to_string(FreeUdpPort());
    EXPECT_EQ(status(cli + " set 02005e000001" + loopback + " --ip 1.2.3" + toNowhere), 2);
    EXPECT_EQ(status(cli + " --help >" + NULL_DEVICE), 0);
    const std::string text = CommandOutput(cli + " --help");
    for (const char* option : {"--timeout-ms", "--json", "--csv", "--name", "--ip", "--netmask",
                               "--gateway", "--http-port", "--mode", "--pppoe-account",
                               "--pppoe-password", "--new-mac", "--no-verify", "--force",
                               "--broadcast", "--device-port", "--local-port", "Exit status"}) {
        EXPECT_NE(text.find(option), std::string::npos) << option;
    }
}

// The real defaults (3566 to 255.255.255.255:4000) inside a private network namespace,
// where the broadcast cannot leave the machine.
TEST(FinderCliProgram, ScanWithTheDefaultsInsideANamespace) {
#ifdef _WIN32
    GTEST_SKIP() << "a Windows program cannot make a network namespace; the Windows run scans "
                    "with the defaults by finder-cli.exe and camsim.exe inside its own namespace";
#endif
    const std::string output = testing::TempDir() + "finder_cli_namespace.txt";
    const std::string banner = testing::TempDir() + "finder_cli_namespace_camsim.txt";
    // The scan starts once camsim has printed that it serves (at most 10 s on a busy
    // machine), so its query is never sent before anyone listens.
    const std::string script =
        "ip link set lo up && ip route add default dev lo || exit 97; " + std::string(CAMSIM_PATH) +
        " --count 3 > " + banner + " & i=0; until grep -q devices " + banner +
        "; do i=$((i+1)); [ $i -lt 200 ] || { kill $!; exit 98; }; sleep 0.05; done; " +
        FINDER_CLI_PATH + " scan --json --interface lo --timeout-ms 1000 > " + output +
        "; status=$?; kill $!; wait; exit $status";
    const int raw = std::system(("unshare -n sh -c '" + script + "' 2>/dev/null").c_str());
    const int status = ExitStatus(raw);
    std::remove(banner.c_str());
    if (std::system("unshare -n true 2>/dev/null") != 0 || status == 97) {
        GTEST_SKIP() << "no private network namespace here (unshare -n needs root or user "
                        "namespaces)";
    }
    ASSERT_NE(status, 98) << "camsim did not start serving within 10 s";
    ASSERT_EQ(status, 0);
    const std::vector<std::string> lines = Lines(ReadFile(output));
    ASSERT_EQ(lines.size(), 5u) << ReadFile(output);
    EXPECT_NE(lines[1].find("\"id\": 255, \"readOnly\": false, \"name\": \"camera-1\""),
              std::string::npos);
    EXPECT_NE(lines[3].find("\"name\": \"camera-3\""), std::string::npos);
    std::remove(output.c_str());
}

// Camera texts in every encoding: UTF-8 out, whatever the cameras store.
namespace {

const std::string BACK_GATE_GBK = "\xBA\xF3\xC3\xC5\xC9\xE3\xCF\xF1\xBB\xFA"; // 后门摄像机

std::vector<SimDevice> NamedDevices() {
    std::vector<SimDevice> devices = SampleDevices();
    devices.resize(3);
    devices[0].name = "G\xC3\xA4rage S\xC3\xBC"
                      "d";
    devices[1].name = "Caf\xC3\xA9";
    devices[2].name = "前门摄像机";
    devices.push_back(CameraFromLine("x | 02005e000004 | 192.168.1.23 | 255.255.255.0 | "
                                     "192.168.1.1 | 80 | FFFFFFFF | 1.0 | | | 0"));
    devices[3].name = BACK_GATE_GBK;
    return devices;
}

// The display column at which text starts in line.
std::size_t ColumnOf(const std::string& line, const std::string& text) {
    const std::size_t at = line.find(text);
    return at == std::string::npos ? std::string::npos : DisplayWidth(line.substr(0, at));
}

} // namespace

TEST(FinderCliTexts, ScanPrintsUtf8AlignedByDisplayWidth) {
    Cameras cameras(NamedDevices());
    CliRun run = Cli({"scan", "--csv", "--encoding", "gbk"}, cameras.Network());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(IsValidUtf8(run.out));
    for (const char* name : {"Gärage Süd", "Café", "前门摄像机", "后门摄像机"}) {
        EXPECT_NE(run.out.find(std::string(",") + name + ","), std::string::npos) << name;
    }
    // Read as Windows-1252, the GBK name is no Chinese, but the output is still UTF-8.
    run = Cli({"scan", "--csv", "--encoding", "cp1252"}, cameras.Network());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(IsValidUtf8(run.out));
    EXPECT_EQ(run.out.find("后门摄像机"), std::string::npos);

    run = Cli({"scan", "--encoding", "gbk"}, cameras.Network());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 5u) << run.out;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(ColumnOf(lines[i], "02005e00000"), ColumnOf(lines[0], "MAC")) << lines[i];
    }
}

TEST(FinderCliTexts, SetWritesTheCamerasOwnEncodingOrRefusesByName) {
    Cameras cameras(NamedDevices());
    const std::string gbkCamera = "02005e000004";
    struct Case {
        std::vector<std::string> args;
        const char* named;
    };
    const Case refused[] = {
        {{"set", gbkCamera, "--name", "Gärage", "--encoding", "gbk"}, "\"ä\" (U+00E4)"},
        {{"set", gbkCamera, "--name", "后门", "--encoding", "nope"}, "\"nope\""},
        // Front door is plain ASCII, so a new name goes out as UTF-8: 18 bytes.
        {{"set", "02005e000001", "--name", "前门摄像机一号"}, "first 5 characters fit"},
        {{"set", gbkCamera, "--name", "ab\xFF"}, "not valid UTF-8"},
    };
    for (const Case& c : refused) {
        std::vector<std::string> args = c.args;
        const std::vector<std::string> network = cameras.Network();
        args.insert(args.end(), network.begin(), network.end());
        SCOPED_TRACE(::testing::PrintToString(args));
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
    }
    EXPECT_EQ(cameras.SetRequests(), 0);

    // Eight ideographs: 16 bytes in GBK, where UTF-8 would take 24.
    const CliRun run = Cli({"set", gbkCamera, "--name", "后门摄像机一二三", "--encoding", "gbk"},
                           cameras.Network());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(cameras.Devices()[3].name, BACK_GATE_GBK + "\xD2\xBB\xB6\xFE\xC8\xFD");
}

// Every camera drops the first copy of the query, and queries to addresses where nobody
// listens bring back errors that must neither end nor slow the scan.
TEST(FinderCliSearch, ACameraThatLosesTheFirstQueryAnswersARepeat) {
    SimSettings busy;
    busy.dropFirstQuery = true;
    Cameras cameras(SampleDevices(), busy);
    const CliRun run = Cli({"scan", "--csv", "--to", "127.0.0.2-127.0.0.9"}, cameras.Network());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Lines(run.out).size(), SampleDevices().size() + 1) << run.out;
}

TEST(FinderCliSearch, CamerasSharingAnIpAndSelfAssignedOnesAreNoted) {
    const char* ips[] = {"192.168.1.20", "192.168.1.20", "192.168.1.20", "169.254.7.9"};
    std::vector<SimDevice> devices;
    for (const char* ip : ips) {
        devices.push_back(CameraFromLine("C | 02005e00000" + std::to_string(devices.size() + 1) +
                                         " | " + ip +
                                         " | 255.255.0.0 | 0.0.0.0 | 80 | FFFFFFFF "
                                         "| 1 | | | 0"));
    }
    Cameras cameras(devices);
    const std::vector<std::string> json = Lines(Cli({"scan", "--json"}, cameras.Network()).out);
    ASSERT_EQ(json.size(), 6u);
    EXPECT_TRUE(
        json[1].ends_with(R"("sameIpAs": ["02005e000002", "02005e000003"], "linkLocal": false},)"));
    EXPECT_TRUE(json[4].ends_with(R"("sameIpAs": [], "linkLocal": true})"));
    const std::vector<std::string> csv = Lines(Cli({"scan", "--csv"}, cameras.Network()).out);
    EXPECT_TRUE(csv[3].ends_with(",false,02:00:5e:00:00:01 02:00:5e:00:00:02,false\r")) << csv[3];
    const std::vector<std::string> table = Lines(Cli({"scan"}, cameras.Network()).out);
    EXPECT_TRUE(table[0].ends_with("NOTE") &&
                table[1].ends_with("same IP as 02005e000002, 02005e000003"));
    EXPECT_TRUE(table[4].ends_with("self-assigned IP: no DHCP server"));
}

#ifndef _WIN32
// The executable as a user runs it, stopped by Ctrl-C (SIGINT) once gone has been told.
TEST(FinderCliWatch, TellsAppearedChangedAndGoneUntilInterrupted) {
    Cameras cameras({SampleDevices()[0], SampleDevices()[1]});
    TempFolder folder;
    const std::string out = folder.File("watch.out");
    std::string command = ShellQuoted(FINDER_CLI_PATH) + " watch --json --every 0.2 --settle-ms 50";
    for (const std::string& word : cameras.Network()) {
        command += " " + word;
    }
    command += " >" + out + " & echo $! >" + folder.File("pid") + "; wait $!; echo $? >" +
               folder.File("status");
    ASSERT_EQ(std::system(("(" + command + ") &").c_str()), 0);
    const auto events = [&] { return Lines(ReadFile(out)); };
    ASSERT_TRUE(WaitFor([&] { return events().size() == 2; }, 5000));

    // Another finder (its own local port) renames one camera and moves the other to a new MAC.
    std::vector<std::string> other = cameras.Network();
    other.back() = "300"; // its timeout
    other[other.size() - 3] = std::to_string(FreeUdpPort());
    ASSERT_EQ(Cli({"set", "02005e000001", "--name", "Back door", "--no-verify"}, other).status, 0);
    ASSERT_EQ(
        Cli({"set", "02005e000002", "--new-mac", "02005e0000aa", "--no-verify"}, other).status, 0);
    ASSERT_TRUE(WaitFor([&] { return events().size() >= 5; }, 5000)) << ReadFile(out);
    ASSERT_EQ(CommandStatus("kill -INT $(cat " + folder.File("pid") + ")"), 0);
    EXPECT_TRUE(WaitFor([&] { return ReadFile(folder.File("status")) == "0\n"; }, 5000));
    const std::vector<std::string> lines = events();
    ASSERT_EQ(lines.size(), 5u) << ReadFile(out);
    const std::string time = R"(^\{"time": "\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ", )";
    const char* expected[] = {
        R"("event": "appeared", "mac": "02005e000001", "name": "Front door", "ip": "192.168.1.20"\}$)",
        R"("event": "appeared", "mac": "02005e000002", "name": "Lobby, \\"main\\"", "ip": "192.168.1.21"\}$)",
        (R"("event": "changed", "mac": "02005e000001", "name": "Back door", "ip": "192.168.1.20", )"
         R"("changes": \{"name": \{"from": "Front door", "to": "Back door"\}\}\}$)"),
        R"("event": "appeared", "mac": "02005e0000aa", .*)",
        R"("event": "gone", "mac": "02005e000002", .*)",
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(std::regex_search(lines[i], std::regex(time + expected[i]))) << lines[i];
    }
}
#endif

// A site of cameras fresh from the box, addressed in one step: one camera loses its request.
TEST(FinderCliPlan, AssignAddressesEveryCameraAndNamesTheOneThatLostItsRequest) {
    SimSettings settings;
    settings.losingSets = {"02005e100002"};
    Cameras cameras(FactoryDevices(4, {192, 168, 1, 64}), settings);
    // The cameras answer on loopback here: the netmask and gateway of their site are given.
    const CliRun run = Cli({"assign", "192.168.1.10", "--all", "--name", "Dock {n:02}", "--json",
                            "--netmask", "255.255.255.0", "--gateway", "192.168.1.1"},
                           cameras.Network());
    EXPECT_EQ(run.status, 1) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 6u) << run.out;
    EXPECT_EQ(lines[1],
              "  {\"mac\": \"02005e100000\", \"name\": \"Dock 01\", \"changes\": {\"name\": "
              "{\"from\": \"IPCAM\", \"to\": \"Dock 01\"}, \"ip\": {\"from\": "
              "\"192.168.1.64\", \"to\": \"192.168.1.10\"}}, \"result\": \"confirmed\", "
              "\"detail\": \"\"},");
    EXPECT_NE(
        lines[3].find("\"result\": \"not confirmed\", \"detail\": \"IPCAM did not take the "
                      "new settings: Name is \\\"IPCAM\\\", not \\\"Dock 03\\\" as sent; IP is "
                      "\\\"192.168.1.64\\\", not \\\"192.168.1.12\\\" as sent\"}"),
        std::string::npos)
        << lines[3];
    EXPECT_NE(lines[4].find("\"to\": \"192.168.1.13\"}}, \"result\": \"confirmed\""),
              std::string::npos);
    EXPECT_EQ(cameras.SetRequests(), 4) << "each request once, none lost or doubled";
    EXPECT_EQ(cameras.Devices()[3].name, "Dock 04");

    // Again: the three that took it keep their addresses, the fourth is asked once more.
    const CliRun again = Cli({"assign", "192.168.1.10", "--all", "--name", "Dock {n:02}",
                              "--netmask", "255.255.255.0", "--gateway", "192.168.1.1"},
                             cameras.Network());
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.out.find("02005e100000  Dock 01  "), std::string::npos) << again.out;
    EXPECT_EQ(Lines(again.out)[1].substr(Lines(again.out)[1].size() - 9), "unchanged");
    EXPECT_EQ(cameras.SetRequests(), 5);
}

// What a spreadsheet saves of `scan --csv`, edited in one row: only that row is sent.
TEST(FinderCliPlan, ApplySendsTheEditedRowsAlone) {
    Cameras cameras(SampleDevices());
    const CliRun scan = Cli({"scan", "--csv"}, cameras.Network());
    ASSERT_EQ(scan.status, 0) << scan.err;
    std::string csv = scan.out;
    const std::string front = "Front door,2.1.0,02:00:5e:00:00:01,192.168.1.20,";
    ASSERT_NE(csv.find(front), std::string::npos) << csv;
    csv.replace(csv.find(front), front.size(), "Front gate,2.1.0,02:00:5e:00:00:01,192.168.1.30,");
    TempFolder folder;
    const std::string path = folder.File("site.csv");
    WriteFile(path, csv);
    const CliRun run = Cli({"apply", path}, cameras.Network());
    EXPECT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 5u) << run.out;
    EXPECT_EQ(lines[1], "02005e000001  Front gate     name Front door -> Front gate, ip "
                        "192.168.1.20 -> 192.168.1.30  confirmed");
    EXPECT_EQ(lines[4], "02005e000009  Server room" + std::string(68, ' ') + "unchanged")
        << "a read-only camera left alone is no refusal";
    EXPECT_EQ(cameras.SetRequests(), 1);

    // A file that gives one new IP twice is refused whole.
    WriteFile(path,
              "mac,ip\r\n02:00:5e:00:00:02,192.168.1.50\r\n02:00:5e:00:00:03,192.168.1.50\r\n");
    const CliRun twice = Cli({"apply", path}, cameras.Network());
    EXPECT_EQ(twice.status, 2);
    EXPECT_EQ(twice.err, "finder-cli: " + path +
                             ": line 3: ip: the new IP 192.168.1.50 is on line 2 "
                             "too; nothing was sent\n");
    EXPECT_EQ(cameras.SetRequests(), 1);
}

// From a card without a gateway (loopback), assign hands out neither the router's address
// nor 0.0.0.0, keeps the masks and gateways nobody named, and asks for what it cannot know.
TEST(FinderCliPlan, AssignKeepsMasksAndGatewaysAndNeverHandsOutTheRouter) {
    Cameras site({CameraFromLine("Front door | 02005e000001 | 192.168.1.20 | 255.255.255.0 | "
                                 "192.168.1.1 | 80 | FFFFFFFF | 2.1.0 | | | 0"),
                  CameraFromLine("Lobby | 02005e000002 | 192.168.1.21 | 255.255.255.0 | "
                                 "192.168.1.1 | 80 | FFFFFFFF | 2.1.0 | | | 0"),
                  CameraFromLine("Yard | 02005e000003 | 192.168.1.22 | 255.255.255.0 | "
                                 "192.168.1.1 | 80 | FFFFFFFF | 2.1.0 | | | 0")});
    const std::vector<std::string> macs = {"02005e000001", "02005e000002", "02005e000003"};
    std::vector<std::string> args = {"assign", "192.168.1.1"};
    args.insert(args.end(), macs.begin(), macs.end());
    args.insert(args.end(), {"--name", "Cam {n}"});
    const CliRun run = Cli(args, site.Network());
    ASSERT_EQ(run.status, 0) << run.err;
    for (std::size_t i = 0; i < 3; ++i) {
        const SimDevice device = site.Devices()[i];
        EXPECT_EQ(device.ip, (std::array<uint8_t, 4>{192, 168, 1, static_cast<uint8_t>(2 + i)}));
        EXPECT_EQ(device.gateway, (std::array<uint8_t, 4>{192, 168, 1, 1}));
        EXPECT_EQ(device.netmask, (std::array<uint8_t, 4>{255, 255, 255, 0}));
        EXPECT_EQ(device.name, "Cam " + std::to_string(i + 1));
    }
    EXPECT_EQ(run.out.find("gateway"), std::string::npos) << run.out;

    // Placed cameras stay where they are.
    args = {"assign", "192.168.1.100"};
    args.insert(args.end(), macs.begin(), macs.end());
    args.insert(args.end(), {"--keep-placed", "--name", "Cam {n}"});
    const CliRun kept = Cli(args, site.Network());
    EXPECT_EQ(kept.status, 0) << kept.err;
    EXPECT_EQ(kept.out.find("->"), std::string::npos) << kept.out;
    EXPECT_EQ(site.SetRequests(), 3);

    const CliRun unknown = Cli({"assign", "10.99.0.10", "--all"}, site.Network());
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "finder-cli: --netmask: the first IP 10.99.0.10 lies neither in "
                           "127.0.0.0/8, the subnet of the cameras' network card, nor in the "
                           "cameras' own subnet, so the netmask is not known: give one; nothing "
                           "was sent\n");
    EXPECT_EQ(site.SetRequests(), 3);
}

