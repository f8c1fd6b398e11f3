#include "shell/particles.h"

#include <cmath>

#include "host/app.h"
#include "shell/draw.h"
#include "shell/game_link.h"
#include "shell/state.h"
#include "support/math.h"
#include "support/random.h"

namespace {

const float kColours[10][3] = {
    {76.5f, 76.5f, 76.5f}, {255, 25.5f, 25.5f}, {255, 127.5f, 25.5f}, {255, 255, 25.5f},  {25.5f, 255, 25.5f},
    {25.5f, 255, 255},     {25.5f, 25.5f, 255}, {127.5f, 25.5f, 255}, {255, 25.5f, 127.5f}, {255, 255, 255},
};


float* next_record() {
    xr_ruvo_RUVO_Partto = (xr_ruvo_RUVO_Partto + 1) % PART_RECORDS;
    return xr_ruvo_part.Data() + 10 * xr_ruvo_RUVO_Partto;
}

}  // namespace

int xr_ruvo_ThrowParticle(float x, float y, int kind, int colour, float angle, float speed) {
    float* p = next_record();
    p[0] = float(kind);
    p[1] = x;
    p[2] = y;
    p[3] = sind(angle) * speed;
    p[4] = -cosd(angle) * speed;
    p[7] = 1;
    p[5] = xr_random_Step() * 360;
    p[6] = xr_random_Step() * 6 - 3;
    p[8] = std::floor(xr_random_Step() * 15.99f);
    if (kind == PART_BOUNCING) p[8] = y + xr_random_Step() * 32 - 16;
    p[9] = float(colour);
    return 0;
}

int xr_ruvo_ThrowShape(float x, float y, int colour, float angle, float speed) {
    return xr_ruvo_ThrowParticle(x, y, PART_SHAPE, colour, angle, speed);
}

int xr_ruvo_DoParticles() {
    xr_ruvo_ResetDraw();
    float* part = xr_ruvo_part.Data();
    for (int n = 0; n <= PART_RECORDS; ++n) {
        float* p = part + 10 * n;
        if (p[0] <= 0) continue;
        p[1] += p[3];
        p[2] += p[4];
        p[5] = std::fmod(p[6] + p[5], 360.0f);
        const float sx = p[1] - xr_ruvo_scrx, sy = p[2] - xr_ruvo_scry;
        float scale = 1, fade = 0.02f;
        switch (int(p[0])) {
        case PART_SMOKE:
            p[4] -= xr_random_Step() * 0.05f + 0.05f;
            p[3] *= xr_random_Step() * 0.03f + 0.95f;
            p[1] += 0.3f * sind(float(xr_app_Millisecs() / 24 + 35 * n));
            scale = 5 - 4 * p[7];
            break;
        case PART_FALLING:
            p[4] += xr_random_Step() * 0.15f + 0.1f;
            p[3] *= xr_random_Step() * 0.03f + 0.95f;
            scale = 0.3f;
            break;
        case PART_BOUNCING:
            p[4] += xr_random_Step() * 0.15f + 0.15f;
            if (p[2] > p[8]) p[4] = -(xr_random_Step() * 1.5f + 2.5f);
            p[3] *= xr_random_Step() * 0.014f + 0.985f;
            scale = 0.3f;
            break;
        case PART_SHAPE:
            scale = 0.3f;
            fade = 0.015f;
            break;
        case PART_LABEL:
            p[4] -= 0.02f;
            if (p[4] < -0.35f) p[4] = -0.35f;
            scale = 0.3f;
            break;
        }
        int colour = int(p[9]);
        const float* rgb = kColours[colour >= 1 && colour <= 9 ? colour : 0];
        xr_ruvo_SetCol(rgb[0], rgb[1], rgb[2], xr_math_Clamp(p[7], 0, 1));
        xr_ruvo_SetSize(scale, scale);
        xr_ruvo_SetRot(p[5]);
        if (int(p[0]) == PART_LABEL) {
            if (xr_ruvo_RUVO_Font) xr_ruvo_Text(sx, sy, String(int(p[8])), 1, 1, 0, 0);
        } else {
            int image = int(p[0]) == PART_SMOKE    ? IMG_PARTICLE_SMOKE
                        : int(p[0]) == PART_SHAPE ? IMG_PARTICLE_SHAPES
                                                  : IMG_PARTICLE_SHAPES_FULL;
            xr_ruvo_DrawImg(image, sx, sy, n % 16);
        }
        p[7] -= fade;
        // Lives are counted in float steps of 1/50 or 1/66.7; a residue far
        // below one step is the rounding of those steps, not life left.
        if (p[7] <= 1e-5f) {
            p[7] = 0;
            p[0] = 0;
        }
        if (sx < -128 || sx > float(xr_ruvo_jscrw + 128) || sy < -128 || sy > float(xr_ruvo_jscrh + 128)) p[0] = 0;
    }
    xr_ruvo_ResetDraw();
    return 0;
}

