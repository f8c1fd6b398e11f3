// The game's own figures, in its busiest state of play: one update of play
// against the 16.7 ms an update may take, caves on every difficulty against
// one plain pass over the grid, the draw list's playback, and a whole play
// frame (update and render). Uses the real game object, devices and data;
// needs a display: run it under xvfb-run.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
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
#include "shell/controls.h"
#include "shell/draw.h"
#include "shell/particles.h"
#include "shell/state.h"
#include "support/random.h"

void gc_mark() {
    xr_modules_mark();
}

namespace {

// A host whose clock the benchmark moves and whose data folder is the build's.
class BenchHost : public XrGlfwGame {
public:
    double now = 100;
    double GetTime() override { return now; }
    String PathToFilePath(String path) override {
        const String data("vantle://data/");
        if (path.StartsWith(data)) return String(GLIMMERDEEP_DATA_DIR "/") + path.Slice(data.Length());
        return XrGlfwGame::PathToFilePath(path);
    }
};

BenchHost* host;
c_MyGame* game;

// The busiest play: every cell of the window around the player lit rock but
// a corridor of water through it, 101 hazards drifting along the corridor,
// all 72 sonar rays out, and 250 particles in the air.
std::vector<float> busyPlr, busyObj, busyPart, busyRows;
const int kFirstRow = 512 - 51, kRows = 103;

void MakeBusiest() {
    float* grid = xr_ruvo_grid.Data();
    for (int y = kFirstRow; y < kFirstRow + kRows; ++y)
        for (int x = 512 - 51; x <= 512 + 51; ++x) {
            const bool corridor = y >= 506 && y <= 518;
            grid[xr_ruvo_Cell(x, y)] = corridor ? 0 : float(6 + (x + y) % 6);
            grid[xr_ruvo_Cell(x, y, 1)] = 89;
        }
    float* plr = xr_ruvo_plr.Data();
    plr[PLR_X] = 512;
    plr[PLR_Y] = 512;
    plr[PLR_INVULNERABLE] = 1e9f;
    plr[PLR_TREASURES] = 10;
    plr[PLR_SONAR] = 0;
    for (int k = 0; k < 72; ++k) {
        plr[PLR_RAY_STRENGTH + k] = 8;
        plr[PLR_RAY_X + k] = 512;
        plr[PLR_RAY_Y + k] = 512;
        plr[PLR_RAY_VX + k] = 0.1f * float(k % 9 - 4) / 4;
        plr[PLR_RAY_VY + k] = 0.1f * float(k % 5 - 2) / 2;
    }
    float* obj = xr_ruvo_obj.Data();
    for (int i = 0; i < OBJ_RECORDS; ++i) {
        float* o = obj + OBJ_SLOTS * i;
        o[0] = 1;
        o[1] = 470.5f + float(i) * 0.8f;
        o[2] = 507.5f + float(i % 10);
        o[3] = 0.01f;
        o[6] = 2;
    }
    for (int i = 0; i < 250; ++i) xr_ruvo_ThrowShape(8192.0f + float(i), 8192, 1 + i % 9, float(i) * 7, 0.2f);
    busyPlr.assign(plr, plr + PLR_LENGTH);
    busyObj.assign(obj, obj + OBJ_LENGTH);
    busyPart.assign(xr_ruvo_part.Data(), xr_ruvo_part.Data() + PART_LENGTH);
    busyRows.assign(grid + xr_ruvo_Cell(0, kFirstRow), grid + xr_ruvo_Cell(0, kFirstRow + kRows));
}

void RestoreBusiest() {
    std::memcpy(xr_ruvo_plr.Data(), busyPlr.data(), busyPlr.size() * sizeof(float));
    std::memcpy(xr_ruvo_obj.Data(), busyObj.data(), busyObj.size() * sizeof(float));
    std::memcpy(xr_ruvo_part.Data(), busyPart.data(), busyPart.size() * sizeof(float));
    std::memcpy(xr_ruvo_grid.Data() + xr_ruvo_Cell(0, kFirstRow), busyRows.data(), busyRows.size() * sizeof(float));
    xr_ruvo_Sprtup = 0;
}

void BM_PlayUpdateBusiest(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        RestoreBusiest();
        state.ResumeTiming();
        game->p_Game();
    }
}
BENCHMARK(BM_PlayUpdateBusiest)->Unit(benchmark::kMicrosecond);

template <int Type>
void BM_Cavern(benchmark::State& state) {
    xr_ruvo_RUVO_GameType = Type;
    for (auto _ : state) {
        state.PauseTiming();
        xr_ruvo_SeedRnd(2024);
        xr_ruvo_ResetGrid();
        state.ResumeTiming();
        game->p_Cavern();
    }
    xr_ruvo_RUVO_GameType = 2;
}
BENCHMARK(BM_Cavern<1>)->Name("BM_CavernEasy")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cavern<2>)->Name("BM_CavernNormal")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cavern<3>)->Name("BM_CavernHard")->Unit(benchmark::kMillisecond);

