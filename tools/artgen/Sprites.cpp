// The actors, collectibles, cursor and effect pictures; sprites face up (the engine turns them).
#include <numbers>

#include "Pictures.hpp"
#include "Style.hpp"

namespace artgen {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

void Eye(Canvas& c, float x, float y, float rx, float ry, float lookX, float lookY, Color pupil) {
    Outlined(
        c, [=](float px, float py) { return SdEllipse(px, py, x, y, rx, ry); },
        [=](float, float py) {
            return Mix(Rgb(255, 255, 255), Rgb(200, 210, 235), Clamp01((py - y + ry) / (2 * ry)));
        },
        0.7f);
    c.Fill(
        [=](float px, float py) { return SdCircle(px, py, x + lookX, y + lookY, std::min(rx, ry) * 0.6f); },
        pupil);
    c.Fill([=](float px, float py) { return SdCircle(px, py, x + lookX - 0.5f, y + lookY - 0.6f, 0.45f); },
           Rgb(255, 255, 255));
}

} // namespace

void DrawPlayerFrame(Canvas& c, int i) {
    const float phase = static_cast<float>(i) / 8.0f * 2 * kPi;
    const float swing = std::sin(phase);
    const float bob = std::abs(std::cos(phase)) * 0.6f;
    const float cx = 12, cy = 12.5f - bob;
    const Color shoe = Rgb(240, 60, 40), glove = Rgb(250, 250, 255);
    // Speed streaks behind, flickering with the stride.
    for (int k = -1; k <= 1; ++k) {
        const float sx = cx + static_cast<float>(k) * 3.2f;
        const float len = 2.0f + 1.5f * std::abs(std::sin(phase + static_cast<float>(k)));
        c.Fill([=](float x, float y) { return SdSegment(x, y, sx, 21.0f, sx, 21.0f + len, 0.5f); },
               Rgb(150, 220, 255, 0.9f));
    }
    // Feet and hands swing in opposite phase, the way a runner's do.
    for (int side = -1; side <= 1; side += 2) {
        const float s = static_cast<float>(side);
        const float footY = cy + 1.0f + 6.5f * swing * s;
        Outlined(
            c, [=](float x, float y) { return SdEllipse(x, y, cx + 4.6f * s, footY, 2.5f, 3.4f); },
            BallPaint(cx + 4.6f * s, footY, 3.4f, shoe), 0.9f);
    }
    Ball(c, cx, cy, 7.4f, Rgb(255, 214, 60));
    // A red cap with its peak forward shows at a glance which way the runner faces.
    c.Draw([=](float x, float y) { return std::max(SdCircle(x, y, cx, cy, 7.4f), y - (cy - 3.2f)); },
           BallPaint(cx, cy, 7.4f, Rgb(235, 50, 50)));
    Outlined(
        c,
        [=](float x, float y) {
            return std::max(SdEllipse(x, y, cx, cy - 6.6f, 5.2f, 3.0f), y - (cy - 6.2f));
        },
        [=](float x, float) {
            return Mix(Rgb(255, 110, 100), Rgb(190, 30, 40), Clamp01((x - cx + 5) / 10));
        },
        0.8f);
    for (int side = -1; side <= 1; side += 2) {
        const float s = static_cast<float>(side);
        Ball(c, cx + 8.0f * s, cy + 0.5f - 4.5f * swing * s, 2.4f, glove, 0.8f);
    }
    Eye(c, cx - 2.6f, cy - 1.2f, 1.9f, 2.3f, 0.0f, -0.8f, palette::kInk);
    Eye(c, cx + 2.6f, cy - 1.2f, 1.9f, 2.3f, 0.0f, -0.8f, palette::kInk);
}

Picture MakePlayer() {
    return Sheet(8, 8, 24, 24, DrawPlayerFrame, ResolveOnBlack);
}

