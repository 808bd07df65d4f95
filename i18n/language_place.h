#pragma once

#include <string>
#include <vector>

// Where the finder's window finds its language.db. The database the finder ships (next to
// the program in the build tree, in share/finder once installed) may be read-only, so the
// window works on the user's own copy in the user's data folder, which keeps the language
// the user picked. A shipped database whose texts differ from the copy's (a newer or an
// older finder) renews the copy's texts and keeps the pick.

// What the user is told about the place, once, at start.
enum class LanguagePlaceNote {
    None,
    NotFound,     // no shipped database and no copy: the window stays in English
    NoUserFolder, // the user's data folder cannot be made: the pick is not kept
    CopyFailed,   // the copy cannot be written: the pick is not kept
};

struct LanguageSearch {
    std::vector<std::string> shipped; // where a shipped language.db may lie, in order
    std::string userFolder;           // the user's data folder; empty when there is none
};

struct LanguagePlace {
    std::string path; // the database the window opens; empty when none was found
    bool readOnly = false;
    LanguagePlaceNote note = LanguagePlaceNote::None;
    std::vector<std::string> tried; // for NotFound: every file looked for
    std::string detail;             // for the failures: the path and the system's reason
};

constexpr const char* LANG_PLACE_FILE = "language.db";

// Finds the shipped database, makes or renews the user's copy and says which file the
// window opens. Never fails: what goes wrong is in the note.
LanguagePlace PlaceLanguageDb(const LanguageSearch& search);
