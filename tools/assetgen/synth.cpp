#include "tools/assetgen/synth.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include <vorbis/vorbisenc.h>

namespace audio {

namespace {

struct File {
    explicit File(const std::string& path) : f(std::fopen(path.c_str(), "wb")), name(path) {
        if (!f) throw std::runtime_error("cannot write " + path);
    }
    ~File() {
        if (f) std::fclose(f);
    }
    void write(const void* data, size_t n) {
        if (n && std::fwrite(data, 1, n, f) != n) throw std::runtime_error("cannot write " + name);
    }
    void u32(uint32_t v) {
        unsigned char b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
        write(b, 4);
    }
    void u16(uint16_t v) {
        unsigned char b[2] = {uint8_t(v), uint8_t(v >> 8)};
        write(b, 2);
    }
    void close() {
        if (std::fclose(f) != 0) {
            f = nullptr;
            throw std::runtime_error("cannot write " + name);
        }
        f = nullptr;
    }
    FILE* f;
    std::string name;
};

}  // namespace

void normalise(Clip& clip, float peak) {
    float top = 0;
    for (float s : clip.samples) top = std::max(top, std::fabs(s));
    if (top <= 0) return;
    float k = peak / top;
    for (float& s : clip.samples) s *= k;
}

void writeWAV(const std::string& path, const Clip& clip) {
    File f(path);
    uint32_t dataBytes = uint32_t(clip.samples.size() * 2);
    f.write("RIFF", 4);
    f.u32(36 + dataBytes);
    f.write("WAVEfmt ", 8);
    f.u32(16);
    f.u16(1);
    f.u16(uint16_t(clip.channels));
    f.u32(kRate);
    f.u32(uint32_t(kRate * clip.channels * 2));
    f.u16(uint16_t(clip.channels * 2));
    f.u16(16);
    f.write("data", 4);
    f.u32(dataBytes);
    std::vector<unsigned char> bytes(dataBytes);
    for (size_t i = 0; i < clip.samples.size(); ++i) {
        long v = std::lround(double(clip.samples[i]) * 32767.0);
        v = std::max(-32768L, std::min(32767L, v));
        bytes[i * 2] = uint8_t(v & 255);
        bytes[i * 2 + 1] = uint8_t((v >> 8) & 255);
    }
    f.write(bytes.data(), bytes.size());
    f.close();
}

void writeOgg(const std::string& path, const Clip& clip) {
    File f(path);
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, clip.channels, kRate, 0.4f) != 0) {
        vorbis_info_clear(&vi);
        throw std::runtime_error("vorbis encoder refused the settings");
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", "Aqua");
    vorbis_comment_add_tag(&vc, "ARTIST", "Glimmerdeep");
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 0x41717561);  // fixed serial: the same samples give the same bytes

    auto pages = [&](bool flush) {
        ogg_page og;
        while (flush ? ogg_stream_flush(&os, &og) : ogg_stream_pageout(&os, &og)) {
            f.write(og.header, size_t(og.header_len));
            f.write(og.body, size_t(og.body_len));
        }
    };
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    pages(true);

    const size_t frames = clip.frames();
    const size_t chunk = 4096;
    for (size_t at = 0;; at += chunk) {
        size_t n = at < frames ? std::min(chunk, frames - at) : 0;
        if (n) {
            float** buffer = vorbis_analysis_buffer(&vd, int(n));
            for (size_t i = 0; i < n; ++i)
                for (int c = 0; c < clip.channels; ++c) buffer[c][i] = clip.samples[(at + i) * clip.channels + c];
        }
        vorbis_analysis_wrote(&vd, int(n));
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                pages(false);
            }
        }
        if (!n) break;
    }
    pages(true);
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    f.close();
}

namespace {

void coefficients(Biquad& q, double b0, double b1, double b2, double a0, double a1, double a2) {
    q.b0 = b0 / a0;
    q.b1 = b1 / a0;
    q.b2 = b2 / a0;
    q.a1 = a1 / a0;
    q.a2 = a2 / a0;
}

}  // namespace

Biquad Biquad::lowpass(double hz, double q) {
    Biquad f;
    f.setLowpass(hz, q);
    return f;
}

void Biquad::setLowpass(double hz, double q) {
    double w = kTau * std::min(hz, kRate * 0.45) / kRate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
    coefficients(*this, (1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

Biquad Biquad::highpass(double hz, double q) {
    Biquad f;
    double w = kTau * hz / kRate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
    coefficients(f, (1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
    return f;
}

Biquad Biquad::bandpass(double hz, double q) {
    Biquad f;
    double w = kTau * hz / kRate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
    coefficients(f, alpha, 0, -alpha, 1 + alpha, -2 * c, 1 - alpha);
    return f;
}

Reverb::Reverb(double roomSize, double damping, int spread)
    : feedback_(float(roomSize * 0.28 + 0.7)), damp_(float(damping * 0.4)) {
    static const int combLengths[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static const int passLengths[4] = {556, 441, 341, 225};
    for (int ch = 0; ch < 2; ++ch) {
        for (int i = 0; i < 8; ++i) combs_[ch][i].buf.assign(size_t(combLengths[i] + ch * spread), 0.0f);
        for (int i = 0; i < 4; ++i) passes_[ch][i].buf.assign(size_t(passLengths[i] + ch * spread), 0.0f);
    }
}

void Reverb::run(float inL, float inR, float& l, float& r) {
    float in[2] = {(inL + inR) * 0.015f, (inL + inR) * 0.015f};
    float out[2] = {0, 0};
    for (int ch = 0; ch < 2; ++ch) {
        for (Comb& c : combs_[ch]) {
            float y = c.buf[c.at];
            c.store = y * (1 - damp_) + c.store * damp_;
            c.buf[c.at] = in[ch] + c.store * feedback_;
            if (++c.at == c.buf.size()) c.at = 0;
            out[ch] += y;
        }
        for (AllPass& a : passes_[ch]) {
            float b = a.buf[a.at];
            float y = -out[ch] + b;
            a.buf[a.at] = out[ch] + b * 0.5f;
            if (++a.at == a.buf.size()) a.at = 0;
            out[ch] = y;
        }
    }
    l = out[0];
    r = out[1];
}

void fadeTail(Clip& clip, double seconds) {
    size_t n = std::min(clip.frames(), size_t(seconds * kRate));
    size_t start = clip.frames() - n;
    for (size_t i = 0; i < n; ++i) {
        double x = double(i + 1) / double(n);
        float g = float(0.5 * (1 + std::cos(x * kTau * 0.5)));
        for (int c = 0; c < clip.channels; ++c) clip.samples[(start + i) * clip.channels + c] *= g;
    }
}

}  // namespace audio
