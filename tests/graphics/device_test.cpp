// The drawing device on a real context: what reaches the pixels, and how
// primitives share OpenGL draw calls.
#include <functional>
#include <cmath>
#include <initializer_list>
#include <limits>

#include <GLFW/glfw3.h>

#include "tests/graphics/gl_fixture.h"

namespace {

Array<float> Floats(std::initializer_list<float> values) {
    Array<float> a(int(values.size()));
    int i = 0;
    for (float v : values) a[i++] = v;
    return a;
}

using Device = GraphicsTest;

TEST_F(Device, FillsAndBlendsPremultipliedColour) {
    struct Case {
        Rgb background;
        Rgb colour;
        float alpha;
        int blend;
        Rgb expected;
    } cases[] = {
        {{0, 0, 0}, {200, 100, 50}, 1, 0, {200, 100, 50}},
        // Colour 200·0.5 = 100 etc., alpha byte 127: 100 + 100·128/255 over grey.
        {{100, 100, 100}, {200, 100, 50}, 0.5f, 0, {150, 100, 75}},
        {{100, 100, 100}, {200, 100, 50}, 0.5f, 1, {200, 150, 125}},
        {{200, 200, 200}, {200, 100, 50}, 1, 1, {255, 255, 250}},
        {{30, 60, 90}, {255, 255, 255}, 0, 0, {30, 60, 90}},
    };
    for (const Case& c : cases) {
        device->Cls(float(c.background.r), float(c.background.g), float(c.background.b));
        xr_graphics_SetBlend(c.blend);
        xr_graphics_SetColor(float(c.colour.r), float(c.colour.g), float(c.colour.b));
        xr_graphics_SetAlpha(c.alpha);
        xr_graphics_DrawRect(10, 10, 20, 20);
        EXPECT_TRUE(NearRgb(Pixel(15, 15), c.expected)) << "alpha " << c.alpha << " blend " << c.blend;
        EXPECT_TRUE(NearRgb(Pixel(30, 15), c.background, 0)) << "the rectangle ends at x + w";
        EXPECT_TRUE(NearRgb(Pixel(10, 10), c.expected)) << "and starts at x";
    }
}

TEST_F(Device, PrimitivesLandOnTheirPixels) {
    device->Cls(0, 0, 0);
    xr_graphics_SetColor(255, 0, 0);
    device->DrawPoint(5, 7);
    xr_graphics_DrawLine(10, 20, 30, 20);
    xr_graphics_DrawOval(100, 100, 40, 20);
    xr_graphics_DrawPoly(Floats({200, 100, 240, 100, 240, 140}));
    xr_graphics_DrawPoly(Floats({250, 100, 270, 100, 280, 120, 260, 140, 250, 120}));

    struct Probe {
        int x, y;
        bool lit;
    } probes[] = {
        {5, 7, true},     {6, 7, false},    {5, 8, false},    // point: its pixel only
        {20, 20, true},   {20, 21, false},  {20, 19, false},  // line along y = 20
        {120, 110, true}, {101, 101, false},                  // oval: centre, not the box corner
        {235, 105, true}, {205, 135, false},                  // triangle: one side of the diagonal
        {262, 120, true}, {278, 102, false},                  // pentagon
    };
    for (const Probe& p : probes)
        EXPECT_EQ(ToRgb(Pixel(p.x, p.y)).r, p.lit ? 255 : 0) << p.x << "," << p.y;
}

TEST_F(Device, ScissorClipsWithTheYAxisFlipped) {
    device->Cls(0, 0, 0);
    xr_graphics_SetScissor(10, 20, 30, 40);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    xr_graphics_SetColor(255, 0, 0);
    xr_graphics_DrawRect(0, 0, kWidth, kHeight);
    struct Probe {
        int x, y;
        bool inside;
    } probes[] = {{10, 20, true}, {39, 59, true}, {9, 20, false}, {40, 59, false}, {10, 19, false}, {39, 60, false}};
    for (const Probe& p : probes)
        EXPECT_EQ(ToRgb(Pixel(p.x, p.y)).r, p.inside ? 255 : 0) << p.x << "," << p.y;

    xr_graphics_SetScissor(0, 0, kWidth, kHeight);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    xr_graphics_SetColor(0, 255, 0);
    xr_graphics_DrawRect(0, 0, kWidth, kHeight);
    EXPECT_EQ(ToRgb(Pixel(0, 0)).g, 255);
    EXPECT_EQ(ToRgb(Pixel(kWidth - 1, kHeight - 1)).g, 255);
}

TEST_F(Device, PrimitivesShareDrawCallsUntilKindTextureOrStateChanges) {
    gxtkSurface* a = device->CreateSurface(8, 8);
    gxtkSurface* b = device->CreateSurface(8, 8);
    struct Case {
        const char* what;
        std::function<void()> draw;
        long long calls;
    } cases[] = {
        {"257 rectangles", [&] { for (int i = 0; i < 257; ++i) device->DrawRect(0, 0, 1, 1); }, 2},
        {"two lines", [&] { device->DrawLine(0, 0, 5, 5); device->DrawLine(5, 5, 9, 0); }, 1},
        {"a point after a line", [&] { device->DrawLine(0, 0, 5, 5); device->DrawPoint(1, 1); }, 2},
        {"quads of two surfaces", [&] {
             device->DrawSurface(a, 0, 0);
             device->DrawSurface2(a, 0, 0, 1, 1, 2, 2);
             device->DrawSurface(b, 0, 0);
         }, 2},
        {"colour and matrix go with the vertices", [&] {
             device->DrawRect(0, 0, 1, 1);
             device->SetColor(1, 2, 3);
             device->SetAlpha(0.5f);
             device->SetMatrix(2, 0, 0, 2, 1, 1);
             device->DrawRect(0, 0, 1, 1);
         }, 1},
        {"blend flushes", [&] { device->DrawRect(0, 0, 1, 1); device->SetBlend(1); device->DrawRect(0, 0, 1, 1); }, 2},
        {"scissor flushes", [&] {
             device->DrawRect(0, 0, 1, 1);
             device->SetScissor(1, 1, 5, 5);
             device->DrawRect(0, 0, 1, 1);
         }, 2},
        {"a pixel read flushes", [&] {
             device->DrawRect(0, 0, 1, 1);
             Pixel(0, 0);
             device->DrawRect(0, 0, 1, 1);
         }, 2},
        {"two ovals: one fan each", [&] { device->DrawOval(0, 0, 50, 50); device->DrawOval(60, 0, 50, 50); }, 2},
        {"Cls drops what was batched", [&] { device->DrawRect(0, 0, 1, 1); device->Cls(0, 0, 0); }, 0},
    };
    for (const Case& c : cases) {
        BeginFrame();
        long long before = device->drawCalls;
        c.draw();
        EXPECT_EQ(CallsSince(before), c.calls) << c.what;
    }
}

TEST_F(Device, OnlyTheExactIdentityLeavesVerticesUntransformed) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float m[6];
        bool transformed;
    } cases[] = {
        {{1, 0, 0, 1, 0, 0}, false},
        {{1, -0.0f, -0.0f, 1, -0.0f, -0.0f}, false},
        {{1, 0, 0, 1, 0, 1e-30f}, true},
        {{1, 0, 0, std::nextafter(1.0f, 2.0f), 0, 0}, true},
        {{-1, 0, 0, 1, 0, 0}, true},
        {{1, 0, 0, 1, nan, 0}, true},
    };
    for (const Case& c : cases) {
        device->SetMatrix(c.m[0], c.m[1], c.m[2], c.m[3], c.m[4], c.m[5]);
        EXPECT_EQ(device->transformed, c.transformed)
            << c.m[0] << " " << c.m[1] << " " << c.m[2] << " " << c.m[3] << " " << c.m[4] << " " << c.m[5];
    }
}

