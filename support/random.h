// The one pseudo-random generator that the framework and the game share.
#pragma once

#include <cstdint>

extern int xr_random_Seed;

// Advances the shared seed once and returns its top 24 bits as [0, 1).
inline float xr_random_Step() {
    xr_random_Seed = int(uint32_t(xr_random_Seed) * 1664525u + 1013904223u);
    return float(uint32_t(xr_random_Seed) >> 8) * 5.9604645e-08f;
}

float xr_random_Rnd();
float xr_random_Rnd2(float low, float high);
float xr_random_Rnd3(float range);
void xr_random_init();
