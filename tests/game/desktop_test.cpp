// The real program on a desktop with a window manager, as a player runs it:
// another window taking the focus in mid-game, full screen and back, and
// quitting from full screen. Each test has an X server and openbox of its own.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "tests/harness/desktop.h"
#include "tests/harness/files.h"
#include "tests/harness/process.h"
#include "tests/harness/program_copy.h"
#include "tests/harness/scratch.h"
#include "tests/harness/state_file.h"
#include "tests/harness/x11.h"

namespace {


// What one window shows, read from the X server.
struct Shot {
    int width = 0, height = 0;
    std::vector<unsigned long> pixels;

    bool operator==(const Shot& o) const { return width == o.width && height == o.height && pixels == o.pixels; }
    size_t Colours() const { return std::set<unsigned long>(pixels.begin(), pixels.end()).size(); }
    // The score of play, drawn in green across the top middle of the screen,
    // which neither the menu nor the pause screen shows.
    bool ShowsScore() const {
        for (int y = 0; y < height * 8 / 100; ++y)
            for (int x = width * 4 / 10; x < width * 6 / 10; ++x) {
                const unsigned long p = pixels[size_t(y) * width + x];
                const int r = int(p >> 16 & 255), g = int(p >> 8 & 255), b = int(p & 255);
                if (g > 150 && g > r + 60 && g > b + 60) return true;
            }
        return false;
    }
};

// A window that is gone by the time it is read gives an empty shot, not
// Xlib's default of ending the test program.
int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

Shot Capture(const std::string& window) {
    Shot shot;
    if (window.empty()) return shot;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return shot;
    XSetErrorHandler(IgnoreXErrors);
    const Window id = std::strtoul(window.c_str(), nullptr, 10);
    XWindowAttributes a;
    if (XGetWindowAttributes(display, id, &a) && a.map_state == IsViewable) {
        if (XImage* image = XGetImage(display, id, 0, 0, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap)) {
            shot.width = a.width;
            shot.height = a.height;
            for (int y = 0; y < a.height; ++y)
                for (int x = 0; x < a.width; ++x) shot.pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
            XDestroyImage(image);
        }
    }
    XCloseDisplay(display);
    return shot;
}

// The game's window once it differs from `old` (re-created by F11), focused;
// empty when none has appeared within a few seconds.
std::string NewGameWindow(pid_t pid, const std::string& old) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string found = Xdotool("search --onlyvisible --pid " + std::to_string(pid) + " --name ^Glimmerdeep$");
        found = found.substr(0, found.find('\n'));
        if (!found.empty() && found != old) {
            Xdotool("windowactivate --sync " + found);
            Pause(0.3);
            return found;
        }
        Pause(0.05);
    }
    return std::string();
}

// Whether the X server's screen saver prefers blanking: the desktop's own
// setting, which a full-screen window turns off while it holds the monitor
// and gives back when it is destroyed, together with the monitor's mode.
std::string ScreenSaverBlanks() {
    ProcessResult r = RunProcess({"/usr/bin/xset", "q"});
    const size_t at = r.out.find("prefer blanking:");
    if (at == std::string::npos) return "xset gave no screen saver settings";
    char word[8] = {};
    std::sscanf(r.out.c_str() + at, "prefer blanking: %7s", word);
    return word;
}

class OnADesktop : public ::testing::Test {
protected:
    std::unique_ptr<Desktop> desktop;
    ScratchFolder folder{"desktop"};

    void SetUp() override {
        desktop = std::make_unique<Desktop>();
        ASSERT_TRUE(desktop->Ready()) << desktop->Error();
    }
    // Runs the game from a fresh folder; `script` drives it once its menu shows.
    ProcessResult Play(const std::function<void(pid_t, const std::string&)>& script,
                       const std::vector<std::string>& arguments = {}) {
        ProcessOutput output;
        ProcessOptions options;
        options.workDir = folder.path();
        options.env = {"ALSOFT_DRIVERS=null", "GLIMMERDEEP_PACING=1"};
        options.timeoutSeconds = 90;
        options.output = &output;
        options.whileRunning = [&](pid_t pid) {
            std::string window = EnterMenu(pid, output);
            if (window.empty()) return;
            Xdotool("windowactivate --sync " + window);
            script(pid, window);
            if (Alive(pid)) PressKey("F4");
        };
        std::vector<std::string> args = {GLIMMERDEEP_EXE};
        args.insert(args.end(), arguments.begin(), arguments.end());
        return RunProcess(args, options);
    }
};

