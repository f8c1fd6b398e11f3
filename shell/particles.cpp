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
    return xr_ruvo_part.Data() + PART_SLOTS * xr_ruvo_RUVO_Partto;
}

}  // namespace

int xr_ruvo_ThrowParticle(float x, float y, int kind, int colour, float angle, float speed) {
    float* p = next_record();
    p[PART_KIND] = float(kind);
    p[PART_X] = x;
    p[PART_Y] = y;
    p[PART_VX] = sind(angle) * speed;
    p[PART_VY] = -cosd(angle) * speed;
    p[PART_LIFE] = 1;
    p[PART_ANGLE] = xr_random_Step() * 360;
    p[PART_SPIN] = xr_random_Step() * 6 - 3;
    p[PART_FRAME] = std::floor(xr_random_Step() * 15.99f);
    if (kind == PART_BOUNCING) p[PART_FRAME] = y + xr_random_Step() * 32 - 16;
    p[PART_COLOUR] = float(colour);
    return 0;
}

int xr_ruvo_ThrowShape(float x, float y, int colour, float angle, float speed) {
    return xr_ruvo_ThrowParticle(x, y, PART_SHAPE, colour, angle, speed);
}

int xr_ruvo_DoParticles() {
    xr_ruvo_ResetDraw();
    float* part = xr_ruvo_part.Data();
    for (int n = 0; n <= PART_RECORDS; ++n) {
        float* p = part + PART_SLOTS * n;
        if (p[PART_KIND] <= 0) continue;
        p[PART_X] += p[PART_VX];
        p[PART_Y] += p[PART_VY];
        p[PART_ANGLE] = std::fmod(p[PART_SPIN] + p[PART_ANGLE], 360.0f);
        const float sx = p[PART_X] - xr_ruvo_scrx, sy = p[PART_Y] - xr_ruvo_scry;
        float scale = 1, fade = 0.02f;
        const int kind = int(p[PART_KIND]);
        switch (kind) {
        case PART_SMOKE:
            p[PART_VY] -= xr_random_Step() * 0.05f + 0.05f;
            p[PART_VX] *= xr_random_Step() * 0.03f + 0.95f;
            p[PART_X] += 0.3f * sind(float(xr_app_Millisecs() / 24 + 35 * n));
            scale = 5 - 4 * p[PART_LIFE];
            break;
        case PART_FALLING:
            p[PART_VY] += xr_random_Step() * 0.15f + 0.1f;
            p[PART_VX] *= xr_random_Step() * 0.03f + 0.95f;
            scale = 0.3f;
            break;
        case PART_BOUNCING:
            p[PART_VY] += xr_random_Step() * 0.15f + 0.15f;
            if (p[PART_Y] > p[PART_FRAME]) p[PART_VY] = -(xr_random_Step() * 1.5f + 2.5f);
            p[PART_VX] *= xr_random_Step() * 0.014f + 0.985f;
            scale = 0.3f;
            break;
        case PART_SHAPE:
            scale = 0.3f;
            fade = 0.015f;
            break;
        case PART_LABEL:
            p[PART_VY] -= 0.02f;
            if (p[PART_VY] < -0.35f) p[PART_VY] = -0.35f;
            scale = 0.3f;
            break;
        }
        int colour = int(p[PART_COLOUR]);
        const float* rgb = kColours[colour >= 1 && colour <= 9 ? colour : 0];
        xr_ruvo_SetCol(rgb[0], rgb[1], rgb[2], xr_math_Clamp(p[PART_LIFE], 0, 1));
        xr_ruvo_SetSize(scale, scale);
        xr_ruvo_SetRot(p[PART_ANGLE]);
        if (kind == PART_LABEL) {
            if (xr_ruvo_RUVO_Font) xr_ruvo_Text(sx, sy, String(int(p[PART_FRAME])), 1, 1, 0, 0);
        } else {
            const int image = kind == PART_SMOKE   ? IMG_PARTICLE_SMOKE
                              : kind == PART_SHAPE ? IMG_PARTICLE_SHAPES
                                                   : IMG_PARTICLE_SHAPES_FULL;
            xr_ruvo_DrawImg(image, sx, sy, n % 16);
        }
        p[PART_LIFE] -= fade;
        // Lives are counted in float steps of 1/50 or 1/66.7; a residue far
        // below one step is the rounding of those steps, not life left.
        if (p[PART_LIFE] <= 1e-5f) {
            p[PART_LIFE] = 0;
            p[PART_KIND] = 0;
        }
        if (sx < -128 || sx > float(xr_ruvo_jscrw + 128) || sy < -128 || sy > float(xr_ruvo_jscrh + 128))
            p[PART_KIND] = 0;
    }
    xr_ruvo_ResetDraw();
    return 0;
}

