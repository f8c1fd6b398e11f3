// The host's side of input: key translation and game-pad polling.
#include <cstdlib>
#include <string>

#include "host/glfw.h"

#include "host/glfwgame.h"
#include "host/input.h"

namespace {

// GLFW's keys that are neither digits nor letters, as key codes; unlisted
// keys are 0.
struct KeyPair {
    short glfw, code;
};
const KeyPair kKeyPairs[] = {
    {GLFW_KEY_SPACE, KEY_SPACE}, {'"', KEY_QUOTES}, {GLFW_KEY_APOSTROPHE, KEY_QUOTES},
    {GLFW_KEY_COMMA, KEY_COMMA}, {GLFW_KEY_MINUS, KEY_MINUS}, {GLFW_KEY_PERIOD, KEY_PERIOD},
    {GLFW_KEY_SLASH, KEY_SLASH}, {GLFW_KEY_SEMICOLON, KEY_SEMICOLON}, {GLFW_KEY_EQUAL, KEY_EQUALS},
    {GLFW_KEY_LEFT_BRACKET, KEY_OPEN_BRACKET}, {GLFW_KEY_BACKSLASH, KEY_BACKSLASH},
    {GLFW_KEY_RIGHT_BRACKET, KEY_CLOSE_BRACKET}, {GLFW_KEY_GRAVE_ACCENT, KEY_TILDE}, {'~', KEY_TILDE},
    {GLFW_KEY_ESCAPE, KEY_ESCAPE}, {GLFW_KEY_ENTER, KEY_ENTER}, {GLFW_KEY_TAB, KEY_TAB},
    {GLFW_KEY_BACKSPACE, KEY_BACKSPACE}, {GLFW_KEY_INSERT, KEY_INSERT}, {GLFW_KEY_DELETE, KEY_DELETE},
    {GLFW_KEY_RIGHT, KEY_RIGHT}, {GLFW_KEY_LEFT, KEY_LEFT}, {GLFW_KEY_DOWN, KEY_DOWN}, {GLFW_KEY_UP, KEY_UP},
    {GLFW_KEY_PAGE_UP, KEY_PAGE_UP}, {GLFW_KEY_PAGE_DOWN, KEY_PAGE_DOWN}, {GLFW_KEY_HOME, KEY_HOME},
    {GLFW_KEY_END, KEY_END}, {GLFW_KEY_F1, KEY_F1}, {GLFW_KEY_F2, KEY_F2}, {GLFW_KEY_F3, KEY_F3},
    {GLFW_KEY_F4, KEY_F4}, {GLFW_KEY_F5, KEY_F5}, {GLFW_KEY_F6, KEY_F6}, {GLFW_KEY_F7, KEY_F7},
    {GLFW_KEY_F8, KEY_F8}, {GLFW_KEY_F9, KEY_F9}, {GLFW_KEY_F10, KEY_F10}, {GLFW_KEY_F11, KEY_F11},
    {GLFW_KEY_F12, KEY_F12}, {GLFW_KEY_KP_0, KEY_NUMPAD0}, {GLFW_KEY_KP_1, KEY_NUMPAD0 + 1},
    {GLFW_KEY_KP_2, KEY_NUMPAD0 + 2}, {GLFW_KEY_KP_3, KEY_NUMPAD0 + 3}, {GLFW_KEY_KP_4, KEY_NUMPAD0 + 4},
    {GLFW_KEY_KP_5, KEY_NUMPAD0 + 5}, {GLFW_KEY_KP_6, KEY_NUMPAD0 + 6}, {GLFW_KEY_KP_7, KEY_NUMPAD0 + 7},
    {GLFW_KEY_KP_8, KEY_NUMPAD0 + 8}, {GLFW_KEY_KP_9, KEY_NUMPAD0 + 9},
    {GLFW_KEY_KP_DECIMAL, KEY_NUMPAD_DECIMAL}, {GLFW_KEY_KP_DIVIDE, KEY_NUMPAD_DIVIDE},
    {GLFW_KEY_KP_MULTIPLY, KEY_NUMPAD_MULTIPLY}, {GLFW_KEY_KP_SUBTRACT, KEY_NUMPAD_SUBTRACT},
    {GLFW_KEY_KP_ADD, KEY_NUMPAD_ADD}, {GLFW_KEY_LEFT_SHIFT, KEY_SHIFT}, {GLFW_KEY_LEFT_CONTROL, KEY_CONTROL},
    {GLFW_KEY_RIGHT_SHIFT, KEY_SHIFT}, {GLFW_KEY_RIGHT_CONTROL, KEY_CONTROL},
};

struct KeyTable {
    short codes[GLFW_KEY_LAST - GLFW_KEY_SPACE + 1];
    KeyTable() : codes() {
        for (const KeyPair& p : kKeyPairs) codes[p.glfw - GLFW_KEY_SPACE] = p.code;
    }
};
const KeyTable kKeyTable;

}  // namespace

int XrGlfwGame::TransKey(int key) {
    if ((key >= GLFW_KEY_0 && key <= GLFW_KEY_9) || (key >= GLFW_KEY_A && key <= GLFW_KEY_Z)) return key;
    if (key >= GLFW_KEY_SPACE && key <= GLFW_KEY_LAST) return kKeyTable.codes[key - GLFW_KEY_SPACE];
    return 0;
}

int XrGlfwGame::KeyToChar(int key) {
    switch (key) {
    case KEY_BACKSPACE: case KEY_TAB: case KEY_ENTER: case KEY_ESCAPE:
        return key;
    case KEY_PAGE_UP: case KEY_PAGE_DOWN: case KEY_END: case KEY_HOME:
    case KEY_LEFT: case KEY_UP: case KEY_RIGHT: case KEY_DOWN: case KEY_INSERT:
        return 65536 + key;
    case KEY_DELETE:
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
