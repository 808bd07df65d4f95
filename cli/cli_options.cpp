#include "cli/cli_options.h"

#include <algorithm>
#include <functional>

#include "core/rules/input_checks.h"
#include "core/wire/device_table.h"

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string CheckEncoding(const std::string& value) {
    return EncodingFromName(value)
               ? ""
               : Quoted(value) + " is not an encoding (utf-8, gbk, big5, " + "shift_jis or cp1252)";
}

std::string CheckTimeout(const std::string& value) {
    const bool digits = !value.empty() && value.size() <= 6 &&
                        value.find_first_not_of("0123456789") == std::string::npos;
    return digits && std::stoi(value) >= 1 && std::stoi(value) <= 600000
               ? ""
               : Quoted(value) + " is not a number of milliseconds from 1 to 600000";
}

// A number of milliseconds, stored when good.
OptionApply Milliseconds(const std::function<void(int)>& store) {
    return [store](const std::string& value) {
        std::string reason = CheckTimeout(value);
        if (reason.empty()) {
            store(std::stoi(value));
        }
        return reason;
    };
}

} // namespace

std::string CheckAddress(const std::string& value) {
    return IsDottedAddress(value)
               ? ""
               : Quoted(value) + " is not four dotted decimal numbers of 0 to 255";
}

std::string CheckMac(const std::string& value) {
    return ReadMacText(value) ? "" : Quoted(value) + " is not 12 hexadecimal digits";
}

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

CTextCodec SearchOptions::Codec(const std::string& localeName) const {
    return encoding ? CTextCodec(*encoding, true) : CTextCodec(LegacyEncodingOfLocale(localeName));
}

ScanWait SearchOptions::Wait() const {
    return {timeoutMs, settleMs.value_or(std::min(CLI_SETTLE_MS, timeoutMs))};
}

std::string SearchOptions::Finish() {
    if (std::string fault = NetworkOptions::Finish(); !fault.empty()) {
        return fault;
    }
    if (settleMs && *settleMs > timeoutMs) {
        return "--settle-ms: " + std::to_string(*settleMs) +
               " ms is longer than the longest wait, --timeout-ms " + std::to_string(timeoutMs) +
               " ms";
    }
    return "";
}

std::string CameraOptions::TakeMac(const std::string& argument) {
    if (!mac.empty()) {
        return "unexpected argument " + Quoted(argument);
    }
    if (std::string reason = CheckMac(argument); !reason.empty()) {
        return "MAC " + reason;
    }
    mac = *ReadMacText(argument);
    return "";
}

std::string CameraOptions::MissingMac(const std::string& command) const {
    return mac.empty() ? command + " needs the MAC of the device (12 hexadecimal digits)" : "";
}

void AddSearchOptions(COptionTable& table, SearchOptions& o) {
    table.Add({"--timeout-ms"}, "N", Milliseconds([&o](int ms) { o.timeoutMs = ms; }),
              "the longest wait for the replies of each scan, 1 to 600000 (default 1500); a "
              "scan that finds nobody waits this long");
    table.Add({"--settle-ms"}, "N", Milliseconds([&o](int ms) { o.settleMs = ms; }),
              "once the last query has gone out, end the scan when no new camera has answered "
              "for N ms (default " +
                  std::to_string(CLI_SETTLE_MS) + "; at most --timeout-ms)");
    table.Add(
        {"--encoding"}, "ENC",
        [&o](const std::string& value) {
            std::string reason = CheckEncoding(value);
            if (reason.empty()) {
                o.encoding = EncodingFromName(value);
            }
            return reason;
        },
        "how camera texts that are no UTF-8 are read and written: utf-8, gbk, big5, shift_jis "
        "or cp1252 (default: the code page of the locale's language, LANG: gbk for zh_CN, big5 "
        "for zh_TW, shift_jis for ja, cp1252 for any other). Texts are printed in UTF-8; bytes "
        "that no encoding reads show as U+FFFD marks.");
    AddNetworkOptions(table, o, NetworkTargets::With);
}

void AddFormatOptions(COptionTable& table, OutputFormat& format, const std::string& jsonHelp,
                      const std::string& csvHelp) {
    const auto take = [&format](OutputFormat taken) {
        return [&format, taken](const std::string&) {
            if (format != OutputFormat::Table) {
                return std::string("give either --json or --csv, not both");
            }
            format = taken;
            return std::string();
        };
    };
    table.Add({"--json"}, "", take(OutputFormat::Json), jsonHelp);
    if (!csvHelp.empty()) {
        table.Add({"--csv"}, "", take(OutputFormat::Csv), csvHelp);
    }
}

void AddPasswordOption(COptionTable& table, bool& showPasswords) {
    table.Add(
        {"--show-passwords"}, "",
        [&showPasswords](const std::string&) {
            showPasswords = true;
            return std::string();
        },
        "print the PPPoE password in --json and --csv (never in the table)");
}
