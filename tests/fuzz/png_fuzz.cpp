// Image files through the host's LoadImageData, as every picture of the game
// is loaded: PNG only, at most 8192 a side.
#include <cstdint>
#include <cstdlib>

#include "host/glfwgame.h"
#include "runtime/gc.h"
#include "tests/fuzz/fuzz_file.h"

// Damaged headers make stb_image (2.27) ask for buffers of up to 2 GB (an
// inflate buffer doubled at once, pixels for the size a header claims) before
// it finds there is no data for them. Outside the sanitizers such a request
// costs only address space, but here each one takes half a second and much of
// the memory limit. So the decoder meets a malloc that refuses more than
// 512 MB, as a small machine's would, and must fail cleanly on it.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1:max_allocation_size_mb=512";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Only the file services are used: no window, no GLFW.
    static XrGlfwGame host;
    static MemoryFile file;
    file.Write(data, size);
    int width = -1, height = -1, depth = -1;
    unsigned char* pixels = host.LoadImageData(String(file.Path().c_str()), &width, &height, &depth);
    if (!pixels) return 0;

    // The graphics device uploads width × height × depth bytes. An empty
    // image is possible (a 0 × 0 PNM decodes): the device makes an empty
    // texture of it and draws nothing.
    FUZZ_CHECK(width >= 0 && height >= 0 && depth >= 1 && depth <= 4);
    size_t bytes = size_t(width) * size_t(height) * size_t(depth);
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i) sum += pixels[i];
    volatile unsigned sink = sum;
    (void)sink;
    std::free(pixels);
    // The reported external memory is settled by collector steps, as in the game.
    gc_collect();
    return 0;
}
