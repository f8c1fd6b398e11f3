// Installing into a prefix, and starting the installed game through its
// launcher, which keeps the state file in the player's data folder.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/harness/files.h"
#include "tests/harness/process.h"
#include "tests/harness/scratch.h"
#include "tests/harness/x11.h"

namespace fs = std::filesystem;

namespace {

void pause(double seconds) {
    usleep(useconds_t(seconds * 1e6));
}

class Install : public ::testing::Test {
protected:
    ScratchFolder root{"install"};
    const fs::path prefix = root / "prefix";

    void SetUp() override {
        ProcessResult r = RunProcess({CMAKE_COMMAND, "--install", BUILD_DIR, "--prefix", prefix.string()});
        ASSERT_EQ(r.status, 0) << r.out << r.err;
    }
};

TEST_F(Install, PutsTheProgramItsDataALauncherAnEntryAndAnIcon) {
    EXPECT_TRUE(fs::exists(prefix / "lib/glimmerdeep/glimmerdeep"));
    EXPECT_TRUE(fs::exists(prefix / "lib/glimmerdeep/data/503/gfx.png"));
    EXPECT_TRUE(fs::exists(prefix / "lib/glimmerdeep/data/503/sfx/Aqua.ogg"));
    EXPECT_NE(ReadFile(prefix / "lib/glimmerdeep/data/LICENSE").find("MIT License\n"), std::string::npos);
    EXPECT_NE(ReadFile(prefix / "lib/glimmerdeep/data/LICENSE.fonts").find("Bitstream Vera"), std::string::npos);
    EXPECT_TRUE(fs::exists(prefix / "share/icons/hicolor/256x256/apps/glimmerdeep.png"));
    const fs::path launcher = prefix / "bin/glimmerdeep";
    ASSERT_TRUE(fs::exists(launcher));
    EXPECT_NE(fs::status(launcher).permissions() & fs::perms::owner_exec, fs::perms::none);
    std::string entry = ReadFile(prefix / "share/applications/glimmerdeep.desktop");
    EXPECT_NE(entry.find("Exec=" + launcher.string() + "\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("Icon=glimmerdeep\n"), std::string::npos);
    EXPECT_NE(entry.find("Name=Glimmerdeep\n"), std::string::npos);
}

// The player opens the options and leaves them, which saves: the state file
// lands in the data folder, not in the folder the launcher was started from.
TEST_F(Install, LauncherPlaysFromThePlayersDataFolder) {
    const fs::path elsewhere = root / "somewhere";
    fs::create_directories(elsewhere);
    ProcessOptions options;
    options.workDir = elsewhere;
    options.env = {"XDG_DATA_HOME=" + (root / "xdg").string(), "HOME=" + (root / "home").string(),
                   "ALSOFT_DRIVERS=null"};
    options.timeoutSeconds = 40;
    options.whileRunning = [](pid_t pid) {
        if (FocusGameWindow(pid).empty()) return;
        pause(2.5);  // the loading screen
        PressKey("Down");
        PressKey("Return");
        pause(1.0);
        PressKey("Escape");
        PressKey("F4");
    };
    ProcessResult r = RunProcess({(prefix / "bin/glimmerdeep").string()}, options);
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    const fs::path state = root / "xdg/glimmerdeep/.vantlestate";
    ASSERT_TRUE(fs::exists(state)) << r.out << r.err;
    EXPECT_EQ(ReadFile(state).rfind("RUVO_v2.0|7|7|", 0), 0u);
    EXPECT_FALSE(fs::exists(elsewhere / ".vantlestate"));

    // Without XDG_DATA_HOME the folder is made under the home folder.
    options.env = {"XDG_DATA_HOME", "HOME=" + (root / "home").string(), "ALSOFT_DRIVERS=null"};
    options.whileRunning = [](pid_t pid) {
        if (FocusGameWindow(pid).empty()) return;
        PressKey("F4");
    };
    r = RunProcess({(prefix / "bin/glimmerdeep").string()}, options);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(fs::is_directory(root / "home/.local/share/glimmerdeep"));
}

}  // namespace