TEST_F(Device, ClsDropsBatchedPrimitivesWithoutDrawingThem) {
    device->Cls(0, 0, 0);
    xr_graphics_SetColor(255, 255, 255);
    xr_graphics_DrawRect(0, 0, 50, 50);
    device->Cls(0, 0, 255);
    EndFrame();
    EXPECT_TRUE(NearRgb(Pixel(10, 10), {0, 0, 255}, 0));
}

TEST_F(Device, VertexCountChoosesThePrimitiveKind) {
    struct Case {
        const char* what;
        std::function<void()> draw;
        int kind;   // batchKind afterwards; 0: nothing was added
        int count;  // vertices added
    } cases[] = {
        {"poly of 2 floats: a point", [&] { device->DrawPoly(Floats({1, 2})); }, 1, 1},
        {"poly of 8 floats: a quad", [&] { device->DrawPoly(Floats({0, 0, 4, 0, 4, 4, 0, 4})); }, 4, 4},
        {"poly of 10 floats: a fan of 5", [&] { device->DrawPoly(Floats({0, 0, 4, 0, 5, 2, 4, 4, 0, 4})); }, 5, 5},
        {"poly of no vertices", [&] { device->DrawPoly(Array<float>()); }, 0, 0},
        {"poly of 1025 vertices", [&] { device->DrawPoly(Array<float>(2050)); }, 0, 0},
        {"textured poly of 1025 vertices", [&] { device->DrawPoly2(Array<float>(4100), device->CreateSurface(2, 2), 0, 0); }, 0, 0},
        {"oval with radii summing under 12", [&] { device->DrawOval(0, 0, 10, 12); }, 12, 12},
        {"oval with radii summing to 50", [&] { device->DrawOval(0, 0, 50, 50); }, 48, 48},
        {"oval with radii summing to 2000", [&] { device->DrawOval(0, 0, 2000, 2000); }, 1024, 1024},
        {"oval of radii 25 scaled by 2", [&] {
             device->SetMatrix(2, 0, 0, 2, 0, 0);
             device->DrawOval(0, 0, 50, 50);
         }, 100, 100},
    };
    for (const Case& c : cases) {
        BeginFrame();
        device->batchKind = 0;
        c.draw();
        EXPECT_EQ(device->batchKind, c.kind) << c.what;
        EXPECT_EQ(device->batchCount, c.count) << c.what;
        device->SetMatrix(1, 0, 0, 1, 0, 0);
    }
}

}  // namespace
