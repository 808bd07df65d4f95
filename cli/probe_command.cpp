#include "cli/probe_command.h"

#include "cli/cli_command.h"
#include "core/net/udp_socket.h"
#include "core/present/probe_rows.h"
#include "core/session/scan_session.h"
#include "core/wire/subnet.h"

namespace {

// So many unasked addresses are named; the rest are counted.
constexpr std::size_t PROBE_UNASKED_NAMED = 5;

// Addresses the way cannot ask are no answer: they are neither listed nor called free.
void ReportUnasked(const ProbeResult& result, const std::vector<NetInterface>& cards,
                   std::ostream& err) {
    const std::vector<uint32_t> unasked = UnaskedAddresses(result);
    if (unasked.empty()) {
        return;
    }
    std::string named;
    for (std::size_t i = 0; i < unasked.size() && i < PROBE_UNASKED_NAMED; ++i) {
        named += (i == 0 ? "" : ", ") + Ipv4Text(unasked[i]);
    }
    if (unasked.size() > PROBE_UNASKED_NAMED) {
        named += " and " + std::to_string(unasked.size() - PROBE_UNASKED_NAMED) + " more";
    }
    err << "finder-cli: " << unasked.size()
        << (unasked.size() == 1 ? " address lies" : " addresses lie")
        << " outside the subnet of the card asked (" << InterfaceNames(cards) << ") and cannot be "
        << (result.way == ProbeWay::NeighbourTable
                ? "asked without CAP_NET_RAW (as root, ARP probes ask it)"
                : "asked this way")
        << ": " << named << "\n";
}

} // namespace

int RunProbe(const CliOptions& options, std::ostream& out, std::ostream& err,
             const ProbeOptions& probe) {
    ScanSession session(options.endpoints);
    ScanResult scanned;
    std::string error;
    if (!FirstScan(session, options, scanned, err, error)) {
        return Fail(err, error, CLI_EXIT_FAILED);
    }
    const std::vector<NetInterface> cards =
        SearchedInterfaces(ListInterfaces(), options.endpoints.interfaces);
    if (cards.empty()) {
        return Fail(err, "no network card that is up and has an IPv4 address to ask on",
                    CLI_EXIT_FAILED);
    }
    const ProbeResult result = ProbeAddresses(cards, options.probed, probe);
    if (result.error != 0) {
        return Fail(err,
                    "the segment behind " + result.failedCard +
                        " could not be asked: " + SocketErrorText(result.error),
                    CLI_EXIT_FAILED);
    }
    err << "finder-cli: asked " << ProbeWayText(result.way) << " on " << InterfaceNames(cards)
        << "\n";
    ReportUnasked(result, cards, err);
    const std::vector<ProbeRow> rows =
        ProbeRows(result, scanned.devices, options.Codec(LocaleName()), options.freeOnly);
    switch (options.format) {
    case OutputFormat::Json:
        out << FormatProbeJson(rows);
        break;
    case OutputFormat::Csv:
        out << FormatProbeCsv(rows);
        break;
    case OutputFormat::Table:
        out << FormatProbeTable(rows);
        break;
    }
    return CLI_EXIT_OK;
}
