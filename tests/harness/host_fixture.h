// What the host tests share: GLFW started once for the test program, a
// delegate that records every call, and waiting for window-system events.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/glfwgame.h"

struct DelegateCall {
    std::string what;  // "start", "update", "render", "key", "mouse", ...
    int event = 0;
    int data = 0;
    float x = 0, y = 0;
};

class RecordingDelegate : public XrGameDelegate {
public:
    std::vector<DelegateCall> calls;
    std::function<void()> onUpdate;
    std::function<void()> onRender;
    std::function<void(int event, int data)> onKey;

    void StartGame() override { calls.push_back({"start"}); }
    void SuspendGame() override { calls.push_back({"suspend"}); }
    void ResumeGame() override { calls.push_back({"resume"}); }
    void UpdateGame() override {
        calls.push_back({"update"});
        if (onUpdate) onUpdate();
    }
    void RenderGame() override {
        calls.push_back({"render"});
        if (onRender) onRender();
    }
    void KeyEvent(int event, int data) override {
        calls.push_back({"key", event, data});
        if (onKey) onKey(event, data);
    }
    void MouseEvent(int event, int data, float x, float y) override {
        calls.push_back({"mouse", event, data, x, y});
    }

    int Count(const std::string& what) const;
    bool Has(const std::string& what, int event, int data) const;
};

// Polls the window system (or runs `poll`, a host's own turn of events)
// until `done` holds or a few seconds pass.
bool PollUntil(const std::function<bool()>& done, const std::function<void()>& poll = nullptr);
