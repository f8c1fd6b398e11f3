// The program's host, and the start-up sequence from main() to the frame loop.
#pragma once

#include "host/glfwgame.h"

class XrVantleGame : public XrGlfwGame {
public:
    static int Main(int argc, const char* argv[]);
};
