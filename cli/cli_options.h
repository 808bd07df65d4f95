#pragma once

#include <optional>
#include <string>

#include "core/encoding/text_codec.h"
#include "core/program/network_options.h"
#include "core/program/option_table.h"
#include "core/session/scan_session.h"

enum class OutputFormat { Table, Json, Csv };

// What every command that searches takes: how long each scan waits, how camera texts are
// read, and where the searches go.
struct SearchOptions : NetworkOptions {
    int timeoutMs = 1500;
    std::optional<int> settleMs; // --settle-ms; none: CLI_SETTLE_MS, or the timeout if shorter
    std::optional<TextEncoding> encoding; // --encoding; none: by the locale's language

    // When each scan ends.
    ScanWait Wait() const;

    // How camera texts are read and written: in the encoding named, else in the code
    // page of the language of localeName (LC_ALL, LC_CTYPE or LANG).
    CTextCodec Codec(const std::string& localeName) const;

    // The network options' faults, then a settle time longer than the timeout.
    std::string Finish();
};

// A command about one camera, named by its MAC (set, suggest).
struct CameraOptions : SearchOptions {
    std::string mac; // lower-case; empty until given

    // The first argument that is no option is the MAC; empty when taken, else why not.
    std::string TakeMac(const std::string& argument);

    // The fault when no MAC was given to command; empty when one was.
    std::string MissingMac(const std::string& command) const;
};

// --timeout-ms, --settle-ms, --encoding, --to and the network options.
void AddSearchOptions(COptionTable& table, SearchOptions& options);

// --json, and --csv when it has a help text; one of them at most.
void AddFormatOptions(COptionTable& table, OutputFormat& format, const std::string& jsonHelp,
                      const std::string& csvHelp = {});

// --show-passwords.
void AddPasswordOption(COptionTable& table, bool& showPasswords);

// The legacy code page of a locale's language: zh_CN and zh_SG GBK, zh_TW and zh_HK
// Big5, ja Shift_JIS, any other Windows-1252.
TextEncoding LegacyEncodingOfLocale(const std::string& localeName);

// The check of a value: empty when good, else the reason, the value quoted.
std::string CheckMac(const std::string& value);
std::string CheckAddress(const std::string& value);

// How long a scan goes on after the last new camera answered, once the search's last query
// has gone out: cameras answer within milliseconds, and a camera that missed the first copy
// of the query answers the next, 250 ms later.
constexpr int CLI_SETTLE_MS = 300;

constexpr int CLI_EXIT_OK = 0;
constexpr int CLI_EXIT_FAILED = 1; // what each command's --help says
constexpr int CLI_EXIT_USAGE = 2;  // bad usage or input; nothing was sent
