// The Windows build under Wine beside the Linux build, in one run on the same
// X server: the sizes of the program and of the zip; launch to the loading
// screen's first frame for each (the median of three starts, as the moment
// reaches this program; the figure is their ratio); and the updates a second
// and the longest gap between updates over 20 s of play under Wine, as the
// game counts them (GLIMMERDEEP_PACING). Fails, with the reason, when a
// program fails or does not print what the figures are made of.
//
//   windows_pacing LINUX_PROGRAM WINDOWS_FOLDER WINDOWS_ZIP
// WINDOWS_FOLDER holds glimmerdeep.exe as the zip unpacks it; WINEPREFIX
// names a prefix made by tests/windows/prefix.sh.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/figure.h"
#include "tests/harness/pacing_lines.h"
#include "tests/harness/process.h"
#include "tests/harness/x11.h"

namespace fs = std::filesystem;

namespace {

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Whether the program has printed the moment `name` in `err`, its output so
// far.
bool Said(const std::string& err, const char* name) {
    PacingRecord record;
    record.ReadAll(err);
    return record.Moment(name) != 0;
}

ProcessOptions Options(const fs::path& folder) {
    ProcessOptions options;
    options.workDir = folder;
    options.env = {"GLIMMERDEEP_PACING=1", "ALSOFT_DRIVERS=null", "WINEDEBUG=-all"};
    return options;
}

// Launch to the moment the loading screen's first frame is reported, in
// milliseconds; 0 when it never came.
double LaunchToLoadingScreen(const std::vector<std::string>& command, const fs::path& folder) {
    const double launched = Now();
    BackgroundProcess program(command, Options(folder));
    const bool shown =
        program.WaitFor([](const std::string&, const std::string& err) { return Said(err, "loading_screen"); }, 60);
    const double at = Now();
    return shown ? (at - launched) * 1000 : 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int Fail(const std::string& reason) {
    std::fprintf(stderr, "windows_pacing: %s\n", reason.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s LINUX_PROGRAM WINDOWS_FOLDER WINDOWS_ZIP\n", argv[0]);
        return 2;
    }
    const std::string linux = fs::absolute(argv[1]).string();
    const fs::path exe = fs::absolute(fs::path(argv[2]) / "glimmerdeep.exe");
    if (!fs::exists(exe) || !fs::exists(argv[3])) return Fail("no Windows program or zip at the paths given");
    if (!std::getenv("WINEPREFIX")) return Fail("WINEPREFIX must name the tests' Wine prefix");
    const std::string wine = FindProgram("wine", "GLIMMERDEEP_WINE");
    if (wine.empty()) return Fail("no wine on the PATH (Debian's wine gives it; GLIMMERDEEP_WINE names another)");
    char folder[] = "/tmp/glimmerdeep-windows-pacing-XXXXXX";
    if (!mkdtemp(folder)) return Fail("no temporary folder");

    // Turn about, so that a machine busier at one moment weighs on both.
    std::vector<double> onLinux, onWine;
    for (int round = 0; round < 3; ++round) {
        onLinux.push_back(LaunchToLoadingScreen({linux}, folder));
        onWine.push_back(LaunchToLoadingScreen({wine, exe.string()}, folder));
        if (onLinux.back() == 0 || onWine.back() == 0) return Fail("a program showed no loading screen");
    }
    const double linuxMs = Median(onLinux), wineMs = Median(onWine);

    // 20 s of a Normal game under Wine, steered with the arrow keys.
    BackgroundProcess game({wine, exe.string()}, Options(folder));
    auto said = [&](const char* moment, double seconds) {
        return game.WaitFor([&](const std::string&, const std::string& err) { return Said(err, moment); }, seconds);
    };
    if (!said("menu", 60) || FocusGameWindow(game.Pid()).empty()) return Fail("no menu under Wine");
    usleep(1500000);  // the menu flies in before it takes keys
    PressKey("Return");
    PressKey("Return");
    if (!said("game_start", 30)) return Fail("no game started under Wine");
    const double playStart = Now();
    const char* taps[] = {"Right", "Left", "Down", "Up"};
    for (int tap = 0; Now() < playStart + 21.5; ++tap) {
        PressKey(taps[tap % 4]);
        usleep(1100000);
    }
    PressKey("F4");
    ProcessResult end = game.Wait(30);
    fs::remove_all(folder);
    if (end.status != 0) return Fail("the game under Wine ended with status " + std::to_string(end.status));

    // The game's own seconds over 20 s from its game's start, by its own
    // clock.
    PacingRecord record;
    record.ReadAll(end.err);
    const double gameStart = record.Moment("game_start");
    const std::vector<PacingSecond> seconds = record.Overlapping(gameStart, gameStart + 20);
    if (gameStart == 0 || seconds.size() < 18) return Fail("the game under Wine printed too few seconds of play");
    int updates = 0;
    double span = 0, gap = 0;
    for (const PacingSecond& s : seconds) {
        updates += s.updates;
        span += s.spanMs / 1000;
        gap = std::max(gap, s.gapMs);
    }
    const double ups = updates / span;
    const double exeMb = double(fs::file_size(exe)) / 1048576, zipMb = double(fs::file_size(argv[3])) / 1048576;

    std::printf("the Windows build under Wine, beside the Linux build:\n");
    std::printf("  glimmerdeep.exe %.2f MB, the zip %.2f MB\n", exeMb, zipMb);
    std::printf("  launch to the loading screen's first frame: Wine %.0f ms, Linux %.0f ms (medians of %zu)\n",
                wineMs, linuxMs, onWine.size());
    std::printf("  play under Wine over %zu seconds: %.2f updates a second, longest gap %.1f ms\n", seconds.size(),
                ups, gap);
    PrintFigure("windows-exe-size", "<=4MB", exeMb <= 4, "%.2fMB", exeMb);
    PrintFigure("windows-zip-size", "<=10MB", zipMb <= 10, "%.2fMB", zipMb);
    PrintFigure("windows-start-ratio", "<=4x", wineMs / linuxMs <= 4, "%.2fx", wineMs / linuxMs);
    PrintFigure("windows-updates-per-second", "60+-0.5", ups >= 59.5 && ups <= 60.5, "%.2f", ups);
    PrintFigure("windows-longest-gap", "<=50ms", gap <= 50, "%.2fms", gap);
    return 0;
}
