// LoadWAV on any bytes, read from a real regular file as the game reads its
// sound effects.
#include <cstdint>
#include <cstdlib>

#include "audio/sampleloader.h"
#include "tests/fuzz/fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MemoryFile file;
    file.Write(data, size);
    FILE* f = file.Open();
    int length = -1, channels = -1, format = -1, hertz = -1;
    unsigned char* samples = LoadWAV(f, &length, &channels, &format, &hertz);
    std::fclose(f);
    if (!samples) return 0;

    // The sound module hands length × channels × format bytes to OpenAL: they
    // must all have come from the file.
    FUZZ_CHECK(channels > 0 && (format == 1 || format == 2) && length >= 0);
    size_t bytes = size_t(length) * size_t(channels) * size_t(format);
    FUZZ_CHECK(bytes <= size);
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i) sum += samples[i];
    volatile unsigned sink = sum;
    (void)sink;
    std::free(samples);
    return 0;
}
