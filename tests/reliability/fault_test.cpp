// The real program meeting the faults a player's machine can throw at it:
// missing or damaged data, no sound device, a damaged state file or one that
// cannot be written. Every run goes from the menu into a game and ends on F4
// with status 0, and whatever was saved before is still there, whole.
//
// Without a display the program prints "glfwInit failed" and ends with status
// 255: tests/runtime/process_test.cpp, Process.WithoutADisplayGlfwInitFails.
#include <cstdlib>
#include <fstream>
#include <functional>
#include <ostream>
#include <random>

#include <gtest/gtest.h>

#include "tests/harness/files.h"
#include "tests/harness/process.h"
#include "tests/harness/program_copy.h"
#include "tests/harness/scratch.h"
#include "tests/harness/state_file.h"
#include "tests/harness/x11.h"

namespace fs = std::filesystem;

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
// it with F4 if it still runs; `menu` gets what the menu showed once its
// pieces had flown in and its colour had settled.
ProcessResult Play(const Launch& launch, const std::function<void()>& script, WindowImage* menu = nullptr) {
    std::vector<std::string> args = launch.wrapper;
    args.push_back(launch.exe);
    ProcessOutput output;
    ProcessOptions options;
    options.workDir = launch.workDir;
    options.env = launch.env;
    options.env.push_back("GLIMMERDEEP_PACING=1");  // the game says when its menu is up
    options.timeoutSeconds = 90;
    options.output = &output;
    options.whileRunning = [&](pid_t pid) {
        std::string window = EnterMenu(pid, output);
        if (window.empty()) return;
        if (menu) *menu = CaptureWindow(window);
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
    return std::vector<int>(kStateScores, 0);
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

// What of the menu a damaged data folder leaves.
enum class Menu {
    Whole,       // the damaged file is not one the menu shows
    NoBackdrop,  // the picture behind the menu is gone
    NoText,      // the font is gone
    Bare,        // no pictures and no text: the menu's colour under its two bands
};

struct DataCase {
    const char* name;
    const char* file;  // under data/
    Damage damage;
    Menu menu;
};

// Names the case in test listings, where ctest shows it.
void PrintTo(const DataCase& c, std::ostream* out) {
    *out << c.name;
}

// The menu of the program with its whole data folder, as a player sees it;
// once settled, it shows the same pixels in every run.
const WindowImage& IntactMenu() {
    static const WindowImage menu = [] {
        WindowImage shot;
        ProgramCopy program;
        ScratchFolder work("reliability");
        Launch launch;
        launch.exe = program.exe;
        launch.workDir = work.path();
        Play(launch, [] {}, &shot);
        return shot;
    }();
    return menu;
}

// Parts of the settled menu in its 640 x 480 window.
struct Region {
    const char* name;
    int x0, y0, x1, y1;
};
const Region kTitle = {"the title", 180, 30, 450, 170};
const Region kItems = {"the items", 165, 310, 390, 460};
const Region kLeft = {"the backdrop on the left", 0, 180, 150, 300};
const Region kRight = {"the backdrop on the right", 450, 180, 640, 480};
const Region kWindow = {"the window", 0, 0, 640, 480};

// The share of a region's pixels that `test` accepts.
double Share(const Region& r, const std::function<bool(int, int)>& test) {
    int yes = 0;
    for (int y = r.y0; y < r.y1; ++y)
        for (int x = r.x0; x < r.x1; ++x) yes += test(x, y);
    return double(yes) / double((r.x1 - r.x0) * (r.y1 - r.y0));
}

double SameAs(const WindowImage& shot, const WindowImage& other, const Region& r) {
    return Share(r, [&](int x, int y) { return shot.At(x, y) == other.At(x, y); });
}

// Under everything the menu draws its two bands, at alpha 0.75 over its
// green (80, 140, 80): (100, 100, 0) below the diagonal, (100, 50, 0) above.
const uint32_t kLowerBand = 0x5F6E14, kUpperBand = 0x5F4814;

bool Near(uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16})
        if (std::abs(int(a >> shift & 255) - int(b >> shift & 255)) > 2) return false;
    return true;
}

