// Images: frames cut from a surface, their flags and handles, drawing them
// from real PNG files, the default font, and what the collector keeps.
#include <climits>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <utility>

#include <unistd.h>

#include "host/platform.h"
#include "runtime/debug.h"
#include "tests/graphics/gl_fixture.h"
#include "tests/harness/environment.h"
#include "tests/harness/files.h"
#include "tests/harness/test_roots.h"

namespace {

// exit(-1) as the system reports it.
using Images = GraphicsTest;
using Frames = std::vector<std::pair<int, int>>;

Frames FramesOf(c_Image* image) {
    Frames frames;
    for (int i = 0; i < image->m_frames.Length(); ++i)
        frames.push_back({image->m_frames[i]->m_x, image->m_frames[i]->m_y});
    return frames;
}

// A surface of the given size holding no pixels: cutting frames needs no more.
gxtkSurface* Sized(int w, int h) {
    gxtkSurface* s = new gxtkSurface();
    s->SetData(nullptr, w, h, 4);
    return s;
}

TEST_F(Images, StripsAndGridsCutTheirFrames) {
    const int C = c_Image::HandleCentre, X = c_Image::PadX, XY = c_Image::PadXY, W = c_Image::WholeSurface;
    gxtkSurface* sheet = Sized(64, 64);
    c_Image* parent = (new c_Image())->p_Init(sheet, 1, 0);
    struct Case {
        const char* what;
        std::function<c_Image*(c_Image*)> init;
        int width, height;
        Frames frames;
        int flags;
        float handleX, handleY;
    } cases[] = {
        {"strip of 4", [](c_Image* i) { return i->p_Init(Sized(64, 16), 4, 0); },
         16, 16, {{0, 0}, {16, 0}, {32, 0}, {48, 0}}, 0, 0, 0},
        {"strip of 4, PadX", [=](c_Image* i) { return i->p_Init(Sized(64, 16), 4, X); },
         14, 16, {{1, 0}, {17, 0}, {33, 0}, {49, 0}}, X, 0, 0},
        {"strip of 4, PadXY", [=](c_Image* i) { return i->p_Init(Sized(64, 16), 4, XY); },
         14, 14, {{1, 1}, {17, 1}, {33, 1}, {49, 1}}, XY, 0, 0},
        {"one whole frame", [](c_Image* i) { return i->p_Init(Sized(32, 32), 1, 0); },
         32, 32, {{0, 0}}, W, 0, 0},
        {"one frame, PadX", [=](c_Image* i) { return i->p_Init(Sized(32, 32), 1, X); },
         30, 32, {{1, 0}}, X, 0, 0},
        {"odd width, HandleCentre", [=](c_Image* i) { return i->p_Init(Sized(15, 10), 1, C); },
         15, 10, {{0, 0}}, W, 7.5f, 5},
        {"strip of no frames", [](c_Image* i) { return i->p_Init(Sized(15, 10), 0, 0); },
         15, 10, {}, 0, 0, 0},
        {"grid 2 × 2", [](c_Image* i) {
             return i->p_Init2(Sized(32, 32), 0, 0, 16, 16, 4, 0, nullptr, 0, 0, 32, 32);
         }, 16, 16, {{0, 0}, {16, 0}, {0, 16}, {16, 16}}, 0, 0, 0},
        {"grid wrapping after 3", [](c_Image* i) {
             return i->p_Init2(Sized(48, 32), 0, 0, 16, 16, 5, 0, nullptr, 0, 0, 48, 32);
         }, 16, 16, {{0, 0}, {16, 0}, {32, 0}, {0, 16}, {16, 16}}, 0, 0, 0},
        {"grid inside a rectangle of a parent", [=](c_Image* i) {
             return i->p_Init2(sheet, 0, 0, 8, 8, 3, 0, parent, 16, 8, 16, 16);
         }, 8, 8, {{16, 8}, {24, 8}, {16, 16}}, 0, 0, 0},
        {"grid of one whole frame", [](c_Image* i) {
             return i->p_Init2(Sized(32, 32), 0, 0, 32, 32, 1, 0, nullptr, 0, 0, 32, 32);
         }, 32, 32, {{0, 0}}, W, 0, 0},
        {"grid of no frames", [](c_Image* i) {
             return i->p_Init2(Sized(32, 32), 0, 0, 16, 16, 0, 0, nullptr, 0, 0, 32, 32);
         }, 16, 16, {}, 0, 0, 0},
    };
    for (const Case& c : cases) {
        c_Image* image = c.init(new c_Image());
        EXPECT_EQ(image->m_width, c.width) << c.what;
        EXPECT_EQ(image->m_height, c.height) << c.what;
        EXPECT_EQ(FramesOf(image), c.frames) << c.what;
        EXPECT_EQ(image->m_flags, c.flags) << c.what;
        EXPECT_EQ(image->m_handleX, c.handleX) << c.what;
        EXPECT_EQ(image->m_handleY, c.handleY) << c.what;
    }
}

// The report goes to standard output; the death test reads standard error.
void ReportToStderr() {
    std::fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    if (!std::freopen(kNullDevice, "r", stdin)) _exit(3);
}

TEST(ImageErrors, AreRuntimeErrors) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Case {
        const char* what;
        std::function<void()> init;
        const char* message;
    } cases[] = {
        {"a strip initialised twice", [] { (new c_Image())->p_Init(Sized(8, 8), 1, 0)->p_Init(Sized(8, 8), 1, 0); },
         "Image already initialized"},
        {"a grid after a strip", [] {
             (new c_Image())->p_Init(Sized(8, 8), 1, 0)->p_Init2(Sized(8, 8), 0, 0, 8, 8, 1, 0, nullptr, 0, 0, 8, 8);
         }, "Image already initialized"},
        {"a fifth 16 × 16 frame in 32 × 32", [] {
             (new c_Image())->p_Init2(Sized(32, 32), 0, 0, 16, 16, 5, 0, nullptr, 0, 0, 32, 32);
         }, "Image frame outside surface"},
        {"a frame wider than the rectangle", [] {
             (new c_Image())->p_Init2(Sized(32, 32), 0, 0, 40, 8, 1, 0, nullptr, 0, 0, 32, 32);
         }, "Image frame outside surface"},
    };
    for (const Case& c : cases) {
        EXPECT_EXIT(
            {
                ReportToStderr();
                c.init();
            },
            ::testing::ExitedWithCode(kFatalExitStatus), std::string("Vantle Runtime Error : ") + c.message + "\\s")
            << c.what;
    }
}

