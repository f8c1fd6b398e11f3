// The loading screen's art.
#pragma once

// One frame of the loading screen at loading step `step`.
void draw_loading_frame(int step);
// Loads the pictures, then the sounds, of loading step `step`.
void load_step_assets(int step);
