// Settings, scores and the save string, through the real state file.
#include <malloc.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "game/modules.h"
#include "host/app.h"
#include "host/glfwgame.h"
#include "runtime/gc.h"
#include "shell/state.h"
#include "tests/harness/files.h"
#include "tests/harness/sanitizer.h"
#include "tests/harness/scratch.h"
#include "tests/harness/test_roots.h"

// AddressSanitizer brings its own allocator, whose figures the C library's
// do not include.
#if GLIMMERDEEP_ASAN
#include <sanitizer/allocator_interface.h>
#endif

namespace fs = std::filesystem;

namespace {

std::vector<std::string> fields_of(const std::string& saved) {
    std::vector<std::string> out;
    std::string field;
    for (char c : saved) {
        if (c == '|') {
            out.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    out.push_back(field);
    return out;
}

std::string join(const std::vector<std::string>& fields) {
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) out += (i ? "|" : "") + fields[i];
    return out;
}

// Where score `m` and the check value of score block `block` lie in the save
// string.
int score_field(int m) {
    return SAVE_FIRST_SCORE + m + m / SAVE_BLOCK;
}
int block_check_field(int block) {
    return SAVE_FIRST_SCORE + (SAVE_BLOCK + 1) * block + SAVE_BLOCK;
}

// A fresh shell in a folder of its own, where the state file lives.
class SaveData : public ::testing::Test {
protected:
    XrGlfwGame host;
    ScratchFolder folder{"save"};

    void SetUp() override {
        folder.Enter();
        Fresh();
    }
    void Fresh() {
        ResetModules();
        xr_app__game = &host;
        xr_ruvo_SetGameNumber(503);
    }
    void WriteState(const std::string& s) { std::ofstream(".vantlestate", std::ios::binary) << s; }
    // What a game leaves in memory after the loading screen, with some scores.
    void FillSome() {
        xr_ruvo_SetDefaults();
        xr_ruvo_RUVO_Set[SET_LOADED] = 1;
        xr_ruvo_RUVO_Set[5] = 9;
        for (int m = 0; m < 10000; m += 7) xr_ruvo_RUVO_Score[m] = m * 3 + 1;
    }
};

TEST_F(SaveData, CheckValuesOfTheDefaults) {
    xr_ruvo_SetDefaults();
    xr_ruvo_RUVO_Set[SET_LOADED] = 1;
    EXPECT_EQ(xr_ruvo_SettingsCheck(), 17);
    for (int k = 0; k < 312; ++k) EXPECT_EQ(xr_ruvo_BlockCheck(k), (1024 * k + 528) % 1740) << "block " << k;
}

TEST_F(SaveData, SaveStringLayout) {
    xr_ruvo_SetDefaults();
    xr_ruvo_RUVO_Set[SET_LOADED] = 1;
    xr_ruvo_RUVO_Score[9999] = -4;
    xr_ruvo_Save();
    std::string saved = ReadFile(".vantlestate");
    ASSERT_EQ(saved.substr(0, 14), "RUVO_v2.0|7|7|");
    std::vector<std::string> f = fields_of(saved);
    ASSERT_EQ(f.size(), 10516u) << "10515 fields, each ending in |";
    EXPECT_EQ(f.back(), "");
    EXPECT_EQ(f[12], "1") << "setting 11";
    EXPECT_EQ(f[202], "17");
    EXPECT_EQ(f[203 + 32], "528") << "block 0's check after its 32 scores";
    EXPECT_EQ(f[203 + 33 + 32], "1552");
    EXPECT_EQ(f[10514], "-4") << "the last 16 scores have no check value";
}

// The names the game reads and writes its state by, held to the places a
// state saved before has them at: the save string's fields, and the score
// tables, which are saved whole.
TEST(SavedLayout, NamesHoldTheirValues) {
    struct Name {
        const char* name;
        int value, expected;
    };
    const Name names[] = {
        {"SAVE_FIRST_SETTING", SAVE_FIRST_SETTING, 1}, {"SAVE_SETTINGS", SAVE_SETTINGS, 201},
        {"SAVE_SETTINGS_CHECK", SAVE_SETTINGS_CHECK, 202}, {"SAVE_FIRST_SCORE", SAVE_FIRST_SCORE, 203},
        {"SAVE_BLOCK", SAVE_BLOCK, 32}, {"SCORE_TABLE", SCORE_TABLE, 20},
        {"SCORE_PLACES", SCORE_PLACES, 5}, {"SCORE_RECENT", SCORE_RECENT, 5},
    };
    for (const Name& n : names) EXPECT_EQ(n.value, n.expected) << n.name;
}

TEST_F(SaveData, RoundTripThroughTheStateFile) {
    FillSome();
    xr_ruvo_RUVO_Set[SET_FRAME_RATE] = 1;
    xr_ruvo_Save();
    Fresh();
    xr_ruvo_Load();
    EXPECT_EQ(xr_ruvo_RUVO_Set[5], 9);
    EXPECT_EQ(xr_ruvo_RUVO_Set[SET_LOADED], 1);
    EXPECT_EQ(xr_ruvo_RUVO_DebugMode, 1) << "the overlay follows setting 22";
    for (int m = 0; m < 10000; ++m) ASSERT_EQ(xr_ruvo_RUVO_Score[m], m % 7 ? 0 : m * 3 + 1) << m;
}

// Bytes handed out by the program's allocator and not yet given back: the C
// library's figure (its heap and the blocks it maps on their own), or, in
// the checked build, that of AddressSanitizer's own allocator, which then
// serves every allocation instead; on Windows the C runtime's heap, walked.
size_t HeapInUse() {
#if GLIMMERDEEP_ASAN
    return __sanitizer_get_current_allocated_bytes();
#elif defined(_WIN32)
    size_t used = 0;
    _HEAPINFO entry{};
    while (_heapwalk(&entry) == _HEAPOK)
        if (entry._useflag == _USEDENTRY) used += entry._size;
    return used;
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

// Bytes allocated through the collector since its last full collection:
// what counts towards the next one.
long CollectedSinceLastCollection() {
    return long(gc_new_bytes);
}

// A save leaves nothing behind for the collector: the game saves on every
// visit to the options and at every game's end, and garbage that does not
// count towards the next collection would pile up for a long while.
TEST_F(SaveData, SavingLeavesNoGarbage) {
    FillSome();
    xr_ruvo_Save();
    gc_collect();
    const size_t heap = HeapInUse();
    const long collected = CollectedSinceLastCollection();
    for (int i = 0; i < 20; ++i) {
        xr_ruvo_Save();
        gc_collect();
    }
    EXPECT_LT(HeapInUse(), heap + 256 * 1024) << "twenty saves";
    EXPECT_EQ(CollectedSinceLastCollection(), collected) << "twenty saves made no collected objects";

    // Both figures see what is made: a megabyte from the allocator, and an
    // array of 400 kB from the collector.
    std::vector<char> megabyte(1 << 20, 1);
    EXPECT_GE(HeapInUse(), heap + megabyte.size());
    Array<int> array(100000);
    EXPECT_GE(CollectedSinceLastCollection(), collected + 400000);
}

// Check values are sums on whole numbers: values at the int limits, as an
// edited or damaged file can hold, neither overflow nor cost what they guard.
TEST_F(SaveData, ValuesAtTheIntLimitsKeepTheirCheckValues) {
    xr_ruvo_SetDefaults();
    xr_ruvo_RUVO_Set[5] = INT_MAX;
    xr_ruvo_RUVO_Set[6] = INT_MIN;
    xr_ruvo_RUVO_Set[7] = INT_MAX;
    xr_ruvo_RUVO_Score[40] = INT_MAX;
    xr_ruvo_RUVO_Score[41] = INT_MAX;
    xr_ruvo_Save();
    std::vector<std::string> f = fields_of(ReadFile(".vantlestate"));
    // (7 + 7 + 1 + 1 + INT_MAX + INT_MIN + INT_MAX) mod 1503, and block 1's
    // (33 + ... + 64 + 2·INT_MAX) mod 1740, worked out in 64 bits.
    EXPECT_EQ(f[SAVE_SETTINGS_CHECK], std::to_string((16 + 2LL * INT_MAX + INT_MIN) % 1503));
    EXPECT_EQ(f[size_t(block_check_field(1))], std::to_string((32 * 33 + 32 * 31 / 2 + 2LL * INT_MAX) % 1740));
    Fresh();
    xr_ruvo_Load();
    EXPECT_EQ(xr_ruvo_RUVO_Set[5], INT_MAX);
    EXPECT_EQ(xr_ruvo_RUVO_Set[6], INT_MIN);
    EXPECT_EQ(xr_ruvo_RUVO_Set[SET_MUSIC_VOLUME], 7) << "the settings check still matches";
    EXPECT_EQ(xr_ruvo_RUVO_Score[40], INT_MAX) << "block 1's check still matches";
    EXPECT_EQ(xr_ruvo_RUVO_Score[41], INT_MAX);
}

TEST_F(SaveData, DamageCostsOnlyWhatItTouches) {
    FillSome();
    xr_ruvo_RUVO_Set[SET_MUSIC_VOLUME] = 3;
    xr_ruvo_RUVO_Set[SET_OVERSCAN] = 4;
    xr_ruvo_Save();
    std::vector<std::string> f = fields_of(ReadFile(".vantlestate"));

    struct Case {
        const char* name;
        int field;
        int delta;
    };
    for (const Case& c : {Case{"settings check off by one", SAVE_SETTINGS_CHECK, 1},
                          Case{"block 3 check off by one", block_check_field(3), 1},
                          Case{"a score of block 3 changed", score_field(3 * SAVE_BLOCK + 5), 1}}) {
        std::vector<std::string> damaged = f;
        damaged[size_t(c.field)] = std::to_string(std::stoi(damaged[size_t(c.field)]) + c.delta);
        WriteState(join(damaged));
        Fresh();
        xr_ruvo_Load();
        bool settings = c.field == SAVE_SETTINGS_CHECK;
        EXPECT_EQ(xr_ruvo_RUVO_Set[SET_MUSIC_VOLUME], settings ? 7 : 3) << c.name;
        EXPECT_EQ(xr_ruvo_RUVO_Set[5], 9) << c.name << ": not a defaulted setting";
        EXPECT_EQ(xr_ruvo_RUVO_Set[SET_OVERSCAN], 0) << c.name << ": overscan is for one console only";
        for (int m = 0; m < 10000; ++m) {
            bool zeroed = !settings && m / SAVE_BLOCK == 3;
            ASSERT_EQ(xr_ruvo_RUVO_Score[m], zeroed || m % 7 ? 0 : m * 3 + 1) << c.name << " score " << m;
        }
    }
}

TEST_F(SaveData, ACutStringKeepsWhatItHolds) {
    FillSome();
    xr_ruvo_Save();
    std::vector<std::string> f = fields_of(ReadFile(".vantlestate"));
    std::vector<std::string> cut(f.begin(), f.begin() + (score_field(38) + 1));  // block 0 and 7 scores of block 1
    WriteState(join(cut));
    Fresh();
    for (int m = 0; m < 10000; ++m) xr_ruvo_RUVO_Score[m] = 5;
    xr_ruvo_Load();
    EXPECT_EQ(xr_ruvo_RUVO_Set[5], 9);
    EXPECT_EQ(xr_ruvo_RUVO_Score[0], 1);
    EXPECT_EQ(xr_ruvo_RUVO_Score[35], 106) << "read, though its block check is missing";
    EXPECT_EQ(xr_ruvo_RUVO_Score[39], 5) << "missing scores keep their values";

    std::vector<std::string> settingsOnly(f.begin(), f.begin() + 50);
    WriteState(join(settingsOnly));
    Fresh();
    xr_ruvo_Load();
    EXPECT_EQ(xr_ruvo_RUVO_Set[5], 9);
    EXPECT_EQ(xr_ruvo_RUVO_Set[SET_LOADED], 0) << "missing settings keep their defaults";
    EXPECT_EQ(xr_ruvo_RUVO_Set[SET_MUSIC_VOLUME], 7);
}

TEST_F(SaveData, NoOrForeignStateMeansDefaults) {
    for (const char* state : {"", "RUVO_v1.0|3|3|", "garbage without bars"}) {
        WriteState(state);
        Fresh();
        xr_ruvo_RUVO_Set[SET_MUSIC_VOLUME] = 2;
        xr_ruvo_RUVO_Score[60] = 77;
        xr_ruvo_Load();
        EXPECT_EQ(xr_ruvo_RUVO_Set[SET_MUSIC_VOLUME], 7) << state;
        EXPECT_EQ(xr_ruvo_RUVO_Score[60], 77) << state << ": scores stay as they are";
    }
}

TEST_F(SaveData, SmallHelpers) {
    EXPECT_EQ(xr_ruvo_SetSet(250, 1), 0);
    EXPECT_EQ(xr_ruvo_SetSet(-1, 1), 0);
    EXPECT_EQ(xr_ruvo_SetSet(249, 4), 4);
    EXPECT_EQ(xr_ruvo_SetSet(249), 4);
    EXPECT_EQ(xr_ruvo_SetGameNumber(-503), 503);
    EXPECT_EQ(xr_ruvo_rstr(String("7"), 3, String("0")), String("007"));
    EXPECT_EQ(xr_ruvo_rstr(String("12345"), 3, String("0")), String("345"));
    EXPECT_EQ(xr_ruvo_Right(String("abc"), 0), String("abc"));
    EXPECT_EQ(xr_ruvo_Right(String("abc"), 2), String("bc"));
    xr_ruvo_SetOUYA(1);
    EXPECT_EQ(xr_ruvo_HasQuit, 1);
    xr_ruvo_SetDefaults();
    EXPECT_EQ(xr_ruvo_RUVO_Set[SET_OVERSCAN], 5);
    EXPECT_EQ(xr_ruvo_RUVO_Set[SET_INVERT_STICK_Y], 0);
}

}  // namespace
