// What the loading screen loads, step by step: one table of pictures and one
// of sounds. With the data folder's layout (shell/data_paths.h) these name
// every file of the folder: the generator writes what they name and the
// packages carry what the generator wrote.
#pragma once

// The game's number: its own files lie in the data folder's "503" folder.
enum { GAME_NUMBER = 503 };

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
