// Sprite drawing figures. 5000 sprites from one 16-frame sheet drawn the way
// the shell plays its draw list back (alpha, colour, then DrawImage2 with
// rotation and scale): how many GL draw calls a frame takes, and what the
// device itself costs per sprite against a bare loop that writes the same
// four vertices into an array. Needs a display: run it under xvfb-run.
#include <cstdio>
#include <cstdlib>

#include <GLFW/glfw3.h>

#include "bench/report.h"
#include "game/modules.h"
#include "graphics/graphics.h"
#include "host/glfwgame.h"

static c_Image* bench_sheet;

void gc_mark() {
    xr_modules_mark();
    gc_mark_q(bench_sheet);
}

namespace {

const int kSprites = 5000;
const int kSheet = 256, kCell = 64;

struct Sprite {
    float x, y, rotation, scaleX, scaleY, alpha, r, g, b;
    int frame;
};

Sprite sprites[kSprites];
// What the module hands the device for each sprite: its matrix and its
// frame's place in the sheet, so the device and the bare loop start from the
// same numbers.
float matrices[kSprites][6];
int frameX[kSprites], frameY[kSprites];
gxtkGraphics* device;

// The bare loop's output: a batch-sized array like the device's.
gxtkVertex bareBatch[gxtkGraphics::kMaxVertices];

void MakeScene() {
    unsigned char* pixels = static_cast<unsigned char*>(std::malloc(kSheet * kSheet * 4));
    for (int i = 0; i < kSheet * kSheet; ++i) {
        pixels[i * 4] = (unsigned char)(i * 7);
        pixels[i * 4 + 1] = (unsigned char)(i >> 8);
        pixels[i * 4 + 2] = 200;
        pixels[i * 4 + 3] = (i & 15) ? 255 : 0;
    }
    gxtkSurface* surface = new gxtkSurface();
    surface->SetData(pixels, kSheet, kSheet, 4);
    surface->Bind();
    // As the shell loads its images: a grid, drawn centred on each position.
    c_Image* sheet = (new c_Image())->p_Init2(surface, 0, 0, kCell, kCell, 16, c_Image::HandleCentre, nullptr, 0,
                                              0, kSheet, kSheet);
    gc_assign(bench_sheet, sheet);

    unsigned int seed = 1234567;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return float(seed >> 8) * (1.0f / 16777216.0f);
    };
    for (Sprite& s : sprites) {
        s = {next() * 1024, next() * 768, next() * 360, 0.5f + next(), 0.5f + next(), next(),
             next() * 255, next() * 255, next() * 255, int(next() * 16)};
    }

    device->BeginRender();
    xr_graphics_BeginRender();
    for (int i = 0; i < kSprites; ++i) {
        const Sprite& s = sprites[i];
        xr_graphics_PushMatrix();
        xr_graphics_Translate(s.x, s.y);
        xr_graphics_Rotate(s.rotation);
        xr_graphics_Scale(s.scaleX, s.scaleY);
        xr_graphics_Translate(-sheet->m_handleX, -sheet->m_handleY);
        c_GraphicsContext* c = xr_graphics_context;
        const float m[6] = {c->m_ax, c->m_ay, c->m_bx, c->m_by, c->m_ox, c->m_oy};
        for (int k = 0; k < 6; ++k) matrices[i][k] = m[k];
        xr_graphics_PopMatrix();
        frameX[i] = sheet->m_frames[s.frame]->m_x;
        frameY[i] = sheet->m_frames[s.frame]->m_y;
    }
    xr_graphics_EndRender();
    device->EndRender();
}

