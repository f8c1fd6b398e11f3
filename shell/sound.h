// Numbered sound effects played round-robin with a random pitch, and one
// music track at a time, named by its file.
#pragma once

#include "audio/audio.h"

// Sound effect numbers. Up to 90 the game's own, played at a random pitch;
// above, the interface's, always at their own pitch.
enum {
    SFX_TREASURE = 1,
    SFX_HIT = 2,
    SFX_LAST_LIFE = 3,
    SFX_SONAR = 4,
    SFX_CHIME = 96,    // the loading screen's emblem and the game's end
    SFX_MOVE = 98,     // a menu cursor moves or a value changes
    SFX_CONFIRM = 99,  // a choice is made
};

extern Array<c_Sound*> xr_ruvo_RUVO_SFX;    // the loaded effects by number; null where none
extern int xr_ruvo_RUVO_LChan;              // the channel of the last effect: they take 0..31 in turn
extern String xr_ruvo_RUVO_LastTune;        // the last track asked for
extern int xr_ruvo_RUVO_MusicPlaying;       // 0 no music, 1 playing, 2 paused

void xr_ruvo_sound_init();
void xr_ruvo_sound_mark();

// The file, in the data folder, of sound effect `n`.
String xr_ruvo_EffectPath(int n);
// The file of the music track `name`.
String xr_ruvo_TunePath(String name);
int xr_ruvo_LoadSFX(int n);
// Plays effect `n` on the next channel, at the effects volume: at `rate`
// (0.4..3), or with -1 the game's own effects at a random pitch.
int xr_ruvo_PlaySFX(int n, float rate = -1, float volume = 1, float pan = 0);
// Plays the track `name`, "-1" the last one again; `loop` 1 repeats it.
int xr_ruvo_PlayTune(String name, int loop);
// Decodes a music track ahead of time, so that playing it starts at once.
int xr_ruvo_PrepareTune(String name);
// Pauses the music while it plays; resumes it while it is paused.
int xr_ruvo_PauseTune();
int xr_ruvo_ResumeTune();
int xr_ruvo_StopTune();
// Clamps the volume settings and applies the music volume, once an update.
int xr_ruvo_TrackVolumes();
