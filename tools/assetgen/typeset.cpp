#include "tools/assetgen/typeset.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "tools/assetgen/raster.h"

namespace art {

Face::Face(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) throw std::runtime_error("cannot open font " + path);
    std::fseek(f, 0, SEEK_END);
    long size = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    data_.resize(size_t(size));
    size_t got = std::fread(data_.data(), 1, data_.size(), f);
    std::fclose(f);
    if (got != data_.size() || !stbtt_InitFont(&info_, data_.data(), stbtt_GetFontOffsetForIndex(data_.data(), 0)))
        throw std::runtime_error("cannot read font " + path);
}

float Face::scaleForEm(float em) const { return stbtt_ScaleForMappingEmToPixels(&info_, em); }

namespace {

// Calls fn(codepoint, penX) for each character, advancing with kerning.
template <class Fn>
void walk(const Face& face, const std::string& text, const TextStyle& style, Fn&& fn) {
    float s = face.scaleForEm(style.em);
    float pen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        int cp = (unsigned char)text[i];
        fn(cp, pen);
        int advance, bearing;
        stbtt_GetCodepointHMetrics(face.info(), cp, &advance, &bearing);
        pen += advance * s * style.xScale + style.tracking;
        if (i + 1 < text.size())
            pen += stbtt_GetCodepointKernAdvance(face.info(), cp, (unsigned char)text[i + 1]) * s * style.xScale;
    }
}

}  // namespace

Box textBounds(const Face& face, const std::string& text, const TextStyle& style) {
    float s = face.scaleForEm(style.em);
    Box box{1e9f, 1e9f, -1e9f, -1e9f};
    walk(face, text, style, [&](int cp, float pen) {
        int x0, y0, x1, y1;
        if (!stbtt_GetCodepointBox(face.info(), cp, &x0, &y0, &x1, &y1)) return;
        box.x0 = std::min(box.x0, pen + x0 * s * style.xScale);
        box.x1 = std::max(box.x1, pen + x1 * s * style.xScale);
        box.y0 = std::min(box.y0, -y1 * s);
        box.y1 = std::max(box.y1, -y0 * s);
    });
    if (box.x0 > box.x1) box = Box{};
    return box;
}

Field::Field(const Face& face, const std::string& text, const TextStyle& style, float x, float baseline, int w,
             int h, int res)
    : w_(w), h_(h), res_(res) {
    const int W = w * res, H = h * res;
    std::vector<float> coverage(size_t(W) * H, 0.0f);
    float s = face.scaleForEm(style.em) * res;
    std::vector<unsigned char> glyph;
    walk(face, text, style, [&](int cp, float pen) {
        float gx = (x + pen) * res, gy = baseline * res;
        float ix = std::floor(gx), iy = std::floor(gy);
        float sx = s * style.xScale, sy = s;
        int x0, y0, x1, y1;
        stbtt_GetCodepointBitmapBoxSubpixel(face.info(), cp, sx, sy, gx - ix, gy - iy, &x0, &y0, &x1, &y1);
        int gw = x1 - x0, gh = y1 - y0;
        if (gw <= 0 || gh <= 0) return;
        glyph.assign(size_t(gw) * gh, 0);
        stbtt_MakeCodepointBitmapSubpixel(face.info(), glyph.data(), gw, gh, gw, sx, sy, gx - ix, gy - iy, cp);
        for (int j = 0; j < gh; ++j)
            for (int i = 0; i < gw; ++i) {
                int px = int(ix) + x0 + i, py = int(iy) + y0 + j;
                if (px < 0 || py < 0 || px >= W || py >= H) continue;
                float& c = coverage[size_t(py) * W + px];
                c = std::min(1.0f, c + glyph[size_t(j) * gw + i] / 255.0f);
            }
    });
    std::vector<uint8_t> in(coverage.size()), out(coverage.size());
    for (size_t i = 0; i < coverage.size(); ++i) {
        in[i] = coverage[i] >= 0.5f;
        out[i] = !in[i];
    }
    std::vector<float> toInk = distanceTo(in, W, H);
    std::vector<float> toGap = distanceTo(out, W, H);
    d_.resize(coverage.size());
    for (size_t i = 0; i < coverage.size(); ++i) {
        // Coverage refines the half-pixel step of the binary transform.
        float edge = 0.5f - coverage[i];
        float d = in[i] ? -(toGap[i] - 0.5f) : (toInk[i] - 0.5f);
        if (toInk[i] <= 1.0f && toGap[i] <= 1.0f) d = edge;
        d_[i] = d / float(res);
    }
}

float Field::at(float x, float y) const {
    if (d_.empty()) return 1e9f;
    float u = x * res_ - 0.5f, v = y * res_ - 0.5f;
    const int W = w_ * res_, H = h_ * res_;
    u = std::max(0.0f, std::min(float(W - 1), u));
    v = std::max(0.0f, std::min(float(H - 1), v));
    int i = std::min(int(u), W - 2), j = std::min(int(v), H - 2);
    float tx = u - i, ty = v - j;
    auto g = [&](int a, int b) { return d_[size_t(b) * W + a]; };
    return lerp(lerp(g(i, j), g(i + 1, j), tx), lerp(g(i, j + 1), g(i + 1, j + 1), tx), ty);
}

}  // namespace art
