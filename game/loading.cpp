// The loading screen's art: drawn every update while the assets load.
#include "game/loading.h"

#include "game/assets.h"
#include "shell/draw.h"
#include "shell/sound.h"
#include "shell/state.h"

// The studio emblem assembling from falling tiles, and "..Loading..".
void draw_loading_frame(int step) {
    xr_ruvo_SetCol(180, 160, 120, 1);
    xr_ruvo_Rect(-128, -128, float(xr_ruvo_jscrw + 256), float(xr_ruvo_jscrh + 256), 0, 0);
    xr_ruvo_ResetDraw();
    if (step >= 3) {
        xr_ruvo_SetSize(0.5f, 0.5f);
        const float ox = float(xr_ruvo_jscrw / 2) - 239.85f, oy = float(xr_ruvo_jscrh / 2) - 239.85f;
        for (int i = 0; i < 32; ++i) {
            for (int j = 0; j < 32; ++j) {
                const float o = 30 - (float(j) - 0.3f * float(i)) * 0.25f - float(step);
                const float drop = o < 0 ? 0 : 5 * o * o;
                xr_ruvo_DrawImg(IMG_EMBLEM_TILES, float(i) * 15.99f + ox, float(j) * 15.99f + oy - drop, i + 32 * j);
            }
        }
        xr_ruvo_ResetDraw();
    }
    if (xr_ruvo_RUVO_Font) {
        const int n = step % 4 + 1;
        String dots = xr_ruvo_rstr(String("."), n, String("."));
        xr_ruvo_Text(float(xr_ruvo_jscrw / 2), float(xr_ruvo_jscrh - 64), dots + String("Loading") + dots, 1, 1, 0,
                     0);
    }
}

void load_step_assets(int step) {
    for (int i = 0; i < kGameImageCount; ++i) {
        const GameImage& image = kGameImages[i];
        if (image.step == step)
            xr_ruvo_LoadImg(image.slot, String(image.name), image.frameWidth, image.frameHeight, image.frames);
    }
    for (int i = 0; i < kGameSoundCount; ++i)
        if (kGameSounds[i].step == step) xr_ruvo_LoadSFX(kGameSounds[i].number);
}
