#include "host/vantlegame.h"

#include <cstdio>
#include <cstdlib>

#include "host/glfw.h"

#include "runtime/startup.h"

static void on_glfw_error(int error, const char* message) {
    std::printf("GLFW Error: err=%i, msg=%s\n", error, message);
    std::fflush(stdout);
}

// The program ends through exit() from wherever the game decides to (the
// quit key, the menu, the close button, a runtime error), often inside a
// window callback. Whichever it is, the host shuts down first: on X11 a
// monitor that full screen switched to another mode only gets its own back
// when the window is destroyed.
static void close_host() {
    if (XrGlfwGame::_glfwGame)
        XrGlfwGame::_glfwGame->Shutdown();
    else
        glfwTerminate();
}

int XrVantleGame::Main(int argc, const char* argv[]) {
    glfwSetErrorCallback(on_glfw_error);
    if (!glfwInit()) {
        std::puts("glfwInit failed");
        std::fflush(stdout);
        std::exit(-1);
    }
    std::atexit(close_host);
    new XrVantleGame();
    try {
        xr_std_main(argc, argv);
    } catch (ThrowableObject* ex) {
        _game->Die(ex);
    }
    if (_game->Delegate()) _glfwGame->Run();
    close_host();
    return 0;
}
