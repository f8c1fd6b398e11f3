#include "graphics/device.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include <GLFW/glfw3.h>

#include "host/glfwgame.h"

// OpenGL 1.2's names, which Windows' own headers stop short of (its
// opengl32 speaks 1.1; the driver behind it knows these).
#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif
#ifndef GL_BGRA
#define GL_BGRA 0x80E1
#endif

bool gxtkSurface::refuseNpotForTesting = false;

namespace {

// Colour channels are 0..255 by contract; clamping keeps a stray value from
// spilling into the neighbouring byte of the packed colour.
inline uint32_t to_byte(float v) {
    if (!(v > 0)) return 0;
    if (v >= 255) return 255;
    return uint32_t(int(v));
}

inline uint32_t bits_of(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

// The same as comparing each component with ==, without a chain of float
// compares on the sprite path: 1.0 has one bit pattern, and 0 has two, +0
// and -0, which shifting the sign bit out makes equal. A NaN matches neither.
inline bool is_identity(float ax, float ay, float bx, float by, float ox, float oy) {
    const uint32_t one = 0x3F800000u;
    const uint32_t zeros = bits_of(ay) | bits_of(bx) | bits_of(ox) | bits_of(oy);
    return ((bits_of(ax) ^ one) | (bits_of(by) ^ one) | (zeros << 1)) == 0;
}

inline bool is_pow2(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

inline int pow2_at_least(int n) {
    int p = 1;
    while (p < n && p < (1 << 30)) p <<= 1;
    return p;
}

// Whether h rows of w elements, row r starting at offset + r·pitch, lie
// inside an array of `length` elements.
inline bool rows_fit(int length, int offset, int pitch, int w, int h) {
    if (w <= 0 || h <= 0 || offset < 0 || pitch < w) return false;
    return int64_t(offset) + int64_t(h - 1) * pitch + w <= length;
}

void premultiply(unsigned char* p, int width, int height, int depth) {
    long long n = (long long)width * height;
    if (depth == 2) {
        for (long long i = 0; i < n; ++i, p += 2) p[0] = (unsigned char)(p[0] * p[1] / 255);
    } else if (depth == 4) {
        for (long long i = 0; i < n; ++i, p += 4) {
            int a = p[3];
            p[0] = (unsigned char)(p[0] * a / 255);
            p[1] = (unsigned char)(p[1] * a / 255);
            p[2] = (unsigned char)(p[2] * a / 255);
        }
    }
}

unsigned int format_of_depth(int depth) {
    switch (depth) {
    case 1: return GL_LUMINANCE;
    case 2: return GL_LUMINANCE_ALPHA;
    case 3: return GL_RGB;
    default: return GL_RGBA;
    }
}

GLFWwindow* host_window() {
    return XrGlfwGame::_glfwGame ? XrGlfwGame::_glfwGame->Window() : nullptr;
}

}  // namespace

// ---- gxtkSurface ----

gxtkSurface::~gxtkSurface() {
    Discard();
}

int gxtkSurface::Discard() {
    // A texture of an older context died with it: only the current one's is ours to delete.
    if (contextSeq == glfwGraphicsSeq) glDeleteTextures(1, &textureName);
    contextSeq = -1;
    std::free(pixels);
    pixels = nullptr;
    path = String();
    return 0;
}

bool gxtkSurface::Reload() {
    if (path.Length() == 0 || !XrGame::_game) return false;
    int w = 0, h = 0, d = 0;
    unsigned char* data = XrGame::_game->LoadImageData(path, &w, &h, &d);
    if (data && w == width && h == height && d == depth) {
        premultiply(data, w, h, d);
        pixels = data;
        return true;
    }
    std::free(data);
    return false;
}

void gxtkSurface::SetData(unsigned char* data, int w, int h, int d) {
    if (data != pixels) std::free(pixels);
    path = String();
    // New content of perhaps another size: the texture is made again at the next Bind.
    if (contextSeq == glfwGraphicsSeq) glDeleteTextures(1, &textureName);
    contextSeq = -1;
    pixels = data;
    width = w;
    height = h;
    depth = d;
    glFormat = format_of_depth(d);
    if (data) premultiply(data, w, h, d);
}

void gxtkSurface::SetSubData(int x, int y, int w, int h, const int* source, int pitch) {
    // Written to, the surface keeps its pixels from now on: the texture alone
    // could not be made again from the file.
    if (!pixels) Reload();
    path = String();
    if (!pixels) {
        pixels = static_cast<unsigned char*>(std::calloc(size_t(width) * size_t(height), 4));
        if (!pixels) return;
    }
    for (int r = 0; r < h; ++r) {
        const int* from = source + (long long)r * pitch;
        unsigned char* to = pixels + ((size_t(y) + r) * width + x) * 4;
        for (int c = 0; c < w; ++c, to += 4) {
            uint32_t p = uint32_t(from[c]);
            uint32_t a = p >> 24;
            to[0] = (unsigned char)(((p >> 16) & 255) * a / 255);
            to[1] = (unsigned char)(((p >> 8) & 255) * a / 255);
            to[2] = (unsigned char)((p & 255) * a / 255);
            to[3] = (unsigned char)a;
        }
    }
    if (contextSeq != glfwGraphicsSeq) return;
    glBindTexture(GL_TEXTURE_2D, textureName);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const unsigned char* first = pixels + (size_t(y) * width + x) * 4;
    if (w == width) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, first);
    } else {
        for (int r = 0; r < h; ++r)
            glTexSubImage2D(GL_TEXTURE_2D, 0, x, y + r, w, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                            first + size_t(r) * width * 4);
    }
}

