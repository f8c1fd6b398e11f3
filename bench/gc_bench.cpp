// Collector figures, with the loaded game alive beside them (its module
// globals, the world's arrays, every picture and sound): the cost of
// allocating and dropping small objects against plain new/delete, and the
// longest frame of allocations and the host's collection step while a large
// structure is built and then churned through. Needs a display for the
// game's pictures: run it under xvfb-run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "bench/loaded_game.h"
#include "bench/report.h"
#include "game/modules.h"
#include "runtime/array.h"

static gc_object* bench_root;

void gc_mark() {
    xr_modules_mark();
    gc_mark_q(bench_root);
}

namespace {

template <int Extra>
struct Collected : Object {
    char payload[Extra];
};

template <int Extra>
struct Plain {
    virtual ~Plain() {}
    void* links[2];
    int flags;
    char payload[Extra];
};

// The loaded game's live set: what is left on the collector's lists once a
// whole cycle has ended and dropped everything unreachable.
int liveObjects = 0;
double liveBytes = 0;

void MeasureLiveSet() {
    gc_ext_malloced(GC_THRESHOLD + 1);
    bench_host->gc_collect();
    for (gc_object* head : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list})
        for (gc_object* o = head->succ; o != head; o = o->succ) {
            ++liveObjects;
            liveBytes += gc_size(o);
        }
}

// Both sides allocate frames of 1000 objects of four sizes from 32 to 56
// bytes and drop them at the frame's end: the collector by forgetting them and
// running the step the host runs after every callback; plain code by deleting
// them. Times are per object.
const int kFrame = 1000;

template <template <int> class T>
inline void* make_sized(int i) {
    switch (i & 3) {
    case 0: return new T<4>();
    case 1: return new T<12>();
    case 2: return new T<20>();
    default: return new T<28>();
    }
}

void BM_CollectorAllocDrop(benchmark::State& state) {
    long long cycles = 0;
    for (auto _ : state) {
        for (int i = 0; i < kFrame; ++i) benchmark::DoNotOptimize(make_sized<Collected>(i));
        const int before = gc_new_bytes;
        bench_host->gc_collect();
        cycles += gc_new_bytes < before;
    }
    // The game's live set is what the collector kept marking meanwhile, and
    // a run long enough to allocate twice the threshold ends a cycle.
    if (liveObjects < 1000 || liveBytes < 20e6)
        state.SkipWithError("the loaded game is not alive beside the benchmark");
    if (double(state.iterations()) * kFrame * 32 > 2.0 * GC_THRESHOLD && cycles == 0)
        state.SkipWithError("no collection cycle ended");
    state.SetItemsProcessed(state.iterations() * kFrame);
    state.counters["cycles"] = double(cycles);
}
BENCHMARK(BM_CollectorAllocDrop);

void BM_NewDeleteSameSizes(benchmark::State& state) {
    static void* frame[kFrame];
    for (auto _ : state) {
        for (int i = 0; i < kFrame; ++i) frame[i] = make_sized<Plain>(i);
        benchmark::DoNotOptimize(frame);
        for (int i = 0; i < kFrame; ++i) {
            switch (i & 3) {
            case 0: delete static_cast<Plain<4>*>(frame[i]); break;
            case 1: delete static_cast<Plain<12>*>(frame[i]); break;
            case 2: delete static_cast<Plain<20>*>(frame[i]); break;
            default: delete static_cast<Plain<28>*>(frame[i]); break;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * kFrame);
}
BENCHMARK(BM_NewDeleteSameSizes);

// A live structure the collector must trace: chunks of 64 references, each
// reference a small object holding an array.
struct Leaf : Object {
    Array<int> values;
    void mark() override { gc_mark_field(values); }
};

struct Chunk : Object {
    Chunk* next = nullptr;
    Array<Leaf*> leaves;
    void mark() override {
        gc_mark_field(next);
        gc_mark_field(leaves);
    }
};

Leaf* make_leaf() {
    Leaf* leaf = new Leaf();
    gc_assign(leaf->values, Array<int>(16));
    return leaf;
}

double ThreadCpuMs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) * 1e-6;
}

// The worst frames seen, each frame its allocations and the step after them.
struct WorstFrame {
    double cpuMs = 0, wallMs = 0;
    int cycles = 0;  // collection cycles that ended in these frames

