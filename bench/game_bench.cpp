// The game's own figures, in the busiest update that play reaches: the whole
// update the host runs against the 16.7 ms an update may take, caves on
// every difficulty against one plain pass over the grid, the playback of that
// update's frame, and the whole frame (update and render). Uses the real game
// object, devices and data; needs a display: run it under xvfb-run.
//
// The busiest update is found by playing: a diver steered with the pad's
// stick swims from treasure to treasure through a Normal cave, and of the
// first two updates in which a sonar ray lights rock, a vent emits a hazard,
// a treasure is placed and the diver can be hit, the one that queues more is
// kept, with everything it reads, to be run again for each timing. Each
// timing checks that the update queued the same again.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <GLFW/glfw3.h>

#include "bench/loaded_game.h"
#include "bench/report.h"
#include "game/modules.h"
#include "game/render.h"
#include "game/world.h"
#include "graphics/graphics.h"
#include "host/app.h"
#include "shell/controls.h"
#include "shell/draw.h"
#include "shell/state.h"
#include "support/random.h"

void gc_mark() {
    xr_modules_mark();
}

namespace {

const double kBudgetNs = 16.7e6;  // one update at 60 a second

// Everything an update and a render of play read and change, kept to run the
// same update again.
struct PlayState {
    std::vector<float> grid, plr, obj, part, star, style, controls;
    std::vector<int> touched;  // the grid's floats the update changes
    uint32_t seed = 0;
    int partto = 0;
    float camera[6] = {};
    double now = 0;
    float stick[2] = {};

    static void Copy(std::vector<float>& to, Array<float> from) { to.assign(from.Data(), from.Data() + from.Length()); }
    static void Put(const std::vector<float>& from, Array<float> to) {
        std::memcpy(to.Data(), from.data(), from.size() * sizeof(float));
    }

    void Save(const BenchHost* host) {
        Copy(grid, xr_ruvo_grid);
        Copy(plr, xr_ruvo_plr);
        Copy(obj, xr_ruvo_obj);
        Copy(part, xr_ruvo_part);
        Copy(star, xr_ruvo_astar);
        Copy(style, xr_ruvo_RUVO_DrawStyle);
        Copy(controls, xr_ruvo_RUVO_Control);
        touched.clear();
        seed = uint32_t(xr_random_Seed);
        partto = xr_ruvo_RUVO_Partto;
        const float camera_now[6] = {xr_ruvo_scrx, xr_ruvo_scry, xr_ruvo_aimx, xr_ruvo_aimy, xr_ruvo_RUVO_ScrollX,
                                     xr_ruvo_RUVO_ScrollY};
        std::memcpy(camera, camera_now, sizeof camera);
        now = host->now;
        stick[0] = host->pads[0].state.axes[GLFW_GAMEPAD_AXIS_LEFT_X];
        stick[1] = host->pads[0].state.axes[GLFW_GAMEPAD_AXIS_LEFT_Y];
    }

    // The whole grid, or only what the update changed once it is known.
    void Restore(BenchHost* host, bool wholeGrid) {
        if (wholeGrid || touched.empty()) {
            Put(grid, xr_ruvo_grid);
        } else {
            float* g = xr_ruvo_grid.Data();
            for (int i : touched) g[i] = grid[size_t(i)];
        }
        Put(plr, xr_ruvo_plr);
        Put(obj, xr_ruvo_obj);
        Put(part, xr_ruvo_part);
        Put(star, xr_ruvo_astar);
        Put(style, xr_ruvo_RUVO_DrawStyle);
        Put(controls, xr_ruvo_RUVO_Control);
        xr_random_Seed = int(seed);
        xr_ruvo_RUVO_Partto = partto;
        xr_ruvo_scrx = camera[0];
        xr_ruvo_scry = camera[1];
        xr_ruvo_aimx = camera[2];
        xr_ruvo_aimy = camera[3];
        xr_ruvo_RUVO_ScrollX = camera[4];
        xr_ruvo_RUVO_ScrollY = camera[5];
        xr_ruvo_Sprtup = 0;
        host->now = now;
        host->SetStick(stick[0], stick[1]);
    }

