// A host whose game pads are what the test says, in the GLFW joystick slots
// it chooses: no pads exist on a test machine. A pad is either one GLFW knows
// from its mapping database (read through the standard gamepad state) or an
// unknown one (raw axes and buttons). Connecting and disconnecting go
// through the host's own joystick callback, as GLFW's event polling would.
#pragma once

#include <string>
#include <vector>

#include <GLFW/glfw3.h>

#include "host/glfwgame.h"

class PadHost : public XrGlfwGame {
public:
    struct Pad {
        bool present = false;
        bool gamepad = false;
        GLFWgamepadstate state = {};     // for a known pad
        std::vector<float> axes;         // for an unknown one
        std::vector<unsigned char> buttons;
    };
    Pad pads[16];
    std::vector<std::string> mappings;  // every text handed to GLFW's mappings

    // A pad GLFW recognises, at rest: sticks centred, triggers at -1.
    static Pad Gamepad() {
        Pad p;
        p.present = p.gamepad = true;
        p.state.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] = p.state.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = -1;
        return p;
    }
    // An unknown pad reporting `axes` and `buttons` buttons, all released.
    static Pad Raw(std::vector<float> axes, int buttons) {
        Pad p;
        p.present = true;
        p.axes = axes;
        p.buttons.assign(size_t(buttons), GLFW_RELEASE);
        return p;
    }
    void Connect(int jid, const Pad& pad) {
        pads[jid] = pad;
        OnJoystick(jid, GLFW_CONNECTED);
    }
    void Disconnect(int jid) {
        pads[jid].present = false;
        OnJoystick(jid, GLFW_DISCONNECTED);
    }

protected:
    bool JoystickPresent(int jid) override { return pads[jid].present; }
    const float* JoystickAxes(int jid, int* count) override {
        *count = int(pads[jid].axes.size());
        return pads[jid].present ? pads[jid].axes.data() : nullptr;
    }
    const unsigned char* JoystickButtons(int jid, int* count) override {
        *count = int(pads[jid].buttons.size());
        return pads[jid].present ? pads[jid].buttons.data() : nullptr;
    }
    bool JoystickIsGamepad(int jid) override { return pads[jid].present && pads[jid].gamepad; }
    bool GamepadState(int jid, GLFWgamepadstate* state) override {
        if (!pads[jid].present || !pads[jid].gamepad) return false;
        *state = pads[jid].state;
        return true;
    }
    void UpdateGamepadMappings(const char* text) override { mappings.push_back(text); }
};
