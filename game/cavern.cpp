// A new game's cave: solid rock, tunnels carved as random walks of discs out
// of the centre, the player's start, the camera, and vents on open cells
// beside walls. The order of draws, the truncations and the float widths are
// part of the design: the same generator state gives the same cave.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "game/cavern.h"

#include "game/mygame.h"
#include "game/world.h"
#include "shell/draw.h"
#include "shell/state.h"
#include "support/random.h"

// The two loops that fill and carve the grid are written once, as bodies
// inlined into each build of them: one for any processor and, on x86-64, one
// for AVX2.
#define LOOP_BODY __attribute__((always_inline)) inline
#if defined(__x86_64__)
#define HAVE_AVX2_LOOPS 1
#define AVX2_LOOPS __attribute__((target("avx2")))
#endif

namespace {

// Which vent candidates (every third cell from 2, x by y) are open. Only the
// tunnels make water, so each disc notes those it opened, sparing a pass over
// a third of the grid's rows to find them.
const int kCandidates = 340;  // 2, 5, ..., 1019
bool candidateOpen[kCandidates][kCandidates];

// sin and cos of every whole degree, as 32-bit floats: each disc needs all
// 361 of them. The table is padded to a multiple of the vector width with
// copies of 360 degrees: drawing a cell twice changes nothing.
const int kAngles = 368;

struct DegreeTable {
    float sine[kAngles], cosine[kAngles];
    DegreeTable() {
        for (int a = 0; a < kAngles; ++a) {
            const float angle = float(std::min(a, 360));
            sine[a] = sind(angle);
            cosine[a] = cosd(angle);
        }
    }
};
const DegreeTable kDegrees;

// A disc is carved along its radii, every degree: each step of a radius
// lands on another row of the grid, and the grid's rows are a multiple of
// 4 KB apart, so they would all compete for the same few cache lines. The
// disc is drawn into a small square of its own first and copied out row by
// row.
const int kDiscBox = 32;  // radius at most 13: offsets -14..14 from the centre

LOOP_BODY void carve_disc(float* grid, int x, int y, int radius) {
    unsigned char disc[kDiscBox * kDiscBox] = {};
    const int half = kDiscBox / 2;
    const float fx = float(x), fy = float(y);
    for (int d = 0; d <= radius; ++d) {
        // A whole circle's cells at once, then the stores.
        const float fd = float(d);
        int at[kAngles];
        for (int a = 0; a < kAngles; ++a) {
            const int px = int(fd * kDegrees.sine[a] + fx);
            const int py = int(fy - fd * kDegrees.cosine[a]);
            at[a] = (py - y + half) * kDiscBox + (px - x + half);
        }
        for (int a = 0; a < kAngles; ++a) disc[at[a]] = 1;
    }
    for (int row = 0; row < kDiscBox; ++row) {
        const int py = y - half + row;
        if (py < 4 || py > 1020) continue;
        for (int column = 0; column < kDiscBox; ++column) {
            const int px = x - half + column;
            if (disc[row * kDiscBox + column] && px >= 4 && px <= 1020) grid[xr_ruvo_Cell(px, py)] = TILE_WATER;
        }
    }
    // The candidates the disc may have opened, while its cells are at hand.
    const int i0 = std::max(0, (x - radius - 1 - 2) / 3), i1 = std::min(kCandidates - 1, (x + radius + 1 - 2) / 3);
    const int j0 = std::max(0, (y - radius - 1 - 2) / 3), j1 = std::min(kCandidates - 1, (y + radius + 1 - 2) / 3);
    for (int j = j0; j <= j1; ++j)
        for (int i = i0; i <= i1; ++i)
            if (grid[xr_ruvo_Cell(2 + 3 * i, 2 + 3 * j)] == TILE_WATER) candidateOpen[i][j] = true;
}

// Steps of the generator, s -> s * mul + add, composed: any number of steps
// is again one such step.
struct Steps {
    uint32_t mul, add;
};

Steps steps_then(Steps first, Steps second) {
    return {first.mul * second.mul, first.add * second.mul + second.add};
}

Steps steps(uint32_t count) {
    Steps result{1, 0}, power{1664525u, 1013904223u};
    for (; count; count >>= 1, power = steps_then(power, power))
        if (count & 1) result = steps_then(result, power);
    return result;
}

uint32_t advance(uint32_t seed, Steps by) {
    return seed * by.mul + by.add;
}

// Solid rock of codes floor(u * 5.99 + 6), one draw a cell, taken column by
// column: cell (x, y) gets draw x * WORLD_SIZE + y. The grid is laid out row
// by row, and a column walk would touch a new memory page at every cell, so
// the draws are taken out of order instead: a jump of any length is one
// multiply and add, and sixteen lanes walk each row, sixteen columns apart.
const int kLanes = 16;

LOOP_BODY void fill_rock(float* grid) {
    const uint32_t seed = uint32_t(xr_random_Seed);
    const Steps down = steps(1), across = steps(kLanes * WORLD_SIZE);
    uint32_t rowStart[kLanes];  // the states that give row y's first sixteen cells
    for (int k = 0; k < kLanes; ++k) rowStart[k] = advance(seed, steps(uint32_t(k * WORLD_SIZE + 1)));
    for (int y = 0; y < WORLD_SIZE; ++y) {
        uint32_t s[kLanes];
        std::memcpy(s, rowStart, sizeof s);
        float* cell = grid + xr_ruvo_Cell(0, y);
        for (int x0 = 0; x0 < WORLD_SIZE; x0 += kLanes) {
            float tile[kLanes];
            for (int k = 0; k < kLanes; ++k) {
                // Positive, so truncation is the floor.
                tile[k] = float(int(float(s[k] >> 8) * 5.9604645e-08f * 5.99f + 6));
                s[k] = advance(s[k], across);
            }
            for (int k = 0; k < kLanes; ++k, cell += CELL_SLOTS) {
                // Tile and light side by side: one store for both.
                const float tileAndLight[2] = {tile[k], 0};
                std::memcpy(cell, tileAndLight, sizeof tileAndLight);
            }
        }
        for (int k = 0; k < kLanes; ++k) rowStart[k] = advance(rowStart[k], down);
    }
    xr_random_Seed = int(advance(seed, steps(uint32_t(WORLD_SIZE * WORLD_SIZE))));
}

int clampi(int v, int low, int high) {
    return v < low ? low : v > high ? high : v;
}

struct Loops {
    void (*fill)(float* grid);
    void (*carve)(float* grid, int x, int y, int radius);
};

void fill_rock_plain(float* grid) {
    fill_rock(grid);
}

void carve_disc_plain(float* grid, int x, int y, int radius) {
    carve_disc(grid, x, y, radius);
}

const Loops kPlainLoops = {fill_rock_plain, carve_disc_plain};

#if HAVE_AVX2_LOOPS
AVX2_LOOPS void fill_rock_avx2(float* grid) {
    fill_rock(grid);
}

AVX2_LOOPS void carve_disc_avx2(float* grid, int x, int y, int radius) {
    carve_disc(grid, x, y, radius);
}

const Loops kAvx2Loops = {fill_rock_avx2, carve_disc_avx2};
#endif

// The loops p_Cavern uses: the processor's best unless told otherwise.
const Loops* used_loops = nullptr;

const Loops* best_loops() {
#if HAVE_AVX2_LOOPS
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) return &kAvx2Loops;
#endif
    return &kPlainLoops;
}

}  // namespace

