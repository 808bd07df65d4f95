#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// The whole file, byte for byte; empty when it cannot be read.
std::string ReadFile(const std::string& path);

// Writes the bytes as the whole file; false when it cannot be written.
bool WriteFile(const std::string& path, const std::string& bytes);
