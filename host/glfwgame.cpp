#include "host/glfwgame.h"

#include <cstdlib>

#include "host/glfw.h"

#include "audio/device.h"
#include "host/input.h"

#include "host/pacing.h"
#include "host/platform.h"
#include "runtime/debug.h"

XrGlfwGame* XrGlfwGame::_glfwGame;
bool XrGlfwGame::_startFullscreen;
int glfwGraphicsSeq;

XrGlfwGame::XrGlfwGame() {
    _glfwGame = this;
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    if (const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr) {
        _desktopMode = {mode->width, mode->height, mode->redBits, mode->greenBits, mode->blueBits,
                        mode->refreshRate};
    }
}

XrGlfwGame::~XrGlfwGame() {
    CloseWindow();
    if (_glfwGame == this) _glfwGame = nullptr;
}

double XrGlfwGame::GetTime() {
    return glfwGetTime();
}

void XrGlfwGame::Sleep(double seconds) {
    platform::SleepMs(int(seconds * 1000));
}

void XrGlfwGame::PollEvents(bool wait) {
    if (wait)
        glfwWaitEvents();
    else
        glfwPollEvents();
}

bool XrGlfwGame::WindowFocused() {
    return _window && glfwGetWindowAttrib(_window, GLFW_FOCUSED);
}

void XrGlfwGame::SetUpdateRate(int rate) {
    _updateRate = rate;
    if (rate != 0) _updatePeriod = 1.0 / rate;
    _nextUpdate = 0;
}

void XrGlfwGame::SetSwapInterval(int interval) {
    _swapInterval = interval;
    if (interval >= 0 && _window) glfwSwapInterval(interval);
}

void XrGlfwGame::Run() {
    xr_pacing.Init();
    LoadGamepadMappings();
    glfwSetJoystickCallback(OnJoystick);
    // Full screen from the start is the same window F11 makes, opened at once
    // rather than after a window that would flash up first.
    if (_startFullscreen && _desktopMode.width > 0)
        SetDeviceWindow(_desktopMode.width, _desktopMode.height, WINDOW_FULLSCREEN);
    else
        SetDeviceWindow(640, 480, WINDOW_GAME);
    StartGame();
    while (!glfwWindowShouldClose(_window)) {
        RenderGame();
        glfwSwapBuffers(_window);
        xr_pacing.OnFrame();
        WaitForUpdate();
        UpdateEvents();
        RunUpdates();
    }
}

void XrGlfwGame::WaitForUpdate() {
    if (_nextUpdate == 0) return;
    double delay = _nextUpdate - GetTime();
    if (delay > 0) Sleep(delay);
}

void XrGlfwGame::UpdateEvents() {
    PollEvents(_suspended);
    // The close button's request reaches the game here, after the window
    // system's turn: the game may end on it, destroying the window and
    // GLFW, which must not happen inside a GLFW callback.
    if (_closeRequested) {
        _closeRequested = false;
        KeyEvent(c_XrGameEvent::KeyDown, KEY_CLOSE);
        KeyEvent(c_XrGameEvent::KeyUp, KEY_CLOSE);
    }
    if (WindowFocused()) {
        _focus = true;
        if (_suspended) {
            ResumeGame();
            _nextUpdate = 0;
        }
    } else if (_focus && !_suspended) {
        SuspendGame();
        _nextUpdate = 0;
    }
}

// Catches up at most 4 updates behind; a longer backlog is dropped and the
// schedule restarts from now rather than replaying it.
void XrGlfwGame::RunUpdates() {
    if (_suspended) return;
    if (_updateRate == 0) {
        xr_pacing.OnUpdate();
        UpdateGame();
        return;
    }
    if (_nextUpdate == 0) _nextUpdate = GetTime();
    for (int i = 0; i < 4; ++i) {
        xr_pacing.OnUpdate();
        UpdateGame();
        if (_nextUpdate == 0) return;
        _nextUpdate += _updatePeriod;
        if (_nextUpdate > GetTime()) return;
    }
    _nextUpdate = 0;
}

