// The fuzzer's bytes as a real file, for loaders that take a FILE* or a path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// A regular file that lives only in memory (memfd): the loaders stat, seek and
// read it exactly as a file on disk, without each run touching the disk.
class MemoryFile {
public:
    MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // Makes the file hold exactly these bytes.
    void Write(const uint8_t* data, size_t size);
    // A path that opens the file afresh, at its start.
    const std::string& Path() const { return path; }
    // The file opened for reading; the caller closes it.
    FILE* Open() const;

private:
    int fd;
    std::string path;
};

// Puts `flag` ("-name=value") among libFuzzer's arguments unless the command
// line sets that name already. For LLVMFuzzerInitialize, which libFuzzer calls
// before it reads its arguments.
void DefaultFlag(int* argc, char*** argv, const std::string& flag);

// Ends the run at once, as a finding, when a property of the loaded result
// does not hold.
#define FUZZ_CHECK(condition)                                                      \
    do {                                                                           \
        if (!(condition)) {                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, \
                         #condition);                                              \
            __builtin_trap();                                                      \
        }                                                                          \
    } while (0)
