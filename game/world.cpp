#include "game/world.h"

#include <cmath>
#include <cstring>

#include "host/app.h"
#include "support/random.h"

Array<float> xr_ruvo_grid;
Array<float> xr_ruvo_plr;
Array<float> xr_ruvo_obj;
Array<float> xr_ruvo_part;
Array<float> xr_ruvo_astar;

float xr_ruvo_scrx, xr_ruvo_scry;
float xr_ruvo_aimx, xr_ruvo_aimy;
float xr_ruvo_RUVO_ScrollX, xr_ruvo_RUVO_ScrollY;
int xr_ruvo_RUVO_Seed;
int xr_ruvo_RUVO_Partto;

void xr_ruvo_world_init() {
    gc_assign(xr_ruvo_grid, Array<float>(GRID_LENGTH));
    gc_assign(xr_ruvo_plr, Array<float>(PLR_LENGTH));
    gc_assign(xr_ruvo_obj, Array<float>(OBJ_LENGTH));
    gc_assign(xr_ruvo_part, Array<float>(PART_LENGTH));
    gc_assign(xr_ruvo_astar, Array<float>(STAR_LENGTH));
    xr_ruvo_scrx = xr_ruvo_scry = 0;
    xr_ruvo_aimx = xr_ruvo_aimy = 0;
    xr_ruvo_RUVO_ScrollX = xr_ruvo_RUVO_ScrollY = 0;
    xr_ruvo_RUVO_Seed = 123456;
    xr_ruvo_RUVO_Partto = 0;
}

void xr_ruvo_world_mark() {
    gc_mark_field(xr_ruvo_grid);
    gc_mark_field(xr_ruvo_plr);
    gc_mark_field(xr_ruvo_obj);
    gc_mark_field(xr_ruvo_part);
    gc_mark_field(xr_ruvo_astar);
}

static void clear(Array<float> a, int count) {
    std::memset(a.Data(), 0, sizeof(float) * size_t(count));
}

int xr_ruvo_ResetGrid() {
    clear(xr_ruvo_grid, 5000000);
    return 0;
}

int xr_ruvo_ResetPlrs() {
    clear(xr_ruvo_plr, PLR_LENGTH);
    return 0;
}

int xr_ruvo_ResetObjs() {
    clear(xr_ruvo_obj, 5100);
    return 0;
}

int xr_ruvo_ResetParticles() {
    clear(xr_ruvo_part, 2501);
    return 0;
}

int xr_ruvo_FreeObj(int count, int size) {
    for (int i = 0; i <= count; ++i) {
        int slot = i * size;
        if (slot < 0 || slot >= xr_ruvo_obj.Length()) break;
        if (xr_ruvo_obj[slot + HAZ_ALIVE] == 0) return i * OBJ_SLOTS;
    }
    return -1;
}

int xr_ruvo_SeedRnd(int seed) {
    xr_ruvo_RUVO_Seed = seed;
    if (seed == SEED_FROM_CLOCK) xr_ruvo_RUVO_Seed = xr_app_Millisecs();
    uint32_t s = uint32_t(xr_ruvo_RUVO_Seed);
    for (int i = 0; i < 21; ++i) s = s * 1664525u + 1013904223u;
    xr_random_Seed = int(s);
    return 0;
}

int xr_ruvo_Rand(float low, float high) {
    float u = xr_random_Step();
    return int(float(std::floor(double(low) + double(u) * ((double(high) + 0.99) - double(low)))));
}

float xr_ruvo_Dist(float x1, float y1, float x2, float y2) {
    double dx = double(x1) - x2, dy = double(y1) - y2;
    return float(std::sqrt(dx * dx + dy * dy));
}
