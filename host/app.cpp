#include "host/app.h"

#include "audio/audio.h"
#include "graphics/graphics.h"
#include "runtime/debug.h"

c_App* xr_app__app;
c_GameDelegate* xr_app__delegate;
XrGame* xr_app__game;
int xr_app__devWidth;
int xr_app__devHeight;
Array<c_DisplayMode*> xr_app__displayModes;
c_DisplayMode* xr_app__desktopMode;
int xr_app__updateRate;

c_IAsyncEventSource* xr_asyncevent__current;
c_Stack3* xr_asyncevent__sources;

c_DisplayMode* c_DisplayMode::m_new(int width, int height) {
    m_width = width;
    m_height = height;
    return this;
}

c_App* c_App::m_new() {
    if (xr_app__app) dbg_error("App has already been created");
    gc_assign(xr_app__app, this);
    gc_assign(xr_app__delegate, new c_GameDelegate());
    xr_app__game->SetDelegate(xr_app__delegate);
    return this;
}

int c_App::p_OnClose() {
    return xr_app_EndApp();
}

int c_App::p_OnBack() {
    return xr_app_EndApp();
}

void c_GameDelegate::StartGame() {
    gc_assign(m__graphics, new gxtkGraphics());
    xr_graphics_SetGraphicsDevice(m__graphics);
    xr_graphics_SetFont(nullptr, 32);
    gc_assign(m__audio, new gxtkAudio());
    xr_audio_SetAudioDevice(m__audio);
    gc_assign(m__input, (new c_InputDevice())->m_new());
    xr_input_SetInputDevice(m__input);
    xr_app_ValidateDeviceWindow(false);
    xr_app_EnumDisplayModes();
    xr_app__app->p_OnCreate();
}

void c_GameDelegate::SuspendGame() {
    m__audio->Suspend();
    xr_app__app->p_OnSuspend();
}

void c_GameDelegate::ResumeGame() {
    m__audio->Resume();
    xr_app__app->p_OnResume();
}

void c_GameDelegate::UpdateGame() {
    xr_app_ValidateDeviceWindow(true);
    m__input->p_BeginUpdate();
    xr_app__app->p_OnUpdate();
    m__input->p_EndUpdate();
}

void c_GameDelegate::RenderGame() {
    xr_app_ValidateDeviceWindow(true);
    m__graphics->BeginRender();
    xr_graphics_BeginRender();
    xr_app__app->p_OnRender();
    xr_graphics_EndRender();
    m__graphics->EndRender();
}

void c_GameDelegate::KeyEvent(int event, int data) {
    m__input->p_KeyEvent(event, data);
    if (event != c_XrGameEvent::KeyDown) return;
    if (data == KEY_CLOSE) xr_app__app->p_OnClose();
    if (data == KEY_BACK) xr_app__app->p_OnBack();
}

void c_GameDelegate::MouseEvent(int event, int data, float x, float y) {
    m__input->p_MouseEvent(event, data, x, y);
}

void c_GameDelegate::TouchEvent(int event, int data, float x, float y) {
    m__input->p_TouchEvent(event, data, x, y);
}

void c_GameDelegate::MotionEvent(int event, int data, float x, float y, float z) {
    m__input->p_MotionEvent(event, data, x, y, z);
}

void c_GameDelegate::DiscardGraphics() {
    m__graphics->DiscardGraphics();
}

void c_GameDelegate::mark() {
    gc_mark_field(m__graphics);
    gc_mark_field(m__audio);
    gc_mark_field(m__input);
}

void xr_app_init() {
    xr_app__app = nullptr;
    xr_app__delegate = nullptr;
    xr_app__game = XrGame::_game;
    xr_app__devWidth = 0;
    xr_app__devHeight = 0;
    xr_app__displayModes = Array<c_DisplayMode*>();
    xr_app__desktopMode = nullptr;
    xr_app__updateRate = 0;
}

void xr_app_mark() {
    gc_mark_field(xr_app__app);
    gc_mark_field(xr_app__delegate);
    gc_mark_field(xr_app__displayModes);
    gc_mark_field(xr_app__desktopMode);
}

void xr_asyncevent_init() {
    xr_asyncevent__current = nullptr;
    gc_assign(xr_asyncevent__sources, new c_Stack3());
}

void xr_asyncevent_mark() {
    gc_mark_field(xr_asyncevent__current);
    gc_mark_field(xr_asyncevent__sources);
}

int xr_app_SetUpdateRate(int hertz) {
    xr_app__updateRate = hertz;
    xr_app__game->SetUpdateRate(hertz);
    return 0;
}

int xr_app_UpdateRate() {
    return xr_app__updateRate;
}

int xr_app_DeviceWidth() {
    return xr_app__devWidth;
}

int xr_app_DeviceHeight() {
    return xr_app__devHeight;
}

int xr_app_SetDeviceWindow(int width, int height, int flags) {
    xr_app__game->SetDeviceWindow(width, height, flags);
    xr_app_ValidateDeviceWindow(false);
    return 0;
}

c_DisplayMode* xr_app_DesktopMode() {
    return xr_app__desktopMode;
}

Array<c_DisplayMode*> xr_app_DisplayModes() {
    return xr_app__displayModes;
}

// Modes of one size count once, whatever their depth or refresh rate.
int xr_app_EnumDisplayModes() {
    Array<XrDisplayMode*> modes = xr_app__game->GetDisplayModes();
    c_IntMap* seen = new c_IntMap();
    c_Stack* kept = new c_Stack();
    for (int i = 0; i < modes.Length(); ++i) {
        int key = modes[i]->width << 16 | modes[i]->height;
        if (seen->p_Contains(key)) continue;
        c_DisplayMode* mode = (new c_DisplayMode())->m_new(modes[i]->width, modes[i]->height);
        seen->p_Set(key, mode);
        kept->p_Push(mode);
    }
    gc_assign(xr_app__displayModes, kept->p_ToArray());
    XrDisplayMode* desktop = xr_app__game->GetDesktopMode();
    c_DisplayMode* mode = desktop ? (new c_DisplayMode())->m_new(desktop->width, desktop->height)
                                  : (new c_DisplayMode())->m_new(xr_app_DeviceWidth(), xr_app_DeviceHeight());
    gc_assign(xr_app__desktopMode, mode);
    return 0;
}

int xr_app_ValidateDeviceWindow(bool notifyApp) {
    int width = xr_app__game->GetDeviceWidth();
    int height = xr_app__game->GetDeviceHeight();
    if (width == xr_app__devWidth && height == xr_app__devHeight) return 0;
    xr_app__devWidth = width;
    xr_app__devHeight = height;
    if (notifyApp) xr_app__app->p_OnResize();
    return 0;
}

int xr_app_SaveState(String state) {
    return xr_app__game->SaveState(state);
}

String xr_app_LoadState() {
    return xr_app__game->LoadState();
}

int xr_app_Millisecs() {
    return xr_app__game->Millisecs();
}

int xr_app_EndApp() {
    return xrError(String());
}

// A source may pump events itself and end the walk by clearing the current
// source; the same index is then visited again.
int xr_asyncevent_UpdateAsyncEvents() {
    if (xr_asyncevent__current) return 0;
    for (int i = 0; i < xr_asyncevent__sources->p_Length2();) {
        gc_assign(xr_asyncevent__current, xr_asyncevent__sources->p_Get(i));
        xr_asyncevent__current->p_UpdateAsyncEvents();
        if (xr_asyncevent__current) ++i;
    }
    xr_asyncevent__current = nullptr;
    return 0;
}
