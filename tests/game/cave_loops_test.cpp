// The cave builder's two builds of its hot loops, AVX2 and plain, build the
// same cave: every slot of every cell, and the generator left in the same
// state, on every difficulty and several seeds.
#include <cstdint>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "game/cavern.h"
#include "game/mygame.h"
#include "game/world.h"
#include "shell/state.h"
#include "support/random.h"
#include "tests/harness/test_roots.h"

namespace {

class CaveLoops : public ::testing::Test {
protected:
    c_MyGame* game = nullptr;
    void SetUp() override {
        ResetModules();
        game = new c_MyGame();  // not registered: only its cave builder is used
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

TEST_F(CaveLoops, Avx2AndPlainBuildTheSameCave) {
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
