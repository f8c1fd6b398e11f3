// What the fault tests and the soak share: the state file's layout as the
// game checks it, and the real program driven from outside on the test X
// server, in a scratch folder of its own.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/types.h>

#include "tests/harness/files.h"
#include "tests/harness/process.h"
#include "tests/harness/scratch.h"
#include "tests/harness/x11.h"

namespace reliability {

namespace fs = std::filesystem;

// The names in a folder, sorted.
std::vector<std::string> Names(const fs::path& folder);

// The state string: "RUVO_v2.0|", 201 settings and their check, then 10000
// scores with a check after each full block of 32; every field ends in "|".
enum { kSettings = 201, kScores = 10000 };
std::string MakeState(const std::vector<int>& settings, const std::vector<int>& scores);
// The settings a first run saves: the defaults, with the loading screen's
// mark (entry 100) set.
std::vector<int> FirstRunSettings();

struct ParsedState {
    bool complete = false;  // every field there, every check right
    std::vector<int> settings;
    std::vector<int> scores;
};
ParsedState ParseState(const std::string& text);

void Pause(double seconds);
// Holds a key down for `seconds`, then lets go and waits `gap`: the game
// reads which keys are down at each update.
void Hold(const std::string& key, double seconds = 0.1, double gap = 0.15);
// Presses the left button at a point given as fractions of the window's
// size, holding it as long as a key.
void Click(const std::string& window, double fx, double fy);
// Whether the process still runs (not ended, nor ended and unreaped).
bool Alive(pid_t pid);
// The resident memory of a process in kB, 0 when it is gone.
long ResidentKb(pid_t pid);

// The real program in a folder of its own: a copy of the executable, with a
// copy of the build's data folder beside it unless `withData` is false.
struct ProgramCopy {
    explicit ProgramCopy(bool withData = true);
    ScratchFolder folder{"reliability"};
    fs::path exe;
    fs::path data;
};


}  // namespace reliability
