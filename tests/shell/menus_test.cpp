// The main menu, the options screen and the pause screen, played update by
// update with keys and clicks on the real input device; items are found and
// clicked where their text is drawn.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/mygame.h"
#include "host/input.h"
#include "shell/controls.h"
#include "shell/draw.h"
#include "shell/menus.h"
#include "shell/sound.h"
#include "shell/state.h"
#include "tests/harness/draw_list.h"
#include "tests/harness/game_driver.h"

namespace fs = std::filesystem;

namespace {

typedef c_XrGameEvent E;

// One saved setting, read from the state file.
int SavedSetting(int index) {
    std::ifstream in(".vantlestate", std::ios::binary);
    std::string field;
    for (int i = 0; i <= SAVE_FIRST_SETTING + index; ++i) std::getline(in, field, '|');
    return std::stoi(field);
}

// The main menu as the game object leaves it after the loading screen, on a
// host that offers a way to quit.
class Menus : public ShellTest {
protected:
    void Fresh() override {
        ShellTest::Fresh();
        xr_ruvo_HasQuit = 1;
        xr_ruvo_RUVO_MenuPos[POS_LEVEL] = 1;
        xr_ruvo_RUVO_MenuPos[POS_LEVEL_CURSOR] = 1;
        xr_ruvo_RUVO_MenuPos[POS_SLIDE] = xr_ruvo_jscrw - 32;
        xr_ruvo_LockKeys();
    }