    template <class Allocate>
    void Frame(Allocate allocate) {
        const auto wall0 = std::chrono::steady_clock::now();
        const double cpu0 = ThreadCpuMs();
        allocate();
        const int before = gc_new_bytes;
        bench_host->gc_collect();
        cpuMs = std::max(cpuMs, ThreadCpuMs() - cpu0);
        wallMs = std::max(wallMs, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall0)
                                      .count());
        cycles += gc_new_bytes < before;
    }
};

// 20 MB made alive 256 KB a frame, as a level or a loading screen would, then
// 200 MB churned through in frames of 256 KB while some live leaves are
// replaced every frame, so the live set moves too. Every frame from the first
// is timed, so the cycles that end while the structure grows, the first full
// mark of it among them, are counted.
void BM_LongestFrameUnderChurn(benchmark::State& state) {
    const int kLive = 20 << 20, kChurn = 200 << 20, kFrameBytes = 256 << 10;
    const int kChunkBytes = 64 * (int(sizeof(Leaf)) + 32 + 16 * 4) + 32 + 64 * 8;
    WorstFrame building, churning;
    for (auto _ : state) {
        Chunk* head = nullptr;
        gc_assign(bench_root, static_cast<gc_object*>(nullptr));
        for (int live = 0; live < kLive;) {
            building.Frame([&] {
                for (int frame = 0; frame < kFrameBytes && live < kLive; frame += kChunkBytes, live += kChunkBytes) {
                    Chunk* c = new Chunk();
                    gc_assign(c->leaves, Array<Leaf*>(64));
                    for (int i = 0; i < 64; ++i) gc_assign(c->leaves[i], make_leaf());
                    gc_assign(c->next, head);
                    head = c;
                    gc_assign(bench_root, static_cast<gc_object*>(head));
                }
            });
        }
        Chunk* cursor = head;
        for (int churned = 0; churned < kChurn;) {
            churning.Frame([&] {
                for (int frame = 0; frame < kFrameBytes; churned += 96, frame += 96) {
                    benchmark::DoNotOptimize(new Collected<24>());
                    benchmark::DoNotOptimize(Array<float>(8));
                }
                for (int i = 0; i < 16; ++i) gc_assign(cursor->leaves[(churned / 96 + i) & 63], make_leaf());
                cursor = cursor->next ? cursor->next : head;
            });
        }
        gc_assign(bench_root, static_cast<gc_object*>(nullptr));
    }
    if (building.cycles == 0) state.SkipWithError("no collection cycle ended while the structure grew");
    if (churning.cycles < 20) state.SkipWithError("fewer collection cycles than 200 MB of churn must end");
    state.counters["longest_frame_ms"] = std::max(building.cpuMs, churning.cpuMs);
    state.counters["building_ms"] = building.cpuMs;
    state.counters["churning_ms"] = churning.cpuMs;
    state.counters["longest_wall_ms"] = std::max(building.wallMs, churning.wallMs);
    state.counters["cycles"] = building.cycles + churning.cycles;
}
BENCHMARK(BM_LongestFrameUnderChurn)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!LoadGame()) return 1;
    MeasureLiveSet();
    std::printf("the loaded game's live set: %d objects, %.1f MB\n", liveObjects, liveBytes / 1e6);
    KeepingReporter reporter;
    if (!RunBenchmarks(argc, argv, reporter)) return 1;
    std::printf("\n");
    if (reporter.Ran("BM_CollectorAllocDrop") && reporter.Ran("BM_NewDeleteSameSizes")) {
        const double collector = reporter.CpuNs("BM_CollectorAllocDrop");
        const double plain = reporter.CpuNs("BM_NewDeleteSameSizes");
        std::printf("collector allocation and step, beside the game's %d live objects (%.1f MB) / new+delete: %.2f\n",
                    liveObjects, liveBytes / 1e6, collector / plain);
        PrintFigure("collector-alloc", "<=1.00", collector <= plain, "%.2f", collector / plain);
    }
    const std::string churn = "BM_LongestFrameUnderChurn/iterations:1";
    if (reporter.Ran(churn)) {
        const double longest = reporter.Counter(churn, "longest_frame_ms");
        std::printf("longest frame of allocations and collection step, 20 MB made alive then 200 MB churned: "
                    "%.3f ms of CPU (%.3f ms growing, %.3f ms churning; %.3f ms of wall time)\n",
                    longest, reporter.Counter(churn, "building_ms"), reporter.Counter(churn, "churning_ms"),
                    reporter.Counter(churn, "longest_wall_ms"));
        PrintFigure("collector-step", "<=2ms", longest <= 2, "%.3fms", longest);
    }
    return ExitStatus(reporter);
}
