// The screens outside play: the image button, mode changes, the options
// screen with its rows, and the pause screen. The main menu itself belongs
// to the game object (game/menus.cpp).
#pragma once

#include "runtime/array.h"
#include "runtime/string.h"

// Slots of the control sets the menus read, beyond those of shell/controls.h.
enum { RUVO_BUTTON2 = 11, RUVO_BUTTON3 = 12 };

// The difficulty list of the main menu: "Easy", "Normal", "Hard".
extern Array<String> xr_ruvo_RUVO_Levels;

void xr_ruvo_menus_init();
void xr_ruvo_menus_mark();

// Whether control `slot` is held in any control set.
bool xr_ruvo_Held(int slot);

int xr_ruvo_Button(int image, float x, float y, int frame);
int xr_ruvo_Goto(int mode, int type);
int xr_ruvo_Option(int y, int index, int row, int icon, String caption, int min, int max, int style);
int xr_ruvo_Options();
int xr_ruvo_Pause_Menu();
// The drifting tiles behind the options and credits screens, over the
// cycling clear colour.
int xr_ruvo_TiledBackdrop();