    // After one run of the update from the whole saved grid.
    void NoteTouched() {
        touched.clear();
        const float* g = xr_ruvo_grid.Data();
        for (size_t i = 0; i < grid.size(); ++i)
            if (std::memcmp(&g[i], &grid[i], sizeof(float)) != 0) touched.push_back(int(i));
    }
};

// What a draw list holds, by the sprites of the game.
struct Census {
    int rock = 0, rays = 0, hazards = 0, player = 0, stars = 0, particles = 0, text = 0;

    explicit Census(int count) {
        const float* list = xr_ruvo_RUVO_Draw.Data();
        for (int n = 0; n < count; ++n) {
            const float* cmd = list + RUVO_DRAW_FLOATS * n;
            if (int(cmd[CMD_TYPE]) != RUVO_CMD_IMAGE) continue;
            const int image = int(cmd[CMD_IMAGE]), frame = int(cmd[CMD_FRAME]);
            if (image == IMG_TILES) {
                rock += frame >= TILE_ROCK_FIRST && frame <= TILE_ROCK_LAST;
                rays += frame == FRAME_RAY;
                hazards += frame == FRAME_HAZARD;
                player += frame >= FRAME_DIVER && frame < FRAME_DIVER + FRAME_DIVER_STEPS;
            }
            stars += image == IMG_PARTICLE_STARS;
            particles += image >= IMG_PARTICLE_SHAPES_FULL && image <= IMG_PARTICLE_SMOKE;
            text += image == xr_ruvo_RUVO_Font;
        }
    }
    std::string Describe() const {
        char line[200];
        std::snprintf(line, sizeof line, "%d rock, %d rays, %d hazards, %d player, %d stars, %d particles, %d glyphs",
                      rock, rays, hazards, player, stars, particles, text);
        return line;
    }
};

// A player who swims to the nearest treasure with the pad's stick, along a
// path through water at least two cells clear of rock, found breadth first.
class Diver {
public:
    // Sets the stick for the next update.
    void Steer(BenchHost* host) {
        const float* plr = xr_ruvo_plr.Data();
        const float x = plr[PLR_X], y = plr[PLR_Y];
        if (++sincePlan >= 60 || next >= path.size() || Code(target) != TILE_TREASURE) Plan(x, y);
        if (hold > 0) {
            --hold;
            Toward(host, holdX, holdY);
        } else if (next < path.size()) {
            while (next + 1 < path.size() && std::fabs(X(path[next]) - x) < 0.5f && std::fabs(Y(path[next]) - y) < 0.5f)
                ++next;
            Toward(host, X(path[next]), Y(path[next]));
        } else {
            host->SetStick(0, 0);
        }
    }
    // Keeps to where the diver is for `updates` updates before going on.
    void HoldFor(int updates) {
        hold = updates;
        holdX = xr_ruvo_plr[PLR_X];
        holdY = xr_ruvo_plr[PLR_Y];
    }
    // Cells of the path still ahead to a treasure; 0 with none in reach.
    size_t Ahead() const { return Code(target) == TILE_TREASURE ? path.size() - next : 0; }

private:
    std::vector<int> path;  // cells from the diver to the goal
    size_t next = 0;
    int target = 0;  // the treasure's cell
    int sincePlan = 0;
    int hold = 0;
    float holdX = 0, holdY = 0;

    // The search's scratch space, for every diver, stamped rather than cleared.
    struct Scratch {
        std::vector<int> seen = std::vector<int>(size_t(WORLD_SIZE) * WORLD_SIZE);
        std::vector<int> from = std::vector<int>(size_t(WORLD_SIZE) * WORLD_SIZE);
        std::vector<int> queue;
        int stamp = 0;
    };
    static Scratch scratch;

    static float Clamp(float v, float limit) { return v < -limit ? -limit : v > limit ? limit : v; }
    static float X(int cell) { return float(cell % WORLD_SIZE); }
    static float Y(int cell) { return float(cell / WORLD_SIZE); }
    static int Code(int cell) { return int(xr_ruvo_grid[cell * CELL_SLOTS]); }