int xr_ruvo_ResetStars() {
    xr_ruvo_SeedRnd(SEED_FROM_CLOCK);
    float* star = xr_ruvo_astar.Data();
    for (int i = 0; i < STAR_RECORDS; ++i, star += STAR_SLOTS) {
        star[STAR_FRAME] = std::floor(xr_random_Step() * 15.99f);
        star[STAR_X] = xr_random_Step() * float(xr_ruvo_jscrw + 256) - 128;
        star[STAR_Y] = xr_random_Step() * float(xr_ruvo_jscrh + 256) - 128;
        star[STAR_DEPTH] = xr_random_Step() * 0.65f + 0.25f;
        star[STAR_ANGLE] = xr_random_Step() * 360;
        star[STAR_SPIN] = xr_random_Step() * 4 - 2;
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
        for (int i = 0; i < PART_SLOTS; ++i) p[i] = 0;
        p[PART_KIND] = PART_LABEL;
        p[PART_X] = x;
        p[PART_Y] = y;
        p[PART_LIFE] = 1;
        p[PART_FRAME] = float(amount);
        p[PART_COLOUR] = 3;
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
    for (int i = 0; i < STAR_RECORDS; ++i, star += STAR_SLOTS) {
        star[STAR_X] += dx * star[STAR_DEPTH];
        star[STAR_Y] += dy * star[STAR_DEPTH];
        star[STAR_ANGLE] = std::fmod(star[STAR_SPIN] + star[STAR_ANGLE], 360.0f);
        if (star[STAR_X] < -128) {
            star[STAR_X] = float(W + 128);
            star[STAR_Y] = xr_random_Step() * float(H);
            star[STAR_DEPTH] = xr_random_Step() * 0.65f + 0.25f;
        }
        if (star[STAR_Y] < -128) {
            star[STAR_Y] = float(H + 128);
            star[STAR_X] = xr_random_Step() * float(W);
            star[STAR_DEPTH] = xr_random_Step() * 0.65f + 0.25f;
        }
        if (star[STAR_X] > float(W + 128)) {
            star[STAR_X] = -128;
            star[STAR_Y] = xr_random_Step() * float(H);
            star[STAR_DEPTH] = xr_random_Step() * 0.65f + 0.25f;
        }
        if (star[STAR_Y] > float(H + 128)) {
            star[STAR_Y] = -128;
            star[STAR_X] = xr_random_Step() * float(W);
            star[STAR_DEPTH] = xr_random_Step() * 0.65f + 0.25f;
        }
        float qx = float(W / 2) - star[STAR_X], qy = float(H / 2) - star[STAR_Y];
        float q = (qx * qx + qy * qy) / 40000;
        xr_ruvo_Alpha(1 - q);
        xr_ruvo_SetRot(star[STAR_ANGLE]);
        xr_ruvo_DrawImg(IMG_PARTICLE_STARS, star[STAR_X], star[STAR_Y], int(star[STAR_FRAME]));
    }
    xr_ruvo_ResetDraw();
    return 0;
}
