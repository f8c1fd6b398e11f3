// The host in a web page: the desktop host's frame loop, input and services,
// with the page in place of the window system. There is one canvas, made
// once and sized by the page; full screen is the browser's; the focus is the
// page's; the loop's wait hands control back to the page, which is when it
// shows the frame and delivers input; and the program's end leaves the page
// with a last picture instead of closing anything.
#pragma once

#include "host/glfwgame.h"

class XrBrowserGame : public XrGlfwGame {
public:
    XrBrowserGame();

    bool CanQuit() override { return false; }
    void SetDeviceWindow(int width, int height, int flags) override;
    bool Fullscreen() override;
    void Shutdown() override;
    void WaitForUpdate() override;

protected:
    bool WindowFocused() override;

private:
    void FollowCanvas();
    void ReleasePointer();

    int _attentionLosses = 0;
};
