// The two background layers, 1920 x 1080, drawn in greys for the level tints: "fon" with large
// soft shapes (white is its key), "fon2" with a fine lattice of lights over black (its key). Both
// repeat across their width, since the game lays three copies side by side.
#include "Pictures.hpp"
#include "Style.hpp"

namespace artgen {

namespace {

constexpr int kW = 1920, kH = 1080;

// Draws a shape centred at cx and again one width to each side, so the layer wraps.
template <class Shape> void Wrapped(float cx, float reach, Shape&& shape) {
    for (float offset : {-static_cast<float>(kW), 0.0f, static_cast<float>(kW)})
        if (cx + offset + reach > 0 && cx + offset - reach < kW)
            shape(cx + offset);
}

void SoftDisc(Canvas& c, float cx, float cy, float r, float grey, float strength, bool ring) {
    Wrapped(cx, r, [&](float x0) {
        c.Draw([=](float x, float y) { return SdCircle(x, y, x0, cy, r); },
               [=](float x, float y) {
                   const float d = std::hypot(x - x0, y - cy) / r;
                   float a =
                       ring ? std::exp(-std::pow((d - 0.85f) / 0.07f, 2.0f)) : 1.0f - Smooth(0.45f, 1.0f, d);
                   return Color{grey, grey, grey, a * strength};
               },
               x0 - r, cy - r, x0 + r, cy + r);
    });
}

// Walks the staggered lattice of the upper layer's lights, row by row: the light's place and the
// slow swell of the lattice there.
template <typename Visit> void ForEachLight(float step, int columns, int rows, Visit visit) {
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < columns; ++col) {
            const float x = (static_cast<float>(col) + (row % 2 ? 0.5f : 0.0f)) * step;
            const float y = static_cast<float>(row) * step * 0.866f;
            const float swell =
                ValueNoise(static_cast<float>(col) / 5.0f, static_cast<float>(row) / 5.0f, 5, 8);
            visit(col, row, x, y, swell);
        }
}

} // namespace

Picture MakeFon() {
    Canvas c(kW, kH, 1);
    c.Paint([](float x, float y) {
        const float t = y / kH;
        const float wave = ValueNoise(x / 240.0f, y / 240.0f, 11, 8) * 0.08f;
        const float v = 0.12f + 0.14f * t + wave;
        return Color{v, v, v, 1};
    });
    // Large soft lights of several sizes; rings among them hint at depth.
    for (int i = 0; i < 46; ++i) {
        const float x = Hash(i, 1, 3) * kW;
        const float y = Hash(i, 2, 3) * kH;
        const float r = 60.0f + Hash(i, 3, 3) * Hash(i, 4, 3) * 320.0f;
        const float grey = 0.45f + Hash(i, 5, 3) * 0.35f;
        SoftDisc(c, x, y, r, grey, 0.14f + 0.2f * Hash(i, 6, 3), i % 7 == 3);
    }
    // Long diagonal beams of light across the layer.
    for (int i = 0; i < 5; ++i) {
        const float x0 = static_cast<float>(i) * kW / 5.0f + Hash(i, 7, 3) * 200.0f;
        const float width = 50.0f + Hash(i, 8, 3) * 120.0f;
        c.Paint([=](float x, float y) {
            const float u = x - x0 - (kH - y) * 0.5f;
            const float w = u - kW * std::round(u / kW);
            const float a = std::exp(-std::pow(w / width, 2.0f)) * 0.10f;
            return Color{0.9f, 0.9f, 0.9f, a};
        });
    }
    return ResolveOnWhite(c);
}

Picture MakeFon2() {
    Canvas c(kW, kH, 1);
    constexpr float kStep = 48.0f;
    const int columns = static_cast<int>(kW / kStep), rows = static_cast<int>(kH / (kStep * 0.866f)) + 2;
    // A faint net joins the lights first, so they sit on one surface.
    ForEachLight(kStep, columns, rows, [&](int, int, float x, float y, float swell) {
        const float grey = 0.18f + 0.3f * swell * swell;
        const float ends[3][2] = {
            {x + kStep, y}, {x + kStep / 2, y + kStep * 0.866f}, {x - kStep / 2, y + kStep * 0.866f}};
        for (const auto& end : ends) {
            const float ex = end[0], ey = end[1];
            Wrapped(x, kStep + 2, [&](float x0) {
                const float dx = x0 - x;
                c.Draw([=](float px, float py) { return SdSegment(px, py, x0, y, ex + dx, ey, 0.6f); },
                       [=](float, float) {
                           return Color{grey, grey, grey, 1};
                       },
                       std::min(x0, ex + dx) - 2, y - 2, std::max(x0, ex + dx) + 2, ey + 2);
            });
        }
    });
    // Slow swells of size across the lattice read as a surface in front of the lower layer.
    ForEachLight(kStep, columns, rows, [&](int col, int row, float x, float y, float swell) {
        const float r = 1.2f + 4.0f * swell * swell;
        const float grey = 0.45f + 0.45f * swell;
        Wrapped(x, r + 1, [&](float x0) {
            c.Draw([=](float px, float py) { return SdCircle(px, py, x0, y, r); },
                   [=](float px, float py) {
                       const float l =
                           1.0f - 0.4f * Clamp01(std::hypot(px - x0 + r * 0.3f, py - y + r * 0.3f) / r);
                       return Color{grey * l, grey * l, grey * l, 1};
                   },
                   x0 - r - 1, y - r - 1, x0 + r + 1, y + r + 1);
        });
        if (Hash(col, row, 21) > 0.975f) {
            const float rr = 10.0f + 8.0f * Hash(col, row, 22);
            Wrapped(x, rr + 2, [&](float x0) {
                c.Draw([=](float px, float py) { return std::abs(SdCircle(px, py, x0, y, rr)) - 0.9f; },
                       [=](float, float) {
                           return Color{grey * 0.8f, grey * 0.8f, grey * 0.85f, 1};
                       },
                       x0 - rr - 2, y - rr - 2, x0 + rr + 2, y + rr + 2);
            });
        }
        if (Hash(col, row, 23) > 0.96f) {
            const auto star = StarPoints(x, y, 9.0f, 1.6f, 4, 0);
            Wrapped(x, 10, [&](float x0) {
                auto pts = star;
                for (size_t k = 0; k < pts.size(); k += 2)
                    pts[k] += x0 - x;
                c.Draw([pts](float px, float py) { return SdPolygon(px, py, pts); },
                       [](float, float) {
                           return Color{0.85f, 0.85f, 0.85f, 1};
                       },
                       x0 - 10, y - 10, x0 + 10, y + 10);
            });
        }
    });
    return ResolveOnBlack(c);
}

} // namespace artgen
