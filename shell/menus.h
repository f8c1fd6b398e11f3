// The screens outside play: the image button, mode changes, the options
// screen with its rows, and the pause screen. The main menu itself belongs
// to the game object (game/menus.cpp).
#pragma once

#include "runtime/array.h"
#include "runtime/string.h"

// Slots of the control sets the menus read, beyond those of shell/controls.h.
enum { RUVO_BUTTON2 = 11, RUVO_BUTTON3 = 12 };

// Entries of the menu state array, xr_ruvo_RUVO_MenuPos.
enum {
    POS_LEVEL = 0,         // the main menu's level: 1 first, 2 the difficulty list
    POS_FIRST_CURSOR = 1,  // Start Game, Options, Credits, Quit
    POS_LEVEL_CURSOR = 2,  // Easy, Normal, Hard
    POS_STARTED = 3,       // Start Game was chosen
    POS_SLIDE = 5,         // the main menu decoration's slide
    POS_INTRO = 10,        // the main menu's intro counter
    POS_ITEMS = 12,        // items of the list menu on show
    POS_PAUSE_CURSOR = 40, // quit, resume, options
    POS_PAUSE_X = 41,      // the pause screen's icon column
    POS_PAUSE_IDLE = 42,
    POS_PAUSE_GEAR = 43,   // the options icon's turn, degrees
    POS_OPT_SPEED = 46,    // the options list's drag speed
    POS_OPT_TARGET = 47,   // the options list's target offset
    POS_OPT_CURRENT = 48,  // the options list's offset now
    POS_OPT_CURSOR = 49,   // the options row under the cursor
};

// The difficulty list of the main menu: "Easy", "Normal", "Hard".
extern Array<String> xr_ruvo_RUVO_Levels;

void xr_ruvo_menus_init();
void xr_ruvo_menus_mark();

// Whether control `slot` is held in any control set.
bool xr_ruvo_Held(int slot);

// Queues frame `frame` of image slot `image` at (x, y); 1 while a finger is
// on it.
int xr_ruvo_Button(int image, float x, float y, int frame);
// Changes to `mode` (MODE_) and, unless it is negative, the difficulty to
// `type`.
int xr_ruvo_Goto(int mode, int type);
// Frames of the option icons (IMG_OPTION_ICONS).
enum {
    OPTION_ICON_BACK = 0, OPTION_ICON_SFX = 1, OPTION_ICON_MUSIC = 2, OPTION_ICON_OVERSCAN = 3,
    OPTION_ICON_INVERT_LEFT = 4, OPTION_ICON_INVERT_RIGHT = 5, OPTION_ICON_FRAME_RATE = 47,
    OPTION_ICON_BACKDROP = 48,     // the screen's tiled backdrop
};
// How an option row with two values names them: "On"/"Off", or
// "Inverted"/"Standard".
enum { OPTION_ON_OFF = 0, OPTION_INVERTED = 2 };
// One row of the options screen at height y, setting `index` between min and
// max (0..1 a switch, 0..10 a slider): queues it and lets the keys and the
// pointer change the setting. 1 when the row is chosen.
int xr_ruvo_Option(int y, int index, int row, int icon, String caption, int min, int max, int style);
// One update of the options screen, and of the pause screen.
int xr_ruvo_Options();
int xr_ruvo_Pause_Menu();
// The drifting tiles behind the options and credits screens, over the
// cycling clear colour.
int xr_ruvo_TiledBackdrop();