// Every visible window shares its GL objects with a hidden one made once, so
// that changing between full screen and a window uploads nothing again, and
// the old window can go before the new one comes: two of the game's windows
// at once would hand the focus between them, and a full-screen window that
// loses it is iconified. A window made without sharing (sharing refused, or
// no hidden window to be had) starts a new context sequence, as does the
// first shared one after it: every texture is then made again.
void XrGlfwGame::SetDeviceWindow(int width, int height, int flags) {
    _focus = false;
    if (_window) {
        for (int key = 0; key <= GLFW_KEY_LAST; ++key) {
            int code = TransKey(key);
            if (code && glfwGetKey(_window, key) == GLFW_PRESS) KeyEvent(c_XrGameEvent::KeyUp, code);
        }
        glfwDestroyWindow(_window);
        _window = nullptr;
    }
    if (!_anchor && !_anchorTried) {
        _anchorTried = true;
        glfwDefaultWindowHints();
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        glfwWindowHint(GLFW_FOCUS_ON_SHOW, GLFW_FALSE);
        _anchor = CreateWindow(1, 1, nullptr, nullptr);
        // Never shown, and named apart, so that whatever looks the game's
        // window up by its title (window lists, tools) finds the real one.
        if (_anchor) glfwSetWindowTitle(_anchor, "Glimmerdeep shared GL objects");
    }

    bool fullscreen = flags & WINDOW_FULLSCREEN;
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_RED_BITS, 8);
    glfwWindowHint(GLFW_GREEN_BITS, 8);
    glfwWindowHint(GLFW_BLUE_BITS, 8);
    glfwWindowHint(GLFW_ALPHA_BITS, 0);
    glfwWindowHint(GLFW_DEPTH_BITS, (flags & WINDOW_DEPTH_BUFFER) ? 32 : 0);
    glfwWindowHint(GLFW_STENCIL_BITS, 0);
    glfwWindowHint(GLFW_RESIZABLE, (flags & WINDOW_RESIZABLE) ? GLFW_TRUE : GLFW_FALSE);
    glfwWindowHint(GLFW_DECORATED, (flags & WINDOW_DECORATED) ? GLFW_TRUE : GLFW_FALSE);
    glfwWindowHint(GLFW_FLOATING, (flags & WINDOW_FLOATING) ? GLFW_TRUE : GLFW_FALSE);
    glfwWindowHint(GLFW_VISIBLE, fullscreen ? GLFW_TRUE : GLFW_FALSE);
    glfwWindowHint(GLFW_DOUBLEBUFFER, (flags & WINDOW_SINGLE_BUFFERED) ? GLFW_FALSE : GLFW_TRUE);
    glfwWindowHint(GLFW_SAMPLES, 0);
    glfwWindowHint(GLFW_REFRESH_RATE, 60);
#ifdef _WIN32
    // A window of 640 x 480 pixels is a stamp on a display Windows scales
    // (150 % and more on most laptops): grow it by the display's scale, as
    // Windows programs do. The game draws at whatever size it gets.
    glfwWindowHint(GLFW_SCALE_TO_MONITOR, GLFW_TRUE);
#endif

    GLFWmonitor* monitor = nullptr;
    if (fullscreen) {
        int count = 0;
        GLFWmonitor** monitors = glfwGetMonitors(&count);
        int index = (flags & WINDOW_SECOND_MONITOR) ? 1 : 0;
        if (index > count - 1) index = count - 1;
        monitor = count > 0 ? monitors[index] : nullptr;
    }
    GLFWwindow* window = _anchor ? CreateWindow(width, height, monitor, _anchor) : nullptr;
    const bool shared = window != nullptr;
    if (!window) window = CreateWindow(width, height, monitor, nullptr);
    _window = window;
    if (!_window) {
        xrPrint(String("glfwCreateWindow FAILED!"));
        std::abort();
    }
    if (!shared || !_shared) ++glfwGraphicsSeq;
    _shared = shared;
    if (!monitor) {
        int shownWidth = width, shownHeight = height;
        glfwGetWindowSize(_window, &shownWidth, &shownHeight);
        glfwSetWindowPos(_window, (_desktopMode.width - shownWidth) / 2, (_desktopMode.height - shownHeight) / 2);
        glfwShowWindow(_window);
    }

    glfwGetFramebufferSize(_window, &_width, &_height);
    glfwGetWindowSize(_window, &_windowWidth, &_windowHeight);
    glfwMakeContextCurrent(_window);
    if (_swapInterval >= 0) glfwSwapInterval(_swapInterval);

    glfwSetKeyCallback(_window, OnKey);
    glfwSetCharCallback(_window, OnChar);
    glfwSetMouseButtonCallback(_window, OnMouseButton);
    glfwSetCursorPosCallback(_window, OnCursorPos);
    glfwSetWindowCloseCallback(_window, OnWindowClose);
    glfwSetWindowSizeCallback(_window, OnWindowSize);
    glfwSetFramebufferSizeCallback(_window, OnFramebufferSize);
}

