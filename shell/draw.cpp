#include "shell/draw.h"

#include <cmath>

#include "shell/data_paths.h"
#include "shell/font.h"
#include "shell/state.h"
#include "support/data.h"
#include "support/math.h"

Array<float> xr_ruvo_RUVO_DrawStyle;
Array<float> xr_ruvo_RUVO_Draw;
int xr_ruvo_Sprtup;
Array<c_Image*> xr_ruvo_RUVO_Img;
Array<int> xr_ruvo_RUVO_ImgD;
Array<float> xr_ruvo_RUVO_ImgW;
Array<float> xr_ruvo_RUVO_ImgH;
int xr_ruvo_RUVO_Font;
Array<int> xr_ruvo_RUVO_FontKern;
int xr_ruvo_KeyPadMouse;
int xr_ruvo_overscan;
int xr_ruvo_jscrw;
int xr_ruvo_jscrh;
float xr_ruvo_RUVO_Scale;
int xr_ruvo_RUVO_TargetSize;
int xr_ruvo_RealW, xr_ruvo_RealH, xr_ruvo_WRealW, xr_ruvo_WRealH;
int xr_ruvo_RUVO_Orientation;
Array<float> xr_ruvo_RUVO_Data;

namespace {

// The corners handed to the graphics module for each triangle of the list.
Array<float> triangle;

// How many commands the last playback drew: they stay in the list until the
// next update starts a new one, so that the frame can be drawn again.
int played_commands;


// Font frames of the inline control icons: the keyboard row, or while
// xr_ruvo_KeyPadMouse is 1 the pad row.
int icon_frame(int letter) {
    const int row = xr_ruvo_KeyPadMouse * (FONT_ICON_KEY_ROW - FONT_ICON_PAD_ROW);
    for (int i = 0; kFontIconLetters[i]; ++i)
        if (kFontIconLetters[i] == letter) return FONT_ICON_KEY_ROW + i - row;
    return letter + 16 - row;
}


// A new command of `type` stamped with the style, or null when the list is full.
float* new_command(int type) {
    if (xr_ruvo_Sprtup > RUVO_DRAW_LIMIT) return nullptr;
    float* cmd = xr_ruvo_RUVO_Draw.Data() + RUVO_DRAW_FLOATS * xr_ruvo_Sprtup++;
    const float* style = xr_ruvo_RUVO_DrawStyle.Data();
    for (int i = 0; i < STYLE_STAMPED; ++i) cmd[i] = style[i];
    cmd[CMD_TYPE] = float(type);
    return cmd;
}

int char_width(int c) {
    if (c >= FONT_FIRST_CODE && c <= FONT_LAST_CODE) return xr_ruvo_RUVO_FontKern[c - FONT_FIRST_CODE];
    return 0;
}

}  // namespace

void xr_ruvo_draw_init() {
    gc_assign(xr_ruvo_RUVO_DrawStyle, Array<float>(50));
    gc_assign(xr_ruvo_RUVO_Draw, Array<float>(150000));
    xr_ruvo_Sprtup = 0;
    gc_assign(xr_ruvo_RUVO_Img, Array<c_Image*>(150));
    gc_assign(xr_ruvo_RUVO_ImgD, Array<int>(150));
    gc_assign(xr_ruvo_RUVO_ImgW, Array<float>(150));
    gc_assign(xr_ruvo_RUVO_ImgH, Array<float>(150));
    xr_ruvo_RUVO_Font = 0;
    gc_assign(xr_ruvo_RUVO_FontKern, Array<int>(FONT_LAST_KERN - FONT_FIRST_CODE + 1));
    for (int c = FONT_FIRST_CODE; c <= FONT_LAST_KERN; ++c)
        xr_ruvo_RUVO_FontKern[c - FONT_FIRST_CODE] = xr_ruvo_FontAdvance(c);
    xr_ruvo_KeyPadMouse = 0;
    xr_ruvo_overscan = 0;
    xr_ruvo_jscrw = 800;
    xr_ruvo_jscrh = 600;
    xr_ruvo_RUVO_Scale = 0;
    xr_ruvo_RUVO_TargetSize = 800;
    xr_ruvo_RealW = xr_ruvo_RealH = xr_ruvo_WRealW = xr_ruvo_WRealH = 0;
    xr_ruvo_RUVO_Orientation = 0;
    gc_assign(xr_ruvo_RUVO_Data, Array<float>(50));
    gc_assign(triangle, Array<float>(6));
    played_commands = 0;
    xr_ruvo_ResetDraw();
}

