// The drawing device: a 2-D immediate-mode renderer on OpenGL 1.1 fixed
// function and client arrays. Every primitive becomes vertices in one batch,
// which goes to OpenGL in a single call until the primitive kind or texture
// changes, the batch fills, a state change needs it, or the frame ends.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/string.h"

// One vertex as the client arrays read it (stride 20).
struct gxtkVertex {
    float x, y;       // window pixels, y down
    float u, v;       // texture coordinates; untextured primitives leave them
    uint32_t color;   // bytes R, G, B, A in memory, colour premultiplied
};
static_assert(sizeof(gxtkVertex) == 20, "the client arrays use a stride of 20");

// An image uploaded to a texture on first use. A surface loaded from a file
// lets go of its pixels once the texture holds them, and reads the file again
// on the rare occasion that a new GL context has not kept its textures; one
// made from data or written to later keeps its pixels (premultiplied) for that.
class gxtkSurface : public Object {
public:
    unsigned char* pixels = nullptr;  // malloc'd, owned; null once a loaded image is uploaded
    String path;                      // the file a loaded image came from; empty for any other
    int width = 0, height = 0;
    int depth = 0;                    // bytes per pixel, 1..4
    unsigned int glFormat = 0;
    int contextSeq = -1;              // glfwGraphicsSeq of the texture; -1: none
    unsigned int textureName = 0;
    float uScale = 0, vScale = 0;     // 1 / texture size: the texture may be larger

    // Makes Bind treat every texture size that is not a power of two as
    // refused, as some drivers do; Mesa accepts them, so tests need this to
    // reach the retry.
    static bool refuseNpotForTesting;

    ~gxtkSurface() override;

    virtual int Discard();
    virtual int Width() { return width; }
    virtual int Height() { return height; }
    virtual int Loaded() { return 1; }

    // Takes ownership of `data` (malloc'd, width·height·depth bytes) and
    // premultiplies it in place.
    void SetData(unsigned char* data, int width, int height, int depth);
    // Stores 0xAARRGGBB pixels, premultiplied, into the rectangle (x, y, w, h)
    // from source[offset + r·pitch + c]; the caller has checked every bound.
    void SetSubData(int x, int y, int w, int h, const int* source, int pitch);
    void Bind();
    void OnUnsafeLoadComplete() { Bind(); }

private:
    // Reads the pixels from `path` again; false when the file no longer
    // gives an image of the same size and depth.
    bool Reload();
};

class gxtkGraphics : public Object {
public:
    enum { kMaxVertices = 1024, kMaxQuads = kMaxVertices / 4 };

    int width = 0, height = 0;
    uint32_t color = 0;
    float red = 0, green = 0, blue = 0;
    float alpha = 0;
    float ax = 1, ay = 0, bx = 0, by = 1, ox = 0, oy = 0;
    bool transformed = false;
    gxtkVertex batch[kMaxVertices];
    uint16_t quadIndexTable[kMaxQuads * 6];
    int batchKind = 0;
    int batchCount = 0;
    gxtkSurface* batchSurface = nullptr;

    // OpenGL draw calls made since the device was created.
    long long drawCalls = 0;

    gxtkGraphics();
    void mark() override;

    virtual int Width() { return width; }
    virtual int Height() { return height; }
    virtual int BeginRender();
    virtual int EndRender();
    virtual int DiscardGraphics() { return 0; }
    virtual gxtkSurface* LoadSurface(String path);
    virtual gxtkSurface* CreateSurface(int width, int height);
    virtual bool LoadSurface__UNSAFE__(gxtkSurface* surface, String path);
    virtual int Cls(float r, float g, float b);
    virtual int SetAlpha(float alpha);
    virtual int SetColor(float r, float g, float b);
    virtual int SetBlend(int mode);
    virtual int SetScissor(int x, int y, int w, int h);
    virtual int SetMatrix(float ax, float ay, float bx, float by, float ox, float oy);
    virtual int DrawPoint(float x, float y);
    virtual int DrawRect(float x, float y, float w, float h);
    virtual int DrawLine(float x1, float y1, float x2, float y2);
    virtual int DrawOval(float x, float y, float w, float h);
    virtual int DrawPoly(Array<float> xy);
    virtual int DrawPoly2(Array<float> xyuv, gxtkSurface* surface, int srcx, int srcy);
    virtual int DrawSurface(gxtkSurface* surface, float x, float y);
    virtual int DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw, int srch);
    virtual int ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch);
    virtual int WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h,
                             int offset, int pitch);

    // Room for `count` vertices (1..kMaxVertices) of primitive kind `type`
    // drawn with `surface`, flushing first when they cannot join the batch.
    gxtkVertex* Begin(int type, int count, gxtkSurface* surface) {
        if (type != batchKind || surface != batchSurface || batchCount + count > kMaxVertices)
            NewBatch(type, surface);
        gxtkVertex* v = batch + batchCount;
        batchCount += count;
        return v;
    }
    void Flush();

private:
    // The matrix and colour copied out of the device for the length of one
    // primitive. The batch lives inside the device as well, so working on
    // the fields directly would make the compiler reload them after every
    // vertex store.
    struct Pen {
        float ax, ay, bx, by, ox, oy;
        bool transformed;
        uint32_t color;

        void Put(gxtkVertex* v, float x, float y) const {
            if (transformed) {
                v->x = x * ax + y * bx + ox;
                v->y = x * ay + y * by + oy;
            } else {
                v->x = x;
                v->y = y;
            }
            v->color = color;
        }
        // The corners (x0, y0), (x1, y0), (x1, y1), (x0, y1), clockwise on screen.
        void PutQuad(gxtkVertex* v, float x0, float y0, float x1, float y1) const {
            Put(v, x0, y0);
            Put(v + 1, x1, y0);
            Put(v + 2, x1, y1);
            Put(v + 3, x0, y1);
        }
    };
    Pen CurrentPen() const { return {ax, ay, bx, by, ox, oy, transformed, color}; }

    // Kept out of line: the common case of Begin, appending, then needs no
    // call and no saved registers.
    void NewBatch(int type, gxtkSurface* surface);
    void PutSurfaceQuad(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw, int srch);
    int DrawSurface2InNewBatch(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw, int srch);

    void UpdateColor();

    std::vector<unsigned char> readBuffer;
};
