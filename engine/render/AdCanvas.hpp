// The canvas of a rendering surface: text and shapes queued as drawing objects and drawn, in the
// order they were queued, when the canvas is released (by the caller or at the end of the scene).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/render/AdDraws.hpp"
#include "engine/render/AdFont.hpp"
#include "engine/render/AdPluginApi.hpp"

namespace ad {

class TAdPen {
public:
    AdColor Color{255, 255, 255, 255};
    float Width = 1.0f;
    uint8_t Style = 1; // 0 no outline, 1 solid
};

class TAdBrush {
public:
    uint8_t Style = 1; // 0 no fill, 1 solid, 2 gradient
    uint8_t GradientDirection = 0;
    uint8_t BlendMode = 0; // handed to the plugin with the fill

    AdColor Color() const { return color_; }
    // Also makes the brush solid.
    void SetColor(AdColor color) {
        color_ = color;
        Style = 1;
    }
    AdColor GradientColor() const { return gradientColor_; }
    // Also makes the brush a gradient.
    void SetGradientColor(AdColor color) {
        gradientColor_ = color;
        Style = 2;
    }

private:
    AdColor color_{255, 255, 255, 255};
    AdColor gradientColor_{255, 255, 255, 255};
};

class TAdCanvas;

// A queued drawing; it keeps the pen and brush that were current when it was made.
class TAdCanvasObject {
public:
    TAdCanvasObject(const TAdPen& pen, const TAdBrush& brush) : Pen(pen), Brush(brush) {}
    virtual ~TAdCanvasObject() = default;
    virtual void Draw(TAdCanvas& canvas) = 0;

    TAdPen Pen;
    TAdBrush Brush;
};

// An ellipse inscribed in a rectangle: a fan filled from the centre to the rim, and an outline.
class TAdCanvasEllipseObject : public TAdCanvasObject {
public:
    // Rim steps of every ellipse, whatever its size.
    static constexpr int kRimSteps = 63;

    TAdCanvasEllipseObject(const TAdPen& pen, const TAdBrush& brush, const AdRect& rect)
        : TAdCanvasObject(pen, brush), Rect(rect) {}
    void Draw(TAdCanvas& canvas) override;

    // The fan: the centre, the rim points, and the rim's first point again to close it.
    static std::vector<AdVertex> BuildFan(const AdRect& rect, const TAdBrush& brush);
    // The closed outline through the rounded rim points, consecutive equal points skipped.
    static std::vector<AdVertex> BuildOutline(const AdRect& rect, AdColor color);

    AdRect Rect;
};

class TAdCanvasTextObject : public TAdCanvasObject {
public:
    TAdCanvasTextObject(const TAdPen& pen, const TAdBrush& brush, int32_t x, int32_t y, std::string text,
                        TAdFont* font)
        : TAdCanvasObject(pen, brush), X(x), Y(y), Text(std::move(text)), Font(font) {}
    void Draw(TAdCanvas& canvas) override;

    int32_t X, Y;
    std::string Text;
    TAdFont* Font;
};

using TAdCanvasDisplayList = std::vector<std::unique_ptr<TAdCanvasObject>>;

class TAdCanvas {
public:
    // Creates the plugin mesh shapes are drawn with when the surface's plugin can draw.
    explicit TAdCanvas(TAdRenderingSurface* surface);
    ~TAdCanvas();
    TAdCanvas(const TAdCanvas&) = delete;
    TAdCanvas& operator=(const TAdCanvas&) = delete;

    TAdRenderingSurface* Surface() const { return surface_; }

    TAdPen Pen;
    TAdPen LinePen;
    TAdBrush Brush;
    TAdFont* Font = nullptr; // set by the surface

    // One line of text with its top-left corner at (x, y), in Font, coloured with the pen.
    void TextOut(int32_t x, int32_t y, const std::string& text);
    void Circle(int32_t x, int32_t y, int32_t r) { Ellipse(x - r, y - r, x + r, y + r); }
    void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom);

    // Draws every object queued since the last release in the order queued, then frees them.
    void Release();
    size_t PendingObjects() const;

    AdMesh* ShapeMesh() const { return mesh_.get(); }

private:
    void Append(std::unique_ptr<TAdCanvasObject> object);

    TAdRenderingSurface* surface_;
    std::vector<TAdCanvasDisplayList> displayLists_;
    TAdCanvasDisplayList* currentList_ = nullptr;
    std::unique_ptr<AdMesh> mesh_;
};

} // namespace ad
