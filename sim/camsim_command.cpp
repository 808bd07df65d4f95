#include "sim/camsim_command.h"

#include <array>
#include <csignal>
#include <functional>

#include "core/program/finder_version.h"
#include "core/program/option_table.h"

// The synopsis and what camsim is; the options and the devices file follow.
static const char CAMSIM_USAGE_HEAD[] =
    R"(Usage: camsim (--count N | --devices FILE) [options]
       camsim --help | --version

Stands in for IP cameras of the finder's discovery protocol on one UDP socket. Every
query is answered with one reply per device, sent to the query's source address and port.
A set request changes the device named by its first MAC item (a second MAC item is the
device's new MAC); read-only devices ignore it, and no set request is answered.

Options:
)";

static const char CAMSIM_USAGE_DEVICES[] =
    R"(
Devices file: one device per line, 11 fields separated by '|'; spaces around a field
are ignored, lines starting with '#' and blank lines are skipped:
  name | mac | ip | netmask | gateway | port | mode | version | account | password | ro
  name      up to 16 bytes (may be empty)
  mac       12 hexadecimal digits, e.g. 02005e100001
  ip, netmask, gateway   dotted addresses
  port      HTTP port, 0 to 65535
  mode      the 4 mode bytes as 8 hexadecimal digits: FFFFFFFF static,
            FFFF01FF DHCP, 01FFFFFF PPPoE
  version   up to 16 bytes; account up to 64 bytes; password up to 16 bytes
  ro        1 for a read-only device, else 0
Example:
  Front door | 02005e000001 | 192.168.1.20 | 255.255.255.0 | 192.168.1.1 | 80 | FFFFFFFF | 2.1.0 | | | 0

On start camsim prints "camsim: N devices on ADDR:PORT"; SIGINT or SIGTERM stops it.
)";

