// The Windows build as a player gets it: the zip unpacked into a folder with
// accented and non-Latin letters in its name, and the real glimmerdeep.exe
// started from there under Wine on the test X server. Its frames are read
// back from the server, its sound is written by OpenAL Soft's file backend,
// and its saves land in the Wine prefix's %APPDATA%\Glimmerdeep. The
// reference frames are the Linux build's own, drawn here by the same game:
// Wine hands OpenGL to the same Mesa.
//
// Run from the Windows build's ctest, which names the zip and the prefix:
//     GLIMMERDEEP_WINDOWS_ZIP   the zip tools/windows.sh made
//     WINEPREFIX                a prefix made by tests/windows/prefix.sh
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/state.h"
#include "tests/harness/files.h"
#include "tests/harness/game_driver.h"
#include "tests/harness/pacing_lines.h"
#include "tests/harness/process.h"
#include "tests/harness/program_copy.h"
#include "tests/harness/scratch.h"
#include "tests/harness/state_file.h"
#include "tests/harness/x11.h"

namespace fs = std::filesystem;

namespace {

const int kWidth = 640, kHeight = 480;
const double kStart = 60;  // seconds Wine may take to show the menu on a busy machine

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The unpacked game, shared by every test: unpacking is the slow part.
struct Unpacked {
    ScratchFolder folder{"windows"};
    fs::path game;  // the folder the zip holds
    std::string error;

