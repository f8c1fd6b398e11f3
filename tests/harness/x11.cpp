#include "tests/harness/x11.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "tests/harness/process.h"

std::string Xdotool(const std::string& arguments) {
    std::vector<std::string> argv = {"/usr/bin/xdotool"};
    std::istringstream words(arguments);
    for (std::string w; words >> w;) argv.push_back(w);
    ProcessOptions options;
    options.timeoutSeconds = 10;
    return RunProcess(argv, options).out;
}

void Pause(double seconds) {
    if (seconds > 0) usleep(useconds_t(seconds * 1e6));
}

void Hold(const std::string& key, double seconds, double gap) {
    Xdotool("keydown " + key);
    Pause(seconds);
    Xdotool("keyup " + key);
    Pause(gap);
}

void PressKey(const std::string& key) {
    Hold(key, 0.1, 0.1);
}

namespace {

// How many keys the game has said it saw go `way` ("down" or "up").
size_t keys_seen(const std::string& err, const char* way) {
    const std::string marker = "pacing key=";
    size_t count = 0;
    for (size_t at = err.find(marker); at != std::string::npos; at = err.find(marker, at + 1)) {
        const size_t code = at + marker.size();
        const size_t after = err.find_first_not_of("0123456789", code);
        if (after == std::string::npos || after == code || err.find('\n', after) == std::string::npos) continue;
        if (err.compare(after, std::strlen(way) + 1, std::string(" ") + way) == 0) ++count;
    }
    return count;
}

bool wait_for_key(ProcessOutput& output, const char* way, size_t count, double seconds) {
    return output.WaitFor([&](const std::string&, const std::string& err) { return keys_seen(err, way) > count; },
                          seconds);
}

}  // namespace

bool PressKeySeen(const std::string& key, ProcessOutput& output, double seconds) {
    const std::string before = output.Err();
    const size_t downs = keys_seen(before, "down"), ups = keys_seen(before, "up");
    Xdotool("keydown " + key);
    const bool down = wait_for_key(output, "down", downs, seconds);
    Xdotool("keyup " + key);
    return wait_for_key(output, "up", ups, seconds) && down;
}

void Click(const std::string& window, double fx, double fy) {
    std::string geometry = Xdotool("getwindowgeometry " + window);
    int width = 0, height = 0;
    size_t at = geometry.find("Geometry: ");
    if (at == std::string::npos || std::sscanf(geometry.c_str() + at, "Geometry: %dx%d", &width, &height) != 2)
        return;
    const int x = int(fx * width), y = int(fy * height);
    Xdotool("mousemove --window " + window + " " + std::to_string(x) + " " + std::to_string(y));
    Xdotool("mousedown 1");
    Pause(0.1);
    Xdotool("mouseup 1");
    Pause(0.15);
}

std::string WaitForGameWindow(pid_t pid) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string out = Xdotool("search --onlyvisible --pid " + std::to_string(pid) + " --name ^Glimmerdeep$");
        if (!out.empty()) return out.substr(0, out.find('\n'));
        ProcessOptions pause;
        RunProcess({"/bin/sleep", "0.05"}, pause);
    }
    return std::string();
}

std::string FocusGameWindow(pid_t pid) {
    std::string window = WaitForGameWindow(pid);
    if (!window.empty()) Xdotool("windowfocus --sync " + window);
    return window;
}

void SendCloseRequest(unsigned long window) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    XEvent close = {};
    close.xclient.type = ClientMessage;
    close.xclient.window = window;
    close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &close);
    XCloseDisplay(display);
}

void SaveThroughTheOptionsAndQuit() {
    PressKey("Down");
    PressKey("Return");
    RunProcess({"/bin/sleep", "1"});
    PressKey("Escape");
    PressKey("F4");
}

WindowImage CaptureWindow(const std::string& window) {
    WindowImage shot;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return shot;
    const Window id = std::strtoul(window.c_str(), nullptr, 10);
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, id, &attributes) && attributes.map_state == IsViewable) {
        XImage* image = XGetImage(display, id, 0, 0, unsigned(attributes.width), unsigned(attributes.height),
                                  AllPlanes, ZPixmap);
        if (image) {
            shot.width = attributes.width;
            shot.height = attributes.height;
            shot.pixels.reserve(size_t(shot.width) * size_t(shot.height));
            for (int y = 0; y < shot.height; ++y)
                for (int x = 0; x < shot.width; ++x) shot.pixels.push_back(uint32_t(XGetPixel(image, x, y) & 0xFFFFFF));
            XDestroyImage(image);
        }
    }
    XCloseDisplay(display);
    return shot;
}

std::string InnerWindow(const std::string& window, int width, int height) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return window;
    std::string inner = window;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, std::strtoul(window.c_str(), nullptr, 10), &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes a;
            if (XGetWindowAttributes(display, children[i], &a) && a.width == width && a.height == height)
                inner = std::to_string(children[i]);
        }
        if (children) XFree(children);
    }
    XCloseDisplay(display);
    return inner;
}

std::string EnterMenu(pid_t pid, ProcessOutput& output) {
    std::string window = FocusGameWindow(pid);
    if (window.empty()) return window;
    // However long the loading takes on a busy machine: the game says when
    // its menu is drawn, and the menu has come in when two frames a quarter
    // of a second apart are the same.
    if (!output.WaitForErr("pacing moment=menu", 60)) return std::string();
    WindowImage last = CaptureWindow(window);
    for (int look = 0; look < 80; ++look) {
        RunProcess({"/bin/sleep", "0.25"});
        WindowImage now = CaptureWindow(window);
        if (!now.pixels.empty() && now.pixels == last.pixels) break;
        last = std::move(now);
    }
    return window;
}
