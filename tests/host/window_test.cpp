// The host's real window under the test X server.
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "tests/harness/host_fixture.h"
#include "tests/harness/process.h"
#include "tests/harness/test_roots.h"
#include "tests/harness/x11.h"

// Last: Xlib's macros would clash with the names above.
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3.h>
#include <GLFW/glfw3native.h>

namespace {

// A host whose next window can be refused a shared context, as a driver may
// refuse it, and whose window and drawing sizes a test can set. It notes any
// window made while the game's previous one was still there, and when the
// window system is having its turn (GLFW's callbacks run then).
class WindowHost : public XrGlfwGame {
public:
    bool refuseSharing = false;
    int madeBesideAnother = 0;
    bool inWindowSystem = false;
    void SetSizes(int windowW, int windowH, int pixelsW, int pixelsH) {
        _windowWidth = windowW, _windowHeight = windowH, _width = pixelsW, _height = pixelsH;
    }

protected:
    void PollEvents(bool wait) override {
        inWindowSystem = true;
        XrGlfwGame::PollEvents(wait);
        inWindowSystem = false;
    }
    GLFWwindow* CreateWindow(int width, int height, GLFWmonitor* monitor, GLFWwindow* share) override {
        if (share && refuseSharing) return nullptr;
        if (Window()) ++madeBesideAnother;
        return XrGlfwGame::CreateWindow(width, height, monitor, share);
    }
};

class HostWindow : public ::testing::Test {
protected:
    WindowHost* host = new WindowHost();
    RecordingDelegate* delegate = new RecordingDelegate();

