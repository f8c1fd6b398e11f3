// The graphics context: per-frame state, the matrix and its stack, and the
// lazy hand-over of the matrix to the device.
#include <GLFW/glfw3.h>

#include "tests/graphics/gl_fixture.h"

namespace {

using Context = GraphicsTest;

TEST_F(Context, EveryFrameStartsFromTheDefaults) {
    xr_graphics_Translate(5, 6);
    xr_graphics_PushMatrix();
    xr_graphics_SetColor(1, 2, 3);
    xr_graphics_SetAlpha(0.25f);
    xr_graphics_SetBlend(1);
    xr_graphics_SetScissor(1, 2, 3, 4);
    EndFrame();
    EXPECT_EQ(xr_graphics_renderDevice, nullptr);

    BeginFrame();
    c_GraphicsContext* c = xr_graphics_context;
    EXPECT_EQ(xr_graphics_renderDevice, device);
    EXPECT_EQ(CurrentMatrix(), (std::vector<float>{1, 0, 0, 1, 0, 0}));
    EXPECT_EQ(c->m_transformed, 0);
    EXPECT_EQ(c->m_stackTop, 0);
    EXPECT_EQ((std::vector<float>{c->m_colorR, c->m_colorG, c->m_colorB, c->m_alpha}),
              (std::vector<float>{255, 255, 255, 1}));
    EXPECT_EQ(c->m_blendMode, 0);
    EXPECT_EQ((std::vector<float>{c->m_scissorX, c->m_scissorY, c->m_scissorW, c->m_scissorH}),
              (std::vector<float>{0, 0, kWidth, kHeight}));

    // What the device was told: opaque white, alpha blending, no scissor.
    EXPECT_EQ(device->color, 0xFFFFFFFFu);
    GLint dst = 0;
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
}

TEST_F(Context, MatrixReachesTheDeviceOnlyWhenSomethingIsDrawn) {
    xr_graphics_Translate(10, 20);
    xr_graphics_Scale(2, 3);
    EXPECT_EQ(device->ox, 0) << "changing the matrix costs nothing yet";
    EXPECT_FALSE(device->transformed);

    device->Cls(0, 0, 0);
    xr_graphics_DrawRect(0, 0, 5, 5);
    EXPECT_EQ((std::vector<float>{device->ax, device->ay, device->bx, device->by, device->ox, device->oy}),
              (std::vector<float>{2, 0, 0, 3, 10, 20}));
    EXPECT_EQ(xr_graphics_context->m_matrixDirty, 0);
    EXPECT_EQ(ToRgb(Pixel(19, 34)).r, 255) << "the 5 × 5 square covers 10..20 × 20..35";
    EXPECT_EQ(ToRgb(Pixel(20, 34)).r, 0);
    EXPECT_EQ(ToRgb(Pixel(19, 35)).r, 0);
}

TEST_F(Context, RotationTurnsCounterClockwiseAboutTheTranslatedOrigin) {
    xr_graphics_Translate(100, 100);
    xr_graphics_Rotate(90);
    std::vector<float> m = CurrentMatrix();
    // The point (1, 0) relative to the origin.
    EXPECT_NEAR(m[0], 0, 1e-6);
    EXPECT_NEAR(m[1], -1, 1e-6);

    device->Cls(0, 0, 0);
    xr_graphics_DrawRect(9, -1, 2, 2);  // around (10, 0)
    for (uint32_t p : Block(99, 89, 2, 2)) EXPECT_EQ(ToRgb(p).r, 255) << "10 pixels above the origin";
    for (uint32_t p : Block(109, 99, 2, 2)) EXPECT_EQ(ToRgb(p).r, 0) << "not to its right";
}

TEST_F(Context, MatrixStackGrowsAndUnwinds) {
    c_GraphicsContext* c = xr_graphics_context;
    EXPECT_EQ(c->m_stack.Length(), 192);
    for (int i = 0; i < 33; ++i) {
        if (i == 32) {
            EXPECT_EQ(c->m_stack.Length(), 192) << "room for 32 matrices";
        }
        xr_graphics_SetMatrix(1, 0, 0, 1, float(i), float(-i));
        xr_graphics_PushMatrix();
    }
    EXPECT_EQ(c->m_stack.Length(), 384);
    EXPECT_EQ(c->m_stackTop, 33 * 6);
    xr_graphics_SetMatrix(9, 9, 9, 9, 9, 9);
    for (int i = 32; i >= 0; --i) {
        xr_graphics_PopMatrix();
        EXPECT_EQ(CurrentMatrix(), (std::vector<float>{1, 0, 0, 1, float(i), float(-i)}));
        EXPECT_EQ(c->m_matrixDirty, 1);
    }
    xr_graphics_SetMatrix(2, 0, 0, 2, 0, 0);
    xr_graphics_PopMatrix();
    EXPECT_EQ(c->m_stackTop, 0);
    EXPECT_EQ(CurrentMatrix(), (std::vector<float>{2, 0, 0, 2, 0, 0})) << "popping an empty stack changes nothing";
}

TEST_F(Context, ArrayFormsOfTheMatrixNeedSixElements) {
    Array<float> m(6);
    for (int i = 0; i < 6; ++i) m[i] = float(i + 1);
    xr_graphics_SetMatrix2(m);
    xr_graphics_Transform2(m);
    Array<float> got(6);
    xr_graphics_GetMatrix2(got);
    // (1,2,3,4,5,6) applied inside itself.
    EXPECT_EQ(std::vector<float>(got.Data(), got.Data() + 6), (std::vector<float>{7, 10, 15, 22, 28, 40}));

    Array<float> shorter(5);
    xr_graphics_SetMatrix2(shorter);
    xr_graphics_Transform2(shorter);
    xr_graphics_GetMatrix2(shorter);
    EXPECT_EQ(CurrentMatrix(), (std::vector<float>{7, 10, 15, 22, 28, 40}));
    EXPECT_EQ(std::vector<float>(shorter.Data(), shorter.Data() + 5), std::vector<float>(5, 0.0f));
}

}  // namespace
