#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "finder-test-XXXXXX").string();
    EXPECT_NE(mkdtemp(pattern.data()), nullptr);
    m_path = pattern;
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
