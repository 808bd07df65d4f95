#pragma once

#include <optional>
#include <string>
#include <string_view>

// Where the platform registers a browser start command (Windows: the default value of
// HKLM "SOFTWARE\Classes\Applications\iexplore.exe\shell\open\command"), the finder starts
// that browser maximised before it opens a camera's page.

constexpr std::size_t BROWSER_COMMAND_LIMIT = 260; // characters, without the zero byte
constexpr char BROWSER_PROGRAM[] = "iexplore.exe ";
constexpr char BROWSER_FALLBACK[] = "C:\\Program Files\\Internet Explorer\\iexplore.exe";

// The command started for a registry value: the value up to and with its last backslash,
// followed by "iexplore.exe "; the fallback path when the value has no backslash. The text
// ends at its first zero byte. Nothing (no browser start) when the value is too long to
// read, or when the command would not fit in 260 characters.
std::optional<std::string> BrowserCommand(std::string_view registryValue);

// The registry value, where the platform has one; nothing elsewhere.
std::optional<std::string> ReadBrowserRegistryValue();

// Starts a command line with its window maximised; the result is not examined.
void StartProgramMaximised(const std::string& commandLine);
