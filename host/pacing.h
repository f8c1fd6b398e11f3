// Figures of the frame loop for measuring tools: with GLIMMERDEEP_PACING set
// in the environment, standard error gets the moment of the first frame
// swapped, the moments the game names (the start of a game, the first frame
// of its loading screen) and, once a second, the updates, the frames and the
// longest gap between the starts of two updates, with the moment that second
// ended. Off by default, when each call costs one test of a flag.
//
// Every moment is read from the system-wide monotonic clock, so that a tool
// can set it against the moment it started the program.
#pragma once

#include <cstdio>

struct XrPacing {
    bool enabled = false;
    FILE* out = stderr;
    bool framed = false;
    const char* nextFrameMoment = nullptr;  // named by the game, printed at the next swap
    double secondStart = 0;
    double lastUpdate = 0;
    double longestGap = 0;
    int updates = 0;
    int frames = 0;

    // Reads the environment; when on, the first second starts now.
    void Init();
    // Before each update and after each swap.
    void OnUpdate() {
        if (enabled) UpdateAt(Now());
    }
    void OnFrame() {
        if (enabled) FrameAt(Now());
    }
    // A moment of the game's, printed as "pacing moment=NAME at=SECONDS":
    // now, or when the frame that will show it has been swapped. `name` must
    // outlive the call (a literal).
    void Moment(const char* name) {
        if (enabled) MomentAt(name, Now());
    }
    void MomentOfNextFrame(const char* name) {
        if (enabled) nextFrameMoment = name;
    }

    // The counting, at times given: the calls above give the clock's.
    void StartAt(double t);
    void UpdateAt(double t);
    void FrameAt(double t);
    void MomentAt(const char* name, double t);
    static double Now();
};

extern XrPacing xr_pacing;
