#include "core/program/finder_version.h"

// The build passes the project version to this file only, so a new version rebuilds one
// file.
const char* FinderVersion() {
    return FINDER_VERSION;
}

std::string VersionLine(const char* program) {
    return std::string(program) + " " + FinderVersion() + "\n";
}
