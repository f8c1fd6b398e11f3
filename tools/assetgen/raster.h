// Float RGBA canvases, signed-distance shapes and noise for the asset
// generator. Colours are premultiplied so that "over" is one multiply-add and
// supersampled averages stay correct at soft edges.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace art {

constexpr float kPi = 3.14159265358979f;

inline float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline float lerp(float a, float b, float t) { return a + (b - a) * t; }
inline float smooth(float e0, float e1, float v) {
    float t = clamp01((v - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
inline float rad(float deg) { return deg * kPi / 180.0f; }

struct RGBA {
    float r = 0, g = 0, b = 0, a = 0;
};

// A straight (not premultiplied) colour from 0xRRGGBB, made premultiplied.
inline RGBA hex(uint32_t rgb, float a = 1) {
    return {((rgb >> 16) & 255) / 255.0f * a, ((rgb >> 8) & 255) / 255.0f * a,
            (rgb & 255) / 255.0f * a, a};
}
inline RGBA scaled(RGBA c, float k) { return {c.r * k, c.g * k, c.b * k, c.a * k}; }
inline RGBA paint(RGBA c, float coverage) { return scaled(c, clamp01(coverage)); }
inline RGBA over(RGBA top, RGBA bottom) {
    float k = 1 - top.a;
    return {top.r + bottom.r * k, top.g + bottom.g * k, top.b + bottom.b * k, top.a + bottom.a * k};
}
// Adds light without adding coverage beyond what is there plus the glow's own.
inline RGBA add(RGBA base, RGBA glow) {
    return {base.r + glow.r, base.g + glow.g, base.b + glow.b, std::min(1.0f, base.a + glow.a)};
}
// Mixes two opaque-or-not premultiplied colours.
inline RGBA mix(RGBA a, RGBA b, float t) {
    return {lerp(a.r, b.r, t), lerp(a.g, b.g, t), lerp(a.b, b.b, t), lerp(a.a, b.a, t)};
}
// Multiplies the colour channels only (shading), keeping coverage.
inline RGBA shadeBy(RGBA c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }

struct V2 {
    float x = 0, y = 0;
};
inline V2 operator+(V2 a, V2 b) { return {a.x + b.x, a.y + b.y}; }
inline V2 operator-(V2 a, V2 b) { return {a.x - b.x, a.y - b.y}; }
inline V2 operator*(V2 a, float k) { return {a.x * k, a.y * k}; }
inline float dot(V2 a, V2 b) { return a.x * b.x + a.y * b.y; }
inline float len(V2 a) { return std::sqrt(a.x * a.x + a.y * a.y); }
// Turns p by deg degrees (clockwise on screen, where y grows downwards).
inline V2 rot(V2 p, float deg) {
    float c = std::cos(rad(deg)), s = std::sin(rad(deg));
    return {p.x * c - p.y * s, p.x * s + p.y * c};
}
inline V2 polar(float deg, float r) { return {std::sin(rad(deg)) * r, -std::cos(rad(deg)) * r}; }

// Signed distances: negative inside.
namespace sdf {
inline float circle(V2 p, float r) { return len(p) - r; }
inline float box(V2 p, V2 half) {
    float dx = std::fabs(p.x) - half.x, dy = std::fabs(p.y) - half.y;
    float ox = std::max(dx, 0.0f), oy = std::max(dy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(dx, dy), 0.0f);
}
inline float roundBox(V2 p, V2 half, float r) { return box(p, {half.x - r, half.y - r}) - r; }
inline float segment(V2 p, V2 a, V2 b) {
    V2 pa = p - a, ba = b - a;
    float h = clamp01(dot(pa, ba) / std::max(1e-9f, dot(ba, ba)));
    return len(pa - ba * h);
}
inline float ring(V2 p, float r, float halfWidth) { return std::fabs(len(p) - r) - halfWidth; }
float polygon(V2 p, const V2* v, int n);
// An n-pointed star of outer radius r; inner is the inner radius as a
// fraction of r.
float star(V2 p, float r, int n, float inner);
float heart(V2 p, float size);
// An arc of a ring between two angles (degrees, clockwise from up).
float arc(V2 p, float r, float halfWidth, float fromDeg, float toDeg);
inline float smin(float a, float b, float k) {
    float h = clamp01(0.5f + 0.5f * (b - a) / k);
    return lerp(b, a, h) - k * h * (1 - h);
}
}  // namespace sdf

// Coverage of a signed distance for an edge aa pixels wide.
inline float cover(float d, float aa = 1.0f) { return clamp01(0.5f - d / aa); }
// A soft glow that falls off outside a shape.
inline float glow(float d, float radius) {
    if (d <= 0) return 1;
    float t = d / radius;
    return std::exp(-t * t * 2.5f);
}

// Deterministic noise. period > 0 makes it tile every period lattice units.
float hashf(int x, int y, uint32_t seed);
float noise(float x, float y, uint32_t seed, int period = 0);  // gradient noise, about -1..1
float fbm(float x, float y, int octaves, uint32_t seed, int period = 0);
// Distance to the nearest of a jittered grid of points (cellular noise, 0..~1).
float cells(float x, float y, uint32_t seed, int period = 0);

struct Image {
    int w = 0, h = 0;
    std::vector<RGBA> px;
    Image() = default;
    Image(int width, int height) : w(width), h(height), px(size_t(width) * height) {}
    RGBA& at(int x, int y) { return px[size_t(y) * w + x]; }
    const RGBA& at(int x, int y) const { return px[size_t(y) * w + x]; }
    // Bilinear read with transparent outside.
    RGBA sample(float x, float y) const;
    void compose(int x, int y, RGBA c) {
        if (x >= 0 && y >= 0 && x < w && y < h) at(x, y) = over(c, at(x, y));
    }
    // Composites src over this image with its top-left at (dx, dy).
    void blit(const Image& src, int dx, int dy);
};

// Composites f(x, y) over the w x h region at (x0, y0), averaging ss x ss
// samples per pixel. f receives coordinates relative to the region's corner.
template <class Shader>
void shade(Image& img, int x0, int y0, int w, int h, int ss, Shader&& f) {
    const float inv = 1.0f / float(ss * ss);
    for (int j = 0; j < h; ++j) {
        int y = y0 + j;
        if (y < 0 || y >= img.h) continue;
        for (int i = 0; i < w; ++i) {
            int x = x0 + i;
            if (x < 0 || x >= img.w) continue;
            RGBA acc;
            for (int sy = 0; sy < ss; ++sy)
                for (int sx = 0; sx < ss; ++sx) {
                    RGBA c = f(i + (sx + 0.5f) / ss, j + (sy + 0.5f) / ss);
                    acc.r += c.r;
                    acc.g += c.g;
                    acc.b += c.b;
                    acc.a += c.a;
                }
            img.compose(x, y, scaled(acc, inv));
        }
    }
}

// shade() over frame index of a sheet cut into cellW x cellH frames read left
// to right, top to bottom.
template <class Shader>
void cell(Image& sheet, int index, int cellW, int cellH, int ss, Shader&& f) {
    int perRow = sheet.w / cellW;
    shade(sheet, (index % perRow) * cellW, (index / perRow) * cellH, cellW, cellH, ss, f);
}

// Halves or otherwise shrinks an image by an integer factor (box filter).
Image downsample(const Image& src, int factor);
// Rotates a square cell by a multiple of 90 degrees (clockwise).
Image rotate90(const Image& src, int quarterTurns);
Image crop(const Image& src, int x, int y, int w, int h);

// Writes straight-alpha 8-bit RGBA. Throws on failure.
void writePNG(const std::string& path, const Image& img);

// Exact Euclidean distance (in pixels) from every pixel to the nearest pixel
// where inside[] is true; 0 for those pixels.
std::vector<float> distanceTo(const std::vector<uint8_t>& inside, int w, int h);

}  // namespace art
