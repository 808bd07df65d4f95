#include "cli/suggest_command.h"

#include "cli/cli_command.h"
#include "core/messages/fill_text.h"
#include "core/messages/finder_texts.h"
#include "core/rules/address_proposal.h"
#include "core/session/scan_session.h"

int RunSuggest(const CliOptions& options, std::ostream& out, std::ostream& err) {
    ScanSession session(options.endpoints);
    ScanResult scanned;
    const DeviceRecord* device = ScanForCamera(session, options, scanned, err, "");
    if (device == nullptr) {
        return CLI_EXIT_FAILED;
    }
    const ReplyArrival& card = scanned.ArrivalOf(*device);
    const std::optional<AddressProposal> proposal = ProposeAddress(*scanned.table, card);
    if (!proposal) {
        return Fail(
            err,
            card.interfaceAddress == 0
                ? "the network card device " + options.mac + " answered on is not known"
                : FillText(TEXT_SEARCH_NO_FREE_ADDRESS.english, {InterfaceAddressText(card)}),
            CLI_EXIT_FAILED);
    }
    out << "ip " << proposal->ip << "\nnetmask " << proposal->netmask << "\ngateway "
        << proposal->gateway << "\n";
    return CLI_EXIT_OK;
}
