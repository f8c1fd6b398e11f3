#include "host/pacing.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

XrPacing xr_pacing;

// The system-wide monotonic clock, so that a measuring tool can compare the
// first frame with the moment it started the program.
static double now() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void XrPacing::Init() {
    enabled = std::getenv("GLIMMERDEEP_PACING") != nullptr;
    secondStart = now();
}

void XrPacing::OnUpdate() {
    if (!enabled) return;
    const double t = now();
    if (lastUpdate > 0 && t - lastUpdate > longestGap) longestGap = t - lastUpdate;
    lastUpdate = t;
    ++updates;
}

void XrPacing::OnFrame() {
    if (!enabled) return;
    const double t = now();
    if (!framed) {
        framed = true;
        std::fprintf(stderr, "pacing first_frame_at=%.6f\n", t);
    }
    ++frames;
    if (t - secondStart < 1) return;
    std::fprintf(stderr, "pacing updates=%d frames=%d longest_gap_ms=%.1f span_ms=%.1f\n", updates, frames,
                 longestGap * 1000, (t - secondStart) * 1000);
    std::fflush(stderr);
    secondStart = t;
    updates = frames = 0;
    longestGap = 0;
}
