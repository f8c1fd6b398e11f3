#include "graphics/graphics.h"

#include <cmath>

#include "host/xrgame.h"
#include "runtime/debug.h"
#include "support/data.h"

gxtkGraphics* xr_graphics_device;
c_GraphicsContext* xr_graphics_context;
gxtkGraphics* xr_graphics_renderDevice;

void xr_graphics_init() {
    xr_graphics_device = nullptr;
    gc_assign(xr_graphics_context, (new c_GraphicsContext())->m_new());
    xr_graphics_renderDevice = nullptr;
}

void xr_graphics_mark() {
    gc_mark_q(xr_graphics_device);
    gc_mark_q(xr_graphics_context);
    gc_mark_q(xr_graphics_renderDevice);
}

// ---- context ----

namespace {

const int kStackStart = 192;  // 32 matrices

// Makes (ax ay bx by ox oy) the current matrix, to be sent to the device
// before the next drawing.
inline void store_matrix(c_GraphicsContext* c, float ax, float ay, float bx, float by, float ox, float oy) {
    c->m_ax = ax;
    c->m_ay = ay;
    c->m_bx = bx;
    c->m_by = by;
    c->m_ox = ox;
    c->m_oy = oy;
    c->m_transformed = !(ax == 1 && ay == 0 && bx == 0 && by == 1 && ox == 0 && oy == 0);
    c->m_matrixDirty = 1;
}

// The new transform goes inside the current one: it acts on coordinates first.
inline void multiply(c_GraphicsContext* c, float a, float b, float cc, float d, float e, float f) {
    float ax = a * c->m_ax + b * c->m_bx;
    float ay = a * c->m_ay + b * c->m_by;
    float bx = cc * c->m_ax + d * c->m_bx;
    float by = cc * c->m_ay + d * c->m_by;
    float ox = e * c->m_ax + f * c->m_bx + c->m_ox;
    float oy = e * c->m_ay + f * c->m_by + c->m_oy;
    store_matrix(c, ax, ay, bx, by, ox, oy);
}

inline bool valid_frame(c_Image* image, int frame) {
    return image && frame >= 0 && frame < image->m_frames.Length();
}

// Draws frame `frame` of `image` with its top-left corner at (x, y); the
// frame index has been checked and the matrix validated.
inline void draw_frame(gxtkGraphics* device, c_Image* image, float x, float y, int frame) {
    if (image->m_flags & c_Image::WholeSurface) {
        device->DrawSurface(image->m_surface, x, y);
    } else {
        c_Frame* f = image->m_frames[frame];
        device->DrawSurface2(image->m_surface, x, y, f->m_x, f->m_y, image->m_width, image->m_height);
    }
}

}  // namespace

c_GraphicsContext* c_GraphicsContext::m_new() {
    gc_assign(m_stack, Array<float>(kStackStart));
    return this;
}

int c_GraphicsContext::p_Validate() {
    if (m_matrixDirty && xr_graphics_renderDevice) {
        xr_graphics_renderDevice->SetMatrix(m_ax, m_ay, m_bx, m_by, m_ox, m_oy);
        m_matrixDirty = 0;
    }
    return 0;
}

void c_GraphicsContext::mark() {
    gc_mark_field(m_builtinFont);
    gc_mark_field(m_currentFont);
    gc_mark_field(m_stack);
}

// ---- images ----

c_Frame* c_Frame::m_new(int x, int y) {
    m_x = x;
    m_y = y;
    return this;
}

void c_Image::mark() {
    gc_mark_field(m_surface);
    gc_mark_field(m_frames);
    gc_mark_field(m_parent);
}

