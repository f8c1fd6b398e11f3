// Checks the data folder the build generates: the real files on disk, read
// with the decoders the game itself uses.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <stb_image.h>

#include "audio/sampleloader.h"
#include "shell/font.h"
#include "tests/harness/files.h"
#include "tests/harness/scratch.h"
#include "tools/assetgen/catalog.h"

namespace fs = std::filesystem;

namespace {

const std::string kData = DATA_DIR;

struct Pixels {
    int w = 0, h = 0;
    std::vector<unsigned char> rgba;
    int alpha(int x, int y) const { return rgba[(size_t(y) * w + x) * 4 + 3]; }
};

// Loads as the game does: stbi_load_from_file on an open file.
bool loadImage(const std::string& path, Pixels& out) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    int n = 0;
    unsigned char* data = stbi_load_from_file(f, &out.w, &out.h, &n, 4);
    std::fclose(f);
    if (!data) return false;
    out.rgba.assign(data, data + size_t(out.w) * out.h * 4);
    stbi_image_free(data);
    return true;
}

struct Pcm {
    int length = 0, channels = 0, format = 0, hertz = 0;
    std::vector<int16_t> samples;
};

bool loadSound(const std::string& path, bool ogg, Pcm& out) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    unsigned char* data = ogg ? LoadOGG(f, &out.length, &out.channels, &out.format, &out.hertz)
                              : LoadWAV(f, &out.length, &out.channels, &out.format, &out.hertz);
    std::fclose(f);
    if (!data) return false;
    if (out.format == 2) {
        const int16_t* s = reinterpret_cast<const int16_t*>(data);
        out.samples.assign(s, s + size_t(out.length) * out.channels);
    }
    std::free(data);
    return true;
}

int peak(const Pcm& p) {
    int m = 0;
    for (int16_t s : p.samples) m = std::max(m, std::abs(int(s)));
    return m;
}

double rms(const Pcm& p) {
    double sum = 0;
    for (int16_t s : p.samples) sum += double(s) * s;
    return std::sqrt(sum / double(std::max<size_t>(1, p.samples.size())));
}

// -1 dBFS: the headroom every sound keeps.
constexpr int kCeiling = 29204;

std::string testName(std::string path) {
    for (char& c : path)
        if (!std::isalnum((unsigned char)c)) c = '_';
    return path;
}

// ------------------------------------------------------------- images --

class ImageFile : public ::testing::TestWithParam<catalog::Sheet> {};

TEST_P(ImageFile, HasTheStatedSizeAndLayout) {
    const catalog::Sheet& s = GetParam();
    Pixels img;
    ASSERT_TRUE(loadImage(kData + "/" + s.path, img)) << s.path;
    EXPECT_EQ(img.w, s.width);
    EXPECT_EQ(img.h, s.height);
    // The game reads frames left to right, then top to bottom: all of them
    // must fit whole.
    EXPECT_GE((img.w / s.cellW) * (img.h / s.cellH), s.count);
}

TEST_P(ImageFile, EveryFrameWithAMeaningShowsSomething) {
    const catalog::Sheet& s = GetParam();
    Pixels img;
    ASSERT_TRUE(loadImage(kData + "/" + s.path, img));
    const int perRow = img.w / s.cellW;
    for (int frame : s.used) {
        int x0 = (frame % perRow) * s.cellW, y0 = (frame / perRow) * s.cellH;
        int solid = 0;
        for (int y = y0; y < y0 + s.cellH; ++y)
            for (int x = x0; x < x0 + s.cellW; ++x) solid += img.alpha(x, y) >= 64;
        EXPECT_GE(solid, std::max(4, s.cellW * s.cellH / 200)) << s.path << " frame " << frame;
    }
}

INSTANTIATE_TEST_SUITE_P(DataFolder, ImageFile, ::testing::ValuesIn(catalog::sheets()),
                         [](const auto& info) { return testName(info.param.path); });

// -------------------------------------------------------------- fonts --

struct GlyphCase {
    int frame;
    int advance;  // pixels the pen moves at scale 1
};

std::vector<GlyphCase> glyphCases() {
    std::vector<GlyphCase> v;
    for (int c = FONT_FIRST_CODE + 1; c <= FONT_LAST_GLYPH; ++c)
        v.push_back({c - FONT_FIRST_CODE, xr_ruvo_FontAdvance(c)});
    for (int i = 0; kFontIconLetters[i]; ++i) {
        v.push_back({FONT_ICON_KEY_ROW + i, FONT_ICON_ADVANCE});
        v.push_back({FONT_ICON_PAD_ROW + i, FONT_ICON_ADVANCE});
    }
    return v;
}

class Glyph : public ::testing::TestWithParam<GlyphCase> {};

// The text routine centres each cell on the pen and moves the pen by the
// advance: ink that starts 11 pixels left of the centre and stays within
// the advance keeps every pair of neighbours the same distance apart.
TEST_P(Glyph, InkStaysWithinItsAdvance) {
    static Pixels font;
    if (font.w == 0) {
        ASSERT_TRUE(loadImage(kData + "/common/bandwidth.png", font));
    }
    const GlyphCase g = GetParam();
    const int x0 = (g.frame % FONT_COLUMNS) * FONT_CELL, y0 = (g.frame / FONT_COLUMNS) * FONT_CELL;
    int left = FONT_CELL, right = -1;
    for (int y = 0; y < FONT_CELL; ++y)
        for (int x = 0; x < FONT_CELL; ++x)
            if (font.alpha(x0 + x, y0 + y) > 0) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(right, left) << "frame " << g.frame << " is empty";
    EXPECT_LE(right - left + 1, g.advance) << "frame " << g.frame;
    EXPECT_GE(left, FONT_CELL / 2 - 11) << "frame " << g.frame;
    EXPECT_LE(right + 1, std::min<int>(FONT_CELL, FONT_CELL / 2 - 11 + g.advance)) << "frame " << g.frame;
}

