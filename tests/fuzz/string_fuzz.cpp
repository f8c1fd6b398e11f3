// String::Load on any bytes: UTF-16 after either byte-order mark, UTF-8 with
// or without one, and bytes that are neither.
#include <cstdint>

#include "runtime/gc.h"
#include "runtime/string.h"
#include "tests/fuzz/fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MemoryFile file;
    file.Write(data, size);
    FILE* f = file.Open();
    String text = String::Load(f);
    std::fclose(f);

    FUZZ_CHECK(text.Length() >= 0 && size_t(text.Length()) <= size);

    // The UTF-8 the game writes (the state file, the console) reads back as the
    // same units, whatever they are: lone surrogates and zeros included.
    std::string utf8 = text.ToUtf8();
    FUZZ_CHECK(String::FromUtf8(utf8.data(), int(utf8.size())) == text);

    // Loaded text is split at "|" by the save string's reader; the pieces
    // joined again are the text.
    const String bar("|");
    Array<String> parts = text.Split(bar);
    FUZZ_CHECK(String::Join(parts.Data(), parts.Length(), bar) == text);
    text.ToInt();

    // What a host step would do: the split arrays are collected.
    gc_collect();
    return 0;
}
