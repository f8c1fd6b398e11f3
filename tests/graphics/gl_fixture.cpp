#include "tests/graphics/gl_fixture.h"

#include <cstdlib>

#include <GLFW/glfw3.h>
#include <stb_image_write.h>

#include "tests/harness/host_fixture.h"

::testing::AssertionResult NearRgb(uint32_t argb, Rgb expected, int tolerance) {
    Rgb got = ToRgb(argb);
    if (std::abs(got.r - expected.r) <= tolerance && std::abs(got.g - expected.g) <= tolerance &&
        std::abs(got.b - expected.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << got.r << ", " << got.g << ", " << got.b << "), expected ("
                                         << expected.r << ", " << expected.g << ", " << expected.b << ")";
}

void GraphicsTest::SetUp() {
    gxtkSurface::refuseNpotForTesting = false;
    host = new GraphicsHost();
    // Undecorated, so the drawing area is exactly the size asked for.
    host->SetDeviceWindow(kWidth, kHeight, 0);
    // Every expected pixel assumes this size. (Using the host harness here
    // also links in its GLFW start-up.)
    ASSERT_TRUE(PollUntil([&] {
        int w = 0, h = 0;
        glfwGetFramebufferSize(host->Window(), &w, &h);
        return w == kWidth && h == kHeight;
    }));
    xr_graphics_init();
    device = new gxtkGraphics();
    xr_graphics_SetGraphicsDevice(device);
    BeginFrame();
}

void GraphicsTest::TearDown() {
    EndFrame();
    xr_graphics_device = nullptr;
    xr_graphics_context = nullptr;
    gxtkSurface::refuseNpotForTesting = false;
    delete host;
    glfwPollEvents();
}

void GraphicsTest::BeginFrame() {
    device->BeginRender();
    xr_graphics_BeginRender();
}

void GraphicsTest::EndFrame() {
    xr_graphics_EndRender();
    device->EndRender();
}

long long GraphicsTest::CallsSince(long long before) {
    EndFrame();
    return device->drawCalls - before;
}

uint32_t GraphicsTest::Pixel(int x, int y) {
    return Block(x, y, 1, 1)[0];
}

std::vector<uint32_t> GraphicsTest::Block(int x, int y, int w, int h) {
    Array<int> pixels(w * h);
    device->ReadPixels(pixels, x, y, w, h, 0, w);
    return std::vector<uint32_t>(pixels.Data(), pixels.Data() + w * h);
}

std::string GraphicsTest::WritePng(const std::string& name, const Picture& picture) {
    return WritePng(name, picture.width, picture.height, 4, picture.rgba.data());
}

std::string GraphicsTest::WritePng(const std::string& name, int width, int height, int components,
                                   const uint8_t* bytes) {
    // Written as the game writes paths, with "/" between names.
    const std::string path = (folder / name).generic_u8string();
    EXPECT_TRUE(stbi_write_png(path.c_str(), width, height, components, bytes, width * components)) << path;
    return path;
}
