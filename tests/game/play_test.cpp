// One update of play, on a real game whose cave the tests rearrange.
#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include <AL/al.h>
#include <gtest/gtest.h>

#include "audio/audio.h"
#include "game/world.h"
#include "shell/draw.h"
#include "shell/particles.h"
#include "shell/sound.h"
#include "shell/state.h"
#include "tests/graphics/gl_fixture.h"
#include "tests/harness/draw_list.h"
#include "tests/harness/game_driver.h"

namespace {


float& plr(int slot) {
    return xr_ruvo_plr.Data()[slot];
}

float& cell(int x, int y, int slot = CELL_TILE) {
    return xr_ruvo_grid.Data()[xr_ruvo_Cell(x, y, slot)];
}

// How many times the update just run queued frame `frame` of the game's
// sprite sheet.
int Queued(int frame) {
    return CountImage(IMG_TILES, frame);
}

// How many divers it queued, in any step of their swimming.
int Diver() {
    int n = 0;
    for (int step = 0; step < FRAME_DIVER_STEPS; ++step) n += Queued(FRAME_DIVER + step);
    return n;
}

// Treasure cells in the whole cave.
int TreasureCells() {
    int n = 0;
    for (int y = 0; y < WORLD_SIZE; ++y)
        for (int x = 0; x < WORLD_SIZE; ++x) n += cell(x, y) == TILE_TREASURE;
    return n;
}

// An effect one update played: which of the game's sounds the channel the
// shell took for it was given to play, and the pitch its OpenAL source
// plays at.
struct Played {
    int sound;
    float pitch;
};

std::vector<Played> PlayedDuringAnUpdate(GameDriver& g) {
    int channel = xr_ruvo_RUVO_LChan;
    g.Update();
    std::vector<Played> played;
    while (channel != xr_ruvo_RUVO_LChan) {
        channel = (channel + 1) % 32;
        const gxtkChannel& c = xr_audio_device->channels[channel];
        float pitch = 0;
        alGetSourcef(c.source, AL_PITCH, &pitch);
        int sound = -1;
        for (int n = 0; n < 100; ++n)
            if (xr_ruvo_RUVO_SFX[n] && xr_ruvo_RUVO_SFX[n]->m_sample == c.sample) sound = n;
        played.push_back({sound, pitch});
    }
    return played;
}

std::vector<int> Numbers(const std::vector<Played>& played) {
    std::vector<int> numbers;
    for (const Played& p : played) numbers.push_back(p.sound);
    return numbers;
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
        for (int i = 0; i <= PART_RECORDS; ++i) n += xr_ruvo_part[PART_SLOTS * i + PART_KIND] == float(kind);
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
    EXPECT_EQ(xr_ruvo_obj[HAZ_ALIVE], 0) << "phase 59";
    g.Update();
    ASSERT_EQ(xr_ruvo_obj[HAZ_ALIVE], 1) << "phase 60";
    EXPECT_EQ(xr_ruvo_obj[HAZ_VX], 0);
    EXPECT_LT(xr_ruvo_obj[HAZ_VY], 0) << "upwards";
    const float speed = -xr_ruvo_obj[HAZ_VY];
    EXPECT_GE(speed, 0.08f);
    EXPECT_LE(speed, 0.08f + (0.9f * 0.13f - 0.08f));
    g.Update(89);
    EXPECT_EQ(xr_ruvo_obj[OBJ_SLOTS + HAZ_ALIVE], 0) << "one emission per 90 updates";
    g.Update();
    EXPECT_EQ(xr_ruvo_obj[OBJ_SLOTS + HAZ_ALIVE], 1);
}

TEST_F(Play, HazardsDieInRockAndFarOffScreen) {
    plr(PLR_INVULNERABLE) = 100000;
    float* o = xr_ruvo_obj.Data();
    // One drifting right into a rock at (530, 500); one far to the left.
    cell(530, 500) = 10;
    o[HAZ_ALIVE] = 1, o[HAZ_X] = 529.95f, o[HAZ_Y] = 500.5f, o[HAZ_VX] = 0.1f;
    float* far = o + OBJ_SLOTS;
    far[HAZ_ALIVE] = 1, far[HAZ_X] = 512 - 40, far[HAZ_Y] = 512, far[HAZ_VX] = -0.1f;
    g.Update();
    EXPECT_EQ(o[HAZ_ALIVE], 1) << "it was not in rock before moving";
    g.Update();
    EXPECT_EQ(o[HAZ_ALIVE], 0) << "it entered the rock";
    EXPECT_EQ(far[HAZ_ALIVE], 0) << "more than 160 pixels beyond the view";
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

TEST_F(Play, SonarLightsTheRockAroundItUntilItsRaysAreSpent) {
    // A wall 8 cells to the right and 20 thick. The ray going right reaches
    // its face 20 updates after the pulse and would be at x = 530 after 45
    // more, were it not spent on the rock it lights on the way.
    plr(PLR_INVULNERABLE) = 100000;
    for (int x = 520; x < 540; ++x)
        for (int y = 505; y <= 519; ++y) cell(x, y) = 7;
    plr(PLR_SONAR) = 90;
    g.Update();
    EXPECT_FLOAT_EQ(plr(PLR_SONAR), 0);
    EXPECT_FLOAT_EQ(plr(PLR_RAY_STRENGTH + 18), 8) << "the ray going right";
    g.Update(60);
    EXPECT_FLOAT_EQ(plr(PLR_SONAR), 60) << "no second pulse yet";
    EXPECT_GT(cell(520, 512, CELL_LIGHT), 0) << "the ray going right lit the wall's face";
    EXPECT_EQ(plr(PLR_RAY_STRENGTH + 18), 0) << "eight hits spent it";
    EXPECT_GT(plr(PLR_RAY_X + 18), 530) << "it went on through the rock";
    for (int y = 505; y <= 519; ++y) EXPECT_EQ(cell(530, y, CELL_LIGHT), 0) << "deep in the wall, row " << y;
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

// Lit rock is drawn from the game's sheet where it lies, as bright as its
// light, which is cut to 89 and then runs down by one an update until the
// rock is dark again; rock never lit is not seen at all.
TEST_F(Play, LitRockShowsWhereItIsAndFadesBackToDark) {
    plr(PLR_INVULNERABLE) = 100000;
    plr(PLR_SONAR) = -1000;  // no pulse lights anything during the test
    for (int x = 520; x < 524; ++x)
        for (int y = 510; y < 514; ++y) {
            cell(x, y) = 6;
            cell(x, y, CELL_LIGHT) = 200;
            cell(x, y + 8) = 6;
            cell(x, y + 8, CELL_LIGHT) = 0;
        }
    // The view's corner is at world pixel (512 * 16 - 400, 512 * 16 - 300);
    // virtual units are 1.28 window pixels.
    const float scale = 1.28f;
    const int x = int((521.5f * 16 - (8192 - 400)) * scale), y = int((511.5f * 16 - (8192 - 300)) * scale);
    const int unlitY = y + int(8 * 16 * scale);

    g.Update();
    g.Render();
    EXPECT_FLOAT_EQ(cell(521, 511, CELL_LIGHT), 89) << "light above 90 is cut to 89";
    const float lit = brightness(g, x, y);
    EXPECT_GT(lit, 40) << "lit rock";
    EXPECT_LT(brightness(g, x, unlitY), 15) << "rock never lit";

    g.Update(44);
    g.Render();
    EXPECT_FLOAT_EQ(cell(521, 511, CELL_LIGHT), 45);
    const float half = brightness(g, x, y);
    EXPECT_GT(half, lit * 0.3f) << "half the light, about half as bright";
    EXPECT_LT(half, lit * 0.7f);

    g.Update(45);
    g.Render();
    EXPECT_EQ(cell(521, 511, CELL_LIGHT), 0);
    EXPECT_LT(brightness(g, x, y), 15) << "the light has run out";
    g.Update();
    EXPECT_EQ(cell(521, 511, CELL_LIGHT), 0) << "and stays out";
}

// Rock and vents hurt on contact alike; open water and treasure never do.
TEST_F(Play, RockAndVentsHurtOnContact) {
    struct Case {
        int code;
        bool hurts;
    };
    const Case cases[] = {{TILE_WATER, false},        {TILE_TREASURE, false},   {TILE_ROCK_FIRST, true},
                          {TILE_ROCK_LAST, true},     {TILE_VENT_CEILING, true}, {TILE_VENT_FLOOR, true},
                          {TILE_VENT_LEFT, true},     {TILE_VENT_RIGHT, true}};
    g.Update();
    for (const Case& c : cases) {
        plr(PLR_LIVES) = 3;
        plr(PLR_INVULNERABLE) = 0;
        plr(PLR_SONAR) = 0;
        cell(512, 512) = float(c.code);
        g.Update();
        EXPECT_FLOAT_EQ(plr(PLR_LIVES), c.hurts ? 2 : 3) << "code " << c.code;
        EXPECT_FLOAT_EQ(plr(PLR_INVULNERABLE), c.hurts ? 119 : 0) << "code " << c.code;
        cell(512, 512) = TILE_WATER;
    }
}

// A hazard hurts when it comes within 16 pixels across and 10 down of the
// player, unless the player is still shielded or already out of lives.
TEST_F(Play, HazardsHurtAnUnshieldedPlayerTheyTouch) {
    struct Case {
        const char* what;
        float dx, dy;  // pixels from the player
        float shield, lives;
        bool hurts;
    };
    const Case cases[] = {
        {"on the player", 0, 0, 0, 3, true},
        {"15 pixels to the right", 15, 0, 0, 3, true},
        {"17 pixels to the left", -17, 0, 0, 3, false},
        {"9 pixels below", 0, 9, 0, 2, true},
        {"11 pixels above", 0, -11, 0, 3, false},
        {"on a shielded player", 0, 0, 30, 3, false},
        {"on a player with no lives left", 0, 0, 0, -1, false},
    };
    g.Update();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        xr_ruvo_ResetObjs();
        plr(PLR_LIVES) = c.lives;
        plr(PLR_INVULNERABLE) = c.shield;
        plr(PLR_SONAR) = 0;
        float* o = xr_ruvo_obj.Data();
        o[HAZ_ALIVE] = 1;
        o[HAZ_X] = 512 + c.dx / 16;
        o[HAZ_Y] = 512 + c.dy / 16;
        g.Update();
        EXPECT_FLOAT_EQ(plr(PLR_LIVES), c.hurts ? c.lives - 1 : c.lives);
        // The hazards come after the shield has run down for this update.
        EXPECT_FLOAT_EQ(plr(PLR_INVULNERABLE), c.hurts ? 120 : std::max(c.shield - 1, 0.0f));
    }
}

// Each vent shoots its hazard out of the rock at a speed drawn between 0.08
// and 0.13 times the danger cells an update: danger is what makes them fast.
TEST_F(Play, DangerSetsTheHazardsSpeed) {
    plr(PLR_INVULNERABLE) = 100000;
    // 24 vents below the player, in view, all of phase (x + y) mod 90 = 50.
    const int kVents = 24;
    for (int k = 0; k < kVents; ++k) cell(500 + k, 540 - k) = float(TILE_VENT_CEILING + k % 4);
    for (float danger : {0.08f / 0.13f, 0.9f, 1.25f, 3.0f}) {
        SCOPED_TRACE(danger);
        xr_ruvo_ResetObjs();
        plr(PLR_DANGER) = danger;
        plr(PLR_VENT_PHASE) = 49;
        g.Update();
        const float low = 0.08f, high = 0.08f + (danger * 0.13f - 0.08f);
        float slowest = 1, fastest = 0;
        for (int k = 0; k < kVents; ++k) {
            const float* o = xr_ruvo_obj.Data() + OBJ_SLOTS * k;
            ASSERT_EQ(o[HAZ_ALIVE], 1) << "vent " << k << " emitted, in order";
            const int code = TILE_VENT_CEILING + k % 4;
            // Ceiling vents shoot down, floor vents up, left-wall vents right,
            // right-wall vents left.
            const float along = code == TILE_VENT_CEILING ? o[HAZ_VY]
                                : code == TILE_VENT_FLOOR ? -o[HAZ_VY]
                                : code == TILE_VENT_LEFT  ? o[HAZ_VX]
                                                          : -o[HAZ_VX];
            const float across = code <= TILE_VENT_FLOOR ? o[HAZ_VX] : o[HAZ_VY];
            EXPECT_EQ(across, 0) << "vent " << k;
            EXPECT_GE(along, low - 1e-6f) << "vent " << k;
            EXPECT_LE(along, high + 1e-6f) << "vent " << k;
            slowest = std::min(slowest, along);
            fastest = std::max(fastest, along);
        }
        if (high - low < 1e-6f) {
            EXPECT_NEAR(fastest, 0.08f, 1e-6f) << "no spread at all";
        } else {
            EXPECT_GT(fastest - slowest, (high - low) * 0.5f) << "speeds spread over the range";
        }
    }
}

// Collecting a treasure counts it off, so that the upkeep puts another in
// the cave: ten lie there again before long.
TEST_F(Play, APickedUpTreasureIsReplaced) {
    plr(PLR_INVULNERABLE) = 100000;
    for (int i = 0; i < 60 && plr(PLR_TREASURES) < 10; ++i) g.Update();
    ASSERT_EQ(plr(PLR_TREASURES), 10);
    ASSERT_EQ(TreasureCells(), 10);
    // One of them moved beside the player.
    bool moved = false;
    for (int y = 3; y <= 1020 && !moved; ++y)
        for (int x = 3; x <= 1020 && !moved; ++x)
            if (cell(x, y) == TILE_TREASURE) {
                cell(x, y) = TILE_WATER;
                cell(513, 512) = TILE_TREASURE;
                moved = true;
            }
    g.Update();
    EXPECT_FLOAT_EQ(plr(PLR_SCORE), 5);
    EXPECT_EQ(plr(PLR_TREASURES), TreasureCells()) << "the count follows the cave";
    for (int i = 0; i < 60 && TreasureCells() < 10; ++i) g.Update();
    EXPECT_EQ(TreasureCells(), 10) << "restocked";
    EXPECT_EQ(plr(PLR_TREASURES), 10);
}

// The player moves 0.025 of its velocity a cell each update, after the
// velocity is kept within -4..4 and the place from before the move within
// 2..1022; without input the velocity first loses 0.05.
TEST_F(Play, MovementAndItsLimits) {
    struct Case {
        float at, velocity, expected;
    };
    const Case cases[] = {
        {512, 4, 512 + 0.025f * 3.95f},     {512, -2, 512 - 0.025f * 1.95f}, {512, 10, 512 + 0.025f * 3.95f},
        {512, -0.04f, 512},                 {1.5f, 0, 2},                    {1030, 0, 1022},
        {1022, 4, 1022 + 0.025f * 3.95f},   {2, -4, 2 - 0.025f * 3.95f},     {-50, 1, 2 + 0.025f * 0.95f},
    };
    plr(PLR_INVULNERABLE) = 100000;
    plr(PLR_SONAR) = -1000;
    for (int axis = 0; axis < 2; ++axis) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << (axis ? "y " : "x ") << c.at << ", velocity " << c.velocity);
            plr(PLR_X) = plr(PLR_Y) = 512;
            plr(PLR_VX) = plr(PLR_VY) = 0;
            plr(PLR_X + axis) = c.at;
            plr(PLR_VX + axis) = c.velocity;
            g.Update();
            EXPECT_FLOAT_EQ(plr(PLR_X + axis), c.expected);
            EXPECT_FLOAT_EQ(plr(PLR_X + 1 - axis), 512) << "the other axis stays";
        }
    }
}