    // A speed toward (wx, wy) that falls as it nears; the stick adds its
    // value to the velocity each update.
    static void Toward(BenchHost* host, float wx, float wy) {
        const float* plr = xr_ruvo_plr.Data();
        const float vx = Clamp(3 * (wx - plr[PLR_X]), 4), vy = Clamp(3 * (wy - plr[PLR_Y]), 4);
        host->SetStick(Clamp(vx - plr[PLR_VX], 1), Clamp(vy - plr[PLR_VY], 1));
    }

    static bool Open(int cell) {
        const int x = cell % WORLD_SIZE, y = cell / WORLD_SIZE;
        if (x < 6 || x > 1017 || y < 6 || y > 1017) return false;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const int code = Code(cell + dy * WORLD_SIZE + dx);
                if (code != TILE_WATER && code != TILE_TREASURE) return false;
            }
        return true;
    }

    // Breadth first to the nearest cell from which a treasure is taken: the
    // same row, at most one column from it.
    void Plan(float x, float y) {
        sincePlan = 0;
        path.clear();
        next = 0;
        const int start = int(y + 0.5f) * WORLD_SIZE + int(x + 0.5f);
        std::vector<int>& queue = scratch.queue;
        queue.assign(1, start);
        scratch.seen[size_t(start)] = ++scratch.stamp;
        for (size_t head = 0; head < queue.size(); ++head) {
            const int cell = queue[head];
            for (int dx = -1; dx <= 1; ++dx) {
                if (Code(cell + dx) != TILE_TREASURE) continue;
                target = cell + dx;
                for (int c = cell; c != start; c = scratch.from[size_t(c)]) path.push_back(c);
                path.push_back(start);
                std::reverse(path.begin(), path.end());
                return;
            }
            for (int step : {-1, 1, -int(WORLD_SIZE), int(WORLD_SIZE)}) {
                const int n = cell + step;
                if (scratch.seen[size_t(n)] == scratch.stamp || !Open(n)) continue;
                scratch.seen[size_t(n)] = scratch.stamp;
                scratch.from[size_t(n)] = cell;
                queue.push_back(n);
            }
        }
    }
};

Diver::Scratch Diver::scratch;

float RayStrength(const float* plr) {
    float sum = 0;
    for (int k = 0; k < 72; ++k) sum += std::max(0.0f, plr[PLR_RAY_STRENGTH + k]);
    return sum;
}

int LiveHazards() {
    int live = 0;
    for (int i = 0; i < OBJ_RECORDS; ++i) live += xr_ruvo_obj[OBJ_SLOTS * i + HAZ_ALIVE] > 0;
    return live;
}

// The chosen update, as saved before it ran, and what it did.
PlayState busiest;
int busiestCommands = 0, busiestPlayed = 0;

// One pass of the frame loop with the diver at the pad; says what the update
// did that the busiest must do.
struct PlayedUpdate {
    bool hittable = false, lit = false, emitted = false, placed = false;
    int taken = 0, commands = 0, played = 0;

    bool Busy() const {
        if (!hittable || !lit || !emitted || !placed || played >= RUVO_DRAW_LIMIT - 1) return false;
        const Census queued(commands), drawn(played);
        return queued.rays > 0 && queued.hazards > 0 && queued.player > 0 && queued.rock > 0 && drawn.particles > 0;
    }
};

PlayedUpdate Play(Diver& diver) {
    diver.Steer(bench_host);
    float* plr = xr_ruvo_plr.Data();
    PlayedUpdate u;
    u.hittable = plr[PLR_LIVES] > -1 && plr[PLR_INVULNERABLE] == 0;
    const float strength = RayStrength(plr), treasures = plr[PLR_TREASURES], score = plr[PLR_SCORE];
    const int hazards = LiveHazards();
    bench_host->now += 1.0 / 60;
    bench_host->UpdateGame();
    u.commands = xr_ruvo_Sprtup;
    u.taken = int(plr[PLR_SCORE] - score) / 5;
    u.lit = RayStrength(plr) < strength;
    u.emitted = LiveHazards() > hazards;
    u.placed = plr[PLR_TREASURES] > treasures - float(u.taken);
    bench_host->RenderGame();
    u.played = int(xr_ruvo_RUVO_Data[DATA_PLAYED_COMMANDS]);
    return u;
}

