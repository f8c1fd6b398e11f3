// The game font's layout, read both by the text routine (shell/draw.cpp) and
// by the generator that draws the font (tools/assetgen): each glyph is drawn
// to fit the advance the pen moves by, so the two must come from one place.
#pragma once

enum {
    // 128 frames of 64 x 64 pixels, 16 to a row; frame k shows code 32 + k.
    FONT_CELL = 64,
    FONT_FRAMES = 128,
    FONT_COLUMNS = 16,
    // Codes 32..126 have glyphs; the kerning table goes on to 143, empty.
    FONT_FIRST_CODE = 32,
    FONT_LAST_GLYPH = 126,
    FONT_LAST_KERN = 143,
    // The text routine measures codes up to this one by the kerning table;
    // any code past it but the icon mark moves the pen a fixed 28 pixels.
    FONT_LAST_CODE = 141,
    // Inline control icons: letter i of kFontIconLetters is drawn as frame
    // FONT_ICON_KEY_ROW + i, or FONT_ICON_PAD_ROW + i in the pad row.
    FONT_ICON_KEY_ROW = 112,
    FONT_ICON_PAD_ROW = 96,
    FONT_ICON_ADVANCE = 56,  // pixels an icon moves the pen at scale 1
};

constexpr char kFontIconLetters[] = "JKLIUOQEFWSAD";

// Pixels character code c (FONT_FIRST_CODE..FONT_LAST_KERN) moves the pen
// at scale 1; the codes past FONT_LAST_GLYPH have no glyph and move it by 0.
constexpr int xr_ruvo_FontAdvance(int c) {
    switch (c) {
    case ' ': return 24;
    case '!': case '\'': case ',': case '.': case ':': case ';': case '`': case 'l': case '|': return 9;
    case '"': return 17;
    case '(': case ')': case '[': case ']': return 15;
    case '*': return 23;
    case 'i': return 11;
    case 'j': case '{': case '}': return 18;
    default: return c > FONT_LAST_GLYPH ? 0 : 22;
    }
}