    Unpacked() {
        const std::string zip = Env("GLIMMERDEEP_WINDOWS_ZIP");
        if (zip.empty() || !fs::exists(zip)) {
            error = "GLIMMERDEEP_WINDOWS_ZIP does not name the Windows build's zip: \"" + zip + "\"";
            return;
        }
        const fs::path place = folder / fs::u8path(u8"Spiele für Tauchér 深海 Ωμέγα");
        fs::create_directories(place);
        ProcessOptions options;
        options.workDir = place;
        options.timeoutSeconds = 60;
        ProcessResult r = RunProcess({CMAKE_COMMAND, "-E", "tar", "xf", zip}, options);
        game = place / fs::path(zip).stem();
        if (r.status != 0 || !fs::exists(game / "glimmerdeep.exe"))
            error = "cannot unpack " + zip + ": " + r.err;
    }
};

Unpacked& Game() {
    static Unpacked unpacked;
    return unpacked;
}

// The Linux build's settled menu, 640 x 480, with every item a desktop has.
const std::vector<uint32_t>& LinuxMenu() {
    static const std::vector<uint32_t> frame = [] {
        GameDriver driver(kWidth, kHeight, true);
        driver.Load();
        driver.Update(300);
        driver.Render();
        std::vector<uint32_t> rgb = driver.Frame();
        for (uint32_t& p : rgb) p &= 0xFFFFFF;
        return rgb;
    }();
    return frame;
}

size_t DistinctColours(const std::vector<uint32_t>& frame) {
    return std::set<uint32_t>(frame.begin(), frame.end()).size();
}

// The loading screen (game/loading.cpp) lays its backdrop, 180 160 120, over
// the whole window, where no other screen has that colour, and brings its
// emblem down onto it: the corners show the backdrop and the picture has
// many colours.
bool IsLoadingScreen(const std::vector<uint32_t>& frame) {
    if (frame.size() != size_t(kWidth) * kHeight) return false;
    const uint32_t backdrop = 180u << 16 | 160u << 8 | 120u;
    for (size_t corner : {size_t(0), size_t(kWidth - 1), frame.size() - kWidth, frame.size() - 1})
        if (frame[corner] != backdrop) return false;
    return DistinctColours(frame) > 1000;
}

// The frame-rate overlay (game/render.cpp) writes its line of figures along
// the bottom left and draws a cross, 17 pixels square, at the pointer. Under
// Wine its line changed pixels in columns 18 to 311 and rows 457 to 472 of
// the menu, and nowhere else but the cross; these bounds leave two pixels
// above and below and room for wider figures, and stop short of the Quit
// label, whose lowest pixels are in row 451.
const int kOverlayLeft = 16, kOverlayRight = 330, kOverlayTop = 455, kOverlayBottom = 474;
const int kCross = 17;

// How a frame differs from the Linux build's menu: the pixels that differ
// where nothing may, and those of the overlay's line. Without the overlay,
// every differing pixel counts; with it, those in the line's bounds and in
// one cross do not.
struct MenuDifference {
    size_t wrong = 0, line = 0;
};
MenuDifference DifferenceFromMenu(const std::vector<uint32_t>& frame, const std::vector<uint32_t>& menu,
                                  bool overlay) {
    MenuDifference d;
    if (frame.size() != menu.size()) {
        d.wrong = menu.size();
        return d;
    }
    int left = kWidth, right = -1, top = kHeight, bottom = -1;
    for (size_t i = 0; i < frame.size(); ++i) {
        if (frame[i] == menu[i]) continue;
        const int x = int(i % kWidth), y = int(i / kWidth);
        if (overlay && x >= kOverlayLeft && x <= kOverlayRight && y >= kOverlayTop && y <= kOverlayBottom) {
            ++d.line;
            continue;
        }
        ++d.wrong;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    if (overlay && right - left < kCross && bottom - top < kCross) d.wrong = 0;
    return d;
}

// The sound written by OpenAL Soft's file backend, 44,100 samples a second.
const double kRate = 44100;
const size_t kHundredth = 441, kQuiet = 11025;  // a hundredth and a quarter of a second
const double kSilent = 0.002;                     // loudness below which the output is still (-54 dBFS)

// The loudness (root mean square, 1 at full scale) of `n` samples from `from`.
double Level(const std::vector<short>& s, size_t from, size_t n) {
    double sum = 0;
    for (size_t i = from; i < from + n && i < s.size(); ++i) sum += double(s[i]) * s[i];
    return n ? std::sqrt(sum / double(n)) / 32768 : 0;
}

// The amplitude (1 at full scale) of the tone of `hz` in `n` samples from
// `from`, through a Hann window, which keeps the neighbouring tones out.
double Amplitude(const std::vector<short>& s, size_t from, size_t n, double hz) {
    const double pi = 3.14159265358979323846;
    double re = 0, im = 0, weights = 0;
    for (size_t i = 0; i < n && from + i < s.size(); ++i) {
        const double w = 0.5 - 0.5 * std::cos(2 * pi * double(i) / double(n));
        const double v = s[from + i] / 32768.0 * w;
        re += v * std::cos(2 * pi * hz * double(i) / kRate);
        im -= v * std::sin(2 * pi * hz * double(i) / kRate);
        weights += w;
    }
    return weights > 0 ? 2 * std::hypot(re, im) / weights : 0;
}

// A tone's amplitude in `n` samples from `from`, and the larger of those a
// quarter below and above it.
struct Tone {
    double amplitude, around;
};
Tone ToneAt(const std::vector<short>& s, size_t from, size_t n, double hz) {
    return {Amplitude(s, from, n, hz), std::max(Amplitude(s, from, n, hz * 0.75), Amplitude(s, from, n, hz * 1.25))};
}

// Wine draws the frame of the window itself around the game's drawing area,
// an X window of its own inside: that one is read.
std::vector<uint32_t> DrawingArea(const std::string& window) {
    WindowImage shot = CaptureWindow(InnerWindow(window, kWidth, kHeight));
    if (shot.width != kWidth || shot.height != kHeight) return {};
    return shot.pixels;
}

// A path on the prefix's drive C: as Linux reaches it; empty for any other.
fs::path OnDriveC(std::string path) {
    if (path.rfind("C:\\", 0) != 0) return {};
    std::replace(path.begin(), path.end(), '\\', '/');
    return fs::path(Env("WINEPREFIX")) / "drive_c" / path.substr(3);
}

// The state file a --help names.
fs::path StateFileNamedBy(const std::string& help) {
    const std::string marker = "kept in ";
    const size_t at = help.find(marker);
    if (at == std::string::npos) return {};
    const std::string path = help.substr(at + marker.size());
    return OnDriveC(path.substr(0, path.find_first_of("\r\n")));
}

// The Linux programs these tests run, found on the PATH unless the
// environment names them; a missing one fails the test that needs it, saying
// which package gives it.
struct Tool {
    const char* name;
    const char* override;
    const char* package;
};
const Tool kWine = {"wine", "GLIMMERDEEP_WINE", "wine"};
const Tool kObjdump = {"x86_64-w64-mingw32-objdump", "GLIMMERDEEP_OBJDUMP", "binutils-mingw-w64-x86-64"};
const Tool kWindres = {"x86_64-w64-mingw32-windres", "GLIMMERDEEP_WINDRES", "binutils-mingw-w64-x86-64"};

std::string Find(const Tool& tool) {
    const std::string path = FindProgram(tool.name, tool.override);
    if (path.empty())
        ADD_FAILURE() << "no " << tool.name << " on the PATH (Debian's " << tool.package << " gives it; "
                      << tool.override << " names another)";
    return path;
}

ProcessResult Wine(const std::vector<std::string>& args, const fs::path& folder) {
    std::vector<std::string> line = {Find(kWine)};
    line.insert(line.end(), args.begin(), args.end());
    ProcessOptions options;
    options.workDir = folder;
    options.env = {"WINEDEBUG=-all"};
    options.timeoutSeconds = 120;
    return RunProcess(line, options);
}

// The game under Wine, from the unpacked copy, its working folder elsewhere
// (a shortcut's or a console's), its sound written to a wave file.
class WindowsProgram : public ::testing::Test {
protected:
    ScratchFolder scratch{"wine-run"};
    fs::path wave = scratch / "out.wav";
    std::unique_ptr<BackgroundProcess> game;
    std::string window;

    void SetUp() override {
        ASSERT_EQ(Game().error, "");
        // Drawn before the game starts: its window must not cover the game's.
        ASSERT_FALSE(LinuxMenu().empty());
        ASSERT_NE(Env("WINEPREFIX"), "") << "WINEPREFIX must name the tests' Wine prefix";
        std::ofstream(scratch / "alsoft.ini") << "[general]\ndrivers = wave\nchannels = mono\n"
                                                 "sample-type = int16\nfrequency = 44100\n"
                                                 "[wave]\nfile = " << Escaped(WinePath(wave)) << "\n";
    }
    void TearDown() override {
        if (game) game->Wait(0);
    }

    // OpenAL Soft's configuration takes "\\" as an escape, as in C.
    static std::string Escaped(const std::string& text) {
        std::string escaped;
        for (char c : text) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
        return escaped;
    }

    static std::string WinePath(const fs::path& path) {
        std::string p = "Z:" + fs::absolute(path).string();
        std::replace(p.begin(), p.end(), '/', '\\');
        return p;
    }

    // Runs the program to its end, for the command line.
    ProcessResult Run(const std::vector<std::string>& args) {
        std::vector<std::string> line = {(Game().game / "glimmerdeep.exe").string()};
        line.insert(line.end(), args.begin(), args.end());
        return Wine(line, scratch.path());
    }

    // Starts the game and waits for its window and its settled menu, having
    // seen the loading screen on the way. The menu is then the Linux build's,
    // pixel for pixel, or the test fails with the closest it came; with the
    // frame-rate overlay on, it differs by the overlay alone.
    void StartToTheMenu(bool overlay = false) {
        ProcessOptions options;
        options.workDir = scratch.path();
        // The Linux menu drawn here set ALSOFT_DRIVERS for this process: the
        // game takes its sound device from its configuration instead.
        options.env = {"WINEDEBUG=-all", "GLIMMERDEEP_PACING=1", "ALSOFT_CONF=" + WinePath(scratch / "alsoft.ini"),
                       "ALSOFT_DRIVERS"};
        game = std::make_unique<BackgroundProcess>(
            std::vector<std::string>{Find(kWine), (Game().game / "glimmerdeep.exe").string()}, options);
        ASSERT_TRUE(Said("pacing moment=loading_screen", kStart)) << "no loading screen\n" << game->Err();
        window = FocusGameWindow(game->Pid());
        ASSERT_NE(window, "") << "no window of the game's";

        const std::vector<uint32_t>& menu = LinuxMenu();
        bool loadingSeen = false;
        MenuDifference closest;
        closest.wrong = menu.size();
        for (int attempt = 0; attempt < 600; ++attempt) {
            const std::vector<uint32_t> shot = DrawingArea(window);
            if (!loadingSeen && IsLoadingScreen(shot)) loadingSeen = true;
            const MenuDifference d = DifferenceFromMenu(shot, menu, overlay);
            if (d.wrong <= closest.wrong) closest = d;
            if (d.wrong == 0 && Said("pacing moment=menu", 0)) break;
            usleep(50000);
        }
        EXPECT_TRUE(loadingSeen) << "the loading screen, its backdrop and emblem, before the menu";
        ASSERT_EQ(closest.wrong, 0u) << "pixels unlike the Linux build's menu" << (overlay ? " besides the overlay" : "");
        if (overlay) {
            EXPECT_GT(closest.line, 0u) << "the frame-rate overlay's line is drawn";
        }
    }

    // Holds a key until the game has seen it go down, then until it has
    // seen it go up.
    bool Press(const std::string& key) { return PressKeySeen(key, game->Output()); }

    // Waits for the game's own word on standard error.
    bool Said(const std::string& text, double seconds = 30) {
        return game->WaitFor([&](const std::string&, const std::string& err) {
            return err.find(text) != std::string::npos;
        }, seconds);
    }

    // The program ends on F4 before it can see the key go up.
    ProcessResult Quit() {
        PressKeySeen("F4", game->Output());
        return game->Wait(30);
    }

    // The state file where the game keeps it, as its --help names it.
    fs::path StateFile() { return StateFileNamedBy(Run({"--help"}).out); }

    // The state file's identity: every save puts a new file in its place.
    static ino_t Identity(const fs::path& file) {
        struct stat info;
        return stat(file.c_str(), &info) == 0 ? info.st_ino : 0;
    }

    // Waits until a new state file is in place, whole, and reads it.
    ParsedState NextSave(const fs::path& file, ino_t before) {
        for (int i = 0; i < 300; ++i) {
            if (Identity(file) != before) {
                ParsedState state = ParseState(ReadFile(file));
                if (state.complete) return state;
            }
            usleep(50000);
        }
        return {};
    }

    // From the menu, Options and Back at once, which saves the settings as
    // they are. The list: Back, SFX, Music, the two Invert Y rows, Framerate.
    bool SaveFromOptions() { return Press("Down") && Press("Return") && Press("Return"); }

    // The samples OpenAL Soft has written so far: mono, 16 bits, 44.1 kHz.
    std::vector<short> Samples() {
        const std::string bytes = ReadFile(wave);
        const size_t data = bytes.find("data", 12);
        if (data == std::string::npos || bytes.size() < data + 8) return {};
        std::vector<short> samples((bytes.size() - data - 8) / 2);
        std::memcpy(samples.data(), bytes.data() + data + 8, samples.size() * 2);
        return samples;
    }

    // Waits until what was written last is silent, as the menu is once the
    // loading screen's chime has rung out; how many samples there are then,
    // 0 when it never fell silent.
    size_t QuietEnd() {
        for (int look = 0; look < 600; ++look) {
            const std::vector<short> s = Samples();
            if (s.size() > kQuiet && Level(s, s.size() - kQuiet, kQuiet) < kSilent) return s.size();
            usleep(50000);
        }
        return 0;
    }

    // Waits until `n` samples are written.
    bool WaitForSamples(size_t n) {
        for (int look = 0; look < 600; ++look) {
            if (Samples().size() >= n) return true;
            usleep(50000);
        }
        return false;
    }

    // Waits until sound follows sample `from` and `span` samples of it are
    // written: where it begins, to a hundredth of a second; 0 when none came.
    size_t Onset(size_t from, size_t span) {
        for (int look = 0; look < 600; ++look) {
            const std::vector<short> s = Samples();
            for (size_t at = from; at + kHundredth <= s.size(); at += kHundredth)
                if (Level(s, at, kHundredth) >= kSilent) {
                    if (at + span <= s.size()) return at;
                    break;
                }
            usleep(50000);
        }
        return 0;
    }
};

TEST_F(WindowsProgram, AnswersItsCommandLineWithItsSaveFolder) {
    ProcessResult version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind(std::string("glimmerdeep ") + GLIMMERDEEP_VERSION + "\r\n", 0), 0u) << version.out;

    ProcessResult help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("\\AppData\\Roaming\\Glimmerdeep\\.vantlestate\r\n"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("%APPDATA%\\Glimmerdeep"), std::string::npos) << help.out;

    // Started from a command prompt, its lines and its status reach it.
    ProcessResult prompt = Wine({"cmd", "/c", "glimmerdeep.exe", "--version", "&&", "echo", "done", "&",
                                 "glimmerdeep.exe", "--bogus", "2>nul", "||", "echo", "refused"}, Game().game);
    EXPECT_EQ(prompt.out.rfind(std::string("glimmerdeep ") + GLIMMERDEEP_VERSION + "\r\n", 0), 0u) << prompt.out;
    EXPECT_NE(prompt.out.find("\r\ndone"), std::string::npos) << prompt.out;
    EXPECT_NE(prompt.out.find("\r\nrefused"), std::string::npos) << prompt.out;

    ProcessResult wrong = Run({"--bogus"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.out, "");
    EXPECT_EQ(wrong.err.rfind("glimmerdeep: unknown option '--bogus'\r\nUsage: ", 0), 0u) << wrong.err;
}

// The menu is still once the loading screen's chime has rung out: Start
// Game's confirming effect is the first sound after Return, its first note
// the effect's own A5 (880 Hz, tools/assetgen/effects.cpp). Normal then
// starts a game: the tune's bass D2 (73.4 Hz, tools/assetgen/music.cpp)
// sounds from its start, and the sonar pings over it at its own F#6 (1480
// Hz). F4 ends the program with status 0. Each tone measured 40 to 100 times
// the amplitude a quarter of its frequency away (0.21, 0.16 and 0.31 of full
// scale at the default volumes): the checks ask for ten times.
TEST_F(WindowsProgram, ShowsTheMenuPlaysWithSoundAndQuitsOnF4) {
    const fs::path state = StateFile();  // none: the menu of a first start
    ASSERT_NE(state, fs::path());
    fs::remove_all(state.parent_path());
    StartToTheMenu();
    if (HasFatalFailure()) return;
    const size_t menuQuiet = QuietEnd();
    ASSERT_GT(menuQuiet, 0u) << "the menu falls still";
    ASSERT_TRUE(Press("Return"));
    const size_t kNote = kHundredth * 6;  // the first note alone
    const size_t chosen = Onset(menuQuiet, kNote);
    ASSERT_GT(chosen, 0u) << "Return is heard";
    const Tone confirm = ToneAt(Samples(), chosen, kNote, 880);
    EXPECT_GT(confirm.amplitude, 10 * confirm.around) << "A5 in the confirming effect";

    const size_t listQuiet = QuietEnd();
    ASSERT_GT(listQuiet, 0u) << "the difficulty list falls still";
    ASSERT_TRUE(Press("Return"));
    ASSERT_TRUE(Said("pacing moment=game_start")) << game->Err();
    ASSERT_TRUE(game->WaitFor([](const std::string& out, const std::string&) {
        return out.find("Placed at ") != std::string::npos;
    }, 30)) << "treasure placed in the new cave";
    const size_t started = Onset(listQuiet, size_t(kRate));
    ASSERT_GT(started, 0u) << "play is heard";
    // A second of updates after the first ping (31 updates in), as the
    // game counts them; then the mixer past them.
    ASSERT_TRUE(game->WaitFor([](const std::string&, const std::string& err) {
        PacingRecord record;
        record.ReadAll(err);
        const double start = record.Moment("game_start");
        int updates = 0;
        for (const PacingSecond& second : record.Overlapping(start, 1e9))
            if (second.StartAt() >= start) updates += second.updates;
        return updates >= 91;
    }, 60)) << "a second and a half of play";
    const size_t played = Samples().size();
    ASSERT_TRUE(WaitForSamples(played + size_t(kRate / 2)));
    const std::vector<short> s = Samples();
    const Tone bass = ToneAt(s, started + kHundredth * 10, size_t(kRate), 73.42);
    EXPECT_GT(bass.amplitude, 10 * bass.around) << "the tune's D2 through play's first second";
    // The sonar's note, a fifth of a second at a time: where it is loudest,
    // it stands out.
    const size_t kPing = size_t(kRate / 5);
    size_t loudest = started;
    double most = 0;
    for (size_t at = started; at + kPing <= played; at += kPing / 4) {
        const double a = Amplitude(s, at, kPing, 1479.98);
        if (a > most) {
            most = a;
            loudest = at;
        }
    }
    const Tone ping = ToneAt(s, loudest, kPing, 1479.98);
    EXPECT_GT(ping.amplitude, 10 * ping.around) << "F#6 in the sonar's ping";
    EXPECT_GT(ping.amplitude, 0.05) << "as loud as an effect: the tune alone reached 0.003 there";
    ProcessResult end = Quit();
    EXPECT_FALSE(end.timedOut);
    EXPECT_EQ(end.status, 0) << end.out << end.err;
    EXPECT_EQ(end.out.find("Vantle Runtime Error"), std::string::npos) << end.out;
    // The sound device was stopped and let go while the program ended, not
    // cut off by it: the wave file's header counts every byte written.
    const std::string bytes = ReadFile(wave);
    ASSERT_GT(bytes.size(), 44u);
    auto field = [&](size_t at) {
        return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
               uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
    };
    const size_t data = bytes.find("data", 12);
    ASSERT_NE(data, std::string::npos);
    EXPECT_EQ(field(4), bytes.size() - 8) << "the RIFF size";
    EXPECT_EQ(field(data + 4), bytes.size() - data - 8) << "the data size";
}

// Options, the frame-rate overlay on, Back: saved where Windows programs keep
// their data, never beside the program. A second start reads it back: the
// menu shows the overlay, and a save from the Options keeps it.
TEST_F(WindowsProgram, KeepsItsSettingsInAppDataAndReadsThemBack) {
    const fs::path state = StateFile();
    ASSERT_NE(state, fs::path()) << "--help names no state file on drive C:";
    fs::remove_all(state.parent_path());

    StartToTheMenu();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(Press("Down") && Press("Return"));
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(Press("Down"));
    ASSERT_TRUE(Press("Return"));
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(Press("Up"));
    ASSERT_TRUE(Press("Return"));
    ParsedState saved = NextSave(state, 0);
    ASSERT_TRUE(saved.complete) << "a whole state in " << state;
    EXPECT_EQ(saved.settings[SET_FRAME_RATE], 1);
    EXPECT_EQ(Quit().status, 0);
    EXPECT_EQ(Names(state.parent_path()), std::vector<std::string>{".vantlestate"})
        << "the folder made for it holds the state alone";
    EXPECT_EQ(Names(Game().game),
              (std::vector<std::string>{"OpenAL32.dll", "README.txt", "data", "glimmerdeep.exe", "licences"}))
        << "nothing saved beside the program";

    StartToTheMenu(true);
    if (HasFatalFailure()) return;
    const ino_t first = Identity(state);
    ASSERT_TRUE(SaveFromOptions());
    ParsedState again = NextSave(state, first);
    ASSERT_TRUE(again.complete);
    EXPECT_EQ(again.settings, saved.settings) << "read back, and saved as it was";
    EXPECT_EQ(Quit().status, 0);
}

// A state file that is no state: the game starts on its defaults (the menu
// as a first start draws it), and its next save is whole.
TEST_F(WindowsProgram, DamagedStateGivesTheDefaultsAndALaterSaveIsWhole) {
    const fs::path state = StateFile();
    ASSERT_NE(state, fs::path());
    fs::create_directories(state.parent_path());
    WriteFile(state, "RUVO_v2.0|7|7|\x01\xff not a state at all");
    const ino_t damaged = Identity(state);

    StartToTheMenu();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(SaveFromOptions());
    ParsedState saved = NextSave(state, damaged);
    ASSERT_TRUE(saved.complete);
    EXPECT_EQ(saved.settings, FirstRunSettings());
    EXPECT_EQ(saved.scores, std::vector<int>(kStateScores, 0));
    EXPECT_EQ(Quit().status, 0);
}

// What the zip holds: the program, OpenAL Soft's DLL (all the program needs
// beyond Windows' own), the data, a text for players and the licences;
// nothing of the compiler's. The program is a windowed one, with its icon,
// version and manifest.
TEST(WindowsPackage, HoldsTheGameAndNothingElse) {
    ASSERT_EQ(Game().error, "");
    const fs::path& game = Game().game;
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(game))
        if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), game).generic_string());
    std::set<std::string> expected = {"glimmerdeep.exe", "OpenAL32.dll", "README.txt",
                                      "licences/Glimmerdeep.txt", "licences/DejaVu fonts.txt",
                                      "licences/GLFW.txt", "licences/OpenAL Soft.txt"};
    for (const auto& entry : fs::recursive_directory_iterator(GLIMMERDEEP_DATA_DIR))
        if (entry.is_regular_file())
            expected.insert("data/" + fs::relative(entry.path(), GLIMMERDEEP_DATA_DIR).generic_string());
    EXPECT_EQ(files, expected);

    // Every DLL either program file imports is Windows' own, or OpenAL32.dll.
    const std::set<std::string> system = {"ADVAPI32.dll", "AVRT.dll",     "GDI32.dll",    "KERNEL32.dll",
                                          "msvcrt.dll",   "ole32.dll",    "OPENGL32.dll", "SHELL32.dll",
                                          "USER32.dll",   "WINMM.dll",    "WS2_32.dll",   "IMM32.dll",
                                          "SETUPAPI.dll", "CFGMGR32.dll", "VERSION.dll"};
    for (const char* file : {"glimmerdeep.exe", "OpenAL32.dll"}) {
        ProcessResult dump = RunProcess({Find(kObjdump), "-p", (game / file).string()});
        ASSERT_EQ(dump.status, 0) << dump.err;
        std::istringstream lines(dump.out);
        int imports = 0;
        for (std::string line; std::getline(lines, line);) {
            const size_t at = line.find("DLL Name: ");
            if (at == std::string::npos) continue;
            const std::string dll = line.substr(at + 10);
            ++imports;
            EXPECT_TRUE(system.count(dll) || (dll == "OpenAL32.dll" && std::string(file) != dll))
                << file << " needs " << dll;
        }
        EXPECT_GT(imports, 2) << file;
        if (std::string(file) == "glimmerdeep.exe") {
            EXPECT_NE(dump.out.find("(Windows GUI)"), std::string::npos) << "a windowed program, no console";
        }
    }

    ProcessResult resources = RunProcess({Find(kWindres), "-i", (game / "glimmerdeep.exe").string(), "-O", "rc"});
    ASSERT_EQ(resources.status, 0) << resources.err;
    EXPECT_NE(resources.out.find("\"GLFW_ICON\" 14 /* RT_GROUP_ICON */"), std::string::npos) << "the icon";
    EXPECT_NE(resources.out.find(std::string("VALUE \"ProductVersion\", \"") + GLIMMERDEEP_VERSION), std::string::npos);
    EXPECT_NE(resources.out.find("asInvoker"), std::string::npos) << "a manifest asking no administrator rights";
    for (const char* text : {"README.txt", "licences/Glimmerdeep.txt"})
        EXPECT_NE(ReadFile(game / text).find("\r\n"), std::string::npos) << text << " has Windows' line ends";
}