void xr_ruvo_draw_mark() {
    gc_mark_field(xr_ruvo_RUVO_DrawStyle);
    gc_mark_field(xr_ruvo_RUVO_Draw);
    gc_mark_field(xr_ruvo_RUVO_Img);
    gc_mark_field(xr_ruvo_RUVO_ImgD);
    gc_mark_field(xr_ruvo_RUVO_ImgW);
    gc_mark_field(xr_ruvo_RUVO_ImgH);
    gc_mark_field(xr_ruvo_RUVO_FontKern);
    gc_mark_field(xr_ruvo_RUVO_Data);
    gc_mark_field(triangle);
}

int xr_ruvo_SetCol(float r, float g, float b, float a) {
    float* s = xr_ruvo_RUVO_DrawStyle.Data();
    s[STYLE_RED] = xr_math_Clamp(r, 0, 255);
    s[STYLE_GREEN] = xr_math_Clamp(g, 0, 255);
    s[STYLE_BLUE] = xr_math_Clamp(b, 0, 255);
    if (a != STYLE_KEEP_ALPHA) s[STYLE_ALPHA] = xr_math_Clamp(a, 0, 1);
    return 0;
}

int xr_ruvo_Alpha(float a) {
    xr_ruvo_RUVO_DrawStyle[STYLE_ALPHA] = xr_math_Clamp(a, 0, 1);
    return 0;
}

int xr_ruvo_SetSize(float sx, float sy) {
    xr_ruvo_RUVO_DrawStyle[STYLE_SCALE_X] = sx;
    xr_ruvo_RUVO_DrawStyle[STYLE_SCALE_Y] = sy == STYLE_SCALE_AS_X ? sx : sy;
    return 0;
}

int xr_ruvo_SetRot(float r) {
    xr_ruvo_RUVO_DrawStyle[STYLE_ROTATION] = r;
    return 0;
}

int xr_ruvo_SetSkew(float kx, float ky) {
    xr_ruvo_RUVO_DrawStyle[STYLE_SKEW_X] = kx;
    xr_ruvo_RUVO_DrawStyle[STYLE_SKEW_Y] = ky;
    new_command(RUVO_CMD_SKEW);
    return 0;
}

int xr_ruvo_Ink(int n, float brightness) {
    static const float kPalette[10][3] = {
        {0.3f, 0.3f, 0.3f}, {1, 0.1f, 0.1f}, {1, 0.5f, 0.1f}, {1, 1, 0.1f},   {0.1f, 1, 0.1f},
        {0.1f, 1, 1},       {0.1f, 0.1f, 1}, {0.5f, 0.1f, 1}, {1, 0.1f, 0.5f}, {1, 1, 1},
    };
    const float* f = kPalette[n >= 1 && n <= 9 ? n : 0];
    for (int i = 0; i < 3; ++i) xr_ruvo_RUVO_DrawStyle[STYLE_RED + i] = xr_math_Clamp(brightness * f[i] * 255, 0, 255);
    return 0;
}

int xr_ruvo_ResetDraw() {
    float* s = xr_ruvo_RUVO_DrawStyle.Data();
    if (xr_ruvo_Sprtup > 0 && (s[STYLE_SKEW_X] != 0 || s[STYLE_SKEW_Y] != 0)) {
        s[STYLE_SKEW_X] = s[STYLE_SKEW_Y] = 0;
        new_command(RUVO_CMD_SKEW);
    }
    // Opaque white, full size, upright, unskewed.
    const float reset[STYLE_STAMPED] = {1, 255, 255, 255, 1, 1, 0, 0, 0};
    for (int i = 0; i < STYLE_STAMPED; ++i) s[i] = reset[i];
    return 0;
}

int xr_ruvo_SetCLSCol(int r, int g, int b, float a) {
    float* s = xr_ruvo_RUVO_DrawStyle.Data();
    s[STYLE_CLEAR_TARGET_RED] = xr_math_Clamp(float(r), 0, 255);
    s[STYLE_CLEAR_TARGET_GREEN] = xr_math_Clamp(float(g), 0, 255);
    s[STYLE_CLEAR_TARGET_BLUE] = xr_math_Clamp(float(b), 0, 255);
    s[STYLE_CLEAR_ALPHA] = xr_math_Clamp(a, 0, 1);
    return 0;
}

int xr_ruvo_DrawImg(int image, float x, float y, int frame) {
    if (image < 1 || image > 99) return 0;
    float* cmd = new_command(RUVO_CMD_IMAGE);
    if (!cmd) return 0;
    int frames = xr_ruvo_RUVO_ImgD[image];
    cmd[CMD_IMAGE] = float(image);
    cmd[CMD_X] = x;
    cmd[CMD_Y] = y;
    cmd[CMD_FRAME] = float(frame < 0 || frames <= 0 ? 0 : frame % frames);
    return 0;
}

