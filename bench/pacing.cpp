// Frame pacing of the real program under an X server: starts it, waits in
// the menu, starts a Normal game and plays for 30 seconds, reading the
// figures the program prints with GLIMMERDEEP_PACING set, its CPU time and
// its resident memory from /proc, beside that of a bare window with a GL
// context and a sound device (bare_window), measured in the same run.
//
//   pacing PROGRAM DATA_FOLDER BARE_WINDOW
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
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
    usleep(useconds_t(s * 1e6));
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

// A field of /proc/PID/status in kB: "VmRSS", "RssAnon" (the process's own
// memory), "RssFile" (mapped code, the software renderer's among it).
long status_kb(pid_t pid, const std::string& field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    const std::string prefix = field + ":";
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0) return std::atol(line.c_str() + prefix.size());
    return 0;
}

struct Second {
    double at;
    int updates, frames;
    double gapMs, spanMs;
};

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
};

// The resident memory of the bare window program (drawing or only clearing)
// once it has run for a second; zeros when it did not get that far.
Resident bare_window(const std::string& program, bool draw) {
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
    while (std::fgets(line, sizeof line, in)) {
        if (std::strncmp(line, "ready", 5) != 0) continue;
        wait_seconds(1);
        r = {status_kb(pid, "VmRSS"), status_kb(pid, "RssAnon")};
        break;
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    std::fclose(in);
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s PROGRAM DATA_FOLDER BARE_WINDOW\n", argv[0]);
        return 2;
    }
    const Resident bare = bare_window(argv[3], true), bareClear = bare_window(argv[3], false);
    if (bare.all == 0 || bareClear.all == 0) {
        std::fprintf(stderr, "the bare window program did not start\n");
        return 1;
    }
    const std::string program = std::filesystem::absolute(argv[1]).string();
    char folder[] = "/tmp/glimmerdeep-pacing-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    int errPipe[2];
    if (pipe(errPipe)) return 1;

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

    std::mutex lock;
    std::vector<Second> seconds;
    std::atomic<double> firstFrame{0};
    std::thread reader([&] {
        FILE* in = fdopen(errPipe[0], "r");
        char line[256];
        while (std::fgets(line, sizeof line, in)) {
            double at = 0;
            Second s{monotonic(), 0, 0, 0, 0};
            if (std::sscanf(line, "pacing first_frame_at=%lf", &at) == 1) firstFrame = at;
            if (std::sscanf(line, "pacing updates=%d frames=%d longest_gap_ms=%lf span_ms=%lf", &s.updates,
                            &s.frames, &s.gapMs, &s.spanMs) == 4) {
                std::lock_guard<std::mutex> hold(lock);
                seconds.push_back(s);
            }
        }
        std::fclose(in);
    });

    if (FocusGameWindow(pid).empty()) {
        std::fprintf(stderr, "the program's window did not appear\n");
        kill(pid, SIGKILL);
        reader.join();
        return 1;
    }
    wait_seconds(3);  // the loading screen and the menu's intro

    double menuCpu0 = cpu_seconds(pid), menuT0 = monotonic();
    wait_seconds(10);
    double menuCpu = (cpu_seconds(pid) - menuCpu0) / (monotonic() - menuT0);

    const double gameStart = monotonic();
    PressKey("Return");
    PressKey("Return");
    wait_seconds(1);
    double playCpu0 = cpu_seconds(pid), playT0 = monotonic();
    wait_seconds(30);
    const double playT1 = monotonic();
    double playCpu = (cpu_seconds(pid) - playCpu0) / (playT1 - playT0);
    const long rss = status_kb(pid, "VmRSS"), anon = status_kb(pid, "RssAnon"), mapped = status_kb(pid, "RssFile");

    PressKey("F4");
    int status = 0;
    waitpid(pid, &status, 0);
    reader.join();
    std::filesystem::remove_all(folder);

    int n = 0, updates = 0, frames = 0;
    double longestGap = 0, span = 0, slowestUpdates = 1000, fastestUpdates = 0, slowestFrames = 1000;
    for (const Second& s : seconds) {
        // Every whole second from the press that starts the game (its cave is
        // built then) to the end of the 30 seconds of play.
        if (s.at < gameStart + 1 || s.at > playT1) continue;
        ++n;
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
    std::printf("pacing over %d seconds of play:\n", n);
    std::printf("  updates per second: %.2f over the whole time, each second %.1f..%.1f (target 60 +- 0.5)\n",
                updates / span, slowestUpdates, fastestUpdates);
    std::printf("  frames per second: %.2f over the whole time, slowest second %.1f (target at least 59)\n",
                frames / span, slowestFrames);
    std::printf("  longest gap between updates: %.1f ms (target at most 50 ms, the cave's build included)\n",
                longestGap);
    std::printf("  CPU: %.1f%% of a core in play, %.1f%% in the idle menu\n", 100 * playCpu, 100 * menuCpu);
    std::printf("  launch to first drawn frame: %.0f ms (target under 200 ms)\n",
                (firstFrame.load() - launched) * 1000);
    std::printf("  resident memory in play: %.1f MB; grid and decoded assets: %.1f MB; ratio %.2f (target at most "
                "1.25)\n",
                double(rss) / 1024, decoded / 1048576, double(rss) * 1024 / decoded);
    std::printf("    of which the program's own %.1f MB (ratio %.2f) and mapped files (libraries) %.1f MB\n",
                double(anon) / 1024, double(anon) * 1024 / decoded, double(mapped) / 1024);
    auto own = [&](const char* what, long game, long base) {
        std::printf("    %s: %.1f MB less %.1f MB = %.1f MB, ratio %.2f\n", what, double(game) / 1024,
                    double(base) / 1024, double(game - base) / 1024, double(game - base) * 1024 / decoded);
    };
    std::printf("  own memory, against the grid and decoded assets (target at most 1.25):\n");
    own("resident in play less a bare window that draws, with GL and sound", rss, bare.all);
    own("the same, anonymous memory only", anon, bare.anon);
    own("resident in play less a bare window that only clears", rss, bareClear.all);
    own("the same, anonymous memory only", anon, bareClear.anon);
    std::printf("  exit status %d\n", WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    return 0;
}
