#include "tests/harness/test_roots.h"

gc_object* test_roots[kTestRoots];

void gc_mark() {
    for (gc_object* root : test_roots) gc_mark_q(root);
}
