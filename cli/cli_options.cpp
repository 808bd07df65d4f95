#include "cli/cli_options.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>

#include "core/program/option_table.h"
#include "core/rules/input_checks.h"
#include "core/wire/device_table.h"
#include "core/wire/search_targets.h"

#include <cmath>
#include <cstdlib>

const char FINDER_CLI_USAGE[] =
    R"(Usage: finder-cli scan [--timeout-ms N] [--settle-ms N] [--json | --csv] [--show-passwords]
                       [--encoding ENC] [--to TARGET]... [network options]
       finder-cli set MAC [settings] [--timeout-ms N] [--no-verify] [--force]
                      [--encoding ENC] [--to TARGET]... [network options]
       finder-cli assign FIRST_IP (MAC... | --all) [--netmask M] [--gateway G]
                         [--name TEMPLATE] [--order given|mac|name|ip] [--keep-placed]
                         [--dry-run]
                         [--force] [--json | --csv] [--timeout-ms N] [--encoding ENC]
                         [--to TARGET]... [network options]
       finder-cli apply FILE [--dry-run] [--force] [--json | --csv] [--timeout-ms N]
                        [--encoding ENC] [--to TARGET]... [network options]
       finder-cli suggest MAC [--timeout-ms N] [--to TARGET]... [network options]
       finder-cli watch [--every SECONDS] [--json] [--to TARGET]... [network options]
       finder-cli probe TARGET... [--free] [--json | --csv] [--timeout-ms N] [network options]
       finder-cli interfaces
       finder-cli --help | --version

Finds the IP cameras of the local network segment by a UDP broadcast and changes the
network settings of one of them, or of many in one step.

scan   sends the query out of every network card three times over half a second, collects
       the replies until no new camera has answered for a while, and prints one row per
       device: id, name, MAC, IP, netmask, gateway, HTTP port, mode,
       version, read-only, the card it answered on, that card's address and whether the
       camera's IP lies in the card's subnet, and a note: another camera answers with the
       same IP, or the camera gave itself a 169.254 address (it found no DHCP server). Ids follow the finder's slot rule: the first
       device to answer is 255, the next 254. When nothing answers, the cards searched and
       the likely causes go to standard error and the exit status is still 0.
  --timeout-ms N      the longest wait for replies, 1 to 600000 (default 1500); a scan
                      that finds nobody waits this long
  --settle-ms N       once the last query has gone out, end the scan when no new camera
                      has answered for N ms (default 300; at most --timeout-ms)
  --json              an array of objects with the keys id, readOnly, name, version, mac,
                      ip, netmask, gateway, httpPort, netMode (8 hex digits), mode
                      ("PPPOE", "DHCP" or "STATIC"), pppoeAccount, pppoePassword with
                      --show-passwords, interface, interfaceAddress ("10.0.0.5/24"),
                      sameSubnet, sameIpAs (the MACs of the other cameras with this
                      IP), linkLocal (the IP lies in 169.254.0.0/16)
  --csv               the same columns as --json, with a header row
  --show-passwords    print the PPPoE password in --json and --csv (never in the table)

set    scans, finds the device that answered with MAC (12 hexadecimal digits, bare or
       with separators: 00:12:34:00:00:01, 00-12-34-00-00-01, 0012.3400.0001), lays the
       settings given over the ones it reported and sends only what changed. Then, unless
       --no-verify, it scans again, a few times within some seconds, and checks that the
       device answers with the new settings (under its new MAC after --new-mac). It prints
       the camera's row as assign does: each setting it changed, old -> new, and the result.
  --name TEXT            device name, at most 16 bytes as the device stores it
  --ip ADDR              IP address (four dotted decimal numbers of 0 to 255)
  --netmask ADDR         subnet mask
  --gateway ADDR         gateway address
  --http-port P          HTTP port, 1 to 65535
  --mode MODE            static, dhcp or pppoe (default: the mode the device reports)
  --pppoe-account TEXT   PPPoE account, at most 64 bytes
  --pppoe-password TEXT  PPPoE password, at most 16 bytes
  --new-mac MAC          give the device a new MAC address
  --timeout-ms N         how long each scan collects replies (default 1500)
  --no-verify            send the change and do not scan again
  --force                send a risky change all the same (see below)
  A read-only device is refused, and so is a change that gives nothing to change.
  The request goes out only on the network card the device answered on.
  A value that would leave the camera unreachable is refused (a mask such as
  255.0.255.0, a loopback, multicast, network or broadcast IP, a gateway that is the IP
  itself, a group MAC, control characters in a text). A risky change is refused with
  exit status 2 unless --force: a gateway outside the new subnet, an IP that another
  device or this PC already has, an IP outside every network of this PC.
  Texts are typed in UTF-8 and go to the device in the encoding its current text is in
  (UTF-8 over a text in plain ASCII, unless --encoding names another).

