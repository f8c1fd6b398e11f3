// The host services' tests' fixture: a host in a fresh scratch folder, which
// is also the working folder, where the state file lives.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/glfwgame.h"
#include "tests/harness/scratch.h"

namespace fs = std::filesystem;

inline String utf16(const std::u16string& u) {
    return String(reinterpret_cast<const Char*>(u.data()), int(u.size()));
}

inline String text(const std::string& s) {
    return String(s.c_str());
}

// Each test works in a fresh folder of its own, which is also the working
// folder, where the state file lives.
class Services : public ::testing::Test {
protected:
    ScratchFolder folder{"host"};
    XrGlfwGame* host = new XrGlfwGame();

    void SetUp() override { folder.Enter(); }
    void TearDown() override { delete host; }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.path()))
            names.push_back(entry.path().filename().u8string());
        return names;
    }
};
