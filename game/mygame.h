// The game object: the one application, whose hooks run the whole game.
#pragma once

#include "host/app.h"

class c_MyGame : public c_App, public virtual c_IOnHttpRequestComplete {
public:
    c_MyGame* m_new() {
        c_App::m_new();
        return this;
    }
    int p_OnCreate() override;
    int p_OnUpdate() override;
    int p_OnRender() override;
    int p_OnSuspend() override;

    // One step of the loading screen, one asset per step.
    int p_LoadScreen();
    // Builds a new game and starts playing it.
    int p_GotoGame();

    // Builds a new game's cave (game/cavern.cpp).
    int p_Cavern();
    // One update of play (game/play.cpp).
    int p_Game();
    // Moves and queues the star field (shell/particles.cpp does the work).
    int m_DoBits(float dx, float dy, int mode);

    // Menus (game/menus.cpp).
    // A menu item's text at (x, y), after "> " when `state` is 1 (under the
    // cursor); 1 while a finger is on its band, `height` high.
    int p_TBut(float x, float y, String caption, int state, int height);
    // One update of a list menu of `items`, with a back button: the item
    // chosen, from 1, or -1.
    int p_Menu_Basic(Array<String> items);
    // One update of the main menu's first level: Start Game, Options,
    // Credits and, where the host can quit, Quit.
    int p_Menu_A();
    // One update of the main menu: its backdrop, either level and the Top 5
    // panel.
    int p_MainMenu();
    // Back to the menu from a game, whose score is entered.
    int p_GotoMenu();
};

// Pause handling and the on-screen pause button, every update of play.
int xr_ruvo_InGame();
// Housekeeping shared by every update: statistics, function keys, clear
// colour, pointer and controls, music volume.
int xr_ruvo_UpdateWorld();
