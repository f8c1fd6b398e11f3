// The real game for the benchmarks: the game object with every module, on a
// desktop host with a 1024 x 768 window whose clock the benchmark moves, the
// build's data, and one game pad a benchmark can steer with. Needs a display:
// run it under xvfb-run.
#pragma once

#include "game/mygame.h"
#include "tests/harness/data_host.h"
#include "tests/harness/pad_host.h"

class BenchHost : public DataHostOf<PadHost> {
public:
    BenchHost() { dataFolder = GLIMMERDEEP_DATA_DIR; }

    // The pad's left stick, each axis -1..1 (GLFW's sense: y grows downwards).
    void SetStick(float x, float y);
    // One pass of the frame loop: the clock moves one update on, the update
    // runs, then the render.
    void Frame();
};

extern BenchHost* bench_host;
extern c_MyGame* bench_game;

// Makes the host, the window and the game and runs the loading screen to its
// end, with the pad connected. False, with the reason on standard error,
// when there is no display.
bool LoadGame();
