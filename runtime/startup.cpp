#include "runtime/startup.h"

#include <clocale>
#include <csignal>

#include "runtime/debug.h"
#include "runtime/gc.h"

int argc;
const char** argv;

int xr_std_main(int count, const char* args[]) {
    argc = count;
    argv = args;
    std::signal(SIGSEGV, sighandler);
    std::signal(SIGILL, sighandler);
    std::signal(SIGFPE, sighandler);
#ifdef SIGXFSZ
    // A write past a file-size limit would otherwise end the game; ignored,
    // it fails with EFBIG and the save that made it reports the failure.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
#ifdef SIGPIPE
    // Output to a closed pipe (the game's lines piped into a pager that was
    // quit) then fails with EPIPE instead of ending the game in progress.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    if (!std::setlocale(LC_CTYPE, "en_US.UTF-8")) std::setlocale(LC_CTYPE, "");
    gc_init1();
    xrInit();
    gc_mark();
    xrMain();
    return 0;
}
