// Draws every sound of a data folder as a waveform over a spectrogram on one
// PNG, so that envelopes, pitch sweeps, echoes and the music's loop point can
// be checked by eye. The music also gets a close-up of its last and first
// milliseconds joined together, as the looping playback plays them.
//
//   soundsheet DATADIR OUT.png
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "audio/sampleloader.h"
#include "tools/assetgen/catalog.h"
#include "tools/assetgen/raster.h"
#include "tools/assetgen/typeset.h"

#ifndef ASSETGEN_FONT_DIR
#define ASSETGEN_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

using namespace art;

namespace {

constexpr int kWidth = 1600;

struct Sound {
    std::vector<float> mono;  // channels averaged
    int channels = 0, rate = 0;
};

Sound load(const std::string& path, bool ogg) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) throw std::runtime_error("cannot open " + path);
    int length = 0, channels = 0, format = 0, hertz = 0;
    unsigned char* data = ogg ? LoadOGG(f, &length, &channels, &format, &hertz)
                              : LoadWAV(f, &length, &channels, &format, &hertz);
    std::fclose(f);
    if (!data || format != 2) throw std::runtime_error("cannot decode " + path);
    Sound s;
    s.channels = channels;
    s.rate = hertz;
    const int16_t* pcm = reinterpret_cast<const int16_t*>(data);
    s.mono.resize(size_t(length));
    for (int i = 0; i < length; ++i) {
        float sum = 0;
        for (int c = 0; c < channels; ++c) sum += pcm[size_t(i) * channels + c] / 32768.0f;
        s.mono[size_t(i)] = sum / channels;
    }
    std::free(data);
    return s;
}

void fft(std::vector<std::complex<float>>& a) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        float ang = -2 * kPi / float(len);
        std::complex<float> w(std::cos(ang), std::sin(ang));
        for (size_t i = 0; i < n; i += len) {
            std::complex<float> v(1);
            for (size_t k = 0; k < len / 2; ++k) {
                std::complex<float> x = a[i + k], y = a[i + k + len / 2] * v;
                a[i + k] = x + y;
                a[i + k + len / 2] = x - y;
                v *= w;
            }
        }
    }
}

RGBA heat(float t) {
    t = clamp01(t);
    if (t < 0.33f) return mix(hex(0x05070f), hex(0x1b4f8e), t / 0.33f);
    if (t < 0.66f) return mix(hex(0x1b4f8e), hex(0x3cc8cc), (t - 0.33f) / 0.33f);
    return mix(hex(0x3cc8cc), hex(0xfff1a8), (t - 0.66f) / 0.34f);
}

void text(Image& img, const Face& face, const std::string& s, int x, int y) {
    TextStyle st{16, 1, 0};
    Box b = textBounds(face, s, st);
    Field f(face, s, st, 0, 14, int(b.x1) + 4, 20, 2);
    shade(img, x, y, int(b.x1) + 4, 20, 1, [&](float px, float py) { return paint(hex(0xe8eef5), cover(f.at(px, py))); });
}

void waveform(Image& img, const std::vector<float>& s, size_t from, size_t count, int x0, int y0, int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.compose(x0 + x, y0 + y, hex(0x0b1220));
    for (int x = 0; x < w; ++x) {
        size_t a = from + count * size_t(x) / size_t(w), b = from + count * size_t(x + 1) / size_t(w);
        b = std::max(b, a + 1);
        float lo = 1, hi = -1;
        for (size_t i = a; i < b && i < s.size(); ++i) {
            lo = std::min(lo, s[i]);
            hi = std::max(hi, s[i]);
        }
        int y1 = y0 + int((1 - hi) * 0.5f * (h - 1)), y2 = y0 + int((1 - lo) * 0.5f * (h - 1));
        for (int y = y1; y <= y2; ++y) img.compose(x0 + x, y, hex(0x7ff5f0));
    }
    // Full scale and -1 dBFS guides.
    for (int x = 0; x < w; x += 4) {
        img.compose(x0 + x, y0 + int(0.5f * (1 - 0.891f) * (h - 1)), hex(0xff6f5e, 0.8f));
        img.compose(x0 + x, y0 + int(0.5f * (1 + 0.891f) * (h - 1)), hex(0xff6f5e, 0.8f));
    }
}

void spectrogram(Image& img, const std::vector<float>& s, int rate, int x0, int y0, int w, int h) {
    const size_t n = 2048;
    std::vector<std::complex<float>> buf(n);
    for (int x = 0; x < w; ++x) {
        size_t centre = s.size() * size_t(x) / size_t(w);
        for (size_t i = 0; i < n; ++i) {
            long at = long(centre) + long(i) - long(n / 2);
            float v = (at >= 0 && size_t(at) < s.size()) ? s[size_t(at)] : 0.0f;
            float win = 0.5f - 0.5f * std::cos(2 * kPi * float(i) / float(n));
            buf[i] = v * win;
        }
        fft(buf);
        for (int y = 0; y < h; ++y) {
            // Logarithmic frequency axis from 40 Hz to 16 kHz.
            float hz = 40 * std::pow(400.0f, float(h - 1 - y) / float(h - 1));
            size_t bin = std::min(n / 2 - 1, size_t(hz * n / rate));
            float db = 20 * std::log10(std::abs(buf[bin]) / (n / 4) + 1e-7f);
            img.compose(x0 + x, y0 + y, heat((db + 90) / 80));
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DATADIR OUT.png\n", argv[0]);
        return 2;
    }
    try {
        Face face(std::string(ASSETGEN_FONT_DIR) + "/DejaVuSansMono-Bold.ttf");
        std::vector<std::pair<std::string, bool>> files;
        for (const catalog::Sound& s : catalog::effects()) files.push_back({s.path, false});
        files.push_back({catalog::musicPath(), true});
        const int block = 30 + 120 + 200 + 20;
        Image sheet(kWidth + 40, int(files.size()) * block + 160);
        for (RGBA& p : sheet.px) p = hex(0x14171f);
        int y = 10;
        Sound music;
        for (const auto& f : files) {
            Sound s = load(std::string(argv[1]) + "/" + f.first, f.second);
            float peak = 0;
            for (float v : s.mono) peak = std::max(peak, std::fabs(v));
            char title[200];
            std::snprintf(title, sizeof title, "%s   %.3f s  %d ch  %d Hz  peak %.1f dBFS", f.first.c_str(),
                          double(s.mono.size()) / s.rate, s.channels, s.rate, 20 * std::log10(peak + 1e-9));
            text(sheet, face, title, 20, y);
            waveform(sheet, s.mono, 0, s.mono.size(), 20, y + 30, kWidth, 110);
            spectrogram(sheet, s.mono, s.rate, 20, y + 150, kWidth, 200);
            y += block;
            if (f.second) music = s;
        }
        // The loop point: the last 25 ms followed by the first 25 ms.
        size_t span = size_t(music.rate) / 40;
        std::vector<float> seam(music.mono.end() - long(span), music.mono.end());
        seam.insert(seam.end(), music.mono.begin(), music.mono.begin() + long(span));
        text(sheet, face, "loop point: last 25 ms | first 25 ms", 20, y);
        waveform(sheet, seam, 0, seam.size(), 20, y + 30, kWidth, 110);
        for (int yy = 0; yy < 110; ++yy) sheet.compose(20 + kWidth / 2, y + 30 + yy, hex(0xf2c230));
        writePNG(argv[2], sheet);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "soundsheet: %s\n", e.what());
        return 1;
    }
    return 0;
}
