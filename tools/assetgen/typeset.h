// Text set with stb_truetype, turned into signed-distance fields so that
// outlines, glows and bevels can be shaded at any width without re-rendering.
#pragma once

#include <string>
#include <vector>

#include <stb_truetype.h>

namespace art {

class Face {
public:
    explicit Face(const std::string& path);
    const stbtt_fontinfo* info() const { return &info_; }
    // Pixels per font unit for an em of the given height in pixels.
    float scaleForEm(float em) const;

private:
    std::vector<unsigned char> data_;
    stbtt_fontinfo info_;
};

struct TextStyle {
    float em = 32;        // em height in pixels
    float xScale = 1;     // horizontal squeeze (< 1 condenses)
    float tracking = 0;   // extra pixels between letters
};

struct Box {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    float width() const { return x1 - x0; }
    float height() const { return y1 - y0; }
};

// Ink bounds of a text whose pen starts at (0, 0) on the baseline.
Box textBounds(const Face& face, const std::string& text, const TextStyle& style);

// Signed distance (output pixels, negative inside) to the outline of text set
// into a w x h area with its pen starting at (x, baseline). The text is
// rasterised res times finer than the output for accurate distances.
class Field {
public:
    Field() = default;
    Field(const Face& face, const std::string& text, const TextStyle& style, float x, float baseline,
          int w, int h, int res);
    float at(float x, float y) const;
    int width() const { return w_; }
    int height() const { return h_; }

private:
    int w_ = 0, h_ = 0, res_ = 1;
    std::vector<float> d_;
};

}  // namespace art
