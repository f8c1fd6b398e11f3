// The real program meeting the faults a player's machine can throw at it:
// missing or damaged data, no sound device, a damaged state file or one that
// cannot be written. Every run goes from the menu into a game and ends on F4
// with status 0, and whatever was saved before is still there, whole.
//
// Without a display the program prints "glfwInit failed" and ends with status
// 255: tests/runtime/process_test.cpp, Process.WithoutADisplayGlfwInitFails.
#include <fstream>
#include <functional>
#include <ostream>
#include <random>

#include <gtest/gtest.h>

#include "tests/harness/process.h"
#include "tests/harness/x11.h"
#include "tests/reliability/reliability.h"

namespace reliability {
namespace {

const char* const kRuntimeError = "Vantle Runtime Error";

// The program, run under an optional wrapper command.
struct Launch {
    fs::path exe = GLIMMERDEEP_EXE;
    fs::path workDir;
    std::vector<std::string> wrapper;
    std::vector<std::string> env = {"ALSOFT_DRIVERS=null"};
};

// Runs the program, drives it with `script` once the menu is up, and quits
// it with F4 if it still runs; `colours` gets what the menu showed.
ProcessResult Play(const Launch& launch, const std::function<void()>& script, int* colours = nullptr) {
    std::vector<std::string> args = launch.wrapper;
    args.push_back(launch.exe);
    ProcessOptions options;
    options.workDir = launch.workDir;
    options.env = launch.env;
    options.timeoutSeconds = 40;
    options.whileRunning = [&](pid_t pid) {
        std::string window = EnterMenu(pid);
        if (window.empty()) return;
        if (colours) *colours = DistinctColours(window);
        script();
        if (Alive(pid)) PressKey("F4");
    };
    return RunProcess(args, options);
}

// From the menu with its cursor on Start Game: Normal, the preselected
// difficulty, starts at once.
void StartAGame() {
    PressKey("Return");
    PressKey("Return");
    Pause(0.4);
}

void SwimAbout() {
    Hold("Right", 0.4);
    Hold("Down", 0.3);
}

void PauseAndResume() {
    PressKey("Escape");
    Pause(0.3);
    PressKey("Escape");
}

// From the menu with its cursor on Start Game: the options screen, left
// again, which saves; the cursor goes back to Start Game.
void VisitOptions() {
    PressKey("Down");
    PressKey("Return");
    Pause(0.3);
    PressKey("Escape");
    PressKey("Up");
}

// In play: the pause screen's Quit, then the game-over sequence, at whose end
// the score is recorded and saved.
void FinishAGame() {
    PressKey("Escape");
    PressKey("Up");
    PressKey("Return");
    Pause(3.2);
}

void ExpectRanWhole(const ProcessResult& r) {
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Placed at "), std::string::npos) << "a game was started";
    EXPECT_EQ(r.out.find(kRuntimeError), std::string::npos) << r.out;
}

std::vector<int> NoScores() {
    return std::vector<int>(kScores, 0);
}

// A state from earlier games: Normal's best 9 and last five 9 8 7 6 5, and
// Hard's best 40.
std::string EarlierState() {
    std::vector<int> scores = NoScores();
    scores[40] = 9;
    for (int k = 0; k < 5; ++k) scores[size_t(45 + k)] = 9 - k;
    scores[60] = 40;
    return MakeState(FirstRunSettings(), scores);
}

std::string Garbage(size_t length) {
    std::mt19937 random(7);
    std::string bytes(length, 0);
    for (char& c : bytes) c = char(random());
    return bytes;
}

// ---------------------------------------------------------------------------
// Data

enum class Damage { NoDataFolder, Missing, Garbage, Truncated };

struct DataCase {
    const char* name;
    const char* file;  // under data/
    Damage damage;
};

// Names the case in test listings, where ctest shows it.
void PrintTo(const DataCase& c, std::ostream* out) {
    *out << c.name;
}

class DataFault : public ::testing::TestWithParam<DataCase> {};

TEST_P(DataFault, GameStartsShowsWhatItHasAndPlays) {
    const DataCase& c = GetParam();
    ProgramCopy program(c.damage != Damage::NoDataFolder);
    const fs::path file = program.data / c.file;
    if (c.damage == Damage::Missing) {
        ASSERT_TRUE(fs::remove(file));
    }
    if (c.damage == Damage::Garbage) WriteFile(file, Garbage(5000));
    if (c.damage == Damage::Truncated) fs::resize_file(file, fs::file_size(file) / 2);

    TempFolder work;
    Launch launch;
    launch.exe = program.exe;
    launch.workDir = work.path();
    int colours = 0;
    ProcessResult r = Play(launch, [] {
        StartAGame();
        SwimAbout();
        PauseAndResume();
    }, &colours);
    ExpectRanWhole(r);
    EXPECT_GT(colours, 1) << "the menu shows something";
}

INSTANTIATE_TEST_SUITE_P(Reliability, DataFault, ::testing::Values(
    DataCase{"NoDataFolder", "", Damage::NoDataFolder},
    DataCase{"GameImageMissing", "503/gfx.png", Damage::Missing},
    DataCase{"MenuImageCorrupt", "503/menu.png", Damage::Garbage},
    DataCase{"FontImageTruncated", "common/bandwidth.png", Damage::Truncated},
    DataCase{"SoundMissing", "503/sfx/001.wav", Damage::Missing},
    DataCase{"SoundCorrupt", "common/099.wav", Damage::Garbage},
    DataCase{"MusicMissing", "503/sfx/Aqua.ogg", Damage::Missing},
    DataCase{"MusicTruncated", "503/sfx/Aqua.ogg", Damage::Truncated}),
    [](const ::testing::TestParamInfo<DataCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Sound

TEST(Reliability, NoSoundDeviceGivesASilentWholeGame) {
    TempFolder work;
    const std::string earlier = EarlierState();
    WriteFile(work.path() / ".vantlestate", earlier);
    Launch launch;
    launch.workDir = work.path();
    launch.env = {"ALSOFT_DRIVERS=nosuchdriver"};
    ProcessResult r = Play(launch, [] {
        StartAGame();
        FinishAGame();
    });
    ExpectRanWhole(r);
    const std::string message = "OpenAl error: alcOpenDevice failed\n";
    const size_t at = r.out.find(message);
    EXPECT_NE(at, std::string::npos) << r.out;
    EXPECT_EQ(r.out.find(message, at + 1), std::string::npos) << "said once";

    // The finished game's score went into Normal's last five, and was saved.
    ParsedState saved = ParseState(ReadFile(work.path() / ".vantlestate"));
    ASSERT_TRUE(saved.complete);
    EXPECT_GE(saved.scores[45], 0);
    EXPECT_EQ(std::vector<int>(saved.scores.begin() + 46, saved.scores.begin() + 50), (std::vector<int>{9, 8, 7, 6}));
    EXPECT_EQ(saved.scores[60], 40);
}

// ---------------------------------------------------------------------------
// A damaged state file

enum class StateDamage { Garbage, Truncated, Huge, Folder };

struct StateCase {
    const char* name;
    StateDamage damage;
};

void PrintTo(const StateCase& c, std::ostream* out) {
    *out << c.name;
}

class StateFault : public ::testing::TestWithParam<StateCase> {};

TEST_P(StateFault, DefaultsLoadTheGameRunsAndALaterSaveIsHarmless) {
    const StateCase& c = GetParam();
    TempFolder work;
    const fs::path state = work.path() / ".vantlestate";
    std::vector<int> kept = NoScores();
    switch (c.damage) {
    case StateDamage::Garbage:
        WriteFile(state, Garbage(30000));
        break;
    case StateDamage::Truncated: {
        // Cut just after the check of the second score block: the scores up
        // to there are kept, Hard's best among them, and the rest is lost.
        std::vector<int> scores = NoScores();
        scores[60] = kept[60] = 40;
        scores[5000] = 99;
        const std::string whole = MakeState(FirstRunSettings(), scores);
        size_t cut = 0;
        for (int field = 0; field < 1 + kSettings + 1 + 64 + 2; ++field) cut = whole.find('|', cut) + 1;
        WriteFile(state, whole.substr(0, cut));
        break;
    }
    case StateDamage::Huge: {
        // 100 MB that opens like a state: every field a number to split out.
        std::string fields;
        for (int i = 0; i < 1 << 20; ++i) fields += "1|";
        std::ofstream out(state, std::ios::binary);
        out << "RUVO_v2.0|";
        for (int i = 0; i < 50; ++i) out << fields;
        break;
    }
    case StateDamage::Folder:
        fs::create_directory(state);
        WriteFile(state / "keep", "kept");
        break;
    }

    Launch launch;
    launch.workDir = work.path();
    ProcessResult r = Play(launch, [] {
        VisitOptions();
        StartAGame();
        PauseAndResume();
    });
    ExpectRanWhole(r);

    if (c.damage == StateDamage::Folder) {
        EXPECT_TRUE(fs::is_directory(state));
        EXPECT_EQ(ReadFile(state / "keep"), "kept");
        EXPECT_EQ(Names(work.path()), std::vector<std::string>{".vantlestate"}) << "no temporary file left";
    } else {
        // Compared whole, but not printed whole: it may be the 100 MB.
        const std::string saved = ReadFile(state);
        EXPECT_TRUE(saved == MakeState(FirstRunSettings(), kept))
            << "saved whole on leaving the options; the file holds " << saved.size() << " bytes";
        EXPECT_EQ(Names(work.path()), std::vector<std::string>{".vantlestate"});
    }
}

INSTANTIATE_TEST_SUITE_P(Reliability, StateFault, ::testing::Values(
    StateCase{"Garbage", StateDamage::Garbage},
    StateCase{"Truncated", StateDamage::Truncated},
    StateCase{"Huge", StateDamage::Huge},
    StateCase{"Folder", StateDamage::Folder}),
    [](const ::testing::TestParamInfo<StateCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// A working folder that cannot be written

// The tests run as root, whom permissions do not stop: the program runs
// without the capabilities that override them, as an ordinary player would.
const std::vector<std::string> kWithoutOverride = {
    "/usr/bin/setpriv", "--inh-caps=-dac_override,-dac_read_search",
    "--bounding-set=-dac_override,-dac_read_search", "--"};

void PlayAndFinish() {
    VisitOptions();
    StartAGame();
    FinishAGame();
}

TEST(Reliability, ReadOnlyFolderKeepsThePreviousState) {
    TempFolder work;
    const std::string earlier = EarlierState();
    WriteFile(work.path() / ".vantlestate", earlier);
    fs::permissions(work.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    std::vector<std::string> probe = kWithoutOverride;
    probe.insert(probe.end(), {"/bin/sh", "-c", "echo > probe"});
    ProcessOptions options;
    options.workDir = work.path();
    ASSERT_NE(RunProcess(probe, options).status, 0) << "the folder is really read-only";

    Launch launch;
    launch.workDir = work.path();
    launch.wrapper = kWithoutOverride;
    ProcessResult r = Play(launch, PlayAndFinish);
    ExpectRanWhole(r);
    EXPECT_EQ(ReadFile(work.path() / ".vantlestate"), earlier);
    EXPECT_EQ(Names(work.path()), std::vector<std::string>{".vantlestate"});
}

TEST(Reliability, RemovedWorkingFolderSavesNothingAndRuns) {
    TempFolder work;
    const fs::path gone = work.path() / "gone";
    fs::create_directory(gone);
    ProcessOptions options;
    options.workDir = gone;
    options.env = {"ALSOFT_DRIVERS=null"};
    options.timeoutSeconds = 40;
    options.whileRunning = [&](pid_t pid) {
        if (EnterMenu(pid).empty()) return;
        fs::remove(gone);
        VisitOptions();
        StartAGame();
        PressKey("F4");
    };
    ProcessResult r = RunProcess({GLIMMERDEEP_EXE}, options);
    ExpectRanWhole(r);
    EXPECT_TRUE(Names(work.path()).empty());
}

TEST(Reliability, FullDiskKeepsThePreviousState) {
    TempFolder work;
    const std::string earlier = EarlierState();
    WriteFile(work.path() / ".vantlestate", earlier);
    Launch launch;
    launch.workDir = work.path();
    // Files may grow to 4 KB, a fifth of a state.
    launch.wrapper = {"/usr/bin/prlimit", "--fsize=4096", "--"};
    ProcessResult r = Play(launch, PlayAndFinish);
    ExpectRanWhole(r);
    EXPECT_EQ(ReadFile(work.path() / ".vantlestate"), earlier);
    EXPECT_EQ(Names(work.path()), std::vector<std::string>{".vantlestate"});
}

}  // namespace
}  // namespace reliability