    // One update of whichever screen is up.
    void Update() {
        ShellTest::Update([this] {
            if (xr_ruvo_RUVO_OptCred == OVERLAY_OPTIONS) xr_ruvo_Options();
            else if (xr_ruvo_RUVO_GameMode == MODE_MENU && xr_ruvo_RUVO_OptCred == OVERLAY_NONE) game->p_MainMenu();
            else if (xr_ruvo_RUVO_GameMode == MODE_PLAY && xr_ruvo_RUVO_Paused == 1) xr_ruvo_Pause_Menu();
        });
    }
    void Updates(int n) {
        for (int i = 0; i < n; ++i) Update();
    }
    void Press(int key) {
        Key(key, true);
        Update();
        Key(key, false);
        Update();
    }
    void Click(float x, float y) {
        input->p_MouseEvent(E::MouseDown, 0, x, y);
        Update();
        input->p_MouseEvent(E::MouseUp, 0, x, y);
        Update();
    }
    // Clicks the text `text` where it is drawn; false when it is not shown.
    bool ClickText(const std::string& text) {
        std::optional<Label> l = Find(text);
        if (!l) return false;
        Click(l->x, l->y);
        return true;
    }
};

// A key press, or a click on a text (in the options screen, on the row it
// captions).
struct Input {
    int key;
    const char* text;
};

TEST_F(Menus, MainMenuChoices) {
    struct Case {
        const char* what;
        std::vector<Input> inputs;
        int mode, type, overlay;
    };
    const Case cases[] = {
        {"keys: Start Game, Normal", {{KEY_ENTER, nullptr}, {KEY_ENTER, nullptr}}, 11, 2, 0},
        {"clicks: Start Game, Normal", {{0, "> Start Game"}, {0, "> Normal"}}, 11, 2, 0},
        {"a first click only moves the cursor", {{0, "> Start Game"}, {0, "Hard"}, {0, "> Hard"}}, 11, 3, 0},
        {"up from Easy wraps to Hard",
         {{KEY_ENTER, nullptr}, {KEY_UP, nullptr}, {KEY_UP, nullptr}, {KEY_ENTER, nullptr}}, 11, 3, 0},
        {"keys: Options", {{KEY_DOWN, nullptr}, {KEY_ENTER, nullptr}}, 0, 0, 1},
        {"clicks: Credits", {{0, "Credits"}, {0, "> Credits"}}, 0, 0, 2},
        {"back from the difficulty list",
         {{KEY_ENTER, nullptr}, {KEY_ESCAPE, nullptr}, {KEY_DOWN, nullptr}, {KEY_ENTER, nullptr}},
         0, 0, 1},
        {"up on Start Game stays there", {{KEY_UP, nullptr}, {KEY_ENTER, nullptr}, {KEY_ENTER, nullptr}}, 11, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fresh();
        Updates(30);  // the menu flies in
        for (const Input& in : c.inputs) {
            if (in.text) ASSERT_TRUE(ClickText(in.text)) << in.text;
            else Press(in.key);
        }
        EXPECT_EQ(xr_ruvo_RUVO_GameMode, c.mode);
        EXPECT_EQ(xr_ruvo_RUVO_GameType, c.type);
        EXPECT_EQ(xr_ruvo_RUVO_OptCred, c.overlay);
    }
}

TEST_F(Menus, HeldKeysActOnce) {
    Key(KEY_ENTER, true);
    Updates(30);
    EXPECT_TRUE(Find("> Start Game")) << "an Enter held since start-up does nothing";
    Key(KEY_ENTER, false);
    Update();
    Key(KEY_DOWN, true);
    Updates(10);
    Key(KEY_DOWN, false);
    Update();
    EXPECT_TRUE(Find("> Options"));
    Press(KEY_UP);
    ASSERT_TRUE(Find("> Start Game"));

    Key(KEY_ENTER, true);
    Updates(10);
    EXPECT_TRUE(Find("> Normal")) << "Start Game chosen";
    EXPECT_EQ(xr_ruvo_RUVO_GameMode, MODE_MENU) << "but not Normal, while the same Enter is held";
    Key(KEY_ENTER, false);
    Update();
    Press(KEY_ENTER);
    EXPECT_EQ(xr_ruvo_RUVO_GameMode, MODE_START);
}

TEST_F(Menus, TopFiveShowsTheDifficultyUnderTheCursor) {
    const int tables[3][5] = {{900, 800, 700, 600, 500}, {1234, 1200, 99, 7, 0}, {42000, 4200, 420, 42, 4}};
    for (int t = 0; t < 3; ++t)
        for (int k = 0; k < 5; ++k) xr_ruvo_RUVO_Score[SCORE_TABLE * (t + 1) + k] = tables[t][k];
    auto shown = [&](int t) {
        int count = 0;
        for (int k = 0; k < 5; ++k) {
            std::optional<Label> l = Find(std::to_string(tables[t][k]));
            count += l && l->x > 0 && l->x < float(xr_ruvo_jscrw);
        }
        return count;
    };
    Updates(30);
    Press(KEY_ENTER);
    Updates(30);
    std::optional<Label> title = Find("Top 5");
    ASSERT_TRUE(title);
    EXPECT_GT(title->x, xr_ruvo_jscrw / 2);
    EXPECT_LT(title->x, xr_ruvo_jscrw);
    EXPECT_EQ(shown(1), 5) << "Normal";
    Press(KEY_UP);
    EXPECT_EQ(shown(0), 5) << "Easy";
    Press(KEY_UP);
    EXPECT_EQ(shown(2), 5) << "Hard";
    Press(KEY_ESCAPE);
    Updates(30);
    EXPECT_EQ(shown(2), 0) << "gone with the difficulty list";
}

// A test whose process ends inside the game never destroys its fixture, so
// its working folder is removed at exit; the suite's data folder, a global,
// goes by itself.
fs::path g_exitingFolder;

TEST_F(Menus, QuitEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            g_exitingFolder = folder.path();
            std::atexit([] {
                // Out of it first: Windows keeps a working folder from being removed.
                std::error_code ignored;
                fs::current_path(fs::temp_directory_path(), ignored);
                fs::remove_all(g_exitingFolder, ignored);
            });
            Updates(30);
            for (int k = 0; k < 3; ++k) Press(KEY_DOWN);
            Press(KEY_ENTER);
            std::exit(3);
        },
        testing::ExitedWithCode(0), "");
}

class MenusOptions : public Menus {
protected:
    void Fresh() override {
        Menus::Fresh();
        // As the main menu opens it.
        xr_ruvo_RUVO_OptCred = OVERLAY_OPTIONS;
        xr_ruvo_RUVO_MenuPos[POS_OPT_TARGET] = 128;
        Updates(30);  // the list scrolls into place
    }
    // The y of the row captioned `caption`, from where the caption is drawn.
    float RowY(const std::string& caption) {
        std::optional<Label> l = Find(caption);
        return l ? l->y + 44 : -1000;
    }
    bool ClickRow(const std::string& caption) {
        const float y = RowY(caption);
        if (y < 0) return false;
        Click(float(xr_ruvo_jscrw) / 2, y);
        return true;
    }
};

