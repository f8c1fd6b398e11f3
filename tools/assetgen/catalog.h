// Every file of the data folder with its layout. The generator, the contact
// sheet and the tests read this one table, so a layout is written down once.
// The game font's cells, advances and icon frames are the text routine's own
// (shell/font.h): the glyphs are drawn to the advances the pen will move by.
#pragma once

#include <string>
#include <vector>

#include "shell/font.h"

namespace catalog {

struct Sheet {
    const char* path;  // relative to the data folder
    int cellW, cellH;  // one frame as the game cuts it
    int count;         // frames the game cuts from it
    int width, height; // the whole file
    // Frames that carry a meaning in the game and so must not be empty.
    std::vector<int> used;
};

inline std::vector<int> range(int from, int to) {
    std::vector<int> v;
    for (int i = from; i <= to; ++i) v.push_back(i);
    return v;
}

inline std::vector<int> join(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The game font's frames that show something: every glyph but the space's,
// and both rows of control icons (shell/font.h).
inline std::vector<int> fontFrames() {
    const int icons = int(sizeof kFontIconLetters) - 1;
    return join(join(range(1, FONT_LAST_GLYPH - FONT_FIRST_CODE),
                     range(FONT_ICON_PAD_ROW, FONT_ICON_PAD_ROW + icons - 1)),
                range(FONT_ICON_KEY_ROW, FONT_ICON_KEY_ROW + icons - 1));
}

inline const std::vector<Sheet>& sheets() {
    static const std::vector<Sheet> all = {
        {"vizo_font.png", 10, 16, 96, 960, 16, range(1, 94)},
        {"common/bandwidth.png", FONT_CELL, FONT_CELL, FONT_FRAMES, FONT_COLUMNS * FONT_CELL,
         FONT_FRAMES / FONT_COLUMNS * FONT_CELL, fontFrames()},
        {"common/RUVOLogo.png", 1024, 1024, 1, 1024, 1024, {0}},
        {"common/part-shapefull.png", 32, 32, 16, 128, 128, range(0, 15)},
        {"common/parts_shape.png", 32, 32, 16, 128, 128, range(0, 15)},
        {"common/parts_smoke.png", 32, 32, 16, 128, 128, range(0, 15)},
        {"common/parts_cluster.png", 32, 32, 16, 128, 128, range(0, 15)},
        {"common/parts_stars.png", 32, 32, 16, 128, 128, range(0, 15)},
        {"common/Buttons.png", 64, 64, 16, 256, 256, range(0, 15)},
        {"common/icons.png", 128, 128, 16, 512, 512, {0, 1, 3, 6, 8, 9, 10, 11, 12, 13, 14}},
        {"common/circle.png", 256, 256, 4, 512, 512, range(0, 3)},
        {"common/options.png", 68, 68, 49, 476, 476, {0, 1, 2, 3, 4, 5, 47, 48}},
        {"common/scoreboard.png", 256, 256, 1, 256, 256, {0}},
        {"503/logo.png", 1024, 512, 1, 1024, 512, {0}},
        {"503/menu.png", 1024, 1024, 4, 2048, 2048, {0, 1, 2}},
        {"503/gfx.png", 20, 20, 36, 120, 120, range(0, 17)},
    };
    return all;
}

struct Sound {
    const char* path;
    double maxSeconds;  // effects stay short; 0 for the music's minimum instead
    double minSeconds;
};

inline const std::vector<Sound>& effects() {
    static const std::vector<Sound> all = {
        {"503/sfx/001.wav", 1.0, 0.1},  // treasure chime
        {"503/sfx/002.wav", 1.0, 0.1},  // hit
        {"503/sfx/003.wav", 1.0, 0.3},  // last life lost
        {"503/sfx/004.wav", 1.0, 0.3},  // sonar ping
        {"common/096.wav", 3.0, 1.0},   // studio jingle
        {"common/098.wav", 1.0, 0.02},  // menu move
        {"common/099.wav", 1.0, 0.05},  // menu select
    };
    return all;
}

inline const char* musicPath() { return "503/sfx/Aqua.ogg"; }
constexpr double kMusicMinSeconds = 60.0;

}  // namespace catalog