c_Image* c_Image::p_Init(gxtkSurface* surface, int frameCount, int flags) {
    if (m_surface) xrError(String("Image already initialized"));
    gc_assign(m_surface, surface);
    // Without frames there is nothing to divide the width among.
    m_width = frameCount > 0 ? surface->Width() / frameCount : surface->Width();
    m_height = surface->Height();
    Array<c_Frame*> frames(frameCount);
    for (int i = 0; i < frames.Length(); ++i) gc_assign(frames[i], (new c_Frame())->m_new(i * m_width, 0));
    gc_assign(m_frames, frames);
    p_ApplyFlags(flags);
    return this;
}

c_Image* c_Image::p_Init2(gxtkSurface* surface, int x, int y, int frameWidth, int frameHeight, int frameCount,
                          int flags, c_Image* source, int srcX, int srcY, int srcW, int srcH) {
    if (m_surface) xrError(String("Image already initialized"));
    gc_assign(m_surface, surface);
    gc_assign(m_parent, source);
    m_width = frameWidth;
    m_height = frameHeight;
    Array<c_Frame*> frames(frameCount);
    int cx = x, cy = y;
    for (int i = 0; i < frames.Length(); ++i) {
        if (cx + frameWidth > srcW) {
            if (frameWidth > srcW) xrError(String("Image frame outside surface"));
            cx = 0;
            cy += frameHeight;
        }
        if (cy + frameHeight > srcH) xrError(String("Image frame outside surface"));
        gc_assign(frames[i], (new c_Frame())->m_new(srcX + cx, srcY + cy));
        cx += frameWidth;
    }
    gc_assign(m_frames, frames);
    p_ApplyFlags(flags);
    return this;
}

int c_Image::p_ApplyFlags(int flags) {
    m_flags = flags;
    int n = m_frames.Length();
    if (flags & PadX) {
        for (int i = 0; i < n; ++i) m_frames[i]->m_x += 1;
        m_width -= 2;
    }
    if (flags & PadY) {
        for (int i = 0; i < n; ++i) m_frames[i]->m_y += 1;
        m_height -= 2;
    }
    if (flags & HandleCentre) p_SetHandle(float(m_width) * 0.5f, float(m_height) * 0.5f);
    if (n == 1 && m_frames[0]->m_x == 0 && m_frames[0]->m_y == 0 && m_width == m_surface->Width() &&
        m_height == m_surface->Height())
        m_flags |= WholeSurface;
    return 0;
}

int c_Image::p_SetHandle(float x, float y) {
    m_handleX = x;
    m_handleY = y;
    m_flags &= ~HandleCentre;
    return 0;
}

c_Image* xr_graphics_LoadImage(String path, int frameCount, int flags) {
    if (!xr_graphics_device) return nullptr;
    gxtkSurface* surface = xr_graphics_device->LoadSurface(xr_data_FixDataPath(path));
    if (!surface) return nullptr;
    return (new c_Image())->m_new()->p_Init(surface, frameCount, flags);
}

c_Image* xr_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount, int flags) {
    if (!xr_graphics_device) return nullptr;
    gxtkSurface* surface = xr_graphics_device->LoadSurface(xr_data_FixDataPath(path));
    if (!surface) return nullptr;
    return (new c_Image())->m_new()->p_Init2(surface, 0, 0, frameWidth, frameHeight, frameCount, flags,
                                             nullptr, 0, 0, surface->Width(), surface->Height());
}

int xr_graphics_SetFont(c_Image* font, int firstChar) {
    c_GraphicsContext* c = xr_graphics_context;
    if (!font) {
        if (!c->m_builtinFont)
            gc_assign(c->m_builtinFont, xr_graphics_LoadImage(String(kBuiltinFontFile), 96, c_Image::PadX));
        font = c->m_builtinFont;
        firstChar = 32;
    }
    gc_assign(c->m_currentFont, font);
    c->m_fontFirstCode = firstChar;
    return 0;
}

// ---- device and frame ----

int xr_graphics_SetGraphicsDevice(gxtkGraphics* device) {
    gc_assign(xr_graphics_device, device);
    return 0;
}

