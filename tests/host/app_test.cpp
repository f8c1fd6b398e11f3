// The application layer, in this process and as a separate program.
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "game/modules.h"
#include "graphics/graphics.h"
#include "host/app.h"
#include "host/glfwgame.h"
#include "tests/harness/host_fixture.h"
#include "tests/harness/process.h"
#include "tests/harness/scratch.h"
#include "tests/harness/test_roots.h"
#include "tests/harness/x11.h"

namespace {

class ModesHost : public XrGlfwGame {
public:
    std::vector<std::pair<int, int>> sizes;
    bool desktop = true;

    Array<XrDisplayMode*> GetDisplayModes() override {
        Array<XrDisplayMode*> modes(int(sizes.size()));
        for (int i = 0; i < modes.Length(); ++i) {
            gc_assign(modes[i], new XrDisplayMode());
            modes[i]->width = sizes[size_t(i)].first;
            modes[i]->height = sizes[size_t(i)].second;
            modes[i]->hertz = 50 + i;
        }
        return modes;
    }
    XrDisplayMode* GetDesktopMode() override {
        if (!desktop) return nullptr;
        XrDisplayMode* mode = new XrDisplayMode();
        mode->width = 1920;
        mode->height = 1200;
        return mode;
    }
};

class ResizeCountingApp : public c_App {
public:
    int resizes = 0;
    int p_OnResize() override {
        ++resizes;
        return 0;
    }
};

// Each test has the framework's globals fresh, with its own host.
class AppLayer : public ::testing::Test {
protected:
    ModesHost host;
    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "null", 1);  // a silent device, whatever the machine has
        ResetModules();
        xr_app__game = &host;
    }
    void TearDown() override { ResetModules(); }
};

TEST_F(AppLayer, DisplayModesOfOneSizeCountOnce) {
    host.sizes = {{640, 480}, {800, 600}, {640, 480}, {1024, 768}, {800, 600}};
    xr_app_EnumDisplayModes();
    Array<c_DisplayMode*> modes = xr_app_DisplayModes();
    ASSERT_EQ(modes.Length(), 3);
    EXPECT_EQ(modes[0]->p_Width(), 640);
    EXPECT_EQ(modes[1]->p_Width(), 800);
    EXPECT_EQ(modes[2]->p_Height(), 768);
    EXPECT_EQ(xr_app_DesktopMode()->p_Width(), 1920);

    host.desktop = false;
    host.sizes.clear();
    xr_app__devWidth = 333;
    xr_app__devHeight = 222;
    xr_app_EnumDisplayModes();
    EXPECT_EQ(xr_app_DisplayModes().Length(), 0);
    EXPECT_EQ(xr_app_DesktopMode()->p_Width(), 333) << "no desktop mode: the device size";
    EXPECT_EQ(xr_app_DesktopMode()->p_Height(), 222);
}

TEST_F(AppLayer, OwnWindowChangesAreSeenAtOnceAndTheUsersAtTheNextUpdate) {
    ResizeCountingApp* app = new ResizeCountingApp();
    app->m_new();
    host.SetDeviceWindow(320, 240, WINDOW_GAME);
    host.StartGame();
    EXPECT_EQ(xr_app_DeviceWidth(), 320);
    EXPECT_NE(xr_graphics_device, nullptr);
    EXPECT_NE(xr_input_device, nullptr);

    xr_app_SetDeviceWindow(400, 300, WINDOW_GAME);
    EXPECT_EQ(xr_app_DeviceWidth(), 400);
    EXPECT_EQ(xr_app_DeviceHeight(), 300);
    host.UpdateGame();
    EXPECT_EQ(app->resizes, 0);

    glfwSetWindowSize(host.Window(), 500, 350);
    ASSERT_TRUE(PollUntil([&] { return host.GetDeviceWidth() == 500; }));
    EXPECT_EQ(xr_app_DeviceWidth(), 400) << "not seen before the next update";
    host.UpdateGame();
    EXPECT_EQ(xr_app_DeviceWidth(), 500);
    EXPECT_EQ(app->resizes, 1);
}

