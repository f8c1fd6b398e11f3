// The frame renderer on a real window.
#include <gtest/gtest.h>

#include "game/render.h"
#include "game/world.h"
#include "host/app.h"
#include "shell/controls.h"
#include "shell/draw.h"
#include "shell/state.h"
#include "tests/graphics/gl_fixture.h"
#include "tests/harness/test_roots.h"

namespace {

class Render : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        xr_ruvo_state_init();
        xr_ruvo_draw_init();
        xr_ruvo_world_init();
        xr_app__game = host;
        xr_app__devWidth = kWidth;
        xr_app__devHeight = kHeight;
    }
};

TEST_F(Render, VirtualScreenFollowsTheLongerSide) {
    struct Case {
        int w, h, vw, vh;
    };
    for (const Case& c : {Case{1920, 1080, 800, 450}, Case{1080, 1920, 450, 800}, Case{1024, 768, 800, 600},
                          Case{320, 240, 800, 600}}) {
        xr_app__devWidth = c.w;
        xr_app__devHeight = c.h;
        xr_ruvo_RenderWorld();
        xr_ruvo_RenderWorld();
        EXPECT_EQ(xr_ruvo_jscrw, c.vw) << c.w << "x" << c.h;
        EXPECT_EQ(xr_ruvo_jscrh, c.vh) << c.w << "x" << c.h;
        EXPECT_EQ(xr_ruvo_RUVO_Orientation, c.h > c.w ? 1 : 0);
        EXPECT_EQ(xr_ruvo_RealW, c.w);
    }
}

TEST_F(Render, CameraClosesAnEighthAFrame) {
    xr_ruvo_aimx = 0;
    xr_ruvo_scrx = 800;
    xr_ruvo_RenderWorld();
    EXPECT_FLOAT_EQ(xr_ruvo_scrx, 700);
    EXPECT_FLOAT_EQ(xr_ruvo_RUVO_ScrollX, 100);
    xr_ruvo_RenderWorld();
    EXPECT_FLOAT_EQ(xr_ruvo_scrx, 612.5f);
}

TEST_F(Render, ClearsToTheClearColourOrBlackWhilePaused) {
    float* style = xr_ruvo_RUVO_DrawStyle.Data();
    style[STYLE_CLEAR_RED] = 200;
    style[STYLE_CLEAR_GREEN] = 100;
    style[STYLE_CLEAR_BLUE] = 50;
    style[STYLE_CLEAR_ALPHA] = 1;
    xr_ruvo_RenderWorld();
    EndFrame();
    EXPECT_TRUE(NearRgb(Pixel(5, 5), {200, 100, 50}));
    EXPECT_TRUE(NearRgb(Pixel(kWidth - 2, kHeight - 2), {200, 100, 50}));
    BeginFrame();
    xr_ruvo_RUVO_Paused = 1;
    xr_ruvo_RenderWorld();
    EndFrame();
    EXPECT_TRUE(NearRgb(Pixel(5, 5), {0, 0, 0}));
    BeginFrame();
}

TEST_F(Render, PlaysTheQueuedListInVirtualUnits) {
    // 320 x 240 pixels are 800 x 600 units: a 100-unit square is 40 pixels.
    xr_ruvo_RenderWorld();
    xr_ruvo_SetCol(0, 255, 0);
    xr_ruvo_Rect(400, 300, 100, 100, 1, 1);
    xr_ruvo_RenderWorld();
    EndFrame();
    EXPECT_TRUE(NearRgb(Pixel(160, 120), {0, 255, 0}));
    EXPECT_TRUE(NearRgb(Pixel(141, 101), {0, 255, 0}));
    EXPECT_TRUE(NearRgb(Pixel(138, 120), {0, 0, 0}));
    EXPECT_EQ(xr_ruvo_Sprtup, 0);
    EXPECT_EQ(xr_ruvo_RUVO_Data[DATA_PLAYED_COMMANDS], 1);
    BeginFrame();
}

TEST_F(Render, DebugOverlayOnlyWhenAskedFor) {
    xr_ruvo_mx = 100;
    xr_ruvo_my = 100;
    xr_ruvo_RenderWorld();
    EXPECT_EQ(xr_ruvo_RUVO_Data[DATA_PLAYED_COMMANDS], 0) << "nothing but the list and the particles";
    xr_ruvo_RUVO_DebugMode = 1;
    xr_ruvo_RenderWorld();
    EXPECT_EQ(xr_ruvo_RUVO_Data[DATA_PLAYED_COMMANDS], 4) << "the pointer cross (no font loaded, no text)";
}

TEST_F(Render, BackgroundHues) {
    struct Case {
        float angle, saturation, brightness;
        Rgb expected;
    };
    for (const Case& c : {Case{0, 1, 1, {255, 64, 64}}, Case{0, 0, 1, {128, 128, 128}}, Case{120, 1, 0.4f, {0, 0, 102}}}) {
        xr_ruvo_BGRot(c.angle, c.saturation, c.brightness);
        const float* s = xr_ruvo_RUVO_DrawStyle.Data();
        EXPECT_NEAR(s[STYLE_CLEAR_TARGET_RED], c.expected.r, 0.5) << c.angle;
        EXPECT_NEAR(s[STYLE_CLEAR_TARGET_GREEN], c.expected.g, 0.5) << c.angle;
        EXPECT_NEAR(s[STYLE_CLEAR_TARGET_BLUE], c.expected.b, 0.5) << c.angle;
        EXPECT_EQ(s[STYLE_CLEAR_ALPHA], 1);
    }
}

}  // namespace
