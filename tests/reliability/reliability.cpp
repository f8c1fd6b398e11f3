#include "tests/reliability/reliability.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>


#include "tests/harness/x11.h"

namespace reliability {

namespace {

// The check values are sums on whole numbers, as the game takes them.
const int kGameNumber = 503;
const int kBlock = 32;

bool parse_int(const std::string& text, int* value) {
    if (text.empty() || text.size() > 11) return false;
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (*end != 0) return false;
    *value = int(v);
    return true;
}

}  // namespace

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::string MakeState(const std::vector<int>& settings, const std::vector<int>& scores) {
    std::string s = "RUVO_v2.0|";
    int check = 0;
    for (int i = 0; i < kSettings; ++i) {
        s += std::to_string(settings[size_t(i)]) + "|";
        check = int((check + int64_t(settings[size_t(i)])) % (kGameNumber + 1000));
    }
    s += std::to_string(check) + "|";
    int c = 0;
    for (int m = 0; m < kScores; ++m) {
        s += std::to_string(scores[size_t(m)]) + "|";
        c = int((c + m + 1 + int64_t(scores[size_t(m)])) % (kGameNumber + 1237));
        if (m % kBlock == kBlock - 1) {
            s += std::to_string(c) + "|";
            c = 0;
        }
    }
    return s;
}

std::vector<int> FirstRunSettings() {
    // Written from outside, as the file holds them: music and effects at 7,
    // both sticks' y inverted, and the loading screen's mark.
    std::vector<int> s(kSettings, 0);
    s[0] = s[1] = 7;
    s[11] = s[12] = 1;
    s[100] = 1;
    return s;
}

ParsedState ParseState(const std::string& text) {
    ParsedState p;
    if (text.empty() || text.back() != '|') return p;
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', start)) {
        fields.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    const size_t expected = 1 + kSettings + 1 + kScores + kScores / kBlock;
    if (fields.size() != expected || fields[0] != "RUVO_v2.0") return p;

    size_t f = 1;
    int check = 0, value = 0;
    for (int i = 0; i < kSettings; ++i) {
        if (!parse_int(fields[f++], &value)) return p;
        p.settings.push_back(value);
        check = int((check + int64_t(value)) % (kGameNumber + 1000));
    }
    if (!parse_int(fields[f++], &value) || value != check) return p;
    int c = 0;
    for (int m = 0; m < kScores; ++m) {
        if (!parse_int(fields[f++], &value)) return p;
        p.scores.push_back(value);
        c = int((c + m + 1 + int64_t(value)) % (kGameNumber + 1237));
        if (m % kBlock == kBlock - 1) {
            if (!parse_int(fields[f++], &value) || value != c) return p;
            c = 0;
        }
    }
    p.complete = true;
    return p;
}

void Pause(double seconds) {
    if (seconds > 0) usleep(useconds_t(seconds * 1e6));
}

void Hold(const std::string& key, double seconds, double gap) {
    Xdotool("keydown " + key);
    Pause(seconds);
    Xdotool("keyup " + key);
    Pause(gap);
}

void Click(const std::string& window, double fx, double fy) {
    std::string geometry = Xdotool("getwindowgeometry " + window);
    int width = 0, height = 0;
    size_t at = geometry.find("Geometry: ");
    if (at == std::string::npos || std::sscanf(geometry.c_str() + at, "Geometry: %dx%d", &width, &height) != 2)
        return;
    const int x = int(fx * width), y = int(fy * height);
    Xdotool("mousemove --window " + window + " " + std::to_string(x) + " " + std::to_string(y));
    Xdotool("mousedown 1");
    Pause(0.1);
    Xdotool("mouseup 1");
    Pause(0.15);
}

bool Alive(pid_t pid) {
    std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
    size_t paren = stat.rfind(')');
    if (paren == std::string::npos || paren + 2 >= stat.size()) return false;
    const char state = stat[paren + 2];
    return state != 'Z' && state != 'X';
}

long ResidentKb(pid_t pid) {
    std::istringstream status(ReadFile("/proc/" + std::to_string(pid) + "/status"));
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

ProgramCopy::ProgramCopy(bool withData) {
    exe = folder.path() / "glimmerdeep";
    data = folder.path() / "data";
    fs::copy_file(GLIMMERDEEP_EXE, exe);
    if (withData) fs::copy(GLIMMERDEEP_DATA_DIR, data, fs::copy_options::recursive);
}

}  // namespace reliability