TEST_F(MenusOptions, KeysAndClicksChangeSettings) {
    Press(KEY_DOWN);  // SFX
    Key(KEY_RIGHT, true);
    Updates(5);
    Key(KEY_RIGHT, false);
    Update();
    EXPECT_EQ(xr_ruvo_RUVO_Set[SET_SFX_VOLUME], 8) << "a held key counts once";
    for (int k = 0; k < 3; ++k) Press(KEY_RIGHT);
    EXPECT_EQ(xr_ruvo_RUVO_Set[SET_SFX_VOLUME], 10) << "no further than 10";
    Press(KEY_LEFT);
    EXPECT_EQ(xr_ruvo_RUVO_Set[SET_SFX_VOLUME], 9);
    Press(KEY_ENTER);
    EXPECT_EQ(xr_ruvo_RUVO_Set[SET_SFX_VOLUME], 0) << "button 1 toggles a slider between its ends";
    EXPECT_EQ(xr_ruvo_RUVO_OptCred, OVERLAY_OPTIONS) << "and only the Back row leaves";

    // The Music row: the first click selects it, the second sets it from the
    // mark under the pointer.
    const float W = float(xr_ruvo_jscrw);
    const float y = RowY("Music");
    Click(W / 2 + 22 * 2 - 88 - 6, y);
    EXPECT_EQ(xr_ruvo_RUVO_Set[SET_MUSIC_VOLUME], 7);
    Click(W / 2 + 22 * 2 - 88 - 6, y);
    EXPECT_EQ(xr_ruvo_RUVO_Set[SET_MUSIC_VOLUME], 2);

    for (int k = 0; k < 4; ++k) Press(KEY_DOWN);  // past the last row
    Updates(30);
    EXPECT_TRUE(Find("Off")) << "the Framerate row scrolled into view";
    Press(KEY_ENTER);
    EXPECT_EQ(xr_ruvo_RUVO_Set[SET_FRAME_RATE], 1);
    EXPECT_EQ(xr_ruvo_RUVO_DebugMode, 1);
    EXPECT_TRUE(Find("On"));
}

