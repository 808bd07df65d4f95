#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// How the finder writes a camera's text where something else reads it: a terminal, a
// spreadsheet, a JSON reader. A camera may name itself anything, so every character that
// could steer the reader (C0 and C1 controls, DEL, bidirectional overrides and isolates,
// line separators) is shown as an escape instead: "\x1b" for a byte, "\u202e" for a
// character. Texts are bytes; valid UTF-8 (as the camera text codec reads it) is read as
// UTF-8, any other byte stands alone.

// The text with every control shown as an escape; everything else as it is.
std::string EscapeControls(std::string_view text);

// The same for a table on a terminal, where nothing else tells an escape from typed text: a
// backslash is doubled, so a name that holds the characters \x1b reads "\\x1b".
std::string TableText(std::string_view text);

// One CSV cell: controls escaped; a cell that starts with '=', '+', '-' or '@' gets an
// apostrophe in front, so a spreadsheet shows it rather than running it as a formula;
// quoted when it holds a comma or a quote.
std::string CsvCell(std::string_view text);

// A JSON string literal, quotes included: controls as \u escapes, and U+FFFD for each
// byte that is no valid UTF-8, so that no two different texts read the same.
std::string JsonString(std::string_view text);
