// What the buffer, socket and thread tests share: running the collector to
// the end of a cycle and waiting for another thread without timing it.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

#include "runtime/array.h"
#include "runtime/gc.h"

// Ends two collection cycles, so that everything the roots no longer reach is
// swept (the first may keep what write barriers queued during the current
// one), then allocates past the swept bytes, which destroys them all.
inline void CollectGarbage() {
    for (int i = 0; i < 2; ++i) {
        gc_ext_malloced(GC_THRESHOLD + 1);
        gc_collect();
    }
    Array<int> flush(gc_free_bytes / int(sizeof(int)) + 16);
    (void)flush;
}

// Polls `done` until it holds; gives up (returning false) only after a bound
// generous enough that a loaded machine never reaches it.
inline bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 20000; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}
