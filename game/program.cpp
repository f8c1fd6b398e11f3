// The program's table of modules: which globals start how, and which are roots.
#include "runtime/gc.h"
#include "runtime/startup.h"

int xrInit() {
    return 0;
}

void gc_mark() {}

int xrMain() {
    return 0;
}
