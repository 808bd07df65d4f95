#include "cli/scan_command.h"

#include "cli/cli_command.h"
#include "core/present/device_format.h"
#include "core/session/scan_session.h"

namespace {

int RunScan(const ScanOptions& options, std::ostream& out, std::ostream& err) {
    ScanSession session(options.endpoints);
    ScanResult result;
    std::string error;
    if (!FirstScan(session, options, result, err, error)) {
        return Fail(err, error, CLI_EXIT_FAILED);
    }
    const FormatOptions format{options.Codec(LocaleName()), options.showPasswords};
    switch (options.format) {
    case OutputFormat::Json:
        out << FormatJson(result.devices, format, result.seen);
        break;
    case OutputFormat::Csv:
        out << FormatCsv(result.devices, format, result.seen);
        break;
    case OutputFormat::Table:
        out << FormatTable(result.devices, format, result.seen);
        break;
    }
    return CLI_EXIT_OK; // nothing found is an answer too
}

} // namespace

CScanCommand::CScanCommand()
    : CCommand("scan", "", "list the cameras that answer, as a table, JSON or CSV",
               "Sends the query out of every network card three times over half a second, "
               "collects the replies until no new camera has answered for a while, and prints "
               "one row per device: id, name, MAC, IP, netmask, gateway, HTTP port, mode, "
               "version, read-only, the card it answered on, that card's address and whether "
               "the camera's IP lies in the card's subnet, and a note: another camera answers "
               "with the same IP, or the camera gave itself a 169.254 address (it found no DHCP "
               "server). Ids follow the finder's slot rule: the first device to answer is 255, "
               "the next 254. When nothing answers, the cards searched and the likely causes go "
               "to standard error and the exit status is still 0.",
               "0 the list was printed, an empty one too; 1 the network failed; 2 bad usage "
               "or input.") {
    AddFormatOptions(Options(), m_options.format,
                     "an array of objects with the keys id, readOnly, name, version, mac, ip, "
                     "netmask, gateway, httpPort, netMode (8 hex digits), mode (\"PPPOE\", "
                     "\"DHCP\" or \"STATIC\"), pppoeAccount, pppoePassword with "
                     "--show-passwords, interface, interfaceAddress (\"10.0.0.5/24\"), "
                     "sameSubnet, sameIpAs (the MACs of the other cameras with this IP), "
                     "linkLocal (the IP lies in 169.254.0.0/16)",
                     "the same columns as --json, with a header row");
    AddPasswordOption(Options(), m_options.showPasswords);
    AddSearch(m_options);
}

int CScanCommand::Run(const CommandIo& io) {
    return RunScan(m_options, io.out, io.err);
}