INSTANTIATE_TEST_SUITE_P(GameFont, Glyph, ::testing::ValuesIn(glyphCases()),
                         [](const auto& info) { return "frame" + std::to_string(info.param.frame); });

TEST(DefaultFont, GlyphsKeepOffTheirOnePixelBorders) {
    Pixels strip;
    ASSERT_TRUE(loadImage(kData + "/vizo_font.png", strip));
    ASSERT_EQ(strip.w % 96, 0);
    const int cell = strip.w / 96;
    for (int k = 0; k < 96; ++k)
        for (int y = 0; y < strip.h; ++y) {
            EXPECT_EQ(strip.alpha(k * cell, y), 0) << "cell " << k;
            EXPECT_EQ(strip.alpha(k * cell + cell - 1, y), 0) << "cell " << k;
        }
}

// -------------------------------------------------------------- sound --

class Effect : public ::testing::TestWithParam<catalog::Sound> {};

TEST_P(Effect, DecodesShortAudibleAndBelowFullScale) {
    const catalog::Sound& s = GetParam();
    Pcm p;
    ASSERT_TRUE(loadSound(kData + "/" + s.path, false, p)) << s.path;
    EXPECT_EQ(p.format, 2);
    EXPECT_EQ(p.channels, 1);
    EXPECT_EQ(p.hertz, 44100);
    double seconds = double(p.length) / p.hertz;
    EXPECT_GE(seconds, s.minSeconds);
    EXPECT_LE(seconds, s.maxSeconds);
    EXPECT_LT(peak(p), kCeiling);
    EXPECT_GT(peak(p), 16384) << "normalised close to the ceiling";
    EXPECT_GT(rms(p), 300.0) << "not silent";
    // It ends in silence rather than on a cut.
    EXPECT_LT(std::abs(int(p.samples.back())), 300);
}

INSTANTIATE_TEST_SUITE_P(DataFolder, Effect, ::testing::ValuesIn(catalog::effects()),
                         [](const auto& info) { return testName(info.param.path); });

TEST(Music, DecodesLongEnoughAudibleAndBelowFullScale) {
    Pcm p;
    ASSERT_TRUE(loadSound(kData + "/" + catalog::musicPath(), true, p));
    EXPECT_EQ(p.format, 2);
    EXPECT_EQ(p.channels, 2);
    EXPECT_EQ(p.hertz, 44100);
    EXPECT_GE(double(p.length) / p.hertz, catalog::kMusicMinSeconds);
    EXPECT_LT(peak(p), kCeiling);
    EXPECT_GT(rms(p), 1000.0);
}

// Looping playback jumps from the last frame to the first: that step must
// be no bigger than the ordinary steps inside the piece, or it clicks.
TEST(Music, LoopsWithoutAClick) {
    Pcm p;
    ASSERT_TRUE(loadSound(kData + "/" + catalog::musicPath(), true, p));
    ASSERT_GT(p.length, 1);
    std::vector<int> steps;
    steps.reserve(p.samples.size());
    for (size_t i = p.channels; i < p.samples.size(); ++i) steps.push_back(std::abs(p.samples[i] - p.samples[i - p.channels]));
    std::nth_element(steps.begin(), steps.begin() + long(steps.size() * 0.999), steps.end());
    int ordinary = steps[size_t(steps.size() * 0.999)];
    const size_t last = size_t(p.length - 1) * p.channels;
    for (int c = 0; c < p.channels; ++c) {
        int seam = std::abs(p.samples[size_t(c)] - p.samples[last + c]);
        EXPECT_LE(seam, ordinary) << "channel " << c;
    }
    // And the opening is not a fade-in from silence: the end rings on into it.
    double head = 0;
    for (int i = 0; i < 2205; ++i) head += std::abs(p.samples[size_t(i) * p.channels]);
    EXPECT_GT(head / 2205, 100.0);
}

// ---------------------------------------------------------- generator --

std::set<std::string> filesUnder(const fs::path& root) {
    std::set<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file()) names.insert(fs::relative(e.path(), root).generic_string());
    return names;
}

TEST(Generator, WritesEveryFileAndTheSameBytesEveryRun) {
    ScratchFolder root("assetgen");
    const fs::path a = root / "a", b = root / "b";
    // Both runs at once: they must not depend on anything but the program.
    pid_t runs[2];
    for (int i = 0; i < 2; ++i) {
        std::string out = (i ? b : a).string();
        char* args[] = {const_cast<char*>(ASSETGEN), out.data(), nullptr};
        ASSERT_EQ(posix_spawn(&runs[i], ASSETGEN, nullptr, nullptr, args, environ), 0);
    }
    for (pid_t pid : runs) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    std::set<std::string> expected;
    for (const catalog::Sheet& s : catalog::sheets()) expected.insert(s.path);
    for (const catalog::Sound& s : catalog::effects()) expected.insert(s.path);
    expected.insert(catalog::musicPath());
    EXPECT_EQ(filesUnder(a), expected);
    EXPECT_EQ(filesUnder(b), expected);
    for (const std::string& name : expected) {
        std::string first = ReadFile(a / name);
        EXPECT_FALSE(first.empty()) << name;
        EXPECT_TRUE(first == ReadFile(b / name)) << name << " differs between two runs";
        // The build's own folder came from the same generator.
        EXPECT_TRUE(first == ReadFile(fs::path(kData) / name)) << name << " differs from the build's data folder";
    }
}

}  // namespace