// From the menu into play: Return on the menu, Return on the difficulty.
// Returns once the score shows. On a busy machine a key can arrive while a
// screen is still coming in and be missed: the last one is pressed again.
bool StartAGame(const std::string& window) {
    PressKey("Return");
    PressKey("Return");
    for (int attempt = 0; attempt < 3; ++attempt) {
        for (int i = 0; i < 30; ++i) {
            Pause(0.1);
            if (Capture(window).ShowsScore()) return true;
        }
        PressKey("Return");
    }
    return false;
}

// Another window takes the focus in mid-game: the game's window keeps showing
// the cave as it was, even after the other window has passed over it; with
// the focus back, the pause screen is up; Escape resumes play.
TEST_F(OnADesktop, LosingTheFocusKeepsTheCaveAndComesBackPaused) {
    Shot playing, away, later, uncovered, back, resumed;
    std::string gameWindow, focusWhileAway;
    ProcessResult r = Play([&](pid_t, const std::string& game) {
        gameWindow = game;
        ASSERT_TRUE(StartAGame(game)) << "no play after the menu";
        playing = Capture(game);

        pid_t xterm = Spawn({"/usr/bin/xterm", "-geometry", "30x6+10+10"});
        std::string other = Xdotool("search --sync --class xterm");
        other = other.substr(0, other.find('\n'));
        Xdotool("windowactivate --sync " + other);
        Pause(0.6);
        focusWhileAway = Xdotool("getwindowfocus");
        focusWhileAway = focusWhileAway.substr(0, focusWhileAway.find('\n'));
        away = Capture(game);
        Pause(0.7);
        later = Capture(game);
        // Over the game's window and off it again: the window is drawn anew.
        Xdotool("windowmove --sync " + other + " 300 250");
        Pause(0.4);
        Xdotool("windowmove --sync " + other + " 10 10");
        Pause(0.6);
        uncovered = Capture(game);

        Xdotool("windowactivate --sync " + game);
        Pause(0.6);
        back = Capture(game);
        PressKey("Escape");
        Pause(0.6);
        resumed = Capture(game);
        Stop(xterm);
    });
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.out.find("Vantle Runtime Error"), std::string::npos) << r.out;

    ASSERT_GT(playing.Colours(), 20u) << "the cave in play";
    ASSERT_TRUE(playing.ShowsScore()) << "the score is found where play draws it";
    EXPECT_NE(focusWhileAway, gameWindow) << "the other window has the focus";
    EXPECT_GT(away.Colours(), 20u) << "not blank while away: the cave is still there";
    EXPECT_TRUE(away.ShowsScore()) << "the last frame of play, not the pause screen";
    EXPECT_TRUE(later == away) << "nothing moves while the game waits";
    EXPECT_TRUE(uncovered == away) << "drawn again after another window passed over it";
    EXPECT_FALSE(back.ShowsScore()) << "the focus back: the pause screen, not play";
    EXPECT_GT(back.Colours(), 5u) << "the pause screen is drawn";
    EXPECT_TRUE(resumed.ShowsScore()) << "Escape resumes play";
}

// F11 makes the window full screen and back, drawing play with every image
// still in place.
TEST_F(OnADesktop, FullScreenAndBackDrawPlayWhole) {
    Shot windowed, full, again;
    std::string sizeFull, sizeBack;
    ProcessResult r = Play([&](pid_t pid, const std::string& first) {
        ASSERT_TRUE(StartAGame(first)) << "no play after the menu";
        windowed = Capture(first);
        PressKey("F11");
        std::string window = NewGameWindow(pid, first);
        ASSERT_FALSE(window.empty()) << "no full-screen window";
        sizeFull = Xdotool("getwindowgeometry " + window);
        full = Capture(window);
        PressKey("F11");
        std::string back = NewGameWindow(pid, window);
        ASSERT_FALSE(back.empty()) << "no window after full screen";
        sizeBack = Xdotool("getwindowgeometry " + back);
        again = Capture(back);
    });
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.out.find("Vantle Runtime Error"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("GLFW Error"), std::string::npos) << r.out;

    EXPECT_NE(sizeFull.find("Geometry: 1024x768"), std::string::npos) << sizeFull;
    EXPECT_NE(sizeBack.find("Geometry: 640x480"), std::string::npos) << sizeBack;
    EXPECT_EQ(full.width, 1024);
    for (const Shot* shot : {&windowed, &full, &again}) {
        EXPECT_GT(shot->Colours(), 20u) << shot->width << "x" << shot->height;
        EXPECT_TRUE(shot->ShowsScore()) << shot->width << "x" << shot->height << ": the font's texture drew";
    }
}