int xr_graphics_BeginRender() {
    gc_assign(xr_graphics_renderDevice, xr_graphics_device);
    xr_graphics_context->m_stackTop = 0;
    xr_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    xr_graphics_SetColor(255, 255, 255);
    xr_graphics_SetAlpha(1);
    xr_graphics_SetBlend(0);
    // The framework's device size is the host's, as last read by the
    // application layer just before this frame.
    int w = 0, h = 0;
    if (XrGame::_game) {
        w = XrGame::_game->GetDeviceWidth();
        h = XrGame::_game->GetDeviceHeight();
    } else if (xr_graphics_device) {
        w = xr_graphics_device->Width();
        h = xr_graphics_device->Height();
    }
    xr_graphics_SetScissor(0, 0, float(w), float(h));
    return 0;
}

int xr_graphics_EndRender() {
    xr_graphics_renderDevice = nullptr;
    return 0;
}

// ---- state ----
// Outside a frame there is no render device: the state is kept for the
// context and the device call is skipped rather than made through null.

int xr_graphics_SetColor(float r, float g, float b) {
    c_GraphicsContext* c = xr_graphics_context;
    c->m_colorR = r;
    c->m_colorG = g;
    c->m_colorB = b;
    if (xr_graphics_renderDevice) xr_graphics_renderDevice->SetColor(r, g, b);
    return 0;
}

int xr_graphics_SetAlpha(float alpha) {
    xr_graphics_context->m_alpha = alpha;
    if (xr_graphics_renderDevice) xr_graphics_renderDevice->SetAlpha(alpha);
    return 0;
}

int xr_graphics_SetBlend(int mode) {
    xr_graphics_context->m_blendMode = mode;
    if (xr_graphics_renderDevice) xr_graphics_renderDevice->SetBlend(mode);
    return 0;
}

int xr_graphics_SetScissor(float x, float y, float w, float h) {
    c_GraphicsContext* c = xr_graphics_context;
    c->m_scissorX = x;
    c->m_scissorY = y;
    c->m_scissorW = w;
    c->m_scissorH = h;
    if (xr_graphics_renderDevice) xr_graphics_renderDevice->SetScissor(int(x), int(y), int(w), int(h));
    return 0;
}

int xr_graphics_SetMatrix(float ax, float ay, float bx, float by, float ox, float oy) {
    store_matrix(xr_graphics_context, ax, ay, bx, by, ox, oy);
    return 0;
}

// The array forms need six elements; a shorter array is left alone rather
// than read or written past its end.
int xr_graphics_SetMatrix2(Array<float> m) {
    if (m.Length() < 6) return 0;
    return xr_graphics_SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
}

Array<float> xr_graphics_GetMatrix() {
    Array<float> m(6);
    xr_graphics_GetMatrix2(m);
    return m;
}

int xr_graphics_GetMatrix2(Array<float> m) {
    if (m.Length() < 6) return 0;
    c_GraphicsContext* c = xr_graphics_context;
    m[0] = c->m_ax;
    m[1] = c->m_ay;
    m[2] = c->m_bx;
    m[3] = c->m_by;
    m[4] = c->m_ox;
    m[5] = c->m_oy;
    return 0;
}

int xr_graphics_Transform(float ax, float ay, float bx, float by, float ox, float oy) {
    multiply(xr_graphics_context, ax, ay, bx, by, ox, oy);
    return 0;
}

int xr_graphics_Transform2(Array<float> m) {
    if (m.Length() < 6) return 0;
    return xr_graphics_Transform(m[0], m[1], m[2], m[3], m[4], m[5]);
}

int xr_graphics_Translate(float x, float y) {
    multiply(xr_graphics_context, 1, 0, 0, 1, x, y);
    return 0;
}

int xr_graphics_Scale(float x, float y) {
    multiply(xr_graphics_context, x, 0, 0, y, 0, 0);
    return 0;
}

