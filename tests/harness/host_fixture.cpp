#include "tests/harness/host_fixture.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

int RecordingDelegate::Count(const std::string& what) const {
    int n = 0;
    for (const DelegateCall& c : calls) n += c.what == what;
    return n;
}

bool RecordingDelegate::Has(const std::string& what, int event, int data) const {
    for (const DelegateCall& c : calls)
        if (c.what == what && c.event == event && c.data == data) return true;
    return false;
}

bool PollUntil(const std::function<bool()>& done, const std::function<void()>& poll) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        if (poll)
            poll();
        else
            glfwPollEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

namespace {

// Without a display nothing here can be tested: the program fails at once,
// saying why. A failed assertion in an environment would only mark every test
// skipped, which a test runner may count as passed.
class GlfwEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // An X server started without -noreset refuses connections for a
        // moment whenever its last client has left: a few tries bridge that.
        for (int attempt = 0; attempt < 10; ++attempt) {
            if (glfwInit()) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        const char* display = std::getenv("DISPLAY");
        std::fprintf(stderr, "these tests need an X server, and the display \"%s\" cannot be opened\n",
                     display ? display : "");
        std::exit(1);
    }
    void TearDown() override { glfwTerminate(); }
};

const auto* const kGlfw = ::testing::AddGlobalTestEnvironment(new GlfwEnvironment);

}  // namespace
