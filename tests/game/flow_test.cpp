// The whole game driven in this process: loading, menu, a new game, pause,
// the end of a game and its score, with real devices and the generated data.
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "game/world.h"
#include "host/input.h"
#include "shell/controls.h"
#include "shell/draw.h"
#include "shell/scores.h"
#include "shell/sound.h"
#include "shell/state.h"
#include "tests/harness/game_driver.h"

namespace {

enum { KEY_ENTER = 13, KEY_ESCAPE = 27, KEY_RIGHT = 39 };

TEST(Flow, LoadingScreenForSixtyUpdatesThenTheMenu) {
    GameDriver g;
    for (int update = 1; update <= 60; ++update) {
        g.Update();
        ASSERT_GT(xr_ruvo_RUVO_Loader, 0) << "update " << update;
        EXPECT_EQ(xr_ruvo_RUVO_MenuPos[10], -64) << "the menu has not run";
    }
    EXPECT_NE(xr_ruvo_RUVO_Img[1], nullptr) << "the game's sprites are loaded";
    ASSERT_NE(xr_ruvo_RUVO_Img[95], nullptr);
    ASSERT_NE(xr_ruvo_RUVO_Img[96], nullptr);
    EXPECT_EQ(xr_ruvo_RUVO_Img[95]->m_surface, xr_ruvo_RUVO_Img[96]->m_surface)
        << "the logo's tiles and the whole logo: one picture, one texture";
    EXPECT_EQ(xr_ruvo_RUVO_Img[95]->m_frames.Length(), 1024);
    EXPECT_EQ(xr_ruvo_RUVO_Img[96]->m_width, 1024);
    EXPECT_NE(xr_ruvo_RUVO_SFX[4], nullptr) << "and its sounds";
    EXPECT_EQ(xr_ruvo_RUVO_Font, 99);
    g.Update();
    EXPECT_EQ(xr_ruvo_RUVO_Loader, 0);
    EXPECT_EQ(xr_ruvo_RUVO_MenuPos[10], -60) << "the menu's intro started on update 61";
    EXPECT_EQ(xr_ruvo_RUVO_Set[100], 1);
    EXPECT_EQ(xr_ruvo_RUVO_Creds, 70) << "fourteen credits";
}

TEST(Flow, EnterTwiceStartsANormalGameWithMusic) {
    GameDriver g;
    g.Load();
    g.Update();  // nothing held: the menu's latch frees
    g.Tap(KEY_ENTER);
    EXPECT_EQ(xr_ruvo_RUVO_MenuPos[0], 2) << "the difficulty list";
    g.Press(KEY_ENTER);
    g.Update();
    EXPECT_EQ(xr_ruvo_RUVO_GameMode, 11);
    EXPECT_EQ(xr_ruvo_RUVO_GameType, 2) << "Normal is the list's first choice";
    g.Release(KEY_ENTER);
    g.Update();
    EXPECT_EQ(xr_ruvo_RUVO_GameMode, 10);
    EXPECT_EQ(xr_ruvo_RUVO_MusicPlaying, 1);
    EXPECT_EQ(xr_audio_device->MusicState(), 1);
    EXPECT_FLOAT_EQ(xr_ruvo_plr[PLR_LIVES], 3);
    EXPECT_FLOAT_EQ(xr_ruvo_plr[PLR_DANGER], 1.0f);
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

TEST(Flow, ATouchInTheTopLeftCornerPausesOnce) {
    GameDriver g;
    g.StartGame(1);
    g.Update(2);
    g.MouseDown(20, 20);  // 15 units from the corner
    g.Update();
    EXPECT_EQ(xr_ruvo_RUVO_Paused, 1);
    g.Update(5);
    EXPECT_EQ(xr_ruvo_RUVO_Paused, 1) << "holding it does not unpause";
    g.MouseUp(20, 20);
    g.Update();

    GameDriver far;
    far.StartGame(1);
    far.Update(2);
    far.MouseDown(200, 200);
    far.Update();
    EXPECT_EQ(xr_ruvo_RUVO_Paused, 0);
}

// Four hits end the game; the world goes on under the game-over words, the
// score enters the tables and the state file.
TEST(Flow, TheLastLifeEndsTheGameAndTheScoreIsKept) {
    GameDriver g;
    g.StartGame(3);
    xr_ruvo_plr[PLR_SCORE] = 35;
    xr_ruvo_plr[PLR_LIVES] = 0;
    xr_ruvo_plr[PLR_INVULNERABLE] = 0;
    // Rock where the player is.
    const int px = int(xr_ruvo_plr[PLR_X]), py = int(xr_ruvo_plr[PLR_Y]);
    g.Update();
    xr_ruvo_grid[xr_ruvo_Cell(px, py)] = 7;
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

    while (xr_ruvo_RUVO_GameMode != 0 && g.updates < 2000) g.Update();
    EXPECT_EQ(xr_ruvo_RUVO_GameMode, 0) << "back in the menu";
    EXPECT_EQ(xr_ruvo_RUVO_Score[60], 35) << "Hard's best score";
    EXPECT_EQ(xr_ruvo_RUVO_Score[65], 35) << "Hard's latest score";
    std::ifstream in(std::filesystem::path(g.folder) / ".vantlestate");
    std::vector<std::string> fields;
    for (std::string field; std::getline(in, field, '|');) fields.push_back(field);
    ASSERT_EQ(fields.size(), 10515u);
    EXPECT_EQ(fields[203 + 33 + 28], "35") << "score 60 in block 1";
    EXPECT_EQ(fields[203 + 33 * 2 + 1], "35") << "score 65 in block 2";
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
    EXPECT_EQ(xr_ruvo_RUVO_GameMode, 0);
}

}  // namespace
