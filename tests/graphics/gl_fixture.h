// What the graphics tests share: a real window and context on the test X
// server, the device installed in the graphics module with a frame begun,
// pixels read back through the device, and PNG files written to disk.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/graphics.h"
#include "host/glfwgame.h"
#include "tests/harness/scratch.h"

struct Rgb {
    int r, g, b;
};

// Pixel channels as read back from the window, whose alpha is always opaque.
inline Rgb ToRgb(uint32_t argb) {
    return {int(argb >> 16 & 255), int(argb >> 8 & 255), int(argb & 255)};
}

// Each channel within `tolerance` of the expected one: blending rounds
// differently from the integer maths the expectations use.
::testing::AssertionResult NearRgb(uint32_t argb, Rgb expected, int tolerance = 1);

// One RGBA image, rows top to bottom.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    Picture(int w, int h) : width(w), height(h), rgba(size_t(w) * h * 4) {}
    uint8_t* at(int x, int y) { return &rgba[(size_t(y) * width + x) * 4]; }
    void Set(int x, int y, int r, int g, int b, int a = 255) {
        uint8_t* p = at(x, y);
        p[0] = uint8_t(r), p[1] = uint8_t(g), p[2] = uint8_t(b), p[3] = uint8_t(a);
    }
};

// The context's matrix as GetMatrix returns it.
inline std::vector<float> CurrentMatrix() {
    Array<float> m = xr_graphics_GetMatrix();
    return std::vector<float>(m.Data(), m.Data() + m.Length());
}

// The host of the graphics tests: its next window can be refused a context
// shared with the old one, as some drivers refuse it.
class GraphicsHost : public XrGlfwGame {
public:
    bool refuseSharing = false;

protected:
    GLFWwindow* CreateWindow(int width, int height, GLFWmonitor* monitor, GLFWwindow* share) override {
        return share && refuseSharing ? nullptr : XrGlfwGame::CreateWindow(width, height, monitor, share);
    }
};

class GraphicsTest : public ::testing::Test {
protected:
    static const int kWidth = 320, kHeight = 240;

    GraphicsHost* host = nullptr;
    gxtkGraphics* device = nullptr;

    void SetUp() override;
    void TearDown() override;

    // The frame as the application layer brackets it.
    void BeginFrame();
    void EndFrame();
    // Draw calls made by the device since `before`, once the frame is ended.
    long long CallsSince(long long before);

    // 0xAARRGGBB of one window pixel, origin top left.
    uint32_t Pixel(int x, int y);
    // A w × h block, rows top to bottom.
    std::vector<uint32_t> Block(int x, int y, int w, int h);

    // Writes `picture` as a PNG in the test's folder; returns its path.
    std::string WritePng(const std::string& name, const Picture& picture);
    // The same for `components` bytes a pixel (1 grey, 2 grey and alpha, 3 RGB, 4 RGBA).
    std::string WritePng(const std::string& name, int width, int height, int components, const uint8_t* bytes);

    ScratchFolder folder{"graphics"};
};
