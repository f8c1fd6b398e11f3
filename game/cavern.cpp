// A new game's cave: solid rock, tunnels carved as random walks of discs out
// of the centre, the player's start, the camera, and vents on open cells
// beside walls. The order of draws, the truncations and the float widths are
// part of the design: the same generator state gives the same cave.
#include <cmath>

#include "game/mygame.h"
#include "game/world.h"
#include "shell/draw.h"
#include "shell/state.h"
#include "support/random.h"

namespace {

inline float u() {
    return xr_random_Step();
}

void carve_disc(float* grid, int x, int y, int radius) {
    for (int a = 0; a <= 360; ++a) {
        const float s = std::sin(float(a) * D2R), c = std::cos(float(a) * D2R);
        for (int d = 0; d <= radius; ++d) {
            int px = int(float(d) * s + float(x));
            int py = int(float(y) - float(d) * c);
            if (px >= 4 && px <= 1020 && py >= 4 && py <= 1020) grid[xr_ruvo_Cell(px, py)] = TILE_WATER;
        }
    }
}

int clampi(int v, int low, int high) {
    return v < low ? low : v > high ? high : v;
}

}  // namespace

int c_MyGame::p_Cavern() {
    float* grid = xr_ruvo_grid.Data();
    for (int x = 0; x < WORLD_SIZE; ++x) {
        for (int y = 0; y < WORLD_SIZE; ++y) {
            float* cell = grid + xr_ruvo_Cell(x, y);
            cell[1] = 0;
            cell[0] = std::floor(u() * 5.99f + 6);
        }
    }

    const int type = xr_ruvo_RUVO_GameType;
    if (type >= 0) {
        for (int tunnel = 0; tunnel < type + 1; ++tunnel) {
            int x = 512, y = 512;
            int heading = int(std::floor(u() * 180.99f + 90));
            int radius = 8;
            for (int step = 0; step < type * 8 + 1; ++step) {
                carve_disc(grid, x, y, radius);
                if (u() * 10 < 2) heading = int(std::floor(u() * 360.99f));
                x = int(float(x) + std::sin(float(heading) * D2R) * float(radius));
                y = int(float(y) - float(radius) * std::cos(float(heading) * D2R));
                x = clampi(x, 10, 1010);
                y = clampi(y, 10, 1010);
                radius = int(std::floor(u() * 6.99f + 6));
            }
        }
    }

    float* plr = xr_ruvo_plr.Data();
    plr[PLR_X] = 512;
    plr[PLR_Y] = 512;
    plr[PLR_SONAR] = 60;
    plr[PLR_INVULNERABLE] = 120;
    plr[PLR_DANGER] = 0.9f;
    float threshold = 2.0f;
    if (type == 2) {
        plr[PLR_DANGER] = 1.0f;
        threshold = 3.25f;
    } else if (type == 3) {
        plr[PLR_DANGER] = 1.25f;
        threshold = 4.5f;
    }

    xr_ruvo_aimx = float(8192 - xr_ruvo_jscrw / 2);
    xr_ruvo_aimy = float(8192 - xr_ruvo_jscrh / 2);
    xr_ruvo_scrx = xr_ruvo_aimx;
    xr_ruvo_scry = xr_ruvo_aimy;

    for (int x = 2; x <= 1019; x += 3) {
        for (int y = 2; y <= 1019; y += 3) {
            float* cell = grid + xr_ruvo_Cell(x, y);
            if (cell[0] != TILE_WATER) continue;
            if (u() * 6 >= threshold || x == 512 || y == 512) continue;
            const float left = grid[xr_ruvo_Cell(x - 1, y)], right = grid[xr_ruvo_Cell(x + 1, y)];
            const float up = grid[xr_ruvo_Cell(x, y - 1)], down = grid[xr_ruvo_Cell(x, y + 1)];
            int code = TILE_WATER;
            if (left > 0 && right == 0) code = TILE_VENT_LEFT;
            if (right > 0 && left == 0) code = TILE_VENT_RIGHT;
            if (up > 0 && down == 0) code = TILE_VENT_CEILING;
            if (down > 0 && up == 0) code = TILE_VENT_FLOOR;
            cell[0] = float(code);
        }
    }
    return 0;
}
