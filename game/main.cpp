#include <cstdio>
#include <string>

#include "game/commandline.h"
#include "host/platform.h"
#include "host/vantlegame.h"

int main(int argc, const char* argv[]) {
    platform::AttachOutput();
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
    // Where the system has a place for a player's saves, the game plays
    // there; without it, in the folder it was started in, which may be
    // read-only: the game still plays, and says why it may not keep scores.
    std::string why;
    if (!platform::EnterPlayersFolder(&why))
        std::fprintf(stderr, "glimmerdeep: %s; settings and scores are kept in the current folder\n", why.c_str());
    XrGlfwGame::_startFullscreen = line.fullscreen;
    XrVantleGame::Main(argc, argv);
    return 0;
}