// The window of cells an update visits is 101 wide around the player, and
// 103 wide when it would reach past the grid's edge: only cells inside it
// fade.
TEST_F(Play, TheCellWindowAgainstTheGridsEdge) {
    struct Case {
        float at;
        int first, last;
    };
    const Case cases[] = {
        {512.7f, 462, 562}, {30, 0, 102}, {49, 0, 102}, {49.9f, 0, 99}, {50, 0, 100},
        {973, 923, 1023},   {974, 921, 1023}, {1000, 921, 1023},
    };
    plr(PLR_INVULNERABLE) = 100000;
    plr(PLR_SONAR) = -1000;
    for (int axis = 0; axis < 2; ++axis) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << (axis ? "y " : "x ") << c.at);
            plr(PLR_X) = plr(PLR_Y) = 512;
            plr(PLR_VX) = plr(PLR_VY) = 0;
            plr(PLR_X + axis) = c.at;
            // Lit cells along the player's row (or column): at each end of the
            // window and just outside it.
            auto light = [&](int along) -> float& {
                return axis ? cell(512, along, CELL_LIGHT) : cell(along, 512, CELL_LIGHT);
            };
            for (int along = 0; along < WORLD_SIZE; ++along) light(along) = 0;
            for (int along : {c.first - 1, c.first, c.last, c.last + 1})
                if (along >= 0 && along < WORLD_SIZE) light(along) = 50;
            g.Update();
            EXPECT_EQ(light(c.first), 49);
            EXPECT_EQ(light(c.last), 49);
            if (c.first > 0) {
                EXPECT_EQ(light(c.first - 1), 50) << "before the window";
            }
            if (c.last < WORLD_SIZE - 1) {
                EXPECT_EQ(light(c.last + 1), 50) << "after the window";
            }
        }
    }
}

