// The host: the one object that owns the window, the frame loop and every
// service the framework calls. Not collected; reached through XrGame::_game.
#pragma once

#include <cstdio>

#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/string.h"

// Game events the host delivers to its delegate.
struct c_XrGameEvent {
    enum {
        KeyDown = 1, KeyUp, KeyChar,
        MouseDown, MouseUp, MouseMove,
        TouchDown, TouchUp, TouchMove,
        MotionAccel
    };
};

// Flags of SetDeviceWindow.
enum {
    WINDOW_FULLSCREEN = 1, WINDOW_RESIZABLE = 2, WINDOW_DECORATED = 4, WINDOW_FLOATING = 8,
    WINDOW_DEPTH_BUFFER = 16, WINDOW_SINGLE_BUFFERED = 32,
    WINDOW_SECOND_MONITOR = 64,        // full screen on the second monitor, when there is one
    // The game's own window when not in full screen.
    WINDOW_GAME = WINDOW_RESIZABLE | WINDOW_DECORATED,
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

// A screen size the host can offer. The desktop host fills width and height.
class XrDisplayMode : public Object {
public:
    int width = 0, height = 0, depth = 0, hertz = 0, flags = 0;
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

    // Services (host/services.cpp).
    virtual int Millisecs() { return 0; }
    virtual int GetDate(Array<int> date);
    virtual int SaveState(String state);
    virtual String LoadState();
    virtual String LoadString(String path);
    virtual int CountJoysticks(bool) { return 0; }
    virtual bool PollJoystick(int, Array<float>, Array<float>, Array<float>, Array<bool>) { return false; }
    virtual void OpenUrl(String) {}
    virtual void SetMouseVisible(bool) {}
    virtual int GetDeviceWidth() { return 0; }
    virtual int GetDeviceHeight() { return 0; }
    virtual void SetDeviceWindow(int, int, int) {}
    // Whether the player can end the program from the game: not where the
    // program lives in a page, which only the player's browser closes.
    virtual bool CanQuit() { return true; }
    // Whether the device window fills a monitor.
    virtual bool Fullscreen() { return false; }
    virtual Array<XrDisplayMode*> GetDisplayModes() { return Array<XrDisplayMode*>(); }
    virtual XrDisplayMode* GetDesktopMode() { return nullptr; }
    virtual void SetSwapInterval(int) {}
    virtual String PathToFilePath(String path) { return path; }
    virtual FILE* OpenFile(String path, String mode);
    virtual unsigned char* LoadData(String path, int* length);
    virtual unsigned char* LoadImageData(String, int*, int*, int*) { return nullptr; }
    virtual unsigned char* LoadAudioData(String, int*, int*, int*, int*) { return nullptr; }

    [[noreturn]] virtual void Die(ThrowableObject* exception);
    virtual void gc_collect();

    // Delegate calls, each guarded, shielded from exceptions and followed by
    // one collection step.
    virtual void StartGame();
    virtual void SuspendGame();
    virtual void ResumeGame();
    virtual void UpdateGame();
    virtual void RenderGame();
    virtual void KeyEvent(int event, int data);
    virtual void MouseEvent(int event, int data, float x, float y);
    virtual void TouchEvent(int event, int data, float x, float y);
    virtual void MotionEvent(int event, int data, float x, float y, float z);
    virtual void DiscardGraphics();

protected:
    XrGameDelegate* _delegate = nullptr;
    bool _keyboardEnabled = false;
    int _updateRate = 0;
    bool _started = false;
    bool _suspended = false;
    String _baseDir;
    String _internalDir;
};