    void SetUp() override {
        gc_assign(test_roots[0], delegate);
        host->SetDelegate(delegate);
        host->StartGame();
    }
    void TearDown() override {
        delete host;
        test_roots[0] = nullptr;
        glfwPollEvents();
    }
    std::string WindowId() { return std::to_string(glfwGetX11Window(host->Window())); }
};

TEST_F(HostWindow, OpensCentredWithItsTitle) {
    host->SetDeviceWindow(640, 480, WINDOW_GAME);
    int w = 0, h = 0, x = 0, y = 0;
    glfwGetWindowSize(host->Window(), &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_EQ(host->GetDeviceWidth(), 640);
    EXPECT_EQ(host->GetDeviceHeight(), 480);
    ASSERT_TRUE(PollUntil([&] {
        glfwGetWindowPos(host->Window(), &x, &y);
        return x == (1024 - 640) / 2 && y == (768 - 480) / 2;
    })) << x << "," << y;
    EXPECT_EQ(Xdotool("getwindowname " + WindowId()), "Glimmerdeep\n");
    EXPECT_TRUE(glfwGetWindowAttrib(host->Window(), GLFW_VISIBLE));
    EXPECT_TRUE(glfwGetWindowAttrib(host->Window(), GLFW_RESIZABLE));
    EXPECT_TRUE(glfwGetWindowAttrib(host->Window(), GLFW_DECORATED));
    EXPECT_FALSE(glfwGetWindowAttrib(host->Window(), GLFW_FLOATING));
}

TEST_F(HostWindow, FlagsChooseFullScreenAndWindowKinds) {
    host->SetDeviceWindow(800, 600, WINDOW_FULLSCREEN | WINDOW_FLOATING);
    int w = 0, h = 0;
    glfwGetWindowSize(host->Window(), &w, &h);
    EXPECT_NE(glfwGetWindowMonitor(host->Window()), nullptr);
    EXPECT_EQ(w, 1024) << "the test server has one mode: full screen takes it";
    EXPECT_FALSE(glfwGetWindowAttrib(host->Window(), GLFW_RESIZABLE));
    EXPECT_TRUE(glfwGetWindowAttrib(host->Window(), GLFW_FLOATING));

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const unsigned char pixel[4] = {1, 2, 3, 4};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    int seq = glfwGraphicsSeq;
    host->SetDeviceWindow(320, 200, WINDOW_DEPTH_BUFFER);
    EXPECT_EQ(glfwGraphicsSeq, seq) << "the new window shares the old one's objects";
    EXPECT_TRUE(glIsTexture(texture)) << "a texture of the old window is there in the new one";
    EXPECT_EQ(glfwGetWindowMonitor(host->Window()), nullptr);
    EXPECT_FALSE(glfwGetWindowAttrib(host->Window(), GLFW_DECORATED));
    int depth = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    EXPECT_GE(depth, 24);

    host->refuseSharing = true;
    host->SetDeviceWindow(320, 200, 0);
    ASSERT_NE(host->Window(), nullptr) << "a refused shared context still gives a window";
    EXPECT_EQ(glfwGraphicsSeq, seq + 1) << "a context of its own: older textures must be made again";
    EXPECT_FALSE(glIsTexture(texture));

    host->refuseSharing = false;
    host->SetDeviceWindow(320, 200, 0);
    EXPECT_EQ(glfwGraphicsSeq, seq + 2) << "textures made in the unshared context are not in the shared one";
    EXPECT_EQ(host->madeBesideAnother, 0) << "two of the game's windows at once hand the focus between them";
}

// On a scaled desktop the window's screen coordinates are fewer than its
// pixels; the pointer is handed on in pixels, as everything is drawn in them.
TEST_F(HostWindow, PointerPositionsAreInDrawnPixels) {
    host->SetDeviceWindow(320, 240, WINDOW_GAME);
    int fw = 0, fh = 0;
    glfwGetFramebufferSize(host->Window(), &fw, &fh);
    EXPECT_EQ(host->GetDeviceWidth(), fw) << "the device size is the drawing area's";
    EXPECT_EQ(host->GetDeviceHeight(), fh);
    struct Case {
        int windowW, windowH, pixelsW, pixelsH;
        double x, y;
        float px, py;
    } cases[] = {
        {320, 240, 320, 240, 40, 30, 40, 30},
        {640, 480, 1280, 960, 100, 50, 200, 100},
        {640, 480, 960, 720, 101, 33, 151.5f, 49.5f},
    };
    for (const Case& c : cases) {
        host->SetSizes(c.windowW, c.windowH, c.pixelsW, c.pixelsH);
        EXPECT_FLOAT_EQ(host->PointerX(c.x), c.px) << c.pixelsW << " pixels across " << c.windowW;
        EXPECT_FLOAT_EQ(host->PointerY(c.y), c.py) << c.pixelsH << " pixels down " << c.windowH;
    }
}

// The game may end on the close key, destroying the window and GLFW: it hears
// it after the window system's turn, never inside GLFW's callback.
TEST_F(HostWindow, CloseButtonBecomesTheCloseKeyAfterTheCallbackAndTheWindowStays) {
    host->SetDeviceWindow(320, 240, WINDOW_GAME);
    int heardInside = 0;
    delegate->onKey = [&](int, int data) { heardInside += data == 432 && host->inWindowSystem; };
    SendCloseRequest(glfwGetX11Window(host->Window()));
    ASSERT_TRUE(PollUntil([&] { return delegate->Has("key", c_XrGameEvent::KeyUp, 432); },
                          [&] { host->UpdateEvents(); }));
    EXPECT_TRUE(delegate->Has("key", c_XrGameEvent::KeyDown, 432));
    EXPECT_EQ(heardInside, 0) << "the close key was given inside GLFW's callback";
    EXPECT_FALSE(glfwWindowShouldClose(host->Window()));
}

TEST_F(HostWindow, KeysArriveTranslatedAndRecreationReleasesHeldOnes) {
    host->SetDeviceWindow(320, 240, WINDOW_GAME);
    std::string id = WindowId();
    Xdotool("windowfocus --sync " + id);
    Xdotool("keydown Prior");
    ASSERT_TRUE(PollUntil([&] { return delegate->Has("key", c_XrGameEvent::KeyDown, 33); }));
    EXPECT_TRUE(delegate->Has("key", c_XrGameEvent::KeyChar, 65536 + 33));

    delegate->calls.clear();
    host->SetDeviceWindow(400, 300, WINDOW_GAME);
    ASSERT_FALSE(delegate->calls.empty());
    EXPECT_EQ(delegate->calls[0].what, "key");
    EXPECT_EQ(delegate->calls[0].event, c_XrGameEvent::KeyUp);
    EXPECT_EQ(delegate->calls[0].data, 33);
    Xdotool("keyup Prior");
}

TEST_F(HostWindow, OnlyTheFirstThreeMouseButtonsAreEvents) {
    host->SetDeviceWindow(320, 240, WINDOW_GAME);
    std::string id = WindowId();
    Xdotool("mousemove --window " + id + " --sync 40 30");
    Xdotool("click 8");  // a side button: GLFW's button 3
    Xdotool("click 3");  // right: GLFW's button 1
    ASSERT_TRUE(PollUntil([&] { return delegate->Has("mouse", c_XrGameEvent::MouseUp, 1); }));
    for (const DelegateCall& c : delegate->calls) {
        if (c.what != "mouse" || c.event == c_XrGameEvent::MouseMove) continue;
        EXPECT_EQ(c.data, 1) << "event " << c.event;
        EXPECT_FLOAT_EQ(c.x, 40);
        EXPECT_FLOAT_EQ(c.y, 30);
    }
    EXPECT_TRUE(delegate->Has("mouse", c_XrGameEvent::MouseMove, -1));
}

TEST_F(HostWindow, ResizingUpdatesTheDeviceSizeWithoutAnEvent) {
    host->SetDeviceWindow(320, 240, WINDOW_GAME);
    Xdotool("windowsize --sync " + WindowId() + " 500 400");
    ASSERT_TRUE(PollUntil([&] { return host->GetDeviceWidth() == 500; }));
    EXPECT_EQ(host->GetDeviceHeight(), 400);
    for (const DelegateCall& c : delegate->calls) EXPECT_NE(c.what, "key");
}

// The real loop with the real clock: it starts the game, renders before it
// updates, and keeps to the update rate instead of running flat out.
TEST(FrameLoopRealTime, RunsTheGameAtItsRateUntilTheProgramCloses) {
    XrGlfwGame host;
    RecordingDelegate* d = new RecordingDelegate();
    gc_assign(test_roots[0], d);
    host.SetDelegate(d);
    host.SetUpdateRate(60);
    d->onUpdate = [&] {
        if (d->Count("update") == 30) glfwSetWindowShouldClose(host.Window(), GLFW_TRUE);
    };
    double start = glfwGetTime();
    host.Run();
    double elapsed = glfwGetTime() - start;

    ASSERT_GE(d->calls.size(), 3u);
    EXPECT_EQ(d->calls[0].what, "start");
    EXPECT_EQ(d->calls[1].what, "render");
    EXPECT_EQ(d->Count("start"), 1);
    EXPECT_EQ(d->Count("update"), 30);
    EXPECT_GE(d->Count("render"), 8) << "at most 4 updates a frame";
    EXPECT_LE(d->Count("render"), 31) << "frames wait for their update";
    EXPECT_GE(elapsed, 29.0 / 60 - 0.01) << "30 updates at 60 a second take at least 29 periods";
    test_roots[0] = nullptr;
}

}  // namespace
