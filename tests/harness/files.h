// Whole files as strings, for tests that check what a program wrote, the
// names in a folder, and paths as the game's own strings.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "runtime/string.h"

// A path as the game writes one: UTF-8 bytes, one unit each, and "/"
// between names (on Windows a path's native form is UTF-16 with "\\").
inline String PathText(const std::filesystem::path& path) {
    return String(path.generic_u8string().c_str());
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The names in a folder, sorted; none when it cannot be read.
inline std::vector<std::string> Names(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