TEST_F(Images, ScaledImageIsPlacedByItsScaledHandle) {
    Picture picture(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) picture.Set(x, y, 0, 255, 0);
    picture.Set(0, 0, 255, 0, 0);
    c_Image* image = xr_graphics_LoadImage(String(WritePng("sprite.png", picture).c_str()), 1, 0);
    ASSERT_NE(image, nullptr);
    image->p_SetHandle(8, 8);

    device->Cls(0, 0, 0);
    xr_graphics_DrawImage2(image, 100, 100, 0, 2, 2, 0);
    struct Probe {
        int x, y;
        Rgb colour;
    } probes[] = {
        {84, 84, {255, 0, 0}}, {85, 85, {255, 0, 0}},  // the frame's corner texel, twice the size
        {86, 86, {0, 255, 0}}, {115, 115, {0, 255, 0}},
        {83, 84, {0, 0, 0}},   {84, 83, {0, 0, 0}},   {116, 115, {0, 0, 0}}, {115, 116, {0, 0, 0}},
    };
    for (const Probe& p : probes) EXPECT_TRUE(NearRgb(Pixel(p.x, p.y), p.colour, 0)) << p.x << "," << p.y;
    EXPECT_EQ(xr_graphics_context->m_stackTop, 0) << "the matrix is restored";
    EXPECT_EQ(CurrentMatrix(), (std::vector<float>{1, 0, 0, 1, 0, 0}));
}

