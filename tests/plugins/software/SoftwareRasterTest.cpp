// Coverage, sampling, clipping and primitive assembly of the CPU renderer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "plugins/software/SoftwareRaster.hpp"
#include "tests/plugins/software/SoftwareTestScene.hpp"

namespace vimbo::test {
namespace {

constexpr ad::AdColor kWhite{255, 255, 255, 255};
constexpr ad::AdColor kAddOne{0, 0, 100, 255}; // additive: each coverage adds 100 to blue
constexpr uint32_t kOnce = 0xFF000064u;

using SoftwareRaster = SoftwareScene;

TEST_F(SoftwareRaster, TriangleCoversCentresInsideAndOnlyTopLeftEdges) {
    DrawVertices({Vertex(1, 1), Vertex(7, 1), Vertex(1, 7)}, ad::kAdPrimitiveTriangles, 1);
    EXPECT_EQ(Picture(0, 0, 8, 8, 0xFFFFFFFFu), "........\n"
                                                ".*****..\n"
                                                ".****...\n"
                                                ".***....\n"
                                                ".**.....\n"
                                                ".*......\n"
                                                "........\n"
                                                "........");
}

TEST_F(SoftwareRaster, QuadsSharingEdgesThroughPixelCentresCoverEachPixelOnce) {
    // Edges at .5 put pixel centres exactly on the shared edges and on the strip's diagonal.
    for (float x = 0.5f; x < 40; x += 7.5f)
        for (float y = 0.5f; y < 40; y += 6.5f)
            DrawQuad(x, y, x + 7.5f, y + 6.5f, nullptr, kAddOne, ad::kAdBlendAdd);
    int once = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const uint32_t p = Pixel(x, y);
            ASSERT_TRUE(p == kOnce || p == 0xFF000000u) << x << "," << y << " " << std::hex << p;
            once += p == kOnce;
        }
    // Six columns of 7.5 and seven rows of 6.5 from 0.5: centres 1..45 by 1..46 (clipped to 48 rows).
    EXPECT_EQ(once, 45 * 46);
}

TEST_F(SoftwareRaster, TriangleFanLeavesNoGapAndNoOverlap) {
    const float cx = 30.3f, cy = 22.7f, r = 19.6f;
    const int n = 63;
    std::vector<ad::AdVertex> fan{Vertex(cx, cy, kAddOne)};
    std::vector<std::pair<float, float>> rim;
    for (int i = 0; i < n - 1; ++i) {
        const double a = 2 * std::numbers::pi * i / (n - 1);
        rim.emplace_back(static_cast<float>(cx + std::cos(a) * r), static_cast<float>(cy + std::sin(a) * r));
        fan.push_back(Vertex(rim.back().first, rim.back().second, kAddOne));
    }
    fan.push_back(fan[1]);
    DrawVertices(fan, ad::kAdPrimitiveTriangleFan, n - 1, nullptr, {}, ad::kAdBlendAdd);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            // Signed distance of the centre to the rim polygon (positive inside).
            double inside = 1e9;
            for (size_t i = 0; i < rim.size(); ++i) {
                auto [ax, ay] = rim[i];
                auto [bx, by] = rim[(i + 1) % rim.size()];
                const double ex = bx - ax, ey = by - ay;
                inside = std::min(inside, (ex * (y + 0.5 - ay) - ey * (x + 0.5 - ax)) / std::hypot(ex, ey));
            }
            const uint32_t p = Pixel(x, y);
            if (inside > 1e-3) {
                ASSERT_EQ(p, kOnce) << "gap at " << x << "," << y;
            }
            if (inside < -1e-3) {
                ASSERT_EQ(p, 0xFF000000u) << "spill at " << x << "," << y;
            }
            ASSERT_TRUE(p == kOnce || p == 0xFF000000u) << "double cover at " << x << "," << y;
        }
}

