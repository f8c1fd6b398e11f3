#include "tests/harness/draw_list.h"

#include <cmath>

#include "shell/draw.h"

const float* Command(int n) {
    return xr_ruvo_RUVO_Draw.Data() + RUVO_DRAW_FLOATS * n;
}

bool IsImage(const float* c, int image, int frame) {
    return c[CMD_TYPE] == RUVO_CMD_IMAGE && int(c[CMD_IMAGE]) == image && (frame < 0 || int(c[CMD_FRAME]) == frame);
}

namespace {

Label image_label(const float* c) {
    return Label{"", c[CMD_X], c[CMD_Y], c[CMD_X], c[STYLE_SCALE_X], c[STYLE_ALPHA], c[CMD_X]};
}

}  // namespace

std::vector<Label> Labels() {
    std::vector<Label> out;
    const float* prev = nullptr;
    for (int n = 0; n < xr_ruvo_Sprtup; ++n) {
        const float* c = Command(n);
        if (!IsImage(c, IMG_FONT, -1)) {
            prev = nullptr;
            continue;
        }
        const float s = c[STYLE_SCALE_X], gap = prev ? c[CMD_X] - prev[CMD_X] : 0;
        if (!prev || s != prev[STYLE_SCALE_X] || gap <= 0 || gap > 60 * s ||
            std::fabs(c[CMD_Y] - prev[CMD_Y]) > 34 * s) {
            out.push_back(image_label(c));
        } else if (gap > 28 * s) {
            out.back().text += ' ';
        }
        out.back().text += char(int(c[CMD_FRAME]) + 32);
        out.back().end = c[CMD_X];
        out.back().mid = (out.back().x + c[CMD_X]) / 2;
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
    for (int n = 0; n < xr_ruvo_Sprtup; ++n)
        if (IsImage(Command(n), image, frame)) found = image_label(Command(n));
    return found;
}

int CountImage(int image, int frame) {
    int count = 0;
    for (int n = 0; n < xr_ruvo_Sprtup; ++n) count += IsImage(Command(n), image, frame);
    return count;
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
        const float* c = Command(n);
        if (!IsImage(c, image, frame)) continue;
        const float w = xr_ruvo_RUVO_ImgW[image] * std::fabs(c[STYLE_SCALE_X]) / 2;
        const float h = xr_ruvo_RUVO_ImgH[image] * std::fabs(c[STYLE_SCALE_Y]) / 2;
        found = Box{c[CMD_X] - w, c[CMD_Y] - h, c[CMD_X] + w, c[CMD_Y] + h};
    }
    return found;
}
