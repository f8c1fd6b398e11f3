// Renders every image of a data folder onto one PNG, each frame cut the way
// the game cuts it and numbered, over a checkerboard that shows transparency.
//
//   contactsheet DATADIR OUT.png [--only PATH]... [--zoom Z]
//
// Frames are magnified by whole pixels (as the game's nearest-neighbour
// sampling shows them) or shrunk by averaging when they are large.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include <stb_image.h>

#include "shell/font.h"
#include "tools/assetgen/catalog.h"
#include "tools/assetgen/raster.h"
#include "tools/assetgen/typeset.h"

#ifndef ASSETGEN_FONT_DIR
#define ASSETGEN_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

using namespace art;

namespace {

constexpr int kWidth = 2048;
constexpr int kGap = 4;
constexpr int kMargin = 16;

Image load(const std::string& path) {
    int w, h, n;
    unsigned char* data = stbi_load(path.c_str(), &w, &h, &n, 4);
    if (!data) throw std::runtime_error("cannot read " + path);
    Image img(w, h);
    for (int i = 0; i < w * h; ++i) {
        float a = data[i * 4 + 3] / 255.0f;
        img.px[i] = {data[i * 4] / 255.0f * a, data[i * 4 + 1] / 255.0f * a, data[i * 4 + 2] / 255.0f * a, a};
    }
    stbi_image_free(data);
    return img;
}

// Size on the sheet of one frame: magnify small frames, shrink large ones.
float zoomFor(int cellW, int cellH, float requested) {
    if (requested > 0) return requested;
    int side = std::max(cellW, cellH);
    if (side <= 20) return 4;
    if (side <= 32) return 3;
    if (side <= 68) return 2;
    if (side <= 128) return 1;
    if (side <= 256) return 1;
    return 0.25f;
}

void checker(Image& img, int x0, int y0, int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool dark = ((x / 8) + (y / 8)) % 2 == 0;
            img.compose(x0 + x, y0 + y, hex(dark ? 0x2a2f3a : 0x363c48));
        }
}

// Copies frame (sx, sy, w, h) of src scaled by zoom to (dx, dy).
void place(Image& dst, const Image& src, int sx, int sy, int w, int h, float zoom, int dx, int dy) {
    int ow = int(std::lround(w * zoom)), oh = int(std::lround(h * zoom));
    for (int y = 0; y < oh; ++y)
        for (int x = 0; x < ow; ++x) {
            RGBA c;
            if (zoom >= 1) {
                c = src.at(sx + int(x / zoom), sy + int(y / zoom));
            } else {
                int f = int(std::lround(1 / zoom));
                for (int j = 0; j < f; ++j)
                    for (int i = 0; i < f; ++i) {
                        const RGBA& s = src.at(std::min(sx + w - 1, sx + x * f + i), std::min(sy + h - 1, sy + y * f + j));
                        c.r += s.r;
                        c.g += s.g;
                        c.b += s.b;
                        c.a += s.a;
                    }
                c = scaled(c, 1.0f / (f * f));
            }
            dst.compose(dx + x, dy + y, c);
        }
}

void label(Image& img, const Face& face, const std::string& text, float em, int x, int y, RGBA colour, bool boxed) {
    TextStyle st{em, 1, 0};
    Box b = textBounds(face, text, st);
    int w = int(b.x1) + 4, h = int(em * 1.25f);
    Field f(face, text, st, 2, em * 0.95f, w, h, 2);
    if (boxed)
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) img.compose(x + i, y + j, hex(0x000000, 0.7f));
    shade(img, x, y, w, h, 1, [&](float px, float py) { return paint(colour, cover(f.at(px, py), 1)); });
}

// Sets a line the way the game's text routine does: each 64 x 64 cell is
// centred on the pen, which then moves by the character's advance; the
// surface is sampled nearest-neighbour at the given scale.
void sampleLine(Image& dst, const Image& font, const std::string& text, float scale, int x, int y) {
    float pen = x + 24 * scale;
    for (size_t i = 0; i < text.size(); ++i) {
        int c = (unsigned char)text[i];
        int frame = c - 32, adv = xr_ruvo_FontAdvance(c);
        if (c == '^' && i + 1 < text.size()) {
            const char* at = std::strchr(kFontIconLetters, text[++i]);
            frame = FONT_ICON_KEY_ROW + int(at - kFontIconLetters);
            adv = FONT_ICON_ADVANCE;
        }
        int fx = (frame % 16) * 64, fy = (frame / 16) * 64;
        int size = int(std::ceil(64 * scale));
        for (int j = 0; j < size; ++j)
            for (int k = 0; k < size; ++k) {
                float u = (k + 0.5f) / scale, v = (j + 0.5f) / scale;
                if (u >= 64 || v >= 64) continue;
                dst.compose(int(pen - 32 * scale) + k, int(y - 32 * scale) + j, font.at(fx + int(u), fy + int(v)));
            }
        pen += adv * scale;
    }
}

