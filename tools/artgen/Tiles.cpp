// The maze blocks: per level one row of 11 tiles of 24 x 24. A tile is a block whose sides join
// its wall neighbours seamlessly and whose open sides carry the rim, as the block builder picks them.
#include <array>

#include "Pictures.hpp"
#include "Style.hpp"

namespace artgen {

namespace {

enum Side { kLeft = 1, kAbove = 2, kBelow = 4, kRight = 8 };

// The sides each tile joins, by tile number (4 is never chosen; it is drawn as a T opening up).
constexpr std::array<int, 11> kJoins = {
    kRight | kBelow,         kLeft | kRight | kBelow,
    kLeft | kBelow,          kLeft | kAbove | kBelow | kRight,
    kLeft | kAbove | kRight, kRight,
    kLeft | kRight,          kLeft,
    kLeft | kAbove | kBelow, kAbove | kBelow | kRight,
    kAbove | kBelow,
};

enum class Pattern {
    Bricks,
    Stripes,
    Dots,
    Checker,
    Lines,
    Circuit,
    Scales,
    Plus,
    Waves,
    Stone,
    Diamonds,
    Weave
};

struct LevelLook {
    Color face, alt; // face colour and the pattern's second colour
    Pattern pattern;
    float bevel;  // rim width in pixels
    float groove; // distance of the inner groove from the rim, 0 for none
};

// Levels with a block tint (1, 7, 10, 14, 17 to 20) are drawn light and nearly grey so the tint
// multiplies into clean colour; the others carry their own colours.
const LevelLook& Look(int level) {
    static const std::array<LevelLook, 20> looks = {{
        {Rgb(236, 236, 236), Rgb(196, 196, 196), Pattern::Bricks, 3.0f, 0},   // 1 (green)
        {Rgb(40, 150, 190), Rgb(24, 110, 150), Pattern::Stripes, 3.0f, 6},    // 2
        {Rgb(220, 80, 120), Rgb(180, 50, 90), Pattern::Dots, 2.5f, 0},        // 3
        {Rgb(90, 170, 250), Rgb(60, 130, 220), Pattern::Checker, 3.0f, 5},    // 4
        {Rgb(240, 140, 40), Rgb(200, 100, 20), Pattern::Lines, 2.5f, 0},      // 5
        {Rgb(140, 80, 210), Rgb(100, 50, 170), Pattern::Circuit, 3.0f, 0},    // 6
        {Rgb(244, 240, 232), Rgb(206, 200, 190), Pattern::Scales, 3.0f, 0},   // 7 (gold)
        {Rgb(170, 130, 90), Rgb(130, 95, 60), Pattern::Stone, 3.0f, 0},       // 8
        {Rgb(200, 235, 250), Rgb(150, 200, 235), Pattern::Diamonds, 2.5f, 6}, // 9
        {Rgb(240, 240, 240), Rgb(200, 200, 200), Pattern::Plus, 3.0f, 5},     // 10 (orange)
        {Rgb(150, 210, 60), Rgb(100, 170, 40), Pattern::Weave, 3.0f, 0},      // 11
        {Rgb(220, 60, 200), Rgb(160, 30, 150), Pattern::Waves, 2.5f, 0},      // 12
        {Rgb(50, 80, 200), Rgb(30, 50, 150), Pattern::Bricks, 3.0f, 6},       // 13
        {Rgb(240, 240, 240), Rgb(205, 205, 205), Pattern::Circuit, 2.5f, 0},  // 14 (green)
        {Rgb(240, 190, 50), Rgb(200, 140, 20), Pattern::Scales, 3.0f, 0},     // 15
        {Rgb(60, 200, 200), Rgb(30, 150, 160), Pattern::Plus, 2.5f, 0},       // 16
        {Rgb(236, 236, 236), Rgb(190, 190, 190), Pattern::Stone, 3.0f, 6},    // 17 (green)
        {Rgb(240, 240, 240), Rgb(200, 200, 200), Pattern::Waves, 3.0f, 0},    // 18 (green)
        {Rgb(242, 242, 236), Rgb(204, 204, 196), Pattern::Diamonds, 3.0f, 0}, // 19 (yellow)
        {Rgb(244, 244, 244), Rgb(200, 200, 206), Pattern::Weave, 3.0f, 5},    // 20 (grey)
    }};
    return looks[static_cast<size_t>(level - 1)];
}

// How much of the second colour a face point takes; every pattern repeats within 24 pixels, so
// neighbouring tiles continue it.
float PatternAmount(Pattern p, float x, float y, int level) {
    const auto mod = [](float v, float m) { return v - m * std::floor(v / m); };
    switch (p) {
    case Pattern::Bricks: {
        const float row = std::floor(y / 6.0f);
        const float bx = mod(x + (mod(row, 2.0f) == 0 ? 0.0f : 6.0f), 12.0f);
        const float by = mod(y, 6.0f);
        return (bx < 1.0f || by < 1.0f) ? 1.0f : 0.15f * Clamp01((by - 1) / 5);
    }
    case Pattern::Stripes:
        return Smooth(0.8f, 1.6f, std::abs(mod(x + y, 8.0f) - 4.0f)) * 0.9f;
    case Pattern::Dots:
        return 1.0f - Smooth(1.1f, 1.7f, std::hypot(mod(x, 6.0f) - 3, mod(y, 6.0f) - 3));
    case Pattern::Checker:
        return (mod(x, 12.0f) < 6.0f) != (mod(y, 12.0f) < 6.0f) ? 0.7f : 0.0f;
    case Pattern::Lines:
        return 1.0f - Smooth(0.4f, 0.9f, std::abs(mod(y, 4.0f) - 2.0f));
    case Pattern::Circuit: {
        const float gx = std::abs(mod(x, 12.0f) - 6.0f), gy = std::abs(mod(y, 12.0f) - 6.0f);
        const float track = std::min(gx, gy);
        const float node = std::hypot(gx, gy);
        return std::max(1.0f - Smooth(0.4f, 0.9f, track), 1.0f - Smooth(1.6f, 2.2f, node));
    }
    case Pattern::Scales: {
        const float row = std::floor(y / 4.0f);
        const float sx = mod(x + (mod(row, 2.0f) == 0 ? 0.0f : 4.0f), 8.0f) - 4.0f;
        const float sy = mod(y, 4.0f);
        return Smooth(2.6f, 4.0f, std::hypot(sx, sy + 0.5f));
    }
    case Pattern::Plus: {
        const float px = std::abs(mod(x, 12.0f) - 6.0f), py = std::abs(mod(y, 12.0f) - 6.0f);
        const bool plus = (px < 1.0f && py < 3.5f) || (py < 1.0f && px < 3.5f);
        return plus ? 1.0f : 0.0f;
    }
    case Pattern::Waves: {
        const float w = std::sin(x / 24.0f * 2 * 3.14159265f * 2) * 1.6f;
        return 1.0f - Smooth(0.5f, 1.2f, std::abs(mod(y + w, 6.0f) - 3.0f));
    }
    case Pattern::Stone: {
        const float n = ValueNoise(x / 6.0f, y / 6.0f, level, 4) * 0.65f +
                        ValueNoise(x / 3.0f, y / 3.0f, level + 7, 8) * 0.35f;
        return Smooth(0.45f, 0.75f, n);
    }
    case Pattern::Diamonds:
        return 1.0f -
               Smooth(0.6f, 1.2f,
                      std::abs(std::abs(mod(x, 12.0f) - 6.0f) + std::abs(mod(y, 12.0f) - 6.0f) - 4.0f));
    case Pattern::Weave: {
        const bool horizontal = (mod(x, 16.0f) < 8.0f) == (mod(y, 16.0f) < 8.0f);
        const float across = horizontal ? mod(y, 4.0f) : mod(x, 4.0f);
        return 0.25f + 0.75f * std::abs(across - 2.0f) / 2.0f;
    }
    }
    return 0;
}

void DrawTile(Canvas& c, int level, int tile) {
    const LevelLook& look = Look(level);
    const int joins = kJoins[static_cast<size_t>(tile)];
    // The open block outline: joined sides are pushed far out so nothing of the rim shows there.
    const float left = (joins & kLeft) ? -40.0f : 0.0f, right = (joins & kRight) ? 64.0f : 24.0f;
    const float top = (joins & kAbove) ? -40.0f : 0.0f, bottom = (joins & kBelow) ? 64.0f : 24.0f;
    const float cx = (left + right) / 2, cy = (top + bottom) / 2, hw = (right - left) / 2,
                hh = (bottom - top) / 2;
    auto dist = [=](float x, float y) { return SdBox(x, y, cx, cy, hw, hh, 5.0f); };
    const Color edge = Darken(look.face, 0.82f);
    c.Draw(dist, [&, dist](float x, float y) {
        const float d = dist(x, y);
        if (d > -1.0f)
            return edge;
        const float gx = dist(x + 0.01f, y) - dist(x - 0.01f, y),
                    gy = dist(x, y + 0.01f) - dist(x, y - 0.01f);
        const float len = std::max(1e-4f, std::hypot(gx, gy));
        const float facing = (-gx - gy) / (len * 1.41421356f); // 1 for rims facing the upper left
        Color face = Mix(look.face, look.alt, PatternAmount(look.pattern, x, y, level));
        face = Lighten(face, (Hash(static_cast<int>(x * 4), static_cast<int>(y * 4), level) - 0.5f) * 0.06f);
        if (d > -1.0f - look.bevel) {
            const Color lit = Lighten(look.face, 0.7f), shade = Darken(look.face, 0.5f);
            return Mix(face, facing > 0 ? lit : shade, std::abs(facing) * 0.85f + 0.1f);
        }
        if (look.groove > 0 && std::abs(d + look.bevel + look.groove) < 0.6f)
            return Darken(face, 0.3f);
        if (look.groove > 0 && std::abs(d + look.bevel + look.groove + 1.0f) < 0.5f)
            return Lighten(face, 0.3f);
        return face;
    });
}

} // namespace

Picture MakeBlocks() {
    return Sheet(
        220, 11, 24, 24, [](Canvas& c, int i) { DrawTile(c, i / 11 + 1, i % 11); }, ResolveOnWhite);
}

} // namespace artgen