int xr_ruvo_UseCaveLoops(int loops) {
    const Loops* best = best_loops();
    switch (loops) {
    case CAVE_LOOPS_BEST: used_loops = best; return 1;
    case CAVE_LOOPS_PLAIN: used_loops = &kPlainLoops; return 1;
#if HAVE_AVX2_LOOPS
    case CAVE_LOOPS_AVX2:
        if (best != &kAvx2Loops) return 0;
        used_loops = best;
        return 1;
#endif
    }
    return 0;
}

int c_MyGame::p_Cavern() {
    if (!used_loops) used_loops = best_loops();
    const Loops& loops = *used_loops;
    float* grid = xr_ruvo_grid.Data();
    loops.fill(grid);
    std::memset(candidateOpen, 0, sizeof candidateOpen);

    const int type = xr_ruvo_RUVO_GameType;
    if (type >= 0) {
        for (int tunnel = 0; tunnel < type + 1; ++tunnel) {
            int x = 512, y = 512;
            int heading = int(std::floor(xr_random_Step() * 180.99f + 90));
            int radius = 8;
            for (int step = 0; step < type * 8 + 1; ++step) {
                loops.carve(grid, x, y, radius);
                if (xr_random_Step() * 10 < 2) heading = int(std::floor(xr_random_Step() * 360.99f));
                x = int(float(x) + sind(float(heading)) * float(radius));
                y = int(float(y) - float(radius) * cosd(float(heading)));
                x = clampi(x, 10, 1010);
                y = clampi(y, 10, 1010);
                radius = int(std::floor(xr_random_Step() * 6.99f + 6));
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
    // The player's screen place is kept by each update's drawing of the
    // player, and read by the next update's contacts, which come before it.
    // It is set here with the camera so that it is this game's from the
    // start, never the last game's or zero. In play the first update's
    // contacts cannot act on it anyway (a new game's diver cannot be hurt,
    // and treasure is stocked after the contacts); this keeps the value
    // true rather than relying on that.
    plr[PLR_SCREEN_X] = plr[PLR_X] * CELL_PIXELS - xr_ruvo_scrx;
    plr[PLR_SCREEN_Y] = plr[PLR_Y] * CELL_PIXELS - xr_ruvo_scry;

    for (int i = 0; i < kCandidates; ++i) {
        const int x = 2 + 3 * i;
        for (int j = 0; j < kCandidates; ++j) {
            if (!candidateOpen[i][j]) continue;
            const int y = 2 + 3 * j;
            if (xr_random_Step() * 6 >= threshold || x == 512 || y == 512) continue;
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
