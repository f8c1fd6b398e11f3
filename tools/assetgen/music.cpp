// "Aqua": 16 bars at 60 beats a minute (64 seconds) in D minor.
//
// The piece is written as a circle rather than a line. Every note is rendered
// in full, and whatever rings past the last bar is added onto the first, as
// it sounds when the track repeats; every filter, echo and reverb runs over
// the loop twice and keeps only the second pass, so its state at the start is
// the state the end leaves behind. The last sample therefore leads straight
// into the first and the game's looping playback has no seam.
#include <algorithm>

#include "tools/assetgen/synth.h"

namespace audio {

namespace {

constexpr int kBars = 16;
constexpr double kBeat = 1.0;  // seconds
constexpr double kBar = 4 * kBeat;
constexpr size_t kLoop = size_t(kBars * kBar * kRate);
constexpr size_t kTail = size_t(8.0 * kRate);

struct Bus {
    std::vector<float> l, r;
    Bus() : l(kLoop + kTail, 0.0f), r(kLoop + kTail, 0.0f) {}
    void add(size_t i, float v, float pan) {
        if (i >= l.size()) return;
        // Constant-power pan, -1 left .. 1 right.
        double a = (pan + 1) * kTau / 8;
        l[i] += v * float(std::cos(a));
        r[i] += v * float(std::sin(a));
    }
    // Folds what rang past the loop onto its start.
    void wrap() {
        for (size_t i = kLoop; i < l.size(); ++i) {
            l[i - kLoop] += l[i];
            r[i - kLoop] += r[i];
        }
        l.resize(kLoop);
        r.resize(kLoop);
    }
};

// Runs fx over the loop twice and keeps the second pass (see above).
template <class Fx>
void cyclic(Bus& bus, Fx&& fx) {
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < kLoop; ++i) {
            float l = bus.l[i], r = bus.r[i];
            fx(l, r, i);
            if (pass == 1) {
                bus.l[i] = l;
                bus.r[i] = r;
            }
        }
}

struct Chord {
    int bass;
    std::vector<int> pad;  // MIDI notes
    std::vector<int> arp;  // the arpeggio's five notes, low to high
};

const Chord kChords[8] = {
    {38, {50, 53, 57, 60, 64}, {62, 65, 69, 72, 76}},  // Dm9
    {34, {46, 50, 53, 57, 60}, {58, 62, 65, 69, 72}},  // B-flat maj9
    {41, {53, 57, 60, 64, 67}, {65, 69, 72, 76, 79}},  // F maj9
    {36, {48, 55, 60, 62, 64}, {60, 62, 67, 72, 74}},  // C add9
    {38, {50, 53, 57, 60, 64}, {62, 65, 69, 72, 76}},  // Dm9
    {31, {43, 55, 58, 62, 65}, {62, 65, 67, 70, 74}},  // Gm9
    {34, {46, 53, 57, 62, 65}, {58, 62, 65, 69, 74}},  // B-flat maj7
    {33, {45, 52, 55, 61, 64}, {57, 61, 64, 67, 69}},  // A7
};

// A warm pad: three detuned saws through a low-pass that breathes on a
// 16-second cycle (a divisor of the loop, so it too joins up).
void pad(Bus& bus, double start, double hold, int note, float amp, uint32_t seed) {
    Noise rng(seed);
    const double hz = midiHz(note);
    const double detune[3] = {-0.0045, 0.0, 0.0052};
    const float pans[3] = {-0.55f, 0.0f, 0.55f};
    Saw saws[3];
    for (Saw& s : saws) s.phase = rng.uniform();
    Biquad lp[3];
    const double attack = 1.6, release = 1.3;
    size_t from = size_t(start * kRate), length = size_t((attack + hold + release * 5) * kRate);
    for (size_t n = 0; n < length; ++n) {
        size_t i = from + n;
        double t = double(n) / kRate;
        if (n % 32 == 0) {
            double cycle = std::sin(kTau * double(i % kLoop) / kRate / 16.0);
            for (Biquad& f : lp) f.setLowpass(700 + 450 * cycle + hz * 1.5, 0.8);
        }
        float env = envelope(t, attack, hold, release) * amp;
        for (int k = 0; k < 3; ++k) bus.add(i, lp[k].run(saws[k].run(hz * (1 + detune[k]))) * env, pans[k]);
    }
}

void bass(Bus& bus, double start, double hold, int note, float amp) {
    const double hz = midiHz(note);
    Biquad lp = Biquad::lowpass(400, 0.7);
    double phase = 0;
    size_t from = size_t(start * kRate), length = size_t((hold + 2.0) * kRate);
    for (size_t n = 0; n < length; ++n) {
        double t = double(n) / kRate;
        phase += kTau * hz / kRate;
        double v = std::sin(phase) + 0.3 * std::sin(2 * phase) + 0.1 * std::sin(3 * phase);
        float env = envelope(t, 0.05, hold, 0.35) * amp;
        bus.add(from + n, lp.run(float(std::tanh(v * 0.9))) * env, 0.0f);
    }
}

// A soft glassy pluck: two-operator FM whose brightness fades fast.
void pluck(Bus& bus, double start, int note, float amp, float pan) {
    const double hz = midiHz(note);
    double pc = 0, pm = 0;
    size_t from = size_t(start * kRate), length = size_t(3.2 * kRate);
    for (size_t n = 0; n < length; ++n) {
        double t = double(n) / kRate;
        pm += kTau * hz * 3.0 / kRate;
        pc += kTau * hz / kRate;
        double index = 1.6 * std::exp(-t / 0.18);
        float v = float(std::sin(pc + index * std::sin(pm))) * strike(t, 0.004, 0.6);
        bus.add(from + n, v * amp, pan);
    }
}

// The lead: a sine with a touch of overtones and a vibrato that comes in late.
void lead(Bus& bus, double start, double hold, int note, float amp) {
    const double hz = midiHz(note);
    double phase = 0;
    size_t from = size_t(start * kRate), length = size_t((hold + 2.5) * kRate);
    for (size_t n = 0; n < length; ++n) {
        double t = double(n) / kRate;
        double vib = 1 + 0.004 * std::sin(kTau * 5.0 * t) * std::min(1.0, std::max(0.0, t - 0.3) * 2);
        phase += kTau * hz * vib / kRate;
        double v = std::sin(phase) + 0.18 * std::sin(2 * phase) + 0.06 * std::sin(3 * phase);
        bus.add(from + n, float(v) * envelope(t, 0.09, hold, 0.45) * amp, 0.15f);
    }
}

// Small air bubbles rising past the listener.
void bubble(Bus& bus, double start, double hz, double length, float amp, float pan) {
    double phase = 0;
    size_t from = size_t(start * kRate), n0 = size_t(length * kRate);
    for (size_t n = 0; n < n0; ++n) {
        double t = double(n) / kRate;
        phase += kTau * hz * (1 + 1.6 * t / length) / kRate;
        bus.add(from + n, float(std::sin(phase)) * strike(t, 0.002, length * 0.35) * amp, pan);
    }
}

struct Note {
    double beat;
    double beats;
    int note;
};

// The melody of the second half, over bars 9 to 16.
const Note kMelody[] = {
    {32, 2, 69}, {34, 1, 72}, {35, 1, 74},  // Dm9
    {36, 3, 77}, {39, 1, 76},               // B-flat
    {40, 2, 72}, {42, 2, 69},               // F
    {44, 3, 67}, {47, 1, 64},               // C
    {48, 2, 65}, {50, 1, 69}, {51, 1, 74},  // Dm9
    {52, 2, 70}, {54, 1, 69}, {55, 1, 67},  // Gm9
    {56, 2, 65}, {58, 2, 62},               // B-flat
    {60, 2, 64}, {62, 2, 61},               // A7, leading back to D
};

float rms(const Bus& b) {
    double sum = 0;
    for (size_t i = 0; i < b.l.size(); ++i) sum += double(b.l[i]) * b.l[i] + double(b.r[i]) * b.r[i];
    return float(std::sqrt(sum / (2.0 * double(b.l.size()))));
}

}  // namespace

