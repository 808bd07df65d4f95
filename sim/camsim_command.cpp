#include "sim/camsim_command.h"

#include <algorithm>
#include <array>
#include <csignal>
#include <iterator>

#include "core/program/finder_version.h"

const char CAMSIM_USAGE[] =
    R"(Usage: camsim (--count N | --devices FILE) [options]
       camsim --help | --version

Stands in for IP cameras of the finder's discovery protocol on one UDP socket. Every
query is answered with one reply per device, sent to the query's source address and port.
A set request changes the device named by its first MAC item (a second MAC item is the
device's new MAC); read-only devices ignore it, and no set request is answered.

Options:
  --count N        N generated devices (1 to 10000), STATIC, DHCP and PPPoE in turn
  --devices FILE   the devices, one per line (format below)
  --port N         UDP port to listen on (default 4000; 0 picks a free one)
  --bind ADDR      local IPv4 address to listen on (default 0.0.0.0)
  --jitter-ms N    delay each reply by a random 0 to N milliseconds (default 0)
  --log FILE       write every received datagram in hex, one line each
  --reply-broadcast  answer to 255.255.255.255 (the query's source port) out of the
                   network card the query came in on, as a camera in a foreign subnet
                   must, having no route back to the finder
  --drop-sets      log set requests but apply none, as a camera that loses them
  --help           show this text
  --version        show the version

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

std::optional<CamsimOptions> ParseCamsimArguments(const std::vector<std::string>& args,
                                                  std::string& error) {
    CamsimOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            return options;
        }
        if (option == "--reply-broadcast") {
            options.settings.replyBroadcast = true;
            continue;
        }
        if (option == "--drop-sets") {
            options.settings.dropSetRequests = true;
            continue;
        }
        if (option == "--version") {
            options.version = true;
            return options;
        }
        static const char* const known[] = {"--count", "--devices",   "--port",
                                            "--bind",  "--jitter-ms", "--log"};
        if (std::find(std::begin(known), std::end(known), option) == std::end(known)) {
            error = "unknown argument \"" + option + "\"";
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            error = option + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        int number = 0;
        if (option == "--count") {
            if (!ReadCount(value, 1, SIM_MAX_COUNT, number)) {
                error = "--count \"" + value + "\" is not a number of 1 to 10000";
                return std::nullopt;
            }
            options.count = number;
        } else if (option == "--devices") {
            options.devicesPath = value;
        } else if (option == "--port") {
            if (!ReadCount(value, 0, 65535, number)) {
                error = "--port \"" + value + "\" is not a number of 0 to 65535";
                return std::nullopt;
            }
            options.settings.port = static_cast<uint16_t>(number);
        } else if (option == "--bind") {
            if (std::array<uint8_t, 4> address; !ParseAddress(value, address)) {
                error = "--bind \"" + value + "\" is not an IPv4 address";
                return std::nullopt;
            }
            options.settings.bindAddress = value;
        } else if (option == "--jitter-ms") {
            if (!ReadCount(value, 0, 60000, number)) {
                error = "--jitter-ms \"" + value + "\" is not a number of 0 to 60000";
                return std::nullopt;
            }
            options.settings.jitterMs = number;
        } else {
            options.settings.logPath = value;
        }
    }
    if ((options.count > 0) == !options.devicesPath.empty()) {
        error = "give either --count N or --devices FILE";
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
        out << CAMSIM_USAGE;
        return 0;
    }
    if (options->version) {
        out << VersionLine("camsim");
        return 0;
    }
    std::vector<SimDevice> devices;
    if (options->devicesPath.empty()) {
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
