// The host's side of input: key translation and game-pad polling.
#include <cstdlib>
#include <string>

#include "host/glfw.h"

#include "host/glfwgame.h"

namespace {

// GLFW keys 32..345 that are neither digits nor letters; unlisted keys are 0.
struct KeyPair {
    short glfw, code;
};
const KeyPair kKeyPairs[] = {
    {32, 32},   {34, 222},  {39, 222},  {44, 188},  {45, 189},  {46, 190},  {47, 191},  {59, 186},
    {61, 187},  {91, 219},  {92, 220},  {93, 221},  {96, 192},  {126, 192}, {256, 27},  {257, 13},
    {258, 9},   {259, 8},   {260, 45},  {261, 46},  {262, 39},  {263, 37},  {264, 40},  {265, 38},
    {266, 33},  {267, 34},  {268, 36},  {269, 35},  {290, 112}, {291, 113}, {292, 114}, {293, 115},
    {294, 116}, {295, 117}, {296, 118}, {297, 119}, {298, 120}, {299, 121}, {300, 122}, {301, 123},
    {320, 96},  {321, 97},  {322, 98},  {323, 99},  {324, 100}, {325, 101}, {326, 102}, {327, 103},
    {328, 104}, {329, 105}, {330, 110}, {331, 111}, {332, 106}, {333, 109}, {334, 107}, {340, 16},
    {341, 17},  {344, 16},  {345, 17},
};

struct KeyTable {
    short codes[314];  // GLFW keys 32..345
    KeyTable() : codes() {
        for (const KeyPair& p : kKeyPairs) codes[p.glfw - 32] = p.code;
    }
};
const KeyTable kKeyTable;

}  // namespace

int XrGlfwGame::TransKey(int key) {
    if ((key >= 48 && key <= 57) || (key >= 65 && key <= 90)) return key;
    if (key >= 32 && key <= 345) return kKeyTable.codes[key - 32];
    return 0;
}

int XrGlfwGame::KeyToChar(int key) {
    switch (key) {
    case 8: case 9: case 13: case 27:
        return key;
    case 33: case 34: case 35: case 36: case 37: case 38: case 39: case 40: case 45:
        return 65536 + key;
    case 46:
        return 127;
    }
    return 0;
}

bool XrGlfwGame::JoystickPresent(int jid) {
    return glfwJoystickPresent(jid);
}

const float* XrGlfwGame::JoystickAxes(int jid, int* count) {
    return glfwGetJoystickAxes(jid, count);
}

const unsigned char* XrGlfwGame::JoystickButtons(int jid, int* count) {
    return glfwGetJoystickButtons(jid, count);
}

bool XrGlfwGame::JoystickIsGamepad(int jid) {
    return glfwJoystickIsGamepad(jid);
}

bool XrGlfwGame::GamepadState(int jid, GLFWgamepadstate* state) {
    return glfwGetGamepadState(jid, state);
}

void XrGlfwGame::UpdateGamepadMappings(const char* text) {
    glfwUpdateGamepadMappings(text);
}

int XrGlfwGame::LoadGamepadMappings() {
    int found = 0;
    for (const char* path : {"vantle://data/gamecontrollerdb.txt", "gamecontrollerdb.txt"}) {
        FILE* f = OpenFile(String(path), String("rb"));
        if (!f) continue;
        // The community's whole list is about half a megabyte.
        std::string text;
        char block[4096];
        for (size_t n; (n = std::fread(block, 1, sizeof block, f)) > 0 && text.size() < (8u << 20);)
            text.append(block, n);
        std::fclose(f);
        UpdateGamepadMappings(text.c_str());
        ++found;
    }
    if (const char* config = std::getenv("SDL_GAMECONTROLLERCONFIG")) {
        UpdateGamepadMappings(config);
        ++found;
    }
    return found;
}

// Counted at the first poll and again after every connection or
// disconnection the window system reports, and after a pad fails to answer.
void XrGlfwGame::OnJoystick(int, int) {
    if (_glfwGame) _glfwGame->_joysticksCounted = false;
}

int XrGlfwGame::CountJoysticks(bool update) {
    if (!update && _joysticksCounted) return _joystickCount;
    _joystickCount = 0;
    for (int jid = 0; jid <= GLFW_JOYSTICK_LAST && _joystickCount < 4; ++jid)
        if (JoystickPresent(jid)) _joysticks[_joystickCount++] = jid;
    _joysticksCounted = true;
    return _joystickCount;
}