Picture MakeEnemy() {
    return Sheet(
        4, 4, 24, 24,
        [](Canvas& c, int i) {
            const float t = static_cast<float>(i) / 4.0f;
            const float cx = 12, cy = 13.0f;
            const float spin = t * 2 * kPi / 9.0f;
            const auto spikes = StarPoints(cx, cy, 10.8f, 6.8f, 9, spin + kPi / 9.0f);
            Outlined(
                c, [&](float x, float y) { return SdPolygon(x, y, spikes); },
                [=](float x, float y) {
                    return Mix(Rgb(150, 20, 50), Rgb(70, 0, 30),
                               Clamp01((std::hypot(x - cx, y - cy) - 7) / 4));
                },
                0.9f);
            // Pincers at the front that snap open and shut.
            const float open = 0.35f + 0.3f * std::abs(std::sin(t * 2 * kPi));
            for (int side = -1; side <= 1; side += 2) {
                const float s = static_cast<float>(side);
                const float baseX = cx + 3.6f * s, baseY = cy - 5.0f;
                const float tipX = cx + s * (1.0f + 5.0f * open), tipY = 1.2f;
                const std::vector<float> claw = {baseX - 2.0f * s,
                                                 baseY,
                                                 baseX + 1.6f * s,
                                                 baseY + 0.5f,
                                                 tipX + 1.4f * s,
                                                 (baseY + tipY) / 2,
                                                 tipX,
                                                 tipY,
                                                 tipX - 0.4f * s,
                                                 (baseY + tipY) / 2 + 0.5f};
                Outlined(
                    c, [claw](float x, float y) { return SdPolygon(x, y, claw); },
                    [=](float, float y) {
                        return Mix(Rgb(255, 250, 230), Rgb(200, 160, 150), Clamp01((y - tipY) / 8));
                    },
                    0.8f);
            }
            Ball(c, cx, cy, 7.2f, Rgb(220, 30, 50));
            // Angry eyes near the front: glowing slits under heavy slanted brows.
            for (int side = -1; side <= 1; side += 2) {
                const float s = static_cast<float>(side);
                const float ex = cx + 3.0f * s, ey = cy - 1.8f;
                c.Fill([=](float x, float y) { return SdEllipse(x, y, ex, ey, 2.4f, 1.9f); }, Rgb(30, 0, 10));
                c.Fill([=](float x, float y) { return SdEllipse(x, y, ex, ey + 0.3f, 1.7f, 1.1f); },
                       Mix(Rgb(255, 240, 60), Rgb(255, 150, 0), static_cast<float>(i % 2)));
                c.Fill(
                    [=](float x, float y) {
                        return SdSegment(x, y, cx + 0.6f * s, ey - 0.6f, cx + 5.8f * s, ey - 3.2f, 1.0f);
                    },
                    palette::kInk);
            }
            // A grimace of teeth behind the eyes.
            c.Fill([=](float x, float y) { return SdBox(x, y, cx, cy + 3.4f, 3.4f, 1.3f, 0.8f); },
                   Rgb(40, 0, 12));
            for (int k = -1; k <= 1; ++k)
                c.Fill(
                    [=](float x, float y) {
                        return SdBox(x, y, cx + static_cast<float>(k) * 2.2f, cy + 3.4f, 0.8f, 0.9f, 0.2f);
                    },
                    Rgb(255, 250, 235));
        },
        ResolveOnBlack);
}

Picture MakeHvost() {
    return Sheet(
        4, 4, 24, 24,
        [](Canvas& c, int i) {
            const float t = static_cast<float>(i) / 4.0f;
            const float cx = 12, cy = 12;
            const float pulse = 0.5f + 0.5f * std::cos(t * 2 * kPi);
            // The links run the full height so that neighbouring segments join into one body.
            Outlined(
                c, [=](float x, float y) { return SdBox(x, y, cx, cy, 2.6f, 13.0f, 1.0f); },
                [=](float x, float) {
                    return Mix(Rgb(150, 20, 60), Rgb(60, 0, 30), Clamp01((x - cx + 2.6f) / 5.2f));
                },
                0.8f);
            // Side spines in the enemy's colours mark the tail as part of the hunter.
            for (int side = -1; side <= 1; side += 2) {
                const float s = static_cast<float>(side);
                const std::vector<float> spine = {
                    cx + 5.0f * s, cy - 3.5f,     cx + (9.0f + 0.8f * pulse) * s,
                    cy + 1.5f,     cx + 5.0f * s, cy + 3.0f};
                Outlined(
                    c, [spine](float x, float y) { return SdPolygon(x, y, spine); },
                    [=](float, float y) {
                        return Mix(Rgb(230, 70, 90), Rgb(120, 10, 40), Clamp01((y - cy + 3.5f) / 6.5f));
                    },
                    0.8f);
            }
            const float r = 7.0f + 0.5f * pulse;
            Outlined(
                c, [=](float x, float y) { return SdEllipse(x, y, cx, cy, r, r * 0.86f); },
                BallPaint(cx, cy, r, Rgb(205, 30, 60), 0.6f), 0.9f);
            // Overlapping plates along the back, and a core that glows in turn down the tail.
            for (int k = -1; k <= 1; ++k) {
                const float py = cy + static_cast<float>(k) * 3.2f;
                c.Fill(
                    [=](float x, float y) {
                        return std::max(std::abs(SdEllipse(x, y, cx, py - 2.0f, 5.0f, 3.2f)) - 0.45f,
                                        y - py + 1.6f);
                    },
                    Rgb(80, 0, 30, 0.8f));
            }
            c.Fill([=](float x, float y) { return SdCircle(x, y, cx, cy, 2.0f + pulse); },
                   Mix(Rgb(255, 120, 60), Rgb(255, 230, 120), pulse));
        },
        ResolveOnBlack);
}

