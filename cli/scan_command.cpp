#include "cli/scan_command.h"

#include "cli/cli_command.h"
#include "core/present/device_format.h"
#include "core/session/scan_session.h"

int RunScan(const CliOptions& options, std::ostream& out, std::ostream& err) {
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
