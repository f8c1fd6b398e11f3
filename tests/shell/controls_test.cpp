// Control sets, pointer record and latches over the real input device.
#include <gtest/gtest.h>

#include "game/modules.h"
#include "tests/harness/test_roots.h"
#include "host/app.h"
#include "host/glfwgame.h"
#include "host/input.h"
#include "shell/controls.h"
#include "shell/draw.h"
#include "shell/state.h"

namespace {

typedef c_XrGameEvent E;

class Controls : public ::testing::Test {
protected:
    XrGlfwGame host;  // no pads present
    c_InputDevice* input = nullptr;

    void SetUp() override {
        ResetModules();
        input = (new c_InputDevice())->m_new();
        xr_input_SetInputDevice(input);
        xr_ruvo_SetDefaults();
        xr_ruvo_RUVO_Scale = 2;
    }
    // One update's worth: pads polled, pointer and controls refreshed.
    void Update() {
        input->p_BeginUpdate();
        xr_ruvo_ReadPointer();
        xr_ruvo_DoControls();
        input->p_EndUpdate();
    }
    void Key(int key, bool down) { input->p_KeyEvent(down ? E::KeyDown : E::KeyUp, key); }
    void Stick(int pad, float x, float y) {
        input->m__joyStates[pad]->m_joyx[0] = x;
        input->m__joyStates[pad]->m_joyy[0] = y;
    }
    float Keyboard(int slot) { return xr_ruvo_RUVO_Control[slot]; }
    float Pad(int pad, int slot) { return xr_ruvo_RUVO_Control[100 * (pad + 1) + slot]; }
};

TEST_F(Controls, KeyboardAxisRampsUpAndDecays) {
    const float expected[] = {0.4f, 0.8f, 1.0f, 1.0f, 0.75f, 0.5f, 0.25f, 0.0f, 0.0f};
    Key(39, true);
    for (int update = 0; update < 9; ++update) {
        if (update == 4) Key(39, false);
        Update();
        EXPECT_NEAR(Keyboard(RUVO_AXIS_X), expected[update], 1e-6) << "update " << update;
        EXPECT_EQ(Keyboard(RUVO_RIGHT), update < 4 ? 1 : 0);
    }
    Key('W', true);
    Update();
    EXPECT_NEAR(Keyboard(RUVO_AXIS_Y), -0.4f, 1e-6);
    EXPECT_EQ(Keyboard(RUVO_UP), 1);
}

TEST_F(Controls, LeftAndRightTogetherHoldTheAxis) {
    Key('D', true);
    Update();
    Update();
    Key('A', true);
    for (int i = 0; i < 3; ++i) {
        Update();
        EXPECT_NEAR(Keyboard(RUVO_AXIS_X), 0.8f, 1e-6);
    }
}

TEST_F(Controls, StickDeadZone) {
    xr_ruvo_RUVO_Set[11] = 0;
    struct Case {
        float x, y;
        float axisX, axisY;
        int left, right, up, down;
    };
    const Case cases[] = {
        {0.29f, 0.29f, 0, 0, 0, 0, 0, 0},     {0.3f, 0, 0.3f, 0, 0, 0, 0, 0},
        {0, 0.3f, 0, 0, 0, 0, 0, 0},          {0, 0.31f, 0, 0.31f, 0, 0, 0, 1},
        {-0.8f, -0.5f, -0.8f, -0.5f, 1, 0, 1, 0}, {0.2f, -0.9f, 0.2f, -0.9f, 0, 0, 1, 0},
    };
    xr_ruvo_RUVO_MixControls = 0;
    for (const Case& c : cases) {
        xr_ruvo_RUVO_Control[200 + RUVO_AXIS_X] = xr_ruvo_RUVO_Control[200 + RUVO_AXIS_Y] = 0;
        Stick(1, c.x, c.y);
        Update();
        EXPECT_FLOAT_EQ(Pad(1, RUVO_AXIS_X), c.axisX) << c.x << "," << c.y;
        EXPECT_FLOAT_EQ(Pad(1, RUVO_AXIS_Y), c.axisY) << c.x << "," << c.y;
        EXPECT_EQ(Pad(1, RUVO_LEFT), c.left);
        EXPECT_EQ(Pad(1, RUVO_RIGHT), c.right);
        EXPECT_EQ(Pad(1, RUVO_UP), c.up);
        EXPECT_EQ(Pad(1, RUVO_DOWN), c.down);
    }
    xr_ruvo_RUVO_Set[11] = 1;  // inverted first stick
    Stick(1, 0, 0.5f);
    Update();
    EXPECT_FLOAT_EQ(xr_ruvo_ControlY(1, 0), -0.5f);
}

TEST_F(Controls, MixingAndReadingSets) {
    Key(38, true);
    Update();
    EXPECT_EQ(xr_ruvo_PlayKey(0, -2), 2) << "the keyboard set and pad 0's mixed set";
    EXPECT_EQ(xr_ruvo_PlayKey(0, -1), 1);
    EXPECT_EQ(xr_ruvo_PlayKey(0, 0), 1);
    EXPECT_EQ(xr_ruvo_PlayKey(0, 1), 0);
    EXPECT_EQ(xr_ruvo_PlayKey(0, 4), 0);
    EXPECT_NEAR(xr_ruvo_ControlY(-1, 0), -0.4f, 1e-6);

    Key(38, false);
    Key(27, true);
    Update();
    for (int set = -2; set <= 3; ++set) EXPECT_EQ(xr_ruvo_PlayKey(99, set), xr_ruvo_PlayKey(20, set)) << set;
    EXPECT_EQ(xr_ruvo_PlayKey(99, -1), 1);
}

TEST_F(Controls, DisabledPadReadsNothing) {
    xr_ruvo_RUVO_MixControls = 0;
    xr_ruvo_Joy_Disable[2] = 1;
    Stick(2, 0.9f, 0.9f);
    input->m__joyStates[2]->m_joyx[1] = 0.8f;
    Update();
    for (int slot = 0; slot < 100; ++slot) EXPECT_EQ(Pad(2, slot), 0) << slot;
}

TEST_F(Controls, PointerMovesOnlyBetweenPressedUpdates) {
    Update();  // released: no previous position
    input->p_MouseEvent(E::MouseDown, 0, 20, 20);
    Update();
    EXPECT_EQ(xr_ruvo_mdAll, 1);
    EXPECT_EQ(xr_ruvo_mx, 10) << "device pixels over the scale";
    EXPECT_EQ(xr_ruvo_msx, 0);
    input->p_MouseEvent(E::MouseMove, -1, 30, 24);
    Update();
    EXPECT_EQ(xr_ruvo_msx, 5);
    EXPECT_EQ(xr_ruvo_msy, 2);
    xr_ruvo_mdis[0] = 1;
    input->p_MouseEvent(E::MouseUp, 0, 30, 24);
    Update();
    EXPECT_EQ(xr_ruvo_mwx, -100);
    EXPECT_EQ(xr_ruvo_mdis[0], 0) << "a released pointer frees its latch";
    input->p_MouseEvent(E::MouseDown, 0, 100, 100);
    Update();
    EXPECT_EQ(xr_ruvo_msx, 5) << "the first pressed update measures nothing";
    EXPECT_EQ(xr_ruvo_MouseIn(40, 40, 10, 10), 1);
    EXPECT_EQ(xr_ruvo_MouseIn_Centered(45, 45, 10, 10), 1);
    EXPECT_EQ(xr_ruvo_MouseIn_Centered(44, 44, 10, 10), 0);
    EXPECT_EQ(xr_ruvo_MouseIn_Centered(56, 50, 10, 10), 0);
    EXPECT_EQ(xr_ruvo_MouseIn_Radius(53, 54, 5), 1);
    EXPECT_EQ(xr_ruvo_MouseIn_Radius(53, 54, 4.99f), 0);

    input->p_TouchEvent(E::TouchDown, 3, 8, 6);
    Update();
    EXPECT_EQ(xr_ruvo_RUVO_Touch[30], 1);
    EXPECT_EQ(xr_ruvo_RUVO_Touch[31], 4);
    EXPECT_EQ(xr_ruvo_mx, 50) << "finger 0 (the mouse) comes first";
}

TEST_F(Controls, LockKeysSetsEveryLatch) {
    xr_ruvo_LockKeys();
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(xr_ruvo_kdis[i], 1);
        EXPECT_EQ(xr_ruvo_mdis[i], 1);
    }
}

}  // namespace
