// The shell's state: modes, settings, score tables and the save string that
// keeps settings and scores between runs.
#pragma once

#include "runtime/array.h"
#include "runtime/string.h"

// Entries of the settings array. The rest are unused here, but saved and
// loaded like these.
enum {
    SET_MUSIC_VOLUME = 0,      // 0..10
    SET_SFX_VOLUME = 1,        // 0..10
    SET_INVERT_STICK_Y = 11,   // negate the first stick's y reading
    SET_INVERT_STICK2_Y = 12,  // negate the second stick's y reading
    SET_OVERSCAN = 21,         // border for television sets, 0..10
    SET_FRAME_RATE = 22,       // the frame-rate overlay
    SET_LOADED = 100,          // set by the loading screen
};

// The score tables in xr_ruvo_RUVO_Score: SCORE_TABLE entries a difficulty,
// difficulty d's from SCORE_TABLE * d. A table holds the best SCORE_PLACES
// scores, highest first, then from SCORE_RECENT the last SCORE_PLACES, newest
// first; the rest of it is unused, but saved.
enum { SCORE_TABLE = 20, SCORE_PLACES = 5, SCORE_RECENT = 5 };

// Fields of the save string, split at its "|": the version, the settings
// from SAVE_FIRST_SETTING, their check value, then the scores from
// SAVE_FIRST_SCORE, each full block of SAVE_BLOCK followed by its check
// value.
enum {
    SAVE_FIRST_SETTING = 1,
    SAVE_SETTINGS = 201,       // settings 0..200 are saved
    SAVE_SETTINGS_CHECK = 202,
    SAVE_FIRST_SCORE = 203,
    SAVE_BLOCK = 32,           // scores one check value covers
};

// Values of xr_ruvo_RUVO_GameMode.
enum { MODE_MENU = 0, MODE_TO_MENU = 1, MODE_PLAY = 10, MODE_START = 11 };
// Values of xr_ruvo_RUVO_OptCred: the screen up over the mode's own.
enum { OVERLAY_NONE = 0, OVERLAY_OPTIONS = 1, OVERLAY_CREDITS = 2 };

extern Array<int> xr_ruvo_RUVO_Set;      // 256 settings; the first SAVE_SETTINGS are saved
extern Array<int> xr_ruvo_RUVO_Score;    // 10000 scores, saved whole
extern int xr_ruvo_RUVO_GameNum;         // the game's number, which the check values mix in
extern int xr_ruvo_RUVO_GameType;        // the difficulty chosen: 1 Easy, 2 Normal, 3 Hard
extern int xr_ruvo_RUVO_GameMode;
extern int xr_ruvo_RUVO_OptCred;
extern Array<int> xr_ruvo_RUVO_MenuPos;  // the menus' state (POS_ in shell/menus.h)
extern int xr_ruvo_RUVO_Loader;          // the loading screen's next step; 0 once it is done
extern int xr_ruvo_RUVO_Paused;          // 1 while the pause screen is up
extern int xr_ruvo_RUVO_EndofGame;       // the game-over sequence's updates from 1; 0 when none runs
extern int xr_ruvo_RUVO_EndReason;       // why the game ended: 0 no lives left, 1 level done, 2 quit
extern int xr_ruvo_RUVO_DebugMode;       // 1 shows the frame-rate overlay
extern int xr_ruvo_RUVO_ScreenshotMode;  // 1 hides the score display and the pause button (F2)
// 1 on a television console: the options offer the overscan border.
extern int xr_ruvo_isOuya;
extern int xr_ruvo_HasQuit;              // 1 when the main menu offers Quit

void xr_ruvo_state_init();
void xr_ruvo_state_mark();

// The settings' defaults; on a television console the sticks' y is not
// inverted and the screen has a border.
int xr_ruvo_SetDefaults();
// Sets setting `index` to `value` and returns it; without a value, reads it.
enum { SET_READ = -3717 };
int xr_ruvo_SetSet(int index, int value = SET_READ);
// Whether the game runs on a television console, which always offers Quit.
int xr_ruvo_SetOUYA(int flag);
int xr_ruvo_ShowQuitButton(int flag);
// Writes the settings and scores to the host's state, and reads them back;
// a missing or foreign state gives the settings' defaults.
int xr_ruvo_Save();
int xr_ruvo_Load();
// Sets the game number, made positive, and returns it.
int xr_ruvo_SetGameNumber(int n);
// The last n characters of text; all of it for n of 0 or more than it has.
String xr_ruvo_Right(String text, int n);
// text right-aligned in n characters: padded with `pad` on the left, cut to
// its last n.
String xr_ruvo_rstr(String text, int n, String pad);

// The check values the save string carries, for the current game number.
int xr_ruvo_SettingsCheck();
int xr_ruvo_BlockCheck(int block);
