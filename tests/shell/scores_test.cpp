// The score display, the game-over sequence, score recording into the state
// file, and the credits, driven update by update over the real input device
// and a silent OpenAL device.
#include <cmath>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/mygame.h"
#include "game/world.h"
#include "host/input.h"
#include "shell/controls.h"
#include "shell/credits.h"
#include "shell/draw.h"
#include "shell/scores.h"
#include "shell/sound.h"
#include "shell/state.h"
#include "tests/harness/draw_list.h"
#include "tests/harness/files.h"
#include "tests/harness/game_driver.h"

namespace {

typedef c_XrGameEvent E;

// The shell with the chime loaded, which the game's end plays.
class Scores : public ShellTest {
protected:
    void Fresh() override {
        ShellTest::Fresh();
        xr_ruvo_LoadSFX(SFX_CHIME);
    }

    // Whether (x, y) lies under one of the queued triangles.
    static bool Covered(float x, float y) {
        for (int n = 0; n < xr_ruvo_Sprtup; ++n) {
            const float* c = Command(n);
            if (c[CMD_TYPE] != RUVO_CMD_TRIANGLE) continue;
            const float* p = c + CMD_CORNERS;
            float d[3];
            for (int i = 0; i < 3; ++i) {
                const float* a = p + 2 * i;
                const float* b = p + 2 * ((i + 1) % 3);
                d[i] = (b[0] - a[0]) * (y - a[1]) - (b[1] - a[1]) * (x - a[0]);
            }
            if ((d[0] >= 0 && d[1] >= 0 && d[2] >= 0) || (d[0] <= 0 && d[1] <= 0 && d[2] <= 0)) return true;
        }
        return false;
    }
    // Curtains: "closed" when they hide the centre and all four corners,
    // "open" when they hide none of them.
    static int CurtainPoints() {
        const float W = float(xr_ruvo_jscrw), H = float(xr_ruvo_jscrh);
        const float points[5][2] = {{1, 1}, {W - 1, 1}, {1, H - 1}, {W - 1, H - 1}, {W / 2, H / 2}};
        int covered = 0;
        for (const auto& p : points) covered += Covered(p[0], p[1]);
        return covered;
    }
};

TEST_F(Scores, ScoreDisplay) {
    struct Case {
        float lives;
        int p2, p3, screenshot;
        int icons;
        std::vector<float> columns;  // where each player's score is centred
        float scale;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, {400}, 0.75f}, {1, 0, 0, 0, 1, {400}, 0.75f}, {3, 0, 0, 0, 3, {400}, 0.75f},
        {5, 0, 0, 0, 3, {400}, 0.75f}, {2, 1, 0, 0, 2 + 2, {200, 600}, 0.75f},
        {2, 1, 1, 0, 2 + 2 + 2, {133, 399, 665}, 0.5f}, {3, 0, 0, 1, 0, {}, 0},
    };
    for (int k = 0; k < 3; ++k) {
        xr_ruvo_plr[PLR_RECORD * k + PLR_SCORE] = float(1234 + k);
        xr_ruvo_plr[PLR_RECORD * k + PLR_LIVES] = 2;
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "lives " << c.lives << ", players " << c.columns.size());
        xr_ruvo_plr[PLR_LIVES] = c.lives;
        xr_ruvo_RUVO_ScreenshotMode = c.screenshot;
        Update([&] { xr_ruvo_ShowScores(1, 1, c.p2, c.p3, 0, 0); });
        EXPECT_EQ(CountImage(IMG_ICONS, ICON_LIFE), c.icons);
        std::vector<Label> labels = Labels();
        ASSERT_EQ(labels.size(), c.columns.size());
        for (size_t k = 0; k < labels.size(); ++k) {
            EXPECT_EQ(labels[k].text, std::to_string(1234 + k));
            EXPECT_NEAR(labels[k].mid, c.columns[k], 12 * c.scale + 1) << "centred in its column";
            EXPECT_FLOAT_EQ(labels[k].y, 16);
            EXPECT_FLOAT_EQ(labels[k].scale, c.scale);
        }
    }
}

