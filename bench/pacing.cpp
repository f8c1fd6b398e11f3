// Frame pacing of the real program under an X server: starts it, waits in
// the menu, starts a Normal game and plays it for 30 seconds with the arrow
// keys, reading what the program prints with GLIMMERDEEP_PACING set (its
// moments and its seconds), its CPU time and its memory from /proc, beside
// that of a bare window with a GL context and a sound device (bare_window),
// measured in the same run. Fails, with the reason, when the program fails
// or does not print what the figures are made of.
//
//   pacing PROGRAM DATA_FOLDER BARE_WINDOW
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "audio/sampleloader.h"
#include "bench/figure.h"
#include "tests/harness/pacing_lines.h"
#include "tests/harness/x11.h"

#include <stb_image.h>

void gc_mark() {}

namespace {

double monotonic() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void wait_seconds(double s) {
    if (s > 0) usleep(useconds_t(s * 1e6));
}

// User and system CPU of a process, in seconds.
double cpu_seconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string all;
    std::getline(in, all);
    std::istringstream rest(all.substr(all.rfind(')') + 2));
    std::string field;
    double utime = 0, stime = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i) {
        if (i == 14) utime = std::atof(field.c_str());
        if (i == 15) stime = std::atof(field.c_str());
    }
    return (utime + stime) / double(sysconf(_SC_CLK_TCK));
}

// A field of /proc/PID/status in kB: "VmRSS", "VmHWM" (the peak of VmRSS),
// "RssAnon" (the process's own memory), "RssFile" (mapped code, the software
// renderer's among it).
long status_kb(pid_t pid, const std::string& field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    const std::string prefix = field + ":";
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0) return std::atol(line.c_str() + prefix.size());
    return 0;
}

// What the game holds decoded: the grid, every image as RGBA and every
// sound's samples.
double decoded_bytes(const std::string& data) {
    double total = 5500000.0 * 4;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(data)) {
        const std::string path = entry.path().string();
        if (path.size() > 4 && path.compare(path.size() - 4, 4, ".png") == 0) {
            int w = 0, h = 0, n = 0;
            if (stbi_info(path.c_str(), &w, &h, &n)) total += double(w) * h * 4;
        } else if (path.size() > 4 && (path.compare(path.size() - 4, 4, ".wav") == 0 ||
                                       path.compare(path.size() - 4, 4, ".ogg") == 0)) {
            FILE* f = std::fopen(path.c_str(), "rb");
            if (!f) continue;
            int length = 0, channels = 0, format = 0, hertz = 0;
            bool ogg = path.compare(path.size() - 4, 4, ".ogg") == 0;
            unsigned char* samples = (ogg ? LoadOGG : LoadWAV)(f, &length, &channels, &format, &hertz);
            std::fclose(f);
            if (samples) total += double(length) * channels * format;
            std::free(samples);
        }
    }
    return total;
}

struct Resident {
    long all = 0, anon = 0;  // VmRSS and RssAnon, kB
    double firstSwapMs = 0;  // from its launch
};

