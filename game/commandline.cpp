#include "game/commandline.h"

#include <cstring>
#include <string>

#include "host/platform.h"

CommandLine ParseCommandLine(int argc, const char* const argv[]) {
    CommandLine line;
    bool help = false, version = false;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (!std::strcmp(a, "--fullscreen")) {
            line.fullscreen = true;
        } else if (!std::strcmp(a, "--windowed")) {
            line.fullscreen = false;
        } else if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h")) {
            help = true;
        } else if (!std::strcmp(a, "--version")) {
            version = true;
        } else {
            line.action = CommandLine::Error;
            line.error = a[0] == '-' && a[1] ? "unknown option" : "unexpected argument";
            line.culprit = a;
            return line;
        }
    }
    if (help)
        line.action = CommandLine::Help;
    else if (version)
        line.action = CommandLine::Version;
    return line;
}

// The state file is named relative to the folder the game plays in; the
// usage names the very file this start would use, so that a player who runs
// it through the launcher sees the path in their data folder.
static std::string state_file() {
    std::string folder = platform::PlayersFolder();
    if (folder.empty()) folder = platform::WorkingFolder();
    const char separator = platform::kPathSeparator;
    if (folder.empty()) return std::string(".") + separator + ".vantlestate";
    if (folder.back() != separator) folder += separator;
    return folder + ".vantlestate";
}

void PrintUsage(std::FILE* to) {
    std::fprintf(to,
                 "Usage: glimmerdeep [OPTION]...\n"
                 "Steer a diver through a dark underwater cave lit only by sonar, collect its\n"
                 "treasure and keep clear of rock, vents and drifting hazards.\n"
                 "\n"
                 "Options:\n"
                 "  --fullscreen  start in full screen\n"
                 "  --windowed    start in a 640 x 480 window (the default)\n"
                 "  -h, --help    print this help and exit\n"
                 "  --version     print the version and exit\n"
                 "\n"
                 "Keys:\n"
                 "  arrow keys, W A S D, keypad 8 4 6 2   swim; move in menus\n"
                 "  Enter, Space, Z, J                    choose\n"
                 "  left, right                           change a setting in Options\n"
                 "  Escape, Backspace, Delete, ~          pause and resume; back in menus\n"
                 "  C, L, Shift                           back in menus\n"
                 "  F1 frame rate   F2 hide the score   F11 full screen   F4 quit\n"
                 "Game pads: left stick or d-pad to swim, A to choose, X back, Start to pause.\n"
                 "\n"
                 "Settings and scores are kept in %s\n"
                 "%s",
                 state_file().c_str(), platform::PlayersFolderNote());
}

void PrintVersion(std::FILE* to) {
    std::fprintf(to,
                 "glimmerdeep %s\n"
                 "Copyright (c) 2026 the Glimmerdeep developers.\n"
                 "MIT licence; the rendered font glyphs are under the Bitstream Vera licence.\n",
                 GLIMMERDEEP_VERSION);
}
