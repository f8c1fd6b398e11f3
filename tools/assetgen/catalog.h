// Every file of the data folder with its layout, named as the game's asset
// tables name it. The generator, the contact sheets and the tests read this,
// so a file is named once and a layout is written down once.
// The game font's cells, advances and icon frames are the text routine's own
// (shell/font.h): the glyphs are drawn to the advances the pen will move by.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "game/assets.h"
#include "graphics/graphics.h"
#include "shell/data_paths.h"
#include "shell/draw.h"
#include "shell/font.h"
#include "shell/menus.h"
#include "shell/sound.h"

namespace catalog {

struct Sheet {
    std::string path;  // relative to the data folder
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

// The data folder's name of image slot `slot` as the game loads it.
inline std::string imageFile(int slot) {
    if (slot == IMG_FONT) return xr_ruvo_ImageFile(GAME_NUMBER, slot, kGameFont);
    for (int i = 0; i < kGameImageCount; ++i)
        if (kGameImages[i].slot == slot) return xr_ruvo_ImageFile(GAME_NUMBER, slot, kGameImages[i].name);
    throw std::invalid_argument("no image slot " + std::to_string(slot) + " in the game's table");
}

inline std::string effectFile(int number) { return xr_ruvo_EffectFile(GAME_NUMBER, number); }

inline std::string musicPath() { return xr_ruvo_TuneFile(GAME_NUMBER, kGameTune); }
constexpr double kMusicMinSeconds = 60.0;

// The files of the game's table (game/assets.cpp) as the generator lays them
// out, by the slot the game loads each into and cut as the table cuts it.
// The emblem, loaded both whole and as tiles, is one file: its whole cut.
inline const std::vector<Sheet>& sheets() {
    static const std::vector<Sheet> all = [] {
        struct Layout {
            int slot;
            int width, height;
            std::vector<int> used;
        };
        const Layout layouts[] = {
            {IMG_EMBLEM, 1024, 1024, {0}},
            {IMG_PARTICLE_SHAPES_FULL, 128, 128, range(0, 15)},
            {IMG_PARTICLE_SHAPES, 128, 128, range(0, 15)},
            {IMG_PARTICLE_SMOKE, 128, 128, range(0, 15)},
            {IMG_PARTICLE_CLUSTER, 128, 128, range(0, 15)},
            {IMG_PARTICLE_STARS, 128, 128, range(0, 15)},
            {IMG_BUTTONS, 256, 256, range(0, 15)},
            {IMG_ICONS, 512, 512,
             {ICON_PAUSE, ICON_QUIT, ICON_RESUME, ICON_HIGHLIGHT, ICON_LIFE, ICON_TOOL, ICON_MAKER, ICON_BACK,
              ICON_GEAR_A, ICON_GEAR_B, ICON_GEAR_C}},
            {IMG_RING, 512, 512, range(0, 3)},
            {IMG_OPTION_ICONS, 476, 476,
             {OPTION_ICON_BACK, OPTION_ICON_SFX, OPTION_ICON_MUSIC, OPTION_ICON_OVERSCAN, OPTION_ICON_INVERT_LEFT,
              OPTION_ICON_INVERT_RIGHT, OPTION_ICON_FRAME_RATE, OPTION_ICON_BACKDROP}},
            {IMG_SCOREBOARD, 256, 256, {0}},
            {IMG_TITLE, 1024, 512, {0}},
            {IMG_MENU, 2048, 2048, {0, 1, 2}},
            {IMG_TILES, 120, 120, range(0, 17)},
        };
        std::vector<Sheet> sheets = {
            {kBuiltinFontFile, 10, 16, 96, 960, 16, range(1, 94)},
            {imageFile(IMG_FONT), FONT_CELL, FONT_CELL, FONT_FRAMES, FONT_COLUMNS * FONT_CELL,
             FONT_FRAMES / FONT_COLUMNS * FONT_CELL, fontFrames()},
        };
        for (const Layout& l : layouts)
            for (int i = 0; i < kGameImageCount; ++i) {
                const GameImage& g = kGameImages[i];
                if (g.slot == l.slot)
                    sheets.push_back({imageFile(l.slot), g.frameWidth, g.frameHeight, g.frames, l.width, l.height,
                                      l.used});
            }
        return sheets;
    }();
    return all;
}

struct Sound {
    std::string path;
    double maxSeconds;  // effects stay short
    double minSeconds;
};

inline const std::vector<Sound>& effects() {
    static const std::vector<Sound> all = {
        {effectFile(SFX_TREASURE), 1.0, 0.1},
        {effectFile(SFX_HIT), 1.0, 0.1},
        {effectFile(SFX_LAST_LIFE), 1.0, 0.3},
        {effectFile(SFX_SONAR), 1.0, 0.3},
        {effectFile(SFX_CHIME), 3.0, 1.0},
        {effectFile(SFX_MOVE), 1.0, 0.02},
        {effectFile(SFX_CONFIRM), 1.0, 0.05},
    };
    return all;
}

}  // namespace catalog
