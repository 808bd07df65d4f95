#include "app/browser_command.h"

#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

std::optional<std::string> BrowserCommand(std::string_view registryValue) {
    const std::string_view text = registryValue.substr(0, registryValue.find('\0'));
    if (text.size() > BROWSER_COMMAND_LIMIT) {
        return std::nullopt;
    }
    const std::size_t lastBackslash = text.rfind('\\');
    if (lastBackslash == std::string_view::npos) {
        return std::string(BROWSER_FALLBACK);
    }
    std::string command(text.substr(0, lastBackslash + 1));
    command += BROWSER_PROGRAM;
    if (command.size() > BROWSER_COMMAND_LIMIT) {
        return std::nullopt;
    }
    return command;
}

#ifdef _WIN32

std::optional<std::string> ReadBrowserRegistryValue() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                      "SOFTWARE\\Classes\\Applications\\iexplore.exe\\shell\\open\\command", 0,
                      KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    char buffer[BROWSER_COMMAND_LIMIT + 1] = {};
    DWORD size = BROWSER_COMMAND_LIMIT;
    const LONG result =
        RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::string(buffer, strnlen(buffer, BROWSER_COMMAND_LIMIT));
}

void StartProgramMaximised(const std::string& commandLine) {
    WinExec(commandLine.c_str(), SW_SHOWMAXIMIZED);
}

#else

// No registry here: only the camera's page is opened, by the desktop's URL handler.
std::optional<std::string> ReadBrowserRegistryValue() {
    return std::nullopt;
}

void StartProgramMaximised(const std::string&) {}

#endif
