#pragma once

#include <string>

// Running a program through the system's command interpreter (sh, or cmd on Windows), for
// tests of the finder's executables as a user starts them.

#ifdef _WIN32
constexpr char NULL_DEVICE[] = "NUL";
#else
constexpr char NULL_DEVICE[] = "/dev/null";
#endif

// A path as one word of a command line, spaces and all.
std::string ShellQuoted(const std::string& path);

// The exit status of a finished command from std::system's result; -1 when it did not end
// by itself (a signal killed it).
int ExitStatus(int raw);

int CommandStatus(const std::string& command);         // runs it, returns its exit status
std::string CommandOutput(const std::string& command); // runs it, returns what it printed
