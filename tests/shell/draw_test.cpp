// The deferred draw list: command layouts, limits, text layout, and one real
// frame played back through the graphics module.
#include <cmath>

#include <gtest/gtest.h>

#include "game/modules.h"
#include "tests/harness/test_roots.h"
#include "shell/draw.h"
#include "shell/state.h"
#include "tests/graphics/gl_fixture.h"
#include "tests/harness/draw_list.h"

namespace {

class DrawList : public ::testing::Test {
protected:
    void SetUp() override {
        ResetModules();
        xr_ruvo_RUVO_ImgD[7] = 4;
    }
};

TEST_F(DrawList, StyleSetters) {
    xr_ruvo_SetSize(2);
    EXPECT_EQ(xr_ruvo_RUVO_DrawStyle[STYLE_SCALE_X], 2);
    EXPECT_EQ(xr_ruvo_RUVO_DrawStyle[STYLE_SCALE_Y], 2);
    xr_ruvo_SetSize(2, 3);
    EXPECT_EQ(xr_ruvo_RUVO_DrawStyle[STYLE_SCALE_Y], 3);
    xr_ruvo_Alpha(0.4f);
    xr_ruvo_SetCol(10, 20, 30);
    EXPECT_FLOAT_EQ(xr_ruvo_RUVO_DrawStyle[STYLE_ALPHA], 0.4f) << "alpha kept";
    xr_ruvo_SetCol(300, -5, 0, 2);
    EXPECT_EQ(xr_ruvo_RUVO_DrawStyle[STYLE_RED], 255);
    EXPECT_EQ(xr_ruvo_RUVO_DrawStyle[STYLE_GREEN], 0);
    EXPECT_EQ(xr_ruvo_RUVO_DrawStyle[STYLE_ALPHA], 1);
    xr_ruvo_Ink(2, 0.5f);
    EXPECT_FLOAT_EQ(xr_ruvo_RUVO_DrawStyle[STYLE_RED], 127.5f);
    EXPECT_FLOAT_EQ(xr_ruvo_RUVO_DrawStyle[STYLE_GREEN], 63.75f);
    xr_ruvo_Ink(42, 4);
    EXPECT_FLOAT_EQ(xr_ruvo_RUVO_DrawStyle[STYLE_RED], 255) << "grey, clamped";
    xr_ruvo_SetCLSCol(-4, 300, 9, 5);
    EXPECT_EQ(xr_ruvo_RUVO_DrawStyle[STYLE_CLEAR_TARGET_RED], 0);
    EXPECT_EQ(xr_ruvo_RUVO_DrawStyle[STYLE_CLEAR_TARGET_GREEN], 255);
    EXPECT_EQ(xr_ruvo_RUVO_DrawStyle[STYLE_CLEAR_ALPHA], 1);
    EXPECT_EQ(xr_ruvo_Sprtup, 0) << "no setter but the skew appends";
}

TEST_F(DrawList, CommandLayouts) {
    xr_ruvo_SetCol(1, 2, 3, 0.5f);
    xr_ruvo_SetSize(2, 3);
    xr_ruvo_SetRot(45);
    xr_ruvo_DrawImg(7, 10, 20, 6);
    xr_ruvo_Rect(100, 50, 40, 20, 1, 2);
    xr_ruvo_Triangle(1, 2, 3, 4, 5, 6);
    xr_ruvo_Line(7, 8, 9, 10);
    xr_ruvo_DrawImg(7, 0, 0, -3);
    xr_ruvo_DrawImg(0, 0, 0, 0);
    xr_ruvo_DrawImg(100, 0, 0, 0);
    ASSERT_EQ(xr_ruvo_Sprtup, 5) << "image numbers outside 1..99 draw nothing";

    struct Case {
        std::vector<float> params;  // from CMD_TYPE on
    };
    const Case cases[] = {
        {{1, 7, 10, 20, 2}},          // frame 6 mod 4 frames
        {{2, 0, 80, 30, 40, 20}},     // centred across, bottom edge on y
        {{4, 0, 1, 2, 3, 4, 5, 6}},
        {{5, 0, 7, 8, 9, 10}},
        {{1, 7, 0, 0, 0}},            // a negative frame draws frame 0
    };
    for (int n = 0; n < 5; ++n) {
        const float* c = Command(n);
        const float style[STYLE_STAMPED] = {0.5f, 1, 2, 3, 2, 3, 45, 0, 0};
        for (int i = 0; i < STYLE_STAMPED; ++i) EXPECT_EQ(c[i], style[i]) << "command " << n << " slot " << i;
        const std::vector<float>& p = cases[n].params;
        for (size_t i = 0; i < p.size(); ++i) {
            if (CMD_TYPE + int(i) == CMD_IMAGE && p[0] != RUVO_CMD_IMAGE) continue;  // images' only
            EXPECT_EQ(c[CMD_TYPE + i], p[i]) << "command " << n << " slot " << CMD_TYPE + i;
        }
    }
}

TEST_F(DrawList, AcceptsCommandsUpToNumberFiveThousand) {
    xr_ruvo_Sprtup = 5000;
    xr_ruvo_Line(1, 1, 2, 2);
    EXPECT_EQ(xr_ruvo_Sprtup, 5001);
    EXPECT_EQ(Command(5000)[CMD_TYPE], RUVO_CMD_LINE);
    xr_ruvo_Line(1, 1, 2, 2);
    xr_ruvo_SetSkew(1, 1);
    EXPECT_EQ(xr_ruvo_Sprtup, 5001);
}

TEST_F(DrawList, ResetClearsAPendingSkew) {
    xr_ruvo_SetSkew(0.5f, 0);
    xr_ruvo_Rect(0, 0, 1, 1, 0, 0);
    xr_ruvo_ResetDraw();
    ASSERT_EQ(xr_ruvo_Sprtup, 3);
    EXPECT_EQ(Command(2)[CMD_TYPE], RUVO_CMD_SKEW);
    EXPECT_EQ(Command(2)[STYLE_SKEW_X], 0) << "later commands are unskewed";

    xr_ruvo_Sprtup = 0;
    xr_ruvo_SetSkew(0.5f, 0);
    xr_ruvo_Sprtup = 0;
    xr_ruvo_ResetDraw();
    EXPECT_EQ(xr_ruvo_Sprtup, 0) << "an empty list takes no command";
    EXPECT_EQ(xr_ruvo_RUVO_DrawStyle[STYLE_SKEW_X], 0);
}

// Glyph commands of the last text: (x, y, frame) each.
std::vector<std::vector<float>> glyphs() {
    std::vector<std::vector<float>> out;
    for (int n = 0; n < xr_ruvo_Sprtup; ++n) {
        const float* c = Command(n);
        out.push_back({c[CMD_X], c[CMD_Y], c[CMD_FRAME]});
    }
    return out;
}

String text_of(const std::u16string& u) {
    return String(reinterpret_cast<const Char*>(u.data()), int(u.size()));
}

TEST_F(DrawList, TextLayout) {
    EXPECT_EQ(xr_ruvo_Text(10, 10, String("A"), 0, 0, 0, 0), 0) << "no font, no text";
    xr_ruvo_RUVO_Font = 99;
    xr_ruvo_RUVO_ImgD[99] = 128;
    struct Case {
        const char* name;
        std::u16string text;
        float x, y, align, sx;
        int result;
        std::vector<std::vector<float>> drawn;
    };
    const Case cases[] = {
        {"empty", u"", 10, 10, 0, 1.5f, 46, {}},
        {"centred pair", u"AB", 400, 300, 1, 1, 445, {{401, 300, 33}, {423, 300, 34}}},
        {"left aligned", u"il", 100, 100, 0, 1, 144, {{124, 122, 73}, {135, 122, 76}}},
        {"line break", u"A\\nB", 100, 100, 0, 1, 160, {{124, 122, 33}, {138, 160, 34}}},
        {"line feed", u"A\nB", 100, 100, 0, 1, 196, {{124, 122, 33}, {174, 122, 34}}},
        {"icon", u"x\u00acJy", 100, 100, 0, 1, 224, {{124, 122, 88}, {146, 122, 112}, {202, 122, 89}}},
        {"code 0", std::u16string(u"A") + char16_t(0) + u"B", 100, 100, 0, 1, 168, {{124, 122, 33}, {146, 122, 34}}},
        // Codes up to 141 move the pen by the kerning table, by nothing past
        // the glyphs; past 141 by 28, whatever frame they show.
        {"the last measured code", u"A\u008dB", 100, 100, 0, 1, 168, {{124, 122, 33}, {146, 122, 109}, {146, 122, 34}}},
        {"past it", u"A\u008eB", 100, 100, 0, 1, 196, {{124, 122, 33}, {146, 122, 110}, {174, 122, 34}}},
        {"trailing icon mark", u"A\u00ac", 100, 100, 0, 1, 174, {{124, 122, 33}}},
        {"trailing backslash", u"A\\", 100, 100, 0, 1, 168, {{124, 122, 33}, {146, 122, 60}}},
        {"culled", u"AB", -400, 100, 0, 1, -332, {}},
    };
    for (const Case& c : cases) {
        xr_ruvo_Sprtup = 0;
        xr_ruvo_SetSize(c.sx);
        int result = xr_ruvo_Text(c.x, c.y, text_of(c.text), c.align, c.align, 0, 0);
        EXPECT_EQ(result, c.result) << c.name;
        std::vector<std::vector<float>> got = glyphs();
        ASSERT_EQ(got.size(), c.drawn.size()) << c.name;
        for (size_t i = 0; i < got.size(); ++i)
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(got[i][size_t(k)], c.drawn[i][size_t(k)], 1e-3) << c.name << " glyph " << i;
    }

    // A wave lifts each glyph by its height times the sine, in degrees, at
    // its place: neighbours half an advance apart along it, so the title
    // ripples rather than jumps letter by letter.
    xr_ruvo_Sprtup = 0;
    xr_ruvo_SetSize(1);
    xr_ruvo_Text(100, 100, String("Paused"), 0, 0, 30, 16);
    std::vector<std::vector<float>> wave = glyphs();
    ASSERT_EQ(wave.size(), 6u);
    const double kRad = 3.14159265358979 / 180;
    for (size_t i = 0; i < wave.size(); ++i) {
        EXPECT_NEAR(wave[i][1], 122 + 16 * std::sin((30 + 0.5 * wave[i][0]) * kRad), 1e-3) << "glyph " << i;
        if (i == 0) continue;
        const double along = 0.5 * (wave[i][0] - wave[i - 1][0]) * kRad;  // the wave's step, in radians
        EXPECT_LE(std::fabs(wave[i][1] - wave[i - 1][1]), 16 * along + 1e-3) << "glyph " << i << " jumps";
    }
}

// A real frame: queued shapes, an image and text land on their pixels.
class DrawFrame : public GraphicsTest {};

TEST_F(DrawFrame, PlaybackDrawsTheQueuedCommands) {
    xr_ruvo_draw_init();
    xr_ruvo_RUVO_Scale = 1;

    Picture sheet(16, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) sheet.Set(x, y, 0, x < 8 ? 255 : 0, x < 8 ? 0 : 255);
    gc_assign(xr_ruvo_RUVO_Img[5], xr_graphics_LoadImage2(String(WritePng("sheet.png", sheet).c_str()), 8, 8, 2,
                                                          c_Image::HandleCentre));
    xr_ruvo_RUVO_ImgD[5] = 2;
    Picture font(1024, 512);
    for (int y = 24; y < 40; ++y)
        for (int x = 64 + 24; x < 64 + 40; ++x) font.Set(x, 128 + y, 255, 255, 0);  // cell 33: 'A'
    gc_assign(xr_ruvo_RUVO_Img[9], xr_graphics_LoadImage2(String(WritePng("font.png", font).c_str()), 64, 64, 128,
                                                          c_Image::HandleCentre));
    xr_ruvo_RUVO_ImgD[9] = 128;
    xr_ruvo_RUVO_Font = 9;

    xr_ruvo_SetCol(255, 0, 0);
    xr_ruvo_Rect(10, 10, 40, 30, 0, 0);
    xr_ruvo_ResetDraw();
    xr_ruvo_DrawImg(5, 100, 100, 1);
    xr_ruvo_Text(200, 50, String("A"), 1, 1, 0, 0);
    xr_ruvo_Line(0, 200, 300, 200);
    xr_ruvo_PlayDraw();
    EXPECT_EQ(xr_ruvo_Sprtup, 0);
    EXPECT_EQ(xr_ruvo_RUVO_Data[DATA_PLAYED_COMMANDS], 4);
    EndFrame();

    EXPECT_TRUE(NearRgb(Pixel(20, 20), {255, 0, 0}));
    EXPECT_TRUE(NearRgb(Pixel(55, 20), {0, 0, 0}));
    EXPECT_TRUE(NearRgb(Pixel(97, 97), {0, 0, 255})) << "frame 1, centred on its place";
    EXPECT_TRUE(NearRgb(Pixel(94, 100), {0, 0, 0}));
    EXPECT_TRUE(NearRgb(Pixel(212, 50), {255, 255, 0})) << "the glyph right of the leading space";
    EXPECT_TRUE(NearRgb(Pixel(200, 50), {0, 0, 0}));
    EXPECT_TRUE(NearRgb(Pixel(150, 200), {255, 255, 255}));
    BeginFrame();
}

}  // namespace
