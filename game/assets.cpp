#include "game/assets.h"

#include "shell/draw.h"
#include "shell/sound.h"

const char* const kGameFont = "bandwidth";
const char* const kGameTune = "Aqua";

// Early steps bring what the loading screen itself shows and plays; the
// same sound loaded again is a no-op that keeps the steps' timing.
const GameImage kGameImages[] = {
    {2, IMG_EMBLEM_TILES, "RUVOLogo", 32, 32, 1024},
    {30, IMG_EMBLEM, "RUVOLogo", 1024, 1024, 1},
    {31, IMG_PARTICLE_SHAPES_FULL, "part-shapefull", 32, 32, 16},
    {32, IMG_PARTICLE_SHAPES, "parts_shape", 32, 32, 16},
    {33, IMG_PARTICLE_SMOKE, "parts_smoke", 32, 32, 16},
    {34, IMG_PARTICLE_CLUSTER, "parts_cluster", 32, 32, 16},
    {35, IMG_PARTICLE_STARS, "parts_stars", 32, 32, 16},
    {36, IMG_BUTTONS, "Buttons", 64, 64, 16},
    {37, IMG_ICONS, "icons", 128, 128, 16},
    {38, IMG_RING, "circle", 256, 256, 4},
    {39, IMG_TITLE, "logo", 1024, 512, 1},
    {40, IMG_MENU, "menu", 1024, 1024, 4},
    {41, IMG_OPTION_ICONS, "options", 68, 68, 49},
    {42, IMG_SCOREBOARD, "scoreboard", 256, 256, 1},
    {43, IMG_TILES, "gfx", 20, 20, 36},
};
const int kGameImageCount = sizeof kGameImages / sizeof kGameImages[0];

const GameSound kGameSounds[] = {
    {1, SFX_CHIME},     {2, SFX_CHIME},    {30, SFX_MOVE},      {31, SFX_CONFIRM},
    {32, SFX_CONFIRM},  {33, SFX_CONFIRM}, {34, SFX_CONFIRM},   {44, SFX_TREASURE},
    {45, SFX_HIT},      {46, SFX_LAST_LIFE}, {47, SFX_SONAR},
};
const int kGameSoundCount = sizeof kGameSounds / sizeof kGameSounds[0];
