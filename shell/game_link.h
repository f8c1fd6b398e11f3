// What the shell takes from the game, in one place: the game defines every
// name here (game/world.cpp, game/render.cpp) and the shell uses nothing else
// of it. The score display reads the player records' score and lives, the
// particles and the star field live in the world's storage and move with its
// camera, a new game resets the world and its random numbers, and the menus turn the backdrop's hue.
#pragma once

#include "runtime/array.h"

// Player records: 100 slots each, player k (1..) from slot 100 (k - 1).
enum { PLR_RECORD = 100, PLR_SCORE = 50, PLR_LIVES = 51 };

extern Array<float> xr_ruvo_plr;    // the player records
extern Array<float> xr_ruvo_part;   // the particle ring, PART_SLOTS floats a particle
extern Array<float> xr_ruvo_astar;  // the star field, STAR_SLOTS floats a star
enum { STAR_RECORDS = 251 };        // stars in the field

// Particle record slots; a record is free while PART_KIND is 0.
enum {
    PART_SLOTS = 10,
    PART_KIND = 0, PART_X = 1, PART_Y = 2, PART_VX = 3, PART_VY = 4, PART_ANGLE = 5, PART_SPIN = 6,
    PART_LIFE = 7,    // 1 when thrown, fading to 0
    PART_FRAME = 8,   // the frame; a bouncing one's floor line; a label's number
    PART_COLOUR = 9,
};

// Star record slots.
enum { STAR_SLOTS = 10, STAR_FRAME = 0, STAR_X = 1, STAR_Y = 2, STAR_DEPTH = 3, STAR_ANGLE = 5, STAR_SPIN = 6 };
extern int xr_ruvo_RUVO_Partto;     // the particle ring's last written record

// The camera: the screen's top left in world pixels, and its last step.
extern float xr_ruvo_scrx, xr_ruvo_scry;
extern float xr_ruvo_RUVO_ScrollX, xr_ruvo_RUVO_ScrollY;

// Clearing the world's storage before a new game.
int xr_ruvo_ResetGrid();
int xr_ruvo_ResetPlrs();
int xr_ruvo_ResetObjs();
int xr_ruvo_ResetParticles();

// Seeds the game's random numbers; SEED_FROM_CLOCK seeds them from the clock.
enum { SEED_FROM_CLOCK = -37171650 };
int xr_ruvo_SeedRnd(int seed);

// Sets the target clear colour to the hue at `angle` degrees.
int xr_ruvo_BGRot(float angle, float saturation, float brightness);
