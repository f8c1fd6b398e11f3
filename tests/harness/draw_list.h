// The draw list as a player reads it: the texts drawn with the font, where
// images were queued, and the boxes they cover on the virtual screen, for
// tests that look at what a screen shows rather than at its pixels.
#pragma once

#include <optional>
#include <string>
#include <vector>

// A run of glyphs: `x` and `y` are the first glyph's centre, `end` the last
// one's, `mid` halfway between them.
struct Label {
    std::string text;
    float x, y, mid, scale, alpha, end;
};

// Command `n` of the draw list, and whether it queues frame `frame` of image
// `image` (any frame when `frame` is -1).
const float* Command(int n);
bool IsImage(const float* command, int image, int frame);

// The texts of the draw list. A gap wider than a space starts a new label,
// and so does a step back, a new line or a change of size.
std::vector<Label> Labels();
std::optional<Label> Find(const std::string& text);
// Where image `image`'s frame `frame` was last queued (its centre).
std::optional<Label> FindImage(int image, int frame);
// How many times the list queues that frame.
int CountImage(int image, int frame);

// A box on the virtual screen.
struct Box {
    float x0, y0, x1, y1;
    bool Inside(float width, float height) const { return x0 >= 0 && y0 >= 0 && x1 <= width && y1 <= height; }
    bool Overlaps(const Box& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};
// What a label's glyphs cover, each a font cell at the label's scale.
Box LabelBox(const Label& label);
// What the last queued frame of an image covers, drawn about its centre.
std::optional<Box> ImageBox(int image, int frame);