// The installer, run silently as a deployment tool would: the game for this
// user in their own programs folder, a Start-menu entry and an entry among
// the installed apps; the uninstaller takes all of that away and leaves the
// player's saves.
TEST(WindowsInstaller, InstallsForTheUserAndUninstallsLeavingTheSaves) {
    const std::string installer = Env("GLIMMERDEEP_WINDOWS_INSTALLER");
    ASSERT_TRUE(fs::exists(installer)) << "GLIMMERDEEP_WINDOWS_INSTALLER names no installer: \"" << installer << "\"";
    ScratchFolder scratch("wine-install");
    ProcessResult setup = Wine({installer, "/S"}, scratch.path());
    ASSERT_EQ(setup.status, 0) << setup.out << setup.err;

    // Where it went, from Windows' own record of it.
    const std::string key = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Glimmerdeep";
    ProcessResult record = Wine({"reg", "query", key}, scratch.path());
    ASSERT_EQ(record.status, 0) << "no entry among the installed apps";
    EXPECT_NE(record.out.find(std::string("DisplayVersion    REG_SZ    ") + GLIMMERDEEP_VERSION), std::string::npos)
        << record.out;
    const std::string field = "InstallLocation    REG_SZ    ";
    const size_t at = record.out.find(field);
    ASSERT_NE(at, std::string::npos) << record.out;
    std::string location = record.out.substr(at + field.size());
    location = location.substr(0, location.find_first_of("\r\n"));
    EXPECT_NE(location.find("\\AppData\\Local\\Programs\\Glimmerdeep"), std::string::npos) << location;
    const fs::path installed = OnDriveC(location);
    ASSERT_FALSE(installed.empty()) << location;
    ASSERT_TRUE(fs::exists(installed / "glimmerdeep.exe")) << installed;
    for (const char* file : {"OpenAL32.dll", "README.txt", "data/vizo_font.png", "licences/GLFW.txt", "Uninstall.exe"})
        EXPECT_TRUE(fs::exists(installed / file)) << file;

    ProcessResult help = Wine({(installed / "glimmerdeep.exe").string(), "--help"}, scratch.path());
    EXPECT_EQ(help.status, 0) << "the installed game runs";
    const fs::path state = StateFileNamedBy(help.out);
    ASSERT_NE(state, fs::path());
    fs::create_directories(state.parent_path());
    WriteFile(state, "the player's saves");
    const fs::path users = state.parent_path().parent_path();  // ...\AppData\Roaming
    const fs::path shortcut = users / "Microsoft/Windows/Start Menu/Programs/Glimmerdeep.lnk";
    EXPECT_TRUE(fs::exists(shortcut)) << shortcut;

    // The uninstaller runs from a copy of itself, so that it can remove its
    // own file: it is done when the folder is gone.
    ProcessResult remove = Wine({(installed / "Uninstall.exe").string(), "/S"}, scratch.path());
    EXPECT_EQ(remove.status, 0);
    for (int i = 0; i < 600 && fs::exists(installed); ++i) usleep(50000);
    EXPECT_FALSE(fs::exists(installed)) << "the program's folder";
    EXPECT_FALSE(fs::exists(shortcut)) << "the Start-menu entry";
    EXPECT_NE(Wine({"reg", "query", key}, scratch.path()).status, 0) << "the entry among the installed apps";
    EXPECT_EQ(ReadFile(state), "the player's saves");
}

}  // namespace
