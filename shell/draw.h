// Deferred drawing: during an update every sprite, shape and glyph becomes a
// 20-float command stamped with the current style; the frame renderer plays
// the list back through the graphics module once per frame.
#pragma once

#include "graphics/graphics.h"
#include "runtime/array.h"
#include "runtime/string.h"

enum {
    RUVO_DRAW_FLOATS = 20,
    RUVO_DRAW_LIMIT = 5000,  // commands 0..5000 are accepted
    RUVO_CMD_IMAGE = 1,
    RUVO_CMD_RECT = 2,
    RUVO_CMD_TRIANGLE = 4,
    RUVO_CMD_LINE = 5,
    RUVO_CMD_SKEW = 101,
};

// Image slots of the image table, as the game loads them.
enum {
    IMG_TILES = 1,                 // the cave's tiles, the diver, rays and hazards
    IMG_MENU = 68,                 // the menu's backdrop, 4 frames
    IMG_TITLE = 69,                // the title logo
    IMG_PARTICLE_SHAPES_FULL = 70,
    IMG_PARTICLE_SHAPES = 71,
    IMG_PARTICLE_SMOKE = 72,
    IMG_PARTICLE_CLUSTER = 73,
    IMG_PARTICLE_STARS = 74,       // also the options' bar marker
    IMG_BUTTONS = 80,
    IMG_OPTION_ICONS = 81,         // 68 x 68, 49 frames
    IMG_SCOREBOARD = 82,
    IMG_ICONS = 90,                // interface icons, 128 x 128, 16 frames
    IMG_RING = 91,                 // 4 frames
    IMG_EMBLEM_TILES = 95,         // the loading screen's emblem, as 1024 tiles
    IMG_EMBLEM = 96,               // the same emblem whole
    IMG_FONT = 99,
};

// Frames of the interface icons (IMG_ICONS).
enum {
    ICON_PAUSE = 0,
    ICON_QUIT = 1,
    ICON_RESUME = 3,
    ICON_HIGHLIGHT = 6,
    ICON_LIFE = 8,
    ICON_TOOL = 9,                 // the development tool's emblem
    ICON_MAKER = 10,               // the maker's emblem
    ICON_BACK = 11,
    ICON_GEAR_A = 12,
    ICON_GEAR_B = 13,
    ICON_GEAR_C = 14,
};

extern Array<float> xr_ruvo_RUVO_DrawStyle;
extern Array<float> xr_ruvo_RUVO_Draw;
extern int xr_ruvo_Sprtup;
extern Array<c_Image*> xr_ruvo_RUVO_Img;
extern Array<int> xr_ruvo_RUVO_ImgD;
extern Array<float> xr_ruvo_RUVO_ImgW;
extern Array<float> xr_ruvo_RUVO_ImgH;
extern int xr_ruvo_RUVO_Font;
extern Array<int> xr_ruvo_RUVO_FontKern;
extern int xr_ruvo_KeyPadMouse;
extern int xr_ruvo_overscan;
extern int xr_ruvo_jscrw;
extern int xr_ruvo_jscrh;
extern float xr_ruvo_RUVO_Scale;
extern int xr_ruvo_RUVO_TargetSize;
extern int xr_ruvo_RealW, xr_ruvo_RealH, xr_ruvo_WRealW, xr_ruvo_WRealH;
extern int xr_ruvo_RUVO_Orientation;
extern Array<float> xr_ruvo_RUVO_Data;

void xr_ruvo_draw_init();
void xr_ruvo_draw_mark();

int xr_ruvo_SetCol(float r, float g, float b, float a = -100);
int xr_ruvo_Alpha(float a);
int xr_ruvo_SetSize(float sx, float sy = -37171);
int xr_ruvo_SetRot(float r);
int xr_ruvo_SetSkew(float kx, float ky);
int xr_ruvo_Ink(int n, float brightness);
int xr_ruvo_ResetDraw();
int xr_ruvo_SetCLSCol(int r, int g, int b, float a);

int xr_ruvo_DrawImg(int image, float x, float y, int frame);
int xr_ruvo_Rect(float x, float y, float w, float h, float ax, float ay);
int xr_ruvo_Triangle(float x1, float y1, float x2, float y2, float x3, float y3);
int xr_ruvo_Line(float x1, float y1, float x2, float y2);
int xr_ruvo_Text(float x, float y, String text, float alignX, float alignY, float waveOffset, float waveHeight);
// Text centred on (x, y), still.
int xr_ruvo_TextCentred(float x, float y, String text);

// Plays the list back through the graphics module and empties it; the
// commands stay where they were until the next update writes over them.
int xr_ruvo_PlayDraw();
// Plays the commands of the last playback again: the same frame, drawn once
// more while no update runs (a window without the focus).
int xr_ruvo_ReplayDraw();

// The file, in the data folder, that image slot `image` loads as `name`.
String xr_ruvo_ImagePath(int image, String name);
int xr_ruvo_LoadImg(int image, String name, int frameW, int frameH, int frameCount);
int xr_ruvo_LoadFont(int image, String name);