namespace {

void Sparkle(Canvas& c, float x, float y, float size, float angle, Color col) {
    const auto pts = StarPoints(x, y, size, size * 0.22f, 4, angle);
    c.Fill([pts](float px, float py) { return SdPolygon(px, py, pts); }, col);
}

void Orb10(Canvas& c, float t) {
    const float bob = std::sin(t * 2 * kPi) * 0.8f;
    const float cx = 12, cy = 13 + bob;
    Outlined(
        c, [=](float x, float y) { return SdSegment(x, y, cx + 0.5f, cy - 6, cx + 2, cy - 9, 0.6f); },
        [](float, float) { return Rgb(120, 70, 20); }, 0.6f);
    Outlined(
        c, [=](float x, float y) { return SdEllipse(x, y, cx + 3.6f, cy - 8.0f, 2.8f, 1.4f); },
        [](float, float) { return Rgb(90, 220, 80); }, 0.6f);
    Ball(c, cx, cy, 6.0f, Rgb(110, 230, 60));
    Sparkle(c, cx - 2.4f, cy - 2.6f, 1.6f + 1.2f * std::abs(std::sin(t * 2 * kPi)), 0, Rgb(255, 255, 240));
}

void Gem20(Canvas& c, float t) {
    const float squeeze = std::abs(std::cos(t * kPi)) * 0.75f + 0.25f;
    const float cx = 12, cy = 12;
    const std::vector<float> gem = {cx, cy - 8.5f, cx + 7 * squeeze, cy - 1.5f,
                                    cx, cy + 8.5f, cx - 7 * squeeze, cy - 1.5f};
    Outlined(
        c, [gem](float x, float y) { return SdPolygon(x, y, gem); },
        [=](float x, float y) {
            // Facets: the light side and the shade side change over as the gem turns.
            const bool left = (x < cx) == (t < 0.5f);
            const bool upper = y < cy - 1.5f;
            Color base = Rgb(50, 140, 255);
            if (upper)
                base = left ? Rgb(170, 220, 255) : Rgb(90, 170, 255);
            else
                base = left ? Rgb(40, 110, 230) : Rgb(20, 60, 170);
            return base;
        });
    c.Fill(
        [=](float x, float y) {
            return SdSegment(x, y, cx - 2.5f * squeeze, cy - 5, cx - 1 * squeeze, cy - 6.5f, 0.7f);
        },
        Rgb(255, 255, 255, 0.9f));
}

void Star30(Canvas& c, float t) {
    const float cx = 12, cy = 12.5f;
    const float angle = t * 2 * kPi / 5.0f;
    const auto pts = StarPoints(cx, cy, 9.0f, 4.2f, 5, angle);
    Outlined(
        c, [pts](float x, float y) { return SdPolygon(x, y, pts); },
        [=](float x, float y) {
            const float r = std::hypot(x - cx, y - cy) / 9.0f;
            return Mix(Rgb(255, 200, 255), Rgb(200, 40, 220), Clamp01(r + (y - cy) / 18.0f));
        });
    c.Fill([=](float x, float y) { return SdCircle(x, y, cx, cy, 2.2f); }, Rgb(255, 240, 255, 0.8f));
}

void Jewel100(Canvas& c, float t) {
    const float cx = 12, cy = 12.5f;
    // Gold setting with four rotating prongs, and a cut diamond that flashes colours.
    const auto rim = StarPoints(cx, cy, 11.2f, 8.6f, 8, t * kPi / 4.0f);
    Outlined(
        c, [rim](float x, float y) { return SdPolygon(x, y, rim); },
        BallPaint(cx, cy, 11, palette::kGold, 0.6f), 0.9f);
    const std::vector<float> stone = {cx - 6.5f, cy - 2.5f, cx - 3.5f, cy - 6.5f, cx + 3.5f,
                                      cy - 6.5f, cx + 6.5f, cy - 2.5f, cx,        cy + 7.0f};
    const Color flash[4] = {Rgb(200, 255, 255), Rgb(255, 220, 250), Rgb(220, 255, 210), Rgb(255, 250, 200)};
    const int step = static_cast<int>(t * 4);
    Outlined(
        c, [stone](float x, float y) { return SdPolygon(x, y, stone); },
        [=](float x, float y) {
            const bool table = y < cy - 2.5f;
            const int facet = static_cast<int>(std::floor((x - cx + 6.5f) / 3.25f)) + (table ? 0 : 1);
            const float k = 0.55f + 0.45f * std::cos((static_cast<float>(facet) + t * 4) * 1.3f);
            return Mix(Rgb(80, 180, 255), flash[(facet + step) & 3], k);
        },
        0.7f);
    Sparkle(c, cx + 6.0f, cy - 7.0f, 3.0f * (0.4f + 0.6f * std::abs(std::sin(t * kPi * 2))), t * kPi,
            Rgb(255, 255, 255));
    Sparkle(c, cx - 6.5f, cy + 5.0f, 2.4f * (0.4f + 0.6f * std::abs(std::cos(t * kPi * 2))), 0,
            Rgb(255, 255, 220));
}

} // namespace

