// The host: the one object that owns the window, the frame loop and every
// service the framework calls. Not collected; reached through XrGame::_game.
#pragma once

#include "runtime/object.h"
#include "runtime/string.h"

enum {
    KeyDown = 1, KeyUp, KeyChar,
    MouseDown, MouseUp, MouseMove,
    TouchDown, TouchUp, TouchMove,
    MotionAccel
};

// Receives every callback of the host; the framework's game delegate
// implements it.
class XrGameDelegate : public Object {
public:
    virtual void StartGame() {}
    virtual void SuspendGame() {}
    virtual void ResumeGame() {}
    virtual void UpdateGame() {}
    virtual void RenderGame() {}
    virtual void KeyEvent(int, int) {}
    virtual void MouseEvent(int, int, float, float) {}
    virtual void TouchEvent(int, int, float, float) {}
    virtual void MotionEvent(int, int, float, float, float) {}
    virtual void DiscardGraphics() {}
};

class XrGame {
public:
    static XrGame* _game;

    XrGame();
    virtual ~XrGame();

    virtual void SetDelegate(XrGameDelegate* delegate) { _delegate = delegate; }
    virtual XrGameDelegate* Delegate() { return _delegate; }
    virtual void SetKeyboardEnabled(bool enabled) { _keyboardEnabled = enabled; }
    virtual bool KeyboardEnabled() { return _keyboardEnabled; }
    virtual void SetUpdateRate(int rate) { _updateRate = rate; }
    virtual int UpdateRate() { return _updateRate; }
    virtual bool Started() { return _started; }
    virtual bool Suspended() { return _suspended; }

    [[noreturn]] virtual void Die(ThrowableObject* exception);
    virtual void gc_collect();

protected:
    XrGameDelegate* _delegate = nullptr;
    bool _keyboardEnabled = false;
    int _updateRate = 0;
    bool _started = false;
    bool _suspended = false;
    String _baseDir;
    String _internalDir;
};
