// LoadOGG on any bytes, read from a real regular file as the game reads its
// music.
#include <sanitizer/allocator_interface.h>

#include <cstdint>
#include <cstdlib>

#include "audio/sampleloader.h"
#include "tests/fuzz/fuzz_file.h"

// The system's stb_vorbis (1.22) leaves set-up tables allocated when it
// refuses a damaged set-up header: kilobytes to megabytes per refused file,
// inside the library, where nothing of ours can reach them. The library is
// built without frame pointers, so such a leak's recorded stack ends inside
// it; leaks allocated by the library itself are passed over, and this program
// uses stb for nothing but the Vorbis decoder.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libstb.so\n";
}

// A damaged set-up header can also make it ask for tables of gigabytes and
// fill them before it gives up. Here the decoder meets a malloc that refuses
// more than 512 MB, as a small machine's would, and must fail cleanly on it.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1:max_allocation_size_mb=512";
}

namespace {

// Passed over is not gone: a million refused files would hold gigabytes. So
// every block allocated during a load is noted, from the allocator's own hooks
// (which must not allocate: a fixed table, linear probing), and what a refused
// load leaves behind is freed here.
const size_t kSlots = size_t(1) << 16;
const void* live[kSlots];
size_t liveCount;
bool overflowed;
// Only the fuzzing thread's blocks are noted: the table has no lock, and
// libFuzzer keeps a thread of its own.
thread_local bool tracking;

size_t home_slot(const void* p) {
    return size_t((uintptr_t(p) >> 4) * 0x9E3779B97F4A7C15ull >> 48);
}

void on_malloc(const volatile void* block, size_t) {
    const void* p = const_cast<const void*>(block);
    if (!tracking || !p) return;
    if (liveCount >= kSlots / 2) {
        overflowed = true;
        return;
    }
    size_t i = home_slot(p);
    while (live[i]) i = (i + 1) % kSlots;
    live[i] = p;
    ++liveCount;
}

void on_free(const volatile void* block) {
    const void* p = const_cast<const void*>(block);
    if (!tracking || !p) return;
    size_t i = home_slot(p);
    while (live[i] && live[i] != p) i = (i + 1) % kSlots;
    if (!live[i]) return;
    // Backward-shift deletion keeps every other entry reachable from its slot.
    live[i] = nullptr;
    --liveCount;
    for (size_t j = (i + 1) % kSlots; live[j]; j = (j + 1) % kSlots) {
        size_t want = home_slot(live[j]);
        bool movable = i <= j ? (want <= i || want > j) : (want <= i && want > j);
        if (movable) {
            live[i] = live[j];
            live[j] = nullptr;
            i = j;
        }
    }
}

// Ends tracking; with `reclaim`, frees every block still noted.
void stop_tracking(bool reclaim) {
    tracking = false;
    for (size_t i = 0; liveCount > 0 && i < kSlots; ++i) {
        if (!live[i]) continue;
        // Freed only while the allocator still counts it as given out: a
        // block freed behind the table's back stays freed.
        if (reclaim && __sanitizer_get_ownership(live[i])) std::free(const_cast<void*>(live[i]));
        live[i] = nullptr;
        --liveCount;
    }
    overflowed = false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (__sanitizer_install_malloc_and_free_hooks(on_malloc, on_free) == 0) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MemoryFile file;
    file.Write(data, size);
    FILE* f = file.Open();
    int length = -1, channels = -1, format = -1, hertz = -1;
    tracking = true;
    unsigned char* samples = LoadOGG(f, &length, &channels, &format, &hertz);
    std::fclose(f);
    stop_tracking(!samples);
    if (!samples) return 0;

    // Every sample the clip claims is handed to OpenAL, so every one must be
    // inside the buffer.
    FUZZ_CHECK(channels > 0 && format == 2 && length >= 0);
    const short* s = reinterpret_cast<const short*>(samples);
    size_t count = size_t(length) * size_t(channels);
    int sum = 0;
    for (size_t i = 0; i < count; ++i) sum ^= s[i];
    volatile int sink = sum;
    (void)sink;
    std::free(samples);
    return 0;
}
