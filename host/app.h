// The application layer: the base class a game derives from, the delegate
// that turns the host's callbacks into application hooks and input updates,
// and the module functions games call for rate, window, modes, time and state.
#pragma once

#include "audio/device.h"
#include "graphics/device.h"
#include "host/xrgame.h"
#include "host/input.h"
#include "support/map.h"
#include "support/stack.h"

class c_DisplayMode : public Object {
public:
    int m_width = 0, m_height = 0;

    c_DisplayMode* m_new(int width, int height);
    int p_Width() { return m_width; }
    int p_Height() { return m_height; }
};

typedef c_NodeOf<c_DisplayMode*> c_Node;
typedef c_MapOf<c_DisplayMode*> c_Map;
typedef c_IntMapOf<c_DisplayMode*> c_IntMap;
typedef c_StackOf<c_DisplayMode*> c_Stack;

class c_App : public Object {
public:
    c_App* m_new();

    virtual int p_OnCreate() { return 0; }
    virtual int p_OnUpdate() { return 0; }
    virtual int p_OnRender() { return 0; }
    virtual int p_OnResize() { return 0; }
    virtual int p_OnSuspend() { return 0; }
    virtual int p_OnResume() { return 0; }
    virtual int p_OnClose();
    virtual int p_OnBack();
};

class c_GameDelegate : public XrGameDelegate {
public:
    gxtkGraphics* m__graphics = nullptr;
    gxtkAudio* m__audio = nullptr;
    c_InputDevice* m__input = nullptr;

    void StartGame() override;
    void SuspendGame() override;
    void ResumeGame() override;
    void UpdateGame() override;
    void RenderGame() override;
    void KeyEvent(int event, int data) override;
    void MouseEvent(int event, int data, float x, float y) override;
    void TouchEvent(int event, int data, float x, float y) override;
    void MotionEvent(int event, int data, float x, float y, float z) override;
    void DiscardGraphics() override;
    void mark() override;
};

// A source of asynchronous events, pumped once an update.
class c_IAsyncEventSource : public virtual gc_interface {
public:
    virtual int p_UpdateAsyncEvents() = 0;
};

// Told when a web request ends; the game object implements it.
class c_IOnHttpRequestComplete : public virtual gc_interface {};

extern c_App* xr_app__app;
extern c_GameDelegate* xr_app__delegate;
extern XrGame* xr_app__game;
extern int xr_app__devWidth;
extern int xr_app__devHeight;
extern Array<c_DisplayMode*> xr_app__displayModes;
extern c_DisplayMode* xr_app__desktopMode;
extern int xr_app__updateRate;

extern c_IAsyncEventSource* xr_asyncevent__current;
extern c_Stack3* xr_asyncevent__sources;

void xr_app_init();
void xr_app_mark();
void xr_asyncevent_init();
void xr_asyncevent_mark();

int xr_app_SetUpdateRate(int hertz);
int xr_app_UpdateRate();
int xr_app_DeviceWidth();
int xr_app_DeviceHeight();
int xr_app_SetDeviceWindow(int width, int height, int flags);
c_DisplayMode* xr_app_DesktopMode();
Array<c_DisplayMode*> xr_app_DisplayModes();
int xr_app_EnumDisplayModes();
int xr_app_ValidateDeviceWindow(bool notifyApp);
int xr_app_SaveState(String state);
String xr_app_LoadState();
int xr_app_Millisecs();
int xr_app_EndApp();

int xr_asyncevent_UpdateAsyncEvents();