TEST_F(Scores, EndGameKeepsTheFirstReason) {
    xr_ruvo_EndGame(2);
    xr_ruvo_EndGame(0);
    EXPECT_EQ(xr_ruvo_RUVO_EndofGame, 1);
    EXPECT_EQ(xr_ruvo_RUVO_EndReason, 2);
}

// The whole sequence as a player sees and hears it, with the game's flow
// returning to the menu when the sequence asks for it.
TEST_F(Scores, GameOverSequence) {
    struct Case {
        int reason;
        const char *first, *second;
    };
    const Case cases[] = {{0, "Game", "Over"}, {1, "Level", "Complete"}, {2, "Quit", "Game"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        xr_ruvo_RUVO_GameMode = MODE_PLAY;
        xr_ruvo_PlayTune(String("Aqua"), 1);
        xr_ruvo_EndGame(c.reason);
        // Steps are numbered by the counter each one leaves behind; ending the
        // game set it to 1.
        std::vector<int> sounds, musicStopped;
        std::vector<int> modes(200);
        int step = 1;
        while (xr_ruvo_RUVO_EndofGame > 0 && step < 200) {
            ++step;
            const int channel = xr_ruvo_RUVO_LChan;
            Update([&] {
                if (xr_ruvo_RUVO_GameMode == 1) game->p_GotoMenu();
                xr_ruvo_GameOver();
            });
            if (xr_ruvo_RUVO_LChan != channel) sounds.push_back(step);
            modes[step] = xr_ruvo_RUVO_GameMode;
            if (xr_audio_device->MusicState() == 0 && musicStopped.empty()) musicStopped.push_back(step);

            const std::optional<Label> first = Find(c.first);
            const std::optional<Label> second = Find(c.second);
            const float W = float(xr_ruvo_jscrw), H = float(xr_ruvo_jscrh);
            if (step == 2) {
                EXPECT_EQ(CurtainPoints(), 0) << "open";
                EXPECT_FALSE(first) << "the words are still off screen";
                EXPECT_FALSE(second);
            }
            if (step >= 40 && step <= 120) {
                EXPECT_EQ(CurtainPoints(), 5) << "closed at step " << step;
            }
            if (step >= 41 && step <= 119) {
                ASSERT_TRUE(first && second) << step;
                EXPECT_LT(first->mid, W / 2);
                EXPECT_GT(second->mid, W / 2);
                EXPECT_FLOAT_EQ(first->y, H / 2 - 36) << "just above the middle";
                EXPECT_FLOAT_EQ(second->y, H / 2 + 36) << "just below it";
                EXPECT_EQ(first->scale, 2);
            }
            if (step == 160) {
                EXPECT_EQ(CurtainPoints(), 0) << "open again over the menu";
            }
        }
        EXPECT_EQ(step, 161) << "the sequence ends by itself";
        EXPECT_EQ(xr_ruvo_RUVO_EndReason, 0);
        EXPECT_EQ(sounds, std::vector<int>{70}) << "one jingle";
        EXPECT_EQ(musicStopped, std::vector<int>{60});
        EXPECT_EQ(xr_ruvo_RUVO_MusicPlaying, 0);
        EXPECT_EQ(modes[89], 10);
        EXPECT_EQ(modes[90], 1) << "step 90 asks for the menu";
        EXPECT_EQ(modes[91], 0) << "and the next update brings it back";
    }
}

// Difficulty 2's table before and after a game scoring `score`.
TEST_F(Scores, ScoreRecording) {
    struct Case {
        const char* what;
        int score;
        std::vector<int> best;
    };
    const std::vector<int> before = {50, 40, 30, 20, 10};
    const Case cases[] = {
        {"a new best", 60, {60, 50, 40, 30, 20}},
        {"equal to the best: second", 50, {50, 50, 40, 30, 20}},
        {"between the third and fourth", 25, {50, 40, 30, 25, 20}},
        {"between the fourth and fifth", 15, {50, 40, 30, 20, 15}},
        {"equal to the fifth: not entered", 10, {50, 40, 30, 20, 10}},
        {"below all", 3, {50, 40, 30, 20, 10}},
    };
    const int normal = SCORE_TABLE * 2, hard = SCORE_TABLE * 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int k = 0; k < SCORE_PLACES; ++k) {
            xr_ruvo_RUVO_Score[normal + k] = before[k];
            xr_ruvo_RUVO_Score[normal + SCORE_RECENT + k] = k + 1;  // the last five, newest first
            xr_ruvo_RUVO_Score[hard + k] = 99;
        }
        xr_ruvo_RUVO_GameType = 2;
        xr_ruvo_RUVO_GameMode = MODE_TO_MENU;
        xr_ruvo_plr[PLR_SCORE] = float(c.score) + 0.75f;
        xr_ruvo_PlayTune(String("Aqua"), 1);
        xr_ruvo_kdis[LATCH_MENU] = 0;

        game->p_GotoMenu();

        EXPECT_EQ(xr_ruvo_RUVO_GameMode, MODE_MENU);
        EXPECT_EQ(xr_audio_device->MusicState(), 0);
        EXPECT_EQ(xr_ruvo_kdis[LATCH_MENU], 1) << "keys held from play do nothing in the menu";
        const std::vector<int> last = {c.score, 1, 2, 3, 4};
        const std::vector<int> untouched = {99, 99, 99, 99, 99};
        auto table = [](int first) {
            const int* scores = xr_ruvo_RUVO_Score.Data() + first;
            return std::vector<int>(scores, scores + SCORE_PLACES);
        };
        EXPECT_EQ(table(normal), c.best);
        EXPECT_EQ(table(normal + SCORE_RECENT), last);
        EXPECT_EQ(table(hard), untouched);

        // The state file, saved with them.
        std::vector<std::string> fields;
        std::stringstream saved(ReadFile(".vantlestate"));
        for (std::string f; std::getline(saved, f, '|');) fields.push_back(f);
        ASSERT_EQ(fields.size(), 10515u);
        auto saved_table = [&](int first) {
            std::vector<int> out;
            for (int m = first; m < first + SCORE_PLACES; ++m)
                out.push_back(std::stoi(fields[SAVE_FIRST_SCORE + m + m / SAVE_BLOCK]));
            return out;
        };
        EXPECT_EQ(saved_table(normal), c.best);
        EXPECT_EQ(saved_table(normal + SCORE_RECENT), last);
    }
}

