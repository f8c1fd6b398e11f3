// Module table of the runtime tests: a handful of root slots the tests fill.
#pragma once

#include "runtime/gc.h"

enum { kTestRoots = 8 };
extern gc_object* test_roots[kTestRoots];