namespace {

// Where a pad value comes from: an axis, a negated axis or a button (1 or 0).
struct Source {
    enum Kind : char { Axis, NegAxis, Button } kind;
    char index;
};

struct PadLayout {
    Source sticks[6];  // x, y, z of index 0, then of index 1
    char buttons[14];  // the GLFW button behind each button slot
};

const PadLayout kGenericLayout = {
    {{Source::Axis, 0}, {Source::Axis, 1}, {Source::Button, 6},
     {Source::Axis, 2}, {Source::NegAxis, 3}, {Source::Button, 7}},
    {1, 2, 0, 3, 4, 5, 8, 9, 15, 12, 13, 14, 10, 11},
};

// Pads reporting exactly 5 axes and 14 buttons.
const PadLayout kPadLayout = {
    {{Source::Axis, 0}, {Source::NegAxis, 1}, {Source::Axis, 2},
     {Source::Axis, 4}, {Source::NegAxis, 3}, {Source::NegAxis, 2}},
    {0, 1, 2, 3, 4, 5, 6, 7, 13, 10, 11, 12, 8, 9},
};

float read_source(Source s, const float* axes, int axisCount, const unsigned char* buttons, int buttonCount) {
    switch (s.kind) {
    case Source::Axis: return s.index < axisCount ? axes[int(s.index)] : 0.0f;
    case Source::NegAxis: return s.index < axisCount ? -axes[int(s.index)] : 0.0f;
    default: return s.index < buttonCount && buttons[int(s.index)] == GLFW_PRESS ? 1.0f : 0.0f;
    }
}

// A pad GLFW knows from its mapping database is read through the standard
// gamepad layout. Its Y axes are down-positive there, and up-positive here;
// its triggers rest at -1, and here at 0.
void fill_from_gamepad(const GLFWgamepadstate& pad, Array<float>& joyx, Array<float>& joyy, Array<float>& joyz,
                       Array<bool>& buttons) {
    static const char kSlots[15] = {
        GLFW_GAMEPAD_BUTTON_A,           GLFW_GAMEPAD_BUTTON_B,          GLFW_GAMEPAD_BUTTON_X,
        GLFW_GAMEPAD_BUTTON_Y,           GLFW_GAMEPAD_BUTTON_LEFT_BUMPER, GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER,
        GLFW_GAMEPAD_BUTTON_BACK,        GLFW_GAMEPAD_BUTTON_START,      GLFW_GAMEPAD_BUTTON_DPAD_LEFT,
        GLFW_GAMEPAD_BUTTON_DPAD_UP,     GLFW_GAMEPAD_BUTTON_DPAD_RIGHT, GLFW_GAMEPAD_BUTTON_DPAD_DOWN,
        GLFW_GAMEPAD_BUTTON_LEFT_THUMB,  GLFW_GAMEPAD_BUTTON_RIGHT_THUMB, GLFW_GAMEPAD_BUTTON_GUIDE,
    };
    joyx[0] = pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X];
    joyy[0] = -pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y];
    joyz[0] = (pad.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] + 1) * 0.5f;
    joyx[1] = pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_X];
    joyy[1] = -pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_Y];
    joyz[1] = (pad.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] + 1) * 0.5f;
    for (int b = 0; b < buttons.Length(); ++b) buttons[b] = b < 15 && pad.buttons[int(kSlots[b])] == GLFW_PRESS;
}

}  // namespace

bool XrGlfwGame::PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                              Array<bool> buttons) {
    int count = CountJoysticks(false);
    if (port < 0 || port >= count) return false;
    const int jid = _joysticks[port];
    if (JoystickIsGamepad(jid)) {
        GLFWgamepadstate pad;
        if (GamepadState(jid, &pad)) {
            fill_from_gamepad(pad, joyx, joyy, joyz, buttons);
            return true;
        }
        _joysticksCounted = false;
        return false;
    }

    int axisCount = 0, buttonCount = 0;
    const float* axes = JoystickAxes(jid, &axisCount);
    const unsigned char* pressed = JoystickButtons(jid, &buttonCount);
    if (!axes || !pressed) {
        _joysticksCounted = false;
        return false;
    }

    const PadLayout& layout = axisCount == 5 && buttonCount == 14 ? kPadLayout : kGenericLayout;
    Array<float>* targets[3] = {&joyx, &joyy, &joyz};
    for (int i = 0; i < 6; ++i)
        (*targets[i % 3])[i / 3] = read_source(layout.sticks[i], axes, axisCount, pressed, buttonCount);
    for (int b = 0; b < buttons.Length(); ++b) buttons[b] = false;
    for (int b = 0; b < 14; ++b) {
        int glfwButton = layout.buttons[b];
        buttons[b] = glfwButton < buttonCount && pressed[glfwButton] == GLFW_PRESS;
    }
    return true;
}
