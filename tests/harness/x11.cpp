#include "tests/harness/x11.h"

#include <cstdio>
#include <sstream>
#include <vector>

#include <X11/Xlib.h>

#include "tests/harness/process.h"

std::string Xdotool(const std::string& arguments) {
    std::vector<std::string> argv = {"/usr/bin/xdotool"};
    std::istringstream words(arguments);
    for (std::string w; words >> w;) argv.push_back(w);
    ProcessOptions options;
    options.timeoutSeconds = 10;
    return RunProcess(argv, options).out;
}

void PressKey(const std::string& key) {
    Xdotool("keydown " + key);
    RunProcess({"/bin/sleep", "0.1"});
    Xdotool("keyup " + key);
    RunProcess({"/bin/sleep", "0.1"});
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
    RunProcess({"/bin/sleep", "2.5"});  // the loading screen
    PressKey("Down");
    PressKey("Return");
    RunProcess({"/bin/sleep", "1"});
    PressKey("Escape");
    PressKey("F4");
}
