// One update of play: the cave around the player, the vents and their
// hazards, steering, the sonar that lights the rock, treasure, hits, and the
// end of the game. Everything is queued into the draw list in back-to-front
// order.
#include <cmath>
#include <cstdlib>

#include "audio/audio.h"
#include "game/mygame.h"
#include "game/world.h"
#include "host/app.h"
#include "host/pacing.h"
#include "runtime/debug.h"
#include "shell/controls.h"
#include "shell/draw.h"
#include "shell/particles.h"
#include "shell/scores.h"
#include "shell/sound.h"
#include "shell/state.h"
#include "support/random.h"
#include "support/math.h"

namespace {

enum { RAYS = 72 };

// The window of cells around a player coordinate: kWindowReach cells either
// side (101 in all), or the kEdgeWindow cells at the grid's edge when it would
// reach past it.
const int kWindowReach = 50;
const int kEdgeWindow = 103;
void window_range(float at, int* first, int* last) {
    *first = int(at - kWindowReach);
    *last = int(at + kWindowReach);
    if (*first < 0) {
        *first = 0;
        *last = kEdgeWindow - 1;
    }
    if (*last > WORLD_SIZE - 1) {
        *first = WORLD_SIZE - kEdgeWindow;
        *last = WORLD_SIZE - 1;
    }
}

// Losing a life: two seconds of safety, a burst of hot colours.
void hit_player(float* plr) {
    plr[PLR_INVULNERABLE] = 120;
    plr[PLR_LIVES] -= 1;
    xr_ruvo_PlaySFX(SFX_HIT);
    if (plr[PLR_LIVES] < 0) xr_ruvo_PlaySFX(SFX_LAST_LIFE);
    for (int i = 0; i < 65; ++i) {
        float speed = xr_random_Step() * 3 + 2;
        float angle = xr_random_Step() * 360;
        int colour = int(std::floor(xr_random_Step() * 2.99f + 1));
        xr_ruvo_ThrowShape(plr[PLR_X] * CELL_PIXELS, plr[PLR_Y] * CELL_PIXELS, colour, angle, speed);
    }
}

void emit_hazard(int cx, int cy, int code, float danger) {
    int r = xr_ruvo_FreeObj(OBJ_RECORDS - 1, OBJ_SLOTS);
    if (r < 0) return;
    float* o = xr_ruvo_obj.Data() + r;
    o[HAZ_ALIVE] = 1;
    o[HAZ_ANGLE] = 0;
    o[HAZ_X] = float(cx);
    o[HAZ_Y] = float(cy);
    o[HAZ_SPIN] = xr_random_Step() * 2 + 1;
    const float s = xr_random_Step() * (danger * 0.13f - 0.08f) + 0.08f;
    o[HAZ_VX] = code == TILE_VENT_LEFT ? s : code == TILE_VENT_RIGHT ? -s : 0;
    o[HAZ_VY] = code == TILE_VENT_CEILING ? s : code == TILE_VENT_FLOOR ? -s : 0;
}

void collect_treasure(float* plr, float* cell, int cx, int cy) {
    xr_ruvo_Gimme(5, plr[PLR_X] * CELL_PIXELS, plr[PLR_Y] * CELL_PIXELS, 1);
    xr_ruvo_PlaySFX(SFX_TREASURE);
    plr[PLR_DANGER] = std::min(plr[PLR_DANGER] + 0.04f, 3.0f);
    plr[PLR_TREASURES] -= 1;
    cell[CELL_TILE] = TILE_WATER;
    for (int i = 0; i < 25; ++i) {
        float speed = xr_random_Step() + 1;
        float angle = xr_random_Step() * 360;
        xr_ruvo_ThrowShape(float(cx * CELL_PIXELS), float(cy * CELL_PIXELS), 3, angle, speed);
    }
}

void cell_window(float* plr) {
    float* grid = xr_ruvo_grid.Data();
    int x0, x1, y0, y1;
    window_range(plr[PLR_X], &x0, &x1);
    window_range(plr[PLR_Y], &y0, &y1);
    const int phase = int(plr[PLR_VENT_PHASE]);
    const int ms = xr_app_Millisecs();
    for (int cx = x0; cx <= x1; ++cx) {
        for (int cy = y0; cy <= y1; ++cy) {
            float* cell = grid + xr_ruvo_Cell(cx, cy);
            const int code = int(cell[CELL_TILE]);
            float& light = cell[CELL_LIGHT];
            if (light > 90)
                light = 89;
            else if (light > 0)
                light -= 1;

            if ((cx + cy) % 90 == phase && code >= TILE_VENT_CEILING && code <= TILE_VENT_RIGHT)
                emit_hazard(cx, cy, code, plr[PLR_DANGER]);

            const float sx = float(cx * CELL_PIXELS) - xr_ruvo_scrx;
            const float sy = float(cy * CELL_PIXELS) - xr_ruvo_scry;
            if (code > 0 && (light > 0 || code == TILE_TREASURE)) {
                if (code == TILE_TREASURE) {
                    xr_ruvo_Alpha(0.75f);
                    xr_ruvo_SetSize(2 * sind(float(ms / 4)), 2);
                    xr_ruvo_DrawImg(IMG_TILES, sx, sy, code);
                    xr_ruvo_SetSize(1, 1);
                } else {
                    xr_ruvo_Alpha(light / 90);
                    xr_ruvo_DrawImg(IMG_TILES, sx, sy, code);
                }
            }

            const float dx = sx - plr[PLR_SCREEN_X], dy = std::fabs(sy - plr[PLR_SCREEN_Y]);
            if (std::fabs(dx) < 16 && dy < 10 && code > TILE_TREASURE && plr[PLR_LIVES] > -1 &&
                plr[PLR_INVULNERABLE] == 0)
                hit_player(plr);
            if (std::fabs(dx) < 32 && dy < 20 && code == TILE_TREASURE && plr[PLR_LIVES] > -1)
                collect_treasure(plr, cell, cx, cy);
        }
    }
}

void steer_and_move(float* plr) {
    const bool ended = xr_ruvo_RUVO_EndofGame != 0;
    const float ax = xr_ruvo_ControlX(-1, 0), ay = xr_ruvo_ControlY(-1, 0);
    if (!ended) {
        plr[PLR_VX] += ax;
        plr[PLR_VY] += ay;
    }
    plr[PLR_X] = xr_math_Clamp(plr[PLR_X], 2, WORLD_SIZE - 2);
    plr[PLR_Y] = xr_math_Clamp(plr[PLR_Y], 2, WORLD_SIZE - 2);
    plr[PLR_VX] = xr_math_Clamp(plr[PLR_VX], -4, 4);
    plr[PLR_VY] = xr_math_Clamp(plr[PLR_VY], -4, 4);
    const float axes[2] = {ax, ay};
    for (int i = 0; i < 2; ++i) {
        float& v = plr[PLR_VX + i];
        if (std::fabs(axes[i]) < 0.3f || ended) {
            if (v > 0)
                v = v - 0.05f < 0 ? 0 : v - 0.05f;
            else if (v < 0)
                v = v + 0.05f > 0 ? 0 : v + 0.05f;
        }
    }
    if (plr[PLR_VX] > 0.5f) plr[PLR_FACING] = 1;
    if (plr[PLR_VX] < -0.5f) plr[PLR_FACING] = -1;
    plr[PLR_X] += 0.025f * plr[PLR_VX];
    plr[PLR_Y] += 0.025f * plr[PLR_VY];
}

void draw_player(float* plr) {
    const float sx = plr[PLR_X] * CELL_PIXELS - xr_ruvo_scrx;
    const float sy = plr[PLR_Y] * CELL_PIXELS - xr_ruvo_scry;
    xr_ruvo_SetSize(plr[PLR_FACING] < 0 ? -1 : 1, 1);
    if (plr[PLR_LIVES] > -1) {
        xr_ruvo_DrawImg(IMG_TILES, sx, sy, FRAME_DIVER + (xr_app_Millisecs() / 200) % FRAME_DIVER_STEPS);
        float& timer = plr[PLR_INVULNERABLE];
        if (timer > 0) {
            timer -= 1;
            if (timer < 1) timer = 0;
            if (timer > 90 || std::fmod(timer, 30.0f) > 15) xr_ruvo_DrawImg(IMG_TILES, sx, sy, FRAME_SHIELD);
        }
    }
    plr[PLR_SCREEN_X] = sx;
    plr[PLR_SCREEN_Y] = sy;
}

void sonar(float* plr) {
    xr_ruvo_ResetDraw();
    plr[PLR_SONAR] += 1;
    if (plr[PLR_SONAR] > 90 && plr[PLR_LIVES] > -1) {
        xr_ruvo_PlaySFX(SFX_SONAR, 1, 1, 0);
        plr[PLR_SONAR] = 0;
        for (int k = 0; k < RAYS; ++k) {
            plr[PLR_RAY_STRENGTH + k] = 8;
            plr[PLR_RAY_X + k] = plr[PLR_X];
            plr[PLR_RAY_Y + k] = plr[PLR_Y];
            plr[PLR_RAY_VX + k] = sind(float(5 * k)) * 0.1f;
            plr[PLR_RAY_VY + k] = -cosd(float(5 * k)) * 0.1f;
        }
    }
    xr_ruvo_Alpha(0.3f);
    float* grid = xr_ruvo_grid.Data();
    for (int pass = 0; pass < 4; ++pass) {
        for (int k = 0; k < RAYS; ++k) {
            float& x = plr[PLR_RAY_X + k];
            float& y = plr[PLR_RAY_Y + k];
            x += plr[PLR_RAY_VX + k];
            y += plr[PLR_RAY_VY + k];
            if (plr[PLR_RAY_STRENGTH + k] <= 0) continue;
            if (pass == 0) {
                const int tx = int(x), ty = int(y);
                if (tx >= 2 && tx <= 1021 && ty >= 2 && ty <= 1021 && grid[xr_ruvo_Cell(tx, ty)] > 0) {
                    grid[xr_ruvo_Cell(tx, ty, CELL_LIGHT)] += 50;
                    plr[PLR_RAY_STRENGTH + k] -= 1;
                    const int nx[4] = {tx - 1, tx + 1, tx, tx}, ny[4] = {ty, ty, ty - 1, ty + 1};
                    for (int n = 0; n < 4; ++n)
                        if (grid[xr_ruvo_Cell(nx[n], ny[n])] > 0) grid[xr_ruvo_Cell(nx[n], ny[n], CELL_LIGHT)] += 20;
                }
            }
            if (pass == 0 || pass == 2)
                xr_ruvo_DrawImg(IMG_TILES, x * CELL_PIXELS - xr_ruvo_scrx, y * CELL_PIXELS - xr_ruvo_scry, FRAME_RAY);
        }
    }
}

void hazards(float* plr) {
    xr_ruvo_ResetDraw();
    const float* grid = xr_ruvo_grid.Data();
    float* obj = xr_ruvo_obj.Data();
    for (int i = 0; i < OBJ_RECORDS; ++i) {
        float* o = obj + OBJ_SLOTS * i;
        if (o[HAZ_ALIVE] <= 0) continue;
        const int tx = int(o[HAZ_X]), ty = int(o[HAZ_Y]);
        o[HAZ_X] += o[HAZ_VX];
        o[HAZ_Y] += o[HAZ_VY];
        if (tx >= 1 && tx < WORLD_SIZE && ty >= 1 && ty < WORLD_SIZE) {
            const int code = int(grid[xr_ruvo_Cell(tx, ty)]);
            if (code >= TILE_ROCK_FIRST && code <= TILE_ROCK_LAST) o[HAZ_ALIVE] = 0;
        } else {
            o[HAZ_ALIVE] = 0;
        }
        o[HAZ_ANGLE] = std::fmod(o[HAZ_SPIN] + o[HAZ_ANGLE], 360.0f);
        xr_ruvo_SetRot(float(int(o[HAZ_ANGLE] / 45) * 45));
        const float sx = o[HAZ_X] * CELL_PIXELS - xr_ruvo_scrx, sy = o[HAZ_Y] * CELL_PIXELS - xr_ruvo_scry;
        xr_ruvo_DrawImg(IMG_TILES, sx, sy, FRAME_HAZARD);
        if (std::fabs(sx - plr[PLR_SCREEN_X]) < 16 && std::fabs(sy - plr[PLR_SCREEN_Y]) < 10 &&
            plr[PLR_INVULNERABLE] == 0 && plr[PLR_LIVES] > -1)
            hit_player(plr);
        if (sx < -160 || sx > float(xr_ruvo_jscrw + 160) || sy < -160 || sy > float(xr_ruvo_jscrh + 160))
            o[HAZ_ALIVE] = 0;
    }
}

// Up to ten treasures in open water, never beside rock nor near the player.
void stock_treasure(float* plr) {
    xr_ruvo_ResetDraw();
    float* grid = xr_ruvo_grid.Data();
    for (int attempt = 0; attempt < 61; ++attempt) {
        if (plr[PLR_TREASURES] >= 10) continue;
        const int tx = int(std::floor(xr_random_Step() * 1017.99f + 3));
        const int ty = int(std::floor(xr_random_Step() * 1017.99f + 3));
        if (grid[xr_ruvo_Cell(tx, ty)] != 0) continue;
        if (grid[xr_ruvo_Cell(tx - 1, ty)] > 0 || grid[xr_ruvo_Cell(tx + 1, ty)] > 0 ||
            grid[xr_ruvo_Cell(tx, ty - 1)] > 0 || grid[xr_ruvo_Cell(tx, ty + 1)] > 0)
            continue;
        if (xr_ruvo_Dist(float(tx), float(ty), plr[PLR_X], plr[PLR_Y]) < 20) continue;
        grid[xr_ruvo_Cell(tx, ty)] = TILE_TREASURE;
        plr[PLR_TREASURES] += 1;
        xrPrint(String("Placed at ") + String(tx) + String(",") + String(ty));
    }
}

}  // namespace

int c_MyGame::p_Game() {
    float* plr = xr_ruvo_plr.Data();

    xr_ruvo_SetCLSCol(0, 0, 0, 1);
    m_DoBits(0, 0, 1);
    xr_ruvo_ResetDraw();

    plr[PLR_VENT_PHASE] += 1;
    if (plr[PLR_VENT_PHASE] > 89) plr[PLR_VENT_PHASE] = 0;

    cell_window(plr);

    xr_ruvo_ResetDraw();
    xr_ruvo_aimx = plr[PLR_X] * CELL_PIXELS - float(xr_ruvo_jscrw / 2);
    xr_ruvo_aimy = plr[PLR_Y] * CELL_PIXELS - float(xr_ruvo_jscrh / 2);

    steer_and_move(plr);
    xr_pacing.Track("diver", plr[PLR_X], plr[PLR_Y]);
    draw_player(plr);
    sonar(plr);
    hazards(plr);
    stock_treasure(plr);

    if (plr[PLR_LIVES] < 0) {
        xr_ruvo_EndGame(0);
        xr_audio_device->StopMusic();
        xr_ruvo_RUVO_MusicPlaying = 0;
    }
    xr_ruvo_ShowScores(1, 1, 0, 0, 0, 0);
    return 0;
}
