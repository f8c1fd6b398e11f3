#include "host/browsergame.h"

#include <emscripten.h>
#include <sys/stat.h>

#include "host/glfw.h"

namespace {

EM_JS(int, browser_screen_width, (), { return screen.width | 0; });
EM_JS(int, browser_screen_height, (), { return screen.height | 0; });

// Kept by the page's script (platform/browser/glimmerdeep.pre.js): false from the moment the
// page loses the focus or is hidden until the player is back.
EM_JS(int, browser_page_focused, (), { return Module.pageFocused === false ? 0 : 1; });

EM_JS(int, browser_pad_is_standard, (int jid), {
    var pads = navigator.getGamepads ? navigator.getGamepads() : [];
    var pad = pads[jid];
    return pad && pad.connected && pad.mapping === "standard" ? 1 : 0;
});

// Triggers are buttons in the standard layout, with a value from 0 to 1 that
// the browser's GLFW leaves out.
EM_JS(float, browser_pad_button_value, (int jid, int button), {
    var pads = navigator.getGamepads ? navigator.getGamepads() : [];
    var pad = pads[jid];
    return pad && pad.buttons[button] ? pad.buttons[button].value : 0;
});

// What fills the screen is the page's choice (Module.fullscreenTarget: the
// canvas with what the page lays over it), and its style scales the canvas,
// keeping its proportions and its pixels. A refusal (the player's browser or
// its settings) leaves the page as it was.
EM_JS(void, browser_request_fullscreen, (), {
    var target = Module.fullscreenTarget || Module.canvas;
    var request = target.requestFullscreen && target.requestFullscreen();
    if (request) request.catch(function (error) { console.warn("glimmerdeep: no full screen: " + error); });
});
EM_JS(void, browser_exit_fullscreen, (), {
    if (!document.fullscreenElement) return;
    Module.leavingFullscreen = true;
    document.exitFullscreen().catch(function () {});
});
EM_JS(int, browser_fullscreen, (), {
    return document.fullscreenElement && document.fullscreenElement === (Module.fullscreenTarget || Module.canvas) ? 1 : 0;
});

// The canvas's drawing buffer, which the page sizes to the space it gives
// the game (platform/browser/page.js); laid out again once GLFW has made it.
EM_JS(void, browser_layout, (), {
    if (Module.layoutGame) Module.layoutGame();
});
EM_JS(int, browser_canvas_width, (), { return Module.canvas.width | 0; });
EM_JS(int, browser_canvas_height, (), { return Module.canvas.height | 0; });

// Mouse buttons released where GLFW does not see it (platform/browser/glimmerdeep.pre.js).
EM_JS(int, browser_take_pointer_releases, (), {
    var released = Module.pointerReleases | 0;
    Module.pointerReleases = 0;
    return released;
});

// Moments the page lost the player's attention without losing the focus.
EM_JS(int, browser_attention_losses, (), { return Module.attentionLosses | 0; });

EM_JS(void, browser_frame_drawn, (), { Module.framesDrawn++; });

// Returns at the display's next refresh, when the page shows what was drawn
// since the last, or after 100 ms at the latest: a hidden page gets no
// refreshes, and the loop must still see it go. One refresh is asked for at
// a time, however long the page stays hidden. The program resumes as from
// its other waits (a user callback), so that its end there is quiet.
EM_JS(void, browser_next_refresh, (), {
    Asyncify.handleSleep(function (wakeUp) {
        // Whichever comes first wakes the loop and calls the timer off, so
        // that no timer is left pending behind every pass.
        var woken = false, timer = 0;
        var wake = function () {
            if (woken) return;
            woken = true;
            clearTimeout(timer);
            wakeUp();
        };
        Module.refreshWaiter = wake;
        timer = setTimeout(function () { callUserCallback(wake); }, 100);
        if (Module.refreshAsked) return;
        Module.refreshAsked = true;
        requestAnimationFrame(function () {
            Module.refreshAsked = false;
            callUserCallback(Module.refreshWaiter);
        });
    });
});

// At the end the sound stops with the program: OpenAL's contexts are fed by
// timers of the page that would loop the tune on under the closing picture.
// GLFW's pad listeners go too, since they allocate in the program's memory.
EM_JS(void, browser_end_page_work, (), {
    if (typeof AL != "undefined" && AL.contexts) {
        for (var id in AL.contexts) {
            var context = AL.contexts[id];
            if (!context) continue;
            clearInterval(context.interval);
            context.audioCtx.suspend();
        }
    }
    if (typeof GLFW != "undefined") {
        window.removeEventListener("gamepadconnected", GLFW.onGamepadConnected, true);
        window.removeEventListener("gamepaddisconnected", GLFW.onGamepadDisconnected, true);
    }
});

// GLFW's gamepad buttons, in GLFW's order, as numbered in the browser's
// standard layout.
const int kStandardButtons[GLFW_GAMEPAD_BUTTON_LAST + 1] = {
    0,   // A
    1,   // B
    2,   // X
    3,   // Y
    4,   // left bumper
    5,   // right bumper
    8,   // back
    9,   // start
    16,  // guide
    10,  // left thumb
    11,  // right thumb
    12,  // d-pad up
    15,  // d-pad right
    13,  // d-pad down
    14,  // d-pad left
};

}  // namespace

