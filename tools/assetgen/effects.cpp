// The sound effects. Each is layered from a few voices with their own
// envelopes, passed through a small room, faded at the end and normalised
// below full scale so that no playback rate or volume makes it clip.
#include <algorithm>

#include "tools/assetgen/synth.h"

namespace audio {

namespace {

constexpr float kEffectPeak = 0.79f;  // about -2 dBFS

Clip mono(double seconds) {
    Clip c;
    c.channels = 1;
    c.samples.assign(size_t(seconds * kRate), 0.0f);
    return c;
}

struct Partial {
    double ratio;
    float amp;
    double decay;
};

// A struck metal or glass voice: a few partials with their own decays.
void bell(Clip& c, double start, double hz, float amp, const std::vector<Partial>& partials, double attack = 0.002) {
    size_t from = size_t(start * kRate);
    for (size_t i = from; i < c.samples.size(); ++i) {
        double t = double(i - from) / kRate;
        double v = 0;
        for (const Partial& p : partials) {
            if (hz * p.ratio > kRate * 0.45) continue;
            v += p.amp * strike(t, attack, p.decay) * std::sin(kTau * hz * p.ratio * t);
        }
        c.samples[i] += float(v) * amp;
    }
}

// Runs a mono clip through a room and mixes the wet signal back in.
void room(Clip& c, double size, double damping, float wet) {
    Reverb rv(size, damping);
    for (float& s : c.samples) {
        float l, r;
        rv.run(s, s, l, r);
        s += (l + r) * 0.5f * wet;
    }
}

void finish(Clip& c, double fade, float peak = kEffectPeak) {
    fadeTail(c, fade);
    normalise(c, peak);
}

const std::vector<Partial> kGlass = {{1, 1.0f, 0.32}, {2.0, 0.45f, 0.18}, {3.01, 0.22f, 0.1}, {4.2, 0.1f, 0.06}, {5.43, 0.05f, 0.04}};

}  // namespace

Clip treasureChime() {
    Clip c = mono(0.8);
    bell(c, 0.0, 1318.5, 0.8f, kGlass);   // E6
    bell(c, 0.07, 1975.5, 0.7f, kGlass);  // B6
    bell(c, 0.14, 2637.0, 0.35f, {{1, 1.0f, 0.2}, {2.0, 0.3f, 0.1}});
    // A spray of tiny high glints gives the sparkle.
    Noise rng(77);
    for (int i = 0; i < 9; ++i) {
        double at = 0.03 + i * 0.028 + rng.uniform() * 0.01;
        bell(c, at, 3200 + rng.uniform() * 2200, 0.07f, {{1, 1.0f, 0.03}});
    }
    room(c, 0.55, 0.4, 0.5f);
    finish(c, 0.08);
    return c;
}

Clip hit() {
    Clip c = mono(0.55);
    Noise rng(1234);
    Biquad crunch = Biquad::bandpass(1400, 0.9), body = Biquad::lowpass(700, 0.7);
    double phase = 0, knockPhase = 0;
    float grit = 0;
    for (size_t i = 0; i < c.samples.size(); ++i) {
        double t = double(i) / kRate;
        // A thud whose pitch falls like a body hitting rock under water.
        double hz = 45 + 110 * std::exp(-t / 0.07);
        phase += kTau * hz / kRate;
        float thud = float(std::tanh(2.2 * std::sin(phase))) * strike(t, 0.003, 0.13);
        // Crunch: band-passed noise in crackling grains.
        if (rng.uniform() < 0.012f) grit = rng.uniform();
        grit *= 0.995f;
        float n = rng.next();
        float crack = crunch.run(n) * (0.6f * strike(t, 0.001, 0.04) + 0.5f * grit * strike(t, 0.0, 0.09));
        float rumble = body.run(n) * strike(t, 0.005, 0.18) * 0.5f;
        // A hollow knock in the middle of the range, so small speakers feel
        // the blow too.
        knockPhase += kTau * (130 + 120 * std::exp(-t / 0.03)) / kRate;
        float knock = float(std::sin(knockPhase)) * strike(t, 0.001, 0.05);
        c.samples[i] = thud * 0.7f + knock * 0.6f + crack * 2.2f + rumble;
    }
    Biquad muffle = Biquad::lowpass(3200, 0.7);
    for (float& s : c.samples) s = muffle.run(s);
    room(c, 0.4, 0.6, 0.35f);
    finish(c, 0.1, 0.84f);
    return c;
}

Clip lastLife() {
    Clip c = mono(0.98);
    // Four falling steps, the last one sagging with vibrato: the sound of
    // the final breath running out.
    const double notes[4] = {70, 69, 68, 67};  // B-flat4 down to G4
    const double starts[4] = {0.0, 0.15, 0.30, 0.45};
    Biquad tone = Biquad::lowpass(2500, 0.8);
    double phase = 0;
    for (size_t i = 0; i < c.samples.size(); ++i) {
        double t = double(i) / kRate;
        int k = 3;
        while (k > 0 && t < starts[k]) --k;
        double local = t - starts[k];
        double hz = midiHz(notes[k]);
        float amp;
        if (k < 3) {
            amp = envelope(local, 0.012, 0.09, 0.03);
        } else {
            hz *= std::pow(2.0, -2.0 / 12.0 * std::min(local, 0.45) / 0.45);  // sags two semitones
            hz *= 1 + 0.012 * std::sin(kTau * 5.5 * local) * std::min(1.0, local * 4);
            amp = envelope(local, 0.015, 0.22, 0.12);
        }
        phase += kTau * hz / kRate;
        // A soft brass voice: odd and even harmonics falling off, brighter
        // at each onset.
        double bright = 0.45 + 0.55 * std::exp(-local / 0.08);
        double v = 0;
        for (int h = 1; h <= 7; ++h) v += std::sin(phase * h) / h * std::pow(bright, h - 1);
        v += 0.35 * std::sin(phase * 0.5);  // a hollow sub-octave
        c.samples[i] = tone.run(float(v) * amp);
    }
    room(c, 0.5, 0.5, 0.35f);
    finish(c, 0.06);
    return c;
}

Clip sonarPing() {
    Clip c = mono(0.95);
    Clip dry = mono(0.95);
    bell(dry, 0.0, 1480, 1.0f, {{1, 1.0f, 0.11}, {2.0, 0.12f, 0.05}, {0.5, 0.08f, 0.15}}, 0.003);
    // The pulse comes back from the cave walls, duller each time.
    const double delays[4] = {0.0, 0.21, 0.42, 0.63};
    const float gains[4] = {1.0f, 0.42f, 0.2f, 0.09f};
    for (int e = 0; e < 4; ++e) {
        Biquad dull = Biquad::lowpass(5000 / (1 + e * 1.6), 0.7);
        size_t off = size_t(delays[e] * kRate);
        for (size_t i = 0; i + off < c.samples.size(); ++i) c.samples[i + off] += dull.run(dry.samples[i]) * gains[e];
    }
    room(c, 0.75, 0.3, 0.6f);
    finish(c, 0.12);
    return c;
}

Clip studioJingle() {
    Clip c = mono(2.7);
    // A rising arpeggio of glass bells resolving onto a warm major ninth.
    const double arp[6] = {72, 76, 79, 83, 84, 88};  // C5 E5 G5 B5 C6 E6
    for (int i = 0; i < 6; ++i) bell(c, 0.02 + i * 0.11, midiHz(arp[i]), 0.55f, kGlass);
    const double chord[5] = {60, 64, 67, 71, 74};
    for (double note : chord) {
        Saw a, b;
        Biquad lp = Biquad::lowpass(1800, 0.7);
        double hz = midiHz(note);
        for (size_t i = size_t(0.55 * kRate); i < c.samples.size(); ++i) {
            double t = double(i) / kRate - 0.55;
            float v = (a.run(hz * 1.003) + b.run(hz * 0.997)) * 0.5f;
            c.samples[i] += lp.run(v) * envelope(t, 0.25, 0.8, 0.5) * 0.16f;
        }
    }
    bell(c, 0.66, midiHz(96), 0.25f, kGlass);  // a high C on the downbeat
    double phase = 0;
    for (size_t i = size_t(0.55 * kRate); i < c.samples.size(); ++i) {
        double t = double(i) / kRate - 0.55;
        phase += kTau * midiHz(36) / kRate;
        c.samples[i] += float(std::sin(phase)) * envelope(t, 0.08, 0.6, 0.5) * 0.35f;
    }
    room(c, 0.8, 0.35, 0.55f);
    finish(c, 0.5);
    return c;
}

Clip menuMove() {
    Clip c = mono(0.09);
    Noise rng(5);
    Biquad lp = Biquad::lowpass(2500, 0.7);
    double phase = 0;
    for (size_t i = 0; i < c.samples.size(); ++i) {
        double t = double(i) / kRate;
        phase += kTau * (1050 + 500 * t / 0.09) / kRate;
        float blip = float(std::sin(phase)) * strike(t, 0.0015, 0.014);
        float tick = lp.run(rng.next()) * strike(t, 0.0003, 0.002);
        c.samples[i] = blip + tick * 0.6f;
    }
    finish(c, 0.02, 0.6f);
    return c;
}

Clip menuSelect() {
    Clip c = mono(0.32);
    bell(c, 0.0, 880, 0.8f, {{1, 1.0f, 0.06}, {2.0, 0.25f, 0.03}, {3.0, 0.1f, 0.02}});
    bell(c, 0.065, 1318.5, 0.9f, {{1, 1.0f, 0.09}, {2.0, 0.3f, 0.04}, {3.0, 0.12f, 0.025}});
    // A bubble rising under the two notes.
    double phase = 0;
    for (size_t i = 0; i < size_t(0.08 * kRate); ++i) {
        double t = double(i) / kRate;
        phase += kTau * (380 + 900 * (t / 0.08) * (t / 0.08)) / kRate;
        c.samples[i] += float(std::sin(phase)) * strike(t, 0.004, 0.03) * 0.35f;
    }
    room(c, 0.35, 0.5, 0.3f);
    finish(c, 0.05, 0.7f);
    return c;
}

}  // namespace audio
