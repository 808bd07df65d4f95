#include "cli/watch_command.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "cli/cli_command.h"
#include "cli/interrupt_guard.h"
#include "core/encoding/text_escape.h"
#include "core/session/camera_watch.h"
#include "core/session/scan_session.h"

namespace {

using Clock = std::chrono::steady_clock;

// How often the pause between searches looks at the stop signal: Ctrl-C ends a watch
// within this time, or within the scan it came in.
constexpr int WATCH_STOP_POLL_MS = 50;

// "2026-12-10T14:05:09Z"
std::string UtcNow() {
    const std::time_t now = std::time(nullptr);
    char text[32];
    // finder-cli's one thread is the only caller of gmtime.
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", std::gmtime(&now));
    return text;
}

std::string EventLine(const WatchEvent& event, const FormatOptions& format, bool json) {
    const DeviceRecord& d = event.record;
    const std::string name = EscapeControls(format.codec.Shown(FieldText(d.name), ITEM_WIDTH_NAME));
    const std::string mac = MacToText(d.mac);
    const std::string ip = FieldText(d.ip);
    const char* kind = WatchEventName(event.kind);
    if (json) {
        std::string line = "{\"time\": " + JsonString(UtcNow()) +
                           ", \"event\": " + JsonString(kind) + ", \"mac\": " + JsonString(mac) +
                           ", \"name\": " + JsonString(name) + ", \"ip\": " + JsonString(ip);
        if (event.kind == WatchEvent::Kind::Changed) {
            line += ", \"changes\": " + ChangesJson(event.changes);
        }
        return line + "}";
    }
    std::string line = UtcNow() + "  " + kind + "  " + mac + "  " + ip + "  " + name;
    if (event.kind == WatchEvent::Kind::Changed) {
        line += ": " + ChangesText(event.changes);
    }
    return line;
}

// Sleeps until the moment, or less when stop is raised.
void PauseUntil(Clock::time_point until, const std::atomic<bool>& stop) {
    while (!stop.load() && Clock::now() < until) {
        std::this_thread::sleep_for(std::min<Clock::duration>(
            until - Clock::now(), std::chrono::milliseconds(WATCH_STOP_POLL_MS)));
    }
}

int RunWatch(const WatchOptions& options, std::ostream& out, std::ostream& err,
             const std::atomic<bool>& stop) {
    ScanSession session(options.endpoints);
    session.SetSearchTargets(options.targets);
    const FormatOptions format{options.Codec(LocaleName()), options.showPasswords};
    CCameraWatch watch(format);
    const auto every = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(options.everySeconds));
    while (!stop.load()) {
        const Clock::time_point started = Clock::now();
        ScanResult result;
        if (const std::optional<SessionFailure> failure = session.Scan(options.Wait(), result)) {
            return Fail(err, FailureText(*failure), CLI_EXIT_FAILED);
        }
        ReportRefusedTargets(result.searchSent, err);
        ReportLostReplies(result, err);
        for (const WatchEvent& event : watch.TakeSearch(result.devices)) {
            out << EventLine(event, format, options.format == OutputFormat::Json) << "\n";
        }
        out.flush(); // a pipe or a file sees each search's events as they happen
        PauseUntil(started + every, stop);
    }
    return CLI_EXIT_OK;
}

// Seconds between the searches of watch: a positive number, fractions allowed, at most a day.
std::string CheckEvery(const std::string& value) {
    char* end = nullptr;
    const double seconds = value.empty() ? 0 : std::strtod(value.c_str(), &end);
    return !value.empty() && end != nullptr && *end == '\0' && std::isfinite(seconds) &&
                   seconds > 0 && seconds <= 86400
               ? ""
               : "\"" + value + "\" is not a number of seconds above 0 and at most 86400";
}

} // namespace

CWatchCommand::CWatchCommand()
    : CCommand("watch", "", "tell which cameras appear, change and go, until interrupted",
               "Searches every SECONDS (default 5) until interrupted (Ctrl-C ends it with "
               "status 0) and prints one line per event: appeared (a MAC not seen before), "
               "changed (each setting's old -> new), gone (not seen in two searches in a row).",
               "0 ended by Ctrl-C or a kill; 1 the network failed; 2 bad usage or input.") {
    Options().Add(
        {"--every"}, "SECONDS",
        [this](const std::string& value) {
            std::string reason = CheckEvery(value);
            if (reason.empty()) {
                m_options.everySeconds = std::strtod(value.c_str(), nullptr);
            }
            return reason;
        },
        "seconds between searches, above 0 (default 5)");
    AddFormatOptions(Options(), m_options.format,
                     "one object per line: time (ISO 8601, UTC), event, mac, name, ip, and for "
                     "changed also changes ({\"ip\": {\"from\": .., \"to\": ..}})");
    AddSearch(m_options);
}

int CWatchCommand::Run(const CommandIo& io) {
    const CInterruptGuard interrupt; // Ctrl-C ends the watch, and finder-cli with status 0
    return RunWatch(m_options, io.out, io.err, interrupt.Raised());
}
