#include "host/vantlegame.h"

#include <cstdio>
#include <cstdlib>

#include <GLFW/glfw3.h>

#include "runtime/startup.h"

static void OnGlfwError(int error, const char* message) {
    std::printf("GLFW Error: err=%i, msg=%s\n", error, message);
    std::fflush(stdout);
}

int XrVantleGame::Main(int argc, const char* argv[]) {
    glfwSetErrorCallback(OnGlfwError);
    if (!glfwInit()) {
        std::puts("glfwInit failed");
        std::fflush(stdout);
        std::exit(-1);
    }
    new XrVantleGame();
    try {
        xr_std_main(argc, argv);
    } catch (ThrowableObject* ex) {
        glfwTerminate();
        _game->Die(ex);
    }
    if (_game->Delegate()) _glfwGame->Run();
    glfwTerminate();
    return 0;
}