// However the program ends in full screen, it gives the desktop back what
// the full-screen window took from it. The close button's request arrives in
// the middle of the window system's event handling, F4 in an update.
TEST_F(OnADesktop, QuittingFromFullScreenGivesTheDesktopBack) {
    const std::string desktopBlanking = ScreenSaverBlanks();
    ASSERT_EQ(desktopBlanking, "yes");
    struct Way {
        const char* name;
        std::function<void(const std::string&)> quit;
    } ways[] = {
        {"F4", [](const std::string&) { PressKey("F4"); }},
        {"the close button", [](const std::string& window) { SendCloseRequest(std::stoul(window)); }},
    };
    for (const Way& way : ways) {
        std::string blankingInFullScreen;
        ProcessResult r = Play([&](pid_t pid, const std::string& first) {
            ASSERT_TRUE(StartAGame(first)) << way.name << ": no play after the menu";
            PressKey("F11");
            std::string window = NewGameWindow(pid, first);
            ASSERT_FALSE(window.empty()) << way.name << ": no full-screen window";
            blankingInFullScreen = ScreenSaverBlanks();
            way.quit(window);
            for (int i = 0; i < 100 && Alive(pid); ++i) Pause(0.05);
        });
        EXPECT_EQ(r.status, 0) << way.name << "\n" << r.out << r.err;
        EXPECT_EQ(r.out.find("GLFW Error"), std::string::npos) << way.name << "\n" << r.out;
        EXPECT_EQ(blankingInFullScreen, "no") << way.name << ": full screen holds the monitor";
        EXPECT_EQ(ScreenSaverBlanks(), desktopBlanking) << way.name << ": given back when the program ends";
    }
}

// The command line chooses how the window opens; F11 then changes to the
// other mode. A start without arguments opens a window, as it always has:
// the saved settings hold no window mode, and a saved state is there to show
// that it brings none.
TEST_F(OnADesktop, TheCommandLineChoosesTheStartMode) {
    struct Case {
        std::vector<std::string> args;
        const char* first;  // the geometry at start
        const char* after;  // after F11
    } cases[] = {
        {{"--fullscreen"}, "Geometry: 1024x768", "Geometry: 640x480"},
        {{"--windowed"}, "Geometry: 640x480", "Geometry: 1024x768"},
        {{"--windowed", "--fullscreen"}, "Geometry: 1024x768", "Geometry: 640x480"},
        {{}, "Geometry: 640x480", "Geometry: 1024x768"},
    };
    WriteFile(folder.path() / ".vantlestate",
              MakeState(FirstRunSettings(), std::vector<int>(kStateScores)));
    for (const Case& c : cases) {
        std::string label;
        for (const std::string& a : c.args) label += a + " ";
        std::string first, after;
        Shot shot;
        ProcessResult r = Play(
            [&](pid_t pid, const std::string& window) {
                first = Xdotool("getwindowgeometry " + window);
                shot = Capture(window);
                PressKey("F11");
                after = Xdotool("getwindowgeometry " + NewGameWindow(pid, window));
            },
            c.args);
        EXPECT_EQ(r.status, 0) << label << r.out << r.err;
        EXPECT_EQ(r.out.find("GLFW Error"), std::string::npos) << label << r.out;
        EXPECT_NE(first.find(c.first), std::string::npos) << label << first;
        EXPECT_GT(shot.Colours(), 20u) << label << ": the menu is drawn";
        EXPECT_NE(after.find(c.after), std::string::npos) << label << after;
    }
}

}  // namespace
