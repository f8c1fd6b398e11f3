// A folder of a test's own under /tmp (on Windows, the user's temporary
// folder): made fresh, made the working folder
// while the test needs one (where the game keeps its state file), and removed
// with everything in it at the end, even what the test made unwritable.
#pragma once

#include <filesystem>
#include <string>

class ScratchFolder {
public:
    // Makes /tmp/glimmerdeep-<label>-XXXXXX; throws, saying why, when it
    // cannot, so that the test fails rather than running somewhere else.
    explicit ScratchFolder(const std::string& label);
    // Leaves it if entered, then removes it.
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

    // Makes it the working folder, until Leave() returns to the one before.
    void Enter();
    void Leave();

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;  // empty while not entered
};
