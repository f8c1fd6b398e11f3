#include "game/modules.h"

#include "audio/audio.h"
#include "game/world.h"
#include "graphics/graphics.h"
#include "host/app.h"
#include "host/input.h"
#include "shell/controls.h"
#include "shell/credits.h"
#include "shell/draw.h"
#include "shell/menus.h"
#include "shell/sound.h"
#include "shell/state.h"
#include "support/random.h"
#include "support/thread.h"

void xr_modules_init() {
    xr_app_init();
    xr_graphics_init();
    xr_audio_init();
    xr_input_init();
    xr_ruvo_state_init();
    xr_ruvo_draw_init();
    xr_ruvo_controls_init();
    xr_ruvo_sound_init();
    xr_ruvo_menus_init();
    xr_ruvo_credits_init();
    xr_ruvo_world_init();
    xr_random_init();
    xr_thread_init();
    xr_asyncevent_init();
}

void xr_modules_mark() {
    xr_app_mark();
    xr_graphics_mark();
    xr_audio_mark();
    xr_input_mark();
    xr_thread_mark();
    xr_ruvo_state_mark();
    xr_ruvo_draw_mark();
    xr_ruvo_controls_mark();
    xr_ruvo_sound_mark();
    xr_ruvo_menus_mark();
    xr_ruvo_credits_mark();
    xr_ruvo_world_mark();
    xr_asyncevent_mark();
}