struct CountingSource : Object, c_IAsyncEventSource {
    int calls = 0;
    bool clearOnce = false;
    int p_UpdateAsyncEvents() override {
        ++calls;
        if (clearOnce) {
            clearOnce = false;
            xr_asyncevent__current = nullptr;
        }
        return 0;
    }
};

TEST_F(AppLayer, AsyncEventPumpVisitsEverySource) {
    CountingSource* first = new CountingSource();
    CountingSource* second = new CountingSource();
    first->clearOnce = true;
    xr_asyncevent__sources->p_Push(first);
    xr_asyncevent__sources->p_Push(second);
    xr_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(first->calls, 2) << "a source that ends the walk is visited again";
    EXPECT_EQ(second->calls, 1);
    EXPECT_EQ(xr_asyncevent__current, nullptr);

    gc_assign(xr_asyncevent__current, static_cast<c_IAsyncEventSource*>(second));
    xr_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(second->calls, 1) << "no pumping from inside a source";
}

ProcessResult run_app(const char* what, std::function<void(pid_t)> drive, std::vector<std::string> env = {}) {
    ProcessOptions options;
    options.whileRunning = std::move(drive);
    options.env = std::move(env);
    return RunProcess({APP_PROGRAM, what}, options);
}

TEST(AppProgram, ASecondApplicationIsARuntimeError) {
    ProcessResult r = run_app("twice", nullptr);
    EXPECT_EQ(r.status, 255);
    EXPECT_NE(r.out.find("Vantle Runtime Error : App has already been created\n\n"), std::string::npos);
}

TEST(AppProgram, TheCloseButtonEndsTheProgramAfterTheInputSawIt) {
    ProcessResult r = run_app("close", [](pid_t pid) {
        std::string window = WaitForGameWindow(pid);
        if (!window.empty()) SendCloseRequest(std::stoul(window));
    });
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("created 640\n"), std::string::npos);
    EXPECT_NE(r.out.find("close key down 1\n"), std::string::npos) << r.out;
}

// File names are bytes: a program in a folder whose name is Latin-1, or holds
// a character of four UTF-8 bytes, finds the data beside it.
TEST(AppProgram, FindsItsDataInAFolderOfAnyName) {
    namespace fs = std::filesystem;
    ScratchFolder scratch("names");
    for (const std::string name : {"caf\xE9", "reef \xF0\x9F\x90\xA0 caf\xC3\xA9"}) {
        const fs::path folder = scratch / name;
        fs::create_directories(folder / "data");
        fs::copy_file(APP_PROGRAM, folder / "app_program");
        std::ofstream(folder / "data" / "probe.txt") << "found";
        ProcessResult r = RunProcess({(folder / "app_program").string(), "probe"});
        EXPECT_EQ(r.status, 0) << name;
        EXPECT_EQ(r.out, "probe found\n") << name;
    }
}

// Without any sound device the game says so once and goes on, silent.
TEST(AppProgram, RealKeysReachTheGameWithOrWithoutSound) {
    for (const char* driver : {"nosuchdriver", "null"}) {
        ProcessResult r = run_app(
            "keys",
            [](pid_t pid) {
                if (FocusGameWindow(pid).empty()) return;
                Xdotool("key --delay 40 a Prior q");
            },
            {std::string("ALSOFT_DRIVERS=") + driver});
        EXPECT_EQ(r.status, 0) << driver;
        EXPECT_NE(r.out.find("hit 65\nhit 33\n"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("hit 81\n"), std::string::npos) << r.out;
        bool silent = r.out.find("OpenAl error: alcOpenDevice failed\n") != std::string::npos;
        EXPECT_EQ(silent, std::string(driver) == "nosuchdriver") << r.out;
    }
}

}  // namespace