// The cursor stops at the Back row going up and at the last row going down:
// Framerate, one row further when the Overscan row is shown. What the
// cursor rests on shows in what Enter does there.
TEST_F(MenusOptions, TheCursorStopsAtTheFirstAndTheLastRow) {
    struct Case {
        const char* what;
        int ouya, key, presses, row;
        bool leaves;  // Enter on Back leaves; on Framerate it turns the overlay on
    };
    const Case cases[] = {
        {"up from Back", 0, KEY_UP, 3, 0, true},
        {"down past Framerate", 0, KEY_DOWN, 9, 5, false},
        {"down past Framerate below Overscan", 1, KEY_DOWN, 9, 6, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fresh();
        xr_ruvo_isOuya = c.ouya;
        for (int k = 0; k < c.presses; ++k) Press(c.key);
        EXPECT_EQ(xr_ruvo_RUVO_MenuPos[POS_OPT_CURSOR], c.row);
        Updates(30);  // the list scrolls the row into view
        Press(KEY_ENTER);
        EXPECT_EQ(xr_ruvo_RUVO_OptCred, c.leaves ? 0 : 1);
        EXPECT_EQ(xr_ruvo_RUVO_Set[SET_FRAME_RATE], c.leaves ? 0 : 1);
    }
}

TEST_F(MenusOptions, LeavingSaves) {
    struct Case {
        const char* what;
        std::vector<Input> inputs;
    };
    const Case cases[] = {
        {"Escape", {{KEY_ESCAPE, nullptr}}},
        {"Enter on Back", {{KEY_UP, nullptr}, {KEY_ENTER, nullptr}}},
        {"two clicks on Back", {{0, "Back"}, {0, "Back"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fresh();
        Press(KEY_DOWN);
        Press(KEY_RIGHT);
        for (const Input& in : c.inputs) {
            EXPECT_EQ(xr_ruvo_RUVO_OptCred, OVERLAY_OPTIONS);
            if (in.text) ASSERT_TRUE(ClickRow(in.text));
            else Press(in.key);
        }
        EXPECT_EQ(xr_ruvo_RUVO_OptCred, OVERLAY_NONE);
        EXPECT_EQ(SavedSetting(1), 8);
    }
}

class MenusPause : public Menus {
protected:
    void Fresh() override {
        Menus::Fresh();
        // As play leaves things when the pause control is pressed.
        xr_ruvo_RUVO_GameMode = MODE_PLAY;
        xr_ruvo_RUVO_Paused = 1;
        xr_ruvo_RUVO_MenuPos[POS_PAUSE_CURSOR] = 1;
        xr_ruvo_RUVO_MenuPos[POS_PAUSE_X] = -64;
        xr_ruvo_PlayTune(String("Aqua"), 1);
        xr_ruvo_PauseTune();
        xr_ruvo_LockKeys();
    }
};

TEST_F(MenusPause, Choices) {
    struct Case {
        const char* what;
        std::vector<int> keys;
        int clickFrame;  // an icon to click instead, or -1
        int paused, ending, reason, overlay, music;
    };
    const Case cases[] = {
        {"Enter resumes", {KEY_ENTER}, -1, 0, 0, 0, 0, 1},
        {"Up, Enter quits", {KEY_UP, KEY_ENTER}, -1, 0, 1, 2, 0, 2},
        {"a click on the quit icon", {}, 1, 0, 1, 2, 0, 2},
        {"a click on the resume icon", {}, 3, 0, 0, 0, 0, 1},
        {"Down, Enter opens the options", {KEY_DOWN, KEY_ENTER}, -1, 1, 0, 0, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fresh();
        Updates(20);  // the icons slide in
        EXPECT_TRUE(Find("Paused"));
        for (int key : c.keys) Press(key);
        if (c.clickFrame >= 0) {
            std::optional<Label> icon = FindImage(90, c.clickFrame);
            ASSERT_TRUE(icon);
            Click(icon->x, icon->y);
        }
        EXPECT_EQ(xr_ruvo_RUVO_Paused, c.paused);
        EXPECT_EQ(xr_ruvo_RUVO_EndofGame, c.ending);
        EXPECT_EQ(xr_ruvo_RUVO_EndReason, c.reason);
        EXPECT_EQ(xr_ruvo_RUVO_OptCred, c.overlay);
        EXPECT_EQ(xr_audio_device->MusicState(), c.music);
    }
}

TEST_F(MenusPause, AKeyHeldFromPlayWaitsForItsRelease) {
    Key(KEY_ENTER, true);
    Updates(10);
    EXPECT_EQ(xr_ruvo_RUVO_Paused, 1);
    Key(KEY_ENTER, false);
    Update();
    Press(KEY_ENTER);
    EXPECT_EQ(xr_ruvo_RUVO_Paused, 0);
}

// The options screen's Back row reaches left past its panel, over the pause
// screen's quit icon. The click that leaves the options there is still held
// when the pause screen runs again: it must wait for its release, and only a
// new click on the icon quits.
TEST_F(MenusPause, TheClickThatLeavesTheOptionsDoesNotQuit) {
    Updates(20);  // the icons slide in
    std::optional<Label> quit = FindImage(90, 1);
    ASSERT_TRUE(quit);
    Press(KEY_DOWN);
    Press(KEY_ENTER);
    ASSERT_EQ(xr_ruvo_RUVO_OptCred, OVERLAY_OPTIONS);
    // Down and up again: the list scrolls to show the Back row whole.
    Press(KEY_DOWN);
    Press(KEY_UP);
    Updates(60);
    std::optional<Label> back = Find("Back");
    ASSERT_TRUE(back);
    const float row = back->y + 44;  // the caption sits 44 above its row's centre
    const float y = std::max(row - 30, quit->y - 44);
    ASSERT_LE(y, std::min(row + 30, quit->y + 44)) << "the Back band and the quit icon overlap";

    input->p_MouseEvent(E::MouseDown, 0, quit->x, y);
    Update();
    EXPECT_EQ(xr_ruvo_RUVO_OptCred, OVERLAY_NONE) << "Back left the options";
    Updates(3);
    EXPECT_EQ(xr_ruvo_RUVO_EndofGame, 0) << "the held click does not land on the quit icon";
    EXPECT_EQ(xr_ruvo_RUVO_Paused, 1);
    input->p_MouseEvent(E::MouseUp, 0, quit->x, y);
    Update();
    EXPECT_EQ(xr_ruvo_RUVO_EndofGame, 0);

    Click(quit->x, quit->y);
    EXPECT_EQ(xr_ruvo_RUVO_EndofGame, 1) << "a new click quits";
    EXPECT_EQ(xr_ruvo_RUVO_EndReason, 2);
}

}  // namespace
