// The play sprites (diver, sonar dot, treasure, rock, vents, shield, hazard)
// and the particle sheets.
#include "tools/assetgen/assets.h"

namespace art {

namespace {

constexpr int kG = 20;  // play sprite cell
constexpr int kP = 32;  // particle cell

// A small deterministic generator for placements.
struct Rng {
    uint32_t s;
    float next() {
        s = s * 1664525u + 1013904223u;
        return (s >> 8) * (1.0f / 16777216.0f);
    }
    float range(float a, float b) { return a + (b - a) * next(); }
};

// ---------------------------------------------------------------- diver --

RGBA diver(V2 p, int frame) {
    const float ph = rad(frame * 90.0f);
    const float kick = 22 * std::sin(ph);
    const float bend = 26 * std::cos(ph);
    const V2 hip{7.4f, 10.6f};
    struct Leg {
        float leg, fin;
    };
    auto leg = [&](float angle) {
        V2 dir{-std::cos(rad(angle)), std::sin(rad(angle))};
        V2 foot = hip + dir * 3.4f;
        V2 fdir = rot(dir, -bend);
        V2 n{-fdir.y, fdir.x};
        V2 tip = foot + fdir * 3.3f;
        V2 fin[4] = {foot + n * 0.75f, tip + n * 1.8f, tip - n * 1.1f, foot - n * 0.75f};
        return Leg{sdf::segment(p, hip, foot) - 1.15f, sdf::polygon(p, fin, 4)};
    };
    Leg back = leg(4 - kick), front = leg(4 + kick);
    float torso = sdf::segment(p, hip, {12.0f, 10.1f}) - 2.5f;
    float tank = sdf::segment(p, {7.6f, 7.6f}, {11.6f, 7.3f}) - 1.45f;
    float head = sdf::circle(p - V2{15.0f, 9.4f}, 2.9f);
    float mask = std::max(head + 0.6f, sdf::circle(p - V2{17.4f, 9.0f}, 2.3f));
    float arm = sdf::segment(p, {12.0f, 11.2f}, {16.0f, 12.9f}) - 0.95f;
    float all = std::min({back.leg, back.fin, front.leg, front.fin, torso, tank, head, arm});

    const float aa = 0.16f;
    float light = lerp(1.12f, 0.7f, clamp01((p.y - 6) / 9));
    RGBA suit = shadeBy(hex(0xffd84a), light);
    RGBA legC = shadeBy(hex(0x2a6f8a), light), legBack = shadeBy(hex(0x1a4a60), light);
    RGBA finC = shadeBy(hex(0x5fe8e0), light), finBack = shadeBy(hex(0x2a9fa0), light);
    RGBA c = paint(hex(pal::navy), cover(all - 0.85f, aa));
    c = over(paint(finBack, cover(back.fin, aa)), c);
    c = over(paint(legBack, cover(back.leg, aa)), c);
    c = over(paint(shadeBy(hex(0xc8dbe4), light), cover(tank, aa)), c);
    c = over(paint(hex(0xffffff, 0.8f), cover(std::max(tank + 0.6f, p.y - 7.0f), aa)), c);  // tank shine
    c = over(paint(suit, cover(torso, aa)), c);
    c = over(paint(legC, cover(front.leg, aa)), c);
    c = over(paint(finC, cover(front.fin, aa)), c);
    c = over(paint(shadeBy(hex(0x244f66), light), cover(head, aa)), c);  // hood
    c = over(paint(mix(hex(0xa8f8ff), hex(0x1f9fc0), clamp01((p.y - 7) / 4.5f)), cover(mask, aa)), c);
    c = over(paint(hex(0xffffff), cover(sdf::circle(p - V2{17.5f, 7.9f}, 0.65f), aa)), c);
    c = over(paint(suit, cover(arm, aa)), c);
    // Breath bubbles rise from the helmet as the cycle runs.
    static const float bubbles[4][3] = {{17.9f, 5.4f, 0.6f}, {18.2f, 3.9f, 0.85f}, {18.6f, 2.3f, 1.0f}, {17.7f, 5.6f, 0.5f}};
    const float* b = bubbles[frame];
    float bubble = sdf::circle(p - V2{b[0], b[1]}, b[2] + 0.35f);
    c = over(paint(hex(0xdffcff, 0.3f), cover(bubble, aa)), c);
    c = over(paint(hex(0xdffcff, 0.9f), cover(std::fabs(bubble + 0.35f) - 0.35f, aa)), c);
    return c;
}

// ----------------------------------------------------------------- rock --

// Rock texture in world pixels; tiles every 16 pixels so that neighbouring
// cells of any look continue each other.
float rockHeight(float u, float v) {
    float n = fbm(u / 8, v / 8, 3, 701, 2);
    float strata = std::sin((v + 3.0f * noise(u / 8, v / 8, 702, 2)) * (2 * kPi / 8));
    return 0.5f + 0.45f * n + 0.08f * strata;
}

RGBA rockColour(float u, float v) {
    float h = rockHeight(u, v);
    float slope = rockHeight(u - 0.7f, v - 0.7f) - rockHeight(u + 0.7f, v + 0.7f);
    RGBA base = mix(hex(0x123047), hex(0x35697c), clamp01(h));
    float lit = clamp01(0.5f + slope * 3.0f);
    base = shadeBy(base, 0.8f + 0.45f * lit);
    float speck = hashf(int(std::floor(u)) & 15, int(std::floor(v)) & 15, 703);
    if (speck > 0.975f) base = mix(base, hex(0x7fc8cf), 0.4f);
    return base;
}

// The interior decoration of each look, painted over the base texture.
// Coordinates are the cell's own (0..20); decorations keep inside 4..16.
RGBA rockLook(V2 p, int look, RGBA c) {
    const float aa = 0.2f;
    switch (look) {
        case 1: {  // cracks
            V2 a{4.5f, 6.0f}, b{9.5f, 10.5f}, d{15.5f, 12.0f}, e{10.5f, 15.5f};
            float crack = std::min({sdf::segment(p, a, b), sdf::segment(p, b, d), sdf::segment(p, b, e)});
            float under = std::min({sdf::segment(p - V2{0.5f, 0.7f}, a, b), sdf::segment(p - V2{0.5f, 0.7f}, b, d)});
            c = over(paint(hex(0x6fa7b5, 0.6f), cover(under - 0.45f, aa)), c);
            return over(paint(hex(0x06121c), cover(crack - 0.45f, aa)), c);
        }
        case 2: {  // pebbles
            const float peb[2][3] = {{7.5f, 12.5f, 2.1f}, {12.2f, 13.4f, 1.6f}};
            for (const auto& q : peb) {
                V2 o{q[0], q[1]};
                float d = sdf::circle(p - o, q[2]);
                c = over(paint(hex(0x071824, 0.55f), cover(sdf::circle(p - o - V2{0.5f, 0.8f}, q[2]), aa)), c);
                float t = clamp01((p.y - (o.y - q[2])) / (2 * q[2]));
                c = over(paint(mix(hex(0x8fb3bd), hex(0x3e6675), t), cover(d, aa)), c);
                c = over(paint(hex(0xe4f6f8, 0.7f), cover(sdf::circle(p - o + V2{q[2] * 0.35f, q[2] * 0.4f}, q[2] * 0.3f), aa)), c);
            }
            return c;
        }
        case 3: {  // crystals
            const float sh[3][4] = {{9.0f, 14.5f, -22.0f, 5.5f}, {11.0f, 14.5f, 8.0f, 7.0f}, {12.8f, 14.8f, 35.0f, 4.5f}};
            for (const auto& s : sh) {
                V2 base{s[0], s[1]};
                V2 q = rot(p - base, -s[2]);
                float L = s[3];
                V2 v[5] = {{-1.5f, 0}, {1.5f, 0}, {1.5f, -L + 2.2f}, {0, -L}, {-1.5f, -L + 2.2f}};
                float d = sdf::polygon(q, v, 5);
                c = over(paint(hex(0x04141c), cover(d - 0.5f, aa)), c);
                RGBA glass = q.x < 0 ? hex(0x8ff7f0) : hex(0x32b8c0);
                c = over(paint(glass, cover(d, aa)), c);
                c = over(paint(hex(0xffffff, 0.75f), cover(sdf::segment(q, {-0.6f, -1.0f}, {-0.6f, -L + 2.6f}) - 0.25f, aa)), c);
            }
            return add(c, paint(hex(0x3cc8cc, 0.25f), glow(sdf::circle(p - V2{11, 10}, 3), 4) * 0.5f));
        }
        case 4: {  // weed tufts
            for (int i = 0; i < 2; ++i) {
                float x0 = 8.5f + i * 3.0f;
                float sway = (i - 0.5f) * 1.6f;
                V2 a{x0, 15.5f}, b{x0 + sway * 0.5f + 0.6f, 12.0f}, t{x0 + sway + (i ? 0.8f : -0.8f), 8.5f + i * 1.5f};
                float d = std::min(sdf::segment(p, a, b) - 1.05f, sdf::segment(p, b, t) - 0.7f);
                c = over(paint(hex(0x05160f), cover(d - 0.5f, aa)), c);
                float g = clamp01((15.5f - p.y) / 9.5f);
                c = over(paint(mix(hex(pal::kelp), hex(0x8fe0a0), g), cover(d, aa)), c);
            }
            return c;
        }
        case 5: {  // a fossil shell
            V2 o{10.2f, 10.4f};
            V2 q = p - o;
            float r = len(q);
            float a = std::atan2(q.y, q.x);
            // Distance to the nearest turn of a spiral r = 1.1 * e^(0.22 a).
            float best = 9;
            for (int k = -1; k < 4; ++k) {
                float ang = a + 2 * kPi * k;
                if (ang < 0) continue;
                best = std::min(best, std::fabs(r - 0.9f * std::exp(0.2f * ang)));
            }
            float disc = sdf::circle(q, 4.6f);
            c = over(paint(hex(0x8d8466, 0.55f), cover(disc, aa)), c);
            return over(paint(hex(0xd9cda2, 0.9f), cover(std::max(best - 0.5f, disc), aa)), c);
        }
        default: {  // plain: a few pits
            const float pit[3][3] = {{6.5f, 8.0f, 0.9f}, {13.0f, 6.5f, 0.7f}, {11.0f, 13.5f, 1.1f}};
            for (const auto& q : pit) {
                V2 o{q[0], q[1]};
                c = over(paint(hex(0x9fd4dc, 0.5f), cover(sdf::circle(p - o - V2{0.4f, 0.5f}, q[2]), aa)), c);
                c = over(paint(hex(0x081a26), cover(sdf::circle(p - o, q[2]), aa)), c);
            }
            return c;
        }
    }
}

RGBA rock(V2 p, int look) {
    // Only the middle 16 x 16 is solid: the cells are drawn 16 pixels apart,
    // so opaque borders would be drawn twice where rocks meet and show the
    // grid whenever the sonar light fades.
    if (p.x < 2 || p.x > 18 || p.y < 2 || p.y > 18) return {};
    // Every cell shows one of the looks: kept faint, so that a wall reads as
    // one rock with details rather than as a grid of repeated tiles.
    static const float strength[6] = {0.55f, 0.5f, 0.55f, 0.8f, 0.6f, 0.4f};
    RGBA base = rockColour(p.x - 2, p.y - 2);
    return mix(base, rockLook(p, look, base), strength[look]);
}

// A vent; dir 0 opens down, 1 up, 2 right, 3 left.
RGBA vent(V2 p, int dir) {
    // Work in a frame where the opening faces down; the rock texture keeps
    // the cell's own orientation so it still meets its neighbours.
    V2 q = p;
    if (dir == 1) q = {20 - p.x, 20 - p.y};
    if (dir == 2) q = {20 - p.y, p.x};
    if (dir == 3) q = {p.y, 20 - p.x};
    const float aa = 0.2f;
    RGBA c;
    bool inside = p.x >= 2 && p.x <= 18 && p.y >= 2 && p.y <= 18;
    if (inside) c = rockColour(p.x - 2, p.y - 2);
    V2 mouth{10, 16.6f};
    V2 m = q - mouth;
    float hole = sdf::circle({m.x / 5.0f, m.y / 3.4f}, 1.0f) * 3.4f;
    float rim = sdf::circle({m.x / 6.6f, m.y / 4.6f}, 1.0f) * 4.6f;
    float mounds = std::min(sdf::circle(q - V2{5.0f, 15.0f}, 2.6f), sdf::circle(q - V2{15.0f, 15.0f}, 2.6f));
    if (inside) {
        c = over(paint(hex(0x4d7f8c), cover(mounds, aa)), c);
        c = over(paint(hex(0x2a1410), cover(rim, aa)), c);
        c = over(paint(mix(hex(0x8a3b2a), hex(0xc4683e), clamp01(-m.y / 4.0f)), cover(rim + 0.9f, aa)), c);
        float heat = clamp01(1 - len({m.x / 5.0f, m.y / 3.4f}));
        c = over(paint(mix(hex(0x3a0a0a), hex(pal::ember), heat), cover(hole, aa)), c);
        c = over(paint(hex(0xffe0a0), cover(sdf::circle({m.x / 2.0f, (m.y - 0.6f) / 1.1f}, 1.0f) * 1.1f, aa)), c);
    }
    // Heat shimmer spills into the water the vent faces.
    float spill = clamp01((q.y - 15.0f) / 5.0f) * glow(std::fabs(m.x) - 2.0f, 3.5f);
    return add(c, paint(hex(pal::coral, 0.55f), spill * (inside ? 0.4f : 0.8f)));
}

// -------------------------------------------------------- small sprites --

RGBA sonarDot(V2 p) {
    float d = len(p - V2{10, 10});
    RGBA c = paint(hex(pal::aqua), std::exp(-d * d / 14.0f));
    return over(paint(hex(0xeaffff), cover(d - 2.2f, 0.3f)), c);
}

RGBA treasure(V2 p) {
    V2 q = p - V2{10, 10};
    const float aa = 0.16f;
    float disc = sdf::circle(q, 8.6f);
    RGBA c = paint(hex(0x3a2200), cover(disc - 0.8f, aa));
    float t = clamp01((q.y - q.x * 0.5f + 9) / 18);
    c = over(paint(mix(hex(pal::goldLight), hex(pal::goldDeep), t), cover(disc, aa)), c);
    float face = sdf::circle(q, 6.4f);
    c = over(paint(hex(0x8a5a08), cover(std::fabs(face) - 0.45f, aa)), c);
    c = over(paint(mix(hex(0xffd95a), hex(0xd99a18), t), cover(face - 0.45f, aa)), c);
    float star = sdf::star(q - V2{0.4f, 0.6f}, 4.4f, 5, 0.45f);
    c = over(paint(hex(0x8a5a08, 0.8f), cover(star, aa)), c);
    star = sdf::star(q, 4.4f, 5, 0.45f);
    c = over(paint(mix(hex(0xfffbe0), hex(pal::gold), clamp01((q.y + 4) / 8)), cover(star, aa)), c);
    float shine = sdf::circle({(q.x + 3.4f) / 1.0f, (q.y + 4.6f) / 0.55f}, 1.8f) * 0.55f;
    return add(c, paint(hex(0xffffff, 0.9f), cover(shine, 0.5f) * cover(disc, aa)));
}

RGBA shield(V2 p) {
    V2 q = p - V2{10, 10};
    float r = len(q);
    RGBA c = paint(hex(pal::aqua), 0.12f * cover(r - 8.6f, 0.5f));
    c = add(c, paint(hex(0x7ff5f0), 0.85f * glow(std::fabs(r - 8.6f) - 0.3f, 1.2f)));
    float hl = sdf::arc(q, 6.8f, 0.55f, 285, 345);
    c = add(c, paint(hex(0xffffff, 0.9f), cover(hl, 0.3f)));
    c = add(c, paint(hex(0xffffff, 0.8f), cover(sdf::circle(q - V2{4.6f, 4.4f}, 0.6f), 0.3f)));
    return c;
}

RGBA hazard(V2 p) {
    V2 q = p - V2{10, 10};
    const float aa = 0.16f;
    V2 v[16];
    for (int i = 0; i < 16; ++i) v[i] = polar(i * 22.5f, (i % 2) ? 3.9f : ((i / 2) % 2 ? 7.3f : 9.4f));
    float spikes = sdf::polygon(q, v, 16);
    float body = sdf::circle(q, 5.0f);
    float all = std::min(spikes, body);
    RGBA c = paint(hex(0x1a0206), cover(all - 0.8f, aa));
    c = over(paint(mix(hex(0xff9b8a), hex(0x9c1426), clamp01((q.y + 9) / 18)), cover(spikes, aa)), c);
    float t = clamp01(len(q - V2{-1.5f, -1.8f}) / 6.5f);
    c = over(paint(mix(hex(0xffb199), hex(pal::red), t), cover(body, aa)), c);
    c = add(c, paint(hex(0xffd27a), glow(sdf::circle(q, 1.2f), 2.0f) * cover(body, aa)));
    return over(paint(hex(0xffffff, 0.8f), cover(sdf::circle(q - V2{-2.0f, -2.2f}, 0.8f), aa)), c);
}

// ------------------------------------------------------------ particles --

// Filled silhouettes for debris (drawn tinted and small).
float filledShape(V2 q, int k) {
    switch (k) {
        case 0: return sdf::circle(q, 11);
        case 1: return sdf::star(q, 13.5f, 5, 0.46f);
        case 2: { V2 v[4] = {{0, -13.5f}, {9, 0}, {0, 13.5f}, {-9, 0}}; return sdf::polygon(q, v, 4); }
        case 3: { V2 v[3] = {polar(0, 13.5f), polar(120, 13.5f), polar(240, 13.5f)}; return sdf::polygon(q + V2{0, -2}, v, 3) - 1; }
        case 4: return sdf::roundBox(rot(q, 15), {10, 10}, 3.5f);
        case 5: { V2 v[6]; for (int i = 0; i < 6; ++i) v[i] = polar(i * 60.0f + 30, 12.5f); return sdf::polygon(q, v, 6); }
        case 6: return sdf::heart(q, 22);
        case 7: {
            V2 v[3] = {{0, -13.5f}, {6.6f, 1}, {-6.6f, 1}};
            return sdf::smin(sdf::circle(q - V2{0, 4}, 8), sdf::polygon(q, v, 3), 2);
        }
        case 8: return std::max(sdf::circle(q, 12), -sdf::circle(q - V2{5.5f, -3.5f}, 9.5f));
        case 9: return sdf::star(q, 14.5f, 4, 0.3f);
        case 10: return sdf::ring(q, 8.5f, 3.6f);
        case 11: return std::min(sdf::roundBox(q, {12, 3.8f}, 1.5f), sdf::roundBox(q, {3.8f, 12}, 1.5f));
        case 12: {  // scallop
            float fan = std::max(sdf::circle(q - V2{0, 5}, 14), std::fabs(std::atan2(q.x, -(q.y - 5))) * 14 - 13);
            return std::min(std::max(fan, q.y - 5), sdf::roundBox(q - V2{0, 6.5f}, {4.5f, 2.5f}, 1));
        }
        case 13: {  // fish
            float body = sdf::circle({(q.x + 2) / 1.6f, q.y}, 6.5f) * 1.2f;
            V2 v[3] = {{7, 0}, {13.5f, -6.5f}, {13.5f, 6.5f}};
            return std::min(body, sdf::polygon(q, v, 3));
        }
        case 14: {  // pebble
            float a = std::atan2(q.y, q.x);
            return len(q) - (10.5f + 1.6f * std::sin(a * 3 + 1) + 0.9f * std::sin(a * 5 + 2));
        }
        default: return sdf::circle(q, 11);
    }
}

RGBA filledParticle(V2 p, int k) {
    V2 q = p - V2{16, 16};
    float d = filledShape(q, k);
    float t = clamp01((q.y + 12) / 24);
    RGBA body = mix(hex(0xffffff), hex(0xd2dee6), t);
    if (k == 15) {  // a bubble: see-through body, bright rim
        RGBA c = paint(hex(0xffffff, 0.3f), cover(d, 0.3f));
        c = over(paint(hex(0xffffff), cover(std::fabs(d + 0.9f) - 0.9f, 0.3f)), c);
        return over(paint(hex(0xffffff), cover(sdf::circle(q - V2{-4, -4}, 2.4f), 0.3f)), c);
    }
    RGBA c = paint(body, cover(d, 0.3f));
    if (k == 12)  // ribs of the scallop
        for (int i = -2; i <= 2; ++i) {
            float rib = sdf::segment(q, {0, 5}, polar(i * 24.0f, 12) + V2{0, 5}) - 0.6f;
            c = over(paint(hex(0x9fb0ba), cover(rib, 0.3f) * cover(d + 1, 0.3f)), c);
        }
    // The dark rim and catch-light keep tiny, tinted bits from looking flat.
    c = shadeBy(c, lerp(0.8f, 1.0f, cover(d + 2.0f, 2.5f)));
    return over(paint(hex(0xffffff, 0.55f), cover(sdf::circle(q - V2{-4.5f, -5}, 2.6f), 1.5f) * cover(d + 2.5f, 0.3f)), c);
}

float outlineShape(V2 q, int k) {
    switch (k) {
        case 0: return sdf::star(q, 14.0f, 4, 0.22f);
        case 1: return std::fabs(sdf::star(q, 12.5f, 5, 0.46f)) - 1.3f;
        case 2: return sdf::ring(q, 9.5f, 1.5f);
        case 3: { V2 v[4] = {{0, -12}, {8, 0}, {0, 12}, {-8, 0}}; return std::fabs(sdf::polygon(q, v, 4)) - 1.3f; }
        case 4: return std::min(sdf::roundBox(q, {11, 1.4f}, 1.4f), sdf::roundBox(q, {1.4f, 11}, 1.4f));
        case 5: return std::min(sdf::ring(q, 9, 1.1f), sdf::arc(q, 6.2f, 1.1f, 280, 340));
        case 6: return sdf::star(q, 13.0f, 8, 0.38f);
        case 7: {
            float d = 9;
            for (int i = 0; i < 6; ++i) d = std::min(d, sdf::circle(q - polar(i * 60.0f, 9), 2.2f));
            return d;
        }
        case 8: { V2 v[3] = {polar(0, 12), polar(120, 12), polar(240, 12)}; return std::fabs(sdf::polygon(q + V2{0, -1.5f}, v, 3)) - 1.3f; }
        case 9: return std::fabs(sdf::heart(q, 20)) - 1.3f;
        case 10: { V2 v[6]; for (int i = 0; i < 6; ++i) v[i] = polar(i * 60.0f, 11); return std::fabs(sdf::polygon(q, v, 6)) - 1.3f; }
        case 11: return std::min(sdf::ring(q, 11, 1.0f), sdf::ring(q, 5.5f, 1.3f));
        case 12: return std::min(sdf::arc(q, 9.5f, 1.4f, 0, 250), sdf::arc(q, 4.5f, 1.3f, 180, 60));
        case 13: {
            float d = 9;
            for (int i = 0; i < 3; ++i) d = std::min(d, sdf::segment(q, polar(i * 60.0f, 11), polar(i * 60.0f + 180, 11)) - 1.3f);
            return d;
        }
        case 14:
            return std::min({sdf::star(q - V2{-4, -4}, 8.0f, 4, 0.25f), sdf::star(q - V2{6, 2}, 6.0f, 4, 0.25f),
                             sdf::star(q - V2{-2, 8}, 4.5f, 4, 0.25f)});
        default: return sdf::circle(q, 3.0f);
    }
}

RGBA outlineParticle(V2 p, int k) {
    V2 q = p - V2{16, 16};
    float d = outlineShape(q, k);
    float halo = k == 15 ? std::exp(-len(q) * len(q) / 40.0f) : glow(d, 3.2f) * 0.5f;
    RGBA c = paint(hex(0xffffff), halo);
    return over(paint(hex(0xffffff), cover(d, 0.3f)), c);
}

RGBA smokePuff(V2 p, int k) {
    Rng rng{uint32_t(9001 + k * 77)};
    V2 q = p - V2{16, 16};
    float d = 99;
    int blobs = 3 + k % 3;
    for (int i = 0; i < blobs; ++i) {
        V2 o{rng.range(-5, 5), rng.range(-5, 5)};
        float r = rng.range(5.5f, 8.5f);
        d = sdf::smin(d, sdf::circle(q - o, r), 3);
    }
    float n = fbm(p.x / 6 + k * 7.1f, p.y / 6, 4, 9100);
    d += n * 3.0f;
    float edge = smooth(1.5f, -3.5f, d);
    float density = clamp01(0.55f + 0.5f * fbm(p.x / 4, p.y / 4 + k * 3.3f, 3, 9200));
    float fade = smooth(15.5f, 12.0f, len(q));
    float t = clamp01((q.y + 10) / 20);
    return paint(mix(hex(0xffffff), hex(0xc9d6de), t), edge * density * fade * 0.85f);
}

RGBA bubbleCluster(V2 p, int k) {
    Rng rng{uint32_t(4242 + k * 131)};
    int n = 3 + k % 6;
    RGBA c;
    V2 placed[12];
    float radii[12];
    int count = 0;
    for (int tries = 0; tries < 60 && count < n; ++tries) {
        float r = rng.range(1.6f, count == 0 ? 6.0f : 4.2f);
        V2 o{rng.range(-14 + r, 14 - r), rng.range(-14 + r, 14 - r)};
        bool clear = true;
        for (int i = 0; i < count; ++i) clear &= len(o - placed[i]) > r + radii[i] + 0.8f;
        if (!clear) continue;
        placed[count] = o;
        radii[count++] = r;
    }
    V2 q = p - V2{16, 16};
    for (int i = 0; i < count; ++i) {
        V2 b = q - placed[i];
        float r = radii[i];
        float d = sdf::circle(b, r);
        c = over(paint(hex(0xffffff, 0.18f), cover(d, 0.3f)), c);
        c = over(paint(hex(0xffffff, 0.95f), cover(std::fabs(d + 0.5f) - 0.5f, 0.3f)), c);
        c = over(paint(hex(0xffffff), cover(sdf::circle(b + V2{r * 0.4f, r * 0.4f}, r * 0.28f), 0.3f)), c);
    }
    return c;
}

RGBA mote(V2 p, int k) {
    V2 q = p - V2{16, 16};
    static const uint32_t tints[3] = {0xffffff, 0xc9f5f2, 0xfff1a8};
    RGBA tint = hex(tints[k % 3]);
    if (k == 0) tint = hex(0xffffff);
    float d;
    float halo;
    switch (k % 8) {
        case 0: d = sdf::star(q, 13, 5, 0.45f); halo = 0.35f; break;
        case 1: d = sdf::star(q, 15, 4, 0.18f); halo = 0.5f; break;
        case 2: d = sdf::circle(q, 4); halo = 0.9f; break;
        case 3: d = sdf::star(q, 12, 6, 0.45f); halo = 0.4f; break;
        case 4: d = std::min(sdf::circle(q, 2.5f), sdf::star(q, 11, 4, 0.12f)); halo = 0.6f; break;
        case 5: d = std::min(sdf::ring(q, 7, 1.2f), sdf::circle(q, 2.5f)); halo = 0.45f; break;
        case 6: d = sdf::star(rot(q, 45), 13, 4, 0.2f); halo = 0.5f; break;
        default: d = sdf::circle(q, 6); halo = 0.7f; break;
    }
    if (k >= 8) d += 2.5f;  // the second row: smaller, fainter specks
    RGBA c = paint(tint, halo * std::exp(-len(q) * len(q) / (k >= 8 ? 40.0f : 70.0f)));
    c = add(c, paint(tint, 0.5f * glow(d, 2.5f)));
    return over(paint(hex(0xffffff), cover(d, 0.3f)), c);
}

}  // namespace

Image spriteSheet() {
    Image img(120, 120);
    for (int f = 0; f < 4; ++f) cell(img, f, kG, kG, 8, [&](float x, float y) { return diver({x, y}, f); });
    cell(img, 4, kG, kG, 8, [](float x, float y) { return sonarDot({x, y}); });
    cell(img, 5, kG, kG, 8, [](float x, float y) { return treasure({x, y}); });
    for (int look = 0; look < 6; ++look)
        cell(img, 6 + look, kG, kG, 6, [&](float x, float y) { return rock({x, y}, look); });
    for (int dir = 0; dir < 4; ++dir)
        cell(img, 12 + dir, kG, kG, 6, [&](float x, float y) { return vent({x, y}, dir); });
    cell(img, 16, kG, kG, 8, [](float x, float y) { return shield({x, y}); });
    cell(img, 17, kG, kG, 8, [](float x, float y) { return hazard({x, y}); });
    return img;
}

Image shapeParticles(bool filled) {
    Image img(128, 128);
    for (int k = 0; k < 16; ++k)
        cell(img, k, kP, kP, 4, [&](float x, float y) {
            return filled ? filledParticle({x, y}, k) : outlineParticle({x, y}, k);
        });
    return img;
}

Image smokeParticles() {
    Image img(128, 128);
    for (int k = 0; k < 16; ++k) cell(img, k, kP, kP, 3, [&](float x, float y) { return smokePuff({x, y}, k); });
    return img;
}

Image clusterParticles() {
    Image img(128, 128);
    for (int k = 0; k < 16; ++k) cell(img, k, kP, kP, 4, [&](float x, float y) { return bubbleCluster({x, y}, k); });
    return img;
}

Image starParticles() {
    Image img(128, 128);
    for (int k = 0; k < 16; ++k) cell(img, k, kP, kP, 4, [&](float x, float y) { return mote({x, y}, k); });
    return img;
}

}  // namespace art
