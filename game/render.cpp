#include "game/render.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "game/world.h"
#include "graphics/graphics.h"
#include "host/app.h"
#include "runtime/debug.h"
#include "shell/controls.h"
#include "shell/draw.h"
#include "shell/particles.h"
#include "shell/state.h"
#include "support/math.h"

namespace {


// "Update 60 - Render 60 (123 sprites)" and a cross at the pointer.
void debug_overlay() {
    const float* data = xr_ruvo_RUVO_Data.Data();
    if (xr_ruvo_RUVO_Font) {
        xr_ruvo_SetSize(0.5f);
        String line = String("Update ") + String(int(data[DATA_UPDATE_RATE])) + String(" - Render ") +
                      String(int(data[DATA_RENDER_RATE])) + String(" (") + String(int(data[DATA_PLAYED_COMMANDS])) +
                      String(" sprites)");
        xr_ruvo_Text(16, float(xr_ruvo_jscrh - 32), line, 0, 0, 0, 0);
        xr_ruvo_ResetDraw();
    }
    const float mx = float(xr_ruvo_mx), my = float(xr_ruvo_my);
    xr_ruvo_SetCol(255, 255, 255, 1);
    xr_ruvo_Line(mx - 8, my, mx + 8, my);
    xr_ruvo_Line(mx, my - 8, mx, my + 8);
    xr_ruvo_SetCol(0, 0, 0, 1);
    xr_ruvo_Line(mx - 7, my - 7, mx + 7, my + 7);
    xr_ruvo_Line(mx - 7, my + 7, mx + 7, my - 7);
    xr_ruvo_ResetDraw();
}

// GLIMMERDEEP_PRINT_RATES=1 prints the overlay's figures once a second, so
// that a test can watch the frame rate from outside without touching what
// players see.
bool print_rates() {
    static const bool on = [] {
        const char* value = std::getenv("GLIMMERDEEP_PRINT_RATES");
        return value && *value && std::string(value) != "0";
    }();
    return on;
}

// The clear of the last frame drawn, which drawing it again repeats.
struct ClearColour {
    float r, g, b, a;
} clear_colour;

// The virtual screen from the device size, the clear, and the view transform.
void begin_world_frame() {
    const int width = xr_app__devWidth, height = xr_app__devHeight;
    xr_ruvo_RealW = xr_ruvo_WRealW = width;
    xr_ruvo_RealH = xr_ruvo_WRealH = height;
    // In double precision: 1920 / (1920 / 800) must come back as 800, which
    // single precision misses by a hair and truncation turns into 799.
    const double target = xr_ruvo_RUVO_TargetSize;
    const double sw = width / target, sh = height / target;
    const double scale = sw > sh ? sw : sh;
    xr_ruvo_RUVO_Scale = float(scale);
    if (scale > 0) {
        xr_ruvo_jscrw = int(width / scale);
        xr_ruvo_jscrh = int(height / scale);
    }

    xr_graphics_SetColor(clear_colour.r, clear_colour.g, clear_colour.b);
    xr_graphics_SetAlpha(clear_colour.a);
    xr_graphics_DrawRect(-128, -128, float(width + 256), float(height + 256));

    const float ov = float(xr_ruvo_RUVO_Set[SET_OVERSCAN]);
    const float view = (1 - 2 * ov / 101) * xr_ruvo_RUVO_Scale;
    xr_graphics_SetMatrix(view, 0, 0, view, 0, 0);
    if (width > 0) xr_graphics_Transform(1, 0, 0, 1, 10 * ov, 10 * ov * (float(height) / float(width)));
}

}  // namespace

int xr_ruvo_RedrawWorld() {
    begin_world_frame();
    xr_ruvo_ReplayDraw();
    return 0;
}

int xr_ruvo_RenderWorld() {
    xr_ruvo_RUVO_Orientation = xr_ruvo_jscrw < xr_ruvo_jscrh ? 1 : 0;
    for (int i = 0; i < xr_ruvo_RUVO_ImgD.Length(); ++i)
        if (xr_ruvo_RUVO_ImgD[i] <= 0) xr_ruvo_RUVO_ImgD[i] = 1;
    if (xr_ruvo_Sprtup > 4999) xr_ruvo_Sprtup = 4999;

    float* data = xr_ruvo_RUVO_Data.Data();
    data[DATA_RENDERS] += 1;
    data[DATA_RENDERS_THIS_SECOND] += 1;
    int now = xr_app_Millisecs();
    if (std::abs(now - int(data[DATA_RENDER_SECOND_START])) >= 1000) {
        data[DATA_RENDER_RATE] = data[DATA_RENDERS_THIS_SECOND];
        data[DATA_RENDERS_THIS_SECOND] = 0;
        data[DATA_RENDER_SECOND_START] = float(now);
        if (print_rates())
            xrPrint(String("Rates: update ") + String(int(data[DATA_UPDATE_RATE])) + String(" render ") +
                    String(int(data[DATA_RENDER_RATE])));
    }

    const float* style = xr_ruvo_RUVO_DrawStyle.Data();
    if (xr_ruvo_RUVO_Paused == 1) {
        clear_colour = {0, 0, 0, 1};
    } else {
        clear_colour = {style[STYLE_CLEAR_RED], style[STYLE_CLEAR_GREEN], style[STYLE_CLEAR_BLUE],
                        style[STYLE_CLEAR_ALPHA]};
    }
    begin_world_frame();

    xr_ruvo_DoParticles();
    if (xr_ruvo_RUVO_DebugMode == 1) debug_overlay();
    xr_ruvo_PlayDraw();

    xr_ruvo_RUVO_ScrollX = (xr_ruvo_scrx - xr_ruvo_aimx) * 0.125f;
    xr_ruvo_RUVO_ScrollY = (xr_ruvo_scry - xr_ruvo_aimy) * 0.125f;
    xr_ruvo_scrx -= xr_ruvo_RUVO_ScrollX;
    xr_ruvo_scry -= xr_ruvo_RUVO_ScrollY;
    return 0;
}

int xr_ruvo_BGRot(float angle, float saturation, float brightness) {
    const float h = saturation * 0.5f, b = brightness - 1;
    float* style = xr_ruvo_RUVO_DrawStyle.Data();
    for (int i = 0; i < 3; ++i)
        style[STYLE_CLEAR_TARGET_RED + i] = xr_math_Clamp((cosd(angle + 120 * float(i)) * h + 0.5f + b) * 255, 0, 255);
    style[STYLE_CLEAR_ALPHA] = 1;
    return 0;
}