int xr_ruvo_Rect(float x, float y, float w, float h, float ax, float ay) {
    float* cmd = new_command(RUVO_CMD_RECT);
    if (!cmd) return 0;
    cmd[CMD_X] = x - w * ax * 0.5f;
    cmd[CMD_Y] = y - h * ay * 0.5f;
    cmd[CMD_W] = w;
    cmd[CMD_H] = h;
    return 0;
}

int xr_ruvo_Triangle(float x1, float y1, float x2, float y2, float x3, float y3) {
    float* cmd = new_command(RUVO_CMD_TRIANGLE);
    if (!cmd) return 0;
    const float p[6] = {x1, y1, x2, y2, x3, y3};
    for (int i = 0; i < 6; ++i) cmd[CMD_CORNERS + i] = p[i];
    return 0;
}

int xr_ruvo_Line(float x1, float y1, float x2, float y2) {
    float* cmd = new_command(RUVO_CMD_LINE);
    if (!cmd) return 0;
    cmd[CMD_X] = x1;
    cmd[CMD_Y] = y1;
    cmd[CMD_X2] = x2;
    cmd[CMD_Y2] = y2;
    return 0;
}

// Lays the text out glyph by glyph along the style's rotation. A character
// 172 picks an inline control icon with the character after it, and a
// backslash followed by "n" breaks the line; at the very end of the text
// either is an ordinary character, so nothing is read past the end.
int xr_ruvo_TextCentred(float x, float y, String text) {
    return xr_ruvo_Text(x, y, text, 1, 1, 0, 0);
}

int xr_ruvo_Text(float x, float y, String text, float alignX, float alignY, float waveOffset,
                 float waveHeight) {
    if (xr_ruvo_RUVO_Font == 0) return 0;
    const float* style = xr_ruvo_RUVO_DrawStyle.Data();
    const float sx = style[STYLE_SCALE_X], sy = style[STYLE_SCALE_Y];
    const int theta = int(style[STYLE_ROTATION]);
    const int length = text.Length() + 1;
    const Char* units = text.Data();
    auto at = [&](int n) { return n == 0 ? 32 : int(units[n - 1]); };

    int W = 0;
    for (int n = 0; n < length - 1; ++n) {
        int c = at(n);
        if (c == 172 && n + 1 < length) {
            W = int(float(W) + 30 * sx);
            ++n;
        } else {
            W = int(float(W) + float(char_width(c)) * sx);
        }
    }

    const float X0 = x + 0.5f * alignX * float(W) * sind(float(-90 - theta));
    const float Y0 = y - 0.5f * alignX * float(W) * cosd(float(-90 - theta));
    const float V = 0.5f * (alignY - 1);
    const float X1 = X0 + V * 44 * sx * sind(float(-theta));
    const float Y1 = Y0 - V * 44 * sy * cosd(float(-theta));
    float px = X1, py = Y1;
    int G = 0;
    const float margin = float(128 + xr_ruvo_overscan);

    for (int n = 0; n < length; ++n) {
        int c = at(n);
        int f, J;
        if (c >= FONT_FIRST_CODE && c <= FONT_LAST_CODE) {
            f = c - FONT_FIRST_CODE;
            J = char_width(c) - 28;
        } else if (c == 172 && n + 1 < length) {
            f = icon_frame(at(++n));
            J = FONT_ICON_ADVANCE - 28;
        } else {
            f = c - FONT_FIRST_CODE;
            J = 0;
        }
        if (at(n) == '\\' && n + 1 < length && at(n + 1) == 'n') {
            ++G;
            px = X1 + float(G * (J + 28)) * sy * sind(float(180 - theta)) + float(J + 44) * sx * sind(float(90 - theta));
            py = Y1 - float(G * (J + 44)) * sy * cosd(float(180 - theta));
            ++n;
            continue;
        }
        if (f == -FONT_FIRST_CODE) continue;  // code 0
        if (f >= 1 && f <= 127 && px > -margin && px < float(xr_ruvo_jscrw) + margin && py > -margin &&
            py < float(xr_ruvo_jscrh) + margin) {
            // Degrees, as every angle here: a glyph's neighbour sits half its
            // advance further along the wave, so the letters ripple together.
            float wave = waveHeight > 0 ? waveHeight * sind(waveOffset + 0.5f * px) : 0;
            xr_ruvo_DrawImg(xr_ruvo_RUVO_Font, px, py + wave, f);
        }
        px += float(J + 28) * sx * sind(float(90 - theta));
        py -= float(J + 21) * sx * cosd(float(90 - theta));
    }
    return int(px);
}