void gxtkSurface::Bind() {
    if (glfwGraphicsSeq == 0) return;
    if (contextSeq == glfwGraphicsSeq) {
        glBindTexture(GL_TEXTURE_2D, textureName);
        return;
    }
    contextSeq = glfwGraphicsSeq;
    if (!pixels) Reload();
    glGenTextures(1, &textureName);
    glBindTexture(GL_TEXTURE_2D, textureName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    // An error left over from elsewhere must not pass for a refused size.
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {}
    int texWidth = width, texHeight = height;
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(glFormat), texWidth, texHeight, 0, glFormat, GL_UNSIGNED_BYTE,
                 nullptr);
    bool refused = glGetError() != GL_NO_ERROR;
    if (refuseNpotForTesting && (!is_pow2(texWidth) || !is_pow2(texHeight))) refused = true;
    if (refused) {
        texWidth = pow2_at_least(width);
        texHeight = pow2_at_least(height);
        glTexImage2D(GL_TEXTURE_2D, 0, GLint(glFormat), texWidth, texHeight, 0, glFormat,
                     GL_UNSIGNED_BYTE, nullptr);
    }
    uScale = texWidth > 0 ? 1.0f / float(texWidth) : 0;
    vScale = texHeight > 0 ? 1.0f / float(texHeight) : 0;

    if (pixels) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, glFormat, GL_UNSIGNED_BYTE, pixels);
        if (path.Length() > 0) {
            std::free(pixels);
            pixels = nullptr;
        }
    }
}

// ---- gxtkGraphics ----

gxtkGraphics::gxtkGraphics() {
    for (int k = 0; k < kMaxQuads; ++k) {
        uint16_t* q = quadIndexTable + k * 6;
        uint16_t first = uint16_t(k * 4);
        q[0] = first;
        q[1] = uint16_t(first + 1);
        q[2] = uint16_t(first + 2);
        q[3] = first;
        q[4] = uint16_t(first + 2);
        q[5] = uint16_t(first + 3);
    }
    if (GLFWwindow* window = host_window()) glfwGetFramebufferSize(window, &width, &height);
}

void gxtkGraphics::mark() {
    gc_mark_field(batchSurface);
}

int gxtkGraphics::BeginRender() {
    // The drawing area in pixels, which a scaled desktop makes larger than
    // the window's size in screen coordinates.
    width = height = 0;
    if (GLFWwindow* window = host_window()) glfwGetFramebufferSize(window, &width, &height);

    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(gxtkVertex), &batch[0].x);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, sizeof(gxtkVertex), &batch[0].u);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(gxtkVertex), &batch[0].color);

    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_TEXTURE_2D);

    batchCount = 0;
    return 1;
}

int gxtkGraphics::EndRender() {
    if (batchCount > 0) Flush();
    return 0;
}

__attribute__((noinline)) void gxtkGraphics::NewBatch(int type, gxtkSurface* surface) {
    if (batchCount > 0) Flush();
    batchKind = type;
    if (surface != batchSurface) gc_assign(batchSurface, surface);
}

void gxtkGraphics::Flush() {
    if (batchCount == 0) return;
    if (batchSurface) {
        glEnable(GL_TEXTURE_2D);
        batchSurface->Bind();
    }
    switch (batchKind) {
    case 1:
        glDrawArrays(GL_POINTS, 0, batchCount);
        ++drawCalls;
        break;
    case 2:
        glDrawArrays(GL_LINES, 0, batchCount);
        ++drawCalls;
        break;
    case 3:
        glDrawArrays(GL_TRIANGLES, 0, batchCount);
        ++drawCalls;
        break;
    case 4:
        glDrawElements(GL_TRIANGLES, batchCount / 4 * 6, GL_UNSIGNED_SHORT, quadIndexTable);
        ++drawCalls;
        break;
    default:
        for (int start = 0; batchKind >= 5 && start < batchCount; start += batchKind) {
            glDrawArrays(GL_TRIANGLE_FAN, start, batchKind);
            ++drawCalls;
        }
        break;
    }
    if (batchSurface) glDisable(GL_TEXTURE_2D);
    batchCount = 0;
}