// Plays a Normal game and keeps the busier of the first two updates that do
// everything play does at once: a ray lights rock, a vent emits a hazard
// into view, a treasure is placed (the diver has just taken one) and the
// diver can be hit. Like a player who knows the game, the diver times its
// moves: from a point near each treasure the approach is tried again,
// waiting one update longer each time, until taking the treasure meets a
// vent's turn; and a stretch of play in which a hazard hits it is played
// again with a wait. False when nothing did within the play.
bool FindBusiestUpdate() {
    xr_ruvo_RUVO_GameType = 2;
    xr_ruvo_RUVO_GameMode = MODE_START;
    bench_host->Frame();
    Diver diver;
    // The point play is tried again from.
    struct Checkpoint {
        PlayState state;
        Diver diver;
        bool nearTreasure = false;
        int wait = 0, updates = 0;
    } at;
    PlayState best;
    Diver bestDiver;
    int bestWait = 0, bestUpdates = 0, found = 0, taken = 0, tries = 0, update = 0;
    auto mark = [&](bool nearTreasure) {
        at.state.Save(bench_host);
        at.diver = diver;
        at.nearTreasure = nearTreasure;
        at.wait = at.updates = 0;
    };
    mark(false);
    for (; update < 20000 && found < 2 && xr_ruvo_RUVO_EndofGame == 0; ++update) {
        if (!at.nearTreasure && diver.Ahead() > 0 && diver.Ahead() <= 8) mark(true);
        if (!at.nearTreasure && at.updates >= 120) mark(false);
        const float lives = xr_ruvo_plr[PLR_LIVES];
        const PlayedUpdate u = Play(diver);
        taken += u.taken;
        ++at.updates;
        if (at.nearTreasure && u.Busy()) {
            if (u.commands > busiestCommands) {
                std::swap(best, at.state);
                bestDiver = at.diver;
                bestWait = at.wait;
                bestUpdates = at.updates - 1;
                busiestCommands = u.commands;
                busiestPlayed = u.played;
            }
            ++found;
            mark(false);
            continue;
        }
        const bool hit = xr_ruvo_plr[PLR_LIVES] < lives;
        const bool missed = at.nearTreasure && (u.placed || at.updates > 300);
        if (!hit && !missed) continue;
        if (at.wait >= 90) {
            mark(false);
            continue;
        }
        ++tries;
        at.state.Restore(bench_host, true);
        xr_ruvo_RUVO_EndofGame = 0;
        diver = at.diver;
        diver.HoldFor(++at.wait);
        at.updates = 0;
    }
    std::printf("play to find the busiest update: %d updates, %d treasures taken, %d stretches played again, %d "
                "updates busy in every way\n",
                update, taken, tries, found);
    if (found == 0) return false;
    // Back to the chosen update's checkpoint, and the same play up to it.
    best.Restore(bench_host, true);
    diver = bestDiver;
    if (bestWait > 0) diver.HoldFor(bestWait);
    for (int i = 0; i < bestUpdates; ++i) Play(diver);
    diver.Steer(bench_host);
    bench_host->now += 1.0 / 60;
    busiest.Save(bench_host);
    return true;
}

// Runs the busiest update again from its saved state; checks it queues what
// it queued in play.
bool RunBusiestUpdate(bool wholeGrid) {
    busiest.Restore(bench_host, wholeGrid);
    bench_host->UpdateGame();
    return xr_ruvo_Sprtup == busiestCommands;
}

void BM_PlayUpdateBusiest(benchmark::State& state) {
    busiest.Restore(bench_host, true);
    for (auto _ : state) {
        state.PauseTiming();
        busiest.Restore(bench_host, false);
        state.ResumeTiming();
        bench_host->UpdateGame();
        state.PauseTiming();
        const bool same = xr_ruvo_Sprtup == busiestCommands;
        state.ResumeTiming();
        if (!same) {
            state.SkipWithError("the update queued other than it did in play");
            break;
        }
    }
    state.counters["commands"] = busiestCommands;
}
BENCHMARK(BM_PlayUpdateBusiest)->UseRealTime()->Unit(benchmark::kMicrosecond);

