#include "tests/harness/desktop.h"

#include <csignal>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

pid_t spawn(const std::vector<std::string>& args, int keepFd) {
    pid_t pid = fork();
    if (pid != 0) return pid;
    int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    for (int fd = 3; fd < 1024; ++fd)
        if (fd != keepFd) close(fd);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
}

// Whether a window manager has announced itself on the root window.
bool manager_running() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type,
                                    &format, &count, &after, &data) == Success &&
                 count == 1;
    if (data) XFree(data);
    XCloseDisplay(display);
    return found;
}

}  // namespace

pid_t Spawn(const std::vector<std::string>& args) {
    return spawn(args, -1);
}

void Stop(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        usleep(20000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

Desktop::Desktop() {
    if (const char* display = std::getenv("DISPLAY")) {
        hadDisplay_ = true;
        previousDisplay_ = display;
    }
    // Xvfb finds a free display itself and writes its number down the pipe
    // once it accepts connections. Without -noreset it would start afresh,
    // refusing connections meanwhile, each time its last client leaves.
    int ready[2];
    if (pipe(ready) != 0) {
        error_ = "no pipe for the X server";
        return;
    }
    server_ = spawn({"/usr/bin/Xvfb", "-displayfd", std::to_string(ready[1]), "-screen", "0", "1024x768x24",
                     "-nolisten", "tcp", "-noreset"},
                    ready[1]);
    close(ready[1]);
    std::string number;
    pollfd wait = {ready[0], POLLIN, 0};
    char c = 0;
    while (poll(&wait, 1, 10000) == 1 && read(ready[0], &c, 1) == 1 && c != '\n') number += c;
    close(ready[0]);
    if (number.empty()) {
        error_ = "Xvfb did not start (is the xvfb package installed?)";
        return;
    }
    setenv("DISPLAY", (":" + number).c_str(), 1);
    bool accepts = false;
    for (int i = 0; i < 250 && !accepts; ++i) {
        if (Display* display = XOpenDisplay(nullptr)) {
            XCloseDisplay(display);
            accepts = true;
        } else {
            usleep(20000);
        }
    }
    if (!accepts) {
        error_ = "the X server on :" + number + " accepts no connection";
        return;
    }

    manager_ = spawn({"/usr/bin/openbox", "--sm-disable"}, -1);
    for (int i = 0; i < 500 && !manager_running(); ++i) usleep(20000);
    if (!manager_running()) error_ = "openbox did not take the screen (is the openbox package installed?)";
}

Desktop::~Desktop() {
    Stop(manager_);
    Stop(server_);
    if (hadDisplay_)
        setenv("DISPLAY", previousDisplay_.c_str(), 1);
    else
        unsetenv("DISPLAY");
}
