#include "cli/suggest_command.h"

#include "cli/cli_command.h"
#include "core/messages/fill_text.h"
#include "core/messages/finder_texts.h"
#include "core/rules/address_proposal.h"
#include "core/session/scan_session.h"

namespace {

int RunSuggest(const CameraOptions& options, std::ostream& out, std::ostream& err) {
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

} // namespace

CSuggestCommand::CSuggestCommand()
    : CCommand("suggest", "MAC", "propose an address in this PC's subnet for one camera",
               "Scans and prints the address the finder proposes for the device of MAC in the "
               "subnet of the card it answered on (as the window's \"Move into my network\" "
               "does): a free IP (not this PC's, not the network or broadcast address, not a "
               "camera's), the card's netmask and its gateway (0.0.0.0 when it has none), one "
               "per line.",
               "0 the address was printed; 1 no device answered with MAC, no address is free, "
               "or the network failed; 2 bad usage or input.") {
    AddSearch(m_options);
}

std::string CSuggestCommand::TakeArgument(const std::string& argument) {
    return m_options.TakeMac(argument);
}

std::string CSuggestCommand::Finish() {
    return m_options.MissingMac(Name());
}

int CSuggestCommand::Run(const CommandIo& io) {
    return RunSuggest(m_options, io.out, io.err);
}