int xr_ruvo_ResetStars() {
    xr_ruvo_SeedRnd(SEED_FROM_CLOCK);
    float* star = xr_ruvo_astar.Data();
    for (int i = 0; i < STAR_RECORDS; ++i, star += 10) {
        star[0] = std::floor(xr_random_Step() * 15.99f);
        star[1] = xr_random_Step() * float(xr_ruvo_jscrw + 256) - 128;
        star[2] = xr_random_Step() * float(xr_ruvo_jscrh + 256) - 128;
        star[3] = xr_random_Step() * 0.65f + 0.25f;
        star[5] = xr_random_Step() * 360;
        star[6] = xr_random_Step() * 4 - 2;
    }
    return 0;
}

int xr_ruvo_FlushGame() {
    xr_ruvo_ResetGrid();
    xr_ruvo_ResetPlrs();
    xr_ruvo_ResetObjs();
    xr_ruvo_ResetParticles();
    xr_ruvo_ResetStars();
    xr_ruvo_RUVO_EndofGame = 0;
    xr_ruvo_RUVO_EndReason = 0;
    return 0;
}

int xr_ruvo_Gimme(int amount, float x, float y, int player) {
    if (x != GIMME_NO_LABEL) {
        float* p = next_record();
        for (int i = 0; i < 10; ++i) p[i] = 0;
        p[0] = PART_LABEL;
        p[1] = x;
        p[2] = y;
        p[7] = 1;
        p[8] = float(amount);
        p[9] = 3;
    }
    if (player >= 1 && player <= 7) xr_ruvo_plr[(player - 1) * PLR_RECORD + PLR_SCORE] += float(amount);
    return 0;
}

int xr_ruvo_DoBits(float dx, float dy, int mode) {
    if (mode == 1) {
        dx += xr_ruvo_RUVO_ScrollX;
        dy += xr_ruvo_RUVO_ScrollY;
    }
    xr_ruvo_ResetDraw();
    xr_ruvo_SetSize(0.3f, 0.3f);
    const int W = xr_ruvo_jscrw, H = xr_ruvo_jscrh;
    float* star = xr_ruvo_astar.Data();
    for (int i = 0; i < STAR_RECORDS; ++i, star += 10) {
        star[1] += dx * star[3];
        star[2] += dy * star[3];
        star[5] = std::fmod(star[6] + star[5], 360.0f);
        if (star[1] < -128) {
            star[1] = float(W + 128);
            star[2] = xr_random_Step() * float(H);
            star[3] = xr_random_Step() * 0.65f + 0.25f;
        }
        if (star[2] < -128) {
            star[2] = float(H + 128);
            star[1] = xr_random_Step() * float(W);
            star[3] = xr_random_Step() * 0.65f + 0.25f;
        }
        if (star[1] > float(W + 128)) {
            star[1] = -128;
            star[2] = xr_random_Step() * float(H);
            star[3] = xr_random_Step() * 0.65f + 0.25f;
        }
        if (star[2] > float(H + 128)) {
            star[2] = -128;
            star[1] = xr_random_Step() * float(W);
            star[3] = xr_random_Step() * 0.65f + 0.25f;
        }
        float qx = float(W / 2) - star[1], qy = float(H / 2) - star[2];
        float q = (qx * qx + qy * qy) / 40000;
        xr_ruvo_Alpha(1 - q);
        xr_ruvo_SetRot(star[5]);
        xr_ruvo_DrawImg(IMG_PARTICLE_STARS, star[1], star[2], int(star[0]));
    }
    xr_ruvo_ResetDraw();
    return 0;
}
