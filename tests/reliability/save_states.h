// The two states the saving program writes in turn, set up in the game's own
// globals so that the game's code builds the string and writes the file.
#pragma once

// Fills the settings and scores with state `which` (0 or 1); the module
// globals must have been started.
void FillState(int which);
