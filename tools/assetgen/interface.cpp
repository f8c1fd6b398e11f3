// Interface pictures: round buttons, the pause and menu icons, the turning
// gears, the rings behind the credits and pause screens, the option icons
// with their tiling pattern, and the Top 5 panel.
#include <functional>

#include "tools/assetgen/assets.h"

namespace art {

namespace {

using Glyph = std::function<float(V2)>;  // signed distance in units of the badge radius

// ------------------------------------------------------------- symbols --

namespace sym {

float play(V2 q) {
    V2 v[3] = {{-0.24f, -0.36f}, {0.38f, 0}, {-0.24f, 0.36f}};
    return sdf::polygon(q, v, 3) - 0.04f;
}
float pause(V2 q) {
    return std::min(sdf::roundBox(q - V2{-0.19f, 0}, {0.11f, 0.36f}, 0.05f),
                    sdf::roundBox(q - V2{0.19f, 0}, {0.11f, 0.36f}, 0.05f));
}
float stop(V2 q) { return sdf::roundBox(q, {0.3f, 0.3f}, 0.07f); }
float arrow(V2 q, float deg) {
    q = rot(q, -deg);  // deg 0 points left
    float shaft = sdf::segment(q, {0.36f, 0}, {-0.3f, 0}) - 0.085f;
    float head = std::min(sdf::segment(q, {-0.34f, 0}, {-0.06f, -0.29f}), sdf::segment(q, {-0.34f, 0}, {-0.06f, 0.29f})) - 0.085f;
    return std::min(shaft, head);
}
float power(V2 q) {
    return std::min(sdf::arc(q, 0.34f, 0.075f, 38, 322), sdf::segment(q, {0, -0.44f}, {0, -0.1f}) - 0.075f);
}
float plus(V2 q) { return std::min(sdf::roundBox(q, {0.36f, 0.09f}, 0.05f), sdf::roundBox(q, {0.09f, 0.36f}, 0.05f)); }
float minus(V2 q) { return sdf::roundBox(q, {0.36f, 0.09f}, 0.05f); }
float check(V2 q) {
    return std::min(sdf::segment(q, {-0.32f, 0.02f}, {-0.1f, 0.26f}), sdf::segment(q, {-0.1f, 0.26f}, {0.34f, -0.24f})) - 0.09f;
}
float cross(V2 q) {
    return std::min(sdf::segment(q, {-0.28f, -0.28f}, {0.28f, 0.28f}), sdf::segment(q, {-0.28f, 0.28f}, {0.28f, -0.28f})) - 0.09f;
}
float speaker(V2 q, int waves) {
    V2 v[6] = {{-0.4f, -0.13f}, {-0.22f, -0.13f}, {0.0f, -0.34f}, {0.0f, 0.34f}, {-0.22f, 0.13f}, {-0.4f, 0.13f}};
    float d = sdf::polygon(q, v, 6) - 0.03f;
    for (int w = 0; w < waves; ++w) d = std::min(d, sdf::arc(q - V2{0.02f, 0}, 0.17f + w * 0.15f, 0.05f, 50, 130));
    return d;
}
float note(V2 q) {
    auto head = [&](V2 o) {
        V2 h = rot(q - o, -20);
        return sdf::circle({h.x / 1.3f, h.y}, 0.11f);
    };
    float d = std::min(head({-0.2f, 0.27f}), head({0.24f, 0.19f}));
    d = std::min(d, sdf::segment(q, {-0.07f, 0.26f}, {-0.07f, -0.3f}) - 0.045f);
    d = std::min(d, sdf::segment(q, {0.37f, 0.18f}, {0.37f, -0.38f}) - 0.045f);
    V2 beam[4] = {{-0.11f, -0.3f}, {0.41f, -0.42f}, {0.41f, -0.28f}, {-0.11f, -0.16f}};
    return std::min(d, sdf::polygon(q, beam, 4));
}
float gear(V2 q, float root, float tip, int teeth, float hole) {
    float a = std::atan2(q.y, q.x) / (2 * kPi) * teeth;
    float f = a - std::floor(a);
    float tooth = smooth(0.15f, 0.3f, f) * (1 - smooth(0.6f, 0.75f, f));
    float d = len(q) - lerp(root, tip, tooth);
    return std::max(d, hole - len(q));
}
float home(V2 q) {
    V2 roof[3] = {{0, -0.4f}, {0.42f, -0.02f}, {-0.42f, -0.02f}};
    float d = std::min(sdf::polygon(q, roof, 3), sdf::box(q - V2{0, 0.16f}, {0.27f, 0.2f}));
    return std::max(d, -sdf::box(q - V2{0, 0.24f}, {0.08f, 0.13f}));
}
float star(V2 q) { return sdf::star(q, 0.44f, 5, 0.45f) - 0.02f; }
float info(V2 q) {
    return std::min(sdf::circle(q - V2{0, -0.27f}, 0.08f), sdf::roundBox(q - V2{0, 0.1f}, {0.07f, 0.22f}, 0.04f));
}
float restart(V2 q) {
    V2 head[3] = {{0.1f, -0.5f}, {0.1f, -0.18f}, {-0.14f, -0.34f}};
    return std::min(sdf::arc(q, 0.32f, 0.075f, 0, 300), sdf::polygon(q - V2{0.02f, 0}, head, 3));
}
float code(V2 q) {  // the "</>" of a development tool
    float l = std::min(sdf::segment(q, {-0.2f, -0.2f}, {-0.42f, 0}), sdf::segment(q, {-0.42f, 0}, {-0.2f, 0.2f}));
    float r = std::min(sdf::segment(q, {0.2f, -0.2f}, {0.42f, 0}), sdf::segment(q, {0.42f, 0}, {0.2f, 0.2f}));
    float s = sdf::segment(q, {0.08f, -0.3f}, {-0.08f, 0.3f});
    return std::min({l, r, s}) - 0.065f;
}

}  // namespace sym

// A round glossy button of radius R with a light symbol on it.
RGBA badge(V2 q, float R, const Glyph& glyph, uint32_t rimLight = 0xffe38a, uint32_t rimDark = 0xa86e10,
           uint32_t faceLight = 0x2aa3b4, uint32_t faceDark = 0x0b2a4a) {
    const float aa = R / 48.0f;
    float disc = sdf::circle(q, R);
    RGBA c = paint(hex(0x000814, 0.5f), cover(sdf::circle(q - V2{0, R * 0.07f}, R * 1.02f), R * 0.1f));
    c = over(paint(hex(pal::navy), cover(disc, aa)), c);
    float t = clamp01((q.y - q.x * 0.4f + R) / (2 * R));
    c = over(paint(mix(hex(rimLight), hex(rimDark), t), cover(disc + R * 0.05f, aa)), c);
    float face = disc + R * 0.15f;
    c = over(paint(hex(0x3a2200, 0.6f), cover(face - R * 0.025f, aa)), c);
    RGBA inner = mix(hex(faceLight), hex(faceDark), clamp01(len(q - V2{-R * 0.25f, -R * 0.45f}) / (1.35f * R)));
    c = over(paint(inner, cover(face, aa)), c);
    float gloss = sdf::circle({q.x, (q.y + R * 0.36f) / 0.6f}, R * 0.64f);
    c = add(c, paint(hex(0xffffff, 0.16f), cover(gloss, R * 0.25f) * cover(face, aa)));
    V2 n = q * (1 / R);
    float shadowD = glyph(n - V2{0, 0.045f}) * R;
    c = over(paint(hex(0x02101c, 0.55f), cover(shadowD, aa * 1.5f)), c);
    float g = glyph(n) * R;
    RGBA ink = mix(hex(0xffffff), hex(0xbfeef5), clamp01((n.y + 0.4f) / 0.8f));
    return over(paint(ink, cover(g, aa)), c);
}

// ----------------------------------------------------------------- gears --

// Brass or steel with a bevel that follows the shape's distance field.
RGBA metal(float d, V2 q, uint32_t light, uint32_t dark, float aa) {
    float t = clamp01((q.y - q.x * 0.5f + 60) / 120);
    RGBA base = mix(hex(light), hex(dark), t);
    float rim = 1 - cover(d + 3.0f, 3.0f);  // 1 near the edge
    base = shadeBy(base, 1.0f - 0.25f * rim);
    RGBA c = paint(hex(pal::navy), cover(d - 2.0f, aa));
    return over(paint(base, cover(d, aa)), c);
}

RGBA gearOuter(V2 q) {  // a ring with teeth inside
    float a = std::atan2(q.y, q.x) / (2 * kPi) * 20;
    float f = a - std::floor(a);
    float tooth = smooth(0.15f, 0.3f, f) * (1 - smooth(0.6f, 0.75f, f));
    float inner = lerp(47, 40, tooth);
    float d = std::max(len(q) - 58, inner - len(q));
    RGBA c = metal(d, q, 0xffe38a, 0x9a6410, 0.6f);
    for (int i = 0; i < 8; ++i) {  // rivets
        V2 o = polar(i * 45.0f + 22.5f, 53);
        c = over(paint(hex(0x6a4408), cover(sdf::circle(q - o, 2.6f), 0.6f)), c);
        c = over(paint(hex(0xfff1c0), cover(sdf::circle(q - o + V2{0.6f, 0.6f}, 1.4f), 0.6f)), c);
    }
    return c;
}

RGBA gearMiddle(V2 q) {
    float d = sym::gear(q * (1 / 40.0f), 0.78f, 0.97f, 12, 0.42f) * 40;
    for (int i = 0; i < 4; ++i) d = std::max(d, -sdf::circle(q - polar(i * 90.0f + 45, 23), 5.5f));
    return metal(d, q, 0x9ff0f0, 0x1f6f80, 0.6f);
}

RGBA gearInner(V2 q) {
    float d = sym::gear(q * (1 / 17.0f), 0.72f, 1.0f, 7, 0.28f) * 17;
    RGBA c = metal(d, q, 0xfff1a8, 0xc48a18, 0.6f);
    return add(c, paint(hex(0xffffff, 0.5f), cover(sdf::circle(q - V2{-5, -6}, 2.5f), 1.5f) * cover(d, 0.6f)));
}

// ------------------------------------------------------------ pictures --

RGBA lifeHeart(V2 q) {
    float d = sdf::heart(q - V2{0, 4}, 100);
    RGBA c = paint(hex(0x000814, 0.5f), cover(sdf::heart(q - V2{0, 8}, 100), 4));
    c = over(paint(hex(0x2a0208), cover(d - 5, 0.8f)), c);
    float t = clamp01(len(q - V2{-18, -22}) / 70);
    c = over(paint(mix(hex(0xffa08f), hex(0xc0182c), t), cover(d, 0.8f)), c);
    V2 g = rot(q - V2{-24, -20}, -35);
    float gloss = sdf::circle({g.x / 1.6f, g.y}, 7) * 1.2f;
    c = add(c, paint(hex(0xffffff, 0.6f), cover(gloss, 3) * cover(d + 4, 0.8f)));
    return over(paint(hex(0xffffff, 0.9f), cover(sdf::circle(q - V2{-6, -27}, 3.5f), 0.8f)), c);
}

RGBA highlight(V2 q) {
    float d = sdf::ring(q, 57, 2.5f);
    RGBA c = paint(hex(pal::gold), 0.8f * glow(d, 7));
    c = add(c, paint(hex(0xffffff), cover(d, 0.8f)));
    for (int i = 0; i < 4; ++i) {
        V2 o = polar(i * 90.0f + 45, 57);
        float s = sdf::star(q - o, 9, 4, 0.22f);
        c = add(c, paint(hex(0xfff6d0), cover(s, 0.8f) + 0.5f * glow(s, 4)));
    }
    return c;
}

RGBA toolEmblem(V2 q) {
    V2 hexv[6];
    for (int i = 0; i < 6; ++i) hexv[i] = polar(i * 60.0f + 30, 58);
    float hx = sdf::polygon(q, hexv, 6);
    RGBA c = paint(hex(0x000814, 0.5f), cover(hx - 2, 5));
    c = over(paint(hex(pal::navy), cover(hx, 0.8f)), c);
    c = over(paint(mix(hex(0x5fe0d8), hex(0x136a7c), clamp01((q.y + 58) / 116)), cover(hx + 4, 0.8f)), c);
    c = over(paint(mix(hex(0x1b7f8e), hex(0x08304a), clamp01((q.y + 50) / 100)), cover(hx + 11, 0.8f)), c);
    float g = sym::code(q * (1 / 58.0f)) * 58;
    c = over(paint(hex(0x02101c, 0.6f), cover(g - 1.5f, 2)), c);
    return over(paint(hex(0xffffff), cover(g, 0.8f)), c);
}

// --------------------------------------------------------------- rings --

RGBA ring(V2 q, int k) {
    float r = len(q);
    float a = std::atan2(q.x, -q.y) * 180 / kPi + 180;  // 0..360
    switch (k) {
        case 0: {  // dashes round a thin line
            float dash = std::fmod(a, 15.0f) < 9 ? 1.0f : 0.0f;
            float d = sdf::ring(q, 104, 5) ;
            float line = sdf::ring(q, 88, 1.2f);
            RGBA c = paint(hex(0xffffff), cover(d, 0.8f) * dash);
            c = add(c, paint(hex(0xffffff), cover(line, 0.8f)));
            return add(c, paint(hex(0xffffff), 0.35f * glow(std::min(d, line), 6)));
        }
        case 1: {  // a sonar dial with ticks
            float d = sdf::ring(q, 110, 2.5f);
            float step = std::fmod(a, 10.0f);
            bool major = std::fmod(a + 0.001f, 30.0f) < 1.0f;
            float tick = (std::min(step, 10 - step) < (major ? 1.0f : 0.5f)) ? 1.0f : 0.0f;
            float band = (r > (major ? 88 : 96) && r < 106) ? tick : 0.0f;
            RGBA c = paint(hex(0xffffff), cover(d, 0.8f) + band);
            for (int i = 0; i < 3; ++i) c = add(c, paint(hex(0xffffff), cover(sdf::circle(q - polar(i * 120.0f + 40, 120), 4), 0.8f)));
            return add(c, paint(hex(0xffffff), 0.3f * glow(d, 8)));
        }
        case 2: {  // broken arcs
            float d = std::min({sdf::arc(q, 96, 7, 10, 90), sdf::arc(q, 96, 7, 130, 210), sdf::arc(q, 96, 7, 250, 330)});
            float e = std::min({sdf::arc(q, 118, 2, 40, 70), sdf::arc(q, 118, 2, 160, 190), sdf::arc(q, 118, 2, 280, 310)});
            RGBA c = paint(hex(0xffffff), cover(std::min(d, e), 0.8f));
            return add(c, paint(hex(0xffffff), 0.35f * glow(d, 7)));
        }
        default: {  // a soft wide halo
            float x = (r - 96) / 22;
            return paint(hex(0xffffff), std::exp(-x * x) * smooth(127, 118, r));
        }
    }
}

// ------------------------------------------------------ option icons --

RGBA optionIcon(V2 q, int k) {
    // The game draws these white over a dark square; a light symbol with a
    // teal accent and a dark edge reads on any panel colour.
    const float R = 30;
    V2 n = q * (1 / R);
    float d = 9, accent = 9;
    switch (k) {
        case 0: d = sym::arrow(n, 0); accent = sdf::ring(n, 0.78f, 0.05f); break;
        case 1: d = sym::speaker(n, 2); break;
        case 2: d = sym::note(n); break;
        case 3: {
            d = std::fabs(sdf::roundBox(n, {0.5f, 0.36f}, 0.06f)) - 0.05f;
            for (int i = 0; i < 4; ++i) {
                float sx = (i % 2) ? 1.0f : -1.0f, sy = (i / 2) ? 1.0f : -1.0f;
                V2 c0{0.72f * sx, 0.6f * sy};
                accent = std::min({accent, sdf::segment(n, c0, c0 - V2{0.22f * sx, 0}) - 0.05f,
                                   sdf::segment(n, c0, c0 - V2{0, 0.2f * sy}) - 0.05f});
            }
            break;
        }
        case 4: case 5: {
            float base = sdf::circle(n - V2{0, 0.12f}, 0.52f);
            float stick = sdf::circle(n - V2{0, -0.05f}, 0.3f);
            d = std::min(std::fabs(base) - 0.06f, stick);
            accent = std::min(sdf::segment(n, {0.72f, -0.45f}, {0.72f, 0.35f}) - 0.05f,
                              std::min(sdf::segment(n, {0.72f, -0.5f}, {0.6f, -0.32f}), sdf::segment(n, {0.72f, -0.5f}, {0.84f, -0.32f})) - 0.05f);
            // The letter on the stick's cap: L or R.
            if (k == 4)
                accent = std::min(accent, std::min(sdf::segment(n, {-0.08f, -0.2f}, {-0.08f, 0.08f}), sdf::segment(n, {-0.08f, 0.08f}, {0.1f, 0.08f})) - 0.045f);
            else
                accent = std::min(accent, std::min({sdf::segment(n, {-0.08f, -0.2f}, {-0.08f, 0.1f}), sdf::arc(n - V2{-0.02f, -0.12f}, 0.08f, 0.045f, 0, 180),
                                                    sdf::segment(n, {-0.04f, -0.03f}, {0.1f, 0.1f})}) - 0.045f);
            break;
        }
        case 47: {  // a gauge
            d = std::min(sdf::arc(n - V2{0, 0.15f}, 0.6f, 0.07f, 270, 90), sdf::circle(n - V2{0, 0.15f}, 0.1f));
            for (int i = 0; i <= 4; ++i) {
                V2 a = polar(-90.0f + i * 45, 0.42f) + V2{0, 0.15f}, b = polar(-90.0f + i * 45, 0.5f) + V2{0, 0.15f};
                d = std::min(d, sdf::segment(n, a, b) - 0.035f);
            }
            accent = sdf::segment(n, {0, 0.15f}, polar(35, 0.5f) + V2{0, 0.15f}) - 0.05f;
            break;
        }
        default: break;
    }
    const float aa = 0.8f;
    float dd = d * R, ad = accent * R;
    float all = std::min(dd, ad);
    RGBA c = paint(hex(0x000814, 0.7f), cover(all - 2.5f, 2.0f));
    c = over(paint(hex(0xffffff), cover(dd, aa)), c);
    return over(paint(hex(0x5fe8e0), cover(ad, aa)), c);
}

// Light caught by ripples: a cellular net that tiles every 64 pixels.
RGBA caustics(V2 p) {
    if (p.x < 2 || p.y < 2 || p.x > 66 || p.y > 66) return {};
    float u = (p.x - 2) / 16, v = (p.y - 2) / 16;
    float f1 = cells(u + 0.15f * noise(u, v, 506, 4), v + 0.15f * noise(u + 3, v, 507, 4), 508, 4);
    float f2 = cells(u * 2 + 0.7f, v * 2 + 0.3f, 509, 8);
    float line = smooth(0.58f, 0.78f, f1);
    float fine = smooth(0.68f, 0.88f, f2) * 0.5f;
    return paint(hex(0xffffff), clamp01(line * 0.85f + fine * 0.5f));
}

// ---------------------------------------------------------- scoreboard --

RGBA trophy(V2 q) {
    // A cup with two handles on a stem and a stepped base.
    V2 cupV[6] = {{-34, -40}, {34, -40}, {30, -8}, {12, 10}, {-12, 10}, {-30, -8}};
    float cup = sdf::polygon(q, cupV, 6) - 3;
    float handles = std::min(sdf::arc(q - V2{-33, -22}, 13, 3.5f, 180, 360), sdf::arc(q - V2{33, -22}, 13, 3.5f, 0, 180));
    float stem = sdf::roundBox(q - V2{0, 22}, {5, 13}, 2);
    float base = std::min(sdf::roundBox(q - V2{0, 40}, {24, 6}, 2), sdf::roundBox(q - V2{0, 50}, {30, 5}, 2));
    float all = std::min({cup, handles, stem, base});
    RGBA c = paint(hex(0x000814, 0.5f), cover(all - 2, 4));
    c = over(paint(hex(0x2a1600), cover(all - 2.5f, 0.8f)), c);
    float t = clamp01((q.x + 34) / 68);
    RGBA gold = mix(hex(pal::goldLight), hex(pal::goldDeep), t);
    c = over(paint(gold, cover(all, 0.8f)), c);
    c = add(c, paint(hex(0xffffff, 0.6f), cover(sdf::roundBox(q - V2{-18, -26}, {3, 10}, 3), 1.5f)));
    float s = sdf::star(q - V2{4, -18}, 12, 5, 0.45f);
    c = over(paint(hex(0x8a5a08), cover(s, 0.8f)), c);
    return over(paint(hex(0xfff6d0), cover(s + 1.2f, 0.8f)), c);
}

RGBA panel(V2 p) {
    const float aa = 0.8f;
    V2 q = p - V2{128, 128};
    float box = sdf::roundBox(q, {124, 124}, 18);
    RGBA c = paint(hex(0x000814, 0.45f), cover(sdf::roundBox(q - V2{0, 3}, {126, 126}, 20), 4));
    c = over(paint(hex(0x2a1600), cover(box, aa)), c);
    float t = clamp01((q.y - q.x * 0.3f + 128) / 256);
    c = over(paint(mix(hex(pal::goldLight), hex(pal::goldDeep), t), cover(box + 2, aa)), c);
    float inner = box + 4.5f;
    RGBA body = mix(hex(0x0f3b5c, 0.94f), hex(0x061526, 0.94f), clamp01(p.y / 256));
    c = over(paint(hex(0x020a14), cover(inner, aa)), c);
    c = over(paint(body, cover(inner + 1, aa)), c);
    // Soft light from above, and the header band for the title.
    float rays = 0.5f + 0.5f * std::sin(p.x * 0.06f + p.y * 0.02f);
    c = add(c, paint(hex(0x3cc8cc, 0.08f * rays), smooth(120, 0, p.y) * cover(inner + 1, aa)));
    float header = sdf::roundBox(p - V2{128, 32}, {112, 15}, 8);
    c = over(paint(mix(hex(0x2aa3b4), hex(0x0d4a66), clamp01((p.y - 17) / 30)), cover(header, aa)), c);
    c = add(c, paint(hex(0xffffff, 0.18f), cover(sdf::roundBox(p - V2{128, 24}, {106, 5}, 5), 2) * cover(header, aa)));
    // Five row stripes for the best scores, with rank badges.
    for (int k = 0; k < 5; ++k) {
        float y = 72.0f + 28 * k;
        float row = sdf::roundBox(p - V2{72, y}, {54, 11}, 6);
        c = over(paint(hex(0x2aa3b4, k % 2 ? 0.16f : 0.26f), cover(row, aa)), c);
    }
    // The chart of the last five games: guide lines and a floor.
    for (int g = 0; g < 3; ++g) {
        float y = 200.0f + 20 * g;
        bool dot = std::fmod(p.x, 6.0f) < 3 || g == 2;
        if (p.x > 18 && p.x < 126 && dot) c = over(paint(hex(0x7ff5f0, g == 2 ? 0.7f : 0.3f), cover(std::fabs(p.y - y) - (g == 2 ? 1.0f : 0.5f), aa)), c);
    }
    // A trophy and a few bubbles fill the right half.
    c = over(trophy(p - V2{192, 128}), c);
    for (int i = 0; i < 6; ++i) {
        V2 o{152.0f + 14 * i + (i % 2) * 8, 222.0f - i * 9 - (i % 3) * 5};
        float r = 2.5f + (i % 3) * 1.5f;
        float b = sdf::circle(p - o, r);
        c = over(paint(hex(0xffffff, 0.2f), cover(b, aa)), c);
        c = over(paint(hex(0xc9f5f2, 0.9f), cover(std::fabs(b + 0.5f) - 0.6f, aa)), c);
    }
    return c;
}

}  // namespace

Image buttons(const FontSet&) {
    Image img(256, 256);
    const Glyph glyphs[16] = {sym::play,
                              sym::pause,
                              sym::stop,
                              [](V2 q) { return sym::arrow(q, 0); },
                              [](V2 q) { return sym::arrow(q, 180); },
                              [](V2 q) { return sym::arrow(q, 90); },
                              [](V2 q) { return sym::arrow(q, 270); },
                              sym::plus,
                              sym::minus,
                              sym::check,
                              sym::cross,
                              [](V2 q) { return sym::speaker(q, 2); },
                              sym::note,
                              [](V2 q) { return sym::gear(q, 0.28f, 0.4f, 8, 0.12f); },
                              sym::home,
                              sym::star};
    for (int k = 0; k < 16; ++k)
        cell(img, k, 64, 64, 4, [&](float x, float y) { return badge(V2{x, y} - V2{32, 31}, 28, glyphs[k]); });
    return img;
}

Image icons(const FontSet&) {
    Image img(512, 512);
    const V2 c{64, 62};
    auto button = [&](int k, Glyph g, uint32_t rimLight = 0xffe38a, uint32_t rimDark = 0xa86e10) {
        cell(img, k, 128, 128, 3, [&](float x, float y) { return badge(V2{x, y} - c, 58, g, rimLight, rimDark); });
    };
    button(0, sym::pause);
    button(1, sym::power, 0xffb0a0, 0xb01c2e);  // quitting is the one red button
    button(2, sym::restart);
    button(3, sym::play);
    button(4, sym::note);
    button(5, [](V2 q) { return sym::speaker(q, 2); });
    cell(img, 6, 128, 128, 3, [](float x, float y) { return highlight(V2{x, y} - V2{64, 64}); });
    button(7, sym::star);
    cell(img, 8, 128, 128, 3, [](float x, float y) { return lifeHeart(V2{x, y} - V2{64, 64}); });
    cell(img, 9, 128, 128, 3, [](float x, float y) { return toolEmblem(V2{x, y} - V2{64, 64}); });
    img.blit(studioEmblem(128), 2 * 128, 2 * 128);
    button(11, [](V2 q) { return sym::arrow(q, 0); });
    cell(img, 12, 128, 128, 3, [](float x, float y) { return gearMiddle(V2{x, y} - V2{64, 64}); });
    cell(img, 13, 128, 128, 3, [](float x, float y) { return gearOuter(V2{x, y} - V2{64, 64}); });
    cell(img, 14, 128, 128, 3, [](float x, float y) { return gearInner(V2{x, y} - V2{64, 64}); });
    button(15, sym::info);
    return img;
}

Image rings() {
    Image img(512, 512);
    for (int k = 0; k < 4; ++k)
        cell(img, k, 256, 256, 2, [&](float x, float y) { return ring(V2{x, y} - V2{128, 128}, k); });
    return img;
}

Image optionIcons(const FontSet&) {
    Image img(476, 476);
    for (int k : {0, 1, 2, 3, 4, 5, 47})
        cell(img, k, 68, 68, 4, [&](float x, float y) { return optionIcon(V2{x, y} - V2{34, 34}, k); });
    cell(img, 48, 68, 68, 2, [](float x, float y) { return caustics({x, y}); });
    return img;
}

Image scoreboard(const FontSet& fonts) {
    Image img(256, 256);
    shade(img, 0, 0, 256, 256, 3, [](float x, float y) { return panel({x, y}); });
    for (int k = 0; k < 5; ++k) {
        float y = 72.0f + 28 * k;
        shade(img, 0, int(y) - 12, 30, 24, 4, [&](float x, float yy) {
            V2 q = V2{x, yy + float(int(y) - 12)} - V2{16, y};
            float d = sdf::circle(q, 7.5f);
            RGBA c = paint(hex(0x2a1600), cover(d - 1.2f, 0.6f));
            return over(paint(mix(hex(pal::goldLight), hex(pal::goldDeep), clamp01((q.y + 7.5f) / 15)), cover(d, 0.6f)), c);
        });
        std::string digit = std::to_string(k + 1);
        Box b = textBounds(fonts.sans, digit, {11, 1, 0});
        lettering(img, fonts.sans, digit, 11, 16 - (b.x0 + b.x1) / 2, y - (b.y0 + b.y1) / 2, hex(0x3a2200),
                  hex(0x3a2200), hex(0x3a2200, 0.0f), 0.0f);
    }
    return img;
}

}  // namespace art
