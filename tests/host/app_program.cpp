// A program on the real framework whose application reports what it sees,
// for tests that drive it from outside. The first argument picks the case.
#include <cstdio>
#include <cstring>

#include "game/modules.h"
#include "host/app.h"
#include "host/vantlegame.h"
#include "runtime/debug.h"
#include "runtime/startup.h"

namespace {

void say(const char* format, int value) {
    char line[64];
    std::snprintf(line, sizeof line, format, value);
    xrPrint(String(line));
}

// Prints every key hit of an update; the Q key ends the program.
class ReportingApp : public c_App {
public:
    int updates = 0;

    int p_OnCreate() override {
        xr_app_SetUpdateRate(60);
        say("created %d", xr_app_DeviceWidth());
        return 0;
    }
    int p_OnUpdate() override {
        ++updates;
        for (int key = 1; key < 512; ++key)
            if (xr_input_KeyHit(key)) say("hit %d", key);
        if (xr_input_KeyHit('Q')) {
            say("updates %d", updates);
            xr_app_EndApp();
        }
        return 0;
    }
    int p_OnClose() override {
        say("close key down %d", xr_input_KeyDown(432));
        return c_App::p_OnClose();
    }
};

}  // namespace

int xrInit() {
    xr_modules_init();
    return 0;
}

void gc_mark() {
    xr_modules_mark();
}

int xrMain() {
    const char* what = argc > 1 ? argv[1] : "";
    if (!std::strcmp(what, "probe")) {
        xrPrint(String("probe ") + XrGame::_game->LoadString(String("vantle://data/probe.txt")));
        return 0;
    }
    (new ReportingApp())->m_new();
    if (!std::strcmp(what, "twice")) (new ReportingApp())->m_new();
    return 0;
}

int main(int argc, const char* argv[]) {
    XrVantleGame::Main(argc, argv);
    return 0;
}
