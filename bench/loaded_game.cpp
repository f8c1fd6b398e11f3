#include "bench/loaded_game.h"

#include <cstdio>
#include <cstdlib>

#include "game/modules.h"
#include "host/app.h"
#include "shell/state.h"

BenchHost* bench_host;
c_MyGame* bench_game;

void BenchHost::SetStick(float x, float y) {
    pads[0].state.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = x;
    pads[0].state.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = y;
}

void BenchHost::Frame() {
    now += 1.0 / 60;
    UpdateGame();
    RenderGame();
}

bool LoadGame() {
    glfwSetErrorCallback([](int code, const char* text) { std::fprintf(stderr, "GLFW error %#x: %s\n", code, text); });
    if (!glfwInit()) {
        std::fprintf(stderr, "the benchmark needs a display (run it under xvfb-run)\n");
        return false;
    }
    setenv("ALSOFT_DRIVERS", "null", 0);
    bench_host = new BenchHost();
    xr_modules_init();
    xr_app__game = bench_host;
    bench_host->SetDeviceWindow(1024, 768, 0);
    bench_host->Connect(0, PadHost::Gamepad());
    bench_game = (new c_MyGame())->m_new();
    bench_host->StartGame();
    while (xr_ruvo_RUVO_Loader > 0) bench_host->Frame();
    return true;
}
