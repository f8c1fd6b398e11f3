#include "game/modules.h"

#include "audio/audio.h"
#include "graphics/graphics.h"
#include "host/input.h"
#include "support/random.h"

void xr_modules_init() {
    xr_audio_init();
    xr_graphics_init();
    xr_input_init();
    xr_random_init();
}

void xr_modules_mark() {
    xr_audio_mark();
    xr_graphics_mark();
    xr_input_mark();
}
