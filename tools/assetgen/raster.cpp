#include "tools/assetgen/raster.h"

#include <stdexcept>

#include <stb_image_write.h>

namespace art {

namespace sdf {

float polygon(V2 p, const V2* v, int n) {
    float d = dot(p - v[0], p - v[0]);
    float s = 1;
    for (int i = 0, j = n - 1; i < n; j = i, ++i) {
        V2 e = v[j] - v[i];
        V2 w = p - v[i];
        V2 b = w - e * clamp01(dot(w, e) / std::max(1e-12f, dot(e, e)));
        d = std::min(d, dot(b, b));
        bool c1 = p.y >= v[i].y, c2 = p.y < v[j].y, c3 = e.x * w.y > e.y * w.x;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
    }
    return s * std::sqrt(d);
}

float star(V2 p, float r, int n, float inner) {
    V2 v[64];
    int count = std::min(n, 32) * 2;
    for (int i = 0; i < count; ++i) v[i] = polar(180.0f * i / (count / 2), (i % 2) ? r * inner : r);
    return polygon(p, v, count);
}

float heart(V2 p, float size) {
    // The classic two-arc heart, bottom tip at the origin, 1 unit tall; moved
    // so that the shape is centred on p's origin and size units tall.
    float x = std::fabs(p.x) / size;
    float y = -p.y / size + 0.5f;
    float d;
    if (y + x > 1.0f) {
        V2 q{x - 0.25f, y - 0.75f};
        d = len(q) - 0.35355339f;
    } else {
        V2 a{x, y - 1.0f};
        float m = 0.5f * std::max(x + y, 0.0f);
        V2 b{x - m, y - m};
        d = std::sqrt(std::min(dot(a, a), dot(b, b))) * (x - y > 0 ? 1.0f : -1.0f);
    }
    return d * size;
}

float arc(V2 p, float r, float halfWidth, float fromDeg, float toDeg) {
    float a = std::atan2(p.x, -p.y) * 180.0f / kPi;
    float span = std::fmod(toDeg - fromDeg + 720.0f, 360.0f);
    float at = std::fmod(a - fromDeg + 720.0f, 360.0f);
    if (at <= span) return std::fabs(len(p) - r) - halfWidth;
    float d1 = len(p - polar(fromDeg, r)), d2 = len(p - polar(toDeg, r));
    return std::min(d1, d2) - halfWidth;
}

}  // namespace sdf

namespace {

uint32_t mixBits(uint32_t h) {
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}

uint32_t lattice(int x, int y, uint32_t seed) {
    return mixBits(uint32_t(x) * 0x8da6b343U ^ mixBits(uint32_t(y) * 0xd8163841U ^ seed * 0xcb1ab31fU));
}

int wrap(int v, int period) {
    if (period <= 0) return v;
    int m = v % period;
    return m < 0 ? m + period : m;
}

const V2 kGradients[16] = {
    {1, 0},          {0.92388f, 0.38268f},  {0.70711f, 0.70711f},  {0.38268f, 0.92388f},
    {0, 1},          {-0.38268f, 0.92388f}, {-0.70711f, 0.70711f}, {-0.92388f, 0.38268f},
    {-1, 0},         {-0.92388f, -0.38268f}, {-0.70711f, -0.70711f}, {-0.38268f, -0.92388f},
    {0, -1},         {0.38268f, -0.92388f}, {0.70711f, -0.70711f},  {0.92388f, -0.38268f}};

float fade(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }

}  // namespace

float hashf(int x, int y, uint32_t seed) { return (lattice(x, y, seed) >> 8) * (1.0f / 16777216.0f); }

float noise(float x, float y, uint32_t seed, int period) {
    float fx0 = std::floor(x), fy0 = std::floor(y);
    int x0 = int(fx0), y0 = int(fy0);
    float tx = x - fx0, ty = y - fy0;
    auto g = [&](int dx, int dy) {
        const V2& v = kGradients[lattice(wrap(x0 + dx, period), wrap(y0 + dy, period), seed) & 15];
        return v.x * (tx - dx) + v.y * (ty - dy);
    };
    float u = fade(tx), v = fade(ty);
    float a = lerp(g(0, 0), g(1, 0), u);
    float b = lerp(g(0, 1), g(1, 1), u);
    return lerp(a, b, v) * 1.41421f;
}

float fbm(float x, float y, int octaves, uint32_t seed, int period) {
    float sum = 0, amp = 0.5f, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * noise(x, y, seed + uint32_t(o) * 101u, period);
        norm += amp;
        x *= 2;
        y *= 2;
        amp *= 0.5f;
        if (period > 0) period *= 2;
    }
    return sum / norm;
}

float cells(float x, float y, uint32_t seed, int period) {
    int cx = int(std::floor(x)), cy = int(std::floor(y));
    float best = 9;
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) {
            int gx = cx + i, gy = cy + j;
            int hx = wrap(gx, period), hy = wrap(gy, period);
            float px = gx + 0.15f + 0.7f * hashf(hx, hy, seed);
            float py = gy + 0.15f + 0.7f * hashf(hx, hy, seed ^ 0x5bd1e995U);
            float dx = px - x, dy = py - y;
            best = std::min(best, dx * dx + dy * dy);
        }
    return std::sqrt(best);
}

