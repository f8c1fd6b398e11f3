// Control sets, pointer record and latches over the real input device.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/modules.h"
#include "tests/harness/test_roots.h"
#include "host/app.h"
#include "host/glfwgame.h"
#include "host/input.h"
#include "shell/controls.h"
#include "shell/draw.h"
#include "shell/state.h"
#include "tests/harness/pad_host.h"

namespace {

typedef c_XrGameEvent E;

class Controls : public ::testing::Test {
protected:
    PadHost host;
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
    // Pads 0..pad plugged in (unknown ones, read as reported), the first
    // stick of `pad` at (x, y).
    void Stick(int pad, float x, float y) {
        for (int p = 0; p <= pad; ++p)
            if (!host.pads[p].present) host.Connect(p, PadHost::Raw({0, 0, 0, 0}, 16));
        host.pads[pad].axes[0] = x;
        host.pads[pad].axes[1] = y;
    }
    float Keyboard(int slot) { return xr_ruvo_RUVO_Control[slot]; }
    float& Pad(int pad, int slot) { return xr_ruvo_RUVO_Control[RUVO_SET_SLOTS * (pad + 1) + slot]; }
};

TEST_F(Controls, KeyboardAxisRampsUpAndDecays) {
    const float expected[] = {0.4f, 0.8f, 1.0f, 1.0f, 0.75f, 0.5f, 0.25f, 0.0f, 0.0f};
    Key(KEY_RIGHT, true);
    for (int update = 0; update < 9; ++update) {
        if (update == 4) Key(KEY_RIGHT, false);
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
    xr_ruvo_RUVO_Set[SET_INVERT_STICK_Y] = 0;
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
        Pad(1, RUVO_AXIS_X) = Pad(1, RUVO_AXIS_Y) = 0;
        Stick(1, c.x, c.y);
        Update();
        EXPECT_FLOAT_EQ(Pad(1, RUVO_AXIS_X), c.axisX) << c.x << "," << c.y;
        EXPECT_FLOAT_EQ(Pad(1, RUVO_AXIS_Y), c.axisY) << c.x << "," << c.y;
        EXPECT_EQ(Pad(1, RUVO_LEFT), c.left);
        EXPECT_EQ(Pad(1, RUVO_RIGHT), c.right);
        EXPECT_EQ(Pad(1, RUVO_UP), c.up);
        EXPECT_EQ(Pad(1, RUVO_DOWN), c.down);
    }
    xr_ruvo_RUVO_Set[SET_INVERT_STICK_Y] = 1;  // inverted first stick
    Stick(1, 0, 0.5f);
    Update();
    EXPECT_FLOAT_EQ(xr_ruvo_ControlY(1, 0), -0.5f);
}

// The whole assignment of keys and pad buttons to controls: each key and
// each button, pressed alone, holds its control and no other, keys in the
// keyboard's set and a pad's buttons in that pad's set only. Keys and
// buttons outside the table hold nothing.
TEST_F(Controls, EveryKeyAndPadButtonHoldsItsControl) {
    const int B1 = RUVO_BUTTON1, NONE = -1;
    struct Binding {
        int slot;
        std::vector<int> keys;
        std::vector<int> offsets;  // pad buttons: code KEY_JOY0 + KEY_JOY_STRIDE * pad + offset
    };
    const int PAD = KEY_NUMPAD0;
    const Binding table[] = {
        {RUVO_UP, {KEY_UP, 'W', PAD + 8}, {JOY_UP}},
        {RUVO_DOWN, {KEY_DOWN, 'S', PAD + 2, PAD + 5}, {JOY_DOWN}},
        {RUVO_LEFT, {KEY_LEFT, 'A', PAD + 4}, {JOY_LEFT}},
        {RUVO_RIGHT, {KEY_RIGHT, 'D', PAD + 6}, {JOY_RIGHT}},
        {B1, {'Z', 'J', KEY_SPACE, KEY_ENTER}, {JOY_A}},
        {B1 + 1, {'X', 'K', KEY_CONTROL}, {JOY_B}},
        {B1 + 2, {'C', 'L', KEY_SHIFT}, {JOY_X}},
        {B1 + 3, {'V', 'I'}, {JOY_Y}},
        {B1 + 4, {'B', 'U'}, {JOY_LB}},
        {B1 + 5, {'N', 'O'}, {JOY_RB}},
        {RUVO_MENU, {KEY_ESCAPE, KEY_TILDE, KEY_DELETE, KEY_BACKSPACE}, {JOY_BACK, JOY_START, JOY_MENU}},
        {NONE, {'Q', 'E', KEY_TAB, PAD + 3, PAD + 7, PAD + 9, KEY_F1, KEY_F11}, {JOY_LSB, JOY_RSB}},
    };
    // The standard pad's buttons by their offsets in a pad's codes.
    const int gamepadButton[15] = {
        GLFW_GAMEPAD_BUTTON_A,         GLFW_GAMEPAD_BUTTON_B,           GLFW_GAMEPAD_BUTTON_X,
        GLFW_GAMEPAD_BUTTON_Y,         GLFW_GAMEPAD_BUTTON_LEFT_BUMPER, GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER,
        GLFW_GAMEPAD_BUTTON_BACK,      GLFW_GAMEPAD_BUTTON_START,       GLFW_GAMEPAD_BUTTON_DPAD_LEFT,
        GLFW_GAMEPAD_BUTTON_DPAD_UP,   GLFW_GAMEPAD_BUTTON_DPAD_RIGHT,  GLFW_GAMEPAD_BUTTON_DPAD_DOWN,
        GLFW_GAMEPAD_BUTTON_LEFT_THUMB, GLFW_GAMEPAD_BUTTON_RIGHT_THUMB, GLFW_GAMEPAD_BUTTON_GUIDE,
    };
    const int slots[] = {RUVO_UP, RUVO_LEFT, RUVO_RIGHT, RUVO_DOWN, B1, B1 + 1, B1 + 2, B1 + 3, B1 + 4, B1 + 5, RUVO_MENU};
    xr_ruvo_RUVO_MixControls = 0;
    for (int jid = 0; jid < 4; ++jid) host.Connect(jid, PadHost::Gamepad());
    // Which of the eleven controls each set holds: set -1 is the keyboard.
    auto expectHeld = [&](int heldSet, int heldSlot, const std::string& what) {
        for (int set = RUVO_KEYBOARD_SET; set <= RUVO_LAST_PAD_SET; ++set)
            for (int slot : slots)
                EXPECT_EQ(Pad(set, slot), set == heldSet && slot == heldSlot ? 1 : 0)
                    << what << ": set " << set << ", slot " << slot;
    };
    for (const Binding& b : table) {
        for (int key : b.keys) {
            Key(key, true);
            Update();
            expectHeld(RUVO_KEYBOARD_SET, b.slot, "key " + std::to_string(key));
            Key(key, false);
            Update();
        }
        for (int pad = 0; pad <= RUVO_LAST_PAD_SET; ++pad)
            for (int offset : b.offsets) {
                unsigned char& button = host.pads[pad].state.buttons[gamepadButton[offset]];
                button = GLFW_PRESS;
                Update();
                EXPECT_TRUE(xr_input_KeyDown(KEY_JOY0 + KEY_JOY_STRIDE * pad + offset))
                    << "pad " << pad << ", offset " << offset;
                expectHeld(pad, b.slot, "pad " + std::to_string(pad) + ", offset " + std::to_string(offset));
                button = GLFW_RELEASE;
                Update();
            }
    }
}

// What a player's pad does in the game, from what Linux reports of it, with
// the settings a first run has. An Xbox-style pad (xpad and the many made to
// look like it) is known to GLFW and read through the standard gamepad
// layout; an unknown pad of 4 axes, 12 buttons and a hat (16 buttons as GLFW
// counts them) keeps the generic layout.
TEST_F(Controls, LinuxPadReportsGiveTheirControls) {
    typedef std::function<void(PadHost::Pad&)> Press;
    auto button = [](int b) -> Press { return [b](PadHost::Pad& p) { p.state.buttons[b] = GLFW_PRESS; }; };
    auto axis = [](int a, float v) -> Press { return [a, v](PadHost::Pad& p) { p.state.axes[a] = v; }; };
    auto raw = [](int b) -> Press { return [b](PadHost::Pad& p) { p.buttons[size_t(b)] = GLFW_PRESS; }; };
    auto rawAxis = [](int a, float v) -> Press { return [a, v](PadHost::Pad& p) { p.axes[size_t(a)] = v; }; };
    const int B1 = RUVO_BUTTON1;
    struct Case {
        const char* what;
        bool known;
        Press press;
        std::vector<int> held;
        float axisX, axisY;
    } cases[] = {
        {"A chooses", true, button(GLFW_GAMEPAD_BUTTON_A), {B1}, 0, 0},
        {"B", true, button(GLFW_GAMEPAD_BUTTON_B), {B1 + 1}, 0, 0},
        {"X", true, button(GLFW_GAMEPAD_BUTTON_X), {B1 + 2}, 0, 0},
        {"Y", true, button(GLFW_GAMEPAD_BUTTON_Y), {B1 + 3}, 0, 0},
        {"left shoulder", true, button(GLFW_GAMEPAD_BUTTON_LEFT_BUMPER), {B1 + 4}, 0, 0},
        {"right shoulder", true, button(GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER), {B1 + 5}, 0, 0},
        {"Start pauses", true, button(GLFW_GAMEPAD_BUTTON_START), {RUVO_MENU}, 0, 0},
        {"Back pauses", true, button(GLFW_GAMEPAD_BUTTON_BACK), {RUVO_MENU}, 0, 0},
        {"Guide pauses", true, button(GLFW_GAMEPAD_BUTTON_GUIDE), {RUVO_MENU}, 0, 0},
        {"d-pad up", true, button(GLFW_GAMEPAD_BUTTON_DPAD_UP), {RUVO_UP}, 0, -0.4f},
        {"d-pad down", true, button(GLFW_GAMEPAD_BUTTON_DPAD_DOWN), {RUVO_DOWN}, 0, 0.4f},
        {"d-pad left", true, button(GLFW_GAMEPAD_BUTTON_DPAD_LEFT), {RUVO_LEFT}, -0.4f, 0},
        {"d-pad right", true, button(GLFW_GAMEPAD_BUTTON_DPAD_RIGHT), {RUVO_RIGHT}, 0.4f, 0},
        {"left stick up swims up", true, axis(GLFW_GAMEPAD_AXIS_LEFT_Y, -1), {RUVO_UP}, 0, -1},
        {"left stick down", true, axis(GLFW_GAMEPAD_AXIS_LEFT_Y, 0.8f), {RUVO_DOWN}, 0, 0.8f},
        {"left stick left", true, axis(GLFW_GAMEPAD_AXIS_LEFT_X, -0.9f), {RUVO_LEFT}, -0.9f, 0},
        {"a trigger does nothing", true, axis(GLFW_GAMEPAD_AXIS_LEFT_TRIGGER, 1), {}, 0, 0},
        {"unknown: button 1 chooses", false, raw(1), {B1}, 0, 0},
        {"unknown: button 2", false, raw(2), {B1 + 1}, 0, 0},
        {"unknown: button 0", false, raw(0), {B1 + 2}, 0, 0},
        {"unknown: button 9 pauses", false, raw(9), {RUVO_MENU}, 0, 0},
        {"unknown: hat up", false, raw(12), {RUVO_UP}, 0, -0.4f},
        {"unknown: hat left", false, raw(15), {RUVO_LEFT}, -0.4f, 0},
        {"unknown: stick right", false, rawAxis(0, 1), {RUVO_RIGHT}, 1, 0},
    };
    const int slots[] = {RUVO_UP, RUVO_LEFT, RUVO_RIGHT, RUVO_DOWN, B1, B1 + 1, B1 + 2, B1 + 3, B1 + 4, B1 + 5, RUVO_MENU};
    xr_ruvo_RUVO_MixControls = 0;
    for (const Case& c : cases) {
        PadHost::Pad pad = c.known ? PadHost::Gamepad() : PadHost::Raw({0, 0, 0, 0}, 16);
        host.Connect(0, pad);
        Update();  // at rest
        Pad(0, RUVO_AXIS_X) = Pad(0, RUVO_AXIS_Y) = 0;
        c.press(host.pads[0]);
        Update();
        for (int slot : slots) {
            const bool expected = std::find(c.held.begin(), c.held.end(), slot) != c.held.end();
            EXPECT_EQ(Pad(0, slot), expected ? 1 : 0) << c.what << ", slot " << slot;
        }
        EXPECT_FLOAT_EQ(Pad(0, RUVO_AXIS_X), c.axisX) << c.what;
        EXPECT_FLOAT_EQ(Pad(0, RUVO_AXIS_Y), c.axisY) << c.what;
        host.Disconnect(0);
        Update();
    }
}

// A pad switched on after the game started is read; one unplugged while a
// stick is pushed and a button held lets go of both at once.
TEST_F(Controls, PadsComeAndGoWhileTheGameRuns) {
    xr_ruvo_RUVO_MixControls = 0;
    Update();
    EXPECT_EQ(Pad(0, RUVO_BUTTON1), 0);
    PadHost::Pad pad = PadHost::Gamepad();
    pad.state.buttons[GLFW_GAMEPAD_BUTTON_A] = GLFW_PRESS;
    pad.state.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = -1;
    host.Connect(3, pad);
    Update();
    EXPECT_EQ(Pad(0, RUVO_BUTTON1), 1) << "the pad in GLFW slot 3 is pad 0";
    EXPECT_EQ(Pad(0, RUVO_UP), 1);
    EXPECT_TRUE(xr_input_JoyDown(0, 0));

    host.Disconnect(3);
    Update();
    for (int slot : {RUVO_UP, RUVO_BUTTON1}) EXPECT_EQ(Pad(0, slot), 0) << slot;
    EXPECT_FALSE(xr_input_JoyDown(0, 0));
    EXPECT_EQ(xr_input_JoyY(0, 0), 0);
    for (int update = 0; update < 3; ++update) Update();
    EXPECT_EQ(Pad(0, RUVO_AXIS_Y), 0) << "the axis eases back as a released key's does; nothing keeps the diver swimming";
}

TEST_F(Controls, MixingAndReadingSets) {
    Key(KEY_UP, true);
    Update();
    EXPECT_EQ(xr_ruvo_PlayKey(RUVO_UP, RUVO_ALL_SETS), 2) << "the keyboard set and pad 0's mixed set";
    EXPECT_EQ(xr_ruvo_PlayKey(RUVO_UP, RUVO_KEYBOARD_SET), 1);
    EXPECT_EQ(xr_ruvo_PlayKey(RUVO_UP, 0), 1);
    EXPECT_EQ(xr_ruvo_PlayKey(RUVO_UP, 1), 0);
    EXPECT_EQ(xr_ruvo_PlayKey(RUVO_UP, 4), 0);
    EXPECT_NEAR(xr_ruvo_ControlY(RUVO_KEYBOARD_SET, 0), -0.4f, 1e-6);

    Key(KEY_UP, false);
    Key(KEY_ESCAPE, true);
    Update();
    for (int set = RUVO_ALL_SETS; set <= RUVO_LAST_PAD_SET; ++set)
        EXPECT_EQ(xr_ruvo_PlayKey(RUVO_MENU_ALIAS, set), xr_ruvo_PlayKey(RUVO_MENU, set)) << set;
    EXPECT_EQ(xr_ruvo_PlayKey(RUVO_MENU_ALIAS, RUVO_KEYBOARD_SET), 1);
}

TEST_F(Controls, DisabledPadReadsNothing) {
    xr_ruvo_RUVO_MixControls = 0;
    xr_ruvo_Joy_Disable[2] = 1;
    Stick(2, 0.9f, 0.9f);
    host.pads[2].axes[2] = 0.8f;  // the second stick
    Update();
    for (int slot = 0; slot < RUVO_SET_SLOTS; ++slot) EXPECT_EQ(Pad(2, slot), 0) << slot;
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
    xr_ruvo_mdis[LATCH_MENU] = 1;
    input->p_MouseEvent(E::MouseUp, 0, 30, 24);
    Update();
    EXPECT_EQ(xr_ruvo_mwx, POINTER_RELEASED);
    EXPECT_EQ(xr_ruvo_mdis[LATCH_MENU], 0) << "a released pointer frees its latch";
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
    EXPECT_EQ(xr_ruvo_RUVO_Touch[TOUCH_SLOTS * 3 + TOUCH_DOWN], 1);
    EXPECT_EQ(xr_ruvo_RUVO_Touch[TOUCH_SLOTS * 3 + TOUCH_X], 4);
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
