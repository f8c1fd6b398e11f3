// The whole game in this process, driven by the test: the real game object,
// devices and data, a clock that moves only when the test says so, and key
// and mouse events delivered as the window system would. Or the shell alone,
// its screens called one update at a time (ShellTest).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/mygame.h"
#include "host/glfwgame.h"
#include "tests/harness/data_host.h"
#include "tests/harness/scratch.h"

// Assets come from the build's data folder.
class DriverHost : public DataHost {
public:
    DriverHost() {
        dataFolder = GLIMMERDEEP_DATA_DIR;
        now = 1000;
    }
    bool canQuit = true;  // false: a host in a web page
    bool CanQuit() override { return canQuit; }
};

class GameDriver {
public:
    // Starts the game in a fresh working folder of its own (where the state
    // file lives), in a window of the given size, on a host that offers a way
    // to quit or, as in a web page, none.
    explicit GameDriver(int width = 1024, int height = 768, bool canQuit = true);
    ~GameDriver();

    // Updates at 60 a second, the clock moving with them.
    void Update(int count = 1);
    void Render();
    // Updates until the loading screen has finished.
    void Load();
    // Loads, then starts a game of the given difficulty from the menu.
    void StartGame(int type);

    void Press(int key);
    void Release(int key);
    // Pressed for one update, then released for one.
    void Tap(int key);
    void MouseDown(float x, float y);
    void MouseUp(float x, float y);

    uint32_t Pixel(int x, int y);
    // The whole drawn frame, 0xAARRGGBB, rows top to bottom.
    std::vector<uint32_t> Frame();
    bool SavePng(const std::string& path);

    ScratchFolder folder{"game"};
    DriverHost host;
    c_MyGame* game = nullptr;
    int updates = 0;
};

// The shell as the loading screen leaves it, without the loading: the real
// game object and input device, a silent sound device, the font and the
// images the screens draw taken as loaded, on a DataHost whose data folder
// (one for the suite) holds the music of play and the chime. Each test has a
// working folder of its own, where the state file lives.
class ShellTest : public ::testing::Test {
protected:
    DataHost host;
    c_InputDevice* input = nullptr;
    c_MyGame* game = nullptr;
    ScratchFolder folder{"shell"};

    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;
    // A new run in the same folder, without its state file: for each case of
    // a table.
    virtual void Fresh();

    // One update, as the game's update runs it, with `screen` the screen up.
    void Update(const std::function<void()>& screen);
    void Key(int key, bool down);

private:
    static std::unique_ptr<ScratchFolder> data_;
};
