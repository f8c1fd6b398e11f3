// Surfaces: pixel data loaded from PNG files, textures made lazily, the
// power-of-two retry, textures rebuilt for a new context, pixel transfers.
#include <cstdio>
#include <cstring>
#include <vector>

#include <GLFW/glfw3.h>

#include "tests/graphics/gl_fixture.h"
#include "tests/harness/files.h"

namespace {

using Surfaces = GraphicsTest;

// A picture whose every pixel differs from its neighbours, opaque.
Picture Pattern(int w, int h) {
    Picture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.Set(x, y, (x * 37 + y) & 255, (y * 53 + 7) & 255, (x * y + 90) & 255);
    return p;
}

// Every pixel of the window block at (x, y) shows the picture, drawn over black.
::testing::AssertionResult ShowsPicture(const std::vector<uint32_t>& block, Picture& p) {
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const uint8_t* c = p.at(x, y);
            int a = c[3];
            auto near = NearRgb(block[size_t(y) * p.width + x], {c[0] * a / 255, c[1] * a / 255, c[2] * a / 255});
            if (!near) return near << " at " << x << "," << y;
        }
    return ::testing::AssertionSuccess();
}

GLint TextureSize(gxtkSurface* s, GLenum which) {
    GLint v = 0;
    glBindTexture(GL_TEXTURE_2D, s->textureName);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, which, &v);
    return v;
}

TEST_F(Surfaces, LoadedPixelsArePremultipliedByDepth) {
    struct Case {
        int depth;
        std::vector<uint8_t> file, stored;
        GLenum format;
        Rgb drawn;
    } cases[] = {
        {1, {200}, {200}, GL_LUMINANCE, {200, 200, 200}},
        {2, {200, 128}, {100, 128}, GL_LUMINANCE_ALPHA, {100, 100, 100}},
        {3, {200, 100, 50}, {200, 100, 50}, GL_RGB, {200, 100, 50}},
        {4, {200, 100, 50, 128}, {100, 50, 25, 128}, GL_RGBA, {100, 50, 25}},
    };
    for (const Case& c : cases) {
        std::string path = WritePng("depth" + std::to_string(c.depth) + ".png", 1, 1, c.depth, c.file.data());
        gxtkSurface* s = new gxtkSurface();
        ASSERT_TRUE(device->LoadSurface__UNSAFE__(s, String(path.c_str()))) << path;
        EXPECT_EQ(s->depth, c.depth);
        EXPECT_EQ(s->glFormat, c.format);
        ASSERT_NE(s->pixels, nullptr) << "decoded, not yet uploaded";
        EXPECT_EQ(std::vector<uint8_t>(s->pixels, s->pixels + c.depth), c.stored) << "depth " << c.depth;
        EXPECT_EQ(s->contextSeq, -1);
        s->Bind();
        EXPECT_EQ(s->contextSeq, glfwGraphicsSeq);
        EXPECT_EQ(s->pixels, nullptr) << "the texture holds them now";
        device->Cls(0, 0, 0);
        device->DrawSurface(s, 50, 50);
        EXPECT_TRUE(NearRgb(Pixel(50, 50), c.drawn)) << "depth " << c.depth;
    }
    gxtkSurface* loaded = device->LoadSurface(String(WritePng("one.png", 1, 1, 1, cases[0].file.data()).c_str()));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->contextSeq, glfwGraphicsSeq) << "loading makes the texture at once";
    EXPECT_EQ(device->LoadSurface(PathText(folder / "missing.png")), nullptr);
}

TEST_F(Surfaces, RefusedSizeIsRetriedAsPowersOfTwoAndDrawsAtItsOwnSize) {
    Picture picture = Pattern(100, 60);
    std::string path = WritePng("wide.png", picture);
    struct Case {
        bool refuseNpot;
        int texWidth, texHeight;
    } cases[] = {{false, 100, 60}, {true, 128, 64}};
    for (const Case& c : cases) {
        gxtkSurface::refuseNpotForTesting = c.refuseNpot;
        c_Image* image = xr_graphics_LoadImage(String(path.c_str()), 1, 0);
        ASSERT_NE(image, nullptr);
        gxtkSurface* s = image->m_surface;
        EXPECT_EQ(TextureSize(s, GL_TEXTURE_WIDTH), c.texWidth);
        EXPECT_EQ(TextureSize(s, GL_TEXTURE_HEIGHT), c.texHeight);
        EXPECT_FLOAT_EQ(s->uScale, 1.0f / float(c.texWidth));
        EXPECT_FLOAT_EQ(s->vScale, 1.0f / float(c.texHeight));

        device->Cls(0, 0, 0);
        xr_graphics_DrawImage(image, 10, 10, 0);
        EXPECT_TRUE(ShowsPicture(Block(10, 10, 100, 60), picture)) << "refused: " << c.refuseNpot;
        EXPECT_EQ(Pixel(110, 10), 0xFF000000u) << "nothing beyond the image's width";
        EXPECT_EQ(Pixel(10, 70), 0xFF000000u) << "nor below its height";
    }
}

