// Canvas, distance shapes and the keyed resolve of the picture generator.
#include "Raster.hpp"

#include <numbers>

namespace artgen {

Color Rgb(int r, int g, int b, float a) {
    return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f,
            a};
}

Color Mix(const Color& x, const Color& y, float t) {
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

Color Lighten(const Color& c, float amount) {
    return Mix(c, Color{1, 1, 1, c.a}, amount);
}
Color Darken(const Color& c, float amount) {
    return Mix(c, Color{0, 0, 0, c.a}, amount);
}
Color WithAlpha(Color c, float a) {
    c.a = a;
    return c;
}

float SdCircle(float x, float y, float cx, float cy, float r) {
    return std::hypot(x - cx, y - cy) - r;
}

float SdBox(float x, float y, float cx, float cy, float hw, float hh, float radius) {
    const float qx = std::abs(x - cx) - hw + radius;
    const float qy = std::abs(y - cy) - hh + radius;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float SdSegment(float x, float y, float ax, float ay, float bx, float by, float halfWidth) {
    const float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    const float len2 = dx * dx + dy * dy;
    const float t = len2 > 0 ? Clamp01((px * dx + py * dy) / len2) : 0.0f;
    return std::hypot(px - dx * t, py - dy * t) - halfWidth;
}

float SdEllipse(float x, float y, float cx, float cy, float rx, float ry) {
    // Scaled circle distance: exact enough for the small, nearly round shapes drawn here.
    const float nx = (x - cx) / rx, ny = (y - cy) / ry;
    const float k = std::hypot(nx, ny);
    return (k - 1.0f) * std::min(rx, ry);
}

float SdPolygon(float x, float y, const std::vector<float>& p) {
    const size_t n = p.size() / 2;
    float d = 1e9f;
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const float xi = p[2 * i], yi = p[2 * i + 1], xj = p[2 * j], yj = p[2 * j + 1];
        const float ex = xj - xi, ey = yj - yi, wx = x - xi, wy = y - yi;
        const float t = Clamp01((wx * ex + wy * ey) / (ex * ex + ey * ey));
        d = std::min(d, std::hypot(wx - ex * t, wy - ey * t));
        if ((yi > y) != (yj > y) && x < xi + (y - yi) * (xj - xi) / (yj - yi))
            inside = !inside;
    }
    return inside ? -d : d;
}

std::vector<float> StarPoints(float cx, float cy, float outer, float inner, int n, float angle) {
    std::vector<float> pts;
    for (int i = 0; i < 2 * n; ++i) {
        const float a = angle + static_cast<float>(i) * std::numbers::pi_v<float> / static_cast<float>(n);
        const float r = (i % 2 == 0) ? outer : inner;
        pts.push_back(cx + std::sin(a) * r);
        pts.push_back(cy - std::cos(a) * r);
    }
    return pts;
}

Canvas::Canvas(int width, int height, int scale, float unit)
    : width_(width), height_(height), scale_(scale), unit_(unit),
      px_(static_cast<size_t>(width) * height * scale * scale) {}

void Canvas::Blend(int sx, int sy, const Color& c, float coverage) {
    Px& p = px_[static_cast<size_t>(sy) * width_ * scale_ + sx];
    const float a = Clamp01(c.a * coverage);
    p.r = c.r * a + p.r * (1 - a);
    p.g = c.g * a + p.g * (1 - a);
    p.b = c.b * a + p.b * (1 - a);
    p.a = a + p.a * (1 - a);
}

Px Canvas::Average(int x, int y) const {
    Px sum;
    for (int sy = y * scale_; sy < (y + 1) * scale_; ++sy)
        for (int sx = x * scale_; sx < (x + 1) * scale_; ++sx) {
            const Px& p = At(sx, sy);
            sum.r += p.r;
            sum.g += p.g;
            sum.b += p.b;
            sum.a += p.a;
        }
    const float n = static_cast<float>(scale_ * scale_);
    return {sum.r / n, sum.g / n, sum.b / n, sum.a / n};
}

Picture::Picture(int w, int h, bool isKeyed, uint32_t keyColor)
    : width(w), height(h), keyed(isKeyed), key(keyColor), rgb(static_cast<size_t>(w) * h * 3) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            Set(x, y, keyColor);
}

uint32_t Picture::At(int x, int y) const {
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

void Picture::Set(int x, int y, uint32_t color) {
    uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    p[0] = static_cast<uint8_t>(color >> 16);
    p[1] = static_cast<uint8_t>(color >> 8);
    p[2] = static_cast<uint8_t>(color);
}

void Picture::Blit(const Picture& src, int x, int y) {
    for (int j = 0; j < src.height; ++j)
        for (int i = 0; i < src.width; ++i)
            if (x + i >= 0 && x + i < width && y + j >= 0 && y + j < height)
                Set(x + i, y + j, src.At(i, j));
}

namespace {

uint8_t ToByte(float v) {
    return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f));
}

// Moves a colour that equals the key by one step towards grey, so it stays visible.
uint32_t AvoidKey(uint32_t c, uint32_t key) {
    if (c != key)
        return c;
    int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    r += r > 127 ? -1 : 1;
    g += g > 127 ? -1 : 1;
    b += b > 127 ? -1 : 1;
    return (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b);
}

} // namespace

Picture Resolve(const Canvas& canvas, bool keyed, uint32_t key, const Color& edge) {
    Picture pic(canvas.Width(), canvas.Height(), keyed, key);
    // Below this coverage a pixel is left to the key: a faint rim reads better as clean cut-out.
    constexpr float kOpaqueFrom = 0.4f;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const Px p = canvas.Average(x, y);
            if (keyed && p.a < kOpaqueFrom)
                continue;
            const float rest = 1.0f - p.a;
            const uint32_t c = (uint32_t{ToByte(p.r + edge.r * rest)} << 16) |
                               (uint32_t{ToByte(p.g + edge.g * rest)} << 8) | ToByte(p.b + edge.b * rest);
            pic.Set(x, y, keyed ? AvoidKey(c, key) : c);
        }
    return pic;
}

Picture ResolveOnBlack(const Canvas& canvas) {
    return Resolve(canvas, true, kBlack, Rgb(6, 6, 10));
}
Picture ResolveOnWhite(const Canvas& canvas) {
    return Resolve(canvas, true, kWhite, Rgb(236, 236, 236));
}
Picture ResolveOnMagenta(const Canvas& canvas) {
    return Resolve(canvas, true, kMagenta, Rgb(40, 30, 40));
}
Picture ResolveOpaque(const Canvas& canvas) {
    return Resolve(canvas, false, 0, Rgb(0, 0, 0));
}

float Hash(int x, int y, int seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 static_cast<uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

float ValueNoise(float x, float y, int seed, int period) {
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    const float fx = x - static_cast<float>(ix), fy = y - static_cast<float>(iy);
    auto at = [&](int cx, int cy) {
        if (period > 0) {
            cx = ((cx % period) + period) % period;
            cy = ((cy % period) + period) % period;
        }
        return Hash(cx, cy, seed);
    };
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const float top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * sx;
    const float bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * sx;
    return top + (bottom - top) * sy;
}

} // namespace artgen
