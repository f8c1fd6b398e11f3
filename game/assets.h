// What the loading screen loads, step by step: one table of pictures and one
// of sounds, so that the game's side of every asset is written once and can
// be held against the generator's catalogue.
#pragma once

struct GameImage {
    int step;  // the loading step that loads it
    int slot;  // its image slot (IMG_ in shell/draw.h)
    const char* name;
    int frameWidth, frameHeight, frames;
};

struct GameSound {
    int step;
    int number;  // its sound number (SFX_ in shell/sound.h)
};

extern const GameImage kGameImages[];
extern const int kGameImageCount;
extern const GameSound kGameSounds[];
extern const int kGameSoundCount;

// The font's name; the first step loads it into IMG_FONT.
extern const char* const kGameFont;
// The music of play, decoded during the loading and played in every game.
extern const char* const kGameTune;

// Loads the pictures, then the sounds, of loading step `step`.
void load_step_assets(int step);
