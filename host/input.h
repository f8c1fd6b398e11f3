// The input device: every button of keyboard, mouse, touch and game pads is a
// key in one space of 512 codes, with a down state and per-update hits.
#pragma once

#include "runtime/array.h"

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
