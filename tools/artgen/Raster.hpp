// Drawing for the picture generator: a canvas drawn at a multiple of its size and averaged down,
// shapes given as signed distances, and the keyed 24-bit pictures the game loads.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace artgen {

// A straight (not premultiplied) colour, every channel 0..1.
struct Color {
    float r = 0, g = 0, b = 0, a = 1;
};

Color Rgb(int r, int g, int b, float a = 1.0f);
Color Mix(const Color& x, const Color& y, float t);
Color Lighten(const Color& c, float amount); // towards white
Color Darken(const Color& c, float amount);  // towards black
Color WithAlpha(Color c, float a);

inline float Clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}
inline float Smooth(float e0, float e1, float x) {
    const float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

// Signed distances in output pixels (negative inside).
float SdCircle(float x, float y, float cx, float cy, float r);
float SdBox(float x, float y, float cx, float cy, float hw, float hh, float radius = 0);
float SdSegment(float x, float y, float ax, float ay, float bx, float by, float halfWidth);
float SdEllipse(float x, float y, float cx, float cy, float rx, float ry);
// A closed polygon given as x0, y0, x1, y1, ...
float SdPolygon(float x, float y, const std::vector<float>& points);
// A star of n points around (cx, cy), turned by angle (radians, 0 = a point straight up).
std::vector<float> StarPoints(float cx, float cy, float outer, float inner, int n, float angle);

struct Px {
    float r = 0, g = 0, b = 0, a = 0; // premultiplied
};

class Canvas {
public:
    // `unit` output pixels make one unit of the drawing's coordinates: a picture drawn for 24 x 24
    // comes out at 240 x 240 on a canvas of that size with unit 10, as sharp as at its own size.
    Canvas(int width, int height, int scale = 4, float unit = 1.0f);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Scale() const { return scale_; }

    // Covers the shape dist(x, y) < 0 with paint(x, y); x, y are drawing units (output pixels at
    // unit 1). Only the box [x0, x1) x [y0, y1) (drawing units) is visited.
    template <class D, class P> void Draw(D&& dist, P&& paint, float x0, float y0, float x1, float y1) {
        const float s = static_cast<float>(scale_) * unit_;
        const int sx0 = std::max(0, static_cast<int>(std::floor(x0 * s)));
        const int sy0 = std::max(0, static_cast<int>(std::floor(y0 * s)));
        const int sx1 = std::min(width_ * scale_, static_cast<int>(std::ceil(x1 * s)));
        const int sy1 = std::min(height_ * scale_, static_cast<int>(std::ceil(y1 * s)));
        for (int sy = sy0; sy < sy1; ++sy) {
            const float y = (static_cast<float>(sy) + 0.5f) / s;
            for (int sx = sx0; sx < sx1; ++sx) {
                const float x = (static_cast<float>(sx) + 0.5f) / s;
                const float coverage = Clamp01(0.5f - dist(x, y) * s);
                if (coverage > 0)
                    Blend(sx, sy, paint(x, y), coverage);
            }
        }
    }
    template <class D, class P> void Draw(D&& dist, P&& paint) {
        Draw(dist, paint, 0.0f, 0.0f, static_cast<float>(width_) / unit_, static_cast<float>(height_) / unit_);
    }
    template <class D> void Fill(D&& dist, Color c) {
        Draw(dist, [c](float, float) { return c; });
    }
    // Paints every sub-pixel with paint(x, y) (a full-size shape).
    template <class P> void Paint(P&& paint) {
        Draw([](float, float) { return -1.0f; }, paint);
    }

    void Blend(int sx, int sy, const Color& c, float coverage);
    const Px& At(int sx, int sy) const { return px_[static_cast<size_t>(sy) * width_ * scale_ + sx]; }
    // The average of the sub-pixels of output pixel (x, y).
    Px Average(int x, int y) const;

private:
    int width_, height_, scale_;
    float unit_;
    std::vector<Px> px_;
};

// A 24-bit picture; with a key, pixels equal to it are transparent in the game.
struct Picture {
    int width = 0, height = 0;
    bool keyed = false;
    uint32_t key = 0; // 0xRRGGBB
    std::vector<uint8_t> rgb;

    Picture() = default;
    Picture(int w, int h, bool isKeyed, uint32_t keyColor);
    uint32_t At(int x, int y) const;
    void Set(int x, int y, uint32_t color);
    bool Transparent(int x, int y) const { return keyed && At(x, y) == key; }
    void Blit(const Picture& src, int x, int y);
};

// Turns a canvas into a picture: a pixel mostly uncovered becomes exactly the key; a covered one
// is its colour over `edge` (a colour near the key, so rims fade towards what the game shows
// around them), and is nudged off the key if it lands on it by accident.
Picture Resolve(const Canvas& canvas, bool keyed, uint32_t key, const Color& edge);

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kMagenta = 0xFF00FF;

// Resolve with the edge colour that suits each key.
Picture ResolveOnBlack(const Canvas& canvas);
Picture ResolveOnWhite(const Canvas& canvas);
Picture ResolveOnMagenta(const Canvas& canvas);
Picture ResolveOpaque(const Canvas& canvas);

// A small deterministic hash noise in 0..1 for textures.
float Hash(int x, int y, int seed);
// Smooth value noise in 0..1, period `period` cells in both directions when period > 0.
float ValueNoise(float x, float y, int seed, int period = 0);

} // namespace artgen
