#include "host/glfwgame.h"

#include <GLFW/glfw3.h>

XrGlfwGame* XrGlfwGame::_glfwGame;

XrGlfwGame::XrGlfwGame() {
    _glfwGame = this;
    if (const GLFWvidmode* mode = glfwGetVideoMode(glfwGetPrimaryMonitor())) {
        _desktopMode = {mode->width, mode->height, mode->redBits, mode->greenBits, mode->blueBits,
                        mode->refreshRate};
    }
}
