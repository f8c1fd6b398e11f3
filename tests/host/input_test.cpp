// The input device and the host's translation and pad polling.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/glfwgame.h"
#include "host/input.h"
#include "host/pacing.h"
#include "tests/harness/environment.h"
#include "tests/harness/pad_host.h"
#include "tests/harness/scratch.h"
#include "tests/harness/test_roots.h"

#include <GLFW/glfw3.h>

namespace {

typedef c_XrGameEvent E;

TEST(KeyTranslation, MapsTheWindowSystemsKeys) {
    struct Case {
        int glfw, code;
    };
    const Case cases[] = {
        {GLFW_KEY_0, 48},          {GLFW_KEY_9, 57},         {GLFW_KEY_A, 65},         {GLFW_KEY_Z, 90},
        {GLFW_KEY_SPACE, 32},      {GLFW_KEY_APOSTROPHE, 222}, {34, 222},              {GLFW_KEY_COMMA, 188},
        {GLFW_KEY_MINUS, 189},     {GLFW_KEY_PERIOD, 190},   {GLFW_KEY_SLASH, 191},    {GLFW_KEY_SEMICOLON, 186},
        {GLFW_KEY_EQUAL, 187},     {GLFW_KEY_LEFT_BRACKET, 219}, {GLFW_KEY_BACKSLASH, 220},
        {GLFW_KEY_RIGHT_BRACKET, 221}, {GLFW_KEY_GRAVE_ACCENT, 192}, {126, 192},
        {GLFW_KEY_ESCAPE, 27},     {GLFW_KEY_ENTER, 13},     {GLFW_KEY_TAB, 9},        {GLFW_KEY_BACKSPACE, 8},
        {GLFW_KEY_INSERT, 45},     {GLFW_KEY_DELETE, 46},    {GLFW_KEY_RIGHT, 39},     {GLFW_KEY_LEFT, 37},
        {GLFW_KEY_DOWN, 40},       {GLFW_KEY_UP, 38},        {GLFW_KEY_PAGE_UP, 33},   {GLFW_KEY_PAGE_DOWN, 34},
        {GLFW_KEY_HOME, 36},       {GLFW_KEY_END, 35},       {GLFW_KEY_F1, 112},       {GLFW_KEY_F12, 123},
        {GLFW_KEY_KP_0, 96},       {GLFW_KEY_KP_9, 105},     {GLFW_KEY_KP_DECIMAL, 110}, {GLFW_KEY_KP_DIVIDE, 111},
        {GLFW_KEY_KP_MULTIPLY, 106}, {GLFW_KEY_KP_SUBTRACT, 109}, {GLFW_KEY_KP_ADD, 107},
        {GLFW_KEY_LEFT_SHIFT, 16}, {GLFW_KEY_RIGHT_SHIFT, 16}, {GLFW_KEY_LEFT_CONTROL, 17},
        {GLFW_KEY_RIGHT_CONTROL, 17},
        // Ignored keys.
        {GLFW_KEY_WORLD_1, 0},     {GLFW_KEY_CAPS_LOCK, 0},  {GLFW_KEY_PRINT_SCREEN, 0}, {GLFW_KEY_PAUSE, 0},
        {GLFW_KEY_F13, 0},         {GLFW_KEY_KP_ENTER, 0},   {GLFW_KEY_KP_EQUAL, 0},   {GLFW_KEY_LEFT_ALT, 0},
        {GLFW_KEY_LEFT_SUPER, 0},  {GLFW_KEY_MENU, 0},       {GLFW_KEY_UNKNOWN, 0},    {31, 0}, {346, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(XrGlfwGame::TransKey(c.glfw), c.code) << "GLFW key " << c.glfw;

    const Case chars[] = {{8, 8},        {9, 9},         {13, 13}, {27, 27}, {33, 65569}, {40, 65576},
                          {45, 65581},   {46, 127},      {65, 0},  {32, 0},  {112, 0}};
    for (const Case& c : chars) EXPECT_EQ(XrGlfwGame::KeyToChar(c.glfw), c.code) << "key " << c.glfw;
}

class Input : public ::testing::Test {
protected:
    PadHost host;
    c_InputDevice* input = (new c_InputDevice())->m_new();

    void SetUp() override { xr_input_SetInputDevice(input); }
    void TearDown() override { xr_input_device = nullptr; }
    // One update as the framework brackets it, reading the hits in between.
    template <class Read>
    void Update(Read read) {
        input->p_BeginUpdate();
        read();
        input->p_EndUpdate();
    }
};

TEST_F(Input, AutoRepeatGivesOneHit) {
    input->p_KeyEvent(E::KeyDown, 65);
    input->p_KeyEvent(E::KeyDown, 65);
    Update([&] {
        EXPECT_EQ(xr_input_KeyHit(65), 1);
        EXPECT_TRUE(xr_input_KeyDown(65));
    });
    input->p_KeyEvent(E::KeyDown, 65);
    Update([&] {
        EXPECT_EQ(xr_input_KeyHit(65), 0);
        EXPECT_TRUE(xr_input_KeyDown(65));
    });
    input->p_KeyEvent(E::KeyUp, 65);
    EXPECT_FALSE(xr_input_KeyDown(65));
    EXPECT_EQ(xr_input_KeyHit(0), 0);
    EXPECT_EQ(xr_input_KeyHit(KEY_COUNT), 0);
    EXPECT_FALSE(xr_input_KeyDown(-1));
}

TEST_F(Input, LeftClickIsAlsoTheFirstFinger) {
    input->p_MouseEvent(E::MouseDown, 0, 12, 34);
    Update([&] {
        EXPECT_TRUE(xr_input_MouseDown(0));
        EXPECT_TRUE(xr_input_TouchDown(0));
        EXPECT_EQ(xr_input_KeyHit(KEY_LMB), 1);
        EXPECT_EQ(xr_input_KeyHit(KEY_TOUCH0), 1);
        EXPECT_EQ(xr_input_TouchX(0), 12);
        EXPECT_EQ(xr_input_MouseY(), 34);
    });
    input->p_MouseEvent(E::MouseUp, 0, 50, 60);
    EXPECT_FALSE(xr_input_MouseDown(0));
    EXPECT_FALSE(xr_input_TouchDown(0));
    EXPECT_EQ(xr_input_MouseX(), 12) << "a release leaves the position";

    input->p_TouchEvent(E::TouchDown, 0, 5, 6);
    EXPECT_TRUE(xr_input_MouseDown(0));
    EXPECT_EQ(xr_input_MouseX(), 5);
    input->p_TouchEvent(E::TouchMove, 3, 7, 8);
    EXPECT_EQ(xr_input_TouchX(3), 7);
    EXPECT_EQ(xr_input_MouseX(), 5) << "only finger 0 moves the mouse";
    EXPECT_EQ(xr_input_TouchX(32), 0);
    input->p_TouchEvent(E::TouchUp, 0, 0, 0);
    EXPECT_FALSE(xr_input_MouseDown(0));
}

TEST_F(Input, HitQueueHoldsThirtyThreePresses) {
    for (int key = 100; key < 134; ++key) input->p_KeyEvent(E::KeyDown, key);
    Update([&] {
        for (int key = 100; key < 133; ++key) EXPECT_EQ(xr_input_KeyHit(key), 1) << key;
        EXPECT_EQ(xr_input_KeyHit(133), 0) << "the 34th press counts no hit";
        EXPECT_TRUE(xr_input_KeyDown(133));
    });
    Update([&] { EXPECT_EQ(xr_input_KeyHit(100), 0); });
    for (int c = 0; c < 40; ++c) input->p_KeyEvent(E::KeyChar, 'a');
    EXPECT_EQ(input->m__charPut, 32);
    input->p_EndUpdate();
    EXPECT_EQ(input->m__charPut, 0);
}

// With the pacing output on, each update says which keys it sees go down and
// up. A press and release between two updates is never seen, which is why a
// tool holding a key waits for these lines.
TEST_F(Input, PacingLinesSayWhatEachUpdateSees) {
    const XrPacing before = xr_pacing;
    xr_pacing.enabled = true;
    xr_pacing.out = std::tmpfile();
    ASSERT_NE(xr_pacing.out, nullptr);
    auto nothing = [] {};
    input->p_KeyEvent(E::KeyDown, 65);
    Update(nothing);
    Update(nothing);
    input->p_KeyEvent(E::KeyDown, 66);
    input->p_KeyEvent(E::KeyUp, 66);
    input->p_KeyEvent(E::KeyUp, 65);
    Update(nothing);

    std::rewind(xr_pacing.out);
    std::vector<std::string> lines;
    char line[256];
    while (std::fgets(line, sizeof line, xr_pacing.out)) {
        std::string text = line;
        lines.push_back(text.substr(0, text.find(" at=")));
    }
    std::fclose(xr_pacing.out);
    xr_pacing = before;
    EXPECT_EQ(lines, (std::vector<std::string>{"pacing key=65 down", "pacing key=65 up"}));
}

TEST_F(Input, PadsArePolledInSlotOrderWithTheirLayouts) {
    // Slot 2: an unknown pad (generic layout); slot 5: one of 5 axes and 14 buttons.
    host.Connect(2, PadHost::Raw({0.25f, -0.5f, 0.75f, 0.5f}, 16));
    host.pads[2].buttons[1] = GLFW_PRESS;  // slot 0 of the generic layout
    host.pads[2].buttons[6] = GLFW_PRESS;  // left trigger as a button
    host.Connect(5, PadHost::Raw({0.1f, -0.5f, 0.3f, 0.4f, 0.9f}, 14));
    host.pads[5].buttons[13] = GLFW_PRESS;  // slot 8 of the pad layout
    Update([&] {
        EXPECT_FLOAT_EQ(xr_input_JoyX(0, 0), 0.25f);
        EXPECT_FLOAT_EQ(xr_input_JoyY(0, 0), -0.5f) << "generic: y as reported";
        EXPECT_FLOAT_EQ(input->m__joyStates[0]->m_joyz[0], 1.0f);
        EXPECT_FLOAT_EQ(xr_input_JoyX(1, 0), 0.75f);
        EXPECT_FLOAT_EQ(xr_input_JoyY(1, 0), -0.5f);
        EXPECT_TRUE(xr_input_JoyDown(0, 0));
        EXPECT_EQ(xr_input_KeyHit(KEY_JOY0), 1);

        EXPECT_FLOAT_EQ(xr_input_JoyY(0, 1), 0.5f) << "pad layout: y negated";
        EXPECT_FLOAT_EQ(input->m__joyStates[1]->m_joyz[0], 0.3f);
        EXPECT_FLOAT_EQ(input->m__joyStates[1]->m_joyz[1], -0.3f);
        EXPECT_FLOAT_EQ(xr_input_JoyX(1, 1), 0.9f);
        EXPECT_FLOAT_EQ(xr_input_JoyY(1, 1), -0.4f);
        EXPECT_TRUE(xr_input_JoyDown(8, 1));
        EXPECT_TRUE(xr_input_KeyDown(KEY_JOY0 + KEY_JOY_STRIDE + JOY_LEFT));
        for (int b = 14; b < 32; ++b) EXPECT_FALSE(input->m__joyStates[0]->m_buttons[b]);
    });
    Update([&] {
        EXPECT_EQ(xr_input_KeyHit(KEY_JOY0), 0) << "a held button gives one hit";
        EXPECT_TRUE(xr_input_JoyDown(0, 0));
    });
    // Codes past 511 are never down, though their low bits name a button
    // that is: 256 | 0 | 16 << 5 is 768, 256 | 512 is 768 too.
    ASSERT_TRUE(xr_input_KeyDown(KEY_JOY0));
    EXPECT_FALSE(xr_input_JoyDown(0, 16));
    EXPECT_FALSE(xr_input_JoyDown(512, 0));
    EXPECT_FALSE(xr_input_JoyDown(0, 24));

    // Switched on later, in a lower slot: counted again, it comes first.
    host.Connect(0, PadHost::Raw({1, 1}, 16));
    Update([&] {
        EXPECT_FLOAT_EQ(xr_input_JoyX(0, 0), 1.0f);
        EXPECT_FLOAT_EQ(xr_input_JoyX(0, 1), 0.25f);
        EXPECT_FLOAT_EQ(xr_input_JoyX(0, 2), 0.1f);
    });
}

// A pad GLFW knows is read through the standard gamepad state: sticks with
// up positive, triggers from 0 at rest to 1, and buttons in the pad layout's
// slots, the guide button last.
TEST_F(Input, KnownPadsAreReadThroughTheGamepadState) {
    PadHost::Pad pad = PadHost::Gamepad();
    pad.state.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 0.25f;
    pad.state.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = -0.5f;  // pushed up
    pad.state.axes[GLFW_GAMEPAD_AXIS_RIGHT_X] = -0.75f;
    pad.state.axes[GLFW_GAMEPAD_AXIS_RIGHT_Y] = 0.5f;  // pulled down
    pad.state.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = 1;
    host.Connect(1, pad);
    Update([&] {
        c_JoyState* s = input->m__joyStates[0];
        EXPECT_FLOAT_EQ(s->m_joyx[0], 0.25f);
        EXPECT_FLOAT_EQ(s->m_joyy[0], 0.5f);
        EXPECT_FLOAT_EQ(s->m_joyz[0], 0.0f) << "a trigger at rest";
        EXPECT_FLOAT_EQ(s->m_joyx[1], -0.75f);
        EXPECT_FLOAT_EQ(s->m_joyy[1], -0.5f);
        EXPECT_FLOAT_EQ(s->m_joyz[1], 1.0f);
    });
    const int slotOf[15] = {
        /* A */ 0, /* B */ 1, /* X */ 2, /* Y */ 3, /* LB */ 4, /* RB */ 5, /* Back */ 6, /* Start */ 7,
        /* Guide */ 14, /* LS */ 12, /* RS */ 13, /* up */ 9, /* right */ 10, /* down */ 11, /* left */ 8,
    };
    for (int b = 0; b <= GLFW_GAMEPAD_BUTTON_LAST; ++b) {
        host.pads[1].state.buttons[b] = GLFW_PRESS;
        Update([&] {
            for (int slot = 0; slot < 32; ++slot)
                EXPECT_EQ(xr_input_JoyDown(slot, 0), slot == slotOf[b]) << "gamepad button " << b << ", slot " << slot;
        });
        host.pads[1].state.buttons[b] = GLFW_RELEASE;
    }
}

// A pad that disappears is let go at once, and so are the pads after it in
// that update; the next update counts them again.
TEST_F(Input, APadThatGoesIsLetGoAtOnce) {
    host.Connect(2, PadHost::Raw({0.5f, 0.5f}, 16));
    host.Connect(5, PadHost::Raw({0.5f, 0.5f}, 16));
    host.pads[2].buttons.assign(16, GLFW_PRESS);
    host.pads[5].buttons.assign(16, GLFW_PRESS);
    Update([] {});
    EXPECT_TRUE(xr_input_JoyDown(0, 0));
    EXPECT_TRUE(xr_input_JoyDown(0, 1));

    // Pulled out without a word from the window system: the read fails.
    host.pads[2].present = false;
    Update([] {});
    for (int unit : {0, 1}) {
        EXPECT_FALSE(xr_input_JoyDown(0, unit)) << unit;
        EXPECT_FLOAT_EQ(xr_input_JoyX(0, unit), 0.0f) << unit;
    }
    Update([] {});
    EXPECT_TRUE(xr_input_JoyDown(0, 0)) << "the other pad, counted again, is pad 0";
    EXPECT_FALSE(xr_input_JoyDown(0, 1));
    EXPECT_FLOAT_EQ(xr_input_JoyX(0, 3), 0.0f) << "a pad never present stays centred";
}

// Mappings a player adds: the data folder's file, the working folder's, then
// the environment's, in that order.
TEST(GamepadMappings, FilesAndEnvironmentReachGlfw) {
    ScratchFolder folder("mappings");
    std::filesystem::create_directory(folder / "data");
    const std::string line = "03000000aaaa0000bbbb000000000000,Test Pad,a:b0,b:b1,platform:Linux,\n";
    std::ofstream(folder / "data/gamecontrollerdb.txt", std::ios::binary) << "# from the data folder\n" << line;
    std::ofstream(folder / "gamecontrollerdb.txt", std::ios::binary) << "# from the working folder\n";
    folder.Enter();
    SetEnv("SDL_GAMECONTROLLERCONFIG", "from the environment");

    class Host : public PadHost {
    public:
        std::string data;
        String PathToFilePath(String path) override {
            const String prefix("vantle://data/");
            if (path.StartsWith(prefix)) return String(data.c_str()) + path.Slice(prefix.Length());
            return path;
        }
    } host;
    host.data = (folder / "data/").string();
    EXPECT_EQ(host.LoadGamepadMappings(), 3);
    EXPECT_EQ(host.mappings, (std::vector<std::string>{"# from the data folder\n" + line, "# from the working folder\n",
                                                        "from the environment"}));

    UnsetEnv("SDL_GAMECONTROLLERCONFIG");
    std::filesystem::remove(folder / "gamecontrollerdb.txt");
    std::filesystem::remove(folder / "data/gamecontrollerdb.txt");
    host.mappings.clear();
    EXPECT_EQ(host.LoadGamepadMappings(), 0) << "none is needed";
    EXPECT_TRUE(host.mappings.empty());
}

}  // namespace
