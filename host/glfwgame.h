// The desktop host on GLFW: window, frame loop and window events.
#pragma once

#include "host/game.h"

struct GLFWwindow;

struct XrDesktopMode {
    int width, height, red, green, blue, refresh;
};

class XrGlfwGame : public XrGame {
public:
    static XrGlfwGame* _glfwGame;

    XrGlfwGame();

protected:
    XrDesktopMode _desktopMode = {};
    GLFWwindow* _window = nullptr;
    int _width = 0;
    int _height = 0;
};
