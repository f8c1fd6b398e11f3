// The real program under the test X server, driven with real key presses.
#include <unistd.h>

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/harness/files.h"
#include "tests/harness/process.h"
#include "tests/harness/scratch.h"
#include "tests/harness/x11.h"

namespace {

// A state file as the game writes it: every field ends in "|".
bool valid_state(const std::string& s) {
    size_t bars = 0;
    for (char c : s) bars += c == '|';
    return s.rfind("RUVO_v2.0|", 0) == 0 && bars == 10515 && s.back() == '|';
}

void pause(double seconds) {
    usleep(useconds_t(seconds * 1e6));
}

TEST(Program, PlaysFromTheMenuPausesAndQuitsOnF4) {
    ScratchFolder folder("program");
    // A state with Hard's best score at 40: 201 settings, their check, and
    // the scores with a check after every 32.
    std::string state = "RUVO_v2.0|7|7|";
    int check = 14;
    for (int i = 2; i < 201; ++i) state += (i == 11 || i == 12 ? "1|" : "0|");
    check += 2;
    state += std::to_string(check) + "|";
    int c = 0;
    for (int m = 0; m < 10000; ++m) {
        int score = m == 60 ? 40 : 0;
        state += std::to_string(score) + "|";
        c = (c + m + 1 + score) % 1740;
        if (m % 32 == 31) {
            state += std::to_string(c) + "|";
            c = 0;
        }
    }
    std::ofstream(folder / ".vantlestate", std::ios::binary) << state;

    ProcessOptions options;
    options.workDir = folder.path();
    options.env = {"ALSOFT_DRIVERS=null"};
    options.timeoutSeconds = 40;
    options.whileRunning = [](pid_t pid) {
        if (FocusGameWindow(pid).empty()) return;
        pause(2.5);  // the loading screen
        PressKey("Return");
        PressKey("Return");
        pause(1.5);
        PressKey("Escape");
        PressKey("F4");
    };
    ProcessResult r = RunProcess({GLIMMERDEEP_EXE}, options);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Placed at "), std::string::npos) << "a game was started";
    EXPECT_EQ(r.out.find("Vantle Runtime Error"), std::string::npos) << r.out;
    std::string after = ReadFile(folder / ".vantlestate");
    EXPECT_TRUE(valid_state(after));
    EXPECT_EQ(after, state) << "nothing to save: the file stays as it was";
}

}  // namespace
