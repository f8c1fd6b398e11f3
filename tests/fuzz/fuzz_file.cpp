#include "tests/fuzz/fuzz_file.h"

#include <cstdlib>
#include <cstring>
#include <deque>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

MemoryFile::MemoryFile() : fd(memfd_create("fuzz-input", 0)) {
    if (fd < 0) {
        std::perror("memfd_create");
        std::abort();
    }
    path = "/proc/self/fd/" + std::to_string(fd);
}

void MemoryFile::Write(const uint8_t* data, size_t size) {
    if (ftruncate(fd, 0) != 0) std::abort();
    size_t done = 0;
    while (done < size) {
        ssize_t n = pwrite(fd, data + done, size - done, off_t(done));
        if (n <= 0) std::abort();
        done += size_t(n);
    }
}

FILE* MemoryFile::Open() const {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) std::abort();
    return f;
}

void DefaultFlag(int* argc, char*** argv, const std::string& flag) {
    std::string name = flag.substr(0, flag.find('=') + 1);
    for (int i = 1; i < *argc; ++i)
        if (std::strncmp((*argv)[i], name.c_str(), name.size()) == 0) return;
    // libFuzzer keeps the pointers: the flags and the arrays live as long as
    // the program (and stay reachable, so they are not leaks).
    static std::deque<std::string> flags;
    static std::deque<std::vector<char*>> arrays;
    flags.push_back(flag);
    arrays.emplace_back(*argv, *argv + *argc);
    std::vector<char*>& args = arrays.back();
    args.insert(args.begin() + 1, &flags.back()[0]);
    args.push_back(nullptr);
    *argc = int(args.size()) - 1;
    *argv = args.data();
}
