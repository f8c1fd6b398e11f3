// The makers of each data file. Each returns the finished picture; main()
// decides where it goes.
#pragma once

#include <string>

#include "tools/assetgen/raster.h"
#include "tools/assetgen/typeset.h"

namespace art {

struct FontSet {
    explicit FontSet(const std::string& dir)
        : sans(dir + "/DejaVuSans-Bold.ttf"), mono(dir + "/DejaVuSansMono-Bold.ttf") {}
    Face sans, mono;
};

// The one palette every picture draws from.
namespace pal {
constexpr uint32_t abyss = 0x040d1a, navy = 0x071a2c, deep = 0x0b2a4a, ocean = 0x124a73, teal = 0x1b7f8e,
                   aqua = 0x3cc8cc, foam = 0xc9f5f2, gold = 0xf2c230, goldDeep = 0xb07a12, goldLight = 0xfff1a8,
                   coral = 0xff6f5e, red = 0xd6283a, ember = 0xff9a3c, sand = 0xd8c08a, kelp = 0x2f8f5b;
}

// Fonts: the game's bitmap font and the framework's default strip font.
Image gameFont(const FontSet& fonts);
Image defaultFont(const FontSet& fonts);
// Draws text at (x, baseline) in the game's glyph style (light face, dark
// outline), for panels that carry words of their own.
void lettering(Image& img, const Face& face, const std::string& text, float em, float x, float baseline,
               RGBA top, RGBA bottom, RGBA outline, float outlineWidth);

// Sprites and particles.
Image spriteSheet();
Image shapeParticles(bool filled);
Image smokeParticles();
Image clusterParticles();
Image starParticles();

// Interface.
Image buttons(const FontSet& fonts);
Image icons(const FontSet& fonts);
Image rings();
Image optionIcons(const FontSet& fonts);
Image scoreboard(const FontSet& fonts);

// Large pictures.
Image studioEmblem(int size);
Image titleLogo(const FontSet& fonts);
Image menuBackdrop();

}  // namespace art