// The gamepad calls of GLFW 3.3, from the browser's Gamepad API: a pad the
// browser knows has the standard layout, whose sticks GLFW already passes on
// unchanged (y down) and whose buttons are renumbered here.
extern "C" {

int glfwJoystickIsGamepad(int jid) {
    return glfwJoystickPresent(jid) && browser_pad_is_standard(jid);
}

int glfwGetGamepadState(int jid, GLFWgamepadstate* state) {
    if (!glfwJoystickIsGamepad(jid)) return GLFW_FALSE;
    int buttonCount = 0, axisCount = 0;
    const unsigned char* buttons = glfwGetJoystickButtons(jid, &buttonCount);
    const float* axes = glfwGetJoystickAxes(jid, &axisCount);
    if (!buttons || !axes) return GLFW_FALSE;
    for (int i = 0; i <= GLFW_GAMEPAD_BUTTON_LAST; ++i) {
        const int b = kStandardButtons[i];
        state->buttons[i] = b < buttonCount && buttons[b] ? GLFW_PRESS : GLFW_RELEASE;
    }
    for (int i = 0; i < 4; ++i) state->axes[i] = i < axisCount ? axes[i] : 0.0f;
    // GLFW's triggers run from -1 (released) to 1.
    state->axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] = browser_pad_button_value(jid, 6) * 2 - 1;
    state->axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = browser_pad_button_value(jid, 7) * 2 - 1;
    return GLFW_TRUE;
}

// The browser maps the pads it knows itself; a mapping line cannot change
// that, so there is nothing to add.
int glfwUpdateGamepadMappings(const char*) {
    return GLFW_TRUE;
}

}  // extern "C"

// The browser's GLFW holds one window at a time: no hidden window to share
// GL objects with is made.
XrBrowserGame::XrBrowserGame() {
    _anchorTried = true;
    // The browser's C library starts with a mask of 0777, so a file made
    // with the mask applied (as ReplaceFile makes the state file) gets no
    // permissions at all, which the page's file system then enforces: the
    // state could not be read back. Its files are the program's alone.
    umask(022);
    _desktopMode = {browser_screen_width(), browser_screen_height(), 8, 8, 8, 60};
}

// The canvas is made once; from then on its size is the page's, which gives
// the game the space it has, in full screen the whole screen. Browsers allow
// full screen only for a few seconds after the player pressed or clicked
// something, which F11 has just been.
void XrBrowserGame::SetDeviceWindow(int width, int height, int flags) {
    if (!_window) {
        XrGlfwGame::SetDeviceWindow(width, height, flags & ~WINDOW_FULLSCREEN);
        browser_layout();
        FollowCanvas();
        if (!(flags & WINDOW_FULLSCREEN)) return;
    }
    if (flags & WINDOW_FULLSCREEN)
        browser_request_fullscreen();
    else
        browser_exit_fullscreen();
}

bool XrBrowserGame::Fullscreen() {
    return browser_fullscreen();
}

// The canvas keeps its last frame under the page's closing picture: ending
// GLFW would shrink it to a pixel, destroying the window would report a
// close. The program's objects are gone, so nothing may call into them.
void XrBrowserGame::Shutdown() {
    browser_end_page_work();
    glfwSetJoystickCallback(nullptr);
    if (!_window) return;
    glfwSetKeyCallback(_window, nullptr);
    glfwSetCharCallback(_window, nullptr);
    glfwSetMouseButtonCallback(_window, nullptr);
    glfwSetCursorPosCallback(_window, nullptr);
    glfwSetWindowCloseCallback(_window, nullptr);
    glfwSetWindowSizeCallback(_window, nullptr);
    glfwSetFramebufferSizeCallback(_window, nullptr);
}

// Every pass of the loop gives the page its turn: only then does the page
// show the frame and deliver input. The passes follow the display's
// refreshes, each running the update due nearest to it, so that on a 60 Hz
// display every refresh shows one new frame (timers alone drift against the
// display, showing some frames twice and others never), a faster display
// gets an update every other refresh or so, and a slow page catches up as on
// the desktop. While suspended nothing is scheduled, and the focus is looked
// at again ten times a second.
void XrBrowserGame::WaitForUpdate() {
    browser_frame_drawn();
    if (_suspended) {
        Sleep(0.1);
    } else {
        do browser_next_refresh();
        while (_nextUpdate != 0 && _nextUpdate - GetTime() > _updatePeriod / 2);
    }
    FollowCanvas();
    ReleasePointer();
}

// The page may have resized the canvas (a rotated device, a resized window,
// full screen) while the loop waited: the game draws at its size from the
// next frame, and pointer positions are already in its pixels.
void XrBrowserGame::FollowCanvas() {
    _width = _windowWidth = browser_canvas_width();
    _height = _windowHeight = browser_canvas_height();
}

void XrBrowserGame::ReleasePointer() {
    const int released = browser_take_pointer_releases();
    for (int button = 0; button < 3; ++button)
        if (released & (1 << button)) OnMouseButton(_window, button, GLFW_RELEASE, 0);
}

// Losing the player's attention reads as one pass without the focus, which
// suspends the game (and so pauses play) before the focus brings it back.
bool XrBrowserGame::WindowFocused() {
    const int losses = browser_attention_losses();
    if (losses != _attentionLosses) {
        _attentionLosses = losses;
        return false;
    }
    return _window && browser_page_focused();
}
