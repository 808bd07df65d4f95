#pragma once

#include <ostream>
#include <string>

#include "cli/cli_options.h"
#include "core/session/scan_session.h"

// What the commands of finder-cli share: their messages, and the first scan each starts
// with.

// The locale's name as the C library picks it: LC_ALL, then LC_CTYPE, then LANG.
std::string LocaleName();

// Tells err the message after "finder-cli: " and returns status.
int Fail(std::ostream& err, const std::string& message, int status);

// A failed scan or send in words: the worker's own status line in the sentence.
std::string FailureText(const SessionFailure& failure);

// The first scan of a command, with the words a user needs when some cards failed, nothing
// answered, --to addresses were refused or replies were lost. False when the scan itself
// failed (error says why).
bool FirstScan(ScanSession& session, const SearchOptions& options, ScanResult& result,
               std::ostream& err, std::string& error);

// Unicast queries the system would not send (no route to a --to address), counted.
void ReportRefusedTargets(const SearchSent& sent, std::ostream& err);

// Replies that never made it into the result are named, so that "0 devices" after a
// flood of over-long datagrams is not taken for an empty network.
void ReportLostReplies(const ScanResult& result, std::ostream& err);

// The first scan, then the camera the command names by its MAC. Nothing, once err has been
// told why, when the scan failed or no camera answered with that MAC (`missing` ends that
// sentence); either way the command fails with CLI_EXIT_FAILED.
const DeviceRecord* ScanForCamera(ScanSession& session, const CameraOptions& options,
                                  ScanResult& scanned, std::ostream& err,
                                  const std::string& missing);