double Bands(const WindowImage& shot, const Region& r) {
    return Share(r, [&](int x, int y) { return Near(shot.At(x, y), kLowerBand) || Near(shot.At(x, y), kUpperBand); });
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

    ScratchFolder work("reliability");
    Launch launch;
    launch.exe = program.exe;
    launch.workDir = work.path();
    WindowImage menu;
    ProcessResult r = Play(launch, [] {
        StartAGame();
        SwimAbout();
        PauseAndResume();
    }, &menu);
    ExpectRanWhole(r);

    ASSERT_EQ(menu.width, 640) << "the menu was seen";
    ASSERT_EQ(menu.height, 480);
    if (c.menu == Menu::Bare) {
        EXPECT_GT(Bands(menu, kWindow), 0.99);
        EXPECT_TRUE(Near(menu.At(40, 400), kLowerBand)) << std::hex << menu.At(40, 400);
        EXPECT_TRUE(Near(menu.At(600, 40), kUpperBand)) << std::hex << menu.At(600, 40);
        return;
    }
    const WindowImage& intact = IntactMenu();
    ASSERT_EQ(intact.width, 640) << "the whole game's menu was seen";
    switch (c.menu) {
    case Menu::Whole:
        EXPECT_TRUE(menu.pixels == intact.pixels) << "the menu as with the whole data folder";
        break;
    case Menu::NoBackdrop:
        for (const Region& region : {kLeft, kRight}) EXPECT_GT(Bands(menu, region), 0.99) << region.name;
        EXPECT_GT(SameAs(menu, intact, kTitle), 0.4) << "the title's letters as in the whole game";
        EXPECT_GT(SameAs(menu, intact, kItems), 0.1) << "the items' letters as in the whole game";
        break;
    case Menu::NoText:
        for (const Region& region : {kTitle, kLeft, kRight})
            EXPECT_EQ(SameAs(menu, intact, region), 1.0) << region.name;
        EXPECT_LT(SameAs(menu, intact, kItems), 0.9) << "no items' letters";
        EXPECT_EQ(Bands(menu, kItems), 0) << "the backdrop behind them";
        break;
    case Menu::Bare:
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Reliability, DataFault, ::testing::Values(
    DataCase{"NoDataFolder", "", Damage::NoDataFolder, Menu::Bare},
    DataCase{"GameImageMissing", "503/gfx.png", Damage::Missing, Menu::Whole},
    DataCase{"MenuImageCorrupt", "503/menu.png", Damage::Garbage, Menu::NoBackdrop},
    DataCase{"FontImageTruncated", "common/bandwidth.png", Damage::Truncated, Menu::NoText},
    DataCase{"SoundMissing", "503/sfx/001.wav", Damage::Missing, Menu::Whole},
    DataCase{"SoundCorrupt", "common/099.wav", Damage::Garbage, Menu::Whole},
    DataCase{"MusicMissing", "503/sfx/Aqua.ogg", Damage::Missing, Menu::Whole},
    DataCase{"MusicTruncated", "503/sfx/Aqua.ogg", Damage::Truncated, Menu::Whole}),
    [](const ::testing::TestParamInfo<DataCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Sound

TEST(Reliability, NoSoundDeviceGivesASilentWholeGame) {
    ScratchFolder work("reliability");
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
    // The diver never swam, so it reached no treasure: the game scored 0.
    ParsedState saved = ParseState(ReadFile(work.path() / ".vantlestate"));
    ASSERT_TRUE(saved.complete);
    EXPECT_EQ(saved.scores[45], 0);
    EXPECT_EQ(saved.scores[40], 9) << "Normal's best is still the earlier 9";
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
    ScratchFolder work("reliability");
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
        for (int field = 0; field < 1 + kStateSettings + 1 + 64 + 2; ++field) cut = whole.find('|', cut) + 1;
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
    ScratchFolder work("reliability");
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
    ScratchFolder work("reliability");
    const fs::path gone = work.path() / "gone";
    fs::create_directory(gone);
    ProcessOutput output;
    ProcessOptions options;
    options.workDir = gone;
    options.env = {"ALSOFT_DRIVERS=null", "GLIMMERDEEP_PACING=1"};
    options.timeoutSeconds = 90;
    options.output = &output;
    options.whileRunning = [&](pid_t pid) {
        if (EnterMenu(pid, output).empty()) return;
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
    ScratchFolder work("reliability");
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
