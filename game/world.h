// The world of a game: the cavern grid, the player, the moving objects, the
// particle ring and the star field, as flat float arrays of fixed records,
// plus the camera and the game's random numbers.
#pragma once

#include "runtime/array.h"
#include "shell/game_link.h"
#include "support/math.h"

// The world's sizes, and the lengths of its arrays in floats.
enum {
    WORLD_SIZE = 1024,        // cells a side
    CELL_SLOTS = 5,           // floats a cell
    CELL_PIXELS = 16,         // a cell's side in world pixels
    GRID_LENGTH = 5500000,    // xr_ruvo_grid: room for every cell
    PLR_LENGTH = 1024,        // xr_ruvo_plr
    OBJ_LENGTH = 10240,       // xr_ruvo_obj
    OBJ_RECORDS = 101,        // hazard records
    OBJ_SLOTS = 10,           // floats a hazard
    PART_LENGTH = 2600,       // xr_ruvo_part
    STAR_LENGTH = 2600,       // xr_ruvo_astar
};

// Cell slots: CELL_SLOTS floats a cell.
enum { CELL_TILE = 0, CELL_LIGHT = 1 };

// Tile codes of CELL_TILE.
enum {
    TILE_WATER = 0,
    TILE_TREASURE = 5,
    TILE_ROCK_FIRST = 6,
    TILE_ROCK_LAST = 11,
    TILE_VENT_CEILING = 12,  // emits downwards
    TILE_VENT_FLOOR = 13,    // emits upwards
    TILE_VENT_LEFT = 14,     // in a left wall: emits to the right
    TILE_VENT_RIGHT = 15,    // in a right wall: emits to the left
};

// Frames of the game's sprite sheet (IMG_TILES) besides the tiles, which are
// drawn as their codes.
enum {
    FRAME_DIVER = 0, FRAME_DIVER_STEPS = 4,  // the swimming diver, FRAME_DIVER + 0..3
    FRAME_RAY = 4,                           // a sonar ray's dot
    FRAME_SHIELD = 16,                       // over the diver while it cannot be hurt
    FRAME_HAZARD = 17,
};

// Hazard record slots: OBJ_RECORDS records of OBJ_SLOTS floats in
// xr_ruvo_obj; a record is free while HAZ_ALIVE is 0.
enum {
    HAZ_ALIVE = 0, HAZ_X = 1, HAZ_Y = 2, HAZ_VX = 3, HAZ_VY = 4, HAZ_ANGLE = 5, HAZ_SPIN = 6,
};

// Player record slots.
enum {
    PLR_X = 1, PLR_Y = 2, PLR_VX = 3, PLR_VY = 4, PLR_FACING = 5,
    PLR_SCREEN_X = 8, PLR_SCREEN_Y = 9, PLR_SONAR = 10, PLR_VENT_PHASE = 25,
    PLR_INVULNERABLE = 53, PLR_DANGER = 66,
    PLR_RAY_STRENGTH = 100, PLR_RAY_X = 200, PLR_RAY_Y = 300, PLR_RAY_VX = 400, PLR_RAY_VY = 500,
    PLR_TREASURES = 600,
};

// Index of slot `slot` of cell (x, y).
inline int xr_ruvo_Cell(int x, int y, int slot = CELL_TILE) {
    return (y * WORLD_SIZE + x) * CELL_SLOTS + slot;
}

extern Array<float> xr_ruvo_grid;  // the cave, row by row: cell (x, y) at xr_ruvo_Cell(x, y)
extern Array<float> xr_ruvo_obj;   // the hazard records

// Where the camera eases towards: the screen's top left, in world pixels,
// that centres the player.
extern float xr_ruvo_aimx, xr_ruvo_aimy;
extern int xr_ruvo_RUVO_Seed;      // what the game's random numbers were last seeded with

void xr_ruvo_world_init();
void xr_ruvo_world_mark();

// The first slot of the first free hazard record among records 0..count of
// `size` floats; -1 when all are taken.
int xr_ruvo_FreeObj(int count, int size);
// A random whole number from low to high, both included.
int xr_ruvo_Rand(float low, float high);
float xr_ruvo_Dist(float x1, float y1, float x2, float y2);