// The resident memory of the bare window program (drawing or only clearing)
// once it has run for a second, and the time from its launch to its first
// swap; zeros when it did not get that far.
Resident bare_window(const std::string& program, bool draw) {
    const double launched = monotonic();
    int errPipe[2];
    if (pipe(errPipe)) return {};
    pid_t pid = fork();
    if (pid == 0) {
        dup2(errPipe[1], 2);
        close(errPipe[0]);
        setenv("ALSOFT_DRIVERS", "null", 1);
        execl(program.c_str(), program.c_str(), draw ? "draw" : "clear", (char*)nullptr);
        _exit(127);
    }
    close(errPipe[1]);
    FILE* in = fdopen(errPipe[0], "r");
    char line[256];
    Resident r;
    double firstSwapMs = 0;
    while (std::fgets(line, sizeof line, in)) {
        if (std::strncmp(line, "first_swap", 10) == 0) firstSwapMs = (monotonic() - launched) * 1000;
        if (std::strncmp(line, "ready", 5) != 0) continue;
        wait_seconds(1);
        r = {status_kb(pid, "VmRSS"), status_kb(pid, "RssAnon"), firstSwapMs};
        break;
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    std::fclose(in);
    return r;
}

// What the program prints with GLIMMERDEEP_PACING set, read as it comes.
class PacingLines {
public:
    void Read(int fd) {
        reader = std::thread([this, fd] {
            FILE* in = fdopen(fd, "r");
            char line[256];
            while (std::fgets(line, sizeof line, in)) {
                std::lock_guard<std::mutex> hold(lock);
                record.Read(line);
            }
            std::fclose(in);
        });
    }
    void Join() { reader.join(); }
    // The first time the program printed `name`; 0 when it has not.
    double Moment(const std::string& name) {
        std::lock_guard<std::mutex> hold(lock);
        return record.Moment(name);
    }
    // Waits up to `seconds` for `name`.
    double AwaitMoment(const std::string& name, double seconds) {
        const double until = monotonic() + seconds;
        double at = 0;
        while ((at = Moment(name)) == 0 && monotonic() < until) wait_seconds(0.02);
        return at;
    }
    // Every second that overlaps [from, to].
    std::vector<PacingSecond> Overlapping(double from, double to) {
        std::lock_guard<std::mutex> hold(lock);
        return record.Overlapping(from, to);
    }

private:
    std::thread reader;
    std::mutex lock;
    PacingRecord record;
};

int fail(const char* reason, pid_t pid) {
    std::fprintf(stderr, "pacing: %s\n", reason);
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s PROGRAM DATA_FOLDER BARE_WINDOW\n", argv[0]);
        return 2;
    }
    const Resident bare = bare_window(argv[3], true), bareClear = bare_window(argv[3], false);
    if (bare.all == 0 || bareClear.all == 0) return fail("the bare window program did not start", 0);
    const std::string program = std::filesystem::absolute(argv[1]).string();
    char folder[] = "/tmp/glimmerdeep-pacing-XXXXXX";
    if (!mkdtemp(folder)) return fail("no temporary folder", 0);
    int errPipe[2];
    if (pipe(errPipe)) return fail("no pipe", 0);

    const double launched = monotonic();
    pid_t pid = fork();
    if (pid == 0) {
        dup2(errPipe[1], 2);
        int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        close(errPipe[0]);
        if (chdir(folder) != 0) _exit(126);
        setenv("GLIMMERDEEP_PACING", "1", 1);
        setenv("ALSOFT_DRIVERS", "null", 1);
        execl(program.c_str(), program.c_str(), (char*)nullptr);
        _exit(127);
    }
    close(errPipe[1]);
    PacingLines lines;
    lines.Read(errPipe[0]);

    if (FocusGameWindow(pid).empty()) {
        fail("the program's window did not appear", pid);
        lines.Join();
        return 1;
    }
    wait_seconds(3);  // the loading screen and the menu's intro

    const double menuCpu0 = cpu_seconds(pid), menuT0 = monotonic();
    wait_seconds(10);
    const double menuCpu = (cpu_seconds(pid) - menuCpu0) / (monotonic() - menuT0);

    // Start Game, Normal. The measured play starts with the update that
    // builds the cave, so that its gap is among those counted.
    PressKey("Return");
    PressKey("Return");
    const double gameStart = lines.AwaitMoment("game_start", 5);
    if (gameStart == 0) {
        fail("no game started", pid);
        lines.Join();
        return 1;
    }
    // Swimming: a tap of the arrow keys one way, and back once the diver has
    // drifted to a stop, round the four directions, so that the diver, the
    // camera and the star field move as they do in play.
    const double playCpu0 = cpu_seconds(pid), playT0 = monotonic(), playEnd = gameStart + 30;
    const char* taps[] = {"Right", "Left", "Down", "Up"};
    for (int tap = 0; monotonic() + 1.5 < playEnd; ++tap) {
        PressKey(taps[tap % 4]);
        wait_seconds(std::min(1.3, playEnd - monotonic()));
    }
    wait_seconds(playEnd - monotonic());
    const double playCpu = (cpu_seconds(pid) - playCpu0) / (monotonic() - playT0);
    const long rss = status_kb(pid, "VmRSS"), peak = status_kb(pid, "VmHWM"), anon = status_kb(pid, "RssAnon"),
               mapped = status_kb(pid, "RssFile");
    wait_seconds(1.2);  // the last second of play is printed

    PressKey("F4");
    int status = 0;
    waitpid(pid, &status, 0);
    lines.Join();
    std::filesystem::remove_all(folder);

    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "pacing: the program ended with %s %d\n", WIFEXITED(status) ? "status" : "signal",
                     WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status));
        return 1;
    }
    const double firstFrame = lines.Moment("first_frame"), loading = lines.Moment("loading_screen");
    if (firstFrame == 0 || loading == 0) return fail("the program printed no first frame or no loading screen", 0);
    const double gameOver = lines.Moment("game_over");
    if (gameOver > 0 && gameOver < playEnd) return fail("the game ended during the measured play", 0);
    const std::vector<PacingSecond> seconds = lines.Overlapping(gameStart, playEnd);
    if (seconds.size() < 25) return fail("the program printed too few seconds of play", 0);

    int updates = 0, frames = 0;
    double longestGap = 0, longestGapEnd = 0, buildGap = 0, span = 0, slowestUpdates = 1000, fastestUpdates = 0,
           slowestFrames = 1000;
    for (const PacingSecond& s : seconds) {
        if (s.gapMs > longestGap) longestGapEnd = s.endAt;
        // The update that builds the cave starts at the game's moment; its
        // gap is counted at the next update, a fraction of a second later.
        if (s.StartAt() < gameStart + 0.2) buildGap = std::max(buildGap, s.gapMs);
        updates += s.updates;
        frames += s.frames;
        span += s.spanMs / 1000;
        const double ups = s.updates / (s.spanMs / 1000), fps = s.frames / (s.spanMs / 1000);
        slowestUpdates = std::min(slowestUpdates, ups);
        fastestUpdates = std::max(fastestUpdates, ups);
        slowestFrames = std::min(slowestFrames, fps);
        longestGap = std::max(longestGap, s.gapMs);
    }
    const double decoded = decoded_bytes(argv[2]);
    const double ups = updates / span, firstFrameMs = (firstFrame - launched) * 1000;
    const double visibleMs = (loading - launched) * 1000, ownRatio = double(rss - bare.all) * 1024 / decoded;
    std::printf("pacing over %zu seconds from the start of a game (%.1f s of the program's time):\n", seconds.size(),
                span);
    std::printf("  updates per second: %.2f over the whole time, each second %.1f..%.1f (target 60 +- 0.5)\n", ups,
                slowestUpdates, fastestUpdates);
    std::printf("  frames per second: %.2f over the whole time, slowest second %.1f (target at least 59)\n",
                frames / span, slowestFrames);
    std::printf("  longest gap between updates: %.1f ms, in the second that ended %.1f s after the game started; "
                "%.1f ms in the seconds of the cave's build (target at most 50 ms, the build included)\n",
                longestGap, longestGapEnd - gameStart, buildGap);
    std::printf("  CPU: %.1f%% of a core in play, %.1f%% in the idle menu\n", 100 * playCpu, 100 * menuCpu);
    // A start-up time alone measures the machine: a bare window with GL and
    // sound started on it just before is the floor it is held against.
    const double startRatio = bare.firstSwapMs > 0 ? visibleMs / bare.firstSwapMs : 0;
    std::printf("  launch to the first swap (black): %.0f ms; to the first frame of the loading screen: %.0f ms, "
                "%.2f times a bare window's launch to its first swap, %.0f ms (target at most 2 times)\n",
                firstFrameMs, visibleMs, startRatio, bare.firstSwapMs);
    std::printf("  resident memory in play: %.1f MB, at its peak %.1f MB; grid and decoded assets: %.1f MB\n",
                double(rss) / 1024, double(peak) / 1024, decoded / 1048576);
    std::printf("    of which the program's own %.1f MB and mapped files (libraries) %.1f MB\n", double(anon) / 1024,
                double(mapped) / 1024);
    auto own = [&](const char* what, long game, long base) {
        std::printf("    %s: %.1f MB less %.1f MB = %.1f MB, ratio %.2f\n", what, double(game) / 1024,
                    double(base) / 1024, double(game - base) / 1024, double(game - base) * 1024 / decoded);
    };
    std::printf("  own memory, against the grid and decoded assets (target at most 1.25):\n");
    own("resident in play less a bare window that draws, with GL and sound", rss, bare.all);
    own("the peak less the same", peak, bare.all);
    own("the same, anonymous memory only", anon, bare.anon);
    own("resident in play less a bare window that only clears", rss, bareClear.all);

    PrintFigure("updates-per-second", "60+-0.5", ups >= 59.5 && ups <= 60.5, "%.2f", ups);
    PrintFigure("slowest-second", ">=59", slowestFrames >= 59, "%.1f", slowestFrames);
    PrintFigure("longest-gap", "<=50ms", longestGap <= 50, "%.1fms", longestGap);
    if (bare.firstSwapMs <= 0) return fail("the bare window printed no first swap", 0);
    PrintFigure("first-visible-frame", "<=2x", startRatio <= 2, "%.2fx (%.0fms, bare window %.0fms)", startRatio,
                visibleMs, bare.firstSwapMs);
    PrintFigure("own-memory", "<=1.25x", ownRatio <= 1.25, "%.2fx", ownRatio);
    return 0;
}