namespace {

void play_commands(int count) {
    xr_graphics_SetBlend(0);
    const float* list = xr_ruvo_RUVO_Draw.Data();
    for (int n = 0; n < count; ++n) {
        const float* cmd = list + RUVO_DRAW_FLOATS * n;
        xr_graphics_SetAlpha(cmd[STYLE_ALPHA]);
        xr_graphics_SetColor(cmd[STYLE_RED], cmd[STYLE_GREEN], cmd[STYLE_BLUE]);
        switch (int(cmd[CMD_TYPE])) {
        case RUVO_CMD_IMAGE: {
            int image = int(std::floor(cmd[CMD_IMAGE]));
            c_Image* img = image >= 0 && image < xr_ruvo_RUVO_Img.Length() ? xr_ruvo_RUVO_Img[image] : nullptr;
            if (img)
                xr_graphics_DrawImage2(img, cmd[CMD_X], cmd[CMD_Y], cmd[STYLE_ROTATION], cmd[STYLE_SCALE_X],
                                       cmd[STYLE_SCALE_Y], int(std::floor(cmd[CMD_FRAME])));
            break;
        }
        case RUVO_CMD_RECT:
            xr_graphics_DrawRect(cmd[CMD_X], cmd[CMD_Y], cmd[CMD_W], cmd[CMD_H]);
            break;
        case RUVO_CMD_TRIANGLE:
            for (int i = 0; i < 6; ++i) triangle[i] = cmd[CMD_CORNERS + i];
            xr_graphics_DrawPoly(triangle);
            break;
        case RUVO_CMD_LINE:
            xr_graphics_DrawLine(cmd[CMD_X], cmd[CMD_Y], cmd[CMD_X2], cmd[CMD_Y2]);
            break;
        case RUVO_CMD_SKEW: {
            c_GraphicsContext* g = xr_graphics_context;
            float scale = xr_ruvo_RUVO_Scale;
            g->m_ax = scale;
            g->m_ay = cmd[STYLE_SKEW_Y];
            g->m_bx = cmd[STYLE_SKEW_X];
            g->m_by = scale;
            g->m_ox = g->m_oy = 0;
            g->m_matrixDirty = 1;
            g->m_transformed = scale != 1 || cmd[STYLE_SKEW_X] != 0 || cmd[STYLE_SKEW_Y] != 0;
            break;
        }
        }
    }
}

}  // namespace

int xr_ruvo_PlayDraw() {
    if (xr_ruvo_Sprtup > 4999) xr_ruvo_Sprtup = 4999;
    play_commands(xr_ruvo_Sprtup);
    played_commands = xr_ruvo_Sprtup;
    xr_ruvo_ResetDraw();
    xr_ruvo_RUVO_Data[DATA_PLAYED_COMMANDS] = float(xr_ruvo_Sprtup);
    xr_ruvo_Sprtup = 0;
    return 0;
}

int xr_ruvo_ReplayDraw() {
    play_commands(played_commands);
    return 0;
}

String xr_ruvo_ImagePath(int image, String name) {
    const std::string file = xr_ruvo_ImageFile(xr_ruvo_RUVO_GameNum, image, name.ToUtf8());
    return String::FromUtf8(file.data(), int(file.size()));
}

// A picture already loaded under another number (the loading screen's logo
// is both a grid of tiles and one whole picture) is cut again from the same
// texture rather than decoded and held twice.
static c_Image* loaded_from(const String& path, int except) {
    const String file = xr_data_FixDataPath(path);
    for (int i = 0; i < xr_ruvo_RUVO_Img.Length(); ++i) {
        c_Image* other = xr_ruvo_RUVO_Img[i];
        if (i != except && other && other->m_surface && other->m_surface->path == file) return other;
    }
    return nullptr;
}

int xr_ruvo_LoadImg(int image, String name, int frameW, int frameH, int frameCount) {
    xr_ruvo_RUVO_ImgD[image] = frameCount;
    xr_ruvo_RUVO_ImgW[image] = float(frameW);
    xr_ruvo_RUVO_ImgH[image] = float(frameH);
    const String path = xr_ruvo_ImagePath(image, name);
    c_Image* img = nullptr;
    if (c_Image* same = loaded_from(path, image)) {
        gxtkSurface* surface = same->m_surface;
        img = (new c_Image())->m_new()->p_Init2(surface, 0, 0, frameW, frameH, frameCount, c_Image::HandleCentre,
                                                same, 0, 0, surface->Width(), surface->Height());
    } else {
        img = xr_graphics_LoadImage2(path, frameW, frameH, frameCount, c_Image::HandleCentre);
    }
    gc_assign(xr_ruvo_RUVO_Img[image], img);
    return 0;
}

int xr_ruvo_LoadFont(int image, String name) {
    xr_ruvo_RUVO_ImgD[image] = FONT_FRAMES;
    gc_assign(xr_ruvo_RUVO_Img[image], xr_graphics_LoadImage2(xr_ruvo_ImagePath(image, name), FONT_CELL, FONT_CELL,
                                                              FONT_FRAMES, c_Image::HandleCentre));
    xr_ruvo_RUVO_Font = image;
    return 0;
}
