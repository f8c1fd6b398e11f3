// World figures: building a Hard cave against the memory-bound floor of one
// pass over the grid, and a whole frame of the renderer with a full draw
// list. The renderer needs a display: run this under xvfb-run.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <GLFW/glfw3.h>

#include "bench/report.h"
#include "game/modules.h"
#include "game/mygame.h"
#include "game/render.h"
#include "game/world.h"
#include "graphics/graphics.h"
#include "host/app.h"
#include "host/glfwgame.h"
#include "shell/draw.h"
#include "shell/state.h"
#include "support/random.h"

static c_MyGame* bench_game;

void gc_mark() {
    xr_modules_mark();
    gc_mark_q(bench_game);
}

namespace {

void BM_CavernHard(benchmark::State& state) {
    xr_ruvo_RUVO_GameType = 3;
    for (auto _ : state) {
        state.PauseTiming();
        xr_ruvo_SeedRnd(2024);
        xr_ruvo_ResetGrid();
        state.ResumeTiming();
        bench_game->p_Cavern();
    }
}
BENCHMARK(BM_CavernHard)->Unit(benchmark::kMillisecond);

// The least any cave builder must do: write the tile and the light of every
// cell once, in memory order, starting from the same freshly cleared grid
// the cave starts from.
void BM_GridPassFloor(benchmark::State& state) {
    float* grid = xr_ruvo_grid.Data();
    float value = 6;
    for (auto _ : state) {
        state.PauseTiming();
        xr_ruvo_ResetGrid();
        state.ResumeTiming();
        for (int y = 0; y < WORLD_SIZE; ++y)
            for (int x = 0; x < WORLD_SIZE; ++x) {
                float* cell = grid + xr_ruvo_Cell(x, y);
                cell[1] = 0;
                cell[0] = value;
            }
        value = value == 6 ? 7 : 6;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_GridPassFloor)->Unit(benchmark::kMillisecond);

std::vector<float> full_list;

// 5000 commands as a busy play frame queues them: sprites of the game's
// sheet at every size and angle, with rectangles and lines among them.
void MakeFullList() {
    xr_ruvo_Sprtup = 0;
    uint32_t seed = 77;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return float(seed >> 8) / 16777216.0f;
    };
    for (int i = 0; i < 5000; ++i) {
        xr_ruvo_SetCol(next() * 255, next() * 255, next() * 255, next());
        xr_ruvo_SetSize(0.5f + next(), 0.5f + next());
        xr_ruvo_SetRot(next() * 360);
        if (i % 10 == 9)
            xr_ruvo_Rect(next() * 800, next() * 600, 40, 20, 1, 1);
        else if (i % 10 == 8)
            xr_ruvo_Line(next() * 800, next() * 600, next() * 800, next() * 600);
        else
            xr_ruvo_DrawImg(1, next() * 800, next() * 600, int(next() * 36));
    }
    xr_ruvo_ResetDraw();
    full_list.assign(xr_ruvo_RUVO_Draw.Data(), xr_ruvo_RUVO_Draw.Data() + 20 * 5000);
}

void BM_RenderWorldFullList(benchmark::State& state) {
    gxtkGraphics* device = xr_graphics_device;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(xr_ruvo_RUVO_Draw.Data(), full_list.data(), full_list.size() * sizeof(float));
        xr_ruvo_Sprtup = 5000;
        state.ResumeTiming();
        device->BeginRender();
        xr_graphics_BeginRender();
        xr_ruvo_RenderWorld();
        xr_graphics_EndRender();
        device->EndRender();
        state.PauseTiming();
        glFinish();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 5000);
}
BENCHMARK(BM_RenderWorldFullList)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (!glfwInit()) {
        std::fprintf(stderr, "world_bench needs a display (run it under xvfb-run)\n");
        return 1;
    }
    XrGlfwGame* host = new XrGlfwGame();
    host->SetDeviceWindow(1024, 768, 0);
    xr_modules_init();
    xr_app__game = host;
    xr_app__devWidth = 1024;
    xr_app__devHeight = 768;
    gc_assign(bench_game, new c_MyGame());
    gxtkGraphics* device = new gxtkGraphics();
    xr_graphics_SetGraphicsDevice(device);

    // The game's sheet: 36 frames of 20 x 20.
    unsigned char* pixels = static_cast<unsigned char*>(std::malloc(120 * 120 * 4));
    for (int i = 0; i < 120 * 120 * 4; ++i) pixels[i] = (unsigned char)(i * 13);
    gxtkSurface* surface = new gxtkSurface();
    surface->SetData(pixels, 120, 120, 4);
    c_Image* sheet = (new c_Image())->p_Init2(surface, 0, 0, 20, 20, 36, c_Image::HandleCentre, nullptr, 0, 0,
                                              120, 120);
    gc_assign(xr_ruvo_RUVO_Img[1], sheet);
    xr_ruvo_RUVO_ImgD[1] = 36;
    xr_ruvo_RUVO_Scale = 1.28f;
    MakeFullList();

    KeepingReporter reporter;
    if (!RunBenchmarks(argc, argv, reporter)) return 1;
    double cavern = reporter.CpuNs("BM_CavernHard"), floor = reporter.CpuNs("BM_GridPassFloor");
    double render = reporter.CpuNs("BM_RenderWorldFullList");
    if (cavern > 0 && floor > 0) {
        std::printf("cave on Hard / one pass over the grid: %.2f (target at most 4)\n", cavern / floor);
        std::printf("cave on Hard: %.2f ms, %.0f%% of a 16.7 ms update (target under 50%%)\n", cavern / 1e6,
                    100 * cavern / 1e6 / 16.7);
    }
    if (render > 0)
        std::printf("frame renderer with 5000 commands: %.0f us of CPU (%.0f ns a command)\n", render / 1e3,
                    render / 5000);
    return 0;
}
