#include "shell/controls.h"

#include <cmath>

#include "host/app.h"
#include "host/input.h"
#include "shell/draw.h"
#include "shell/state.h"
#include "support/math.h"

Array<float> xr_ruvo_RUVO_Control;
int xr_ruvo_RUVO_MixControls;
Array<int> xr_ruvo_Joy_Disable;
Array<float> xr_ruvo_RUVO_Touch;
int xr_ruvo_mx, xr_ruvo_my;
int xr_ruvo_mdAll;
int xr_ruvo_mwx, xr_ruvo_mwy;
int xr_ruvo_msx, xr_ruvo_msy;
Array<int> xr_ruvo_kdis;
Array<int> xr_ruvo_mdis;
int xr_ruvo_RUVO_Fullscreen;

namespace {

// Keyboard keys and pad button offsets of each control; -1 ends a list.
struct Binding {
    int slot;
    int keys[5];
    int pad[4];
};
const Binding kBindings[] = {
    {RUVO_UP, {KEY_UP, 'W', KEY_NUMPAD0 + 8, -1}, {JOY_UP, -1}},
    {RUVO_DOWN, {KEY_DOWN, 'S', KEY_NUMPAD0 + 2, KEY_NUMPAD0 + 5, -1}, {JOY_DOWN, -1}},
    {RUVO_LEFT, {KEY_LEFT, 'A', KEY_NUMPAD0 + 4, -1}, {JOY_LEFT, -1}},
    {RUVO_RIGHT, {KEY_RIGHT, 'D', KEY_NUMPAD0 + 6, -1}, {JOY_RIGHT, -1}},
    {RUVO_BUTTON1, {'Z', 'J', KEY_SPACE, KEY_ENTER, -1}, {JOY_A, -1}},
    {RUVO_BUTTON1 + 1, {'X', 'K', KEY_CONTROL, -1}, {JOY_B, -1}},
    {RUVO_BUTTON1 + 2, {'C', 'L', KEY_SHIFT, -1}, {JOY_X, -1}},
    {RUVO_BUTTON1 + 3, {'V', 'I', -1}, {JOY_Y, -1}},
    {RUVO_BUTTON1 + 4, {'B', 'U', -1}, {JOY_LB, -1}},
    {RUVO_BUTTON1 + 5, {'N', 'O', -1}, {JOY_RB, -1}},
    {RUVO_MENU, {KEY_ESCAPE, KEY_TILDE, KEY_DELETE, KEY_BACKSPACE, -1}, {JOY_BACK, JOY_START, JOY_MENU, -1}},
};

// Whether a control is held: any of its keys, or any of pad `pad`'s buttons.
bool held(const Binding& b, int pad) {
    if (pad < 0) {
        for (const int* k = b.keys; *k >= 0; ++k)
            if (xr_input_KeyDown(*k)) return true;
        return false;
    }
    for (const int* o = b.pad; *o >= 0; ++o)
        if (xr_input_KeyDown(KEY_JOY0 + KEY_JOY_STRIDE * pad + *o)) return true;
    return false;
}


float toward_zero(float v, float step) {
    if (v > 0) return v - step < 0 ? 0 : v - step;
    if (v < 0) return v + step > 0 ? 0 : v + step;
    return 0;
}

// One control set: set -1 is the keyboard, 0..3 the pads.
void update_set(int set) {
    float* c = xr_ruvo_RUVO_Control.Data() + RUVO_SET_SLOTS * (set + 1);
    static const int kCleared[] = {
        RUVO_UP, RUVO_LEFT, RUVO_RIGHT, RUVO_DOWN, RUVO_BUTTON1, RUVO_BUTTON1 + 1, RUVO_BUTTON1 + 2,
        RUVO_BUTTON1 + 3, RUVO_BUTTON1 + 4, RUVO_BUTTON1 + 5, RUVO_MENU, RUVO_STICK2_X, RUVO_STICK2_Y,
    };
    for (int slot : kCleared) c[slot] = 0;

    bool dir[4];  // up, down, left, right
    for (int i = 0; i < 4; ++i) dir[i] = held(kBindings[i], set);
    for (int i = 4; i < 11; ++i) c[kBindings[i].slot] = held(kBindings[i], set) ? 1 : 0;
    const bool up = dir[0], down = dir[1], left = dir[2], right = dir[3];

    float lx = 0, ly = 0;
    if (set >= 0) {
        float x2 = xr_input_JoyX(1, set), y2 = xr_input_JoyY(1, set);
        if (xr_ruvo_RUVO_Set[SET_INVERT_STICK2_Y] == 1) y2 = -y2;
        if (std::fabs(x2) > 0.3f || std::fabs(y2) > 0.3f) {
            c[RUVO_STICK2_X] = x2;
            c[RUVO_STICK2_Y] = y2;
        }
        lx = xr_input_JoyX(0, set);
        ly = xr_input_JoyY(0, set);
        if (xr_ruvo_RUVO_Set[SET_INVERT_STICK_Y] == 1) ly = -ly;
        if (std::fabs(lx) < 0.3f && std::fabs(ly) < 0.3f) lx = ly = 0;
    }

    if (!left && !right && lx == 0) c[RUVO_AXIS_X] = toward_zero(c[RUVO_AXIS_X], 0.25f);
    if (!up && !down && ly == 0) c[RUVO_AXIS_Y] = toward_zero(c[RUVO_AXIS_Y], 0.25f);
    if (left) c[RUVO_AXIS_X] -= 0.4f;
    if (right) c[RUVO_AXIS_X] += 0.4f;
    if (up) c[RUVO_AXIS_Y] -= 0.4f;
    if (down) c[RUVO_AXIS_Y] += 0.4f;
    c[RUVO_AXIS_X] = xr_math_Clamp(c[RUVO_AXIS_X], -1, 1);
    c[RUVO_AXIS_Y] = xr_math_Clamp(c[RUVO_AXIS_Y], -1, 1);
    if (std::fabs(lx) >= 0.3f || std::fabs(ly) > 0.3f) {
        c[RUVO_AXIS_X] = lx;
        c[RUVO_AXIS_Y] = ly;
    }

    c[RUVO_UP] = up || ly < -0.3f ? 1 : 0;
    c[RUVO_LEFT] = left || lx < -0.3f ? 1 : 0;
    c[RUVO_RIGHT] = right || lx > 0.3f ? 1 : 0;
    c[RUVO_DOWN] = down || ly > 0.3f ? 1 : 0;

    if (set >= 0 && xr_ruvo_Joy_Disable[set] == 1)
        for (int slot = 0; slot <= RUVO_STICK2_Y; ++slot) c[slot] = 0;
}

bool is_set(int set) {
    return set >= RUVO_KEYBOARD_SET && set <= RUVO_LAST_PAD_SET;
}

// The set a reader of set -1..3 sees: with mixing on, the keyboard reads
// pad 0's set, which carries the keyboard's input too.
const float* readable_set(int set) {
    if (set == RUVO_KEYBOARD_SET && xr_ruvo_RUVO_MixControls == 1) set = 0;
    return xr_ruvo_RUVO_Control.Data() + RUVO_SET_SLOTS * (set + 1);
}

int touch_hit(float left, float top, float right, float bottom) {
    const float* t = xr_ruvo_RUVO_Touch.Data();
    for (int k = 0; k < TOUCH_FINGERS; ++k) {
        const float* f = t + TOUCH_SLOTS * k;
        if (f[TOUCH_DOWN] != 1) continue;
        float tx = f[TOUCH_X], ty = f[TOUCH_Y];
        if (tx >= left && tx <= right && ty >= top && ty <= bottom) return 1;
    }
    return 0;
}

}  // namespace