// Draws one frame centred on (cx, cy) at the given scale, sampled
// nearest-neighbour as the game's renderer does.
void drawFrame(Image& dst, const Image& src, int fx, int fy, int fw, int fh, float cx, float cy, float scale, float alpha = 1) {
    int w = int(fw * scale), h = int(fh * scale);
    int x0 = int(cx - w * 0.5f), y0 = int(cy - h * 0.5f);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            int u = int((i + 0.5f) / scale), v = int((j + 0.5f) / scale);
            if (u >= fw || v >= fh) continue;
            dst.compose(x0 + i, y0 + j, scaled(src.at(fx + u, fy + v), alpha));
        }
}

// The main menu at rest on an 800 x 600 screen, put together from the
// backdrop layers, the title, the studio emblem and menu text the way the
// menu screen places them.
void menuPreview(Image& dst, int top, const Image& menu, const Image& logo, const Image& icons, const Image& font) {
    Image screen(800, 600);
    for (RGBA& p : screen.px) p = hex(0x508c50);
    const float W = 800, H = 600;
    drawFrame(screen, menu, 0, 0, 1024, 1024, W / 2, H / 2, 0.85f);
    drawFrame(screen, menu, 0, 1024, 1024, 1024, W / 2, H / 2, 0.85f);
    drawFrame(screen, menu, 1024, 0, 1024, 1024, W / 2, H / 2, 0.85f);
    drawFrame(screen, logo, 0, 0, 1024, 512, W / 2, 8 * 16, 0.4f);
    drawFrame(screen, icons, 256, 256, 128, 128, W - 64, 48, 1);
    const char* items[4] = {"> Start Game", "Options", "Credits", "Quit"};
    for (int k = 0; k < 4; ++k) sampleLine(screen, font, items[k], 1, int(W * 0.25f) - 24, int(H - 192 + 48 * k));
    dst.blit(screen, kMargin, top);
}

// A patch of cave as play draws it: rock, vents and treasure 16 pixels
// apart, each cell lit by the sonar to its own degree, the diver, a hazard
// and sonar dots, magnified so that seams between cells would show.
void cavePreview(Image& dst, int top, const Image& gfx) {
    const int cols = 24, rows = 14;
    Image screen(cols * 16 + 32, rows * 16 + 32);
    for (RGBA& p : screen.px) p = hex(0x000000);
    auto frame = [&](int f, float cx, float cy, float sx, float sy, float alpha) {
        int fx = (f % 6) * 20, fy = (f / 6) * 20;
        int w = int(std::fabs(20 * sx)), h = int(20 * sy);
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                int u = int((i + 0.5f) / std::fabs(sx)), v = int((j + 0.5f) / sy);
                if (sx < 0) u = 19 - u;
                if (u < 0 || v < 0 || u >= 20 || v >= 20) continue;
                screen.compose(int(cx - w * 0.5f) + i, int(cy - h * 0.5f) + j, scaled(gfx.at(fx + u, fy + v), alpha));
            }
    };
    auto open = [](int x, int y) {
        float d = std::hypot((x - 11.5f) / 9.0f, (y - 7.0f) / 4.2f) + 0.25f * std::sin(x * 1.3f + y * 0.7f);
        return d < 1.0f;
    };
    for (int x = 0; x < cols; ++x)
        for (int y = 0; y < rows; ++y) {
            if (open(x, y)) continue;
            float light = std::max(0.0f, 1.0f - std::hypot(x - 11.5f, y - 7.0f) / 14.0f);
            int look = 6 + int(hashf(x, y, 5) * 5.99f);
            if (x == 6 && y == 3) look = 12;
            if (x == 18 && y == 10) look = 13;
            frame(look, 16 + x * 16 + 8, 16 + y * 16 + 8, 1, 1, light);
        }
    frame(5, 16 + 15 * 16 + 8, 16 + 6 * 16 + 8, 2 * std::sin(1.1f), 2, 0.75f);
    frame(0, 16 + 10 * 16 + 8, 16 + 7 * 16 + 8, 1, 1, 1);
    frame(16, 16 + 10 * 16 + 8, 16 + 7 * 16 + 8, 1, 1, 1);
    frame(17, 16 + 8 * 16 + 4, 16 + 5 * 16 + 8, 1, 1, 1);
    for (int k = 0; k < 12; ++k) frame(4, 16 + 10 * 16 + 8 + std::sin(k * 0.52f) * 70, 16 + 7 * 16 + 8 - std::cos(k * 0.52f) * 50, 1, 1, 0.3f);
    place(dst, screen, 0, 0, screen.w, screen.h, 3, kMargin, top);
}

}  // namespace