// The shield is drawn over the diver for its first half second, then blinks
// in half-second phases; a diver with no lives left is drawn no more, and
// its shield no longer runs down.
TEST_F(Play, TheShieldBlinksAndTheLostDiverIsNotDrawn) {
    struct Case {
        float before;
        bool shown;
    };
    const Case cases[] = {{120, true},  {92, true}, {91, false}, {77, true}, {76, false}, {61, false},
                          {47, true},   {17, true}, {16, false}, {1, false}, {0, false}};
    g.Update();
    for (const Case& c : cases) {
        plr(PLR_INVULNERABLE) = c.before;
        g.Update();
        EXPECT_FLOAT_EQ(plr(PLR_INVULNERABLE), std::max(c.before - 1, 0.0f)) << c.before;
        EXPECT_EQ(Queued(FRAME_SHIELD), c.shown ? 1 : 0) << "shield, from " << c.before;
        EXPECT_EQ(Diver(), 1) << "the diver, from " << c.before;
    }
    plr(PLR_LIVES) = -1;
    plr(PLR_INVULNERABLE) = 100;
    g.Update();
    EXPECT_EQ(Diver(), 0) << "no diver";
    EXPECT_EQ(Queued(FRAME_SHIELD), 0) << "no shield";
    EXPECT_FLOAT_EQ(plr(PLR_INVULNERABLE), 100);
}

