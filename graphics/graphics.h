// The graphics module: the render state game code sees (matrix stack, colour,
// blend, scissor, font), framed images cut from one surface, and drawing
// calls forwarded to the device with the matrix brought up to date lazily.
#pragma once

#include "graphics/device.h"
#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/string.h"

class c_Image;

// The graphics module's own font in the data folder, for text drawn without
// a font of the game's.
inline constexpr char kBuiltinFontFile[] = "vizo_font.png";

class c_GraphicsContext : public Object {
public:
    c_Image* m_builtinFont = nullptr;
    c_Image* m_currentFont = nullptr;
    int m_fontFirstCode = 0;
    int m_stackTop = 0;
    float m_ax = 1, m_ay = 0, m_bx = 0, m_by = 1, m_ox = 0, m_oy = 0;
    int m_transformed = 0;
    int m_matrixDirty = 0;
    float m_colorR = 0, m_colorG = 0, m_colorB = 0;
    float m_alpha = 0;
    int m_blendMode = 0;
    float m_scissorX = 0, m_scissorY = 0, m_scissorW = 0, m_scissorH = 0;
    Array<float> m_stack;

    c_GraphicsContext* m_new();
    // Hands the matrix to the render device if it changed since last time.
    int p_Validate();
    void mark() override;
};

class c_Frame : public Object {
public:
    int m_x = 0, m_y = 0;

    c_Frame* m_new(int x, int y);
};

class c_Image : public Object {
public:
    enum { HandleCentre = 1, PadX = 2, PadY = 4, PadXY = 6, WholeSurface = 65536 };

    gxtkSurface* m_surface = nullptr;
    int m_width = 0, m_height = 0;
    Array<c_Frame*> m_frames;
    int m_flags = 0;
    float m_handleX = 0, m_handleY = 0;
    c_Image* m_parent = nullptr;

    c_Image* m_new() { return this; }
    // A horizontal strip of frameCount frames across the whole surface.
    c_Image* p_Init(gxtkSurface* surface, int frameCount, int flags);
    // frameCount frames of frameWidth × frameHeight read left to right, then
    // top to bottom, from (x, y) inside the rectangle srcX, srcY, srcW, srcH.
    c_Image* p_Init2(gxtkSurface* surface, int x, int y, int frameWidth, int frameHeight, int frameCount,
                     int flags, c_Image* source, int srcX, int srcY, int srcW, int srcH);
    int p_ApplyFlags(int flags);
    int p_SetHandle(float x, float y);
    void mark() override;
};

extern gxtkGraphics* xr_graphics_device;
extern c_GraphicsContext* xr_graphics_context;
extern gxtkGraphics* xr_graphics_renderDevice;

void xr_graphics_init();
void xr_graphics_mark();

int xr_graphics_SetGraphicsDevice(gxtkGraphics* device);
int xr_graphics_BeginRender();
int xr_graphics_EndRender();

int xr_graphics_SetColor(float r, float g, float b);
int xr_graphics_SetAlpha(float alpha);
int xr_graphics_SetBlend(int mode);
int xr_graphics_SetScissor(float x, float y, float w, float h);
int xr_graphics_SetMatrix(float ax, float ay, float bx, float by, float ox, float oy);
int xr_graphics_SetMatrix2(Array<float> m);
Array<float> xr_graphics_GetMatrix();
int xr_graphics_GetMatrix2(Array<float> m);
int xr_graphics_Transform(float ax, float ay, float bx, float by, float ox, float oy);
int xr_graphics_Transform2(Array<float> m);
int xr_graphics_Translate(float x, float y);
int xr_graphics_Scale(float x, float y);
int xr_graphics_Rotate(float angle);
int xr_graphics_PushMatrix();
int xr_graphics_PopMatrix();

int xr_graphics_DrawRect(float x, float y, float w, float h);
int xr_graphics_DrawLine(float x1, float y1, float x2, float y2);
int xr_graphics_DrawOval(float x, float y, float w, float h);
int xr_graphics_DrawPoly(Array<float> xy);
int xr_graphics_DrawPoly2(Array<float> xyuv, c_Image* image, int frame);
int xr_graphics_DrawImage(c_Image* image, float x, float y, int frame);
int xr_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX, float scaleY,
                           int frame);

c_Image* xr_graphics_LoadImage(String path, int frameCount, int flags);
c_Image* xr_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount, int flags);
int xr_graphics_SetFont(c_Image* font, int firstChar);
