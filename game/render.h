// The frame renderer: virtual screen, clear, view transform, particles,
// debug overlay, playback of the update's draw list, camera easing.
#pragma once

#include "shell/game_link.h"

// One frame: the clear, the particles, the overlay and the update's draw list.
int xr_ruvo_RenderWorld();
// The last frame again, as it was: nothing moves, nothing new is queued.
// For a window that must keep showing the game while no update runs.
int xr_ruvo_RedrawWorld();
