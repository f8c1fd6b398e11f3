// Small signal-processing parts shared by the effects and the music.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "tools/assetgen/sound.h"

namespace audio {

constexpr double kTau = 6.283185307179586;

inline double midiHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// White noise from a fixed seed.
struct Noise {
    uint32_t s;
    explicit Noise(uint32_t seed) : s(seed) {}
    float next() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return float(s) * (2.0f / 4294967296.0f) - 1.0f;
    }
    float uniform() { return (next() + 1) * 0.5f; }
};

// Robert Bristow-Johnson's biquads.
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    static Biquad lowpass(double hz, double q);
    static Biquad highpass(double hz, double q);
    static Biquad bandpass(double hz, double q);
    // Re-tunes a low-pass without clearing its state (for sweeps).
    void setLowpass(double hz, double q);
    float run(float x) {
        double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return float(y);
    }
};

// A band-limited sawtooth (polyBLEP), phase in cycles.
struct Saw {
    double phase = 0;
    float run(double hz) {
        double dt = hz / kRate;
        phase += dt;
        if (phase >= 1) phase -= 1;
        double v = 2 * phase - 1;
        if (phase < dt) {
            double t = phase / dt;
            v -= t + t - t * t - 1;
        } else if (phase > 1 - dt) {
            double t = (phase - 1) / dt;
            v -= t * t + t + t + 1;
        }
        return float(v);
    }
};

// Attack, hold at 1, then exponential release; everything in seconds.
inline float envelope(double t, double attack, double hold, double release) {
    if (t < 0) return 0;
    if (t < attack) {
        double x = t / attack;
        return float(x * x * (3 - 2 * x));
    }
    if (t < attack + hold) return 1;
    return float(std::exp(-(t - attack - hold) / release));
}

// Percussive envelope: a short attack then exponential decay.
inline float strike(double t, double attack, double decay) {
    if (t < 0) return 0;
    if (t < attack) return float(t / attack);
    return float(std::exp(-(t - attack) / decay));
}

// A stereo reverb of parallel damped combs and serial all-passes (after
// Schroeder and Moorer), the right channel's delays slightly longer.
class Reverb {
public:
    Reverb(double roomSize, double damping, int channelSpread = 23);
    // Processes one frame; returns the wet signal in l and r.
    void run(float inL, float inR, float& l, float& r);

private:
    struct Comb {
        std::vector<float> buf;
        size_t at = 0;
        float store = 0;
    };
    struct AllPass {
        std::vector<float> buf;
        size_t at = 0;
    };
    float feedback_, damp_;
    Comb combs_[2][8];
    AllPass passes_[2][4];
};

// Adds src into dst starting at frame offset (mono into mono).
inline void mixInto(std::vector<float>& dst, const std::vector<float>& src, size_t offset, float gain) {
    for (size_t i = 0; i < src.size() && offset + i < dst.size(); ++i) dst[offset + i] += src[i] * gain;
}

// A fade to silence over the last seconds of a mono clip, so effects never
// end on a cut.
void fadeTail(Clip& clip, double seconds);

}  // namespace audio
