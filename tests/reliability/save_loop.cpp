// Saves the game's state again and again, through the same code and state
// file as the game, turning between two states, until it is killed: the
// kill test ends it at random moments of a save.
#include "host/app.h"
#include "host/xrgame.h"
#include "runtime/gc.h"
#include "shell/state.h"
#include "tests/harness/test_roots.h"
#include "tests/reliability/save_states.h"

int main() {
    XrGame host;
    ResetModules();
    xr_app__game = &host;
    // The test leaves state 0 in the file: the first save writes the other.
    for (int n = 1;; ++n) {
        FillState(n % 2);
        xr_ruvo_Save();
        // As the host does after every update: this loop would otherwise
        // hold every string of every save.
        gc_collect();
    }
}
