// What the program prints with GLIMMERDEEP_PACING set (host/pacing.cpp), read
// a line at a time: its moments, "pacing moment=NAME at=SECONDS", the first of
// each name kept; and its seconds, "pacing updates=U frames=F longest_gap_ms=G
// span_ms=S end_at=SECONDS", each over a second or a little more of the frame
// loop. Times are the program's own clock, in seconds. Header-only, for any
// program that runs the game from outside; the browser tests read the same
// lines with readPacing (tests/browser/harness.mjs).
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <vector>

// One of the program's seconds: how many updates and frames, the longest gap
// between two updates, and when it ended.
struct PacingSecond {
    int updates = 0, frames = 0;
    double gapMs = 0, spanMs = 0, endAt = 0;
    double StartAt() const { return endAt - spanMs / 1000; }
};

class PacingRecord {
public:
    // Lines of other kinds are passed over.
    void Read(const char* line) {
        char name[64];
        double at = 0;
        PacingSecond s;
        if (std::sscanf(line, "pacing moment=%63s at=%lf", name, &at) == 2)
            moments.emplace(name, at);
        else if (std::sscanf(line, "pacing updates=%d frames=%d longest_gap_ms=%lf span_ms=%lf end_at=%lf", &s.updates,
                             &s.frames, &s.gapMs, &s.spanMs, &s.endAt) == 5)
            seconds.push_back(s);
    }

    // Every line of `text`.
    void ReadAll(const std::string& text) {
        for (size_t start = 0; start < text.size();) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            Read(text.substr(start, end - start).c_str());
            start = end + 1;
        }
    }

    // The first time the program printed `name`; 0 when it has not.
    double Moment(const std::string& name) const {
        auto it = moments.find(name);
        return it == moments.end() ? 0 : it->second;
    }

    // Every second that overlaps [from, to].
    std::vector<PacingSecond> Overlapping(double from, double to) const {
        std::vector<PacingSecond> kept;
        for (const PacingSecond& s : seconds)
            if (s.endAt > from && s.StartAt() < to) kept.push_back(s);
        return kept;
    }

private:
    std::map<std::string, double> moments;
    std::vector<PacingSecond> seconds;
};
