// Collector figures: the cost of allocating and dropping small objects against
// plain new/delete, and the longest collection step under heavy churn.
#include <chrono>
#include <cstdio>

#include "bench/report.h"
#include "runtime/array.h"

static gc_object* bench_root;

void gc_mark() {
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

// Both sides allocate frames of 1000 objects of four sizes from 32 to 56
// bytes and drop them at the frame's end: the collector by forgetting them and
// running its step, as the host does after every callback; plain code by
// deleting them. Times are per object.
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
    for (auto _ : state) {
        for (int i = 0; i < kFrame; ++i) benchmark::DoNotOptimize(make_sized<Collected>(i));
        gc_collect();
    }
    state.SetItemsProcessed(state.iterations() * kFrame);
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

// 20 MB alive, 200 MB churned through in frames of 256 KB, a step after each
// frame; some live leaves are replaced every frame so the live set moves too.
void BM_LongestStepUnderChurn(benchmark::State& state) {
    const int kLive = 20 << 20, kChurn = 200 << 20, kFrame = 256 << 10;
    double longest = 0, total = 0;
    int steps = 0;
    for (auto _ : state) {
        Chunk* head = nullptr;
        gc_assign(bench_root, static_cast<gc_object*>(nullptr));
        int live = 0;
        while (live < kLive) {
            Chunk* c = new Chunk();
            gc_assign(c->leaves, Array<Leaf*>(64));
            for (int i = 0; i < 64; ++i) gc_assign(c->leaves[i], make_leaf());
            gc_assign(c->next, head);
            head = c;
            gc_assign(bench_root, static_cast<gc_object*>(head));
            live += 64 * (int(sizeof(Leaf)) + 32 + 16 * 4) + 32 + 64 * 8;
        }
        gc_collect();

        Chunk* cursor = head;
        for (int churned = 0; churned < kChurn;) {
            for (int frame = 0; frame < kFrame; churned += 96, frame += 96) {
                benchmark::DoNotOptimize(new Collected<24>());
                benchmark::DoNotOptimize(Array<float>(8));
            }
            for (int i = 0; i < 16; ++i) gc_assign(cursor->leaves[(churned / 96 + i) & 63], make_leaf());
            cursor = cursor->next ? cursor->next : head;

            auto t0 = std::chrono::steady_clock::now();
            gc_collect();
            double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            if (ms > longest) longest = ms;
            total += ms;
            ++steps;
        }
        gc_assign(bench_root, static_cast<gc_object*>(nullptr));
    }
    state.counters["longest_step_ms"] = longest;
    state.counters["mean_step_ms"] = total / steps;
    state.counters["steps"] = steps;
}
BENCHMARK(BM_LongestStepUnderChurn)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    KeepingReporter reporter;
    if (!RunBenchmarks(argc, argv, reporter)) return 1;
    double collector = reporter.CpuNs("BM_CollectorAllocDrop");
    double plain = reporter.CpuNs("BM_NewDeleteSameSizes");
    if (collector > 0 && plain > 0)
        std::printf("collector allocation / new+delete: %.2f (target at most 1.00)\n", collector / plain);
    double longest = reporter.Counter("BM_LongestStepUnderChurn/iterations:1", "longest_step_ms");
    if (longest > 0)
        std::printf("longest collection step, 20 MB alive, 200 MB churned: %.3f ms (target at most 2 ms)\n",
                    longest);
    return 0;
}