// A whole frame through the graphics module and OpenGL, as the shell will
// draw it; glFinish so each frame's rasterising is done before the next.
void BM_ShellPlaybackFrame(benchmark::State& state) {
    long long calls = 0;
    for (auto _ : state) {
        device->BeginRender();
        xr_graphics_BeginRender();
        device->Cls(0, 0, 0);
        long long before = device->drawCalls;
        xr_graphics_SetBlend(0);
        for (const Sprite& s : sprites) {
            xr_graphics_SetAlpha(s.alpha);
            xr_graphics_SetColor(s.r, s.g, s.b);
            xr_graphics_DrawImage2(bench_sheet, s.x, s.y, s.rotation, s.scaleX, s.scaleY, s.frame);
        }
        xr_graphics_EndRender();
        device->EndRender();
        calls += device->drawCalls - before;
        glFinish();
    }
    state.counters["draw_calls"] = double(calls) / double(state.iterations());
    state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(BM_ShellPlaybackFrame)->Unit(benchmark::kMicrosecond);

// The CPU side alone: full batches are dropped instead of submitted, so only
// the work of building vertices is timed, not the driver's.
inline void DropFullBatch(gxtkGraphics* d) {
    if (d->batchCount == gxtkGraphics::kMaxVertices) d->batchCount = 0;
}

// The device's part of one sprite: its matrix, then the frame's quad.
void BM_DeviceSprite(benchmark::State& state) {
    gxtkGraphics* d = device;
    gxtkSurface* surface = bench_sheet->m_surface;
    for (auto _ : state) {
        for (int i = 0; i < kSprites; ++i) {
            const float* m = matrices[i];
            d->SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
            d->DrawSurface2(surface, 0, 0, frameX[i], frameY[i], kCell, kCell);
            DropFullBatch(d);
        }
        benchmark::ClobberMemory();
    }
    d->batchCount = 0;
    state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(BM_DeviceSprite)->Unit(benchmark::kMicrosecond);

// The same four vertices written by hand: transformed corners, texture
// coordinates of the frame, the colour.
void BM_BareVertexLoop(benchmark::State& state) {
    gxtkSurface* surface = bench_sheet->m_surface;
    const uint32_t color = device->color;
    for (auto _ : state) {
        int n = 0;
        for (int i = 0; i < kSprites; ++i) {
            const float* m = matrices[i];
            float us = surface->uScale, vs = surface->vScale;
            float u0 = float(frameX[i]) * us, v0 = float(frameY[i]) * vs;
            float u1 = float(frameX[i] + kCell) * us, v1 = float(frameY[i] + kCell) * vs;
            const float cx[4] = {0, kCell, kCell, 0}, cy[4] = {0, 0, kCell, kCell};
            const float cu[4] = {u0, u1, u1, u0}, cv[4] = {v0, v0, v1, v1};
            gxtkVertex* v = bareBatch + n;
            for (int k = 0; k < 4; ++k) {
                v[k].x = cx[k] * m[0] + cy[k] * m[2] + m[4];
                v[k].y = cx[k] * m[1] + cy[k] * m[3] + m[5];
                v[k].u = cu[k];
                v[k].v = cv[k];
                v[k].color = color;
            }
            n += 4;
            if (n == gxtkGraphics::kMaxVertices) n = 0;
        }
        benchmark::DoNotOptimize(bareBatch);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(BM_BareVertexLoop)->Unit(benchmark::kMicrosecond);

// Everything above the driver for one sprite of the playback: the module's
// matrix work (push, translate, rotate, scale, handle, pop) and every device
// call, alpha and colour included.
void BM_ModuleSprite(benchmark::State& state) {
    device->BeginRender();
    xr_graphics_BeginRender();
    for (auto _ : state) {
        for (const Sprite& s : sprites) {
            xr_graphics_SetAlpha(s.alpha);
            xr_graphics_SetColor(s.r, s.g, s.b);
            xr_graphics_DrawImage2(bench_sheet, s.x, s.y, s.rotation, s.scaleX, s.scaleY, s.frame);
            DropFullBatch(device);
        }
        benchmark::ClobberMemory();
    }
    device->batchCount = 0;
    xr_graphics_EndRender();
    state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(BM_ModuleSprite)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    glfwSetErrorCallback([](int code, const char* text) { std::fprintf(stderr, "GLFW error %#x: %s\n", code, text); });
    if (!glfwInit()) {
        std::fprintf(stderr, "graphics_bench needs a display (run it under xvfb-run)\n");
        return 1;
    }
    XrGlfwGame* host = new XrGlfwGame();
    host->SetDeviceWindow(1024, 768, 0);
    xr_graphics_init();
    device = new gxtkGraphics();
    xr_graphics_SetGraphicsDevice(device);
    MakeScene();

    KeepingReporter reporter;
    bool ran = RunBenchmarks(argc, argv, reporter);
    delete host;
    glfwTerminate();
    if (!ran) return 1;

    double calls = reporter.Counter("BM_ShellPlaybackFrame", "draw_calls");
    double frame = reporter.CpuNs("BM_ShellPlaybackFrame") / kSprites;
    double deviceNs = reporter.CpuNs("BM_DeviceSprite") / kSprites;
    double bare = reporter.CpuNs("BM_BareVertexLoop") / kSprites;
    double module = reporter.CpuNs("BM_ModuleSprite") / kSprites;
    if (calls > 0) std::printf("GL draw calls for %d sprites of one sheet: %.0f (expected 20)\n", kSprites, calls);
    if (frame > 0) std::printf("whole frame through OpenGL, CPU per sprite: %.1f ns\n", frame);
    if (deviceNs > 0 && bare > 0)
        std::printf("device per sprite %.2f ns, bare vertex loop %.2f ns: ratio %.2f (target at most 2.00)\n",
                    deviceNs, bare, deviceNs / bare);
    if (module > 0 && bare > 0)
        std::printf("module and device per sprite (matrix stack, rotation, colour): %.2f ns, %.2f x the bare loop\n",
                    module, module / bare);
    return ExitStatus(reporter);
}
