// The services that differ between Linux and the browser, for the browser.
// The page's script (platform/browser/glimmerdeep.pre.js) sets up the file system these rely on:
// the data folder preloaded beside the program, the working folder in the
// page's storage.
#include "host/platform.h"

#include <emscripten.h>

namespace platform {

// The page's file system holds the program nowhere; this is the place the
// data folder was preloaded beside.
std::string ProgramPath() {
    return "/game/glimmerdeep";
}

EM_JS(void, browser_open_tab, (const char* url), {
    window.open(UTF8ToString(url), "_blank", "noopener");
});

bool OpenUrl(const std::string& url) {
    browser_open_tab(url.c_str());
    return true;
}

// Sleeping unwinds the program's stack to the page and winds it back when
// the page's timer fires: the page paints and takes input meanwhile.
void SleepMs(int ms) {
    emscripten_sleep(ms > 0 ? unsigned(ms) : 0);
}

// A WebAssembly memory never shrinks: nothing to give back.
void ReleaseFreeMemory() {}

// A flush in the page's file system copies the whole working folder to the
// page's storage, in the middle of a save and whether or not that storage
// could be read at the start, when it would put the defaults over the
// player's scores. SyncStorage copies it after the save, when it may.
bool FlushFile(int) {
    return true;
}

EM_JS(void, browser_sync_storage, (), {
    if (Module.syncStorage) Module.syncStorage();
});

void SyncStorage() {
    browser_sync_storage();
}

}  // namespace platform
