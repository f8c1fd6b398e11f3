// The frame loop's figures for measuring tools, fed known moments: what a
// tool reads on standard error is exactly what the counters make of them.
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/pacing.h"
#include "tests/harness/environment.h"

namespace {

class Pacing : public ::testing::Test {
protected:
    XrPacing pacing;

    void SetUp() override {
        pacing.out = std::tmpfile();
        ASSERT_NE(pacing.out, nullptr);
    }
    void TearDown() override { std::fclose(pacing.out); }
    // Everything written so far; the next lines go after it.
    std::vector<std::string> Lines() {
        std::fflush(pacing.out);
        std::rewind(pacing.out);
        std::string text;
        char block[4096];
        for (size_t n; (n = std::fread(block, 1, sizeof block, pacing.out)) > 0;) text.append(block, n);
        std::fseek(pacing.out, 0, SEEK_END);
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
};

// Sixty updates and frames a second from t = 10, each update 4 ms before its
// frame's swap; from the 90th on everything comes 40 ms late, as after a
// stall in one update.
TEST_F(Pacing, SecondsCountUpdatesFramesAndTheLongestGap) {
    pacing.enabled = true;
    pacing.StartAt(10);
    for (int k = 1; k <= 130; ++k) {
        const double t = 10 + k / 60.0 + (k >= 90 ? 0.04 : 0);
        pacing.UpdateAt(t - 0.004);
        pacing.FrameAt(t);
    }
    const std::vector<std::string> expected = {
        "pacing moment=first_frame at=10.016667",
        // Frames 1..60: the first reaches a whole second, at t = 11.
        "pacing updates=60 frames=60 longest_gap_ms=16.7 span_ms=1000.0 end_at=11.000000",
        // Frames 61..118 (t = 12.006667), with the stall between updates 89 and 90.
        "pacing updates=58 frames=58 longest_gap_ms=56.7 span_ms=1006.7 end_at=12.006667",
    };
    EXPECT_EQ(Lines(), expected);
}

// A gap is known at the update that ends it, and counts in that one's second,
// however long it was.
TEST_F(Pacing, LongGapCountsInTheSecondOfTheUpdateEndingIt) {
    pacing.enabled = true;
    pacing.StartAt(0);
    pacing.UpdateAt(0.5);
    pacing.FrameAt(0.5);
    pacing.FrameAt(1.5);
    pacing.UpdateAt(2.8);
    pacing.FrameAt(2.9);
    const std::vector<std::string> expected = {
        "pacing moment=first_frame at=0.500000",
        "pacing updates=1 frames=2 longest_gap_ms=0.0 span_ms=1500.0 end_at=1.500000",
        "pacing updates=1 frames=1 longest_gap_ms=2300.0 span_ms=1400.0 end_at=2.900000",
    };
    EXPECT_EQ(Lines(), expected);
}

TEST_F(Pacing, MomentsArePrintedAtOnceOrWithTheNextSwap) {
    pacing.enabled = true;
    pacing.StartAt(5);
    pacing.FrameAt(5.1);
    pacing.MomentOfNextFrame("loading_screen");
    pacing.UpdateAt(5.11);
    pacing.MomentAt("game_start", 5.12);
    pacing.FrameAt(5.13);
    pacing.FrameAt(5.15);  // the moment is printed once, with its own frame
    const std::vector<std::string> expected = {
        "pacing moment=first_frame at=5.100000",
        "pacing moment=game_start at=5.120000",
        "pacing moment=loading_screen at=5.130000",
    };
    EXPECT_EQ(Lines(), expected);
}

// Keys are printed as they come; the tracked place only with the line of a
// second in which the game gave one, the last it gave.
TEST_F(Pacing, KeysAtOnceAndTheTrackedPlaceWithItsSecond) {
    pacing.enabled = true;
    pacing.StartAt(0);
    pacing.FrameAt(0.5);
    pacing.KeyAt(13, true, 0.6);
    pacing.Track("diver", 10, 20);
    pacing.Track("diver", 11.5f, 19.5f);
    pacing.KeyAt(13, false, 0.7);
    pacing.FrameAt(1.0);
    pacing.FrameAt(2.0);  // nothing tracked in this second
    const std::vector<std::string> expected = {
        "pacing moment=first_frame at=0.500000",
        "pacing key=13 down at=0.600000",
        "pacing key=13 up at=0.700000",
        "pacing updates=0 frames=2 longest_gap_ms=0.0 span_ms=1000.0 end_at=1.000000",
        "pacing track=diver x=11.5 y=19.5",
        "pacing updates=0 frames=1 longest_gap_ms=0.0 span_ms=1000.0 end_at=2.000000",
    };
    EXPECT_EQ(Lines(), expected);
}

TEST_F(Pacing, OffUnlessTheEnvironmentAsks) {
    UnsetEnv("GLIMMERDEEP_PACING");
    pacing.Init();
    EXPECT_FALSE(pacing.enabled);
    for (int k = 0; k < 3; ++k) {
        pacing.OnUpdate();
        pacing.OnFrame();
    }
    pacing.Moment("game_start");
    pacing.MomentOfNextFrame("loading_screen");
    pacing.Key(13, true);
    pacing.Track("diver", 1, 2);
    pacing.OnFrame();
    EXPECT_TRUE(Lines().empty());

    SetEnv("GLIMMERDEEP_PACING", "1");
    pacing.Init();
    UnsetEnv("GLIMMERDEEP_PACING");
    EXPECT_TRUE(pacing.enabled);
    const double before = XrPacing::Now();
    pacing.OnFrame();
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    double at = 0;
    ASSERT_EQ(std::sscanf(lines[0].c_str(), "pacing moment=first_frame at=%lf", &at), 1) << lines[0];
    EXPECT_GE(at, before - 1e-6) << "the system-wide monotonic clock, as a tool reads it";
    EXPECT_LE(at, XrPacing::Now() + 1e-6);
}

}  // namespace

