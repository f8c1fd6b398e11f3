// The game's asset table (game/assets.cpp) against the generator's catalogue
// (tools/assetgen/catalog.h), which names its files from that table but lays
// them out itself: a cut the files cannot give, or a file the game asks for
// that nothing makes, must fail here, both in the tables and in what the
// loading screen really leaves in the image slots.
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "game/assets.h"
#include "graphics/device.h"
#include "shell/draw.h"
#include "shell/font.h"
#include "shell/sound.h"
#include "tests/harness/game_driver.h"
#include "tools/assetgen/catalog.h"

namespace {

const catalog::Sheet* sheet_at(const String& path) {
    for (const catalog::Sheet& sheet : catalog::sheets())
        if (path.ToUtf8() == sheet.path) return &sheet;
    return nullptr;
}

// The game's cut is the catalogue's. Only a file that is one whole picture
// may be cut otherwise, into tiles that cover it exactly (the emblem is one
// picture and, in step 2, 1024 tiles of it).
bool cut_fits(const GameImage& image, const catalog::Sheet& sheet) {
    if (image.frameWidth == sheet.cellW && image.frameHeight == sheet.cellH && image.frames == sheet.count)
        return true;
    const bool whole = sheet.count == 1 && sheet.cellW == sheet.width && sheet.cellH == sheet.height;
    return whole && sheet.width % image.frameWidth == 0 && sheet.height % image.frameHeight == 0 &&
           (sheet.width / image.frameWidth) * (sheet.height / image.frameHeight) == image.frames;
}

const GameImage* table_entry(int slot) {
    for (int i = 0; i < kGameImageCount; ++i)
        if (kGameImages[i].slot == slot) return &kGameImages[i];
    return nullptr;
}

TEST(Assets, TheTablesAskForWhatTheCatalogueMakesCutAsItIsLaidOut) {
    GameDriver g;  // creating the game sets the game number the paths use
    std::set<std::string> loaded = {kBuiltinFontFile};  // the graphics module's own

    for (int i = 0; i < kGameImageCount; ++i) {
        const GameImage& image = kGameImages[i];
        const String path = xr_ruvo_ImagePath(image.slot, String(image.name));
        loaded.insert(path.ToUtf8());
        const catalog::Sheet* sheet = sheet_at(path);
        ASSERT_NE(sheet, nullptr) << path.ToUtf8() << " is not in the catalogue";
        EXPECT_TRUE(cut_fits(image, *sheet))
            << image.name << ": " << image.frames << " frames of " << image.frameWidth << " x " << image.frameHeight
            << " from " << sheet->width << " x " << sheet->height << " cut as " << sheet->count << " of "
            << sheet->cellW << " x " << sheet->cellH;
    }

    const String font = xr_ruvo_ImagePath(IMG_FONT, String(kGameFont));
    loaded.insert(font.ToUtf8());
    const catalog::Sheet* sheet = sheet_at(font);
    ASSERT_NE(sheet, nullptr) << font.ToUtf8() << " is not in the catalogue";
    EXPECT_EQ(sheet->cellW, FONT_CELL);
    EXPECT_EQ(sheet->cellH, FONT_CELL);
    EXPECT_EQ(sheet->count, FONT_FRAMES);

    for (int i = 0; i < kGameSoundCount; ++i) {
        const std::string path = xr_ruvo_EffectPath(kGameSounds[i].number).ToUtf8();
        loaded.insert(path);
        bool made = false;
        for (const catalog::Sound& sound : catalog::effects()) made = made || path == sound.path;
        EXPECT_TRUE(made) << "sound " << kGameSounds[i].number << ": " << path << " is not in the catalogue";
    }
    EXPECT_EQ(xr_ruvo_TunePath(String(kGameTune)).ToUtf8(), catalog::musicPath());

    // And the other way: every file the generator makes is loaded.
    for (const catalog::Sheet& made : catalog::sheets())
        EXPECT_EQ(loaded.count(made.path), 1u) << made.path << " is made but never loaded";
    for (const catalog::Sound& made : catalog::effects())
        EXPECT_EQ(loaded.count(made.path), 1u) << made.path << " is made but never loaded";
}

// The real files through the real loading screen: every image slot it fills
// is cut as the table says, from a file of the catalogue's size.
TEST(Assets, TheLoadingScreenCutsEverySlotAsTheTableSays) {
    GameDriver g;
    g.Load();

    int slots = 0;
    for (int slot = 0; slot < xr_ruvo_RUVO_Img.Length(); ++slot) {
        const c_Image* img = xr_ruvo_RUVO_Img[slot];
        if (!img) continue;
        ++slots;
        const bool font = slot == IMG_FONT;
        const GameImage* entry = table_entry(slot);
        ASSERT_TRUE(font || entry) << "slot " << slot << " is loaded but not in the table";
        const char* name = font ? kGameFont : entry->name;
        const int width = font ? FONT_CELL : entry->frameWidth, height = font ? FONT_CELL : entry->frameHeight;
        const int frames = font ? FONT_FRAMES : entry->frames;
        EXPECT_EQ(img->m_width, width) << name;
        EXPECT_EQ(img->m_height, height) << name;
        EXPECT_EQ(img->m_frames.Length(), frames) << name;
        EXPECT_EQ(xr_ruvo_RUVO_ImgD[slot], frames) << name;
        if (!font) {
            EXPECT_EQ(xr_ruvo_RUVO_ImgW[slot], width) << name;
            EXPECT_EQ(xr_ruvo_RUVO_ImgH[slot], height) << name;
        }

        const catalog::Sheet* sheet = sheet_at(xr_ruvo_ImagePath(slot, String(name)));
        ASSERT_NE(sheet, nullptr) << name;
        ASSERT_NE(img->m_surface, nullptr) << name;
        EXPECT_EQ(img->m_surface->Width(), sheet->width) << name;
        EXPECT_EQ(img->m_surface->Height(), sheet->height) << name;
        int outside = 0;
        for (int f = 0; f < img->m_frames.Length(); ++f) {
            const c_Frame* frame = img->m_frames[f];
            outside += frame->m_x + width > sheet->width || frame->m_y + height > sheet->height;
        }
        EXPECT_EQ(outside, 0) << name << ": frames cut beyond the picture";
    }
    EXPECT_EQ(slots, kGameImageCount + 1) << "the table's images and the font";

    for (int i = 0; i < kGameSoundCount; ++i)
        EXPECT_NE(xr_ruvo_RUVO_SFX[kGameSounds[i].number], nullptr) << "sound " << kGameSounds[i].number;
}

}  // namespace
