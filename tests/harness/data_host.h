// The host the in-process tests run the shell and the game on: assets come
// from a data folder the test names, and the clock stands still unless the
// test moves it (the host's own waits move it too), so that what a test sees
// follows from its updates alone.
#pragma once

#include <filesystem>
#include <string>

#include "host/glfwgame.h"
#include "tests/harness/files.h"

template <class Base>
class DataHostOf : public Base {
public:
    std::filesystem::path dataFolder;
    double now = 100;  // seconds

    String PathToFilePath(String path) override {
        const String data("vantle://data/");
        if (path.StartsWith(data)) return PathText(dataFolder) + String("/") + path.Slice(data.Length());
        return Base::PathToFilePath(path);
    }
    double GetTime() override { return now; }
    void Sleep(double seconds) override { now += seconds; }
};

using DataHost = DataHostOf<XrGlfwGame>;

// File `file` of data folder `folder`, its folders made, to be written.
inline std::filesystem::path DataFile(const std::filesystem::path& folder, const std::string& file) {
    const std::filesystem::path path = folder / file;
    std::filesystem::create_directories(path.parent_path());
    return path;
}
