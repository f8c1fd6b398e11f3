// The world model's helpers and the cave generator.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "game/cavern.h"
#include "game/mygame.h"
#include "game/world.h"
#include "shell/draw.h"
#include "shell/state.h"
#include "support/random.h"
#include "tests/harness/test_roots.h"

namespace {

class World : public ::testing::Test {
protected:
    c_MyGame* game = nullptr;
    void SetUp() override {
        ResetModules();
        game = new c_MyGame();  // not registered: only its world methods are used
        gc_assign(test_roots[0], game);
    }
    void TearDown() override {
        xr_ruvo_UseCaveLoops(CAVE_LOOPS_BEST);
        test_roots[0] = nullptr;
    }

    struct Cave {
        std::vector<float> grid;
        uint32_t seedAfter = 0;
    };
    // The cave of difficulty `type` from `seed`, built with the given build
    // of the cave builder's hot loops.
    Cave Build(int loops, int type, int seed) {
        EXPECT_EQ(xr_ruvo_UseCaveLoops(loops), 1);
        xr_ruvo_RUVO_GameType = type;
        xr_ruvo_SeedRnd(seed);
        xr_ruvo_ResetGrid();
        game->p_Cavern();
        const float* g = xr_ruvo_grid.Data();
        return {std::vector<float>(g, g + WORLD_SIZE * WORLD_SIZE * CELL_SLOTS), uint32_t(xr_random_Seed)};
    }
};

TEST_F(World, GeneratorDrawsAndDistances) {
    // Seeding steps 7 through the generator 21 times: 1556770654. The next
    // three draws give u = (s >> 8) / 2^24, then floor(u * 99.99).
    xr_ruvo_SeedRnd(7);
    EXPECT_EQ(uint32_t(xr_random_Seed), 1556770654u);
    EXPECT_EQ(xr_ruvo_Rand(0, 99), 48);
    EXPECT_EQ(xr_ruvo_Rand(0, 99), 9);
    EXPECT_EQ(xr_ruvo_Rand(0, 99), 74);
    EXPECT_EQ(uint32_t(xr_random_Seed), 3217519775u);

    std::set<int> seen;
    for (int i = 0; i < 4000; ++i) seen.insert(xr_ruvo_Rand(0, 15));
    EXPECT_EQ(seen.size(), 16u);
    EXPECT_EQ(*seen.begin(), 0);
    EXPECT_EQ(*seen.rbegin(), 15);

    std::vector<int> first, second;
    for (std::vector<int>* run : {&first, &second}) {
        xr_ruvo_SeedRnd(424242);
        for (int i = 0; i < 20; ++i) run->push_back(xr_ruvo_Rand(-5, 5));
    }
    EXPECT_EQ(first, second);
    EXPECT_EQ(xr_ruvo_RUVO_Seed, 424242);

    EXPECT_FLOAT_EQ(xr_ruvo_Dist(0, 0, 3, 4), 5);
    EXPECT_FLOAT_EQ(xr_ruvo_Dist(1, 1, 1, 1), 0);
}

TEST_F(World, FreeObjectRecords) {
    for (int i = 0; i <= 100; ++i) xr_ruvo_obj[OBJ_SLOTS * i + HAZ_ALIVE] = 1;
    EXPECT_EQ(xr_ruvo_FreeObj(100, 10), -1);
    xr_ruvo_obj[OBJ_SLOTS * 7 + HAZ_ALIVE] = 0;
    EXPECT_EQ(xr_ruvo_FreeObj(100, 10), 70);
    EXPECT_EQ(xr_ruvo_FreeObj(5, 10), -1) << "only records 0..5 are looked at";
    EXPECT_EQ(xr_ruvo_FreeObj(-1, 10), -1);
    xr_ruvo_ResetObjs();
    EXPECT_EQ(xr_ruvo_FreeObj(100, 10), 0);
}

uint64_t grid_hash() {
    uint64_t h = 1469598103934665603ull;
    const float* g = xr_ruvo_grid.Data();
    for (int i = 0; i < WORLD_SIZE * WORLD_SIZE * CELL_SLOTS; ++i) {
        h ^= uint64_t(int(g[i]) + 7);
        h *= 1099511628211ull;
    }
    return h;
}

int tile(int x, int y) {
    return int(xr_ruvo_grid[xr_ruvo_Cell(x, y)]);
}

bool is_vent(int code) {
    return code >= TILE_VENT_CEILING && code <= TILE_VENT_RIGHT;
}

// An independent rendering of the generator's rules, draw by draw, to check
// the cave byte for byte.
std::vector<uint8_t> expected_cave(uint32_t seed, int type) {
    uint32_t s = seed;
    auto u = [&] {
        s = s * 1664525u + 1013904223u;
        return float(s >> 8) * 5.9604645e-08f;
    };
    std::vector<uint8_t> g(size_t(WORLD_SIZE) * WORLD_SIZE);
    auto at = [&](int x, int y) -> uint8_t& { return g[size_t(y) * WORLD_SIZE + size_t(x)]; };
    for (int x = 0; x < 1024; ++x)
        for (int y = 0; y < 1024; ++y) at(x, y) = uint8_t(std::floor(u() * 5.99f + 6));
    for (int t = 0; type >= 0 && t < type + 1; ++t) {
        int x = 512, y = 512, h = int(std::floor(u() * 180.99f + 90)), r = 8;
        for (int step = 0; step < type * 8 + 1; ++step) {
            for (int a = 0; a <= 360; ++a)
                for (int d = 0; d <= r; ++d) {
                    int px = int(float(d) * std::sin(float(a) * D2R) + float(x));
                    int py = int(float(y) - float(d) * std::cos(float(a) * D2R));
                    if (px >= 4 && px <= 1020 && py >= 4 && py <= 1020) at(px, py) = 0;
                }
            if (u() * 10 < 2) h = int(std::floor(u() * 360.99f));
            x = std::min(1010, std::max(10, int(float(x) + std::sin(float(h) * D2R) * float(r))));
            y = std::min(1010, std::max(10, int(float(y) - float(r) * std::cos(float(h) * D2R))));
            r = int(std::floor(u() * 6.99f + 6));
        }
    }
    float T = type == 2 ? 3.25f : type == 3 ? 4.5f : 2.0f;
    for (int x = 2; x <= 1019; x += 3)
        for (int y = 2; y <= 1019; y += 3) {
            if (at(x, y) != 0) continue;
            if (u() * 6 >= T || x == 512 || y == 512) continue;
            uint8_t code = 0;
            if (at(x - 1, y) > 0 && at(x + 1, y) == 0) code = 14;
            if (at(x + 1, y) > 0 && at(x - 1, y) == 0) code = 15;
            if (at(x, y - 1) > 0 && at(x, y + 1) == 0) code = 12;
            if (at(x, y + 1) > 0 && at(x, y - 1) == 0) code = 13;
            at(x, y) = code;
        }
    return g;
}

TEST_F(World, CavernFollowsItsRulesOnEveryDifficulty) {
    xr_ruvo_jscrw = 800;
    xr_ruvo_jscrh = 450;
    for (int type : {1, 2, 3, 0}) {
        xr_ruvo_RUVO_GameType = type;
        xr_ruvo_SeedRnd(1000 + type);
        uint32_t seed = uint32_t(xr_random_Seed);
        xr_ruvo_ResetGrid();
        game->p_Cavern();

        std::vector<uint8_t> expected = expected_cave(seed, type);
        int mismatches = 0, open = 0, vents = 0;
        for (int y = 0; y < 1024; ++y)
            for (int x = 0; x < 1024; ++x) {
                int code = tile(x, y);
                mismatches += code != expected[size_t(y) * 1024 + size_t(x)];
                open += code == TILE_WATER;
                vents += is_vent(code);
                bool border = x < 4 || x > 1020 || y < 4 || y > 1020;
                ASSERT_TRUE(!border || code >= TILE_ROCK_FIRST) << x << "," << y;
                if (!is_vent(code)) continue;
                ASSERT_NE(x, 512);
                ASSERT_NE(y, 512);
                int l = tile(x - 1, y), r = tile(x + 1, y), up = tile(x, y - 1), dn = tile(x, y + 1);
                bool matches = (code == TILE_VENT_CEILING && up > 0 && dn == 0) ||
                               (code == TILE_VENT_FLOOR && dn > 0 && up == 0) ||
                               (code == TILE_VENT_LEFT && l > 0 && r == 0) ||
                               (code == TILE_VENT_RIGHT && r > 0 && l == 0);
                EXPECT_TRUE(matches) << "vent " << code << " at " << x << "," << y;
            }
        EXPECT_EQ(mismatches, 0) << "type " << type;
        EXPECT_EQ(tile(512, 512), TILE_WATER);
        if (type > 0) {
            EXPECT_GT(vents, 0) << "type " << type;
        } else {
            EXPECT_LT(open + vents, 230) << "one tunnel of one disc";
        }

        EXPECT_FLOAT_EQ(xr_ruvo_plr[PLR_X], 512);
        EXPECT_FLOAT_EQ(xr_ruvo_plr[PLR_SONAR], 60);
        EXPECT_FLOAT_EQ(xr_ruvo_plr[PLR_INVULNERABLE], 120);
        EXPECT_FLOAT_EQ(xr_ruvo_plr[PLR_DANGER], type == 2 ? 1.0f : type == 3 ? 1.25f : 0.9f);
        EXPECT_FLOAT_EQ(xr_ruvo_aimx, 8192 - 400);
        EXPECT_FLOAT_EQ(xr_ruvo_scry, 8192 - 225);
        // The first update's contacts are judged where the player is drawn.
        EXPECT_FLOAT_EQ(xr_ruvo_plr[PLR_SCREEN_X], 400);
        EXPECT_FLOAT_EQ(xr_ruvo_plr[PLR_SCREEN_Y], 225);
    }
}

TEST_F(World, SameStateSameCave) {
    xr_ruvo_RUVO_GameType = 2;
    uint64_t hashes[2];
    uint32_t after[2];
    for (int run = 0; run < 2; ++run) {
        xr_ruvo_SeedRnd(99);
        xr_ruvo_ResetGrid();
        game->p_Cavern();
        hashes[run] = grid_hash();
        after[run] = uint32_t(xr_random_Seed);
    }
    EXPECT_EQ(hashes[0], hashes[1]);
    EXPECT_EQ(after[0], after[1]);
    xr_ruvo_SeedRnd(100);
    game->p_Cavern();
    EXPECT_NE(grid_hash(), hashes[0]);
}

TEST_F(World, NegativeDifficultyLeavesAllRock) {
    xr_ruvo_RUVO_GameType = -1;
    xr_ruvo_SeedRnd(5);
    game->p_Cavern();
    for (int y = 0; y < 1024; ++y)
        for (int x = 0; x < 1024; ++x) ASSERT_GE(tile(x, y), TILE_ROCK_FIRST);
    EXPECT_FLOAT_EQ(xr_ruvo_plr[PLR_Y], 512);
}

// The cave builder's two builds of its hot loops, AVX2 and plain, build the
// same cave: every slot of every cell, and the generator left in the same
// state, on every difficulty and several seeds.
TEST_F(World, Avx2AndPlainLoopsBuildTheSameCave) {
#if defined(__x86_64__)
    __builtin_cpu_init();
    ASSERT_TRUE(__builtin_cpu_supports("avx2")) << "this processor has no AVX2: the AVX2 build cannot be checked here";
#else
    FAIL() << "not an x86-64 build: there is no AVX2 build to check";
#endif
    ASSERT_EQ(xr_ruvo_UseCaveLoops(CAVE_LOOPS_AVX2), 1) << "the processor has AVX2 but the game has no AVX2 build";

    for (int type : {1, 2, 3}) {
        for (int seed : {1, 2024, 65537, -99}) {
            const Cave plain = Build(CAVE_LOOPS_PLAIN, type, seed);
            const Cave wide = Build(CAVE_LOOPS_AVX2, type, seed);
            int open = 0, differing = 0, first = -1;
            for (size_t i = 0; i < plain.grid.size(); ++i) {
                if (i % CELL_SLOTS == 0 && plain.grid[i] == TILE_WATER) ++open;
                if (std::memcmp(&plain.grid[i], &wide.grid[i], sizeof(float)) == 0) continue;
                if (first < 0) first = int(i);
                ++differing;
            }
            const int cell = first / CELL_SLOTS;
            EXPECT_EQ(differing, 0) << "difficulty " << type << ", seed " << seed << ": first at cell ("
                                    << cell % WORLD_SIZE << ", " << cell / WORLD_SIZE << ") slot "
                                    << first % CELL_SLOTS;
            EXPECT_EQ(plain.seedAfter, wide.seedAfter) << "difficulty " << type << ", seed " << seed;
            // Tunnels were carved, so the disc loops were compared too.
            EXPECT_GT(open, 1000) << "difficulty " << type << ", seed " << seed;
        }
    }
}

}  // namespace
