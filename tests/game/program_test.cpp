// The real program under the test X server, driven with real key presses.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/harness/files.h"
#include "tests/harness/process.h"
#include "tests/harness/scratch.h"
#include "tests/harness/x11.h"

namespace fs = std::filesystem;

namespace {

// A state file as the game writes it: every field ends in "|".
bool valid_state(const std::string& s) {
    size_t bars = 0;
    for (char c : s) bars += c == '|';
    return s.rfind("RUVO_v2.0|", 0) == 0 && bars == 10515 && s.back() == '|';
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

    ProcessOutput output;
    ProcessOptions options;
    options.workDir = folder.path();
    options.env = {"ALSOFT_DRIVERS=null", "GLIMMERDEEP_PACING=1"};
    options.timeoutSeconds = 90;
    options.output = &output;
    options.whileRunning = [&](pid_t pid) {
        if (EnterMenu(pid, output).empty()) return;
        PressKey("Return");
        PressKey("Return");
        // In play once the game says so; a treasure placed shows its cave.
        if (!output.WaitForErr("pacing moment=game_start", 30)) return;
        output.WaitFor([](const std::string& out, const std::string&) {
            return out.find("Placed at ") != std::string::npos;
        }, 30);
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

// The command line, with no display at all: help, the version and a wrong
// argument are answered before anything would open a window.
struct CommandCase {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* out;  // how standard output starts; "" for nothing at all
    const char* err;  // the same for standard error
};

TEST(Program, AnswersItsCommandLineWithoutADisplay) {
    const ScratchFolder scratch("cli");
    const fs::path& folder = scratch.path();
    const std::string version = std::string("glimmerdeep ") + GLIMMERDEEP_VERSION + "\n";
    const CommandCase cases[] = {
        {"help", {"--help"}, 0, "Usage: glimmerdeep [OPTION]...\n", ""},
        {"short help", {"-h"}, 0, "Usage: glimmerdeep [OPTION]...\n", ""},
        {"help with a mode", {"--fullscreen", "--help"}, 0, "Usage: glimmerdeep [OPTION]...\n", ""},
        {"version", {"--version"}, 0, version.c_str(), ""},
        {"unknown option", {"--bogus"}, 2, "", "glimmerdeep: unknown option '--bogus'\nUsage: "},
        {"a wrong option beside help", {"--help", "-x"}, 2, "", "glimmerdeep: unknown option '-x'\nUsage: "},
        {"an argument", {"--windowed", "cave"}, 2, "", "glimmerdeep: unexpected argument 'cave'\nUsage: "},
    };
    ProcessOptions options;
    options.workDir = folder;
    options.env = {"DISPLAY", "WAYLAND_DISPLAY", "ALSOFT_DRIVERS=null"};
    options.timeoutSeconds = 10;
    ProcessResult help = RunProcess({GLIMMERDEEP_EXE, "--help"}, options);
    for (const CommandCase& c : cases) {
        std::vector<std::string> args = {GLIMMERDEEP_EXE};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ProcessResult r = RunProcess(args, options);
        EXPECT_EQ(r.status, c.status) << c.name << "\n" << r.out << r.err;
        EXPECT_EQ(r.out.rfind(c.out, 0), 0u) << c.name << ": " << r.out;
        EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << c.name << ": " << r.err;
        if (!*c.out) {
            EXPECT_EQ(r.out, "") << c.name;
        }
        if (!*c.err) {
            EXPECT_EQ(r.err, "") << c.name;
        }
        // A wrong argument: one line saying what, then the same usage.
        if (c.status == 2) {
            EXPECT_EQ(r.err.substr(r.err.find('\n') + 1), help.out) << c.name;
        }
    }
    // The usage names every option, the keys and the very state file used.
    for (const char* word : {"--fullscreen", "--windowed", "--help", "--version", "Escape", "F11", "F4",
                             "~/.local/share/glimmerdeep"})
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    EXPECT_NE(help.out.find("kept in " + (folder / ".vantlestate").string() + "\n"), std::string::npos) << help.out;
    EXPECT_TRUE(fs::is_empty(folder)) << "nothing was saved";
}

}  // namespace