TEST_F(Images, FramesOfALoadedPngShowTheirOwnPixels) {
    // 32 × 16: a strip of four 8 × 16 frames, or a grid of eight 8 × 8.
    Picture sheet(32, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) sheet.Set(x, y, x * 7, y * 15, 255 - x * 3, (x + y) % 5 == 0 ? 128 : 255);
    String path(WritePng("sheet.png", sheet).c_str());
    c_Image* strip = xr_graphics_LoadImage(path, 4, 0);
    c_Image* grid = xr_graphics_LoadImage2(path, 8, 8, 8, 0);
    ASSERT_NE(strip, nullptr);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(xr_graphics_LoadImage(PathText(folder / "missing.png"), 1, 0), nullptr);

    Array<float> quad(16);
    const float corners[] = {0, 0, 8, 0, 8, 8, 0, 8};
    for (int k = 0; k < 4; ++k) {
        quad[4 * k] = 200 + corners[2 * k];
        quad[4 * k + 1] = 100 + corners[2 * k + 1];
        quad[4 * k + 2] = corners[2 * k];
        quad[4 * k + 3] = corners[2 * k + 1];
    }
    struct Case {
        const char* what;
        std::function<void()> draw;
        int x, y, w, h;  // where it lands
        int fromX, fromY;  // the sheet's pixels it shows
    } cases[] = {
        {"strip frame 2", [&] { xr_graphics_DrawImage(strip, 20, 30, 2); }, 20, 30, 8, 16, 16, 0},
        {"grid frame 5", [&] { xr_graphics_DrawImage(grid, 60, 30, 5); }, 60, 30, 8, 8, 8, 8},
        {"grid frame 7, scale 1", [&] { xr_graphics_DrawImage2(grid, 90, 30, 0, 1, 1, 7); }, 90, 30, 8, 8, 24, 8},
        {"polygon over grid frame 6", [&] { xr_graphics_DrawPoly2(quad, grid, 6); }, 200, 100, 8, 8, 16, 8},
    };
    for (const Case& c : cases) {
        device->Cls(0, 0, 0);
        c.draw();
        std::vector<uint32_t> block = Block(c.x, c.y, c.w, c.h);
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) {
                const uint8_t* p = sheet.at(c.fromX + x, c.fromY + y);
                int a = p[3];
                ASSERT_TRUE(NearRgb(block[size_t(y) * c.w + x], {p[0] * a / 255, p[1] * a / 255, p[2] * a / 255}))
                    << c.what << " at " << x << "," << y;
            }
        EXPECT_EQ(Pixel(c.x + c.w, c.y), 0xFF000000u) << c.what;
    }
}

TEST_F(Images, FramesOutsideTheImageDrawNothing) {
    c_Image* image = (new c_Image())->p_Init(device->CreateSurface(16, 8), 2, 0);
    for (int frame : {-1, 2, INT_MAX}) {
        xr_graphics_DrawImage(image, 0, 0, frame);
        xr_graphics_DrawImage2(image, 0, 0, 30, 2, 2, frame);
        xr_graphics_DrawPoly2(Array<float>(16), image, frame);
        EXPECT_EQ(device->batchCount, 0) << "frame " << frame;
    }
    xr_graphics_DrawImage(nullptr, 0, 0, 0);
    xr_graphics_DrawImage2(nullptr, 0, 0, 0, 1, 1, 0);
    EXPECT_EQ(device->batchCount, 0);
    EXPECT_EQ(xr_graphics_context->m_stackTop, 0);
    xr_graphics_DrawImage(image, 0, 0, 1);
    EXPECT_EQ(device->batchCount, 4) << "the last frame is still drawn";
}