int CountOpenAndVents(int* vents) {
    int open = 0;
    *vents = 0;
    const float* grid = xr_ruvo_grid.Data();
    for (int cell = 0; cell < WORLD_SIZE * WORLD_SIZE; ++cell) {
        const int code = int(grid[cell * CELL_SLOTS]);
        open += code == TILE_WATER;
        *vents += code >= TILE_VENT_CEILING && code <= TILE_VENT_RIGHT;
    }
    return open;
}

template <int Type>
void BM_Cavern(benchmark::State& state) {
    xr_ruvo_RUVO_GameType = Type;
    for (auto _ : state) {
        state.PauseTiming();
        xr_ruvo_SeedRnd(2024);
        xr_ruvo_ResetGrid();
        state.ResumeTiming();
        bench_game->p_Cavern();
    }
    xr_ruvo_RUVO_GameType = 2;
    int vents = 0;
    const int open = CountOpenAndVents(&vents);
    if (open < 1000 || vents == 0) state.SkipWithError("the cave has no tunnels or no vents");
    state.counters["open_cells"] = open;
    state.counters["vents"] = vents;
}
BENCHMARK(BM_Cavern<1>)->Name("BM_CavernEasy")->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cavern<2>)->Name("BM_CavernNormal")->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cavern<3>)->Name("BM_CavernHard")->UseRealTime()->Unit(benchmark::kMillisecond);

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
                cell[CELL_LIGHT] = 0;
                cell[CELL_TILE] = TILE_ROCK_FIRST;
            }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_GridPassFloor)->UseRealTime()->Unit(benchmark::kMillisecond);

// The frame of the busiest update played back as the window shows it again:
// the clear rectangle, then every command of the list (star field, rock,
// player, rays, hazards, score text, pause button, particles), through the
// graphics module and OpenGL to the last pixel (glFinish): wall time, since
// the driver rasterises on threads of its own.
void BM_PlaybackRealFrame(benchmark::State& state) {
    gxtkGraphics* device = xr_graphics_device;
    if (!RunBusiestUpdate(true)) {
        state.SkipWithError("the busiest update queued other than it did in play");
        return;
    }
    bench_host->RenderGame();
    const int played = int(xr_ruvo_RUVO_Data[DATA_PLAYED_COMMANDS]);
    const Census census(played);
    if (played != busiestPlayed || census.stars == 0 || census.rock == 0 || census.rays == 0 || census.hazards == 0 ||
        census.particles == 0 || census.text == 0) {
        state.SkipWithError(("the frame lacks part of play: " + census.Describe()).c_str());
        return;
    }
    long long calls = 0;
    for (auto _ : state) {
        device->BeginRender();
        xr_graphics_BeginRender();
        const long long before = device->drawCalls;
        xr_ruvo_RedrawWorld();
        xr_graphics_EndRender();
        device->EndRender();
        calls += device->drawCalls - before;
        glFinish();
    }
    state.counters["commands"] = played;
    state.counters["draw_calls"] = double(calls) / double(state.iterations());
}
BENCHMARK(BM_PlaybackRealFrame)->UseRealTime()->Unit(benchmark::kMicrosecond);

// A whole frame of the busiest play as the host runs it: the update callback,
// then the render callback and OpenGL to the last pixel.
void BM_PlayFrame(benchmark::State& state) {
    busiest.Restore(bench_host, true);
    for (auto _ : state) {
        state.PauseTiming();
        busiest.Restore(bench_host, false);
        state.ResumeTiming();
        bench_host->UpdateGame();
        bench_host->RenderGame();
        glFinish();
        state.PauseTiming();
        const bool same = int(xr_ruvo_RUVO_Data[DATA_PLAYED_COMMANDS]) == busiestPlayed;
        state.ResumeTiming();
        if (!same) {
            state.SkipWithError("the frame drew other than it did in play");
            break;
        }
    }
}
BENCHMARK(BM_PlayFrame)->UseRealTime()->Unit(benchmark::kMicrosecond);

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
    RunBusiestUpdate(false);
    bench_host->RenderGame();
    glFinish();
}

