// Figures of the frame loop for measuring tools and tests: with
// GLIMMERDEEP_PACING set in the environment, standard error gets the moment
// of the first frame swapped, the moments the game names (the start of a
// game, the first frame of its loading screen), every key an update sees go
// down or up, and, once a second, the updates, the frames and the longest
// gap between the starts of two updates, with the moment that second ended,
// followed by where the game's tracked thing (the diver) was at its end.
// Off by default, when each call costs one test of a flag.
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
    const char* trackName = nullptr;  // set by Track in the second that ends next
    float trackX = 0, trackY = 0;

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
    // A key (a host key code) that the update now starting sees go down or
    // up, printed as "pacing key=CODE down at=SECONDS" (or "up"): a tool can
    // hold a key until the game has seen it, however slow its frames are.
    void Key(int code, bool down) {
        if (enabled) KeyAt(code, down, Now());
    }
    // Where the thing the game follows is, the last place given before each
    // second's line, printed after it as "pacing track=NAME x=X y=Y". `name`
    // must outlive the call (a literal).
    void Track(const char* name, float x, float y) {
        if (!enabled) return;
        trackName = name;
        trackX = x;
        trackY = y;
    }

    // The counting, at times given: the calls above give the clock's.
    void StartAt(double t);
    void UpdateAt(double t);
    void FrameAt(double t);
    void MomentAt(const char* name, double t);
    void KeyAt(int code, bool down, double t);
    static double Now();
};

extern XrPacing xr_pacing;