bool XrGlfwGame::Fullscreen() {
    return _window && glfwGetWindowMonitor(_window);
}

GLFWwindow* XrGlfwGame::CreateWindow(int width, int height, GLFWmonitor* monitor, GLFWwindow* share) {
    return glfwCreateWindow(width, height, "Glimmerdeep", monitor, share);
}

void XrGlfwGame::CloseWindow() {
    if (_window) glfwDestroyWindow(_window);
    if (_anchor) glfwDestroyWindow(_anchor);
    _window = nullptr;
    _anchor = nullptr;
    _anchorTried = false;
    _shared = false;
}

// The sound device stops first, while everything its mixing thread uses is
// still there: the C runtime's end would pull it from under the thread.
void XrGlfwGame::Shutdown() {
    if (gxtkAudio::audio) gxtkAudio::audio->Close();
    CloseWindow();
    glfwTerminate();
}

// The pointer arrives in screen coordinates, which on a scaled desktop are
// fewer than the pixels drawn: the game works in drawn pixels throughout.
float XrGlfwGame::PointerX(double x) const {
    return _windowWidth > 0 ? float(x * _width / _windowWidth) : float(x);
}

float XrGlfwGame::PointerY(double y) const {
    return _windowHeight > 0 ? float(y * _height / _windowHeight) : float(y);
}

void XrGlfwGame::OnKey(GLFWwindow*, int key, int, int action, int) {
    int code = TransKey(key);
    if (!code) return;
    if (action == GLFW_RELEASE) {
        _glfwGame->KeyEvent(c_XrGameEvent::KeyUp, code);
    } else if (action == GLFW_PRESS || action == GLFW_REPEAT) {
        _glfwGame->KeyEvent(c_XrGameEvent::KeyDown, code);
        if (int chr = KeyToChar(code)) _glfwGame->KeyEvent(c_XrGameEvent::KeyChar, chr);
    }
}

void XrGlfwGame::OnChar(GLFWwindow*, unsigned int codepoint) {
    _glfwGame->KeyEvent(c_XrGameEvent::KeyChar, int(codepoint));
}

void XrGlfwGame::OnMouseButton(GLFWwindow* window, int button, int action, int) {
    if (button < 0 || button > 2) return;
    double x = 0, y = 0;
    glfwGetCursorPos(window, &x, &y);
    const float px = _glfwGame->PointerX(x), py = _glfwGame->PointerY(y);
    if (action == GLFW_PRESS)
        _glfwGame->MouseEvent(c_XrGameEvent::MouseDown, button, px, py);
    else if (action == GLFW_RELEASE)
        _glfwGame->MouseEvent(c_XrGameEvent::MouseUp, button, px, py);
}

void XrGlfwGame::OnCursorPos(GLFWwindow*, double x, double y) {
    _glfwGame->MouseEvent(c_XrGameEvent::MouseMove, -1, _glfwGame->PointerX(x), _glfwGame->PointerY(y));
}

// The close button never closes the window by itself: the game hears it as
// the close key, once the events are taken (UpdateEvents), and decides.
void XrGlfwGame::OnWindowClose(GLFWwindow* window) {
    glfwSetWindowShouldClose(window, GLFW_FALSE);
    _glfwGame->_closeRequested = true;
}

void XrGlfwGame::OnWindowSize(GLFWwindow*, int width, int height) {
    _glfwGame->_windowWidth = width;
    _glfwGame->_windowHeight = height;
}

// The device size is the drawing area's, in pixels.
void XrGlfwGame::OnFramebufferSize(GLFWwindow*, int width, int height) {
    _glfwGame->_width = width;
    _glfwGame->_height = height;
}