// The default font is looked for beside the program, in its data folder. A
// font already there is put aside for the test and back afterwards.
class DefaultFont : public GraphicsTest {
protected:
    std::filesystem::path data, font, kept;
    bool madeData = false;

    void SetUp() override {
        GraphicsTest::SetUp();
        data = std::filesystem::path(platform::ProgramPath()).parent_path() / "data";
        font = data / "vizo_font.png";
        kept = data / "vizo_font.png.kept";
        madeData = std::filesystem::create_directory(data);
        if (std::filesystem::exists(font)) std::filesystem::rename(font, kept);
    }
    void TearDown() override {
        std::filesystem::remove(font);
        if (std::filesystem::exists(kept)) std::filesystem::rename(kept, font);
        if (madeData) std::filesystem::remove(data);
        GraphicsTest::TearDown();
    }
};

TEST_F(DefaultFont, IsLoadedOnceFromTheDataFolder) {
    c_GraphicsContext* c = xr_graphics_context;
    xr_graphics_SetFont(nullptr, 0);
    EXPECT_EQ(c->m_currentFont, nullptr) << "no font file: no font, and no error";
    EXPECT_EQ(c->m_fontFirstCode, 32);

    Picture cells(960, 16);
    std::filesystem::copy_file(WritePng("font.png", cells), font);
    xr_graphics_SetFont(nullptr, 0);
    c_Image* font = c->m_currentFont;
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(c->m_builtinFont, font);
    EXPECT_EQ(c->m_fontFirstCode, 32);
    EXPECT_EQ(font->m_frames.Length(), 96);
    EXPECT_EQ(font->m_width, 8) << "10-pixel cells with a border left and right";
    EXPECT_EQ(font->m_height, 16);
    EXPECT_EQ(FramesOf(font)[1], std::make_pair(11, 0));

    c_Image* own = (new c_Image())->p_Init(Sized(8, 8), 1, 0);
    xr_graphics_SetFont(own, 65);
    EXPECT_EQ(c->m_currentFont, own);
    EXPECT_EQ(c->m_fontFirstCode, 65);
    xr_graphics_SetFont(nullptr, 65);
    EXPECT_EQ(c->m_currentFont, font) << "loaded once, then kept";
    EXPECT_EQ(c->m_fontFirstCode, 32);
}

bool OnFreeList(const gc_object* o) {
    for (const gc_object* p = gc_free_list.succ; p != &gc_free_list; p = p->succ)
        if (p == o) return true;
    return false;
}

TEST_F(Images, CollectorKeepsWhatTheModuleAndImagesReach) {
    Picture picture = Picture(4, 2);
    String path(WritePng("kept.png", picture).c_str());
    c_Image* parent = xr_graphics_LoadImage(path, 1, 0);
    c_Image* child = (new c_Image())->p_Init2(parent->m_surface, 0, 0, 2, 2, 2, 0, parent, 0, 0, 4, 2);
    gc_assign(test_roots[0], child);
    xr_graphics_SetFont(child, 40);
    c_Image* dropped = xr_graphics_LoadImage(path, 1, 0);
    device->DrawSurface(dropped->m_surface, 0, 0);  // the batch holds it until drawn
    xr_graphics_EndRender();                        // the device is now reached as the module's device only

    // Two whole cycles: the second starts from the roots alone.
    for (int i = 0; i < 2; ++i) {
        gc_ext_malloced(GC_THRESHOLD + 1);
        gc_collect();
    }
    const gc_object* kept[] = {device,          xr_graphics_context,        xr_graphics_context->m_stack.rep,
                               child,           child->m_frames.rep,        child->m_frames[1],
                               parent,          parent->m_surface,          dropped->m_surface};
    for (const gc_object* o : kept) EXPECT_FALSE(OnFreeList(o));
    EXPECT_TRUE(OnFreeList(dropped)) << "an image nothing refers to is collected";
    test_roots[0] = nullptr;
}

}  // namespace