void xr_ruvo_controls_init() {
    gc_assign(xr_ruvo_RUVO_Control, Array<float>(500));
    xr_ruvo_RUVO_MixControls = 1;
    gc_assign(xr_ruvo_Joy_Disable, Array<int>(10));
    gc_assign(xr_ruvo_RUVO_Touch, Array<float>(128));
    xr_ruvo_mx = xr_ruvo_my = 0;
    xr_ruvo_mdAll = 0;
    xr_ruvo_mwx = xr_ruvo_mwy = 0;
    xr_ruvo_msx = xr_ruvo_msy = 0;
    gc_assign(xr_ruvo_kdis, Array<int>(50));
    gc_assign(xr_ruvo_mdis, Array<int>(50));
    xr_ruvo_RUVO_Fullscreen = 0;
}

void xr_ruvo_controls_mark() {
    gc_mark_field(xr_ruvo_RUVO_Control);
    gc_mark_field(xr_ruvo_Joy_Disable);
    gc_mark_field(xr_ruvo_RUVO_Touch);
    gc_mark_field(xr_ruvo_kdis);
    gc_mark_field(xr_ruvo_mdis);
}

int xr_ruvo_ReadPointer() {
    float* t = xr_ruvo_RUVO_Touch.Data();
    // The scale is known from the first drawn frame on.
    const float scale = xr_ruvo_RUVO_Scale > 0 ? xr_ruvo_RUVO_Scale : 1;
    t[TOUCH_POINTER_DOWN] = xr_input_KeyDown(KEY_LMB) ? 1 : 0;
    t[TOUCH_POINTER_X] = xr_input_MouseX() / scale;
    t[TOUCH_POINTER_Y] = xr_input_MouseY() / scale;
    bool first = true;
    for (int k = 0; k < TOUCH_FINGERS; ++k) {
        float* f = t + TOUCH_SLOTS * k;
        f[TOUCH_DOWN] = 0;
        if (!xr_input_KeyDown(KEY_TOUCH0 + k)) continue;
        f[TOUCH_DOWN] = 1;
        f[TOUCH_X] = xr_input_TouchX(k) / scale;
        f[TOUCH_Y] = xr_input_TouchY(k) / scale;
        if (first) {
            t[TOUCH_POINTER_DOWN] = 1;
            t[TOUCH_POINTER_X] = f[TOUCH_X];
            t[TOUCH_POINTER_Y] = f[TOUCH_Y];
            first = false;
        }
    }
    xr_ruvo_mdAll = int(t[TOUCH_POINTER_DOWN]);
    xr_ruvo_mx = int(t[TOUCH_POINTER_X]);
    xr_ruvo_my = int(t[TOUCH_POINTER_Y]);
    if (xr_ruvo_mdAll) {
        if (xr_ruvo_mwx > POINTER_RELEASED) {
            xr_ruvo_msx = xr_ruvo_mx - xr_ruvo_mwx;
            xr_ruvo_msy = xr_ruvo_my - xr_ruvo_mwy;
        }
        xr_ruvo_mwx = xr_ruvo_mx;
        xr_ruvo_mwy = xr_ruvo_my;
    } else {
        xr_ruvo_mwx = xr_ruvo_mwy = POINTER_RELEASED;
        xr_ruvo_mdis[LATCH_MENU] = 0;
    }
    return 0;
}