int main(int argc, char** argv) {
    std::string dataDir, outPath;
    std::vector<std::string> only;
    float zoom = 0;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--only") && i + 1 < argc)
            only.push_back(argv[++i]);
        else if (!std::strcmp(argv[i], "--zoom") && i + 1 < argc)
            zoom = float(std::atof(argv[++i]));
        else if (dataDir.empty())
            dataDir = argv[i];
        else
            outPath = argv[i];
    }
    if (dataDir.empty() || outPath.empty()) {
        std::fprintf(stderr, "usage: %s DATADIR OUT.png [--only PATH]... [--zoom Z]\n", argv[0]);
        return 2;
    }
    try {
        Face face(std::string(ASSETGEN_FONT_DIR) + "/DejaVuSansMono-Bold.ttf");
        struct Entry {
            const catalog::Sheet* sheet;
            Image img;
            float zoom;
            int columns, rows, frameW, frameH, top;
        };
        std::vector<Entry> entries;
        int y = kMargin;
        for (const catalog::Sheet& s : catalog::sheets()) {
            if (!only.empty() && std::find(only.begin(), only.end(), s.path) == only.end()) continue;
            Entry e{&s, load(dataDir + "/" + s.path), zoomFor(s.cellW, s.cellH, zoom), 0, 0, 0, 0, 0};
            e.frameW = int(std::lround(s.cellW * e.zoom));
            e.frameH = int(std::lround(s.cellH * e.zoom));
            e.columns = std::max(1, (kWidth - 2 * kMargin + kGap) / (e.frameW + kGap));
            e.columns = std::min(e.columns, s.count);
            e.rows = (s.count + e.columns - 1) / e.columns;
            e.top = y;
            y += 30 + e.rows * (e.frameH + kGap) + 24;
            entries.push_back(std::move(e));
        }
        // The picture of image slot `slot`, when the sheet shows it.
        auto shown = [&](int slot) -> const Image* {
            for (const Entry& e : entries)
                if (e.sheet->path == catalog::imageFile(slot)) return &e.img;
            return nullptr;
        };
        const Image* font = shown(IMG_FONT);
        const bool withSample = font != nullptr;
        const int sampleTop = y;
        if (withSample) y += 300;
        const Image *menu = shown(IMG_MENU), *logo = shown(IMG_TITLE), *icons = shown(IMG_ICONS);
        const bool withMenu = font && menu && logo && icons;
        const int menuTop = y;
        if (withMenu) y += 620;
        const Image* gfx = shown(IMG_TILES);
        const int caveTop = y;
        if (gfx) y += (14 * 16 + 32) * 3 + 20;
        Image sheet(kWidth, y);
        for (RGBA& p : sheet.px) p = hex(0x14171f);
        if (withSample) {
            for (int yy = sampleTop; yy < sampleTop + 290; ++yy)
                for (int xx = 0; xx < kWidth; ++xx)
                    sheet.compose(xx, yy, xx < kWidth / 2 ? hex(0x0b2a4a) : hex(0xd8c08a));
            const char* line = "Glimmerdeep: Score 1250! Press ^J (jump) - lil' fish {ok}";
            float scales[] = {2, 1, 0.5f, 0.25f};
            int ys[] = {sampleTop + 50, sampleTop + 140, sampleTop + 200, sampleTop + 240};
            for (int i = 0; i < 4; ++i) sampleLine(sheet, *font, line, scales[i], 8, ys[i]);
        }
        if (withMenu) menuPreview(sheet, menuTop, *menu, *logo, *icons, *font);
        if (gfx) cavePreview(sheet, caveTop, *gfx);
        for (const Entry& e : entries) {
            const catalog::Sheet& s = *e.sheet;
            char title[160];
            std::snprintf(title, sizeof title, "%s  %dx%d  %d frames of %dx%d", s.path.c_str(), e.img.w, e.img.h,
                          s.count, s.cellW, s.cellH);
            label(sheet, face, title, 18, kMargin, e.top, hex(0xe8eef5), false);
            int perRow = std::max(1, e.img.w / s.cellW);
            for (int k = 0; k < s.count; ++k) {
                int sx = (k % perRow) * s.cellW, sy = (k / perRow) * s.cellH;
                if (sy + s.cellH > e.img.h) break;
                int dx = kMargin + (k % e.columns) * (e.frameW + kGap);
                int dy = e.top + 30 + (k / e.columns) * (e.frameH + kGap);
                checker(sheet, dx, dy, e.frameW, e.frameH);
                place(sheet, e.img, sx, sy, s.cellW, s.cellH, e.zoom, dx, dy);
                label(sheet, face, std::to_string(k), e.frameW < 48 ? 9 : 11, dx, dy, hex(0xffe27a), true);
            }
        }
        writePNG(outPath, sheet);
    } catch (const std::exception& ex) {
        std::fprintf(stderr, "contactsheet: %s\n", ex.what());
        return 1;
    }
    return 0;
}