TEST_F(SoftwareRaster, NearestSamplingOfAPatternScaledUp) {
    // Texel (x, y) of an 8 x 8 texture encodes its own position.
    std::vector<uint32_t> texels(64);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            texels[y * 8 + x] = 0xFF000000u | (x * 16) << 16 | (y * 16) << 8;
    auto texture = MakeTexture(8, 8, texels);
    // Pattern at (2, 3) of size 4 x 4, drawn twice as large at (10, 10).
    DrawQuad(10, 10, 18, 18, texture.get(), kWhite, ad::kAdBlendAlpha, 2 / 8.f, 3 / 8.f, 6 / 8.f, 7 / 8.f);
    for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 8; ++i)
            ASSERT_EQ(Pixel(10 + i, 10 + j), texels[(3 + j / 2) * 8 + 2 + i / 2]) << i << "," << j;
    EXPECT_EQ(Pixel(9, 10), 0xFF000000u);
    EXPECT_EQ(Pixel(18, 17), 0xFF000000u);
}

TEST_F(SoftwareRaster, SamplingDownscalesAndClampsToEdge) {
    std::vector<uint32_t> texels(16 * 4);
    for (int i = 0; i < 64; ++i)
        texels[i] = 0xFF000000u | (i % 16) << 4 | (i / 16) << 12;
    auto texture = MakeTexture(16, 4, texels);
    // Half size: centre of pixel i samples u = (i + 0.5) / 8, texel floor(2i + 1).
    DrawQuad(0, 0, 8, 2, texture.get(), kWhite);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Pixel(i, 0), texels[16 + 2 * i + 1]) << i; // row 1: t = 4 x 0.25
    // Coordinates beyond 0..1 repeat the edge texels.
    DrawQuad(0, 10, 8, 12, texture.get(), kWhite, ad::kAdBlendAlpha, -1, -1, 2, 2);
    EXPECT_EQ(Pixel(0, 10), texels[0]);
    EXPECT_EQ(Pixel(7, 11), texels[63]);
}

TEST_F(SoftwareRaster, RotatedTextureSamplesWithinTheTexture) {
    std::vector<uint32_t> texels(4, 0xFF00FF00u);
    auto texture = MakeTexture(2, 2, texels);
    mesh->SetMatrix(ad::AdMatrix::Translation(-10, -10, 0) * ad::AdMatrix::RotationZ(0.7f) *
                    ad::AdMatrix::Translation(32, 24, 0));
    DrawQuad(0, 0, 20, 20, texture.get(), kWhite);
    EXPECT_EQ(Pixel(32, 24), 0xFF00FF00u);
    EXPECT_GT(CountPixels(0xFF00FF00u), 380); // area 400 less rounding at the slanted edges
    EXPECT_EQ(CountPixels(0xFF00FF00u) + CountPixels(0xFF000000u), kWidth * kHeight);
}

TEST_F(SoftwareRaster, GouraudInterpolatesAtPixelCentres) {
    const ad::AdColor left{0, 0, 0, 255}, right{255, 0, 0, 255};
    DrawVertices({Vertex(0, 0, left), Vertex(64, 0, right), Vertex(0, 4, left), Vertex(64, 4, right)},
                 ad::kAdPrimitiveTriangleStrip, 2);
    for (int x = 0; x < kWidth; ++x) {
        const uint32_t red = static_cast<uint32_t>(std::lround(255.0 * (x + 0.5) / 64));
        ASSERT_EQ(Pixel(x, 2), 0xFF000000u | red << 16) << x;
    }
}

TEST_F(SoftwareRaster, PrimitiveCountLimitsWhatIsDrawn) {
    // A strip of four triangles forming two unit-height quads side by side.
    std::vector<ad::AdVertex> strip{Vertex(0, 0), Vertex(0, 2), Vertex(4, 0),
                                    Vertex(4, 2), Vertex(8, 0), Vertex(8, 2)};
    DrawVertices(strip, ad::kAdPrimitiveTriangleStrip, 2);
    EXPECT_EQ(Picture(0, 0, 9, 2, 0xFFFFFFFFu), "****.....\n****.....");
    Fill(0xFF000000u);
    DrawVertices(strip, ad::kAdPrimitiveTriangleStrip, 100); // more than the vertices allow
    EXPECT_EQ(Picture(0, 0, 9, 2, 0xFFFFFFFFu), "********.\n********.");
    Fill(0xFF000000u);
    DrawVertices(strip, ad::kAdPrimitiveTriangleStrip, 0);
    EXPECT_EQ(CountPixels(0xFFFFFFFFu), 0);
}

