#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/thread.h"
#include "tests/harness/test_roots.h"
#include "tests/support/support_test_util.h"

namespace {

class Marker : public Object {};

// Adds 0 .. count-1 and hands back the object it was given.
class SumThread : public XrThread {
public:
    int m_count = 0;
    int64_t m_sum = -1;
    Marker* m_answer = nullptr;
    void Run__UNSAFE__() override {
        int64_t sum = 0;
        for (int i = 0; i < m_count; ++i) sum += i;
        m_sum = sum;
        SetResult(m_answer);
    }
    void mark() override {
        XrThread::mark();
        gc_mark_field(m_answer);
    }
};

std::atomic<bool> gate_open;
std::atomic<int> gate_runs;
std::vector<int> destroyed_gates;  // destructors run on the test's own thread

// Holds its body until the test opens the gate. The gate and the record of
// destruction live outside the object, so that a failing test never has to
// touch a freed one.
class GateThread : public XrThread {
public:
    int m_id;
    explicit GateThread(int id) : m_id(id) {}
    ~GateThread() override { destroyed_gates.push_back(m_id); }
    void Run__UNSAFE__() override {
        ++gate_runs;
        while (!gate_open) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
};

bool was_destroyed(int id) {
    return std::find(destroyed_gates.begin(), destroyed_gates.end(), id) != destroyed_gates.end();
}

class Threads : public ::testing::Test {
protected:
    void SetUp() override {
        std::fill(std::begin(test_roots), std::end(test_roots), nullptr);
        gate_open = false;
        gate_runs = 0;
    }
    // A body left waiting by a failed assertion must not outlive the test.
    void TearDown() override { gate_open = true; }
};

TEST_F(Threads, BodiesRunAndPublishTheirResults) {
    const int counts[] = {0, 1, 1000, 100000};
    const int n = int(sizeof counts / sizeof counts[0]);
    SumThread* threads[n];
    for (int i = 0; i < n; ++i) {
        threads[i] = new SumThread();
        threads[i]->m_count = counts[i];
        threads[i]->m_answer = new Marker();
        gc_assign(test_roots[i], threads[i]);
        EXPECT_EQ(threads[i]->m_state.load(), XrThread::kNotStarted);
        EXPECT_FALSE(threads[i]->IsRunning());
    }
    for (SumThread* t : threads) t->Start();
    for (int i = 0; i < n; ++i) {
        SumThread* t = threads[i];
        ASSERT_TRUE(WaitFor([t] { return !t->IsRunning(); })) << counts[i];
        EXPECT_EQ(t->m_state.load(), XrThread::kFinished);
        EXPECT_EQ(t->m_sum, int64_t(counts[i]) * (counts[i] - 1) / 2);
        EXPECT_EQ(t->Result(), t->m_answer);
    }

    // A second run starts from an empty result: this body hands back nothing.
    SumThread* again = threads[2];
    again->m_answer = nullptr;
    again->m_sum = -1;
    again->Start();
    ASSERT_TRUE(WaitFor([again] { return !again->IsRunning(); }));
    EXPECT_EQ(again->m_sum, 499500);
    EXPECT_EQ(again->Result(), nullptr);
}

TEST_F(Threads, StartingARunningThreadStartsNoSecondBody) {
    GateThread* t = new GateThread(1);
    gc_assign(test_roots[0], t);
    t->Start();
    EXPECT_TRUE(t->IsRunning());
    t->Start();
    EXPECT_TRUE(t->IsRunning());
    gate_open = true;
    ASSERT_TRUE(WaitFor([t] { return !t->IsRunning(); }));
    EXPECT_EQ(gate_runs.load(), 1);
}

// A body may outlive every reference the game holds to its thread object:
// the object must stay until the body is done, then be collected as usual.
TEST_F(Threads, RunningThreadOutlivesItsLastReference) {
    const int id = 2;
    GateThread* t = new GateThread(id);
    t->Start();
    CollectGarbage();
    ASSERT_FALSE(was_destroyed(id));
    EXPECT_TRUE(t->IsRunning());

    gate_open = true;
    ASSERT_TRUE(WaitFor([t] { return !t->IsRunning(); }));
    CollectGarbage();
    EXPECT_TRUE(was_destroyed(id));
}

TEST_F(Threads, StrdupCopiesIntoAnUnsharedString) {
    const std::string texts[] = {"", "x", "glimmerdeep", "tiefe \xc3\xa4 \xe2\x98\x83"};
    for (const std::string& text : texts) {
        String original = String::FromUtf8(text.data(), int(text.size()));
        int refsBefore = original.rep->refs;
        String copy = XrThread::Strdup(original);
        EXPECT_EQ(copy, original) << text;
        // The empty string is one static block, never freed: sharing it is safe.
        if (original.Length() > 0) {
            EXPECT_EQ(original.rep->refs, refsBefore) << text;
            EXPECT_NE(copy.rep, original.rep) << text;
            EXPECT_EQ(copy.rep->refs, 1) << text;
        }
    }
}

}  // namespace
