#include "host/input.h"

#include "host/pacing.h"
#include "host/xrgame.h"

namespace {

enum { HIT_QUEUE = 33, CHAR_QUEUE = 32, FINGERS = 32, PADS = 4, PAD_BUTTONS = KEY_JOY_STRIDE };

// What the last update saw of each key, for the pacing output's key lines.
bool seen_down[KEY_COUNT];

void report_seen_keys(const Array<bool>& down) {
    for (int key = 0; key < KEY_COUNT; ++key) {
        if (down[key] == seen_down[key]) continue;
        seen_down[key] = down[key];
        xr_pacing.Key(key, down[key]);
    }
}

}  // namespace

c_InputDevice* xr_input_device;

c_JoyState* c_JoyState::m_new() {
    gc_assign(m_joyx, Array<float>(2));
    gc_assign(m_joyy, Array<float>(2));
    gc_assign(m_joyz, Array<float>(2));
    gc_assign(m_buttons, Array<bool>(PAD_BUTTONS));
    return this;
}

void c_JoyState::mark() {
    gc_mark_field(m_joyx);
    gc_mark_field(m_joyy);
    gc_mark_field(m_joyz);
    gc_mark_field(m_buttons);
}

c_InputDevice* c_InputDevice::m_new() {
    gc_assign(m__joyStates, Array<c_JoyState*>(PADS));
    gc_assign(m__keyDown, Array<bool>(KEY_COUNT));
    gc_assign(m__keyHitQueue, Array<int>(HIT_QUEUE));
    gc_assign(m__keyHit, Array<int>(KEY_COUNT));
    gc_assign(m__charQueue, Array<int>(CHAR_QUEUE));
    gc_assign(m__touchX, Array<float>(FINGERS));
    gc_assign(m__touchY, Array<float>(FINGERS));
    for (int i = 0; i < PADS; ++i) gc_assign(m__joyStates[i], (new c_JoyState())->m_new());
    return this;
}

void c_InputDevice::mark() {
    gc_mark_field(m__joyStates);
    gc_mark_field(m__keyDown);
    gc_mark_field(m__keyHitQueue);
    gc_mark_field(m__keyHit);
    gc_mark_field(m__charQueue);
    gc_mark_field(m__touchX);
    gc_mark_field(m__touchY);
}

// A full hit queue drops the hit, never the press.
void c_InputDevice::PutKeyHit(int key) {
    if (m__keyHitPut == m__keyHitQueue.Length()) return;
    m__keyHit[key] += 1;
    m__keyHitQueue[m__keyHitPut++] = key;
}

void c_InputDevice::PressKey(int key) {
    if (m__keyDown[key]) return;
    m__keyDown[key] = true;
    PutKeyHit(key);
    // The left button and the first finger are one pointer.
    int twin = key == KEY_LMB ? KEY_TOUCH0 : key == KEY_TOUCH0 ? KEY_LMB : 0;
    if (twin) {
        m__keyDown[twin] = true;
        PutKeyHit(twin);
    }
}

void c_InputDevice::ReleaseKey(int key) {
    if (!m__keyDown[key]) return;
    m__keyDown[key] = false;
    if (key == KEY_LMB) m__keyDown[KEY_TOUCH0] = false;
    if (key == KEY_TOUCH0) m__keyDown[KEY_LMB] = false;
}

void c_InputDevice::SetMouse(float x, float y) {
    m__mouseX = x;
    m__mouseY = y;
    m__touchX[0] = x;
    m__touchY[0] = y;
}

void c_InputDevice::SetTouch(int finger, float x, float y) {
    m__touchX[finger] = x;
    m__touchY[finger] = y;
    if (finger == 0) {
        m__mouseX = x;
        m__mouseY = y;
    }
}

static bool is_key(int key) {
    return key > 0 && key < KEY_COUNT;
}

int c_InputDevice::p_KeyEvent(int event, int data) {
    switch (event) {
    case c_XrGameEvent::KeyDown:
        if (is_key(data)) PressKey(data);
        break;
    case c_XrGameEvent::KeyUp:
        if (is_key(data)) ReleaseKey(data);
        break;
    case c_XrGameEvent::KeyChar:
        if (m__charPut < m__charQueue.Length()) m__charQueue[m__charPut++] = data;
        break;
    }
    return 0;
}

int c_InputDevice::p_MouseEvent(int event, int button, float x, float y) {
    switch (event) {
    case c_XrGameEvent::MouseDown:
        if (button >= 0 && button <= 2) PressKey(KEY_LMB + button);
        SetMouse(x, y);
        break;
    case c_XrGameEvent::MouseUp:
        if (button >= 0 && button <= 2) ReleaseKey(KEY_LMB + button);
        break;
    case c_XrGameEvent::MouseMove:
        SetMouse(x, y);
        break;
    }
    return 0;
}

