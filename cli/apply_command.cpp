#include "cli/apply_command.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

#include "cli/cli_command.h"
#include "cli/plan_command.h"
#include "core/messages/fill_text.h"
#include "core/messages/finder_texts.h"
#include "core/plan/plan_file.h"
#include "core/rules/settings_checks.h"

namespace {

// The file's bytes as saved; "-" is standard input.
bool ReadBytes(const std::string& path, std::string& bytes) {
    if (path == "-") {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return !std::cin.bad();
    }
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.is_open() && !in.bad();
}

// A refusal at its line and column: "line 3: ip: 10.0.0.255 is the broadcast address ...",
// without the field's own label that the sentence starts with.
std::string LineOf(const PlanFile& file, const PlanRefusal& refusal) {
    std::string reason = refusal.reason;
    if (refusal.setting != 0) {
        const std::string label = std::string(FieldLabel(refusal.setting).english) + ": ";
        if (reason.rfind(label, 0) == 0) {
            reason.erase(0, label.size());
        }
    }
    return FillText(PLAN_TEXT_FILE_LINE.english, {std::to_string(file.lines[refusal.step]),
                                                  SettingColumn(refusal.setting), reason});
}

int RunApply(const PlanRunOptions& options, std::ostream& out, std::ostream& err,
             LocalNetworksFunction localNetworks) {
    std::string bytes;
    const std::string& path = options.plan.file;
    if (!ReadBytes(path, bytes)) {
        return Fail(err, path + ": cannot be read: " + std::strerror(errno), CLI_EXIT_USAGE);
    }
    ScanSession session(options.endpoints);
    ScanResult scanned;
    std::string error;
    if (!FirstScan(session, options, scanned, err, error)) {
        return Fail(err, error, CLI_EXIT_FAILED);
    }
    const CTextCodec codec = options.Codec(LocaleName());
    const PlanFile file = ReadPlanFile(bytes, *scanned.table, codec, options.force, EnglishText);
    if (!file.error.empty()) {
        const std::string hint =
            file.textAsNumber ? " (or give --force to keep the camera's text)" : "";
        return Fail(err, path + ": " + file.error + hint + "; nothing was sent", CLI_EXIT_USAGE);
    }
    for (std::size_t row = 0; row < file.kept.size(); ++row) {
        for (const std::string& column : file.kept[row]) {
            err << "finder-cli: " << path << ": "
                << FillText(PLAN_TEXT_FILE_AT.english,
                            {std::to_string(file.lines[row]),
                             FillText(PLAN_TEXT_KEPT_NUMBER.english, {column})})
                << "\n";
        }
    }
    CChangePlan plan(*scanned.table, *scanned.arrivals, file.changes);
    return RunCheckedPlan(
        session, plan, options, out, err, localNetworks,
        [&](const PlanRefusal& refusal) { return path + ": " + LineOf(file, refusal); });
}

} // namespace

CApplyCommand::CApplyCommand()
    : CCommand(
          "apply", "FILE", "send the plan of a CSV file, as scan --csv writes it",
          std::string(
              "Sends the plan of a CSV file with a header row (- reads standard input), as scan "
              "--csv writes it and a spreadsheet saves it again (UTF-8 with or without a "
              "byte-order mark, else the code page of --encoding or of the locale). Column mac "
              "names the camera (any MAC form); name, ip, netmask, gateway, httpPort, mode, "
              "pppoeAccount and pppoePassword are settings, where an empty cell keeps the "
              "camera's value; other columns are ignored. So only the rows edited are sent. A "
              "bad cell, a MAC that did not answer, a MAC twice or one new IP twice refuse the "
              "file (\"line N: column: why\") and nothing is sent; so does a camera text a "
              "spreadsheet turned into a number (0012 into 12), unless --force, which keeps the "
              "camera's text. ") +
              PLAN_RUN_DESCRIPTION,
          PLAN_RUN_STATUSES) {
    AddPlanRunOptions(Options(), m_options, false);
    AddSearch(m_options);
}

std::string CApplyCommand::TakeArgument(const std::string& argument) {
    return TakePlanArgument(m_options.plan, argument, false);
}

std::string CApplyCommand::Finish() {
    return MissingPlanArgument(m_options.plan, false);
}

int CApplyCommand::Run(const CommandIo& io) {
    return RunApply(m_options, io.out, io.err, io.localNetworks);
}