// Fourteen credits, the last of them empty, as the game fills the table.
class ScoresCredits : public Scores {
protected:
    void SetUp() override {
        Scores::SetUp();
        for (int k = 1; k <= 13; ++k) {
            std::string n = std::to_string(k);
            xr_ruvo_AddCredit(String(("Heading " + n).c_str()), String(("Line " + n).c_str()), String("by"),
                              String("Someone"), String("Somewhere"));
        }
        xr_ruvo_AddCredit(String(), String(), String(), String(), String());
        xr_ruvo_SetCreditFrame(String("Author"), String("tool.example"));
        xr_ruvo_RUVO_OptCred = OVERLAY_CREDITS;
    }
    // The heading of the card on show, if it is open far enough to read.
    std::string Card() {
        std::string heading;
        float top = 1e9f;
        for (const Label& l : Labels()) {
            if (l.scale < 0.3f || std::fabs(l.mid - float(xr_ruvo_jscrw) / 2) > 60 || l.y >= top) continue;
            top = l.y;
            heading = l.text;
        }
        return heading;
    }
};

TEST_F(ScoresCredits, CardsCycleAndTheTickerListsTheHeadings) {
    std::vector<std::string> shown;
    for (int update = 0; update < 271 + 12 * 360 + 100; ++update) {
        Update([] { xr_ruvo_Credits(); });
        std::string card = Card();
        if (!card.empty() && (shown.empty() || shown.back() != card)) shown.push_back(card);
        if (update == 0) {
            std::vector<std::string> ticker;
            for (const Label& l : Labels())
                if (l.x < 40) ticker.push_back(l.text);
            std::vector<std::string> expected;
            for (int k = 0; k < 17; ++k)
                if (k % 14 != 13) expected.push_back("Heading " + std::to_string(k % 14 + 1));
            EXPECT_EQ(ticker, expected) << "seventeen headings from the card on, the empty one unseen";
            EXPECT_TRUE(Find("A Game by"));
            EXPECT_TRUE(Find("Author"));
            EXPECT_TRUE(Find("tool.example"));
        }
    }
    std::vector<std::string> expected;
    for (int k = 1; k <= 13; ++k) expected.push_back("Heading " + std::to_string(k));
    expected.push_back("Heading 1");
    EXPECT_EQ(shown, expected) << "thirteen cards, then round again";
    EXPECT_EQ(xr_ruvo_RUVO_OptCred, OVERLAY_CREDITS);
}

