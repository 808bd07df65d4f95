#include "cli/set_command.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <functional>
#include <thread>

#include "cli/cli_command.h"
#include "cli/set_change.h"
#include "core/messages/finder_texts.h"
#include "core/plan/change_plan.h"
#include "core/plan/plan_report.h"
#include "core/rules/input_checks.h"
#include "core/session/change_flow.h"
#include "core/session/scan_session.h"

namespace {

using Clock = std::chrono::steady_clock;

// The result of a change sent with --no-verify: nobody asked the camera again.
constexpr char SET_RESULT_SENT[] = "sent";

// After each risk of a change: how to send it all the same.
constexpr char CLI_SEND_ANYWAY_HINT[] = "Use --force to send it anyway.";

// Queries again on the shared schedule until the device confirms the change or the last
// round is over.
std::optional<SessionFailure> Verify(ScanSession& session, const SetOptions& options,
                                     CChangeFlow& change, Clock::time_point sentAt) {
    const std::vector<int>& schedule = change.Confirmation().Schedule();
    for (std::size_t round = 0; round + 1 < schedule.size(); ++round) {
        std::this_thread::sleep_until(sentAt + std::chrono::milliseconds(schedule[round]));
        ScanResult result;
        if (std::optional<SessionFailure> failure =
                session.Scan(options.Wait(), result, change.ConfirmTargets())) {
            return failure;
        }
        if (change.JudgeRound(result.devices, round + 2 == schedule.size())) {
            break;
        }
    }
    return std::nullopt;
}

// The camera's row as assign prints it: each setting changed, old -> new, and the result.
void PrintResult(const SetOptions& options, const CChangeFlow& change, const char* result,
                 const std::string& detail, std::ostream& out) {
    const FormatOptions format{options.Codec(LocaleName()), false};
    PlanReportRow row =
        ReportRow(change.Target(), RecordAfter(change.Target(), change.Values()), format);
    row.result = result;
    row.detail = detail;
    out << PlanReportTable({row});
}

// The checks every change passes before it goes out; empty when it may go.
std::string CheckChange(const SetOptions& options, const CChangeFlow& change,
                        LocalNetworksFunction localNetworks) {
    const SettingsVerdict verdict =
        change.Check(localNetworks(), EnglishText, options.Codec(LocaleName()));
    if (verdict.nothingChanged) {
        return std::string(APPLY_TEXT_NOTHING_TO_SEND.english) + "; nothing was sent";
    }
    if (!verdict.refusal.empty()) {
        return verdict.refusal;
    }
    std::string risks;
    for (const std::string& warning : verdict.warnings) {
        risks += (risks.empty() ? "" : "\nfinder-cli: ") + warning + " " + CLI_SEND_ANYWAY_HINT +
                 " " + APPLY_TEXT_NOTHING_SENT.english;
    }
    return options.force ? "" : risks;
}

int RunSet(const SetOptions& options, std::ostream& out, std::ostream& err,
           LocalNetworksFunction localNetworks) {
    ScanSession session(options.endpoints);
    ScanResult scanned;
    const DeviceRecord* device =
        ScanForCamera(session, options, scanned, err, "; nothing was sent");
    if (device == nullptr) {
        return CLI_EXIT_FAILED;
    }
    const CTextCodec codec = options.Codec(LocaleName());
    if (const std::string reason = RefusalReason(*device, options.changes, scanned.devices, codec);
        !reason.empty()) {
        return Fail(err, reason + "; nothing was sent", CLI_EXIT_USAGE);
    }
    CChangeFlow change(*scanned.table, *device, scanned.ArrivalOf(*device),
                       ChangeValuesFor(*device, options.changes, codec));
    if (const std::optional<PanelTextRefusal> refusal = change.EncodeTexts(codec)) {
        return Fail(err, TextRefusalReason(*refusal) + "; nothing was sent", CLI_EXIT_USAGE);
    }
    if (const std::string reason = CheckChange(options, change, localNetworks); !reason.empty()) {
        return Fail(err, reason, CLI_EXIT_USAGE);
    }
    if (const std::optional<SessionFailure> failure = session.Send(change.Command())) {
        return Fail(err, FailureText(*failure), CLI_EXIT_FAILED);
    }
    const Clock::time_point sentAt = Clock::now();
    if (!options.verify) {
        PrintResult(options, change, SET_RESULT_SENT, "", out);
        return CLI_EXIT_OK;
    }
    err << "finder-cli: settings sent to device " << options.mac << "; asking it again\n";
    if (const std::optional<SessionFailure> failure = Verify(session, options, change, sentAt)) {
        return Fail(err, FailureText(*failure), CLI_EXIT_FAILED);
    }
    const CChangeConfirmation& confirmation = change.Confirmation();
    const std::string outcome = confirmation.Outcome(EnglishText, codec);
    if (!confirmation.Confirmed()) {
        PrintResult(options, change, PLAN_RESULT_NOT_CONFIRMED, outcome, out);
        return Fail(err, "the change did not verify: " + outcome, CLI_EXIT_FAILED);
    }
    PrintResult(options, change, PLAN_RESULT_CONFIRMED, "", out);
    return CLI_EXIT_OK;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string CheckPort(const std::string& value) {
    return IsHttpPort(value) ? "" : Quoted(value) + " is not a port of 1 to 65535";
}

// Every character takes a byte at least, so a text of more characters than the field has
// bytes fits in no encoding; whether a shorter one fits is known once the device's own
// text shows which encoding it takes.
std::string CheckText(const std::string& value, std::size_t width) {
    if (!IsValidUtf8(value)) {
        return Quoted(value) + " is not valid UTF-8";
    }
    std::size_t characters = 0;
    for (char c : value) {
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    if (characters <= width) {
        return "";
    }
    return Quoted(value) + " is " + std::to_string(characters) + " characters long; the " +
           "field holds at most " + std::to_string(width) + " bytes";
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string CheckMode(const std::string& value) {
    return value == "static" || value == "dhcp" || value == "pppoe"
               ? ""
               : Quoted(value) + " is not static, dhcp or pppoe";
}

// A value option: stored when its check finds no fault.
OptionApply Checked(const std::function<std::string(const std::string&)>& check,
                    std::optional<std::string>& into) {
    return [check, &into](const std::string& value) {
        std::string reason = check(value);
        if (reason.empty()) {
            into = value;
        }
        return reason;
    };
}

OptionApply Text(std::size_t width, std::optional<std::string>& into) {
    return Checked([width](const std::string& value) { return CheckText(value, width); }, into);
}

OptionApply Raise(bool& flag, bool raised) {
    return [&flag, raised](const std::string&) {
        flag = raised;
        return std::string();
    };
}

} // namespace

CSetCommand::CSetCommand()
    : CCommand(
          "set", "MAC", "change the network settings of one camera",
          "Scans, finds the device that answered with MAC (12 hexadecimal digits, bare or with "
          "separators: 00:12:34:00:00:01, 00-12-34-00-00-01, 0012.3400.0001), lays the settings "
          "given over the ones it reported and sends only what changed. Then, unless "
          "--no-verify, it scans again, a few times within some seconds, and checks that the "
          "device answers with the new settings (under its new MAC after --new-mac). It prints "
          "the camera's row as assign does: each setting it changed, old -> new, and the "
          "result.\n"
          "A read-only device is refused, and so is a change that gives nothing to change. The "
          "request goes out only on the network card the device answered on. A value that "
          "would leave the camera unreachable is refused (a mask such as 255.0.255.0, a "
          "loopback, multicast, network or broadcast IP, a gateway that is the IP itself, a "
          "group MAC, control characters in a text). A risky change is refused unless --force: "
          "a gateway outside the new subnet, an IP that another device or this PC already "
          "has, an IP outside every network of this PC.\n"
          "Texts are typed in UTF-8 and go to the device in the encoding its current text is "
          "in (UTF-8 over a text in plain ASCII, unless --encoding names another).",
          "0 the camera confirmed the change (or it was sent, with --no-verify); 1 no device "
          "answered with MAC, the change did not verify, or the network failed; 2 bad usage "
          "or input, or a refused or risky change: nothing was sent.") {
    SetChanges& c = m_options.changes;
    COptionTable& table = Options();
    table.Add({"--name"}, "TEXT", Text(ITEM_WIDTH_NAME, c.name),
              "device name, at most 16 bytes as the device stores it");
    table.Add({"--ip"}, "ADDR", Checked(CheckAddress, c.ip),
              "IP address (four dotted decimal numbers of 0 to 255)");
    table.Add({"--netmask"}, "ADDR", Checked(CheckAddress, c.netmask), "subnet mask");
    table.Add({"--gateway"}, "ADDR", Checked(CheckAddress, c.gateway), "gateway address");
    table.Add({"--http-port"}, "P", Checked(CheckPort, c.httpPort), "HTTP port, 1 to 65535");
    table.Add(
        {"--mode"}, "MODE",
        [&c](const std::string& value) {
            std::string reason = CheckMode(Lower(value));
            if (reason.empty()) {
                c.mode = Lower(value);
            }
            return reason;
        },
        "static, dhcp or pppoe (default: the mode the device reports)");
    table.Add({"--pppoe-account"}, "TEXT", Text(ITEM_WIDTH_PPPOE_ACCOUNT, c.pppoeAccount),
              "PPPoE account, at most 64 bytes");
    table.Add({"--pppoe-password"}, "TEXT", Text(ITEM_WIDTH_PPPOE_PASSWORD, c.pppoePassword),
              "PPPoE password, at most 16 bytes");
    table.Add(
        {"--new-mac"}, "MAC",
        [&c](const std::string& value) {
            std::string reason = CheckMac(value);
            if (reason.empty()) {
                c.newMac = *ReadMacText(value);
            }
            return reason;
        },
        "give the device a new MAC address");
    table.Add({"--no-verify"}, "", Raise(m_options.verify, false),
              "send the change and do not scan again");
    table.Add({"--force"}, "", Raise(m_options.force, true),
              "send a risky change all the same (see above)");
    AddSearch(m_options);
}

std::string CSetCommand::TakeArgument(const std::string& argument) {
    return m_options.TakeMac(argument);
}

std::string CSetCommand::Finish() {
    if (std::string missing = m_options.MissingMac(Name()); !missing.empty()) {
        return missing;
    }
    if (!m_options.changes.Any()) {
        return "set needs at least one setting to change (--name, --ip, --netmask, --gateway, "
               "--http-port, --mode, --pppoe-account, --pppoe-password, --new-mac)";
    }
    return "";
}

int CSetCommand::Run(const CommandIo& io) {
    return RunSet(m_options, io.out, io.err, io.localNetworks);
}