int gxtkGraphics::Cls(float r, float g, float b) {
    batchCount = 0;
    glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    return 0;
}

void gxtkGraphics::UpdateColor() {
    color = to_byte(alpha * 255) << 24 | to_byte(blue * alpha) << 16 | to_byte(green * alpha) << 8 |
            to_byte(red * alpha);
}

int gxtkGraphics::SetAlpha(float a) {
    alpha = a;
    UpdateColor();
    return 0;
}

int gxtkGraphics::SetColor(float r, float g, float b) {
    red = r;
    green = g;
    blue = b;
    UpdateColor();
    return 0;
}

int gxtkGraphics::SetBlend(int mode) {
    if (batchCount > 0) Flush();
    glBlendFunc(GL_ONE, mode == 1 ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
    return 0;
}

int gxtkGraphics::SetScissor(int x, int y, int w, int h) {
    if (batchCount > 0) Flush();
    if (x == 0 && y == 0 && w == Width() && h == Height()) {
        glDisable(GL_SCISSOR_TEST);
    } else {
        glEnable(GL_SCISSOR_TEST);
        glScissor(x, Height() - y - h, w, h);
    }
    return 0;
}

int gxtkGraphics::SetMatrix(float ax_, float ay_, float bx_, float by_, float ox_, float oy_) {
    ax = ax_;
    ay = ay_;
    bx = bx_;
    by = by_;
    ox = ox_;
    oy = oy_;
    transformed = !is_identity(ax, ay, bx, by, ox, oy);
    return 0;
}

int gxtkGraphics::DrawPoint(float x, float y) {
    gxtkVertex* v = Begin(1, 1, nullptr);
    CurrentPen().Put(v, x, y);
    v->x += 0.5f;
    v->y += 0.5f;
    return 0;
}

int gxtkGraphics::DrawLine(float x1, float y1, float x2, float y2) {
    Pen pen = CurrentPen();
    gxtkVertex* v = Begin(2, 2, nullptr);
    pen.Put(v, x1, y1);
    pen.Put(v + 1, x2, y2);
    for (int i = 0; i < 2; ++i) {
        v[i].x += 0.5f;
        v[i].y += 0.5f;
    }
    return 0;
}

int gxtkGraphics::DrawRect(float x, float y, float w, float h) {
    Pen pen = CurrentPen();
    pen.PutQuad(Begin(4, 4, nullptr), x, y, x + w, y + h);
    return 0;
}

int gxtkGraphics::DrawOval(float x, float y, float w, float h) {
    float rx = w * 0.5f, ry = h * 0.5f;
    float d;
    if (transformed) {
        d = std::sqrt((rx * ax) * (rx * ax) + (rx * ay) * (rx * ay)) +
            std::sqrt((ry * bx) * (ry * bx) + (ry * by) * (ry * by));
    } else {
        d = std::fabs(rx) + std::fabs(ry);
    }
    // Compared as floats first: a huge or NaN size must not reach the int conversion.
    int n;
    if (!(d >= 12))
        n = 12;
    else if (d >= 1024)
        n = 1024;
    else
        n = int(d) & ~3;

    float cx = x + rx, cy = y + ry;
    Pen pen = CurrentPen();
    gxtkVertex* v = Begin(n, n, nullptr);
    for (int i = 0; i < n; ++i) {
        float theta = float(i) * 6.2831855f / float(n);
        pen.Put(v + i, cx + rx * std::cos(theta), cy - ry * std::sin(theta));
    }
    return 0;
}

int gxtkGraphics::DrawPoly(Array<float> xy) {
    int n = xy.Length() / 2;
    if (n < 1 || n > kMaxVertices) return 0;
    const float* p = xy.Data();
    Pen pen = CurrentPen();
    gxtkVertex* v = Begin(n, n, nullptr);
    for (int k = 0; k < n; ++k) pen.Put(v + k, p[2 * k], p[2 * k + 1]);
    return 0;
}

int gxtkGraphics::DrawPoly2(Array<float> xyuv, gxtkSurface* surface, int srcx, int srcy) {
    int n = xyuv.Length() / 4;
    if (!surface || n < 1 || n > kMaxVertices) return 0;
    const float* p = xyuv.Data();
    float us = surface->uScale, vs = surface->vScale;
    Pen pen = CurrentPen();
    gxtkVertex* v = Begin(n, n, surface);
    for (int k = 0; k < n; ++k, p += 4) {
        pen.Put(v + k, p[0], p[1]);
        v[k].u = (float(srcx) + p[2]) * us;
        v[k].v = (float(srcy) + p[3]) * vs;
    }
    return 0;
}

// The whole surface is the sub-rectangle at (0, 0) of its own size: the same
// vertices, texture coordinates 0 and size · scale.
int gxtkGraphics::DrawSurface(gxtkSurface* surface, float x, float y) {
    if (!surface) return 0;
    return DrawSurface2(surface, x, y, 0, 0, surface->Width(), surface->Height());
}

// The sprite path. Appending to the batch is the common case; starting a new
// batch goes through a separate function reached by a tail call, so the
// common case makes no call and saves no registers.
__attribute__((always_inline)) inline void gxtkGraphics::PutSurfaceQuad(gxtkSurface* surface, float x, float y,
                                                                        int srcx, int srcy, int srcw, int srch) {
    gxtkVertex* v = batch + batchCount;
    batchCount += 4;
    CurrentPen().PutQuad(v, x, y, x + float(srcw), y + float(srch));
    float us = surface->uScale, vs = surface->vScale;
    float u0 = float(srcx) * us, v0 = float(srcy) * vs;
    float u1 = float(srcx + srcw) * us, v1 = float(srcy + srch) * vs;
    v[0].u = u0;
    v[0].v = v0;
    v[1].u = u1;
    v[1].v = v0;
    v[2].u = u1;
    v[2].v = v1;
    v[3].u = u0;
    v[3].v = v1;
}

__attribute__((noinline)) int gxtkGraphics::DrawSurface2InNewBatch(gxtkSurface* surface, float x, float y,
                                                                   int srcx, int srcy, int srcw, int srch) {
    NewBatch(4, surface);
    PutSurfaceQuad(surface, x, y, srcx, srcy, srcw, srch);
    return 0;
}

int gxtkGraphics::DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw,
                               int srch) {
    if (!surface) return 0;
    if (batchKind != 4 || surface != batchSurface || batchCount + 4 > kMaxVertices)
        return DrawSurface2InNewBatch(surface, x, y, srcx, srcy, srcw, srch);
    PutSurfaceQuad(surface, x, y, srcx, srcy, srcw, srch);
    return 0;
}