Picture MakeVit1() {
    return Sheet(
        16, 4, 24, 24,
        [](Canvas& c, int i) {
            const float t = static_cast<float>(i % 4) / 4.0f;
            switch (i / 4) {
            case 0:
                Orb10(c, t);
                break;
            case 1:
                Gem20(c, t);
                break;
            case 2:
                Star30(c, t);
                break;
            default:
                Jewel100(c, t);
                break;
            }
        },
        ResolveOnBlack);
}

Picture MakeVit2() {
    return Sheet(
        4, 4, 24, 24,
        [](Canvas& c, int i) {
            const float squeeze = std::abs(std::cos(static_cast<float>(i) * kPi / 4.0f)) * 0.8f + 0.2f;
            const float cx = 12, cy = 12;
            Outlined(
                c, [=](float x, float y) { return SdEllipse(x, y, cx, cy, 8.0f * squeeze, 8.0f); },
                BallPaint(cx, cy, 8, Rgb(210, 215, 230)));
            c.Fill([=](float x,
                       float y) { return std::abs(SdEllipse(x, y, cx, cy, 5.6f * squeeze, 5.6f)) - 0.5f; },
                   Rgb(120, 125, 150));
        },
        ResolveOnBlack);
}

Picture MakeWall() {
    Canvas c(24, 24);
    // A hazard barrier: steel frame, yellow and dark diagonal stripes, corner rivets.
    Outlined(
        c, [](float x, float y) { return SdBox(x, y, 12, 12, 10.8f, 10.8f, 2.5f); },
        [](float x, float y) { return Mix(Rgb(220, 225, 235), Rgb(110, 115, 130), Clamp01((x + y) / 44)); },
        1.0f);
    c.Draw([](float x, float y) { return SdBox(x, y, 12, 12, 8.0f, 8.0f, 1.0f); },
           [](float x, float y) {
               const float band = std::fmod(x + y + 100.0f, 8.0f);
               return band < 4.0f ? Mix(Rgb(255, 216, 0), Rgb(240, 150, 0), Clamp01(y / 24))
                                  : Rgb(34, 30, 40);
           });
    c.Fill([](float x, float y) { return std::abs(SdBox(x, y, 12, 12, 8.0f, 8.0f, 1.0f)) - 0.5f; },
           Rgb(60, 60, 70));
    for (float rx : {4.5f, 19.5f})
        for (float ry : {4.5f, 19.5f})
            Ball(c, rx, ry, 1.3f, Rgb(190, 195, 210), 0.5f);
    return ResolveOnBlack(c);
}

