// One update of play, on a real game whose cave the tests rearrange.
#include <cmath>
#include <set>

#include <gtest/gtest.h>

#include "game/world.h"
#include "shell/draw.h"
#include "shell/particles.h"
#include "shell/state.h"
#include "tests/graphics/gl_fixture.h"
#include "tests/harness/game_driver.h"

namespace {

enum { KEY_RIGHT = 39 };

float& plr(int slot) {
    return xr_ruvo_plr.Data()[slot];
}

float& cell(int x, int y, int slot = 0) {
    return xr_ruvo_grid.Data()[xr_ruvo_Cell(x, y, slot)];
}

// A game on Easy whose player floats at (512, 512) in open water, with no
// hazards, no treasure and no vents within 100 cells.
class Play : public ::testing::Test {
protected:
    GameDriver g;
    void SetUp() override {
        g.StartGame(1);
        for (int x = 412; x <= 612; ++x)
            for (int y = 412; y <= 612; ++y) cell(x, y) = 0;
        plr(PLR_TREASURES) = 0;
        xr_ruvo_ResetObjs();
    }
    int Alive(int kind) {
        int n = 0;
        for (int i = 0; i <= PART_RECORDS; ++i) n += xr_ruvo_part[10 * i] == float(kind);
        return n;
    }
};

TEST_F(Play, SteeringAcceleratesToFourAndDecaysToExactlyZero) {
    plr(PLR_INVULNERABLE) = 100000;
    g.Press(KEY_RIGHT);
    g.Update(12);
    EXPECT_FLOAT_EQ(plr(PLR_VX), 4) << "capped at 4";
    EXPECT_FLOAT_EQ(plr(PLR_FACING), 1);
    g.Release(KEY_RIGHT);
    // The control axis falls back over a few updates; the drag starts once
    // it is below 0.3 and then takes 0.05 an update.
    int updates = 0;
    while (plr(PLR_VX) == 4 && updates < 20) {
        g.Update();
        ++updates;
    }
    EXPECT_FLOAT_EQ(plr(PLR_VX), 3.95f);
    int dragged = 1;
    while (plr(PLR_VX) > 0 && dragged < 200) {
        const float before = plr(PLR_VX);
        g.Update();
        ++dragged;
        EXPECT_NEAR(before - plr(PLR_VX), std::min(0.05f, before), 1e-5);
    }
    EXPECT_EQ(plr(PLR_VX), 0.0f) << "exactly zero, not a sign change";
    // 4 / 0.05 steps; a float residue may take one more, never a sign change.
    EXPECT_GE(dragged, 80);
    EXPECT_LE(dragged, 81);
    const float x = plr(PLR_X);
    g.Update();
    EXPECT_EQ(plr(PLR_X), x);
}

TEST_F(Play, RockHurtsOnlyWithoutInvulnerability) {
    plr(PLR_INVULNERABLE) = 5;
    g.Update();  // the player's screen place is taken
    cell(512, 512) = 9;
    float timerBefore = plr(PLR_INVULNERABLE);
    while (plr(PLR_LIVES) == 3 && g.updates < 1000) {
        timerBefore = plr(PLR_INVULNERABLE);
        g.Update();
    }
    EXPECT_EQ(timerBefore, 0) << "no hit while any invulnerability was left";
    EXPECT_FLOAT_EQ(plr(PLR_LIVES), 2);
    EXPECT_FLOAT_EQ(plr(PLR_INVULNERABLE), 119) << "120, one update already run down";
    EXPECT_EQ(Alive(PART_SHAPE), 65);
    g.Update(50);
    EXPECT_FLOAT_EQ(plr(PLR_LIVES), 2);
}

TEST_F(Play, TreasureScoresAndSpeedsTheHazards) {
    g.Update();
    cell(513, 512) = TILE_TREASURE;
    plr(PLR_TREASURES) = 1;
    const float danger = plr(PLR_DANGER);
    g.Update();
    EXPECT_FLOAT_EQ(plr(PLR_SCORE), 5);
    EXPECT_FLOAT_EQ(plr(PLR_DANGER), danger + 0.04f);
    EXPECT_EQ(cell(513, 512), TILE_WATER);
    EXPECT_EQ(Alive(PART_SHAPE), 25);
    EXPECT_EQ(Alive(PART_LABEL), 1) << "a floating 5";
    plr(PLR_DANGER) = 2.99f;
    cell(511, 512) = TILE_TREASURE;
    g.Update();
    EXPECT_FLOAT_EQ(plr(PLR_DANGER), 3) << "danger stops at 3";
}

TEST_F(Play, TreasureStaysInOpenWaterFarFromThePlayer) {
    plr(PLR_INVULNERABLE) = 100000;
    for (int round = 0; round < 30; ++round) {
        g.Update();
        int count = 0;
        for (int y = 3; y <= 1020; ++y)
            for (int x = 3; x <= 1020; ++x) {
                if (cell(x, y) != TILE_TREASURE) continue;
                ++count;
                EXPECT_LE(cell(x - 1, y), 0);
                EXPECT_LE(cell(x + 1, y), 0);
                EXPECT_LE(cell(x, y - 1), 0);
                EXPECT_LE(cell(x, y + 1), 0);
                EXPECT_GE(xr_ruvo_Dist(float(x), float(y), 512, 512), 20);
            }
        EXPECT_LE(count, 10);
        EXPECT_EQ(count, int(plr(PLR_TREASURES)));
    }
    EXPECT_EQ(plr(PLR_TREASURES), 10) << "the cave is stocked";
}

TEST_F(Play, VentsEmitOnTheirPhase) {
    // A floor vent at (520, 530): rock below, water above; it emits upwards
    // when the phase reaches (520 + 530) mod 90 = 60.
    cell(520, 531) = 8;
    cell(520, 530) = TILE_VENT_FLOOR;
    plr(PLR_VENT_PHASE) = 58;
    plr(PLR_INVULNERABLE) = 100000;
    g.Update();
    EXPECT_EQ(xr_ruvo_obj[0], 0) << "phase 59";
    g.Update();
    ASSERT_EQ(xr_ruvo_obj[0], 1) << "phase 60";
    EXPECT_EQ(xr_ruvo_obj[3], 0);
    EXPECT_LT(xr_ruvo_obj[4], 0) << "upwards";
    const float speed = -xr_ruvo_obj[4];
    EXPECT_GE(speed, 0.08f);
    EXPECT_LE(speed, 0.08f + (0.9f * 0.13f - 0.08f));
    g.Update(89);
    EXPECT_EQ(xr_ruvo_obj[10], 0) << "one emission per 90 updates";
    g.Update();
    EXPECT_EQ(xr_ruvo_obj[10], 1);
}

TEST_F(Play, HazardsDieInRockAndFarOffScreen) {
    plr(PLR_INVULNERABLE) = 100000;
    float* o = xr_ruvo_obj.Data();
    // One drifting right into a rock at (530, 500); one far to the left.
    cell(530, 500) = 10;
    o[0] = 1, o[1] = 529.95f, o[2] = 500.5f, o[3] = 0.1f;
    o[10] = 1, o[11] = 512 - 40, o[12] = 512, o[13] = -0.1f;
    g.Update();
    EXPECT_EQ(o[0], 1) << "it was not in rock before moving";
    g.Update();
    EXPECT_EQ(o[0], 0) << "it entered the rock";
    EXPECT_EQ(o[10], 0) << "more than 160 pixels beyond the view";
}

TEST_F(Play, SonarPulsesAtUpdateThirtyOneThenEveryNinetyOne) {
    GameDriver fresh;
    fresh.StartGame(1);
    int first = 0, second = 0;
    for (int update = 1; update <= 130 && !second; ++update) {
        fresh.Update();
        if (plr(PLR_SONAR) == 0) (first ? second : first) = update;
    }
    EXPECT_EQ(first, 31 - 1 + 1) << "the start-up update is the first of play";
    EXPECT_EQ(second - first, 91);
    EXPECT_FLOAT_EQ(plr(PLR_RAY_STRENGTH), 8);
}

TEST_F(Play, SonarLightsTheRockAroundIt) {
    for (int y = 505; y <= 519; ++y) cell(520, y) = 7;  // a wall 8 cells to the right
    plr(PLR_SONAR) = 90;
    g.Update();
    EXPECT_FLOAT_EQ(plr(PLR_SONAR), 0);
    g.Update(30);
    EXPECT_GT(cell(520, 512, 1), 0) << "the ray going right lit the wall";
    EXPECT_EQ(cell(530, 512, 1), 0);
}

// Mean brightness of a square of window pixels centred on (x, y).
float brightness(GameDriver& g, int x, int y) {
    float sum = 0;
    for (int dy = -16; dy < 16; dy += 4)
        for (int dx = -16; dx < 16; dx += 4) {
            Rgb p = ToRgb(g.Pixel(x + dx, y + dy));
            sum += float(p.r + p.g + p.b) / 3;
        }
    return sum / 64;
}

// Lit rock is drawn from the game's sheet where it lies; unlit rock is not.
TEST_F(Play, LitRockShowsWhereItIs) {
    plr(PLR_INVULNERABLE) = 100000;
    for (int x = 520; x < 524; ++x)
        for (int y = 510; y < 514; ++y) {
            cell(x, y) = 6;
            cell(x, y, 1) = 200;
            cell(x, y + 8) = 6;
            cell(x, y + 8, 1) = 0;
        }
    g.Update();
    g.Render();
    // The view's corner is at world pixel (512 * 16 - 400, 512 * 16 - 300);
    // virtual units are 1.28 window pixels.
    const float scale = 1.28f;
    const int x = int((521.5f * 16 - (8192 - 400)) * scale), y = int((511.5f * 16 - (8192 - 300)) * scale);
    EXPECT_GT(brightness(g, x, y), 40) << "lit rock";
    EXPECT_LT(brightness(g, x, y + int(8 * 16 * scale)), 15) << "unlit rock stays dark";
}

}  // namespace
