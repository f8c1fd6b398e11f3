// The program: its module table and its main function.
#include "game/modules.h"
#include "game/mygame.h"
#include "runtime/gc.h"
#include "runtime/startup.h"

int xrInit() {
    xr_modules_init();
    return 0;
}

void gc_mark() {
    xr_modules_mark();
}

int xrMain() {
    (new c_MyGame())->m_new();
    return 0;
}
