#include "tests/reliability/save_states.h"

#include "shell/state.h"

void FillState(int which) {
    xr_ruvo_SetGameNumber(503);
    for (int i = 0; i < xr_ruvo_RUVO_Set.Length(); ++i) xr_ruvo_RUVO_Set[i] = 0;
    xr_ruvo_SetDefaults();
    xr_ruvo_RUVO_Set[SET_LOADED] = 1;
    for (int m = 0; m < xr_ruvo_RUVO_Score.Length(); ++m) xr_ruvo_RUVO_Score[m] = 0;
    // The second state is the longer one, and differs all through the file,
    // so that a mix of the two could never pass for either.
    if (which == 0) {
        xr_ruvo_RUVO_Score[60] = 40;
    } else {
        xr_ruvo_RUVO_Set[SET_MUSIC_VOLUME] = 3;
        for (int m = 0; m < xr_ruvo_RUVO_Score.Length(); m += 7) xr_ruvo_RUVO_Score[m] = 3 * m + 1;
    }
}
