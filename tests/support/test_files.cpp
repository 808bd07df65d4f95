#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

TempFolder::TempFolder() {
    // A random name that nobody has taken: create_directory says whether it was free.
    std::random_device seed;
    std::mt19937_64 random(seed());
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
        const std::filesystem::path candidate =
            base / ("finder-test-" + std::to_string(random() % 1000000000));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            m_path = candidate.generic_string();
        }
    }
    EXPECT_FALSE(m_path.empty()) << "no temporary folder under " << base;
}

TempFolder::~TempFolder() {
    // A test may have taken permissions away; removal must not depend on them.
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}
