#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/plan_options.h"
#include "core/encoding/text_codec.h"
#include "core/session/scan_session.h"
#include "core/worker/network_worker.h"

enum class CliCommand {
    Help,
    Version,
    Scan,
    Set,
    Suggest,
    Interfaces,
    Watch,
    Assign,
    Apply,
    Probe
};
enum class OutputFormat { Table, Json, Csv };

// The settings `set` lays over the device's record; an option not given keeps the record's.
struct SetChanges {
    std::optional<std::string> name;
    std::optional<std::string> ip;
    std::optional<std::string> netmask;
    std::optional<std::string> gateway;
    std::optional<std::string> httpPort;
    std::optional<std::string> mode; // "static", "dhcp" or "pppoe"
    std::optional<std::string> pppoeAccount;
    std::optional<std::string> pppoePassword;
    std::optional<std::string> newMac; // lower-case

    bool Any() const;
};

struct CliOptions {
    CliCommand command = CliCommand::Help;
    int timeoutMs = 1500;
    std::optional<int> settleMs;   // --settle-ms; none: CLI_SETTLE_MS, or the timeout if shorter
    std::vector<std::string> to;   // --to, as typed
    std::vector<uint32_t> targets; // their addresses, host order
    double everySeconds = 5;       // watch --every
    OutputFormat format = OutputFormat::Table;
    WorkerEndpoints endpoints;
    std::string mac; // set, suggest: the device, lower-case
    SetChanges changes;
    bool verify = true;
    std::optional<TextEncoding> encoding; // --encoding; none: by the locale's language
    bool showPasswords = false;           // --show-passwords
    bool force = false;                   // send a risky change all the same
    PlanOptions plan;                     // assign, apply
    std::vector<uint32_t> probed;         // probe: the addresses of its TARGETs, host order
    bool freeOnly = false;                // probe --free

    // When each scan ends.
    ScanWait Wait() const;

    // How camera texts are read and written: in the encoding named, else in the code
    // page of the language of localeName (LC_ALL, LC_CTYPE or LANG).
    CTextCodec Codec(const std::string& localeName) const;
};

// The legacy code page of a locale's language: zh_CN and zh_SG GBK, zh_TW and zh_HK
// Big5, ja Shift_JIS, any other Windows-1252.
TextEncoding LegacyEncodingOfLocale(const std::string& localeName);

// How long a scan goes on after the last new camera answered, once the search's last query
// has gone out: cameras answer within milliseconds, and a camera that missed the first copy
// of the query answers the next, 250 ms later.
constexpr int CLI_SETTLE_MS = 300;

constexpr int CLI_EXIT_OK = 0;
constexpr int CLI_EXIT_FAILED = 1; // not found, did not verify, or the network failed
constexpr int CLI_EXIT_USAGE = 2;  // bad usage or input; nothing was sent

extern const char FINDER_CLI_USAGE[];

// Reads the arguments after the program name and checks every value; nullopt with a
// message that names the option when anything is wrong.
std::optional<CliOptions> ParseCliArguments(const std::vector<std::string>& args,
                                            std::string& error);
