// The state file's text as the game writes and checks it, built and read
// from outside the game's code, so that a test holds the file's format and
// not just the game's own reading of it: "RUVO_v2.0|", 201 settings and their
// check, then 10000 scores with a check after each full block of 32; every
// field ends in "|".
#pragma once

#include <string>
#include <vector>

enum { kStateSettings = 201, kStateScores = 10000 };

std::string MakeState(const std::vector<int>& settings, const std::vector<int>& scores);

// The settings a first run saves: the defaults, with the loading screen's
// mark (entry 100) set.
std::vector<int> FirstRunSettings();

struct ParsedState {
    bool complete = false;  // every field there, every check right
    std::vector<int> settings;
    std::vector<int> scores;
};
ParsedState ParseState(const std::string& text);
