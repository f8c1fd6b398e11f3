#include "game/mygame.h"

#include "graphics/graphics.h"
#include "shell/particles.h"

int c_MyGame::p_OnCreate() {
    xr_app_SetUpdateRate(60);
    return 0;
}

int c_MyGame::p_OnUpdate() {
    return 0;
}

// The deep water the cave sits in.
int c_MyGame::p_OnRender() {
    xr_graphics_SetColor(4, 18, 32);
    xr_graphics_SetAlpha(1);
    xr_graphics_DrawRect(0, 0, float(xr_app_DeviceWidth()), float(xr_app_DeviceHeight()));
    return 0;
}

int c_MyGame::m_DoBits(float dx, float dy, int mode) {
    return xr_ruvo_DoBits(dx, dy, mode);
}