// A new window normally shares the old one's textures: nothing is uploaded
// again, so a file deleted since still draws. When the driver refuses to
// share, each texture is made again, a loaded image's from its file, a
// written one's from the pixels it kept.
TEST_F(Surfaces, TexturesOutliveTheWindowOrAreRebuilt) {
    Picture picture = Pattern(6, 5);
    const std::string path = WritePng("small.png", picture);
    c_Image* image = xr_graphics_LoadImage(String(path.c_str()), 1, 0);
    ASSERT_NE(image, nullptr);
    gxtkSurface* written = device->CreateSurface(2, 1);
    Array<int> red(2);
    red[0] = red[1] = int(0xFFFF0000u);
    device->WritePixels2(written, red, 0, 0, 2, 1, 0, 2);
    // A loaded image written to afterwards keeps the whole of it.
    c_Image* patched = xr_graphics_LoadImage(String(WritePng("patched.png", picture).c_str()), 1, 0);
    ASSERT_NE(patched, nullptr);
    device->WritePixels2(patched->m_surface, red, 0, 0, 1, 1, 0, 1);
    Picture restOfRow(5, 1);
    for (int x = 0; x < 5; ++x) std::memcpy(restOfRow.at(x, 0), picture.at(x + 1, 0), 4);
    auto drawsAll = [&](const char* when) {
        device->Cls(0, 0, 0);
        xr_graphics_DrawImage(image, 30, 40, 0);
        device->DrawSurface(written, 100, 100);
        xr_graphics_DrawImage(patched, 200, 40, 0);
        EXPECT_TRUE(ShowsPicture(Block(30, 40, 6, 5), picture)) << when;
        EXPECT_EQ(Pixel(101, 100), 0xFFFF0000u) << when;
        EXPECT_EQ(Pixel(200, 40), 0xFFFF0000u) << when;
        EXPECT_TRUE(ShowsPicture(Block(201, 40, 5, 1), restOfRow)) << when;
    };
    drawsAll("at first");
    EXPECT_EQ(image->m_surface->pixels, nullptr);
    ASSERT_NE(written->pixels, nullptr);

    EndFrame();
    std::remove(path.c_str());
    const int seq = glfwGraphicsSeq;
    const unsigned name = image->m_surface->textureName;
    host->SetDeviceWindow(kWidth, kHeight, 0);
    EXPECT_EQ(glfwGraphicsSeq, seq);
    BeginFrame();
    drawsAll("in a window that shares the old one's textures");
    EXPECT_EQ(image->m_surface->textureName, name);

    WritePng("small.png", picture);
    EndFrame();
    host->refuseSharing = true;
    host->SetDeviceWindow(kWidth, kHeight, 0);
    ASSERT_EQ(glfwGraphicsSeq, seq + 1);
    BeginFrame();
    drawsAll("in a context of its own");
    EXPECT_EQ(image->m_surface->contextSeq, glfwGraphicsSeq);
    EXPECT_EQ(image->m_surface->pixels, nullptr) << "read again for the upload, then let go";

    // Gone from disk and from the new context: drawn as nothing, no crash.
    std::remove(path.c_str());
    EndFrame();
    host->SetDeviceWindow(kWidth, kHeight, 0);
    BeginFrame();
    device->Cls(0, 0, 0);
    xr_graphics_DrawImage(image, 30, 40, 0);
    EXPECT_EQ(Pixel(30, 40), 0xFF000000u);
}

TEST_F(Surfaces, DiscardReleasesTextureAndData) {
    gxtkSurface* s = device->LoadSurface(String(WritePng("one.png", Pattern(3, 3)).c_str()));
    ASSERT_NE(s, nullptr);
    GLuint name = s->textureName;
    EXPECT_TRUE(glIsTexture(name));
    s->Discard();
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_EQ(s->pixels, nullptr);
    EXPECT_EQ(s->contextSeq, -1);
}

const int kSentinel = 0x12345678;

int Argb(int a, int r, int g, int b) {
    return int(uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b));
}

