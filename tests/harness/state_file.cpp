#include "tests/harness/state_file.h"

#include <cstdint>
#include <cstdlib>

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

std::string MakeState(const std::vector<int>& settings, const std::vector<int>& scores) {
    std::string s = "RUVO_v2.0|";
    int check = 0;
    for (int i = 0; i < kStateSettings; ++i) {
        s += std::to_string(settings[size_t(i)]) + "|";
        check = int((check + int64_t(settings[size_t(i)])) % (kGameNumber + 1000));
    }
    s += std::to_string(check) + "|";
    int c = 0;
    for (int m = 0; m < kStateScores; ++m) {
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
    std::vector<int> s(kStateSettings, 0);
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
    const size_t expected = 1 + kStateSettings + 1 + kStateScores + kStateScores / kBlock;
    if (fields.size() != expected || fields[0] != "RUVO_v2.0") return p;

    size_t f = 1;
    int check = 0, value = 0;
    for (int i = 0; i < kStateSettings; ++i) {
        if (!parse_int(fields[f++], &value)) return p;
        p.settings.push_back(value);
        check = int((check + int64_t(value)) % (kGameNumber + 1000));
    }
    if (!parse_int(fields[f++], &value) || value != check) return p;
    int c = 0;
    for (int m = 0; m < kStateScores; ++m) {
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