TEST_F(SoftwareRaster, IndexedTrianglesAndOutOfRangeIndices) {
    std::vector<ad::AdVertex> corners{Vertex(0, 0), Vertex(4, 0), Vertex(0, 4), Vertex(4, 4)};
    DrawVertices(corners, ad::kAdPrimitiveTriangles, 2, nullptr, {0, 1, 2, 1, 3, 2});
    EXPECT_EQ(CountPixels(0xFFFFFFFFu), 16);
    Fill(0xFF000000u);
    DrawVertices(corners, ad::kAdPrimitiveTriangles, 2, nullptr, {0, 1, 2, 1, 9, 2}); // second is skipped
    EXPECT_EQ(Picture(0, 0, 4, 4, 0xFFFFFFFFu), "***.\n**..\n*...\n....");
}

TEST_F(SoftwareRaster, DrawingIsClippedToTargetAndViewport) {
    DrawQuad(-1e7f, -1e7f, 1e7f, 1e7f, nullptr, kWhite);
    EXPECT_EQ(CountPixels(0xFFFFFFFFu), kWidth * kHeight);
    Fill(0xFF000000u);
    DrawQuad(60, 40, 80, 60, nullptr, kWhite);
    EXPECT_EQ(CountPixels(0xFFFFFFFFu), 4 * 8);
    // A viewport maps the scene into its rectangle and confines drawing to it.
    Fill(0xFF000000u);
    app.SetViewPort(ad::AdRect{8, 8, 40, 32});
    app.Setup2DScene(32, 24, 10.0, -100.0);
    DrawQuad(-5, -5, 100, 100, nullptr, kWhite);
    EXPECT_EQ(CountPixels(0xFFFFFFFFu), 32 * 24);
    EXPECT_EQ(Pixel(8, 8), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(7, 8), 0xFF000000u);
    EXPECT_EQ(Pixel(39, 31), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(40, 31), 0xFF000000u);
}

TEST_F(SoftwareRaster, DegenerateAndNonFiniteTrianglesDrawNothing) {
    const float nan = std::nanf("");
    DrawVertices({Vertex(1, 1), Vertex(5, 5), Vertex(9, 9)}, ad::kAdPrimitiveTriangles, 1);
    DrawVertices({Vertex(1, 1), Vertex(nan, 5), Vertex(9, 1)}, ad::kAdPrimitiveTriangles, 1);
    DrawVertices({Vertex(1, 1), Vertex(INFINITY, 5), Vertex(9, 1)}, ad::kAdPrimitiveTriangles, 1);
    EXPECT_EQ(CountPixels(0xFF000000u), kWidth * kHeight);
}

TEST_F(SoftwareRaster, LinesOmitTheirLastPixelAndLoopsClose) {
    DrawVertices({Vertex(2, 1.5f), Vertex(7, 1.5f), Vertex(7, 4.5f)}, ad::kAdPrimitiveLineStrip, 2);
    EXPECT_EQ(Picture(0, 0, 9, 5, 0xFFFFFFFFu), ".........\n"
                                                "..******.\n"
                                                ".......*.\n"
                                                ".......*.\n"
                                                ".........");
    Fill(0xFF000000u);
    DrawVertices({Vertex(1, 1), Vertex(6, 1), Vertex(6, 4), Vertex(1, 4)}, ad::kAdPrimitiveLineLoop, 4);
    EXPECT_EQ(Picture(0, 0, 8, 5, 0xFFFFFFFFu), "........\n"
                                                ".******.\n"
                                                ".*....*.\n"
                                                ".*....*.\n"
                                                ".*****..");
    Fill(0xFF000000u);
    DrawVertices({Vertex(1, 1), Vertex(6, 1), Vertex(6, 4), Vertex(1, 4)}, ad::kAdPrimitiveLines, 1);
    EXPECT_EQ(CountPixels(0xFFFFFFFFu), 5);
}

