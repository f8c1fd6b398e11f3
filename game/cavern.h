// The cave builder's two hot loops (solid rock over the whole grid, one disc
// carved out of it) exist in two builds on x86-64: for AVX2 and for any
// processor. A new game uses the processor's best; both must build the same
// cave, which a test checks cell by cell.
#pragma once

enum { CAVE_LOOPS_BEST = 0, CAVE_LOOPS_PLAIN = 1, CAVE_LOOPS_AVX2 = 2 };

// Makes every later cave use `loops`; 0 (and no change) when this processor
// or build has no such loops.
int xr_ruvo_UseCaveLoops(int loops);
