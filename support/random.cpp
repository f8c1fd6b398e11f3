#include "support/random.h"

int xr_random_Seed = 1234;

void xr_random_init() {
    xr_random_Seed = 1234;
}

float xr_random_Rnd() {
    return xr_random_Step();
}

float xr_random_Rnd2(float low, float high) {
    return xr_random_Step() * (high - low) + low;
}

float xr_random_Rnd3(float range) {
    return xr_random_Step() * range;
}