TEST_F(SoftwareRaster, PointsCoverTheirPixelWithTheTexelAtTheirCoordinate) {
    auto texture = MakeTexture(2, 1, {0xFFFF0000u, 0xFF0000FFu});
    DrawVertices({Vertex(5.3f, 6.7f, kWhite, 0.75f, 0), Vertex(-3, 2), Vertex(0, 0, {0, 255, 0, 255}, 0, 0)},
                 ad::kAdPrimitivePoints, 3, texture.get());
    EXPECT_EQ(Pixel(5, 6), 0xFF0000FFu);
    EXPECT_EQ(Pixel(0, 0), 0xFF000000u); // red texel x green vertex colour
    EXPECT_EQ(CountPixels(0xFF000000u), kWidth * kHeight - 1);
}

// The coverage rule evaluated pixel by pixel: vertices snapped to 1/256 pixel, a centre inside when
// every edge function is positive, or zero on a left or top edge.
bool CentreInside(const ad::software::RasterVertex (&v)[3], int px, int py) {
    int64_t x[3], y[3];
    for (int i = 0; i < 3; ++i) {
        x[i] = std::llround(static_cast<double>(v[i].x) * 256);
        y[i] = std::llround(static_cast<double>(v[i].y) * 256);
    }
    const int64_t area = (x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0]);
    if (area == 0)
        return false;
    const int64_t cx = px * 256 + 128, cy = py * 256 + 128;
    for (int i = 0; i < 3; ++i) {
        int j = (i + 1) % 3;
        int ia = i;
        if (area < 0) // walk the edges the other way round so that the inside is positive
            std::swap(ia, j);
        const int64_t a = y[ia] - y[j], b = x[j] - x[ia];
        const int64_t e = a * (cx - x[ia]) + b * (cy - y[ia]);
        if (e < 0 || (e == 0 && !(a > 0 || (a == 0 && b > 0))))
            return false;
    }
    return true;
}

TEST(SoftwareRasterCoverage, RandomTrianglesCoverThePixelsWhoseCentresPassTheEdgeRule) {
    ad::software::SoftwareFramebuffer fb;
    fb.Resize(64, 48);
    std::mt19937 random(99);
    // Positions on the 1/256 grid, on pixel centres and edges, or anywhere; reaching past every edge.
    auto coordinate = [&](int size) {
        const float whole = static_cast<float>(static_cast<int>(random() % (size + 60)) - 30);
        switch (random() % 3) {
        case 0:
            return whole + 0.5f;
        case 1:
            return whole + static_cast<float>(random() % 256) / 256.0f;
        default:
            return whole + static_cast<float>(random() % 100000) / 100000.0f;
        }
    };
    const ad::AdRect clips[] = {{0, 0, 64, 48}, {7, 5, 50, 31}};
    for (const ad::AdRect& clip : clips)
        for (int round = 0; round < 400; ++round) {
            ad::software::RasterVertex v[3];
            for (auto& vertex : v) {
                vertex.x = coordinate(64);
                vertex.y = coordinate(48);
                vertex.color[0] = vertex.color[1] = 0;
                vertex.color[2] = 1; // additive: every coverage adds one to blue
            }
            if (round % 4 == 0) { // a thin sliver or a tiny triangle
                v[1].x = v[0].x + static_cast<float>(random() % 512) / 256.0f;
                v[1].y = v[0].y + static_cast<float>(random() % 3);
            }
            fb.Clear(ad::AdRect{0, 0, 64, 48}, ad::kAdClearColor, 0xFF000000u, 1.0f, 0);
            ad::software::DrawSetup setup;
            setup.target = {&fb, clip.left, clip.top, clip.right, clip.bottom};
            setup.blendMode = ad::kAdBlendAdd;
            setup.spanLevel = ad::software::BestSpanLevel();
            ad::software::RasterizeTriangle(v[0], v[1], v[2], setup);
            for (int py = 0; py < 48; ++py)
                for (int px = 0; px < 64; ++px) {
                    const bool inClip =
                        px >= clip.left && px < clip.right && py >= clip.top && py < clip.bottom;
                    const uint32_t expected = inClip && CentreInside(v, px, py) ? 1 : 0;
                    ASSERT_EQ(fb.ColorAt(px, py) & 0xFF, expected)
                        << "pixel " << px << "," << py << " of (" << v[0].x << "," << v[0].y << ") ("
                        << v[1].x << "," << v[1].y << ") (" << v[2].x << "," << v[2].y << ")";
                }
        }
}