// The treasure's sound, the hit's, the hit's and the last life's together,
// and the sonar's at its own pitch, as the shell's effects module plays them.
TEST_F(Play, SoundsOfPlay) {
    struct Case {
        const char* what;
        int code;  // put where the player is
        float lives, shield, sonar;
        std::vector<int> sounds;
    };
    const Case cases[] = {
        {"treasure", TILE_TREASURE, 3, 100000, 0, {SFX_TREASURE}},
        {"a hit", 9, 3, 0, 0, {SFX_HIT}},
        {"a shielded touch is silent", 9, 3, 50, 0, {}},
        {"a sonar pulse", TILE_WATER, 3, 100000, 90, {SFX_SONAR}},
        {"the last life", 9, 0, 0, 0, {SFX_HIT, SFX_LAST_LIFE}},
    };
    g.Update();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        plr(PLR_LIVES) = c.lives;
        plr(PLR_INVULNERABLE) = c.shield;
        plr(PLR_SONAR) = c.sonar;
        cell(512, 512) = float(c.code);
        const std::vector<Played> played = PlayedDuringAnUpdate(g);
        EXPECT_EQ(Numbers(played), c.sounds);
        for (const Played& p : played) {
            if (p.sound == SFX_SONAR) {
                EXPECT_FLOAT_EQ(p.pitch, 1) << "the sonar keeps its pitch";
            } else {
                EXPECT_GE(p.pitch, 0.7f) << p.sound;
                EXPECT_LE(p.pitch, 1.3f) << p.sound;
            }
        }
        cell(512, 512) = TILE_WATER;
    }
}

}  // namespace