Camera texts (both commands): name, version, PPPoE account and password are printed in
UTF-8 whatever the device stores. Texts that are no UTF-8 are read in a legacy code page:
  --encoding ENC       utf-8, gbk, big5, shift_jis or cp1252 (default: the code page of
                       the locale's language, LANG: gbk for zh_CN, big5 for zh_TW,
                       shift_jis for ja, cp1252 for any other)
  Bytes that no encoding reads are shown as U+FFFD marks.

assign scans and addresses the cameras named by their MACs (or every camera found, with
       --all) in one step: the addresses count up from FIRST_IP and skip every address in
       use (the IP of any camera found, though a camera may keep its own; this PC's; the
       gateway and every gateway a camera reports; the subnet's network and broadcast
       address). A plan that runs out of
       addresses is refused as a whole. Every change passes the checks of set; a refused
       one refuses the plan and nothing is sent, the risky ones go only with --force.
       All requests go out, then the cameras are asked again together until each one
       confirms. One row per camera: MAC, name, the changes (ip 192.168.1.64 ->
       10.77.0.100) and the result: confirmed, not confirmed (and why), or unchanged.
  --netmask M          the netmask (default: that of the card the cameras answered on
                       when FIRST_IP lies in its subnet, else each camera's own when
                       FIRST_IP lies in the cameras' own subnet; else it must be given)
  --gateway G          the gateway (default: that card's gateway where it gives the
                       netmask and has one, else each camera keeps its own)
  --keep-placed        a camera already at a free address of the subnet keeps it
  --name TEMPLATE      names them: {n} is the camera's place in the plan from 1, {n:02}
                       the same with two digits ("Dock {n:02}": Dock 01, Dock 02, ...); a
                       name longer than the camera holds is cut and marked as a risk
  --order ORDER        given (default), mac (default with --all), name or ip
  --dry-run            print the plan (result "planned") and send nothing
  --json, --csv        an array of {mac, name, changes: {key: {from, to}}, result,
                       detail}, or CSV with those columns
  Ctrl+C stops sending and waiting: the report says which requests went out.

apply  the plan of a CSV file with a header row (- reads standard input), as scan --csv
       writes it and a spreadsheet saves it again (UTF-8 with or without a byte-order mark,
       else the code page of --encoding or of the locale). Column mac names the camera
       (any MAC form); name, ip, netmask, gateway, httpPort, mode, pppoeAccount and
       pppoePassword are settings, where an empty cell keeps the camera's value; other
       columns are ignored. So only the rows edited are sent. A bad cell, a MAC that did not
       answer, a MAC twice or one new IP twice refuse the file ("line N: column: why") and
       nothing is sent; so does a camera text a spreadsheet turned into a number (0012 into
       12), unless --force, which keeps the camera's text. Options and output as assign.

Exit status of assign and apply: 0 when every camera confirmed or was unchanged, and on a
dry run; 1 when any did not confirm; 2 for bad usage or a refused plan (nothing sent).

suggest  scans and prints the address the finder proposes for the device of MAC in the
       subnet of the card it answered on (as the window's "Move into my network" does):
       a free IP (not this PC's, not the network or broadcast address, not a camera's),
       the card's netmask and its gateway (0.0.0.0 when it has none), one per line.

watch  searches every SECONDS (default 5) until interrupted (Ctrl-C ends it with status 0)
       and prints one line per event: appeared (a MAC not seen before), changed (each
       setting's old -> new), gone (not seen in two searches in a row).
  --every SECONDS     seconds between searches, above 0 (default 5)
  --json              one object per line: time (ISO 8601, UTC), event, mac, name, ip,
                      and for changed also changes ({"ip": {"from": .., "to": ..}})

probe  scans, then asks the segment whether each address of the TARGETs (an IP, a block
       10.2.0.0/24 or a range 10.2.0.10-10.2.0.60, at most 4096 addresses in all) is held,
       by which MAC, and names the camera found at it. As root or with CAP_NET_RAW it sends
       ARP probes (sender 0.0.0.0), which also ask addresses outside the card's subnet and
       see two devices at one IP; otherwise it asks the kernel's neighbour table, which holds
       only addresses of the card's own subnet. Standard error says which way it asked.
  --free               list only the free addresses
  --json               an array of objects with the keys ip, held (true or false), mac (the
                       holder's MAC with colons, or null) and camera (the name, or null)
  --csv                the same columns, with a header row

interfaces  lists the network cards: name, address/prefix, whether it is up, whether it
       can broadcast, and whether a scan searches it (or why not).

Networks that a broadcast does not reach (scan, set, assign, apply, suggest, watch):
  --to TARGET          also ask each address of TARGET by unicast: one IP (10.2.0.21), a
                       block (10.2.0.0/24) or a range (10.2.0.10-10.2.0.60); may be given
                       more than once, at most 4096 addresses in all. A camera found so
                       gets its set request at the address it answered from. Some
                       cameras answer only to a broadcast on their own segment.

Network options (scan, set, assign, apply, suggest, watch, probe):
  --interface NAME     search only this network card; may be given more than once
                       (loopback is searched only when named: --interface lo)
  --broadcast ADDR     send each request once to ADDR, as the routing table has it,
                       instead of out of every card (not with --interface)
  --device-port N      the cameras' port (default 4000)
  --local-port N       the local port replies come to (default 3566)

--help shows this text, --version the version.

Every value is checked before anything is sent; a bad one is named and nothing is sent.
A value that starts with "--" is taken for a forgotten value: write --name=--x to mean it.
Exit status: 0 success; 1 device not found, change did not verify, or network error;
2 bad usage or input, or a refused change: nothing was sent.
)";

TextEncoding LegacyEncodingOfLocale(const std::string& localeName) {
    const auto starts = [&](const char* prefix) { return localeName.rfind(prefix, 0) == 0; };
    if (starts("zh_TW") || starts("zh_HK") || starts("zh_MO")) {
        return TextEncoding::Big5;
    }
    if (starts("zh")) {
        return TextEncoding::Gbk;
    }
    return starts("ja") ? TextEncoding::ShiftJis : TextEncoding::Cp1252;
}

CTextCodec CliOptions::Codec(const std::string& localeName) const {
    return encoding ? CTextCodec(*encoding, true) : CTextCodec(LegacyEncodingOfLocale(localeName));
}

ScanWait CliOptions::Wait() const {
    return {timeoutMs, settleMs.value_or(std::min(CLI_SETTLE_MS, timeoutMs))};
}

bool SetChanges::Any() const {
    return name || ip || netmask || gateway || httpPort || mode || pppoeAccount || pppoePassword ||
           newMac;
}

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Each check returns an empty text when the value is good, else the reason.
using ValueCheck = std::function<std::string(const std::string&)>;

std::string CheckAddress(const std::string& value) {
    return IsDottedAddress(value)
               ? ""
               : Quoted(value) + " is not four dotted decimal numbers of 0 to 255";
}

std::string CheckPort(const std::string& value) {
    return IsHttpPort(value) ? "" : Quoted(value) + " is not a port of 1 to 65535";
}

std::string CheckMac(const std::string& value) {
    return ReadMacText(value) ? "" : Quoted(value) + " is not 12 hexadecimal digits";
}

// Every character takes a byte at least, so a text of more characters than the field has
// bytes fits in no encoding; whether a shorter one fits is known once the device's own
// text shows which encoding it takes.
ValueCheck CheckText(std::size_t width) {
    return [width](const std::string& value) -> std::string {
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
    };
}

std::string CheckEncoding(const std::string& value) {
    return EncodingFromName(value)
               ? ""
               : Quoted(value) + " is not an encoding (utf-8, gbk, big5, " + "shift_jis or cp1252)";
}

std::string CheckMode(const std::string& value) {
    return value == "static" || value == "dhcp" || value == "pppoe"
               ? ""
               : Quoted(value) + " is not static, dhcp or pppoe";
}

std::string CheckTimeout(const std::string& value) {
    const bool digits = !value.empty() && value.size() <= 6 &&
                        value.find_first_not_of("0123456789") == std::string::npos;
    return digits && std::stoi(value) >= 1 && std::stoi(value) <= 600000
               ? ""
               : Quoted(value) + " is not a number of milliseconds from 1 to 600000";
}

std::string CheckTarget(const std::string& value) {
    return ParseSearchTargets({value}).error;
}

// Seconds between the searches of watch: a positive number, fractions allowed, at most a day.
std::string CheckEvery(const std::string& value) {
    char* end = nullptr;
    const double seconds = value.empty() ? 0 : std::strtod(value.c_str(), &end);
    return !value.empty() && end != nullptr && *end == '\0' && std::isfinite(seconds) &&
                   seconds > 0 && seconds <= 86400
               ? ""
               : Quoted(value) + " is not a number of seconds above 0 and at most 86400";
}

std::string CheckInterfaceName(const std::string& value) {
    return !value.empty() && value.size() < 16 && value.find_first_of("/ \t") == std::string::npos
               ? ""
               : Quoted(value) + " is not the name of a network card";
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A value option: stored when its check finds no fault.
OptionApply Checked(const ValueCheck& check, const std::function<void(const std::string&)>& store) {
    return [=](const std::string& value) {
        std::string reason = check(value);
        if (reason.empty()) {
            store(value);
        }
        return reason;
    };
}

OptionApply Raise(bool& flag, bool raised) {
    return [&flag, raised](const std::string&) {
        flag = raised;
        return std::string();
    };
}

// --json or --csv, once.
OptionApply Format(OutputFormat format, CliOptions& options, bool& formatGiven) {
    return [format, &options, &formatGiven](const std::string&) {
        if (formatGiven) {
            return std::string("give either --json or --csv, not both");
        }
        formatGiven = true;
        options.format = format;
        return std::string();
    };
}

// The options scan alone takes, those set alone takes, and those of scan, set and suggest.
void AddScanOptions(COptionTable& table, CliOptions& o, bool& formatGiven) {
    table.Add({"--json"}, "", Format(OutputFormat::Json, o, formatGiven));
    table.Add({"--csv"}, "", Format(OutputFormat::Csv, o, formatGiven));
    table.Add({"--show-passwords"}, "", Raise(o.showPasswords, true));
}

void AddSetOptions(COptionTable& table, CliOptions& o) {
    SetChanges& c = o.changes;
    table.Add({"--no-verify"}, "", Raise(o.verify, false));
    table.Add({"--force"}, "", Raise(o.force, true));
    table.Add({"--name"}, "TEXT",
              Checked(CheckText(ITEM_WIDTH_NAME), [&](const std::string& v) { c.name = v; }));
    table.Add({"--ip"}, "ADDR", Checked(CheckAddress, [&](const std::string& v) { c.ip = v; }));
    table.Add({"--netmask"}, "ADDR",
              Checked(CheckAddress, [&](const std::string& v) { c.netmask = v; }));
    table.Add({"--gateway"}, "ADDR",
              Checked(CheckAddress, [&](const std::string& v) { c.gateway = v; }));
    table.Add({"--http-port"}, "P",
              Checked(CheckPort, [&](const std::string& v) { c.httpPort = v; }));
    table.Add({"--mode"}, "MODE",
              Checked([](const std::string& v) { return CheckMode(Lower(v)); },
                      [&](const std::string& v) { c.mode = Lower(v); }));
    table.Add({"--pppoe-account"}, "TEXT",
              Checked(CheckText(ITEM_WIDTH_PPPOE_ACCOUNT),
                      [&](const std::string& v) { c.pppoeAccount = v; }));
    table.Add({"--pppoe-password"}, "TEXT",
              Checked(CheckText(ITEM_WIDTH_PPPOE_PASSWORD),
                      [&](const std::string& v) { c.pppoePassword = v; }));
    table.Add({"--new-mac"}, "MAC",
              Checked(CheckMac, [&](const std::string& v) { c.newMac = *ReadMacText(v); }));
}

void AddCommonOptions(COptionTable& table, CliOptions& o) {
    WorkerEndpoints& e = o.endpoints;
    table.Add({"--timeout-ms"}, "N",
              Checked(CheckTimeout, [&](const std::string& v) { o.timeoutMs = std::stoi(v); }));
    table.Add({"--settle-ms"}, "N",
              Checked(CheckTimeout, [&](const std::string& v) { o.settleMs = std::stoi(v); }));
    table.Add({"--broadcast"}, "ADDR", Checked(CheckAddress, [&](const std::string& v) {
                  e.destinationAddress = v;
                  e.everyInterface = false;
              }));
    table.Add({"--interface"}, "NAME", Checked(CheckInterfaceName, [&](const std::string& v) {
                  e.interfaces.push_back(v);
              }));
    table.Add({"--device-port"}, "N", Checked(CheckPort, [&](const std::string& v) {
                  e.destinationPort = static_cast<uint16_t>(std::stoi(v));
              }));
    table.Add({"--local-port"}, "N", Checked(CheckPort, [&](const std::string& v) {
                  e.localPort = static_cast<uint16_t>(std::stoi(v));
              }));
    table.Add({"--encoding"}, "ENC", Checked(CheckEncoding, [&](const std::string& v) {
                  o.encoding = EncodingFromName(v);
              }));
}

// --to TARGET, repeatable: the addresses every search of the command also asks by unicast.
void AddTargetOption(COptionTable& table, CliOptions& o) {
    table.Add({"--to"}, "TARGET",
              Checked(CheckTarget, [&](const std::string& v) { o.to.push_back(v); }));
}

bool TakesTargets(CliCommand command) {
    return command == CliCommand::Scan || command == CliCommand::Set ||
           command == CliCommand::Suggest || command == CliCommand::Watch ||
           command == CliCommand::Assign || command == CliCommand::Apply;
}

void AddWatchOptions(COptionTable& table, CliOptions& o, bool& formatGiven) {
    table.Add({"--json"}, "", Format(OutputFormat::Json, o, formatGiven));
    table.Add({"--every"}, "SECONDS", Checked(CheckEvery, [&](const std::string& v) {
                  o.everySeconds = std::strtod(v.c_str(), nullptr);
              }));
}

// The options of the command; interfaces takes none.
COptionTable CommandOptions(CliOptions& options, bool& formatGiven) {
    COptionTable table(OptionSpelling::SeparateOrEquals);
    if (options.command == CliCommand::Interfaces) {
        return table;
    }
    const bool plan = options.command == CliCommand::Assign || options.command == CliCommand::Apply;
    if (options.command == CliCommand::Scan || plan) {
        AddScanOptions(table, options, formatGiven);
    }
    if (options.command == CliCommand::Watch) {
        AddWatchOptions(table, options, formatGiven);
    }
    if (options.command == CliCommand::Probe) {
        table.Add({"--json"}, "", Format(OutputFormat::Json, options, formatGiven));
        table.Add({"--csv"}, "", Format(OutputFormat::Csv, options, formatGiven));
        table.Add({"--free"}, "", Raise(options.freeOnly, true));
    }
    if (TakesTargets(options.command)) {
        AddTargetOption(table, options);
    }
    if (plan) {
        AddPlanOptions(table, options.plan, options.force, options.command == CliCommand::Assign);
    }
    if (options.command == CliCommand::Set) {
        AddSetOptions(table, options);
    }
    AddCommonOptions(table, options);
    return table;
}

const char* CommandName(CliCommand command) {
    switch (command) {
    case CliCommand::Scan:
        return "scan";
    case CliCommand::Suggest:
        return "suggest";
    case CliCommand::Interfaces:
        return "interfaces";
    case CliCommand::Watch:
        return "watch";
    case CliCommand::Assign:
        return "assign";
    case CliCommand::Apply:
        return "apply";
    case CliCommand::Probe:
        return "probe";
    default:
        return "set";
    }
}

bool NeedsMac(CliCommand command) {
    return command == CliCommand::Set || command == CliCommand::Suggest;
}

// A flag refused (--csv after --json) says why in a sentence of its own.
std::string Describe(const OptionFault& fault, CliCommand command) {
    switch (fault.kind) {
    case OptionFaultKind::Unknown:
        return "unknown option " + Quoted(fault.name) + " for " + CommandName(command);
    case OptionFaultKind::MissingValue:
        return fault.name + " needs a value";
    case OptionFaultKind::UnwantedValue:
        return fault.name + " takes no value";
    default:
        return fault.flag ? fault.reason : fault.name + ": " + fault.reason;
    }
}

} // namespace

std::optional<CliOptions> ParseCliArguments(const std::vector<std::string>& args,
                                            std::string& error) {
    CliOptions options;
    if (args.empty()) {
        error = "give a command: scan, set, assign, apply, suggest, watch or interfaces";
        return std::nullopt;
    }
    if (std::find(args.begin(), args.end(), "--help") != args.end() ||
        std::find(args.begin(), args.end(), "-h") != args.end() || args[0] == "help") {
        return options; // CliCommand::Help
    }
    if (std::find(args.begin(), args.end(), "--version") != args.end()) {
        options.command = CliCommand::Version;
        return options;
    }
    const std::map<std::string, CliCommand> commands = {
        {"scan", CliCommand::Scan},       {"set", CliCommand::Set},
        {"suggest", CliCommand::Suggest}, {"interfaces", CliCommand::Interfaces},
        {"assign", CliCommand::Assign},   {"apply", CliCommand::Apply},
        {"watch", CliCommand::Watch},     {"probe", CliCommand::Probe}};
    if (const auto command = commands.find(args[0]); command != commands.end()) {
        options.command = command->second;
    } else {
        error = "unknown command " + Quoted(args[0]) +
                " (scan, set, assign, apply, suggest, watch or interfaces)";
        return std::nullopt;
    }
    bool formatGiven = false;
    const COptionTable table = CommandOptions(options, formatGiven);
    bool macGiven = false;
    std::vector<std::string> probeTargets;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i].rfind("--", 0) == 0) {
            if (const OptionFault fault = table.Read(args, i)) {
                error = Describe(fault, options.command);
                return std::nullopt;
            }
        } else if (NeedsMac(options.command) && !macGiven) {
            if (const std::string reason = CheckMac(args[i]); !reason.empty()) {
                error = "MAC " + reason;
                return std::nullopt;
            }
            options.mac = *ReadMacText(args[i]);
            macGiven = true;
        } else if (options.command == CliCommand::Assign || options.command == CliCommand::Apply) {
            error = TakePlanArgument(options.plan, args[i], options.command == CliCommand::Assign);
            if (!error.empty()) {
                return std::nullopt;
            }
        } else if (options.command == CliCommand::Probe) {
            probeTargets.push_back(args[i]);
        } else {
            error = "unexpected argument " + Quoted(args[i]);
            return std::nullopt;
        }
    }
    if (NeedsMac(options.command) && !macGiven) {
        error = std::string(CommandName(options.command)) +
                " needs the MAC of the device (12 hexadecimal digits)";
        return std::nullopt;
    }
    if (options.command == CliCommand::Assign || options.command == CliCommand::Apply) {
        error = MissingPlanArgument(options.plan, options.command == CliCommand::Assign);
        if (!error.empty()) {
            return std::nullopt;
        }
    }
    if (options.command == CliCommand::Probe) {
        SearchTargets probed = ParseSearchTargets(probeTargets);
        error = probeTargets.empty() ? "probe needs at least one TARGET: an IP, a block such as "
                                       "10.2.0.0/24 or a range such as 10.2.0.10-10.2.0.60"
                : probed.Ok()        ? ""
                                     : "TARGET: " + probed.error;
        if (!error.empty()) {
            return std::nullopt;
        }
        options.probed = std::move(probed.addresses);
    }
    if (!options.endpoints.everyInterface && !options.endpoints.interfaces.empty()) {
        error = "give either --broadcast or --interface, not both";
        return std::nullopt;
    }
    if (options.settleMs && *options.settleMs > options.timeoutMs) {
        error = "--settle-ms: " + std::to_string(*options.settleMs) +
                " ms is longer than the longest wait, --timeout-ms " +
                std::to_string(options.timeoutMs) + " ms";
        return std::nullopt;
    }
    SearchTargets targets = ParseSearchTargets(options.to);
    if (!targets.Ok()) {
        error = "--to: " + targets.error;
        return std::nullopt;
    }
    options.targets = std::move(targets.addresses);
    if (options.command == CliCommand::Set && !options.changes.Any()) {
        error = "set needs at least one setting to change (--name, --ip, --netmask, --gateway, "
                "--http-port, --mode, --pppoe-account, --pppoe-password, --new-mac)";
        return std::nullopt;
    }
    return options;
}