// A random pair of triangles for the pair test: mostly the two halves of a sprite's quad (at whole,
// half and odd positions, one texel per pixel or stretched, mirrored, either half first), else a
// rotated quad or two unrelated, possibly overlapping triangles.
struct TrianglePair {
    ad::software::RasterVertex a[3], b[3];
};

TrianglePair RandomPair(std::mt19937& random) {
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto position = [&](int size) {
        const float whole = static_cast<float>(pick(size + 20) - 10);
        const float fractions[] = {0.0f, 0.5f, static_cast<float>(pick(256)) / 256.0f, 0.3f};
        return whole + fractions[pick(4)];
    };
    ad::software::RasterVertex q[4];
    const float x = position(64), y = position(48);
    const float w = static_cast<float>(1 + pick(30)), h = static_cast<float>(1 + pick(20));
    const float s0 = static_cast<float>(pick(5)), t0 = static_cast<float>(pick(5));
    const bool oneToOne = pick(3) != 0;
    const float s1 = oneToOne ? s0 + w : s0 + static_cast<float>(pick(40)) / 3.0f;
    const float t1 = oneToOne ? t0 + h : t0 + static_cast<float>(pick(40)) / 3.0f;
    const bool mirrored = pick(4) == 0;
    const float xs[4] = {x, x + w, x, x + w}, ys[4] = {y, y, y + h, y + h};
    const float angle = pick(3) == 0 ? static_cast<float>(pick(628)) / 100.0f : 0.0f;
    const bool gouraud = pick(4) == 0;
    const float tint[4] = {static_cast<float>(pick(256)), 255, static_cast<float>(pick(256)),
                           static_cast<float>(pick(256))};
    const bool white = pick(2) == 0;
    for (int i = 0; i < 4; ++i) {
        const float dx = xs[i] - x, dy = ys[i] - y;
        q[i].x = x + dx * std::cos(angle) - dy * std::sin(angle);
        q[i].y = y + dx * std::sin(angle) + dy * std::cos(angle);
        q[i].s = (i % 2 == 0) != mirrored ? s0 : s1;
        q[i].t = i < 2 ? t0 : t1;
        for (int k = 0; k < 4; ++k)
            q[i].color[k] = gouraud ? static_cast<float>(pick(256)) : white ? 255.0f : tint[k];
    }
    TrianglePair pair;
    if (pick(6) == 0) { // unrelated triangles, the second at times the first again
        for (auto& v : pair.a) {
            v = q[pick(4)];
            v.x = position(64);
            v.y = position(48);
        }
        for (int i = 0; i < 3; ++i)
            pair.b[i] = pick(3) == 0 ? pair.a[i] : q[pick(4)];
        return pair;
    }
    const ad::software::RasterVertex first[3] = {q[0], q[1], q[2]}, second[3] = {q[1], q[3], q[2]};
    const bool swapped = pick(2) == 0;
    std::copy(first, first + 3, swapped ? pair.b : pair.a);
    std::copy(second, second + 3, swapped ? pair.a : pair.b);
    return pair;
}

// What a draw leaves: colours, stencil values and the occlusion count.
struct Drawn {
    std::vector<uint32_t> colours;
    std::vector<uint8_t> stencil;
    uint32_t count = 0;
    bool operator==(const Drawn&) const = default;
};