TEST_F(ScoresCredits, AHeldDirectionTurnsTheCardsFaster) {
    for (bool held : {false, true}) {
        xr_ruvo_RUVO_CredTickA = 0;
        xr_ruvo_RUVO_CredTickB = 0;
        Key(KEY_RIGHT, held);
        int updates = 0;
        while (xr_ruvo_RUVO_CredTickB == 0 && updates < 1000) {
            Update([] { xr_ruvo_Credits(); });
            ++updates;
        }
        EXPECT_EQ(updates, held ? 55 : 271);
    }
}

// Keys, a click and a touch each leave the credits, but only with a press
// made after the one that opened them: that one is still held.
TEST_F(ScoresCredits, LeftByAFreshKeyClickOrTouch) {
    struct Way {
        const char* name;
        std::function<void(c_InputDevice*, bool)> press;
    } ways[] = {
        {"Enter", [](c_InputDevice* in, bool down) { in->p_KeyEvent(down ? E::KeyDown : E::KeyUp, KEY_ENTER); }},
        {"Escape", [](c_InputDevice* in, bool down) { in->p_KeyEvent(down ? E::KeyDown : E::KeyUp, KEY_ESCAPE); }},
        {"a click", [](c_InputDevice* in, bool down) { in->p_MouseEvent(down ? E::MouseDown : E::MouseUp, 0, 400, 300); }},
        {"a touch", [](c_InputDevice* in, bool down) { in->p_TouchEvent(down ? E::TouchDown : E::TouchUp, 2, 40, 30); }},
    };
    for (const Way& way : ways) {
        xr_ruvo_RUVO_OptCred = OVERLAY_CREDITS;
        xr_ruvo_LockKeys();  // as the menu leaves them when it opens the credits
        way.press(input, true);
        for (int update = 0; update < 5; ++update) Update([] { xr_ruvo_Credits(); });
        EXPECT_EQ(xr_ruvo_RUVO_OptCred, OVERLAY_CREDITS) << way.name << " that opened the credits, still held";
        way.press(input, false);
        Update([] { xr_ruvo_Credits(); });
        EXPECT_EQ(xr_ruvo_RUVO_OptCred, OVERLAY_CREDITS) << way.name;
        way.press(input, true);
        Update([] { xr_ruvo_Credits(); });
        EXPECT_EQ(xr_ruvo_RUVO_OptCred, OVERLAY_NONE) << way.name << " pressed again leaves";
        way.press(input, false);
        Update([] {});
    }
}

TEST_F(ScoresCredits, AFullTableAndAnEmptyOne) {
    for (int k = 0; k < 300; ++k) xr_ruvo_AddCredit(String("x"), String(), String(), String(), String());
    EXPECT_EQ(xr_ruvo_RUVO_Creds, 1020) << "credits that do not fit whole are left out";

    xr_ruvo_RUVO_Creds = 0;
    xr_ruvo_RUVO_CredTickA = 270;
    Update([] { xr_ruvo_Credits(); });
    EXPECT_EQ(xr_ruvo_RUVO_CredTickB, 0);
    EXPECT_TRUE(Find("A Game by")) << "the frame still shows";
}

}  // namespace
