// Figures of the frame loop for measuring tools: with GLIMMERDEEP_PACING set
// in the environment, standard error gets the moment of the first drawn
// frame and, once a second, the updates, the frames and the longest gap
// between two updates. Off by default, when it costs one test of a flag.
#pragma once

struct XrPacing {
    bool enabled = false;
    bool framed = false;
    double secondStart = 0;
    double lastUpdate = 0;
    double longestGap = 0;
    int updates = 0;
    int frames = 0;

    void Init();
    void OnUpdate();
    void OnFrame();
};

extern XrPacing xr_pacing;
