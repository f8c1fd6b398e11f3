// Controls: keyboard and pads folded into five uniform control sets, the
// pointer record in virtual units, the menus' latches and full screen.
#pragma once

#include "runtime/array.h"

// Slots of a control set: the directions and buttons read 1 while held, the
// axes -1..1.
enum {
    RUVO_UP = 0, RUVO_LEFT = 3, RUVO_RIGHT = 5, RUVO_DOWN = 8,
    RUVO_BUTTON1 = 10, RUVO_MENU = 20, RUVO_AXIS_X = 21, RUVO_AXIS_Y = 22,
    RUVO_STICK2_X = 31, RUVO_STICK2_Y = 32,
    RUVO_MENU_ALIAS = 99,      // another name of RUVO_MENU
};

// Control sets: the keyboard's, the pads' 0..RUVO_LAST_PAD_SET, and every set
// summed. Set s is RUVO_SET_SLOTS floats of xr_ruvo_RUVO_Control from
// RUVO_SET_SLOTS * (s + 1).
enum { RUVO_KEYBOARD_SET = -1, RUVO_ALL_SETS = -2, RUVO_LAST_PAD_SET = 3, RUVO_SET_SLOTS = 100 };

// The touch record (xr_ruvo_RUVO_Touch), in virtual units: one record of
// TOUCH_SLOTS per finger, then the pointer (the mouse, or the first finger).
enum {
    TOUCH_FINGERS = 10, TOUCH_SLOTS = 10,
    TOUCH_DOWN = 0, TOUCH_X = 1, TOUCH_Y = 2,
    TOUCH_POINTER_DOWN = 100, TOUCH_POINTER_X = 101, TOUCH_POINTER_Y = 102,
};
// xr_ruvo_mwx and xr_ruvo_mwy while no button or finger is down.
enum { POINTER_RELEASED = -100 };

// Latches: entries of xr_ruvo_kdis that a screen sets when it acts on a
// control and releases when the control is let go, so that one press acts
// once. xr_ruvo_LockKeys sets them all.
enum {
    LATCH_MENU = 0,            // the general menu latch; in xr_ruvo_mdis, the pointer's
    LATCH_PAUSE = 1,           // the pause screen's cursor and choice
    LATCH_MAIN_CLICK = 9,      // the main menu's, released with the pointer
    LATCH_PAUSE_CONTROL = 20,  // the pause control in play acts on its press
    LATCH_ACTIVATE = 30,       // options: button 1 or 2 on a row
    LATCH_LEFTRIGHT = 31,      // options: a value up or down
    LATCH_UPDOWN = 32,         // options: the cursor
    LATCH_TOGGLE = 33,         // options: the pointer on a switch
    LATCH_POINTER = 34,        // options: the pointer on a row (or one of the two states below)
    LATCH_EXIT = 38,           // leaving the options or the credits
    LATCH_DRAGGED = 47,        // options: the list was dragged, no automatic scroll
};
// LATCH_POINTER's values beyond 0 and 1.
enum { LATCH_POINTER_DRAGGING = -1, LATCH_POINTER_ON_SLIDER = -2 };

extern Array<float> xr_ruvo_RUVO_Control;  // the control sets, keyboard first
// 1: the keyboard's set is added into pad 0's, and reading the keyboard reads
// pad 0, so that one player may use both.
extern int xr_ruvo_RUVO_MixControls;
extern Array<int> xr_ruvo_Joy_Disable;     // per pad: 1 makes its set read as nothing held
extern Array<float> xr_ruvo_RUVO_Touch;    // the touch record (TOUCH_)
extern int xr_ruvo_mx, xr_ruvo_my;         // the pointer, in virtual units
extern int xr_ruvo_mdAll;                  // 1 while the mouse button or a finger is down
// The pointer while it is down, POINTER_RELEASED while it is up: a new press
// does not count as a drag from where the last one ended.
extern int xr_ruvo_mwx, xr_ruvo_mwy;
// How far the held pointer moved in its last update down (a drag); kept
// after it is let go.
extern int xr_ruvo_msx, xr_ruvo_msy;
extern Array<int> xr_ruvo_kdis;            // the latches of controls and keys (LATCH_)
extern Array<int> xr_ruvo_mdis;            // the latches of the pointer
extern int xr_ruvo_RUVO_Fullscreen;        // 1 when the game last made the window full screen

void xr_ruvo_controls_init();
void xr_ruvo_controls_mark();

// Refreshes the pointer record from the mouse and the touches.
int xr_ruvo_ReadPointer();
// Reads every control set from the keyboard and the pads, once an update.
int xr_ruvo_DoControls();
// Slot `slot` of control set `set`; of RUVO_ALL_SETS, summed over the sets.
float xr_ruvo_PlayKey(int slot, int set);
// The x or y of a set's first (stick 0) or second (stick 1) stick, -1..1.
float xr_ruvo_ControlX(int set, int stick);
float xr_ruvo_ControlY(int set, int stick);
// Turns xr_ruvo_RUVO_MixControls on.
int xr_ruvo_MixControls();
// 1 while a finger is down in the w by h rectangle whose top left is (x, y);
// the left mouse button counts as finger 0.
int xr_ruvo_MouseIn(float x, float y, float w, float h);
// The same, the rectangle centred on (x, y).
int xr_ruvo_MouseIn_Centered(float x, float y, float w, float h);
// The same, within r of (x, y).
int xr_ruvo_MouseIn_Radius(float x, float y, float r);
// Sets every latch: nothing acts until its control has been let go.
int xr_ruvo_LockKeys();
// Between full screen and a window (F11).
int xr_ruvo_FullscreenFlip();