Clip aqua() {
    Bus pads, basses, arps, leads, air;
    for (int bar = 0; bar < kBars; ++bar) {
        const Chord& ch = kChords[bar % 8];
        double t0 = bar * kBar;
        for (size_t k = 0; k < ch.pad.size(); ++k)
            pad(pads, t0, kBar - 1.2, ch.pad[k], 0.075f, uint32_t(1000 + bar * 16 + k));
        bass(basses, t0, 2.3, ch.bass, 0.33f);
        bass(basses, t0 + 2.5, 1.2, ch.bass + (bar % 2 ? 12 : 7), 0.24f);
        // First half: one note a beat; second half: a flowing eighth-note
        // line up and down the chord.
        static const int up[4] = {0, 2, 1, 3};
        static const int flow[8] = {0, 1, 2, 3, 4, 3, 2, 1};
        if (bar < 8) {
            for (int b = 0; b < 4; ++b) pluck(arps, t0 + b * kBeat, ch.arp[up[b]], 0.28f, b % 2 ? 0.35f : -0.35f);
        } else {
            for (int e = 0; e < 8; ++e)
                pluck(arps, t0 + e * kBeat / 2, ch.arp[flow[e]], e % 2 ? 0.18f : 0.24f, e % 2 ? 0.4f : -0.4f);
        }
    }
    for (const Note& n : kMelody) lead(leads, n.beat * kBeat, n.beats * kBeat - 0.15, n.note, 0.19f);
    Noise rng(2024);
    for (double t = 0.6; t < kBars * kBar - 0.5;) {
        int group = 1 + int(rng.uniform() * 3);
        float pan = rng.next() * 0.8f;
        for (int g = 0; g < group; ++g)
            bubble(air, t + g * (0.05 + rng.uniform() * 0.06), 380 + rng.uniform() * 500, 0.035 + rng.uniform() * 0.03,
                   0.11f + rng.uniform() * 0.09f, pan);
        t += 1.1 + rng.uniform() * 2.6;
    }
    for (Bus* b : {&pads, &basses, &arps, &leads, &air}) b->wrap();

    // The ocean's hush: low-passed noise swelling on a 16-second cycle.
    Bus sea;
    Noise sl(31), sr(32);
    for (size_t i = 0; i < kLoop; ++i) {
        float swell = 0.6f + 0.4f * float(std::sin(kTau * double(i) / kRate / 16.0 + 1.0));
        sea.l[i] = sl.next() * swell;
        sea.r[i] = sr.next() * swell;
    }
    {
        Biquad fl = Biquad::lowpass(240, 0.6), fr = Biquad::lowpass(240, 0.6);
        cyclic(sea, [&](float& l, float& r, size_t) {
            l = fl.run(l) * 0.18f;
            r = fr.run(r) * 0.18f;
        });
    }

    // A ping-pong echo of a dotted eighth on the arpeggio.
    {
        const size_t d = size_t(0.75 * kRate);
        std::vector<float> dl(d, 0.0f), dr(d, 0.0f);
        size_t at = 0;
        Biquad damp = Biquad::lowpass(3000, 0.7);
        cyclic(arps, [&](float& l, float& r, size_t) {
            float el = dl[at], er = dr[at];
            float in = (l + r) * 0.5f;
            dl[at] = damp.run(in + er * 0.38f);
            dr[at] = el;
            if (++at == d) at = 0;
            l += el * 0.45f;
            r += er * 0.45f;
        });
    }

    Bus mix;
    Bus send;
    const struct {
        Bus* bus;
        float level, reverb;
    } parts[] = {{&pads, 1.0f, 0.35f}, {&basses, 1.0f, 0.06f}, {&arps, 1.0f, 0.55f},
                 {&leads, 1.0f, 0.5f}, {&air, 1.0f, 0.6f},     {&sea, 1.0f, 0.1f}};
    mix.l.resize(kLoop);
    mix.r.resize(kLoop);
    send.l.resize(kLoop);
    send.r.resize(kLoop);
    for (const auto& p : parts)
        for (size_t i = 0; i < kLoop; ++i) {
            mix.l[i] += p.bus->l[i] * p.level;
            mix.r[i] += p.bus->r[i] * p.level;
            send.l[i] += p.bus->l[i] * p.reverb;
            send.r[i] += p.bus->r[i] * p.reverb;
        }
    Reverb hall(0.88, 0.45);
    cyclic(send, [&](float& l, float& r, size_t) {
        float wl, wr;
        hall.run(l, r, wl, wr);
        l = wl;
        r = wr;
    });
    // A deep space: the reverb sits about 6 dB under the dry mix.
    float wet = 0.5f * rms(mix) / std::max(1e-9f, rms(send));
    for (size_t i = 0; i < kLoop; ++i) {
        mix.l[i] += send.l[i] * wet;
        mix.r[i] += send.r[i] * wet;
    }
    // Water takes the edge off the top end.
    {
        Biquad fl = Biquad::lowpass(9000, 0.7), fr = Biquad::lowpass(9000, 0.7);
        cyclic(mix, [&](float& l, float& r, size_t) {
            l = fl.run(l);
            r = fr.run(r);
        });
    }

    Clip clip;
    clip.channels = 2;
    clip.samples.resize(kLoop * 2);
    for (size_t i = 0; i < kLoop; ++i) {
        clip.samples[i * 2] = mix.l[i];
        clip.samples[i * 2 + 1] = mix.r[i];
    }
    // Lossy coding can overshoot the input's peaks a little: leave room.
    normalise(clip, 0.7f);
    return clip;
}

}  // namespace audio