Picture MakeStar() {
    return Sheet(
        8, 8, 72, 72,
        [](Canvas& c, int i) {
            const float t = static_cast<float>(i) / 8.0f;
            const float cx = 36, cy = 36;
            // Over one cycle the star turns by one point and the rays back by one ray, so it loops.
            const float spin = t * 2 * kPi / 5.0f, raySpin = -t * 2 * kPi / 12.0f;
            for (int k = 0; k < 12; ++k) {
                const float a = raySpin + static_cast<float>(k) * kPi / 6.0f;
                const float len = (k % 2 == 0 ? 35.0f : 28.0f) *
                                  (0.85f + 0.15f * std::cos(t * 2 * kPi + static_cast<float>(k)));
                const float spread = k % 2 == 0 ? 0.2f : 0.14f;
                const std::vector<float> ray = {
                    cx + std::sin(a - spread) * 12, cy - std::cos(a - spread) * 12,
                    cx + std::sin(a) * len,         cy - std::cos(a) * len,
                    cx + std::sin(a + spread) * 12, cy - std::cos(a + spread) * 12};
                Outlined(
                    c, [ray](float x, float y) { return SdPolygon(x, y, ray); },
                    [=](float x, float y) {
                        return Mix(Rgb(255, 255, 220), Rgb(255, 110, 30),
                                   Clamp01(std::hypot(x - cx, y - cy) / len));
                    },
                    1.0f, Rgb(110, 30, 0));
            }
            const float outer = 25.0f + 3.0f * std::sin(t * 2 * kPi);
            const auto pts = StarPoints(cx, cy, outer, outer * 0.45f, 5, spin);
            Outlined(
                c, [pts](float x, float y) { return SdPolygon(x, y, pts); },
                [=](float x, float y) {
                    const float r = std::hypot(x - cx, y - cy) / outer;
                    return Mix(Rgb(255, 255, 230), Rgb(255, 170, 0), Clamp01(r * 1.3f));
                },
                1.5f);
            c.Fill([=](float x, float y) { return SdCircle(x, y, cx - 3, cy - 4, 3.5f); },
                   Rgb(255, 255, 255, 0.8f));
        },
        ResolveOnBlack);
}

Picture MakeCursor() {
    Canvas c(18, 18);
    const std::vector<float> arrow = {1.2f,  1.2f,  1.2f,  14.5f, 4.8f,  11.3f, 7.6f,
                                      16.8f, 10.2f, 15.6f, 7.6f,  10.3f, 12.6f, 10.3f};
    Outlined(
        c, [&](float x, float y) { return SdPolygon(x, y, arrow); },
        [](float x, float y) { return Mix(Rgb(255, 255, 255), Rgb(120, 210, 255), Clamp01((x + y) / 22)); },
        1.1f);
    return ResolveOnMagenta(c);
}

Picture MakeCursor0() {
    Canvas c(4, 4);
    c.Fill([](float x, float y) { return SdCircle(x, y, 2, 2, 1.6f); }, Rgb(255, 255, 255));
    return ResolveOnBlack(c);
}

Picture MakeParticle(int kind) {
    const int size = kind == 5 ? 18 : 32;
    Canvas c(size, size);
    const float m = static_cast<float>(size) / 2;
    // Particles are tinted by the game's colour ramps, so they are drawn in white and greys; their
    // soft falloff ends in near-black, which adds nothing when blended.
    auto glow = [m](float falloff) {
        return [=](float x, float y) {
            const float r = std::hypot(x - m, y - m) / m;
            const float v = std::exp(-r * r * falloff);
            return Color{v, v, v, 1};
        };
    };
    switch (kind) {
    case 1:
        c.Draw([m](float x, float y) { return SdCircle(x, y, m, m, m - 1); }, glow(4.0f));
        break;
    case 2:
        c.Draw([m](float x, float y) { return std::abs(SdCircle(x, y, m, m, m * 0.6f)) - m * 0.3f; },
               [m](float x, float y) {
                   const float d = std::abs(std::hypot(x - m, y - m) - m * 0.6f) / (m * 0.3f);
                   const float v = std::exp(-d * d * 2.5f);
                   return Color{v, v, v, 1};
               });
        break;
    case 3: {
        const auto pts = StarPoints(m, m, m - 1, m * 0.18f, 4, 0);
        c.Draw([pts](float x, float y) { return SdPolygon(x, y, pts); }, glow(2.0f));
        const auto small = StarPoints(m, m, m * 0.6f, m * 0.12f, 4, kPi / 4);
        c.Draw([small](float x, float y) { return SdPolygon(x, y, small); }, glow(3.0f));
        break;
    }
    case 4:
        c.Draw([m](float x, float y) { return SdCircle(x, y, m, m, m - 1); }, glow(9.0f));
        c.Fill([m](float x, float y) { return SdCircle(x, y, m, m, m * 0.18f); }, Rgb(255, 255, 255));
        break;
    default: {
        const std::vector<float> diamond = {m, 1, size - 1.0f, m, m, size - 1.0f, 1, m};
        c.Draw([diamond](float x, float y) { return SdPolygon(x, y, diamond); },
               [m](float x, float y) {
                   const float v = 1.0f - 0.6f * Clamp01((std::abs(x - m) + std::abs(y - m)) / m);
                   return Color{v, v, v, 1};
               });
        return ResolveOnMagenta(c);
    }
    }
    return ResolveOnBlack(c);
}

} // namespace artgen
