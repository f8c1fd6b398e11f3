// Particles (smoke, bits, shapes, score labels) moved once per drawn frame,
// and the star field drifting behind the world.
#pragma once

// The particle ring's records, and the kinds of particle (PART_KIND): smoke
// rises and swells, falling and bouncing bits drop (a bouncing one off its
// floor line), shapes drift, a label shows a number.
enum {
    PART_RECORDS = 250,
    PART_SMOKE = 1,
    PART_FALLING = 2,
    PART_BOUNCING = 3,
    PART_SHAPE = 4,
    PART_LABEL = 10,
};

// Starts a particle of `kind` at world pixel (x, y), moving `speed` pixels a
// frame towards `angle` degrees (0 up), in palette colour `colour` (as
// xr_ruvo_Ink), over the ring's oldest record.
int xr_ruvo_ThrowParticle(float x, float y, int kind, int colour, float angle, float speed);
// The game's bursts: drifting shapes.
int xr_ruvo_ThrowShape(float x, float y, int colour, float angle, float speed);
// Moves, fades and queues every live particle: once a drawn frame.
int xr_ruvo_DoParticles();
// Scatters the stars afresh over the screen, seeded from the clock.
int xr_ruvo_ResetStars();
// Clears the world, the particles, the stars and any game over: a new start.
int xr_ruvo_FlushGame();
// Adds `amount` to player `player`'s score (1..7) and shows it as a label at
// (x, y); at x = GIMME_NO_LABEL the score alone.
enum { GIMME_NO_LABEL = -3717 };
int xr_ruvo_Gimme(int amount, float x, float y, int player);
// Moves the stars by (dx, dy) scaled by their depth (plus the camera's last
// step when mode is 1) and queues them.
int xr_ruvo_DoBits(float dx, float dy, int mode);