TEST(SoftwareRasterPairs, APairDrawsWhatItsTrianglesDrawOneAfterTheOther) {
    using ad::software::SpanLevel;
    std::mt19937 random(2024);
    std::vector<uint32_t> texels[3]; // opaque, keyed, any alpha
    for (int kind = 0; kind < 3; ++kind)
        for (int i = 0; i < 16 * 12; ++i) {
            const uint32_t a = kind == 0 ? 255 : kind == 1 ? (random() % 3 ? 255 : 0) : random() & 0xFF;
            texels[kind].push_back(a << 24 | (random() & 0xFFFFFF));
        }
    const ad::software::TexelAlpha alphas[3] = {
        ad::software::TexelAlpha::Opaque, ad::software::TexelAlpha::Keyed, ad::software::TexelAlpha::Mixed};
    const int blends[3] = {ad::kAdBlendAlpha, ad::kAdBlendAdd, ad::kAdBlendMultiply};
    std::vector<uint8_t> stencilPattern(64 * 48);
    for (uint8_t& v : stencilPattern)
        v = static_cast<uint8_t>(random() % 4);

    for (const SpanLevel level : {SpanLevel::Scalar, SpanLevel::Sse2, SpanLevel::Avx2})
        for (int round = 0; round < 1500; ++round) {
            const TrianglePair pair = RandomPair(random);
            ad::software::DrawSetup setup;
            setup.spanLevel = std::min(level, ad::software::BestSpanLevel());
            setup.blendMode = blends[random() % 3];
            const int textureKind = static_cast<int>(random() % 4);
            if (textureKind < 3)
                setup.texture = {texels[textureKind].data(), 16, 12, alphas[textureKind]};
            const bool tests = random() % 3 == 0;
            setup.fragments.stencilTest = tests;
            setup.fragments.alphaMask = tests && random() % 2 == 0;
            setup.fragments.stencil.reference = 2;
            setup.fragments.stencil.function = static_cast<int>(random() % 8);
            setup.fragments.stencil.operations[ad::kAdStencilOnPass] = ad::kAdStencilIncrement;
            setup.fragments.stencil.operations[ad::kAdStencilOnFail] = ad::kAdStencilInvert;
            const int clipLeft = static_cast<int>(random() % 8), clipTop = static_cast<int>(random() % 8);

            auto draw = [&](bool asPair) {
                ad::software::SoftwareFramebuffer fb;
                fb.Resize(64, 48);
                fb.Clear(ad::AdRect{0, 0, 64, 48}, ad::kAdClearColor, 0xC8285A3Cu, 1.0f, 0);
                for (int py = 0; py < 48; ++py)
                    std::copy_n(stencilPattern.data() + py * 64, 64, fb.StencilRow(py));
                Drawn drawn;
                ad::software::DrawSetup s = setup;
                s.target = {&fb, clipLeft, clipTop, 64 - clipLeft, 48 - clipTop};
                s.fragments.queryCounter = tests ? &drawn.count : nullptr;
                if (asPair) {
                    ad::software::RasterizeTrianglePair(pair.a[0], pair.a[1], pair.a[2], pair.b[0], pair.b[1],
                                                        pair.b[2], s);
                } else {
                    ad::software::RasterizeTriangle(pair.a[0], pair.a[1], pair.a[2], s);
                    ad::software::RasterizeTriangle(pair.b[0], pair.b[1], pair.b[2], s);
                }
                drawn.colours.assign(fb.Colors(), fb.Colors() + 64 * 48);
                for (int py = 0; py < 48; ++py)
                    drawn.stencil.insert(drawn.stencil.end(), fb.StencilRow(py), fb.StencilRow(py) + 64);
                return drawn;
            };
            ASSERT_TRUE(draw(true) == draw(false))
                << "round " << round << " level " << static_cast<int>(level) << ": (" << pair.a[0].x << ","
                << pair.a[0].y << ") (" << pair.a[1].x << "," << pair.a[1].y << ") (" << pair.a[2].x << ","
                << pair.a[2].y << ") then (" << pair.b[0].x << "," << pair.b[0].y << ") (" << pair.b[1].x
                << "," << pair.b[1].y << ") (" << pair.b[2].x << "," << pair.b[2].y << ")";
        }
}

} // namespace
} // namespace vimbo::test