int c_InputDevice::p_TouchEvent(int event, int finger, float x, float y) {
    if (finger < 0 || finger >= FINGERS) return 0;
    switch (event) {
    case c_XrGameEvent::TouchDown:
        PressKey(KEY_TOUCH0 + finger);
        SetTouch(finger, x, y);
        break;
    case c_XrGameEvent::TouchUp:
        ReleaseKey(KEY_TOUCH0 + finger);
        break;
    case c_XrGameEvent::TouchMove:
        SetTouch(finger, x, y);
        break;
    }
    return 0;
}

int c_InputDevice::p_MotionEvent(int event, int, float x, float y, float z) {
    if (event == c_XrGameEvent::MotionAccel) {
        m__accelX = x;
        m__accelY = y;
        m__accelZ = z;
    }
    return 0;
}

// Pads are polled in order until the first absent one. It and the pads after
// it are let go at once: a pad unplugged with a stick pushed or a button held
// must not keep the diver swimming.
int c_InputDevice::p_BeginUpdate() {
    for (int unit = 0; unit < PADS; ++unit) {
        c_JoyState* state = m__joyStates[unit];
        if (!XrGame::_game->PollJoystick(unit, state->m_joyx, state->m_joyy, state->m_joyz, state->m_buttons)) {
            for (int rest = unit; rest < PADS; ++rest) ReleasePad(rest);
            break;
        }
        for (int b = 0; b < PAD_BUTTONS; ++b) {
            int key = KEY_JOY0 + unit * PAD_BUTTONS + b;
            if (state->m_buttons[b]) {
                if (!m__keyDown[key]) {
                    m__keyDown[key] = true;
                    PutKeyHit(key);
                }
            } else {
                m__keyDown[key] = false;
            }
        }
    }
    if (xr_pacing.enabled) report_seen_keys(m__keyDown);
    return 0;
}

void c_InputDevice::ReleasePad(int unit) {
    c_JoyState* state = m__joyStates[unit];
    for (int i = 0; i < 2; ++i) state->m_joyx[i] = state->m_joyy[i] = state->m_joyz[i] = 0;
    for (int b = 0; b < PAD_BUTTONS; ++b) {
        state->m_buttons[b] = false;
        m__keyDown[KEY_JOY0 + unit * PAD_BUTTONS + b] = false;
    }
}

int c_InputDevice::p_EndUpdate() {
    for (int i = 0; i < m__keyHitPut; ++i) m__keyHit[m__keyHitQueue[i]] = 0;
    m__keyHitPut = 0;
    m__charGet = 0;
    m__charPut = 0;
    return 0;
}

bool c_InputDevice::p_KeyDown(int key) {
    return is_key(key) && m__keyDown[key];
}

int c_InputDevice::p_KeyHit(int key) {
    return is_key(key) ? m__keyHit[key] : 0;
}

float c_InputDevice::p_TouchX(int finger) {
    return finger >= 0 && finger < FINGERS ? m__touchX[finger] : 0;
}

float c_InputDevice::p_TouchY(int finger) {
    return finger >= 0 && finger < FINGERS ? m__touchY[finger] : 0;
}

float c_InputDevice::p_JoyX(int index, int unit) {
    if (index < 0 || index > 1 || unit < 0 || unit >= PADS) return 0;
    return m__joyStates[unit]->m_joyx[index];
}

float c_InputDevice::p_JoyY(int index, int unit) {
    if (index < 0 || index > 1 || unit < 0 || unit >= PADS) return 0;
    return m__joyStates[unit]->m_joyy[index];
}

void xr_input_init() {
    xr_input_device = nullptr;
}

void xr_input_mark() {
    gc_mark_field(xr_input_device);
}

int xr_input_SetInputDevice(c_InputDevice* device) {
    gc_assign(xr_input_device, device);
    return 0;
}

int xr_input_KeyDown(int key) {
    return xr_input_device->p_KeyDown(key);
}

int xr_input_KeyHit(int key) {
    return xr_input_device->p_KeyHit(key);
}

int xr_input_MouseDown(int button) {
    return xr_input_device->p_KeyDown(KEY_LMB + button);
}

float xr_input_MouseX() {
    return xr_input_device->p_MouseX();
}

float xr_input_MouseY() {
    return xr_input_device->p_MouseY();
}

int xr_input_TouchDown(int finger) {
    return xr_input_device->p_KeyDown(KEY_TOUCH0 + finger);
}

float xr_input_TouchX(int finger) {
    return xr_input_device->p_TouchX(finger);
}

float xr_input_TouchY(int finger) {
    return xr_input_device->p_TouchY(finger);
}

int xr_input_JoyDown(int button, int unit) {
    int key = KEY_JOY0 | button | unit * KEY_JOY_STRIDE;
    return key < KEY_COUNT && xr_input_device->p_KeyDown(key);
}

float xr_input_JoyX(int index, int unit) {
    return xr_input_device->p_JoyX(index, unit);
}

float xr_input_JoyY(int index, int unit) {
    return xr_input_device->p_JoyY(index, unit);
}
