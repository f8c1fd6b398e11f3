// A new game's cave: solid rock, tunnels carved as random walks of discs out
// of the centre, the player's start, the camera, and vents on open cells
// beside walls. The order of draws, the truncations and the float widths are
// part of the design: the same generator state gives the same cave.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "game/mygame.h"
#include "game/world.h"
#include "shell/draw.h"
#include "shell/state.h"
#include "support/random.h"

namespace {

// The draws go column by column, but the grid is laid out row by row: a
// column walk would touch a new memory page at every cell. So the draws of a
// band of columns are taken in their order into this buffer first, and the
// band is then copied into the grid row by row. Its rows are padded so that
// the 16 of them do not share cache sets.
const int kBand = 16;
float band[kBand][WORLD_SIZE + 16];

// Which vent candidates (every third cell from 2) are open, read row by row.
const int kCandidates = 340;  // 2, 5, ..., 1019
bool candidateOpen[kCandidates][kCandidates];

inline float u() {
    return xr_random_Step();
}

// sin and cos of every whole degree, as 32-bit floats: each disc needs all
// 361 of them.
struct DegreeTable {
    float sine[361], cosine[361];
    DegreeTable() {
        for (int a = 0; a <= 360; ++a) {
            sine[a] = std::sin(float(a) * D2R);
            cosine[a] = std::cos(float(a) * D2R);
        }
    }
};
const DegreeTable kDegrees;

void carve_disc(float* grid, int x, int y, int radius) {
    for (int a = 0; a <= 360; ++a) {
        const float s = kDegrees.sine[a], c = kDegrees.cosine[a];
        for (int d = 0; d <= radius; ++d) {
            int px = int(float(d) * s + float(x));
            int py = int(float(y) - float(d) * c);
            if (px >= 4 && px <= 1020 && py >= 4 && py <= 1020) grid[xr_ruvo_Cell(px, py)] = TILE_WATER;
        }
    }
}

// The rock codes of one band: floor(u * 5.99 + 6) for the next 16 columns'
// draws. Sixteen interleaved walks of the generator, each jumping sixteen
// steps at a time, give the very same sequence without waiting on one
// another.
void fill_band() {
    const int kLanes = 16;
    const uint32_t a = 1664525u, c = 1013904223u;
    uint32_t jumpA = 1, jumpC = 0;  // kLanes steps in one: s -> s * jumpA + jumpC
    for (int k = 0; k < kLanes; ++k) {
        jumpC = jumpC * a + c;
        jumpA *= a;
    }
    uint32_t s[kLanes];
    s[0] = uint32_t(xr_random_Seed) * a + c;
    for (int k = 1; k < kLanes; ++k) s[k] = s[k - 1] * a + c;
    uint32_t last = 0;
    for (int i = 0; i < kBand; ++i) {
        for (int y = 0; y < WORLD_SIZE; y += kLanes) {
            last = s[kLanes - 1];
            for (int k = 0; k < kLanes; ++k) {
                // Positive, so truncation is the floor.
                band[i][y + k] = float(int(float(s[k] >> 8) * 5.9604645e-08f * 5.99f + 6));
                s[k] = s[k] * jumpA + jumpC;
            }
        }
    }
    xr_random_Seed = int(last);
}

int clampi(int v, int low, int high) {
    return v < low ? low : v > high ? high : v;
}

}  // namespace

int c_MyGame::p_Cavern() {
    float* grid = xr_ruvo_grid.Data();
    for (int x0 = 0; x0 < WORLD_SIZE; x0 += kBand) {
        fill_band();
        for (int y = 0; y < WORLD_SIZE; ++y) {
            float* cell = grid + xr_ruvo_Cell(x0, y);
            for (int i = 0; i < kBand; ++i, cell += CELL_SLOTS) {
                // Tile and light side by side: one store for both.
                const float tileAndLight[2] = {band[i][y], 0};
                std::memcpy(cell, tileAndLight, sizeof tileAndLight);
            }
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

    for (int j = 0; j < kCandidates; ++j)
        for (int i = 0; i < kCandidates; ++i)
            candidateOpen[i][j] = grid[xr_ruvo_Cell(2 + 3 * i, 2 + 3 * j)] == TILE_WATER;
    for (int i = 0; i < kCandidates; ++i) {
        const int x = 2 + 3 * i;
        for (int j = 0; j < kCandidates; ++j) {
            if (!candidateOpen[i][j]) continue;
            const int y = 2 + 3 * j;
            if (u() * 6 >= threshold || x == 512 || y == 512) continue;
            const float left = grid[xr_ruvo_Cell(x - 1, y)], right = grid[xr_ruvo_Cell(x + 1, y)];
            const float up = grid[xr_ruvo_Cell(x, y - 1)], down = grid[xr_ruvo_Cell(x, y + 1)];
            int code = TILE_WATER;
            if (left > 0 && right == 0) code = TILE_VENT_LEFT;
            if (right > 0 && left == 0) code = TILE_VENT_RIGHT;
            if (up > 0 && down == 0) code = TILE_VENT_CEILING;
            if (down > 0 && up == 0) code = TILE_VENT_FLOOR;
            grid[xr_ruvo_Cell(x, y)] = float(code);
        }
    }
    return 0;
}
