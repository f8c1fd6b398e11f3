// The game's font sheet and the default strip font.
//
// The game's text routine centres each 64 x 64 cell on the pen and then moves
// the pen by the character's advance. Every glyph therefore starts at the
// same distance left of its cell centre and is exactly as wide as its advance:
// then the gap between any two neighbours is the same, whatever their widths.
#include <string>

#include "shell/font.h"
#include "tools/assetgen/assets.h"

namespace art {

namespace {

constexpr int kCell = FONT_CELL;
constexpr float kGlyphLeft = 21;   // 32 - 11: wide glyphs sit centred in the cell
constexpr float kEm = 32;
constexpr float kCondense = 0.92f;  // a slightly condensed face keeps W and M inside 22 pixels
constexpr float kOutline = 2.0f;
constexpr float kEmbolden = 0.35f;  // thickens stems so they survive scale 0.25

float capHeight(const Face& face) {
    int x0, y0, x1, y1;
    stbtt_GetCodepointBox(face.info(), 'H', &x0, &y0, &x1, &y1);
    return y1 * face.scaleForEm(kEm);
}

void cellOrigin(int index, int& x, int& y) {
    x = (index % FONT_COLUMNS) * kCell;
    y = (index / FONT_COLUMNS) * kCell;
}

void glyph(Image& sheet, int index, const Face& face, int cp, float width, float capH) {
    std::string s(1, char(cp));
    TextStyle st{kEm, kCondense, 0};
    Box b = textBounds(face, s, st);
    if (b.width() <= 0) return;
    // Room left for the core once the outline is added on both sides; the
    // extra half pixel keeps the anti-aliased rim inside the box.
    float room = width - 2 * (kOutline + kEmbolden) - 0.5f;
    if (b.width() > room) {
        st.xScale *= room / b.width();
        b = textBounds(face, s, st);
    }
    float baseline = 32 + capH * 0.5f;
    float originX = kGlyphLeft + width * 0.5f - (b.x0 + b.x1) * 0.5f;
    Field f(face, s, st, originX, baseline, kCell, kCell, 4);
    const RGBA top = hex(0xffffff), bottom = hex(0xbfeef5), edge = hex(pal::navy);
    const float capTop = baseline - capH;
    int cx, cy;
    cellOrigin(index, cx, cy);
    shade(sheet, cx, cy, kCell, kCell, 3, [&](float x, float y) -> RGBA {
        if (x < kGlyphLeft || x > kGlyphLeft + width) return {};
        float d = f.at(x, y) - kEmbolden;
        float shadowD = f.at(x, y - 2.0f) - kEmbolden - kOutline;
        RGBA c = paint(hex(0x000814), 0.6f * cover(shadowD, 1.6f));
        c = over(paint(edge, cover(d - kOutline, 0.8f)), c);
        RGBA fill = mix(top, bottom, clamp01((y - capTop) / (capH + 6)));
        return over(paint(fill, cover(d, 0.8f)), c);
    });
}

// A key cap (keyboard row) or a round pad button with a letter on it, in the
// 43 pixels from the glyph start to the cell's right edge.
void controlIcon(Image& sheet, int index, const Face& face, char letter, bool pad) {
    std::string s(1, letter);
    TextStyle st{21, 1, 0};
    Box b = textBounds(face, s, st);
    const float cxl = kGlyphLeft + 21.5f, cyl = 31;
    Field f(face, s, st, cxl - (b.x0 + b.x1) * 0.5f, cyl + (pad ? 1.0f : -1.0f) + b.height() * 0.5f, kCell, kCell, 4);
    int ox, oy;
    cellOrigin(index, ox, oy);
    shade(sheet, ox, oy, kCell, kCell, 4, [&](float x, float y) -> RGBA {
        if (x < kGlyphLeft || x > kCell) return {};
        V2 p{x - cxl, y - cyl};
        RGBA c;
        if (!pad) {
            float base = sdf::roundBox(p - V2{0, 2.5f}, {18.5f, 17.5f}, 6);
            float top = sdf::roundBox(p - V2{0, -1.5f}, {15.5f, 14}, 5);
            c = paint(hex(0x000814, 0.55f), cover(sdf::roundBox(p - V2{0, 5}, {19, 17.5f}, 6), 2.0f));
            c = over(paint(hex(pal::navy), cover(base - 1.6f)), c);
            c = over(paint(hex(0x7fa6b8), cover(base)), c);
            float t = clamp01((p.y + 15) / 28);
            RGBA cap = mix(hex(0xf4fbff), hex(0xb9d7e2), t);
            c = over(paint(cap, cover(top)), c);
            float letterD = f.at(x, y);
            c = over(paint(hex(pal::deep), cover(letterD, 0.8f)), c);
        } else {
            float disc = sdf::circle(p, 19);
            c = paint(hex(0x000814, 0.55f), cover(sdf::circle(p - V2{0, 2.5f}, 20), 2.0f));
            c = over(paint(hex(pal::navy), cover(disc - 1.6f)), c);
            float t = clamp01((p.y + 19) / 38);
            RGBA ball = mix(hex(0x5fd6d6), hex(0x0f5a73), t);
            c = over(paint(ball, cover(disc)), c);
            float shine = sdf::circle(p - V2{-5, -9}, 7);
            c = add(c, paint(hex(0xffffff, 0.35f), cover(shine, 5) * cover(disc)));
            float letterD = f.at(x, y);
            c = over(paint(hex(pal::navy), cover(letterD - 1.5f, 0.8f)), c);
            c = over(paint(hex(0xffffff), cover(letterD, 0.8f)), c);
        }
        return c;
    });
}

}  // namespace

Image gameFont(const FontSet& fonts) {
    Image sheet(FONT_COLUMNS * kCell, FONT_FRAMES / FONT_COLUMNS * kCell);
    const float capH = capHeight(fonts.mono);
    for (int cp = FONT_FIRST_CODE + 1; cp <= FONT_LAST_GLYPH; ++cp) {
        // The monospaced i, j and l carry slab serifs that cannot fit their
        // narrow advances; the proportional face's plain stems do.
        const Face& face = (cp == 'i' || cp == 'j' || cp == 'l') ? fonts.sans : fonts.mono;
        glyph(sheet, cp - FONT_FIRST_CODE, face, cp, float(xr_ruvo_FontAdvance(cp)), capH);
    }
    for (int i = 0; kFontIconLetters[i]; ++i) {
        controlIcon(sheet, FONT_ICON_KEY_ROW + i, fonts.sans, kFontIconLetters[i], false);
        controlIcon(sheet, FONT_ICON_PAD_ROW + i, fonts.sans, kFontIconLetters[i], true);
    }
    return sheet;
}

Image defaultFont(const FontSet& fonts) {
    Image strip(960, 16);
    for (int k = 1; k < 95; ++k) {
        std::string s(1, char(32 + k));
        TextStyle st{13, 1, 0};
        Box b = textBounds(fonts.mono, s, st);
        if (b.width() > 7.5f) {
            st.xScale = 7.5f / b.width();
            b = textBounds(fonts.mono, s, st);
        }
        // Inside the cell's one-pixel borders: eight columns from x = 1.
        Field f(fonts.mono, s, st, 5 - (b.x0 + b.x1) * 0.5f, 12, 10, 16, 4);
        shade(strip, k * 10, 0, 10, 16, 4, [&](float x, float y) -> RGBA {
            if (x < 1 || x > 9) return {};
            return paint(hex(0xffffff), cover(f.at(x, y), 0.7f));
        });
    }
    return strip;
}

void lettering(Image& img, const Face& face, const std::string& text, float em, float x, float baseline, RGBA top,
               RGBA bottom, RGBA outline, float outlineWidth) {
    TextStyle st{em, 1, 0};
    Box b = textBounds(face, text, st);
    int x0 = int(std::floor(x + b.x0 - outlineWidth - 4)), y0 = int(std::floor(baseline + b.y0 - outlineWidth - 4));
    int w = int(b.width() + 2 * outlineWidth + 10), h = int(b.height() + 2 * outlineWidth + 12);
    Field f(face, text, st, x - x0, baseline - y0, w, h, 4);
    float capTop = baseline + b.y0 - y0, capH = b.height();
    shade(img, x0, y0, w, h, 3, [&](float px, float py) -> RGBA {
        float d = f.at(px, py);
        float sd = f.at(px, py - outlineWidth * 0.8f) - outlineWidth;
        RGBA c = paint(hex(0x000814, 0.5f), cover(sd, 1.5f));
        c = over(paint(outline, cover(d - outlineWidth, 0.8f)), c);
        return over(paint(mix(top, bottom, clamp01((py - capTop) / capH)), cover(d, 0.8f)), c);
    });
}

}  // namespace art
