// The tests' module table: every module of the program, plus a handful of
// root slots the tests fill themselves.
#pragma once

#include "runtime/gc.h"

enum { kTestRoots = 8 };
extern gc_object* test_roots[kTestRoots];

// Gives every module global its start value, as a new run would, and lets
// the collector reclaim what the previous values held (the world's arrays
// alone are tens of megabytes).
void ResetModules();
