// The desktop host on GLFW: window, frame loop and window events.
#pragma once

#include "host/xrgame.h"

struct GLFWwindow;
struct GLFWmonitor;
struct GLFWgamepadstate;

// Bumped whenever a window comes with a GL context that does not share the
// previous one's objects: textures of older contexts must be made again.
extern int glfwGraphicsSeq;

struct XrDesktopMode {
    int width, height, red, green, blue, refresh;
};

class XrGlfwGame : public XrGame {
public:
    static XrGlfwGame* _glfwGame;
    // The first window fills the monitor rather than opening as a window
    // (the command line's --fullscreen).
    static bool _startFullscreen;

    XrGlfwGame();
    ~XrGlfwGame() override;

    void SetUpdateRate(int rate) override;
    int GetDeviceWidth() override { return _width; }
    int GetDeviceHeight() override { return _height; }
    void SetDeviceWindow(int width, int height, int flags) override;
    bool Fullscreen() override;
    void SetSwapInterval(int interval) override;

    // Services (host/services.cpp).
    int Millisecs() override;
    Array<XrDisplayMode*> GetDisplayModes() override;
    XrDisplayMode* GetDesktopMode() override;
    void SetMouseVisible(bool visible) override;
    void OpenUrl(String url) override;
    String PathToFilePath(String path) override;
    unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override;
    unsigned char* LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) override;

    // Input (host/glfwinput.cpp).
    static int TransKey(int glfwKey);
    static int KeyToChar(int key);
    int CountJoysticks(bool update) override;
    bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                      Array<bool> buttons) override;
    // Adds the players' own pad mappings, in the standard text format, to
    // GLFW's: gamecontrollerdb.txt in the data folder, then the one in the
    // working folder, then SDL_GAMECONTROLLERCONFIG. Returns how many of the
    // three were there.
    int LoadGamepadMappings();
    // A pad was connected or disconnected: count them again at the next poll.
    static void OnJoystick(int jid, int event);

    // The frame loop: returns when the window is asked to close.
    void Run();
    // One pass of the loop after render and swap: wait for the next update,
    // take the window's events and focus, run the updates that are due.
    virtual void WaitForUpdate();
    void UpdateEvents();
    void RunUpdates();

    GLFWwindow* Window() { return _window; }
    // Destroys the window, which gives a monitor that full screen switched
    // back its own mode, and the hidden one holding the GL objects.
    void CloseWindow();
    // The end of the program: every way out comes through here, from the
    // exit hook. The window goes, then GLFW.
    virtual void Shutdown();
    // A pointer position from screen coordinates to drawn pixels.
    float PointerX(double x) const;
    float PointerY(double y) const;

    // The clock and the waiting, virtual so that the schedule can be driven
    // without real time.
    virtual double GetTime();
    virtual void Sleep(double seconds);

protected:
    // Window-system reads the loop depends on, kept apart for the same reason.
    virtual void PollEvents(bool wait);
    virtual bool WindowFocused();
    // Window creation, kept apart so that a refused shared context can be tried.
    virtual GLFWwindow* CreateWindow(int width, int height, GLFWmonitor* monitor, GLFWwindow* share);
    // The joystick reads, for the same reason: no pads exist on a test machine.
    virtual bool JoystickPresent(int jid);
    virtual const float* JoystickAxes(int jid, int* count);
    virtual const unsigned char* JoystickButtons(int jid, int* count);
    virtual bool JoystickIsGamepad(int jid);
    virtual bool GamepadState(int jid, GLFWgamepadstate* state);
    virtual void UpdateGamepadMappings(const char* text);

    static void OnKey(GLFWwindow* window, int key, int scancode, int action, int mods);
    static void OnChar(GLFWwindow* window, unsigned int codepoint);
    static void OnMouseButton(GLFWwindow* window, int button, int action, int mods);
    static void OnCursorPos(GLFWwindow* window, double x, double y);
    static void OnWindowClose(GLFWwindow* window);
    static void OnWindowSize(GLFWwindow* window, int width, int height);
    static void OnFramebufferSize(GLFWwindow* window, int width, int height);

    XrDesktopMode _desktopMode = {};
    GLFWwindow* _window = nullptr;
    GLFWwindow* _anchor = nullptr;  // hidden, holds the GL objects every window shares
    bool _anchorTried = false;
    bool _shared = false;  // the window's context shares the anchor's objects
    int _width = 0;  // the drawing area in pixels
    int _height = 0;
    int _windowWidth = 0;  // the window in screen coordinates
    int _windowHeight = 0;
    int _swapInterval = 1;
    bool _focus = true;
    bool _closeRequested = false;  // the close button, until the game hears it
    double _updatePeriod = 0;
    double _nextUpdate = 0;
    int _joysticks[4] = {};
    int _joystickCount = 0;
    bool _joysticksCounted = false;
};