void BM_FullscreenToggle(benchmark::State& state) {
    busiest.Restore(bench_host, true);
    double imagesMs = 0;
    for (auto _ : state) {
        xr_ruvo_FullscreenFlip();
        imagesMs += ImagesReadyMs();
        DrawAFrame();
        xr_ruvo_FullscreenFlip();
        imagesMs += ImagesReadyMs();
        DrawAFrame();
    }
    if (xr_ruvo_RUVO_Fullscreen != 0 || bench_host->GetDeviceWidth() != 640)
        state.SkipWithError("not back in a window");
    state.counters["images_ms"] = imagesMs / double(2 * state.iterations());
}
BENCHMARK(BM_FullscreenToggle)->UseRealTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!LoadGame()) return 1;
    if (!FindBusiestUpdate()) {
        std::fprintf(stderr, "no update of the play lit rock, emitted a hazard into view and placed treasure\n");
        return 1;
    }
    if (!RunBusiestUpdate(true)) {
        std::fprintf(stderr, "the busiest update, run again, queued other than it did in play\n");
        return 1;
    }
    busiest.NoteTouched();
    const float* plr = busiest.plr.data();
    std::printf("busiest update: diver at (%.1f, %.1f) with %.0f lives, %.0f treasures; queues %d commands (%s), "
                "%d drawn with the particles\n",
                plr[PLR_X], plr[PLR_Y], plr[PLR_LIVES], plr[PLR_TREASURES], busiestCommands,
                Census(busiestCommands).Describe().c_str(), busiestPlayed);

    KeepingReporter reporter;
    if (!RunBenchmarks(argc, argv, reporter)) return 1;
    std::printf("\n");
    if (reporter.Ran("BM_PlayUpdateBusiest/real_time")) {
        const double update = reporter.RealNs("BM_PlayUpdateBusiest/real_time");
        std::printf("busiest update of play, as the host runs it: %.3f ms, %.2f%% of a 16.7 ms update\n", update / 1e6,
                    100 * update / kBudgetNs);
        PrintFigure("update-busiest", "<5%", update < 0.05 * kBudgetNs, "%.2f%%", 100 * update / kBudgetNs);
    }
    const double floor = reporter.RealNs("BM_GridPassFloor/real_time");
    const char* caves[3][2] = {{"BM_CavernEasy", "cave-easy"}, {"BM_CavernNormal", "cave-normal"},
                               {"BM_CavernHard", "cave-hard"}};
    for (const auto& cave : caves) {
        const std::string name = std::string(cave[0]) + "/real_time";
        if (!reporter.Ran(name) || floor <= 0) continue;
        const double ns = reporter.RealNs(name);
        std::printf("%s: %.2f ms, %.2fx one pass over the grid (%.2f ms), %.0f%% of an update\n", cave[0] + 3,
                    ns / 1e6, ns / floor, floor / 1e6, 100 * ns / kBudgetNs);
        PrintFigure(cave[1], "<=4x,<=16.7ms", ns <= 4 * floor && ns <= kBudgetNs, "%.2fx,%.2fms", ns / floor,
                    ns / 1e6);
    }
    if (reporter.Ran("BM_PlaybackRealFrame/real_time")) {
        const double ns = reporter.RealNs("BM_PlaybackRealFrame/real_time");
        std::printf("draw list of the busiest frame played back (%d commands, %.0f GL draw calls): %.2f ms to the "
                    "last pixel\n",
                    busiestPlayed, reporter.Counter("BM_PlaybackRealFrame/real_time", "draw_calls"), ns / 1e6);
        PrintFigure("playback", "report", true, "%.2fms", ns / 1e6);
    }
    if (reporter.Ran("BM_PlayFrame/real_time")) {
        const double ns = reporter.RealNs("BM_PlayFrame/real_time");
        std::printf("whole play frame (update, render, to the last pixel): %.2f ms\n", ns / 1e6);
        PrintFigure("frame-whole", "<=16.7ms", ns <= kBudgetNs, "%.2fms", ns / 1e6);
    }
    const std::string toggle = "BM_FullscreenToggle/iterations:10/real_time";
    if (reporter.Ran(toggle))
        std::printf("F11, full screen or back, the next frame drawn: %.1f ms, of which %.1f ms making the images "
                    "ready\n",
                    reporter.RealNs(toggle) / 2 / 1e6, reporter.Counter(toggle, "images_ms"));
    return ExitStatus(reporter);
}