int xr_ruvo_DoControls() {
    for (int set = RUVO_KEYBOARD_SET; set <= RUVO_LAST_PAD_SET; ++set) update_set(set);
    if (xr_ruvo_RUVO_MixControls == 1) {
        float* keyboard = xr_ruvo_RUVO_Control.Data();
        float* pad0 = keyboard + RUVO_SET_SLOTS;
        for (int slot = 0; slot < RUVO_SET_SLOTS; ++slot) pad0[slot] += keyboard[slot];
        pad0[RUVO_AXIS_X] = xr_math_Clamp(pad0[RUVO_AXIS_X], -1, 1);
        pad0[RUVO_AXIS_Y] = xr_math_Clamp(pad0[RUVO_AXIS_Y], -1, 1);
    }
    return 0;
}

float xr_ruvo_PlayKey(int slot, int set) {
    if (slot == RUVO_MENU_ALIAS) slot = RUVO_MENU;
    if (slot < 0 || slot >= RUVO_SET_SLOTS) return 0;
    if (set == RUVO_ALL_SETS) {
        float sum = 0;
        for (int s = RUVO_KEYBOARD_SET; s <= RUVO_LAST_PAD_SET; ++s)
            sum += xr_ruvo_RUVO_Control[RUVO_SET_SLOTS * (s + 1) + slot];
        return sum;
    }
    if (!is_set(set)) return 0;
    return readable_set(set)[slot];
}

float xr_ruvo_ControlX(int set, int stick) {
    if (!is_set(set) || stick < 0 || stick > 1) return 0;
    return readable_set(set)[stick == 0 ? RUVO_AXIS_X : RUVO_STICK2_X];
}

float xr_ruvo_ControlY(int set, int stick) {
    if (!is_set(set) || stick < 0 || stick > 1) return 0;
    return readable_set(set)[stick == 0 ? RUVO_AXIS_Y : RUVO_STICK2_Y];
}

int xr_ruvo_MixControls() {
    xr_ruvo_RUVO_MixControls = 1;
    return 0;
}

int xr_ruvo_MouseIn(float x, float y, float w, float h) {
    return touch_hit(x, y, x + w, y + h);
}

int xr_ruvo_MouseIn_Centered(float x, float y, float w, float h) {
    return touch_hit(x - w / 2, y - h / 2, x + w / 2, y + h / 2);
}

int xr_ruvo_MouseIn_Radius(float x, float y, float r) {
    const float* t = xr_ruvo_RUVO_Touch.Data();
    for (int k = 0; k < TOUCH_FINGERS; ++k) {
        const float* f = t + TOUCH_SLOTS * k;
        if (f[TOUCH_DOWN] != 1) continue;
        float dx = f[TOUCH_X] - x, dy = f[TOUCH_Y] - y;
        float distance = float(std::sqrt(double(dx) * dx + double(dy) * dy));
        if (distance <= r) return 1;
    }
    return 0;
}

int xr_ruvo_LockKeys() {
    for (int i = 0; i < 50; ++i) xr_ruvo_kdis[i] = xr_ruvo_mdis[i] = 1;
    return 0;
}

// Flips from what the window is, which the player may have changed without
// F11: a browser leaves full screen on Escape by itself.
int xr_ruvo_FullscreenFlip() {
    xr_ruvo_RUVO_Fullscreen = xr_app__game->Fullscreen() ? 0 : 1;
    if (xr_ruvo_RUVO_Fullscreen == 1) {
        c_DisplayMode* desktop = xr_app_DesktopMode();
        xr_app__game->SetDeviceWindow(desktop->p_Width(), desktop->p_Height(), WINDOW_FULLSCREEN);
    } else {
        xr_app__game->SetDeviceWindow(640, 480, WINDOW_GAME);
    }
    xr_app_ValidateDeviceWindow(false);
    return 0;
}
