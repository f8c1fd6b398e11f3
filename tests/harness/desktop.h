// A desktop of the test's own: an X server with a window manager on it, as a
// player has, rather than a bare server. While it lives, DISPLAY names it, so
// that xdotool, Xlib and the programs a test starts all meet there.
#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

class Desktop {
public:
    // Starts Xvfb on a free display and openbox on it, and waits until the
    // window manager has taken the screen.
    Desktop();
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    bool Ready() const { return error_.empty(); }
    // Why the desktop could not be made; empty when it was.
    const std::string& Error() const { return error_; }

private:
    pid_t server_ = -1;
    pid_t manager_ = -1;
    std::string previousDisplay_;
    bool hadDisplay_ = false;
    std::string error_;
};

// Starts a program in the background with its output discarded: -1 when it
// could not be started.
pid_t Spawn(const std::vector<std::string>& args);
// Ends a program started by Spawn and waits for it.
void Stop(pid_t pid);
