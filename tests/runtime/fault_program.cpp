// A program on the real runtime and start-up whose main function misbehaves on
// purpose, chosen by its first argument, so that the reports and exit
// statuses can be checked from outside.
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <thread>

#include <sched.h>
#include <unistd.h>

#include "host/vantlegame.h"
#include "runtime/debug.h"
#include "runtime/startup.h"

int xrInit() {
    return 0;
}

void gc_mark() {}

int xrMain() {
    const char* what = argc > 1 ? argv[1] : "";
    if (!std::strcmp(what, "error")) xrError(String("Out of air"));
    if (!std::strcmp(what, "quit")) xrError(String());
    if (!std::strcmp(what, "print")) {
        const Char e_acute[] = {'c', 'a', 'f', 0xE9};
        xrPrint(String(e_acute, 4));
    }
    if (!std::strcmp(what, "throw")) throw new ThrowableObject();
    if (!std::strcmp(what, "segv")) std::raise(SIGSEGV);
    if (!std::strcmp(what, "fpe")) std::raise(SIGFPE);
    if (!std::strcmp(what, "ill")) std::raise(SIGILL);
    if (!std::strcmp(what, "segv-output-held")) {
        // Another thread holds the output stream's lock for good, as it may
        // when a fault strikes: the report must not wait for it.
        static std::atomic<bool> held{false};
        std::thread([] {
            flockfile(stdout);
            held = true;
            for (;;) pause();
        }).detach();
        while (!held) sched_yield();
        std::raise(SIGSEGV);
    }
    if (!std::strcmp(what, "debug")) {
        static Object probe;
        char line[64];
        std::snprintf(line, sizeof line, "%p", static_cast<void*>(&probe));
        xrPrint(String(line));
        dbg_error("Stopped");
    }
    return 0;
}

int main(int argc, const char* argv[]) {
    XrVantleGame::Main(argc, argv);
    return 0;
}
