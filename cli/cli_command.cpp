#include "cli/cli_command.h"

#include <cstdlib>

#include "core/messages/finder_texts.h"
#include "core/net/net_interfaces.h"
#include "core/net/socket_platform.h"
#include "core/status/search_texts.h"
#include "core/status/startup_failure.h"
#include "core/status/status_text.h"

std::string LocaleName() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "";
}

int Fail(std::ostream& err, const std::string& message, int status) {
    err << "finder-cli: " << message << "\n";
    return status;
}

std::string FailureText(const SessionFailure& failure) {
    switch (failure.kind) {
    case SessionFailure::Kind::StartFailed:
        return StartupFailureSentence(*failure.startup) + " (" + StatusLine(failure.lastOutcome) +
               ")";
    case SessionFailure::Kind::WorkerStopped:
        return "the network worker stopped: " + StatusLine(failure.lastOutcome);
    case SessionFailure::Kind::NotSent:
        break;
    case SessionFailure::Kind::SendFailed:
        return "sending failed: " + StatusLine(failure.sent);
    }
    return "the network worker did not send within " + std::to_string(failure.waitMs) + " ms";
}

bool FirstScan(ScanSession& session, const SearchOptions& options, ScanResult& result,
               std::ostream& err, std::string& error) {
    session.SetSearchTargets(options.targets);
    if (const std::optional<SessionFailure> failure = session.Scan(options.Wait(), result)) {
        error = FailureText(*failure);
        if (result.sent.kind == WorkerOutcomeKind::NoCard) {
            error += "\n'finder-cli interfaces' shows each card and why it is not searched.";
        }
        return false;
    }
    if (result.sent.kind == WorkerOutcomeKind::PartlySent) {
        err << "finder-cli: " << StatusLine(result.sent) << "\n";
    }
    if (result.devices.empty()) {
        const std::vector<NetInterface> searched =
            options.endpoints.SendsPerInterface()
                ? SearchedInterfaces(ListInterfaces(), options.endpoints.interfaces)
                : std::vector<NetInterface>{{options.endpoints.destinationAddress}};
        err << "finder-cli: " << NothingFoundText(searched) << " within " << options.timeoutMs
            << " ms.\n"
            << TEXT_SEARCH_LIKELY_CAUSES.english << "\n";
        if (!options.targets.empty()) {
            err << TEXT_SEARCH_BROADCAST_ONLY.english << "\n";
        }
    }
    ReportRefusedTargets(result.searchSent, err);
    ReportLostReplies(result, err);
    return true;
}

void ReportRefusedTargets(const SearchSent& sent, std::ostream& err) {
    if (sent.targetsFailed > 0) {
        err << "finder-cli: the system refused " << sent.targetsFailed << " of " << sent.targets
            << " queries to --to addresses (" << SocketErrorText(sent.firstTargetError) << ")\n";
    }
}

void ReportLostReplies(const ScanResult& result, std::ostream& err) {
    if (result.overlongReplies > 0) {
        err << "finder-cli: " << result.overlongReplies << " replies longer than "
            << WORKER_RECEIVE_BUFFER << " bytes were dropped\n";
    }
    if (result.tableFullReplies > 0) {
        err << "finder-cli: " << result.tableFullReplies
            << " replies were dropped: the table holds at most " << DEVICE_TABLE_SLOTS
            << " devices\n";
    }
}

const DeviceRecord* ScanForCamera(ScanSession& session, const CameraOptions& options,
                                  ScanResult& scanned, std::ostream& err,
                                  const std::string& missing) {
    std::string error;
    if (!FirstScan(session, options, scanned, err, error)) {
        Fail(err, error, CLI_EXIT_FAILED);
        return nullptr;
    }
    const DeviceRecord* device = scanned.FindByMac(options.mac);
    if (device == nullptr) {
        Fail(err, "no device answered with MAC " + options.mac + missing, CLI_EXIT_FAILED);
    }
    return device;
}
