#pragma once

#include <string>

// The finder's version, as every program of it reports it: the project version of the
// build ("1.0.0"), set in one place, the top CMakeLists.txt.
const char* FinderVersion();

// What every program prints for --version: "NAME VERSION" and a newline.
std::string VersionLine(const char* program);