TEST_F(Surfaces, WrittenPixelsArePremultipliedAndReadBackByRowAndPitch) {
    gxtkSurface* s = device->CreateSurface(4, 3);
    // Source rows 6 apart from element 2; the last column half transparent.
    Array<int> source(2 + 6 * 3);
    for (int i = 0; i < source.Length(); ++i) source[i] = kSentinel;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) source[2 + r * 6 + c] = Argb(c == 3 ? 128 : 255, 40 * c + 10, 60 * r + 20, 200);
    device->WritePixels2(s, source, 0, 0, 4, 3, 2, 6);
    const uint8_t* corner = s->pixels + (0 * 4 + 3) * 4;
    EXPECT_EQ(std::vector<uint8_t>(corner, corner + 4), (std::vector<uint8_t>{130 * 128 / 255, 20 * 128 / 255,
                                                                                200 * 128 / 255, 128}));

    device->Cls(0, 0, 0);
    device->DrawSurface(s, 50, 50);
    Array<int> out(1 + 5 * 3);
    for (int i = 0; i < out.Length(); ++i) out[i] = kSentinel;
    device->ReadPixels(out, 50, 50, 4, 3, 1, 5);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            int a = c == 3 ? 128 : 255;
            EXPECT_TRUE(NearRgb(uint32_t(out[1 + r * 5 + c]),
                                {(40 * c + 10) * a / 255, (60 * r + 20) * a / 255, 200 * a / 255}))
                << "row " << r << " (top first), column " << c;
            EXPECT_EQ(uint32_t(out[1 + r * 5 + c]) >> 24, 255u);
        }
    for (int i : {0, 5, 10}) EXPECT_EQ(out[i], kSentinel) << "element " << i << " is outside the rows";

    // Into the live texture: a 2 × 2 patch (row by row) and a whole row.
    Array<int> red(4), blue(4);
    for (int i = 0; i < 4; ++i) red[i] = Argb(255, 255, 0, 0), blue[i] = Argb(255, 0, 0, 255);
    device->WritePixels2(s, red, 1, 0, 2, 2, 0, 2);
    device->WritePixels2(s, blue, 0, 2, 4, 1, 0, 4);
    device->Cls(0, 0, 0);
    device->DrawSurface(s, 50, 50);
    std::vector<uint32_t> block = Block(50, 50, 4, 3);
    const uint32_t R = 0xFFFF0000, B = 0xFF0000FF;
    EXPECT_EQ(block[1], R);
    EXPECT_EQ(block[2], R);
    EXPECT_EQ(block[5], R);
    EXPECT_EQ(block[6], R);
    EXPECT_TRUE(NearRgb(block[0], {10, 20, 200})) << "left of the patch: unchanged";
    for (int c = 0; c < 4; ++c) EXPECT_EQ(block[8 + c], B);
}

TEST_F(Surfaces, TransfersReachingOutsideTheirArrayOrSurfaceDoNothing) {
    gxtkSurface* s = device->CreateSurface(4, 3);
    Array<int> source(20);
    for (int i = 0; i < 20; ++i) source[i] = Argb(255, 1, 2, 3);
    device->WritePixels2(s, source, 0, 0, 4, 3, 0, 4);
    std::vector<uint8_t> before(s->pixels, s->pixels + 4 * 3 * 4);

    struct Write {
        int x, y, w, h, offset, pitch;
    } writes[] = {
        {2, 0, 4, 1, 0, 4},    // past the right edge
        {0, 1, 4, 3, 0, 4},    // past the bottom
        {-1, 0, 2, 1, 0, 2},   // left of the surface
        {0, 0, 4, 3, 10, 6},   // rows past the array's end
        {0, 0, 4, 3, -1, 4},   // before its start
        {0, 0, 4, 2, 0, 2},    // rows that overlap
    };
    for (const Write& w : writes) {
        Array<int> other(20);
        for (int i = 0; i < 20; ++i) other[i] = Argb(255, 250, 250, 250);
        device->WritePixels2(s, other, w.x, w.y, w.w, w.h, w.offset, w.pitch);
        EXPECT_EQ(std::vector<uint8_t>(s->pixels, s->pixels + before.size()), before)
            << w.x << "," << w.y << " " << w.w << "x" << w.h << " from " << w.offset << " pitch " << w.pitch;
    }

    Array<int> out(10);
    for (int i = 0; i < 10; ++i) out[i] = kSentinel;
    device->ReadPixels(out, 0, 0, 4, 3, 0, 4);
    device->ReadPixels(out, 0, 0, 2, 2, 9, 2);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(out[i], kSentinel);

    uint8_t rgb[] = {9, 9, 9};
    gxtkSurface* opaque = device->LoadSurface(String(WritePng("rgb.png", 1, 1, 3, rgb).c_str()));
    ASSERT_NE(opaque, nullptr);
    device->WritePixels2(opaque, source, 0, 0, 1, 1, 0, 1);
    device->Cls(0, 0, 0);
    device->DrawSurface(opaque, 60, 60);
    EXPECT_TRUE(NearRgb(Pixel(60, 60), {9, 9, 9}, 0)) << "only RGBA surfaces take written pixels";
}

}  // namespace