RGBA Image::sample(float x, float y) const {
    x -= 0.5f;
    y -= 0.5f;
    int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    float tx = x - x0, ty = y - y0;
    auto get = [&](int i, int j) -> RGBA {
        if (i < 0 || j < 0 || i >= w || j >= h) return {};
        return at(i, j);
    };
    return mix(mix(get(x0, y0), get(x0 + 1, y0), tx), mix(get(x0, y0 + 1), get(x0 + 1, y0 + 1), tx), ty);
}

void Image::blit(const Image& src, int dx, int dy) {
    for (int y = 0; y < src.h; ++y)
        for (int x = 0; x < src.w; ++x) compose(dx + x, dy + y, src.at(x, y));
}

Image downsample(const Image& src, int factor) {
    Image out(src.w / factor, src.h / factor);
    float inv = 1.0f / float(factor * factor);
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x) {
            RGBA acc;
            for (int j = 0; j < factor; ++j)
                for (int i = 0; i < factor; ++i) {
                    const RGBA& c = src.at(x * factor + i, y * factor + j);
                    acc.r += c.r;
                    acc.g += c.g;
                    acc.b += c.b;
                    acc.a += c.a;
                }
            out.at(x, y) = scaled(acc, inv);
        }
    return out;
}

Image rotate90(const Image& src, int quarterTurns) {
    quarterTurns = ((quarterTurns % 4) + 4) % 4;
    Image out = (quarterTurns % 2) ? Image(src.h, src.w) : Image(src.w, src.h);
    for (int y = 0; y < src.h; ++y)
        for (int x = 0; x < src.w; ++x) {
            int nx = x, ny = y;
            switch (quarterTurns) {
                case 1: nx = src.h - 1 - y; ny = x; break;
                case 2: nx = src.w - 1 - x; ny = src.h - 1 - y; break;
                case 3: nx = y; ny = src.w - 1 - x; break;
                default: break;
            }
            out.at(nx, ny) = src.at(x, y);
        }
    return out;
}

Image crop(const Image& src, int x0, int y0, int w, int h) {
    Image out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (x0 + x >= 0 && y0 + y >= 0 && x0 + x < src.w && y0 + y < src.h) out.at(x, y) = src.at(x0 + x, y0 + y);
    return out;
}

void writePNG(const std::string& path, const Image& img) {
    std::vector<unsigned char> bytes(size_t(img.w) * img.h * 4);
    for (size_t i = 0; i < img.px.size(); ++i) {
        const RGBA& c = img.px[i];
        float a = clamp01(c.a);
        int a8 = int(std::lround(a * 255));
        unsigned char* o = &bytes[i * 4];
        if (a8 == 0) {
            o[0] = o[1] = o[2] = o[3] = 0;
            continue;
        }
        o[0] = (unsigned char)std::lround(clamp01(c.r / a) * 255);
        o[1] = (unsigned char)std::lround(clamp01(c.g / a) * 255);
        o[2] = (unsigned char)std::lround(clamp01(c.b / a) * 255);
        o[3] = (unsigned char)a8;
    }
    if (!stbi_write_png(path.c_str(), img.w, img.h, 4, bytes.data(), img.w * 4))
        throw std::runtime_error("cannot write " + path);
}

namespace {

// One-dimensional squared distance transform of sampled function f
// (Felzenszwalb and Huttenlocher's lower envelope of parabolas).
void transform1d(const double* f, int n, double* d, int* v, double* z) {
    int k = 0;
    v[0] = 0;
    z[0] = -1e300;
    z[1] = 1e300;
    for (int q = 1; q < n; ++q) {
        double s = ((f[q] + double(q) * q) - (f[v[k]] + double(v[k]) * v[k])) / (2.0 * (q - v[k]));
        while (s <= z[k]) {
            --k;
            s = ((f[q] + double(q) * q) - (f[v[k]] + double(v[k]) * v[k])) / (2.0 * (q - v[k]));
        }
        ++k;
        v[k] = q;
        z[k] = s;
        z[k + 1] = 1e300;
    }
    k = 0;
    for (int q = 0; q < n; ++q) {
        while (z[k + 1] < q) ++k;
        double dq = double(q - v[k]);
        d[q] = dq * dq + f[v[k]];
    }
}

}  // namespace

std::vector<float> distanceTo(const std::vector<uint8_t>& inside, int w, int h) {
    const double kFar = 1e12;
    std::vector<double> grid(size_t(w) * h);
    for (size_t i = 0; i < grid.size(); ++i) grid[i] = inside[i] ? 0 : kFar;
    int n = std::max(w, h);
    std::vector<double> f(n), d(n), z(n + 1);
    std::vector<int> v(n);
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) f[y] = grid[size_t(y) * w + x];
        transform1d(f.data(), h, d.data(), v.data(), z.data());
        for (int y = 0; y < h; ++y) grid[size_t(y) * w + x] = d[y];
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) f[x] = grid[size_t(y) * w + x];
        transform1d(f.data(), w, d.data(), v.data(), z.data());
        for (int x = 0; x < w; ++x) grid[size_t(y) * w + x] = std::sqrt(d[x]);
    }
    return std::vector<float>(grid.begin(), grid.end());
}

}  // namespace art
