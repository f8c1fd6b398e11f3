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
};
