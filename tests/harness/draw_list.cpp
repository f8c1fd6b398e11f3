#include "tests/harness/draw_list.h"

#include <cmath>

#include "shell/draw.h"

std::vector<Label> Labels() {
    std::vector<Label> out;
    const float* prev = nullptr;
    for (int n = 0; n < xr_ruvo_Sprtup; ++n) {
        const float* c = xr_ruvo_RUVO_Draw.Data() + RUVO_DRAW_FLOATS * n;
        if (c[9] != RUVO_CMD_IMAGE || int(c[10]) != IMG_FONT) {
            prev = nullptr;
            continue;
        }
        const float s = c[4], gap = prev ? c[11] - prev[11] : 0;
        if (!prev || s != prev[4] || gap <= 0 || gap > 60 * s || std::fabs(c[12] - prev[12]) > 34 * s) {
            out.push_back({"", c[11], c[12], c[11], s, c[0], c[11]});
        } else if (gap > 28 * s) {
            out.back().text += ' ';
        }
        out.back().text += char(int(c[13]) + 32);
        out.back().end = c[11];
        out.back().mid = (out.back().x + c[11]) / 2;
        prev = c;
    }
    return out;
}

std::optional<Label> Find(const std::string& text) {
    for (const Label& l : Labels())
        if (l.text == text) return l;
    return std::nullopt;
}

std::optional<Label> FindImage(int image, int frame) {
    std::optional<Label> found;
    for (int n = 0; n < xr_ruvo_Sprtup; ++n) {
        const float* c = xr_ruvo_RUVO_Draw.Data() + RUVO_DRAW_FLOATS * n;
        if (c[9] == RUVO_CMD_IMAGE && int(c[10]) == image && int(c[13]) == frame)
            found = Label{"", c[11], c[12], c[11], c[4], c[0], c[11]};
    }
    return found;
}

// A glyph's cell: 32 units wide (28 of advance and its overhang), a line
// of 44 high.
Box LabelBox(const Label& l) {
    const float w = 16 * l.scale, h = 22 * l.scale;
    return {l.x - w, l.y - h, l.end + w, l.y + h};
}

std::optional<Box> ImageBox(int image, int frame) {
    std::optional<Box> found;
    for (int n = 0; n < xr_ruvo_Sprtup; ++n) {
        const float* c = xr_ruvo_RUVO_Draw.Data() + RUVO_DRAW_FLOATS * n;
        if (c[9] != RUVO_CMD_IMAGE || int(c[10]) != image || int(c[13]) != frame) continue;
        const float w = xr_ruvo_RUVO_ImgW[image] * std::fabs(c[4]) / 2;
        const float h = xr_ruvo_RUVO_ImgH[image] * std::fabs(c[5]) / 2;
        found = Box{c[11] - w, c[12] - h, c[11] + w, c[12] + h};
    }
    return found;
}
