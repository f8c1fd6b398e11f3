// The tests' module table: every module of the program, plus a handful of
// root slots the tests fill themselves.
#pragma once

#include "runtime/gc.h"

enum { kTestRoots = 8 };
extern gc_object* test_roots[kTestRoots];
