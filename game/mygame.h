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

    // Builds a new game's cave (game/cavern.cpp).
    int p_Cavern();

    // Menus (game/menus.cpp).
    int p_TBut(float x, float y, String caption, int state, int height);
    int p_Menu_Basic(Array<String> items);
    int p_Menu_A();
    int p_MainMenu();
    int p_GotoMenu();
    // Moves and queues the star field (shell/particles.cpp does the work).
    int m_DoBits(float dx, float dy, int mode);
};
