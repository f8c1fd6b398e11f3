// The input device: every button of keyboard, mouse, touch and game pads is a
// key in one space of 512 codes, with a down state and per-update hits.
#pragma once

#include "runtime/array.h"

// Key codes: one space of KEY_COUNT codes. The keyboard's are its virtual-key
// codes (letters and digits are their capitals' and digits' own characters,
// 'A', '7'), then the mouse, the pads and the fingers follow.
enum {
    KEY_LMB = 1, KEY_RMB = 2, KEY_MMB = 3,
    KEY_BACKSPACE = 8, KEY_TAB = 9, KEY_ENTER = 13, KEY_SHIFT = 16, KEY_CONTROL = 17,
    KEY_ESCAPE = 27, KEY_SPACE = 32, KEY_PAGE_UP = 33, KEY_PAGE_DOWN = 34, KEY_END = 35, KEY_HOME = 36,
    KEY_LEFT = 37, KEY_UP = 38, KEY_RIGHT = 39, KEY_DOWN = 40, KEY_INSERT = 45, KEY_DELETE = 46,
    KEY_NUMPAD0 = 96,                  // to KEY_NUMPAD0 + 9
    KEY_NUMPAD_MULTIPLY = 106, KEY_NUMPAD_ADD = 107, KEY_NUMPAD_SUBTRACT = 109, KEY_NUMPAD_DECIMAL = 110,
    KEY_NUMPAD_DIVIDE = 111,
    KEY_F1 = 112, KEY_F2, KEY_F3, KEY_F4, KEY_F5, KEY_F6, KEY_F7, KEY_F8, KEY_F9, KEY_F10, KEY_F11, KEY_F12,
    KEY_SEMICOLON = 186, KEY_EQUALS = 187, KEY_COMMA = 188, KEY_MINUS = 189, KEY_PERIOD = 190, KEY_SLASH = 191,
    KEY_TILDE = 192, KEY_OPEN_BRACKET = 219, KEY_BACKSLASH = 220, KEY_CLOSE_BRACKET = 221, KEY_QUOTES = 222,
    KEY_JOY0 = 256,                    // pad u's button b: KEY_JOY0 + KEY_JOY_STRIDE * u + b
    KEY_JOY_STRIDE = 32,
    KEY_TOUCH0 = 384,                  // finger f: KEY_TOUCH0 + f
    KEY_BACK = 416,                    // a device's back button
    KEY_CLOSE = 432,                   // the window's close button
    KEY_COUNT = 512,
};

// A pad's buttons, as offsets from its KEY_JOY0 + KEY_JOY_STRIDE * u: the
// standard layout's.
enum {
    JOY_A = 0, JOY_B = 1, JOY_X = 2, JOY_Y = 3, JOY_LB = 4, JOY_RB = 5, JOY_BACK = 6, JOY_START = 7,
    JOY_LEFT = 8, JOY_UP = 9, JOY_RIGHT = 10, JOY_DOWN = 11, JOY_LSB = 12, JOY_RSB = 13, JOY_MENU = 14,
};

class c_JoyState : public Object {
public:
    Array<float> m_joyx;
    Array<float> m_joyy;
    Array<float> m_joyz;
    Array<bool> m_buttons;

    c_JoyState* m_new();
    void mark() override;
};

class c_InputDevice : public Object {
public:
    Array<c_JoyState*> m__joyStates;
    Array<bool> m__keyDown;
    Array<int> m__keyHitQueue;
    int m__keyHitPut = 0;
    Array<int> m__keyHit;
    int m__charGet = 0;
    int m__charPut = 0;
    Array<int> m__charQueue;
    float m__mouseX = 0, m__mouseY = 0;
    Array<float> m__touchX;
    Array<float> m__touchY;
    float m__accelX = 0, m__accelY = 0, m__accelZ = 0;

    c_InputDevice* m_new();

    int p_KeyEvent(int event, int data);
    int p_MouseEvent(int event, int button, float x, float y);
    int p_TouchEvent(int event, int finger, float x, float y);
    int p_MotionEvent(int event, int data, float x, float y, float z);
    int p_BeginUpdate();
    int p_EndUpdate();

    bool p_KeyDown(int key);
    int p_KeyHit(int key);
    float p_MouseX() { return m__mouseX; }
    float p_MouseY() { return m__mouseY; }
    float p_TouchX(int finger);
    float p_TouchY(int finger);
    float p_JoyX(int index, int unit);
    float p_JoyY(int index, int unit);

    void mark() override;

private:
    void PutKeyHit(int key);
    void PressKey(int key);
    void ReleaseKey(int key);
    void SetMouse(float x, float y);
    void SetTouch(int finger, float x, float y);
    // Centres the sticks and releases the buttons of a pad that is gone.
    void ReleasePad(int unit);
};

extern c_InputDevice* xr_input_device;

void xr_input_init();
void xr_input_mark();

int xr_input_SetInputDevice(c_InputDevice* device);
int xr_input_KeyDown(int key);
int xr_input_KeyHit(int key);
int xr_input_MouseDown(int button);
float xr_input_MouseX();
float xr_input_MouseY();
int xr_input_TouchDown(int finger);
float xr_input_TouchX(int finger);
float xr_input_TouchY(int finger);
int xr_input_JoyDown(int button, int unit);
float xr_input_JoyX(int index, int unit);
float xr_input_JoyY(int index, int unit);
