#include "tests/support/test_process.h"

#include <cstdio>
#include <cstdlib>

#ifndef _WIN32
#include <sys/wait.h>
#endif

std::string ShellQuoted(const std::string& path) {
    return "\"" + path + "\"";
}

int ExitStatus(int raw) {
#ifdef _WIN32
    return raw; // the program's own exit code
#else
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
}

int CommandStatus(const std::string& command) {
    return ExitStatus(std::system(command.c_str()));
}

std::string CommandOutput(const std::string& command) {
#ifdef _WIN32
    FILE* pipe = _popen(command.c_str(), "r");
#else
    FILE* pipe = popen(command.c_str(), "r");
#endif
    std::string text;
    if (pipe == nullptr) {
        return text;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        text.append(buffer, n);
    }
#ifdef _WIN32
    _pclose(pipe);
#else
    pclose(pipe);
#endif
    return text;
}