static bool ReadCount(const std::string& text, int low, int high, int& value) {
    if (text.empty() || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    value = std::stoi(text);
    return value >= low && value <= high;
}

// A number option: stored when it lies within low to high, else refused with its range.
static OptionApply CountOption(int low, int high, const std::function<void(int)>& store) {
    return [=](const std::string& value) {
        int number = 0;
        if (!ReadCount(value, low, high, number)) {
            return "is not a number of " + std::to_string(low) + " to " + std::to_string(high);
        }
        store(number);
        return std::string();
    };
}

static OptionApply Raise(bool& flag) {
    return [&flag](const std::string&) {
        flag = true;
        return std::string();
    };
}

static COptionTable OptionTable(CamsimOptions& options) {
    SimSettings& settings = options.settings;
    COptionTable table(OptionSpelling::Separate);
    table.Add({"--count"}, "N", CountOption(1, SIM_MAX_COUNT, [&](int n) { options.count = n; }),
              "N generated devices (1 to 10000), STATIC, DHCP and PPPoE in turn");
    table.Add(
        {"--devices"}, "FILE",
        [&](const std::string& value) {
            options.devicesPath = value;
            return std::string();
        },
        "the devices, one per line (format below)");
    table.Add({"--port"}, "N",
              CountOption(0, 65535, [&](int n) { settings.port = static_cast<uint16_t>(n); }),
              "UDP port to listen on (default 4000; 0 picks a free one)");
    table.Add(
        {"--bind"}, "ADDR",
        [&](const std::string& value) {
            if (std::array<uint8_t, 4> address; !ParseAddress(value, address)) {
                return std::string("is not an IPv4 address");
            }
            settings.bindAddress = value;
            return std::string();
        },
        "local IPv4 address to listen on (default 0.0.0.0)");
    table.Add({"--jitter-ms"}, "N", CountOption(0, 60000, [&](int n) { settings.jitterMs = n; }),
              "delay each reply by a random 0 to N milliseconds (default 0)");
    table.Add(
        {"--log"}, "FILE",
        [&](const std::string& value) {
            settings.logPath = value;
            return std::string();
        },
        "write every received datagram in hex, one line each");
    table.Add({"--reply-broadcast"}, "", Raise(settings.replyBroadcast),
              "answer to 255.255.255.255 (the query's source port) out of the\n"
              "network card the query came in on, as a camera in a foreign subnet\n"
              "must, having no route back to the finder");
    table.Add({"--drop-sets"}, "", Raise(settings.dropSetRequests),
              "log set requests but apply none, as a camera that loses them");
    table.Add({"--drop-first-query"}, "", Raise(settings.dropFirstQuery),
              "each device ignores the first query it gets, as a busy camera\n"
              "that loses a datagram; later queries it answers");
    table.Add(
        {"--factory"}, "ADDR",
        [&](const std::string& value) {
            if (std::array<uint8_t, 4> address; ParseAddress(value, address)) {
                options.factory = address;
                return std::string();
            }
            return std::string("is not an IPv4 address");
        },
        "with --count: the N cameras come fresh out of the box, all at the\n"
        "factory address ADDR, named alike, told apart by their MACs alone");
    table.Add(
        {"--lose-sets-of"}, "MAC",
        [&](const std::string& value) {
            std::array<uint8_t, 6> mac;
            if (!ParseMac(value, mac)) {
                return std::string("is not 12 hexadecimal digits");
            }
            settings.losingSets.push_back(MacText(mac));
            return std::string();
        },
        "the camera of this MAC loses every set request (may be given more\n"
        "than once); the others apply theirs");
    table.Add({"--help", "-h"}, "", Raise(options.help), "show this text");
    table.Add({"--version"}, "", Raise(options.version), "show the version");
    return table;
}

std::string CamsimUsage() {
    CamsimOptions unused;
    return CAMSIM_USAGE_HEAD + OptionTable(unused).Help(19) + CAMSIM_USAGE_DEVICES;
}

static std::string Describe(const OptionFault& fault) {
    switch (fault.kind) {
    case OptionFaultKind::Unknown:
        return "unknown argument \"" + fault.name + "\"";
    case OptionFaultKind::MissingValue:
        return fault.name + " needs a value";
    default:
        return fault.name + " \"" + fault.value + "\" " + fault.reason;
    }
}

// Options are read in order: --help or --version ends the reading, so a bad option before
// it is reported and one after it is not.
std::optional<CamsimOptions> ParseCamsimArguments(const std::vector<std::string>& args,
                                                  std::string& error) {
    CamsimOptions options;
    const COptionTable table = OptionTable(options);
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (const OptionFault fault = table.Read(args, i)) {
            error = Describe(fault);
            return std::nullopt;
        }
        if (options.help || options.version) {
            return options;
        }
    }
    if ((options.count > 0) == !options.devicesPath.empty()) {
        error = "give either --count N or --devices FILE";
        return std::nullopt;
    }
    if (options.factory && options.count == 0) {
        error = "--factory goes with --count N";
        return std::nullopt;
    }
    return options;
}

static CameraSimulator* g_simulator = nullptr;

static void OnStopSignal(int) {
    if (g_simulator != nullptr) {
        g_simulator->Stop();
    }
}

int CamsimMain(int argc, char** argv, std::ostream& out, std::ostream& err) {
    std::string error;
    const std::optional<CamsimOptions> options =
        ParseCamsimArguments(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        err << "camsim: " << error << "\nTry 'camsim --help'.\n";
        return 2;
    }
    if (options->help) {
        out << CamsimUsage();
        return 0;
    }
    if (options->version) {
        out << VersionLine("camsim");
        return 0;
    }
    std::vector<SimDevice> devices;
    if (options->factory) {
        devices = FactoryDevices(options->count, *options->factory);
    } else if (options->devicesPath.empty()) {
        devices = GenerateDevices(options->count);
    } else if (!LoadDeviceFile(options->devicesPath, devices, error)) {
        err << "camsim: " << error << "\n";
        return 1;
    }
    CameraSimulator simulator(devices, options->settings);
    g_simulator = &simulator;
    // Ctrl+C, and on POSIX a kill; on Windows the run-time turns Ctrl+C into SIGINT.
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
    int status = 1;
    if (simulator.Open(error)) {
        out << "camsim: " << devices.size() << " devices on " << options->settings.bindAddress
            << ":" << simulator.LocalPort() << std::endl;
        status = simulator.Run();
    } else {
        err << "camsim: " << error << "\n";
    }
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    g_simulator = nullptr;
    return status;
}
