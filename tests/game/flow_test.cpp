// The whole game driven in this process: loading, menu, a new game, pause,
// the end of a game and its score, with real devices and the generated data.
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "game/world.h"
#include "host/input.h"
#include "shell/controls.h"
#include "shell/draw.h"
#include "shell/menus.h"
#include "shell/credits.h"
#include "shell/scores.h"
#include "shell/sound.h"
#include "shell/state.h"
#include "tests/harness/draw_list.h"
#include "tests/harness/game_driver.h"
#include "tests/harness/host_fixture.h"

namespace {

float& Cell(int x, int y) {
    return xr_ruvo_grid.Data()[xr_ruvo_Cell(x, y)];
}

TEST(Flow, LoadingScreenForSixtyUpdatesThenTheMenu) {
    GameDriver g;
    for (int update = 1; update <= 60; ++update) {
        g.Update();
        ASSERT_GT(xr_ruvo_RUVO_Loader, 0) << "update " << update;
        EXPECT_EQ(xr_ruvo_RUVO_MenuPos[POS_INTRO], -64) << "the menu has not run";
    }
    EXPECT_NE(xr_ruvo_RUVO_Img[IMG_TILES], nullptr) << "the game's sprites are loaded";
    ASSERT_NE(xr_ruvo_RUVO_Img[IMG_EMBLEM_TILES], nullptr);
    ASSERT_NE(xr_ruvo_RUVO_Img[IMG_EMBLEM], nullptr);
    EXPECT_EQ(xr_ruvo_RUVO_Img[IMG_EMBLEM_TILES]->m_surface, xr_ruvo_RUVO_Img[IMG_EMBLEM]->m_surface)
        << "the logo's tiles and the whole logo: one picture, one texture";
    EXPECT_EQ(xr_ruvo_RUVO_Img[IMG_EMBLEM_TILES]->m_frames.Length(), 1024);
    EXPECT_EQ(xr_ruvo_RUVO_Img[IMG_EMBLEM]->m_width, 1024);
    EXPECT_NE(xr_ruvo_RUVO_SFX[4], nullptr) << "and its sounds";
    EXPECT_EQ(xr_ruvo_RUVO_Font, IMG_FONT);
    g.Update();
    EXPECT_EQ(xr_ruvo_RUVO_Loader, 0);
    EXPECT_EQ(xr_ruvo_RUVO_MenuPos[POS_INTRO], -60) << "the menu's intro started on update 61";
    EXPECT_EQ(xr_ruvo_RUVO_Set[SET_LOADED], 1);
    EXPECT_EQ(xr_ruvo_RUVO_Creds, 70) << "fourteen credits";
}

TEST(Flow, EnterTwiceStartsANormalGameWithMusic) {
    GameDriver g;
    g.Load();
    g.Update();  // nothing held: the menu's latch frees
    g.Tap(KEY_ENTER);
    EXPECT_EQ(xr_ruvo_RUVO_MenuPos[POS_LEVEL], 2) << "the difficulty list";
    g.Press(KEY_ENTER);
    g.Update();
    EXPECT_EQ(xr_ruvo_RUVO_GameMode, MODE_START);
    EXPECT_EQ(xr_ruvo_RUVO_GameType, 2) << "Normal is the list's first choice";
    g.Release(KEY_ENTER);
    g.Update();
    EXPECT_EQ(xr_ruvo_RUVO_GameMode, MODE_PLAY);
    EXPECT_EQ(xr_ruvo_RUVO_MusicPlaying, 1);
    EXPECT_EQ(xr_audio_device->MusicState(), 1);
    EXPECT_FLOAT_EQ(xr_ruvo_plr[PLR_LIVES], 3);
    EXPECT_FLOAT_EQ(xr_ruvo_plr[PLR_DANGER], 1.0f);
}

// In a web page the player cannot end the program: the menu offers three
// items, the cursor stops at Credits, and choosing it opens the credits.
TEST(Flow, AHostWithoutAWayToQuitHidesQuit) {
    GameDriver g(640, 480, false);
    g.Load();
    g.Update();
    EXPECT_EQ(xr_ruvo_HasQuit, 0);
    for (int i = 0; i < 4; ++i) {
        g.Tap(KEY_DOWN);
        g.Update();
    }
    EXPECT_EQ(xr_ruvo_RUVO_MenuPos[POS_FIRST_CURSOR], 2) << "Credits is the last item";
    g.Tap(KEY_ENTER);
    EXPECT_EQ(xr_ruvo_RUVO_OptCred, OVERLAY_CREDITS);
}

TEST(Flow, PauseTogglesOnThePressOnly) {
    GameDriver g;
    g.StartGame(1);
    g.Update(2);
    g.Press(KEY_ESCAPE);
    for (int i = 0; i < 5; ++i) {
        g.Update();
        EXPECT_EQ(xr_ruvo_RUVO_Paused, 1) << "held for " << i + 1 << " updates";
    }
    EXPECT_EQ(xr_ruvo_RUVO_MusicPlaying, 2) << "the music pauses with the game";
    float x = xr_ruvo_plr[PLR_X];
    int sonar = int(xr_ruvo_plr[PLR_SONAR]);
    g.Update(3);
    EXPECT_EQ(int(xr_ruvo_plr[PLR_SONAR]), sonar) << "the world is frozen";
    EXPECT_FLOAT_EQ(xr_ruvo_plr[PLR_X], x);
    g.Release(KEY_ESCAPE);
    g.Update(2);
    g.Press(KEY_ESCAPE);
    g.Update();
    EXPECT_EQ(xr_ruvo_RUVO_Paused, 0);
    EXPECT_EQ(xr_ruvo_RUVO_MusicPlaying, 1);
}

// A touch near the pause button's corner pauses the game, once: held on, it
// neither unpauses the game nor pauses it again after the keyboard has
// resumed it. Let go and touched again, it pauses again.
TEST(Flow, ATouchInTheTopLeftCornerPausesOnce) {
    GameDriver g;
    g.StartGame(1);
    g.Update(2);
    g.MouseDown(20, 20);  // 22 units from the corner
    g.Update();
    EXPECT_EQ(xr_ruvo_RUVO_Paused, 1);
    EXPECT_EQ(xr_ruvo_RUVO_MusicPlaying, 2) << "the music pauses with the game";
    g.Update(5);
    EXPECT_EQ(xr_ruvo_RUVO_Paused, 1) << "holding it does not unpause";
    g.Tap(KEY_ESCAPE);
    EXPECT_EQ(xr_ruvo_RUVO_Paused, 0) << "resumed from the keyboard, the touch still held";
    g.Update(5);
    EXPECT_EQ(xr_ruvo_RUVO_Paused, 0) << "the held touch does not pause again";
    g.MouseUp(20, 20);
    g.Update();
    g.MouseDown(20, 20);
    g.Update();
    EXPECT_EQ(xr_ruvo_RUVO_Paused, 1) << "a new touch does";
    g.MouseUp(20, 20);
    g.Update();
    g.Tap(KEY_ESCAPE);
    ASSERT_EQ(xr_ruvo_RUVO_Paused, 0);

    // Within 48 units of the corner; a unit is 1.28 window pixels.
    struct Case {
        float x, y;  // window pixels
        bool pauses;
    };
    const Case cases[] = {{0, 47.5f * 1.28f, true},  {0, 48.5f * 1.28f, false}, {43, 43, true},
                          {44, 44, false},           {200, 200, false}};
    for (const Case& c : cases) {
        g.Update(2);
        g.MouseDown(c.x, c.y);
        g.Update();
        EXPECT_EQ(xr_ruvo_RUVO_Paused, c.pauses ? 1 : 0) << c.x << "," << c.y;
        g.MouseUp(c.x, c.y);
        g.Update();
        if (xr_ruvo_RUVO_Paused) g.Tap(KEY_ESCAPE);
    }
}

// The first update of a game judges contacts where the player is, whichever
// cave the clock gave and however many updates ran before the game: rock at
// the screen's top-left corner does not hurt, rock under the player does.
TEST(Flow, TheFirstUpdateOfAGameJudgesContactWhereThePlayerIs) {
    struct Case {
        int updatesBefore;
        bool rockUnderThePlayer;
    };
    for (const Case& c : {Case{0, false}, Case{7, false}, Case{0, true}, Case{3, true}}) {
        SCOPED_TRACE(testing::Message() << c.updatesBefore << " updates in the menu, rock "
                                        << (c.rockUnderThePlayer ? "under the player" : "at the corner"));
        GameDriver g;
        g.Load();
        g.Update(c.updatesBefore);
        xr_ruvo_RUVO_GameType = 1;
        xr_ruvo_RUVO_GameMode = MODE_START;
        g.Update();
        ASSERT_EQ(xr_ruvo_RUVO_GameMode, MODE_PLAY);
        xr_ruvo_plr[PLR_INVULNERABLE] = 0;
        // Open water over the whole view, then the rock.
        const int px = int(xr_ruvo_plr[PLR_X]), py = int(xr_ruvo_plr[PLR_Y]);
        for (int x = px - 40; x <= px + 40; ++x)
            for (int y = py - 40; y <= py + 40; ++y) Cell(x, y) = TILE_WATER;
        if (c.rockUnderThePlayer) {
            Cell(px, py) = 7;
        } else {
            // The view's corner is the world pixel (8192 - 400, 8192 - 300),
            // 4 pixels into this cell's row.
            Cell((8192 - 400) / 16, (8192 - 300) / 16) = 7;
        }
        g.Update();
        EXPECT_FLOAT_EQ(xr_ruvo_plr[PLR_LIVES], c.rockUnderThePlayer ? 2 : 3);
    }
}

// Four hits end the game; the world goes on under the game-over words, the
// score enters the tables and the state file.
TEST(Flow, TheLastLifeEndsTheGameAndTheScoreIsKept) {
    GameDriver g;
    g.StartGame(3);
    xr_ruvo_plr[PLR_SCORE] = 35;
    xr_ruvo_plr[PLR_LIVES] = 0;
    xr_ruvo_plr[PLR_INVULNERABLE] = 0;
    // Open water all over the view, whatever cave the clock made, with rock
    // where the player is: the first update of play is the last.
    const int px = int(xr_ruvo_plr[PLR_X]), py = int(xr_ruvo_plr[PLR_Y]);
    for (int x = px - 40; x <= px + 40; ++x)
        for (int y = py - 40; y <= py + 40; ++y) Cell(x, y) = TILE_WATER;
    Cell(px, py) = 7;
    g.Update();
    EXPECT_LT(xr_ruvo_plr[PLR_LIVES], 0);
    EXPECT_EQ(xr_ruvo_RUVO_EndofGame, 2) << "the game-over sequence runs";
    EXPECT_EQ(xr_ruvo_RUVO_MusicPlaying, 0);
    EXPECT_EQ(xr_audio_device->MusicState(), 0);

    // No input steers any more; the hazards keep moving.
    g.Press(KEY_RIGHT);
    float vx = xr_ruvo_plr[PLR_VX];
    g.Update(5);
    EXPECT_LE(xr_ruvo_plr[PLR_VX], vx);
    g.Release(KEY_RIGHT);
    int phase = int(xr_ruvo_plr[PLR_VENT_PHASE]);
    g.Update();
    EXPECT_EQ(int(xr_ruvo_plr[PLR_VENT_PHASE]), (phase + 1) % 90);

    // Nor does the pause control: the world goes on.
    g.Press(KEY_ESCAPE);
    for (int update = 0; update < 3; ++update) {
        phase = int(xr_ruvo_plr[PLR_VENT_PHASE]);
        g.Update();
        EXPECT_EQ(xr_ruvo_RUVO_Paused, 0) << "update " << update << " with the pause control held";
        EXPECT_EQ(int(xr_ruvo_plr[PLR_VENT_PHASE]), (phase + 1) % 90);
    }
    g.Release(KEY_ESCAPE);
    g.Update();

    while (xr_ruvo_RUVO_GameMode != 0 && g.updates < 2000) g.Update();
    EXPECT_EQ(xr_ruvo_RUVO_GameMode, MODE_MENU) << "back in the menu";
    const int hard = SCORE_TABLE * 3;
    EXPECT_EQ(xr_ruvo_RUVO_Score[hard], 35) << "Hard's best score";
    EXPECT_EQ(xr_ruvo_RUVO_Score[hard + SCORE_RECENT], 35) << "Hard's latest score";
    std::ifstream in(g.folder / ".vantlestate");
    std::vector<std::string> fields;
    for (std::string field; std::getline(in, field, '|');) fields.push_back(field);
    ASSERT_EQ(fields.size(), 10515u);
    for (int m : {hard, hard + SCORE_RECENT})
        EXPECT_EQ(fields[size_t(SAVE_FIRST_SCORE + m + m / SAVE_BLOCK)], "35") << "score " << m << " saved";
    g.Update(80);
    EXPECT_EQ(xr_ruvo_RUVO_EndofGame, 0) << "the curtains have opened again";
}

// The window loses the focus in play: no update runs, but each frame the
// window system asks for shows the last one again, whole; coming back, the
// player finds the game paused. In the menu nothing pauses.
TEST(Flow, LosingTheFocusKeepsTheFrameAndPausesPlay) {
    GameDriver g;
    g.StartGame(2);
    g.Update(40);
    g.Render();
    const std::vector<uint32_t> last = g.Frame();
    EXPECT_GT(std::set<uint32_t>(last.begin(), last.end()).size(), 20u) << "the cave, lit";

    g.host.SuspendGame();
    EXPECT_EQ(xr_ruvo_RUVO_Paused, 1);
    EXPECT_EQ(xr_ruvo_RUVO_MusicPlaying, 2) << "the music waits with the game";
    const float x = xr_ruvo_plr[PLR_X];
    for (int frame = 0; frame < 3; ++frame) {
        g.Update();  // the host runs none while suspended
        g.Render();
        EXPECT_TRUE(g.Frame() == last) << "frame " << frame << " while away shows the last one";
    }
    EXPECT_FLOAT_EQ(xr_ruvo_plr[PLR_X], x);

    g.host.ResumeGame();
    g.Update();
    g.Render();
    EXPECT_EQ(xr_ruvo_RUVO_Paused, 1) << "back to the pause screen";
    EXPECT_FALSE(g.Frame() == last);
    EXPECT_EQ(xr_ruvo_RUVO_MusicPlaying, 2);

    GameDriver menu;
    menu.Load();
    menu.host.SuspendGame();
    menu.host.ResumeGame();
    menu.Update();
    EXPECT_EQ(xr_ruvo_RUVO_Paused, 0);
    EXPECT_EQ(xr_ruvo_RUVO_GameMode, MODE_MENU);
}

// F1 shows the frame-rate overlay and keeps the choice in the settings, F2
// hides the pause button for screenshots, F11 goes full screen at the
// desktop's size and back to a 640 x 480 window. Every update the clear
// colour closes a sixteenth of the way to the colour it heads for.
TEST(Flow, FunctionKeysAndTheClearColour) {
    GameDriver g(800, 600);
    g.Load();
    g.Update();
    float* style = xr_ruvo_RUVO_DrawStyle.Data();
    ASSERT_EQ(style[STYLE_CLEAR_TARGET_RED], 80) << "the menu's green";
    ASSERT_EQ(style[STYLE_CLEAR_TARGET_GREEN], 140);
    ASSERT_EQ(style[STYLE_CLEAR_TARGET_BLUE], 80);
    style[STYLE_CLEAR_RED] = style[STYLE_CLEAR_GREEN] = style[STYLE_CLEAR_BLUE] = 0;
    g.Update();
    EXPECT_FLOAT_EQ(style[STYLE_CLEAR_RED], 5);
    EXPECT_FLOAT_EQ(style[STYLE_CLEAR_GREEN], 8.75f);
    EXPECT_FLOAT_EQ(style[STYLE_CLEAR_BLUE], 5);
    g.Update();
    EXPECT_FLOAT_EQ(style[STYLE_CLEAR_RED], 5 + 75 / 16.0f);
    EXPECT_FLOAT_EQ(style[STYLE_CLEAR_GREEN], 8.75f + 131.25f / 16);
    g.Update(200);
    EXPECT_NEAR(style[STYLE_CLEAR_GREEN], 140, 0.01f) << "and reaches it";

    g.Tap(KEY_F1);
    EXPECT_EQ(xr_ruvo_RUVO_DebugMode, 1);
    EXPECT_EQ(xr_ruvo_RUVO_Set[SET_FRAME_RATE], 1) << "kept with the settings";
    g.Tap(KEY_F1);
    EXPECT_EQ(xr_ruvo_RUVO_DebugMode, 0);
    EXPECT_EQ(xr_ruvo_RUVO_Set[SET_FRAME_RATE], 0);

    g.StartGame(1);
    g.Update();
    EXPECT_EQ(CountImage(IMG_ICONS, ICON_PAUSE), 1) << "the pause button";
    g.Tap(KEY_F2);
    EXPECT_EQ(xr_ruvo_RUVO_ScreenshotMode, 1);
    EXPECT_EQ(CountImage(IMG_ICONS, ICON_PAUSE), 0) << "hidden for a screenshot";
    g.Tap(KEY_F2);
    EXPECT_EQ(xr_ruvo_RUVO_ScreenshotMode, 0);
    EXPECT_EQ(CountImage(IMG_ICONS, ICON_PAUSE), 1);

    const int desktopWidth = xr_app_DesktopMode()->p_Width(), desktopHeight = xr_app_DesktopMode()->p_Height();
    ASSERT_GT(desktopWidth, 800) << "a desktop larger than the window";
    g.Tap(KEY_F11);
    EXPECT_EQ(xr_ruvo_RUVO_Fullscreen, 1);
    EXPECT_NE(glfwGetWindowMonitor(g.host.Window()), nullptr) << "full screen";
    EXPECT_TRUE(PollUntil([&] {
        return g.host.GetDeviceWidth() == desktopWidth && g.host.GetDeviceHeight() == desktopHeight;
    })) << g.host.GetDeviceWidth() << "x" << g.host.GetDeviceHeight();
    g.Tap(KEY_F11);
    EXPECT_EQ(xr_ruvo_RUVO_Fullscreen, 0);
    EXPECT_EQ(glfwGetWindowMonitor(g.host.Window()), nullptr) << "a window again";
    EXPECT_TRUE(PollUntil([&] { return g.host.GetDeviceWidth() == 640 && g.host.GetDeviceHeight() == 480; }))
        << g.host.GetDeviceWidth() << "x" << g.host.GetDeviceHeight();
}

}  // namespace
