// Deferred drawing: during an update every sprite, shape and glyph becomes a
// 20-float command stamped with the current style; the frame renderer plays
// the list back through the graphics module once per frame.
#pragma once

#include "graphics/graphics.h"
#include "runtime/array.h"
#include "runtime/string.h"

// The draw list: RUVO_DRAW_FLOATS floats a command, and the commands' types
// (CMD_TYPE).
enum {
    RUVO_DRAW_FLOATS = 20,
    RUVO_DRAW_LIMIT = 5000,  // commands 0..5000 are accepted
    RUVO_CMD_IMAGE = 1,
    RUVO_CMD_RECT = 2,
    RUVO_CMD_TRIANGLE = 4,
    RUVO_CMD_LINE = 5,
    RUVO_CMD_SKEW = 101,
};

// Slots of the draw style (xr_ruvo_RUVO_DrawStyle). The first STYLE_STAMPED
// are stamped into every command under the same numbers. The clear colour
// eases a sixteenth of the way to its target each update.
enum {
    STYLE_ALPHA = 0, STYLE_RED = 1, STYLE_GREEN = 2, STYLE_BLUE = 3,
    STYLE_SCALE_X = 4, STYLE_SCALE_Y = 5, STYLE_ROTATION = 6, STYLE_SKEW_X = 7, STYLE_SKEW_Y = 8,
    STYLE_STAMPED = 9,
    STYLE_CLEAR_RED = 11, STYLE_CLEAR_GREEN = 12, STYLE_CLEAR_BLUE = 13, STYLE_CLEAR_ALPHA = 14,
    STYLE_CLEAR_TARGET_RED = 15, STYLE_CLEAR_TARGET_GREEN = 16, STYLE_CLEAR_TARGET_BLUE = 17,
};

// Fields of a draw command after the stamped style: its type, then what the
// type draws.
enum {
    CMD_TYPE = 9,
    CMD_IMAGE = 10,              // image: the image slot
    CMD_X = 11, CMD_Y = 12,      // image: its centre; rectangle: its corner; line: its start
    CMD_FRAME = 13,              // image: the frame
    CMD_W = 13, CMD_H = 14,      // rectangle: its size
    CMD_X2 = 13, CMD_Y2 = 14,    // line: its end
    CMD_CORNERS = 11,            // triangle: x1 y1 x2 y2 x3 y3
};

// Slots of the frame statistics (xr_ruvo_RUVO_Data).
enum {
    DATA_UPDATE_RATE = 1,           // updates in the last whole second
    DATA_RENDER_RATE = 2,           // frames in the last whole second
    DATA_PLAYED_COMMANDS = 3,       // commands the last frame drew
    DATA_UPDATE_SECOND_START = 6,   // milliseconds at which the counted second began
    DATA_RENDER_SECOND_START = 7,
    DATA_UPDATES_THIS_SECOND = 8,
    DATA_RENDERS_THIS_SECOND = 9,
    DATA_UPDATES = 48,              // since the start
    DATA_RENDERS = 49,
};

// Arguments that stand for "not given".
enum {
    STYLE_KEEP_ALPHA = -100,        // xr_ruvo_SetCol: the alpha stays
    STYLE_SCALE_AS_X = -37171,      // xr_ruvo_SetSize: the height's scale is the width's
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

extern Array<float> xr_ruvo_RUVO_DrawStyle;  // the style (STYLE_), stamped into each new command
extern Array<float> xr_ruvo_RUVO_Draw;       // the draw list
extern int xr_ruvo_Sprtup;                   // commands in the draw list
extern Array<c_Image*> xr_ruvo_RUVO_Img;     // the loaded images by slot (IMG_)
extern Array<int> xr_ruvo_RUVO_ImgD;         // each slot's frames; a frame number wraps at it
extern Array<float> xr_ruvo_RUVO_ImgW;       // each slot's frame width, pixels
extern Array<float> xr_ruvo_RUVO_ImgH;       // and height
extern int xr_ruvo_RUVO_Font;                // the image slot of the text's font; 0, no text
extern Array<int> xr_ruvo_RUVO_FontKern;     // the pen's advance of each code from FONT_FIRST_CODE
extern int xr_ruvo_KeyPadMouse;              // the inline icons text shows: 0 the keys', 1 the pad's
extern int xr_ruvo_overscan;                 // widens the margin past the screen where text is drawn
// The virtual screen the game draws on, in virtual units: xr_ruvo_RUVO_Scale
// device pixels each.
extern int xr_ruvo_jscrw;
extern int xr_ruvo_jscrh;
extern float xr_ruvo_RUVO_Scale;
// The virtual screen's size along the window's longer side; the other side
// follows the window's shape.
extern int xr_ruvo_RUVO_TargetSize;
// The window's size in device pixels at the last frame (both pairs alike).
extern int xr_ruvo_RealW, xr_ruvo_RealH, xr_ruvo_WRealW, xr_ruvo_WRealH;
extern int xr_ruvo_RUVO_Orientation;         // 1 while the virtual screen is taller than wide
extern Array<float> xr_ruvo_RUVO_Data;       // frame statistics (DATA_)

void xr_ruvo_draw_init();
void xr_ruvo_draw_mark();

// The style of the commands queued next: colour 0..255 and alpha 0..1, scale,
// rotation in degrees, skew.
int xr_ruvo_SetCol(float r, float g, float b, float a = STYLE_KEEP_ALPHA);
int xr_ruvo_Alpha(float a);
int xr_ruvo_SetSize(float sx, float sy = STYLE_SCALE_AS_X);
int xr_ruvo_SetRot(float r);
int xr_ruvo_SetSkew(float kx, float ky);
// The colour of palette entry n (1 red .. 9 white; any other, grey) times
// `brightness`.
int xr_ruvo_Ink(int n, float brightness);
// Opaque white, full size, upright and unskewed again.
int xr_ruvo_ResetDraw();
// The colour the clear eases towards, and the clear's alpha.
int xr_ruvo_SetCLSCol(int r, int g, int b, float a);

int xr_ruvo_DrawImg(int image, float x, float y, int frame);
// A w by h rectangle placed by (x, y): ax and ay 0 put its left or top there,
// 1 its middle, 2 its right or bottom.
int xr_ruvo_Rect(float x, float y, float w, float h, float ax, float ay);
int xr_ruvo_Triangle(float x1, float y1, float x2, float y2, float x3, float y3);
int xr_ruvo_Line(float x1, float y1, float x2, float y2);
// Text placed by (x, y) as xr_ruvo_Rect places a rectangle, its glyphs riding
// a sine wave waveHeight pixels high from waveOffset degrees (0: still);
// returns the pen's x after the last glyph.
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
// Loads `name` into slot `image` as frameCount frames of frameW by frameH.
int xr_ruvo_LoadImg(int image, String name, int frameW, int frameH, int frameCount);
// Loads the font `name` (laid out as shell/font.h says) into slot `image`,
// and makes it the text's font.
int xr_ruvo_LoadFont(int image, String name);
