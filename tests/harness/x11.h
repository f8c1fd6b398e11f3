// Talking to windows on the test X server from outside their program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <sys/types.h>

#include "tests/harness/process.h"

// The id of the game window of process `pid`, waiting for it to appear;
// empty when it does not within a few seconds.
std::string WaitForGameWindow(pid_t pid);

// The same, then gives the window the keyboard focus, as a player's click
// would: the game only hears keys while focused.
std::string FocusGameWindow(pid_t pid);

// Asks the window to close, as a window manager's close button does.
void SendCloseRequest(unsigned long window);

// Runs xdotool with the given arguments; returns what it printed.
std::string Xdotool(const std::string& arguments);

// Waits `seconds` (nothing for 0 or less).
void Pause(double seconds);

// Holds a key down for `seconds`, then lets go and waits `gap`: the game
// reads which keys are down at each update, so a press and release between
// two updates would go unseen, as with any real player.
void Hold(const std::string& key, double seconds = 0.1, double gap = 0.15);

// Holds a key for a tenth of a second and waits as long again.
void PressKey(const std::string& key);

// Holds a key down until the game has seen it go down, then lets go and
// waits until it has seen it go up, however slow its updates are: the game
// runs with GLIMMERDEEP_PACING set and its output going to `output`, where
// an update says "pacing key=CODE down" (and "up") for every key it sees
// change. Only one key may be held at a time. False when either was not
// seen within `seconds`.
bool PressKeySeen(const std::string& key, ProcessOutput& output, double seconds = 20);

// Presses the left button at a point given as fractions of the window's
// size, holding it as long as a key.
void Click(const std::string& window, double fx, double fy);

// The first steps of a run of the game: its window found and focused, the
// loading screen over and the menu come in and standing still. The game must
// run with GLIMMERDEEP_PACING set and its output going to `output`. Returns
// the window, empty when none appeared or no menu came.
std::string EnterMenu(pid_t pid, ProcessOutput& output);

// From the menu (EnterMenu): into Options and out again, which saves the
// state, then quits with F4. The game window must have the focus.
void SaveThroughTheOptionsAndQuit();

// What a window shows now, read from the X server: 0xRRGGBB pixels, rows
// top to bottom; empty when it cannot be read.
struct WindowImage {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};
WindowImage CaptureWindow(const std::string& window);

// The child of `window` that is exactly `width` x `height` (where a program
// draws inside a frame of its own, as Wine's windows do), or `window` itself.
std::string InnerWindow(const std::string& window, int width, int height);
