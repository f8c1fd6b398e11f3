// The program's host, and the start-up sequence from main() to the frame loop.
#pragma once

#ifdef __EMSCRIPTEN__
#include "host/browsergame.h"
using XrHostGame = XrBrowserGame;
#else
#include "host/glfwgame.h"
using XrHostGame = XrGlfwGame;
#endif

class XrVantleGame : public XrHostGame {
public:
    static int Main(int argc, const char* argv[]);
};
