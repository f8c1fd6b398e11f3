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
    int p_TBut(float x, float y, String caption, int state, int height);
    int p_Menu_Basic(Array<String> items);
    int p_Menu_A();
    int p_MainMenu();
    int p_GotoMenu();
};

// Pause handling and the on-screen pause button, every update of play.
int xr_ruvo_InGame();
// Housekeeping shared by every update: statistics, function keys, clear
// colour, pointer and controls, music volume.
int xr_ruvo_UpdateWorld();
