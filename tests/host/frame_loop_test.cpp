// The frame loop's schedule, driven by a clock the test moves.
#include <gtest/gtest.h>

#include "tests/harness/host_fixture.h"
#include "tests/harness/test_roots.h"

namespace {

class ScriptedHost : public XrGlfwGame {
public:
    double now = 100;
    std::vector<double> sleeps;
    std::vector<bool> waits;
    bool focused = true;

    double GetTime() override { return now; }
    void Sleep(double seconds) override {
        sleeps.push_back(seconds);
        now += seconds;
    }

    // A frame as the loop runs it; rendering and swapping take no time here.
    void Frame() {
        RenderGame();
        WaitForUpdate();
        UpdateEvents();
        RunUpdates();
    }

protected:
    void PollEvents(bool wait) override { waits.push_back(wait); }
    bool WindowFocused() override { return focused; }
};

class FrameLoop : public ::testing::Test {
protected:
    ScriptedHost* host = new ScriptedHost();
    RecordingDelegate* delegate = new RecordingDelegate();

    void SetUp() override {
        gc_assign(test_roots[0], delegate);
        host->SetDelegate(delegate);
        host->StartGame();
    }
    void TearDown() override {
        test_roots[0] = nullptr;
        delete host;
    }
    int UpdatesOfFrame() {
        int before = delegate->Count("update");
        host->Frame();
        return delegate->Count("update") - before;
    }
};

TEST_F(FrameLoop, SlowFramesRunFourUpdatesAndRestartTheSchedule) {
    host->SetUpdateRate(60);
    // Every update takes 25 ms: a frame of 4 updates lasts 100 ms.
    delegate->onUpdate = [this] { host->now += 0.025; };
    for (int frame = 0; frame < 5; ++frame) {
        double start = host->now;
        EXPECT_EQ(UpdatesOfFrame(), 4) << "frame " << frame;
        EXPECT_NEAR(host->now - start, 0.1, 1e-9);
    }
    EXPECT_TRUE(host->sleeps.empty()) << "a schedule that restarts never waits";
}

TEST_F(FrameLoop, OnScheduleFramesWaitForTheNextUpdate) {
    host->SetUpdateRate(50);
    EXPECT_EQ(UpdatesOfFrame(), 1);
    for (int frame = 0; frame < 3; ++frame) {
        host->now += 0.004;  // drawing
        EXPECT_EQ(UpdatesOfFrame(), 1);
    }
    ASSERT_EQ(host->sleeps.size(), 3u);
    for (double s : host->sleeps) EXPECT_NEAR(s, 0.016, 1e-9);
}

TEST_F(FrameLoop, RateZeroRunsOneUpdatePerFrameAndNeverWaits) {
    host->SetUpdateRate(0);
    for (int frame = 0; frame < 10; ++frame) {
        host->now += 0.2;
        EXPECT_EQ(UpdatesOfFrame(), 1);
    }
    EXPECT_TRUE(host->sleeps.empty());
}

TEST_F(FrameLoop, RateChangeInsideAnUpdateStopsTheCatchUp) {
    host->SetUpdateRate(60);
    host->Frame();
    host->now += 1.0;  // far behind: would catch up 4 updates
    delegate->onUpdate = [this] { host->SetUpdateRate(30); };
    EXPECT_EQ(UpdatesOfFrame(), 1);
    delegate->onUpdate = nullptr;
    EXPECT_EQ(UpdatesOfFrame(), 1) << "the next frame restarts the schedule at the new rate";
    host->now += 1.0 / 30;
    EXPECT_EQ(UpdatesOfFrame(), 1);
}

TEST_F(FrameLoop, FocusLossSuspendsOnlyAfterTheWindowHadFocus) {
    host->SetUpdateRate(60);
    host->SetDeviceWindow(160, 120, WINDOW_GAME);  // a new window has not had focus yet
    host->focused = false;
    host->Frame();
    EXPECT_EQ(delegate->Count("suspend"), 0);
    EXPECT_FALSE(host->Suspended());

    host->focused = true;
    host->Frame();
    host->focused = false;
    host->now += 0.5;
    EXPECT_EQ(UpdatesOfFrame(), 0);
    EXPECT_EQ(delegate->Count("suspend"), 1);
    EXPECT_TRUE(host->Suspended());

    // While suspended the loop blocks for events and runs no updates.
    host->now += 10;
    EXPECT_EQ(UpdatesOfFrame(), 0);
    EXPECT_TRUE(host->waits.back());

    // Regaining focus resumes and restarts the schedule: no catch-up for the
    // ten seconds away.
    host->focused = true;
    EXPECT_EQ(UpdatesOfFrame(), 1);
    EXPECT_EQ(delegate->Count("resume"), 1);
    host->Frame();
    EXPECT_FALSE(host->waits.back());
}

struct Held : Object {
    bool* gone;
    explicit Held(bool* gone) : gone(gone) {}
    ~Held() override {
        if (gone) *gone = true;
    }
};

// The collector scans no stack: an object an update holds only in a local
// lives through a host call made from inside that update, as when the window
// is re-created with a key held and the key is let go.
TEST_F(FrameLoop, NoCollectionStepInsideAnotherCall) {
    bool gone = false;
    delegate->onUpdate = [&] {
        Held* held = new Held(&gone);
        gc_ext_malloced(GC_THRESHOLD + 1);  // the next step ends the cycle
        host->KeyEvent(c_XrGameEvent::KeyUp, 65);
        for (int i = 0; i < 100; ++i) new Held(nullptr);  // allocations destroy what was swept
        EXPECT_FALSE(gone) << "freed while the update still held it";
        EXPECT_EQ(held->gone, &gone);
    };
    host->UpdateGame();
    delegate->onUpdate = nullptr;
    EXPECT_TRUE(delegate->Has("key", c_XrGameEvent::KeyUp, 65));
    // Once the update is over the object is garbage like any other.
    gc_ext_malloced(GC_THRESHOLD + 1);
    gc_collect();
    for (int i = 0; i < 10000 && !gone; ++i) new Held(nullptr);
    EXPECT_TRUE(gone);
}

TEST(DelegateCalls, AreGuardedByTheGameState) {
    RecordingDelegate* d = new RecordingDelegate();
    gc_assign(test_roots[0], d);
    ScriptedHost host;
    host.SetDelegate(d);
    host.UpdateGame();
    host.RenderGame();
    host.KeyEvent(c_XrGameEvent::KeyDown, 65);
    host.SuspendGame();
    EXPECT_TRUE(d->calls.empty()) << "nothing reaches the delegate before the start";
    host.StartGame();
    host.StartGame();
    host.ResumeGame();
    EXPECT_EQ(d->Count("start"), 1);
    EXPECT_EQ(d->Count("resume"), 0) << "resuming what is not suspended does nothing";
    host.SuspendGame();
    host.SuspendGame();
    host.UpdateGame();
    host.RenderGame();
    host.KeyEvent(c_XrGameEvent::KeyDown, 65);
    EXPECT_EQ(d->Count("suspend"), 1);
    EXPECT_EQ(d->Count("update"), 0) << "no updates while suspended";
    EXPECT_EQ(d->Count("render"), 1) << "rendering goes on while suspended";
    EXPECT_TRUE(d->Has("key", c_XrGameEvent::KeyDown, 65)) << "events go on while suspended";
    test_roots[0] = nullptr;
}

}  // namespace
