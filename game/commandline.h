// The program's command line: read before anything opens a window, so that
// asking for help or giving a wrong option works without a display.
#pragma once

#include <cstdio>

struct CommandLine {
    enum Action { Play, Help, Version, Error };
    Action action = Play;
    bool fullscreen = false;       // start in full screen instead of a window
    const char* error = nullptr;   // what was wrong, for Error
    const char* culprit = nullptr; // the argument it was wrong about
};

// Any wrong argument makes the whole line an Error, whatever else it asks:
// a script that misspells an option hears about it rather than getting help.
CommandLine ParseCommandLine(int argc, const char* const argv[]);

void PrintUsage(std::FILE* to);
void PrintVersion(std::FILE* to);
