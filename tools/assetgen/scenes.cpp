// The large pictures: the studio emblem, the title and the three layers of
// the main menu's backdrop.
#include "tools/assetgen/assets.h"

namespace art {

namespace {

// ------------------------------------------------------------- emblem --

// A nautilus seen from the side: one logarithmic spiral that grows threefold
// per turn; every point of the shell lies in one whorl between two turns.
RGBA nautilus(V2 q, float aa) {
    const float growth = std::log(3.0f) / (2 * kPi);
    const float rMax = 0.56f, thetaMax = rad(70);
    float rho = len(q);
    float phi = std::atan2(q.y, q.x);
    float theta = phi + 2 * kPi * std::floor((thetaMax - phi) / (2 * kPi));
    auto radius = [&](float th) { return rMax * std::exp(growth * (th - thetaMax)); };
    float outer = radius(theta);
    float d = rho - outer;
    if (d > 0.04f) return {};
    // Which whorl: step inwards a turn at a time.
    float hi = outer, lo = radius(theta - 2 * kPi);
    int whorl = 0;
    while (rho < lo && whorl < 6) {
        hi = lo;
        lo = radius(theta - 2 * kPi * (whorl + 2));
        ++whorl;
    }
    float s = clamp01((rho - lo) / std::max(1e-5f, hi - lo));  // 0 at the inner suture, 1 at the outer edge
    RGBA shell = mix(hex(0xfff6e2), hex(0xe8d2a8), s * 0.6f);
    // Flame stripes on the outer whorl, fading towards the opening.
    float along = (thetaMax - theta) / (2 * kPi);  // 0 at the opening, 1 a turn back
    float stripe = std::sin((theta * 7 + s * 2.2f) * 1.0f);
    float stripeMask = smooth(0.1f, 0.35f, along) * smooth(0.2f, 0.9f, s) * (whorl == 0 ? 1.0f : 0.6f);
    shell = mix(shell, mix(hex(0xd8743a), hex(0x9a3e1c), s), clamp01(smooth(0.2f, 0.5f, stripe) * stripeMask));
    // A rounded tube: lighter along the middle of each whorl.
    float tube = std::sin(kPi * (0.15f + 0.8f * s));
    shell = shadeBy(shell, 0.62f + 0.45f * tube);
    RGBA c = paint(hex(0x1a0e06), cover(d - 0.012f, aa));
    c = over(paint(shell, cover(d, aa)), c);
    // The suture between whorls.
    c = over(paint(hex(0x3a1a0a, 0.85f), cover(rho - lo - 0.006f, aa) * cover(d, aa)), c);
    return c;
}

RGBA emblem(V2 u, float aa) {
    float r = len(u);
    RGBA c = paint(hex(0x000814, 0.45f), cover(sdf::circle(u - V2{0, 0.025f}, 0.975f), 0.04f));
    c = over(paint(hex(pal::navy), cover(r - 0.965f, aa)), c);
    float t = clamp01((u.y - u.x * 0.5f + 1.1f) / 2.2f);
    c = over(paint(mix(hex(pal::goldLight), hex(pal::goldDeep), t), cover(r - 0.945f, aa)), c);
    float grooveT = clamp01((-u.y + u.x * 0.5f + 1.1f) / 2.2f);  // the inner bevel faces the other way
    c = over(paint(mix(hex(0xffe38a), hex(0x8a5a08), grooveT), cover(r - 0.885f, aa)), c);
    for (int i = 0; i < 32; ++i) {  // pearls set into the rim
        V2 o = polar(i * 11.25f, 0.915f);
        float pd = sdf::circle(u - o, 0.018f);
        c = over(paint(hex(0x6a4408), cover(pd - 0.006f, aa)), c);
        c = over(paint(hex(0xfff6e0), cover(pd, aa)), c);
    }
    c = over(paint(hex(0x021018), cover(r - 0.855f, aa)), c);
    float face = r - 0.845f;
    if (face < aa) {
        // The sea inside: lit from above, with slanting rays and drifting motes.
        RGBA sea = mix(hex(0x3cc8cc), hex(0x0b2a4a), clamp01(len(u - V2{0, -0.9f}) / 1.7f));
        float a = std::atan2(u.x - 0.3f, u.y + 1.6f);
        float ray = std::pow(clamp01(0.5f + 0.5f * std::sin(a * 26 + 1.3f * noise(a * 6, 0.5f, 41))), 6.0f);
        sea = add(sea, paint(hex(0xc9f5f2, 0.25f), ray * smooth(0.6f, -0.8f, u.y)));
        float caustic = smooth(0.55f, 0.8f, cells(u.x * 5 + 0.3f * noise(u.x * 3, u.y * 3, 42), u.y * 5, 43));
        sea = add(sea, paint(hex(0xffffff, 0.12f), caustic * smooth(0.2f, -0.7f, u.y)));
        sea = over(paint(hex(0x04101c, 0.35f), smooth(0.5f, 0.85f, r)), sea);
        RGBA inside = over(nautilus(u - V2{0.02f, 0.08f}, aa), sea);
        // Bubbles rising past the shell.
        const float bub[6][3] = {{0.52f, -0.18f, 0.05f}, {0.6f, -0.38f, 0.035f}, {0.5f, -0.55f, 0.028f},
                                 {-0.55f, 0.35f, 0.04f}, {-0.62f, 0.12f, 0.026f}, {0.42f, 0.52f, 0.03f}};
        for (const auto& b : bub) {
            float bd = sdf::circle(u - V2{b[0], b[1]}, b[2]);
            inside = over(paint(hex(0xffffff, 0.15f), cover(bd, aa)), inside);
            inside = over(paint(hex(0xdffcff, 0.9f), cover(std::fabs(bd + 0.006f) - 0.006f, aa)), inside);
            inside = over(paint(hex(0xffffff), cover(sdf::circle(u - V2{b[0] - b[2] * 0.35f, b[1] - b[2] * 0.35f}, b[2] * 0.25f), aa)), inside);
        }
        c = over(paint(inside, cover(face, aa)), c);
    }
    // Gloss across the top of the rim.
    float gloss = sdf::circle({u.x, (u.y + 0.45f) / 0.55f}, 0.8f);
    c = add(c, paint(hex(0xffffff, 0.12f), cover(gloss, 0.2f) * cover(r - 0.945f, aa)));
    return c;
}

// --------------------------------------------------------------- title --

struct Lettering {
    Field field;
    Box box;  // ink bounds in the picture
};

Lettering setLine(const Face& face, const std::string& text, float em, float xScale, float centreX, float baseline) {
    TextStyle st{em, xScale, -4};
    Box b = textBounds(face, text, st);
    float x = centreX - (b.x0 + b.x1) * 0.5f;
    Lettering l{Field(face, text, st, x, baseline, 1024, 512, 2), b};
    l.box.x0 += x;
    l.box.x1 += x;
    l.box.y0 += baseline;
    l.box.y1 += baseline;
    return l;
}

// One line of the title: a glossy face, an aqua keyline, a navy outline and
// a glow into the water.
RGBA titleLine(const Lettering& l, V2 p, const uint32_t (&ramp)[4]) {
    float d = l.field.at(p.x, p.y);
    if (d > 40) return {};
    float shadow = l.field.at(p.x - 6, p.y - 10);
    RGBA c = paint(hex(pal::aqua), 0.5f * glow(d - 15, 18));
    c = over(paint(hex(0x000814, 0.6f), cover(shadow - 15, 5)), c);
    c = over(paint(hex(0x041226), cover(d - 15, 1.2f)), c);
    c = over(paint(hex(0x5fe8e0), cover(d - 9, 1.2f)), c);
    c = over(paint(hex(pal::navy), cover(d - 4, 1.2f)), c);
    float t = clamp01((p.y - l.box.y0) / l.box.height());
    RGBA fill = t < 0.45f ? mix(hex(ramp[0]), hex(ramp[1]), t / 0.45f)
                          : (t < 0.8f ? mix(hex(ramp[1]), hex(ramp[2]), (t - 0.45f) / 0.35f)
                                      : mix(hex(ramp[2]), hex(ramp[3]), (t - 0.8f) / 0.2f));
    // A bevel: edges facing up catch the light, edges facing down fall dark.
    float ny = l.field.at(p.x, p.y + 1.5f) - l.field.at(p.x, p.y - 1.5f);
    float edge = 1 - smooth(-10, -2, -d);  // 1 right at the edge, 0 deep inside
    fill = shadeBy(fill, 1 + edge * clamp01(-ny) * 0.5f - edge * clamp01(ny) * 0.35f);
    c = over(paint(fill, cover(d, 1.2f)), c);
    // Gloss over the upper half of the letters.
    float gloss = smooth(0.5f, 0.35f, t) * 0.28f;
    return add(c, paint(hex(0xffffff), gloss * cover(d + 5, 1.2f)));
}

RGBA sparkle(V2 q, float size) {
    float s = sdf::star(q, size, 4, 0.16f);
    float s2 = sdf::star(rot(q, 45), size * 0.45f, 4, 0.2f);
    float d = std::min(s, s2);
    return add(paint(hex(0xffffff), cover(d, 1)), paint(hex(0xfff1a8), 0.6f * glow(d, size * 0.25f)));
}

// ---------------------------------------------------------- backdrops --

// The far layer: open water lit from above, distant spires and a school of
// fish. Opaque; it sits behind everything.
RGBA farWater(V2 p) {
    float y = p.y / 1024, x = p.x / 1024;
    RGBA c = y < 0.45f ? mix(hex(0x3aa9b8), hex(0x0f4a70), y / 0.45f) : mix(hex(0x0f4a70), hex(0x03101f), (y - 0.45f) / 0.55f);
    float a = std::atan2(p.x - 640, p.y + 420);
    float rays = std::pow(clamp01(0.5f + 0.5f * std::sin(a * 34 + 1.5f * noise(a * 9, 0.3f, 61))), 4.0f);
    c = add(c, paint(hex(0xc9f5f2, 0.16f), rays * smooth(0.75f, 0.0f, y)));
    float shimmer = smooth(0.62f, 0.85f, cells(x * 14 + 0.4f * noise(x * 9, y * 9, 62), y * 30, 63));
    c = add(c, paint(hex(0xffffff, 0.14f), shimmer * smooth(0.16f, 0.0f, y)));
    // Two ranges of spires, the nearer darker.
    for (int layer = 0; layer < 2; ++layer) {
        float base = layer ? 0.74f : 0.66f;
        float h = base - 0.1f * fbm(x * 3.0f + layer * 5, layer * 2.0f, 4, 64) -
                  0.16f * std::pow(clamp01(noise(x * 7 + layer * 3, 0.5f, 65) + 0.1f), 1.5f);
        float edge = (y - h) * 1024;
        RGBA rock = layer ? hex(0x04182c) : hex(0x0a2a46);
        rock = add(rock, paint(hex(0x3cc8cc, 0.25f), smooth(14, 0, edge)));  // rim light
        c = over(paint(rock, cover(-edge, 1.2f)), c);
    }
    // A school of small fish in the middle distance.
    for (int i = 0; i < 14; ++i) {
        V2 o{600 + 230 * hashf(i, 1, 66), 330 + 150 * hashf(i, 2, 66)};
        V2 q = p - o;
        float s = 0.8f + 0.5f * hashf(i, 3, 66);
        q = q * (1 / s);
        float body = sdf::circle({q.x / 2.2f, q.y}, 4.5f) * 1.3f;
        V2 tail[3] = {{8, 0}, {14, -5}, {14, 5}};
        float fish = std::min(body, sdf::polygon(q, tail, 3));
        c = over(paint(hex(0x06213a, 0.75f), cover(fish, 1.0f / s)), c);
    }
    // Motes drifting in the light.
    for (int i = 0; i < 70; ++i) {
        V2 o{1024 * hashf(i, 4, 67), 900 * hashf(i, 5, 67)};
        float d = len(p - o);
        if (d < 8) c = add(c, paint(hex(0xdffcff), 0.5f * std::exp(-d * d / 3.0f) * (0.4f + 0.6f * hashf(i, 6, 67))));
    }
    return c;
}

// Kelp: a strand swaying up from the sea floor, with leaves.
float kelp(V2 p, float x0, float top, float phase, float& along) {
    if (p.y < top - 20) return 99;
    float t = clamp01((1024 - p.y) / (1024 - top));
    along = t;
    float cx = x0 + 28 * std::sin(p.y / 110 + phase) * t;
    float width = lerp(7, 2.5f, t);
    float d = std::fabs(p.x - cx) - width;
    // Leaves alternate sides every 70 pixels.
    float k = std::floor(p.y / 70);
    float side = std::fmod(k, 2.0f) == 0 ? 1.0f : -1.0f;
    V2 leafAt{cx + side * 16, k * 70 + 35};
    V2 lq = rot(p - leafAt, side * 35);
    float leaf = sdf::circle({lq.x / 2.4f, lq.y}, 6) * 1.8f;
    d = std::min(d, leaf);
    return std::max(d, top - p.y);
}

// The middle layer: cliffs on both sides with kelp; open in the middle.
RGBA cliffs(V2 p) {
    float y = p.y / 1024;
    float widen = y * y * 140;
    float left = 150 + 80 * fbm(y * 5, 1.3f, 4, 71) + 50 * std::sin(y * 4.0f) + widen;
    float right = 1024 - (170 + 80 * fbm(y * 5, 7.9f, 4, 72) + 40 * std::sin(y * 3.3f + 1) + widen);
    float dl = p.x - left, dr = right - p.x;
    float inside = std::min(dl, dr);  // negative inside a cliff
    RGBA c;
    if (inside < 2) {
        float tex = fbm(p.x / 60, p.y / 60, 5, 73);
        RGBA rock = mix(hex(0x0e3650), hex(0x041624), clamp01(0.5f + tex * 0.8f + y * 0.3f));
        float strata = smooth(0.6f, 0.95f, std::sin(p.y / 18 + 3 * tex));
        rock = shadeBy(rock, 1 - 0.18f * strata);
        // Light from above rims the inner edges.
        float rim = smooth(26, 0, -inside) * (0.5f + 0.5f * smooth(0.9f, 0.2f, y));
        rock = add(rock, paint(hex(0x3cc8cc, 0.35f), rim));
        c = paint(rock, cover(inside, 1.2f));
    }
    const float strands[6][3] = {{90, 420, 0.0f}, {200, 560, 1.7f}, {260, 690, 3.1f},
                                 {800, 600, 0.9f}, {900, 470, 2.4f}, {960, 640, 4.2f}};
    for (const auto& s : strands) {
        float along = 0;
        float d = kelp(p, s[0], s[1], s[2], along);
        if (d < 3) {
            RGBA green = mix(hex(0x0f4a2e), hex(0x5fc07a), along);
            c = over(paint(hex(0x031a10), cover(d - 1.5f, 1.2f)), c);
            c = over(paint(green, cover(d, 1.2f)), c);
        }
    }
    return c;
}

// Branching coral: a recursive fan of capsules.
float coral(V2 p, V2 base, float angle, float length, float width, int depth) {
    V2 tip = base + polar(angle, length);
    float d = sdf::segment(p, base, tip) - width;
    if (depth == 0) return d - 0.5f * width;
    float spread = 24 + depth * 4;
    d = std::min(d, coral(p, tip, angle - spread, length * 0.72f, width * 0.72f, depth - 1));
    d = std::min(d, coral(p, tip, angle + spread * 0.8f, length * 0.68f, width * 0.72f, depth - 1));
    return d;
}

// The near layer: the sea floor with corals, a starfish and a chest of
// treasure; clear above.
RGBA seabed(V2 p) {
    float x = p.x / 1024;
    float surface = 770 + 28 * std::sin(x * 7 + 0.5f) + 30 * fbm(x * 4, 0.7f, 4, 81);
    float d = surface - p.y;
    RGBA c;
    if (d < 2) {
        float depth = clamp01((p.y - surface) / 220);
        RGBA sand = mix(hex(0xd9c08c), hex(0x5a4a2e), depth);
        float ripple = std::sin((p.x + 0.6f * p.y) * 0.07f + 2 * noise(p.x / 90, p.y / 90, 82));
        sand = shadeBy(sand, 1 + 0.08f * ripple * (1 - depth));
        float grain = hashf(int(p.x), int(p.y), 83);
        if (grain > 0.96f) sand = shadeBy(sand, 1.2f);
        sand = add(sand, paint(hex(0x3cc8cc, 0.15f), smooth(20, 0, p.y - surface)));
        c = paint(sand, cover(d, 1.2f));
    }
    // Corals on both flanks.
    const float corals[5][5] = {{120, 790, 0, 95, 0}, {205, 810, 18, 70, 1}, {860, 800, -8, 100, 0},
                                {940, 790, 20, 65, 1}, {560, 805, -12, 55, 2}};
    const uint32_t tones[3][2] = {{0xff8f7a, 0xb01c2e}, {0xffb08a, 0xd6502a}, {0xe08ad0, 0x7a2a8a}};
    for (const auto& k : corals) {
        float cd = coral(p, {k[0], k[1]}, k[2], k[3], 9, 4);
        if (cd < 4) {
            const uint32_t* tone = tones[int(k[4])];
            float t = clamp01((k[1] - p.y) / (k[3] * 2.6f));
            c = over(paint(hex(0x2a0208), cover(cd - 2, 1.2f)), c);
            c = over(paint(mix(hex(tone[1]), hex(tone[0]), t), cover(cd, 1.2f)), c);
        }
    }
    // A starfish on the sand.
    {
        V2 q = rot(p - V2{430, 840}, 12);
        float s = sdf::star(q, 30, 5, 0.42f) - 4;
        c = over(paint(hex(0x3a1204), cover(s - 2, 1.2f)), c);
        c = over(paint(mix(hex(0xffb066), hex(0xd2581c), clamp01(len(q) / 30)), cover(s, 1.2f)), c);
        for (int i = 0; i < 5; ++i)
            for (int j = 1; j <= 2; ++j)
                c = over(paint(hex(0xfff0d0, 0.8f), cover(sdf::circle(q - polar(i * 72.0f, j * 10.0f), 2.2f), 1.2f)), c);
    }
    // The treasure chest, lid open, spilling gold.
    {
        V2 q = p - V2{730, 790};
        float glowR = std::exp(-len(q - V2{0, -40}) / 90);
        c = add(c, paint(hex(pal::gold, 0.5f), glowR * 0.6f));
        float body = sdf::roundBox(q - V2{0, 10}, {70, 40}, 6);
        float lid = sdf::roundBox(rot(q - V2{-8, -48}, -18), {70, 14}, 8);
        float coins = 99;
        for (int i = 0; i < 16; ++i) {
            V2 o{-55 + 110 * hashf(i, 1, 84), -22 - 18 * hashf(i, 2, 84) + std::fabs(float(i - 8)) * 2};
            coins = std::min(coins, sdf::circle({(q - o).x, (q - o).y / 0.6f}, 9) * 0.6f);
        }
        float all = std::min({body, lid});
        c = over(paint(hex(0x1a0a02), cover(all - 3, 1.2f)), c);
        RGBA wood = mix(hex(0x9a5a2a), hex(0x4a2410), clamp01((q.y + 60) / 110));
        float plank = std::fabs(std::fmod(q.y + 200, 20.0f) - 10);
        wood = shadeBy(wood, 0.85f + 0.15f * smooth(0, 3, plank));
        c = over(paint(wood, cover(lid, 1.2f)), c);
        c = over(paint(hex(0x2a1200), cover(coins - 1.5f, 1.2f)), c);
        c = over(paint(mix(hex(pal::goldLight), hex(pal::goldDeep), clamp01((q.y + 40) / 30)), cover(coins, 1.2f)), c);
        c = over(paint(wood, cover(body, 1.2f)), c);
        float bands = std::min({std::fabs(q.x + 45) - 6, std::fabs(q.x - 45) - 6, std::fabs(q.y + 26) - 5});
        c = over(paint(mix(hex(pal::goldLight), hex(pal::goldDeep), clamp01((q.y + 30) / 80)), cover(std::max(bands, body), 1.2f)), c);
        float lock = sdf::roundBox(q - V2{0, -18}, {9, 11}, 3);
        c = over(paint(hex(0x2a1600), cover(lock - 1.5f, 1.2f)), c);
        c = over(paint(hex(pal::gold), cover(lock, 1.2f)), c);
        for (int i = 0; i < 5; ++i) {
            V2 s{-40.0f + i * 22, -64.0f - 14 * (i % 3)};
            c = add(c, sparkle(q - s, 9 + 4 * (i % 2)));
        }
    }
    // Bubbles rising from the chest and the corals.
    for (int i = 0; i < 26; ++i) {
        float bx = (i % 2 ? 730 : (i % 3 ? 150 : 880)) + 60 * (hashf(i, 7, 85) - 0.5f);
        float by = 760 - 560 * hashf(i, 8, 85);
        float r = 3 + 8 * hashf(i, 9, 85);
        float bd = sdf::circle(p - V2{bx, by}, r);
        if (bd < 3) {
            c = over(paint(hex(0xffffff, 0.15f), cover(bd, 1.2f)), c);
            c = over(paint(hex(0xdffcff, 0.85f), cover(std::fabs(bd + 1) - 1, 1.2f)), c);
            c = over(paint(hex(0xffffff), cover(sdf::circle(p - V2{bx - r * 0.35f, by - r * 0.35f}, r * 0.25f), 1.2f)), c);
        }
    }
    return c;
}

}  // namespace

Image studioEmblem(int size) {
    Image img(size, size);
    const float half = size * 0.5f;
    const float aa = 1.0f / half;
    shade(img, 0, 0, size, size, size <= 256 ? 4 : 2, [&](float x, float y) {
        V2 u{(x - half) / half, (y - half) / half};
        return emblem(u, aa * 1.2f);
    });
    return img;
}

Image titleLogo(const FontSet& fonts) {
    Image img(1024, 512);
    const uint32_t gold[4] = {0xfffbe0, 0xffd23f, 0xe0900f, 0x8a4a08};
    const uint32_t aqua[4] = {0xf0ffff, 0x7ff5f0, 0x1fa6b4, 0x0b4a66};
    Lettering top = setLine(fonts.sans, "Glimmer", 212, 0.8f, 498, 232);
    Lettering bottom = setLine(fonts.sans, "deep", 212, 0.8f, 590, 412);
    shade(img, 0, 0, 1024, 512, 1, [&](float x, float y) {
        V2 p{x, y};
        RGBA c;
        // Bubbles drift up beside the second word.
        const float bub[7][3] = {{250, 420, 16}, {212, 360, 11}, {236, 305, 7}, {880, 300, 12}, {915, 250, 8},
                                 {895, 205, 5}, {150, 452, 9}};
        for (const auto& b : bub) {
            float bd = sdf::circle(p - V2{b[0], b[1]}, b[2]);
            c = over(paint(hex(0xffffff, 0.18f), cover(bd, 1.2f)), c);
            c = over(paint(hex(0xdffcff), cover(std::fabs(bd + 1.2f) - 1.2f, 1.2f)), c);
            c = over(paint(hex(0xffffff), cover(sdf::circle(p - V2{b[0] - b[2] * 0.35f, b[1] - b[2] * 0.35f}, b[2] * 0.25f), 1.2f)), c);
        }
        c = over(titleLine(top, p, gold), c);
        c = over(titleLine(bottom, p, aqua), c);
        c = add(c, sparkle(p - V2{top.box.x0 + 30, top.box.y0 + 18}, 30));
        c = add(c, sparkle(p - V2{top.box.x0 + top.box.width() * 0.36f, top.box.y0 - 4}, 22));
        c = add(c, sparkle(p - V2{top.box.x1 - 10, top.box.y0 + 70}, 18));
        c = add(c, sparkle(p - V2{bottom.box.x1 - 20, bottom.box.y0 + 24}, 26));
        return c;
    });
    return img;
}

Image menuBackdrop() {
    Image img(2048, 2048);
    shade(img, 0, 0, 1024, 1024, 1, [](float x, float y) { return farWater({x, y}); });
    shade(img, 1024, 0, 1024, 1024, 1, [](float x, float y) { return seabed({x, y}); });
    shade(img, 0, 1024, 1024, 1024, 1, [](float x, float y) { return cliffs({x, y}); });
    return img;
}

}  // namespace art
