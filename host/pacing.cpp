#include "host/pacing.h"

#include <chrono>
#include <cstdlib>

XrPacing xr_pacing;

double XrPacing::Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void XrPacing::Init() {
    enabled = std::getenv("GLIMMERDEEP_PACING") != nullptr;
    if (enabled) StartAt(Now());
}

void XrPacing::StartAt(double t) {
    secondStart = t;
    lastUpdate = longestGap = 0;
    updates = frames = 0;
    framed = false;
    nextFrameMoment = nullptr;
    trackName = nullptr;
}

void XrPacing::UpdateAt(double t) {
    if (lastUpdate > 0 && t - lastUpdate > longestGap) longestGap = t - lastUpdate;
    lastUpdate = t;
    ++updates;
}

void XrPacing::MomentAt(const char* name, double t) {
    std::fprintf(out, "pacing moment=%s at=%.6f\n", name, t);
    std::fflush(out);
}

void XrPacing::KeyAt(int code, bool down, double t) {
    std::fprintf(out, "pacing key=%d %s at=%.6f\n", code, down ? "down" : "up", t);
    std::fflush(out);
}

void XrPacing::FrameAt(double t) {
    if (!framed) {
        framed = true;
        MomentAt("first_frame", t);
    }
    if (nextFrameMoment) {
        MomentAt(nextFrameMoment, t);
        nextFrameMoment = nullptr;
    }
    ++frames;
    if (t - secondStart < 1) return;
    std::fprintf(out, "pacing updates=%d frames=%d longest_gap_ms=%.1f span_ms=%.1f end_at=%.6f\n", updates, frames,
                 longestGap * 1000, (t - secondStart) * 1000, t);
    if (trackName) std::fprintf(out, "pacing track=%s x=%.1f y=%.1f\n", trackName, trackX, trackY);
    std::fflush(out);
    trackName = nullptr;
    secondStart = t;
    updates = frames = 0;
    longestGap = 0;
}