int gxtkGraphics::ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch) {
    if (batchCount > 0) Flush();
    if (!rows_fit(pixels.Length(), offset, pitch, w, h)) return 0;
    size_t rowBytes = size_t(w) * 4;
    if (readBuffer.size() < rowBytes * size_t(h)) readBuffer.resize(rowBytes * size_t(h));
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(x, Height() - y - h, w, h, GL_BGRA, GL_UNSIGNED_BYTE, readBuffer.data());
    int* out = pixels.Data();
    for (int r = 0; r < h; ++r)
        std::memcpy(out + offset + (long long)r * pitch, readBuffer.data() + size_t(h - 1 - r) * rowBytes,
                    rowBytes);
    return 0;
}

int gxtkGraphics::WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h,
                               int offset, int pitch) {
    if (!surface || surface->glFormat != GL_RGBA) return 0;
    if (x < 0 || y < 0 || int64_t(x) + w > surface->width || int64_t(y) + h > surface->height) return 0;
    if (!rows_fit(pixels.Length(), offset, pitch, w, h)) return 0;
    // Quads already batched with this surface must show what it held when they were drawn.
    if (batchCount > 0 && batchSurface == surface) Flush();
    surface->SetSubData(x, y, w, h, pixels.Data() + offset, pitch);
    return 0;
}

gxtkSurface* gxtkGraphics::LoadSurface(String path) {
    gxtkSurface* surface = new gxtkSurface();
    if (!LoadSurface__UNSAFE__(surface, path)) return nullptr;
    surface->Bind();
    return surface;
}

bool gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, String path) {
    if (!XrGame::_game) return false;
    int w = 0, h = 0, d = 0;
    unsigned char* data = XrGame::_game->LoadImageData(path, &w, &h, &d);
    if (!data) return false;
    if (d < 1 || d > 4) {
        std::free(data);
        return false;
    }
    surface->SetData(data, w, h, d);
    surface->path = path;
    return true;
}

gxtkSurface* gxtkGraphics::CreateSurface(int w, int h) {
    gxtkSurface* surface = new gxtkSurface();
    surface->width = w > 0 ? w : 0;
    surface->height = h > 0 ? h : 0;
    surface->depth = 4;
    surface->glFormat = GL_RGBA;
    surface->Bind();
    return surface;
}
