#include <cstdio>

#include "game/commandline.h"
#include "host/vantlegame.h"

int main(int argc, const char* argv[]) {
    const CommandLine line = ParseCommandLine(argc, argv);
    switch (line.action) {
    case CommandLine::Help:
        PrintUsage(stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    case CommandLine::Version:
        PrintVersion(stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    case CommandLine::Error:
        std::fprintf(stderr, "glimmerdeep: %s '%s'\n", line.error, line.culprit);
        PrintUsage(stderr);
        return 2;
    case CommandLine::Play:
        break;
    }
    XrGlfwGame::_startFullscreen = line.fullscreen;
    XrVantleGame::Main(argc, argv);
    return 0;
}
