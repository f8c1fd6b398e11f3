#include "tests/harness/test_roots.h"

#include "game/modules.h"

gc_object* test_roots[kTestRoots];

void gc_mark() {
    xr_modules_mark();
    for (gc_object* root : test_roots) gc_mark_q(root);
}

void ResetModules() {
    xr_modules_init();
    gc_ext_malloced(GC_THRESHOLD + 1);
    gc_collect();
}
