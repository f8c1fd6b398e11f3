// The particle ring and the star field.
#include <set>

#include <gtest/gtest.h>

#include "game/world.h"
#include "host/app.h"
#include "host/glfwgame.h"
#include "shell/draw.h"
#include "shell/particles.h"
#include "shell/state.h"
#include "support/random.h"
#include "tests/harness/draw_list.h"
#include "tests/harness/test_roots.h"

namespace {

const float* particle(int n) {
    return xr_ruvo_part.Data() + PART_SLOTS * n;
}

class Particles : public ::testing::Test {
protected:
    XrGlfwGame host;  // the clock

    void SetUp() override {
        ResetModules();
        xr_app__game = &host;
        xr_ruvo_scrx = 1000;
        xr_ruvo_scry = 2000;
        xr_ruvo_jscrw = 800;
        xr_ruvo_jscrh = 600;
    }
    int Alive() {
        int n = 0;
        for (int i = 0; i <= PART_RECORDS; ++i) n += particle(i)[0] > 0;
        return n;
    }
};

TEST_F(Particles, TheRingKeepsTheLatest250) {
    for (int i = 0; i < 300; ++i) xr_ruvo_ThrowShape(1000.0f + float(i), 2100, 1 + i % 9, 90, 0);
    EXPECT_EQ(Alive(), 250);
    std::set<int> xs;
    for (int i = 0; i < PART_RECORDS; ++i) xs.insert(int(particle(i)[1]) - 1000);
    EXPECT_EQ(*xs.begin(), 50) << "the first 50 were overwritten";
    EXPECT_EQ(*xs.rbegin(), 299);
}

TEST_F(Particles, ThrowsSetDirectionLifeAndColour) {
    xr_ruvo_ThrowParticle(1100, 2100, PART_BOUNCING, 6, 90, 2);
    const float* p = particle(xr_ruvo_RUVO_Partto);
    EXPECT_EQ(p[PART_KIND], PART_BOUNCING);
    EXPECT_NEAR(p[PART_VX], 2, 1e-5) << "90 degrees is to the right";
    EXPECT_NEAR(p[PART_VY], 0, 1e-5);
    EXPECT_EQ(p[PART_LIFE], 1);
    EXPECT_GE(p[PART_FRAME], 2100 - 16);
    EXPECT_LT(p[PART_FRAME], 2100 + 16) << "the floor line near its start";
    EXPECT_EQ(p[PART_COLOUR], 6);
    xr_ruvo_ThrowParticle(1100, 2100, PART_SMOKE, 1, 0, 3);
    EXPECT_NEAR(particle(xr_ruvo_RUVO_Partto)[4], -3, 1e-5) << "0 degrees is up";
}

TEST_F(Particles, AStillShapeLivesSixtySevenFrames) {
    xr_ruvo_ThrowShape(1400, 2300, 4, 0, 0);
    int frames = 0;
    while (Alive() > 0 && frames < 1000) {
        xr_ruvo_Sprtup = 0;
        xr_ruvo_DoParticles();
        ++frames;
    }
    EXPECT_EQ(frames, 67);
    EXPECT_FLOAT_EQ(particle(1)[1], 1400) << "speed 0: it stays put";
}

TEST_F(Particles, ScoreLabelRisesAndFadesInFifty) {
    xr_ruvo_Gimme(5, 1400, 2300, 1);
    EXPECT_EQ(xr_ruvo_plr[PLR_SCORE], 5);
    const float* label = particle(1);
    EXPECT_EQ(label[0], PART_LABEL);
    EXPECT_EQ(label[8], 5);
    for (int frame = 0; frame < 3; ++frame) xr_ruvo_DoParticles();
    EXPECT_NEAR(label[2], 2300 - 0.02f - 0.04f, 1e-3) << "velocity changes after the move";
    int frames = 3;
    while (label[0] > 0 && frames < 1000) {
        xr_ruvo_DoParticles();
        ++frames;
    }
    EXPECT_EQ(frames, 50);
    EXPECT_NEAR(label[4], -0.35f, 1e-6) << "rising no faster than 0.35";

    xr_ruvo_Gimme(5, GIMME_NO_LABEL, 0, 1);
    EXPECT_EQ(xr_ruvo_plr[PLR_SCORE], 10);
    EXPECT_EQ(Alive(), 0) << "no label";
    xr_ruvo_Gimme(5, 1400, 2300, 8);
    EXPECT_EQ(xr_ruvo_plr[PLR_SCORE], 10) << "no such player";
    EXPECT_EQ(xr_ruvo_plr[7 * PLR_RECORD + PLR_SCORE], 0) << "nor past the seventh";
}

TEST_F(Particles, ParticlesLeavingTheScreenAreFreed) {
    xr_ruvo_ThrowShape(1000 - 127, 2100, 4, 270, 5);
    xr_ruvo_DoParticles();
    EXPECT_EQ(Alive(), 0);
}

TEST_F(Particles, ParticlesQueueTheirImages) {
    xr_ruvo_RUVO_ImgD[IMG_PARTICLE_SHAPES_FULL] = xr_ruvo_RUVO_ImgD[IMG_PARTICLE_SHAPES] =
        xr_ruvo_RUVO_ImgD[IMG_PARTICLE_SMOKE] = 16;
    xr_ruvo_ThrowParticle(1100, 2100, PART_SMOKE, 2, 0, 0);
    xr_ruvo_ThrowShape(1200, 2100, 2, 0, 0);
    xr_ruvo_ThrowParticle(1300, 2100, PART_FALLING, 2, 0, 0);
    xr_ruvo_Sprtup = 0;
    xr_ruvo_DoParticles();
    ASSERT_EQ(xr_ruvo_Sprtup, 3);
    const int images[] = {IMG_PARTICLE_SMOKE, IMG_PARTICLE_SHAPES, IMG_PARTICLE_SHAPES_FULL};
    for (int n = 0; n < 3; ++n) {
        const float* cmd = Command(n);
        EXPECT_EQ(cmd[CMD_IMAGE], images[n]);
        EXPECT_EQ(cmd[CMD_FRAME], float((n + 1) % 16)) << "frame: the record number";
        EXPECT_NEAR(cmd[CMD_X], 100 + 100 * n, 1e-3) << "screen position";
        EXPECT_NEAR(cmd[STYLE_ALPHA], 1, 1e-6);
    }
    EXPECT_FLOAT_EQ(Command(0)[STYLE_SCALE_X], 1) << "smoke starts at scale 1";
    EXPECT_FLOAT_EQ(Command(1)[STYLE_SCALE_X], 0.3f);
}

TEST_F(Particles, StarsDriftWrapAndFade) {
    xr_ruvo_ResetStars();
    float* star = xr_ruvo_astar.Data();
    for (int i = 0; i < STAR_RECORDS; ++i) {
        ASSERT_GE(star[STAR_SLOTS * i + STAR_DEPTH], 0.25f);
        ASSERT_LE(star[STAR_SLOTS * i + STAR_DEPTH], 0.9f);
        ASSERT_GE(star[STAR_SLOTS * i + STAR_X], -128);
    }
    std::vector<float> before(star, star + STAR_SLOTS * STAR_RECORDS);
    xr_ruvo_DoBits(0, 0, 0);
    for (int i = 0; i < STAR_RECORDS; ++i) {
        EXPECT_EQ(star[STAR_SLOTS * i + STAR_X], before[size_t(STAR_SLOTS * i + STAR_X)]);
        EXPECT_EQ(star[STAR_SLOTS * i + STAR_Y], before[size_t(STAR_SLOTS * i + STAR_Y)]);
    }
    EXPECT_EQ(xr_ruvo_Sprtup, STAR_RECORDS);

    star[STAR_X] = -120;
    star[STAR_Y] = 300;
    star[STAR_DEPTH] = 0.5f;
    xr_ruvo_Sprtup = 0;
    xr_ruvo_DoBits(-20, 0, 0);
    EXPECT_EQ(star[STAR_X], 800 + 128) << "back at the right edge";
    EXPECT_NE(star[STAR_DEPTH], 0.5f) << "with a new depth";
    EXPECT_NE(star[STAR_Y], 300.0f) << "and height";

    star[STAR_SLOTS + STAR_X] = 400;  // star 1 at the centre: fully visible
    star[STAR_SLOTS + STAR_Y] = 300;
    star[STAR_SLOTS + STAR_DEPTH] = 0.5f;
    xr_ruvo_RUVO_ScrollX = 10;
    xr_ruvo_Sprtup = 0;
    xr_ruvo_DoBits(0, 0, 1);
    EXPECT_FLOAT_EQ(star[STAR_SLOTS + STAR_X], 405) << "the camera's step at the star's depth";
    EXPECT_NEAR(Command(1)[STYLE_ALPHA], 1 - 25.0f / 40000, 1e-6) << "star 1 is the second command";
}

TEST_F(Particles, FlushGameClearsTheWorld) {
    xr_ruvo_grid[xr_ruvo_Cell(3, 3)] = 7;
    xr_ruvo_plr[PLR_SCORE] = 40;
    xr_ruvo_obj[HAZ_ALIVE] = 1;
    xr_ruvo_ThrowShape(1100, 2100, 1, 0, 0);
    xr_ruvo_RUVO_EndofGame = 30;
    xr_ruvo_FlushGame();
    EXPECT_EQ(xr_ruvo_grid[xr_ruvo_Cell(3, 3)], 0);
    EXPECT_EQ(xr_ruvo_plr[PLR_SCORE], 0);
    EXPECT_EQ(xr_ruvo_obj[HAZ_ALIVE], 0);
    EXPECT_EQ(Alive(), 0);
    EXPECT_EQ(xr_ruvo_RUVO_EndofGame, 0);
}

}  // namespace