// One plain pass over the freshly cleared grid, writing each cell's tile and
// light in memory order: the least any cave builder must do.
void BM_GridPassFloor(benchmark::State& state) {
    float* grid = xr_ruvo_grid.Data();
    for (auto _ : state) {
        state.PauseTiming();
        xr_ruvo_ResetGrid();
        state.ResumeTiming();
        for (int y = 0; y < WORLD_SIZE; ++y)
            for (int x = 0; x < WORLD_SIZE; ++x) {
                float* cell = grid + xr_ruvo_Cell(x, y);
                cell[1] = 0;
                cell[0] = 6;
            }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_GridPassFloor)->Unit(benchmark::kMillisecond);

// The draw list of the busiest update (5000 commands, the list's limit)
// played back through the graphics module and OpenGL.
std::vector<float> fullList;

void BM_PlaybackFullList(benchmark::State& state) {
    gxtkGraphics* device = xr_graphics_device;
    long long calls = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(xr_ruvo_RUVO_Draw.Data(), fullList.data(), fullList.size() * sizeof(float));
        xr_ruvo_Sprtup = 5000;
        device->BeginRender();
        xr_graphics_BeginRender();
        const long long before = device->drawCalls;
        state.ResumeTiming();
        xr_ruvo_PlayDraw();
        xr_graphics_EndRender();
        device->EndRender();
        state.PauseTiming();
        calls += device->drawCalls - before;
        glFinish();
        state.ResumeTiming();
    }
    state.counters["draw_calls"] = double(calls) / double(state.iterations());
}
BENCHMARK(BM_PlaybackFullList)->Unit(benchmark::kMicrosecond);

// A whole frame of busy play as the host runs it: the update callback, then
// the render callback, with the clock moving one update.
void BM_PlayFrame(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        RestoreBusiest();
        host->now += 1.0 / 60;
        state.ResumeTiming();
        host->UpdateGame();
        host->RenderGame();
        state.PauseTiming();
        glFinish();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlayFrame)->Unit(benchmark::kMicrosecond);

// F11 twice: the window made again in full screen and back, each time with
// every loaded image made ready to draw and one frame of play drawn and
// finished, which is what a player waits for before the game shows again.
// The counter keeps the part spent making the images ready (uploading them
// again, when a new window does not share the old one's textures).
double ImagesReadyMs() {
    const double start = glfwGetTime();
    for (int i = 0; i < xr_ruvo_RUVO_Img.Length(); ++i)
        if (c_Image* image = xr_ruvo_RUVO_Img[i]) image->m_surface->Bind();
    glFinish();
    return (glfwGetTime() - start) * 1e3;
}

void DrawAFrame() {
    RestoreBusiest();
    host->now += 1.0 / 60;
    host->UpdateGame();
    host->RenderGame();
    glFinish();
}

void BM_FullscreenToggle(benchmark::State& state) {
    double imagesMs = 0;
    for (auto _ : state) {
        xr_ruvo_FullscreenFlip();
        imagesMs += ImagesReadyMs();
        DrawAFrame();
        xr_ruvo_FullscreenFlip();
        imagesMs += ImagesReadyMs();
        DrawAFrame();
    }
    if (xr_ruvo_RUVO_Fullscreen != 0 || host->GetDeviceWidth() != 640) state.SkipWithError("not back in a window");
    state.counters["images_ms"] = imagesMs / double(2 * state.iterations());
}
BENCHMARK(BM_FullscreenToggle)->UseRealTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!glfwInit()) {
        std::fprintf(stderr, "game_bench needs a display (run it under xvfb-run)\n");
        return 1;
    }
    setenv("ALSOFT_DRIVERS", "null", 0);
    host = new BenchHost();
    xr_modules_init();
    xr_app__game = host;
    host->SetDeviceWindow(1024, 768, 0);
    game = (new c_MyGame())->m_new();
    host->StartGame();
    // Load every asset, then start a Normal game.
    while (xr_ruvo_RUVO_Loader > 0) {
        host->now += 1.0 / 60;
        host->UpdateGame();
        host->RenderGame();
    }
    xr_ruvo_RUVO_GameType = 2;
    xr_ruvo_RUVO_GameMode = MODE_START;
    host->UpdateGame();
    host->RenderGame();
    MakeBusiest();
    RestoreBusiest();
    game->p_Game();
    std::printf("busiest update queues %d commands\n", xr_ruvo_Sprtup);
    fullList.assign(xr_ruvo_RUVO_Draw.Data(), xr_ruvo_RUVO_Draw.Data() + 20 * 5000);

    KeepingReporter reporter;
    if (!RunBenchmarks(argc, argv, reporter)) return 1;
    const double budget = 16.7e6;  // ns
    double play = reporter.CpuNs("BM_PlayUpdateBusiest");
    std::printf("\nplay update, busiest state: %.3f ms, %.1f%% of a 16.7 ms update (target under 5%%)\n",
                play / 1e6, 100 * play / budget);
    double floor = reporter.CpuNs("BM_GridPassFloor");
    for (const char* name : {"BM_CavernEasy", "BM_CavernNormal", "BM_CavernHard"}) {
        double cave = reporter.CpuNs(name);
        std::printf("%s: %.2f ms, %.1fx one pass over the grid (target at most 4x), %.0f%% of an update\n",
                    name + 3, cave / 1e6, cave / floor, 100 * cave / budget);
    }
    std::printf("draw list playback, 5000 commands: %.2f ms of CPU, %.0f GL draw calls\n",
                reporter.CpuNs("BM_PlaybackFullList") / 1e6,
                reporter.Counter("BM_PlaybackFullList", "draw_calls"));
    double frame = reporter.CpuNs("BM_PlayFrame");
    std::printf("whole play frame (update and render): %.2f ms of CPU\n", frame / 1e6);
    const std::string toggle = "BM_FullscreenToggle/iterations:10/real_time";
    std::printf("F11, full screen or back, the next frame drawn: %.1f ms, of which %.1f ms making the images "
                "ready\n",
                reporter.RealNs(toggle) / 2 / 1e6, reporter.Counter(toggle, "images_ms"));
    return 0;
}
