// The save string from any bytes in the state file, read as the game reads it:
// the host's LoadState on ./.vantlestate, then xr_ruvo_Load.
//
// The state file's name is fixed and relative, so each run reads it in a
// folder of its own and returns to the starting folder before libFuzzer sees
// the result.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/modules.h"
#include "host/app.h"
#include "host/glfwgame.h"
#include "runtime/gc.h"
#include "shell/state.h"
#include "tests/fuzz/fuzz_file.h"

namespace {

// Only the file services of the host are used: no window, no GLFW.
XrGlfwGame* host;
int home = -1;     // the folder the fuzzer was started in
int scratch = -1;  // the folder each run reads its state file in
std::string scratchPath;

void remove_scratch() {
    unlinkat(scratch, ".vantlestate", 0);
    rmdir(scratchPath.c_str());
}

void write_state(const void* data, size_t size) {
    int fd = openat(scratch, ".vantlestate", O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) std::abort();
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = write(fd, p, size);
        if (n <= 0) std::abort();
        p += n;
        size -= size_t(n);
    }
    close(fd);
}

// A load as a fresh start sees it: settings, scores and the debug mode all
// zero beforehand.
void load() {
    xr_ruvo_RUVO_DebugMode = 0;
    std::fill(xr_ruvo_RUVO_Set.Data(), xr_ruvo_RUVO_Set.Data() + xr_ruvo_RUVO_Set.Length(), 0);
    std::fill(xr_ruvo_RUVO_Score.Data(), xr_ruvo_RUVO_Score.Data() + xr_ruvo_RUVO_Score.Length(), 0);
    if (fchdir(scratch) != 0) std::abort();
    xr_ruvo_Load();
    if (fchdir(home) != 0) std::abort();
}

}  // namespace

// A crash while the scratch folder is current would leave its input there:
// unless told otherwise, libFuzzer writes it to the starting folder.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd)) std::abort();
    DefaultFlag(argc, argv, std::string("-artifact_prefix=") + cwd + "/");
    // The collector keeps freed small blocks for reuse and destroys garbage
    // lazily, so nearly every run allocates more than it frees, and libFuzzer
    // would scan the whole heap (the game's modules, some 500 MB under
    // AddressSanitizer) for leaks after each: 25 runs a second instead of
    // some 400. Leaks are still reported when the program exits.
    DefaultFlag(argc, argv, "-detect_leaks=0");

    home = open(".", O_RDONLY | O_DIRECTORY);
    char name[] = "/tmp/glimmerdeep-save-fuzz-XXXXXX";
    if (home < 0 || !mkdtemp(name)) std::abort();
    scratchPath = name;
    scratch = open(name, O_RDONLY | O_DIRECTORY);
    if (scratch < 0) std::abort();
    std::atexit(remove_scratch);

    host = new XrGlfwGame();
    xr_modules_init();
    xr_app__game = host;
    xr_ruvo_SetGameNumber(503);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    write_state(data, size);
    load();
    // What the rest of the game relies on after a load, whatever the file held.
    FUZZ_CHECK(xr_ruvo_RUVO_DebugMode == xr_ruvo_RUVO_Set[SET_FRAME_RATE]);
    FUZZ_CHECK(xr_ruvo_RUVO_Set[SET_OVERSCAN] <= 0);
    // What a host step would do: the split string's arrays are collected.
    gc_collect();
    return 0;
}