int xr_graphics_Rotate(float angle) {
    float radians = angle * 0.017453292f;
    // cos 0 and sin 0 are exactly 1 and 0: unrotated sprites skip the library calls.
    float c = 1, s = 0;
    if (radians != 0) {
        c = float(std::cos(double(radians)));
        s = float(std::sin(double(radians)));
    }
    multiply(xr_graphics_context, c, -s, s, c, 0, 0);
    return 0;
}

int xr_graphics_PushMatrix() {
    c_GraphicsContext* c = xr_graphics_context;
    int top = c->m_stackTop;
    if (top + 6 > c->m_stack.Length()) {
        int grown = c->m_stack.Length() * 2;
        if (grown < top + 6) grown = top + 6;
        gc_assign(c->m_stack, c->m_stack.Resize(grown));
    }
    float* s = c->m_stack.Data() + top;
    s[0] = c->m_ax;
    s[1] = c->m_ay;
    s[2] = c->m_bx;
    s[3] = c->m_by;
    s[4] = c->m_ox;
    s[5] = c->m_oy;
    c->m_stackTop = top + 6;
    return 0;
}

int xr_graphics_PopMatrix() {
    c_GraphicsContext* c = xr_graphics_context;
    int top = c->m_stackTop - 6;
    if (top < 0 || top + 6 > c->m_stack.Length()) return 0;
    const float* s = c->m_stack.Data() + top;
    store_matrix(c, s[0], s[1], s[2], s[3], s[4], s[5]);
    c->m_stackTop = top;
    return 0;
}

// ---- drawing ----

int xr_graphics_DrawRect(float x, float y, float w, float h) {
    if (!xr_graphics_renderDevice) return 0;
    xr_graphics_context->p_Validate();
    return xr_graphics_renderDevice->DrawRect(x, y, w, h);
}

int xr_graphics_DrawLine(float x1, float y1, float x2, float y2) {
    if (!xr_graphics_renderDevice) return 0;
    xr_graphics_context->p_Validate();
    return xr_graphics_renderDevice->DrawLine(x1, y1, x2, y2);
}

int xr_graphics_DrawOval(float x, float y, float w, float h) {
    if (!xr_graphics_renderDevice) return 0;
    xr_graphics_context->p_Validate();
    return xr_graphics_renderDevice->DrawOval(x, y, w, h);
}

int xr_graphics_DrawPoly(Array<float> xy) {
    if (!xr_graphics_renderDevice) return 0;
    xr_graphics_context->p_Validate();
    return xr_graphics_renderDevice->DrawPoly(xy);
}

int xr_graphics_DrawPoly2(Array<float> xyuv, c_Image* image, int frame) {
    if (!xr_graphics_renderDevice || !valid_frame(image, frame)) return 0;
    xr_graphics_context->p_Validate();
    c_Frame* f = image->m_frames[frame];
    return xr_graphics_renderDevice->DrawPoly2(xyuv, image->m_surface, f->m_x, f->m_y);
}

int xr_graphics_DrawImage(c_Image* image, float x, float y, int frame) {
    if (!xr_graphics_renderDevice || !valid_frame(image, frame)) return 0;
    xr_graphics_context->p_Validate();
    draw_frame(xr_graphics_renderDevice, image, x - image->m_handleX, y - image->m_handleY, frame);
    return 0;
}

int xr_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX, float scaleY,
                           int frame) {
    if (!xr_graphics_renderDevice || !valid_frame(image, frame)) return 0;
    xr_graphics_PushMatrix();
    xr_graphics_Translate(x, y);
    xr_graphics_Rotate(rotation);
    xr_graphics_Scale(scaleX, scaleY);
    xr_graphics_Translate(-image->m_handleX, -image->m_handleY);
    xr_graphics_context->p_Validate();
    // The handle is already in the matrix: the frame's corner goes at the origin.
    draw_frame(xr_graphics_renderDevice, image, 0, 0, frame);
    xr_graphics_PopMatrix();
    return 0;
}
