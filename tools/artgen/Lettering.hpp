// Lettering of the picture generator: text rendered with FreeType into a coverage mask at canvas
// resolution, then drawn with the house style (gradient fill, outline, shadow, glow).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Raster.hpp"

namespace artgen {

// Ink coverage of a text, cropped to its ink, in sub-pixels of a canvas of the given scale.
struct TextMask {
    int width = 0, height = 0, scale = 1;
    std::vector<float> cover;
    float At(int sx, int sy) const {
        return sx < 0 || sy < 0 || sx >= width || sy >= height ? 0.0f
                                                               : cover[static_cast<size_t>(sy) * width + sx];
    }
    float OutWidth() const { return static_cast<float>(width) / static_cast<float>(scale); }
    float OutHeight() const { return static_cast<float>(height) / static_cast<float>(scale); }
};

// The bold face every picture's lettering uses; one per run.
class Font {
public:
    explicit Font(const std::string& path);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // The text at `pixelSize` output pixels per em; `tracking` adds space between letters.
    TextMask Render(const std::string& text, float pixelSize, int scale, float tracking = 0) const;
    // The largest rendering whose ink fits in maxWidth x maxHeight output pixels.
    TextMask Fit(const std::string& text, float maxWidth, float maxHeight, int scale,
                 float tracking = 0) const;

    static const Font& Default();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

struct TextStyle {
    Color top = Rgb(255, 255, 255);
    Color bottom = Rgb(180, 200, 255);
    Color outline = Rgb(10, 10, 30);
    float outlineWidth = 1.0f; // output pixels
    Color shadow = Rgb(0, 0, 0, 0);
    float shadowX = 1.0f, shadowY = 1.0f;
    Color glow = Rgb(0, 0, 0, 0);
    float glowRadius = 0.0f;
    // A bright line along the upper part of each letter.
    float shine = 0.35f;
};

// Draws the mask with its ink's top-left corner at (x, y) output pixels.
void DrawText(Canvas& canvas, const TextMask& mask, float x, float y, const TextStyle& style);

// Draws text centred in the box (x, y, w, h), fitted to it less the style's outline.
void DrawTextInBox(Canvas& canvas, const std::string& text, float x, float y, float w, float h,
                   const TextStyle& style, float tracking = 0,
                   int align = 0 /* -1 left, 0 centre, 1 right */);

} // namespace artgen
