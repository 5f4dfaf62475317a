// Scenes drawn through both renderers must give the same pixels. Where the hardware blender rounds
// each product separately (src * a and dst * (1 - a) are rounded one by one, the CPU renderer
// rounds their sum) a channel may differ by one step; the tests say where they allow that.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "tests/plugins/opengl/ParityRig.hpp"

namespace vimbo::test {
namespace {

using ad::AdColor;
using ad::AdMatrix;

// Blending of translucent colours may round one step apart; coverage and texel choice may not.
// The scenes keep pixel centres off texel edges: an exact tie there may go either way.
constexpr int kBlendTolerance = 1;

std::vector<uint32_t> Checker(int size) {
    std::vector<uint32_t> texels(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const uint32_t a = static_cast<uint32_t>((x * 37 + y * 11) % 256);
            const uint32_t r = static_cast<uint32_t>(x * 255 / (size - 1)),
                           g = static_cast<uint32_t>(y * 255 / (size - 1));
            texels[static_cast<size_t>(y) * size + x] =
                (a << 24) | (r << 16) | (g << 8) | ((x + y) % 2 ? 200u : 40u);
        }
    return texels;
}

size_t DistinctColours(const std::vector<uint32_t>& pixels) {
    return std::set<uint32_t>(pixels.begin(), pixels.end()).size();
}

TEST_F(ParityTest, OpaqueTexturedQuadsMatchExactly) {
    const Difference d = Run([](ParitySide& side) {
        std::vector<uint32_t> texels = Checker(8);
        for (uint32_t& t : texels)
            t |= 0xFF000000u;
        ad::AdTexture* texture = side.Texture(8, 8, texels);
        side.Quad(2, 3, 10, 11, texture, {255, 255, 255, 255});                // one texel per pixel
        side.Quad(12, 2, 36, 26, texture, {255, 255, 255, 255});               // scaled up three times
        side.Quad(40.25f, 5.3f, 57.75f, 19.6f, texture, {255, 255, 255, 255}); // off the pixel grid
        side.Quad(3, 30, 30.4f, 44.2f, texture, {255, 255, 255, 255});         // stretched unevenly
    });
    EXPECT_GT(DistinctColours(softPixels_), 20u);
    EXPECT_EQ(d.pixels, 0) << d.where;
}

TEST_F(ParityTest, TintedTranslucentSpritesWithAmbientLight) {
    const Difference d = Run([](ParitySide& side) {
        ad::AdTexture* texture = side.Texture(8, 8, Checker(8));
        side.App().SetOptions(ad::kAdOptionAlphaMask | ad::kAdOptionLight);
        side.App().SetAmbientColor({230, 200, 160, 250});
        side.Quad(1, 1, 33, 33, texture, {255, 128, 64, 200});
        side.Quad(20, 10, 60, 46, texture, {90, 255, 180, 120});
        side.App().SetAmbientColor({255, 255, 255, 255});
        side.Quad(8, 28, 24, 44, texture, {255, 255, 255, 255});
    });
    EXPECT_GT(DistinctColours(softPixels_), 50u);
    EXPECT_LE(d.maxChannel, kBlendTolerance) << d.pixels << " pixels differ, worst " << d.where;
}

TEST_F(ParityTest, RotatedSpritesCoverTheSamePixels) {
    const Difference d = Run([](ParitySide& side) {
        std::vector<uint32_t> texels = Checker(16);
        for (uint32_t& t : texels)
            t |= 0xFF000000u;
        ad::AdTexture* texture = side.Texture(16, 16, texels);
        for (int i = 0; i < 5; ++i) {
            const AdMatrix model = AdMatrix::Translation(-8, -8, 0) * AdMatrix::RotationZ(0.3f + i * 0.55f) *
                                   AdMatrix::Translation(10.0f + i * 11.0f, 12.0f + (i % 2) * 20.0f, 0);
            side.Quad(0, 0, 16, 16, texture, {255, 255, 255, 255}, ad::kAdBlendAlpha, model);
        }
    });
    EXPECT_GT(DistinctColours(softPixels_), 20u);
    // Both renderers snap to 1/256 pixel and use a top-left rule; an edge crossing a pixel centre
    // exactly is the only place they could part, and these angles have none.
    EXPECT_EQ(d.pixels, 0) << d.where;
}

TEST_F(ParityTest, AdditiveGlowAndMultiply) {
    const Difference d = Run([](ParitySide& side) {
        ad::AdTexture* glow = side.Texture(16, 16, DiscTexels(16, 7.5f, 0x80FFC040u));
        side.Quad(0, 0, 64, 24, nullptr, {40, 60, 200, 255});
        for (int i = 0; i < 12; ++i)
            side.Quad(2.0f + i * 4.4f, 4.0f + (i % 3) * 5.0f, 18.0f + i * 4.4f, 20.0f + (i % 3) * 5.0f, glow,
                      {255, static_cast<uint8_t>(100 + i * 12), 255, 220}, ad::kAdBlendAdd);
        side.Quad(0, 24, 64, 48, nullptr, {250, 240, 230, 200});
        side.Quad(10.3f, 20.3f, 54.1f, 43.9f, glow, {180, 255, 120, 255}, ad::kAdBlendMultiply);
    });
    EXPECT_GT(DistinctColours(softPixels_), 10u);
    EXPECT_LE(d.maxChannel, kBlendTolerance) << d.pixels << " pixels differ, worst " << d.where;
}

// The canvas circle: a fan of 64 vertices, opaque-ish centre fading to transparent on the rim,
// drawn with blend mode 1.
TEST_F(ParityTest, GradientTriangleFanLikeTheCanvasCircle) {
    const Difference d = Run([](ParitySide& side) {
        std::vector<ad::AdVertex> fan{Vertex(30, 24, {255, 230, 80, 100})};
        const int n = 63;
        for (int i = 0; i < n - 1; ++i) {
            const float a = 2.0f * 3.14159265f * static_cast<float>(i) / (n - 1);
            fan.push_back(Vertex(30 + std::cos(a) * 20, 24 + std::sin(a) * 20, {255, 255, 255, 0}));
        }
        fan.push_back(Vertex(50, 24, {255, 255, 255, 0}));
        side.Quad(0, 0, 64, 48, nullptr, {20, 40, 60, 255});
        side.Draw(fan, ad::kAdPrimitiveTriangleFan, n - 1, nullptr, ad::kAdBlendAdd);
    });
    EXPECT_GT(DistinctColours(softPixels_), 30u);
    // Colours are interpolated in float by one and in 16.16 steps by the other: one step apart at most.
    EXPECT_LE(d.maxChannel, kBlendTolerance) << d.pixels << " pixels differ, worst " << d.where;
}

TEST_F(ParityTest, IndexedTrianglesWithVertexColours) {
    const Difference d = Run([](ParitySide& side) {
        const std::vector<ad::AdVertex> vertices{
            Vertex(2, 2, {255, 0, 0, 255}), Vertex(60, 6, {0, 255, 0, 255}), Vertex(8, 44, {0, 0, 255, 255}),
            Vertex(62, 46, {255, 255, 255, 128})};
        side.Draw(vertices, ad::kAdPrimitiveTriangles, 2, nullptr, ad::kAdBlendAlpha, {0, 1, 2, 1, 3, 2});
    });
    EXPECT_GT(DistinctColours(softPixels_), 100u);
    EXPECT_LE(d.maxChannel, kBlendTolerance) << d.pixels << " pixels differ, worst " << d.where;
}

TEST_F(ParityTest, RenderTargetDrawnAsTextureStaysUpright) {
    const Difference d = Run([](ParitySide& side) {
        ad::AdRenderTargetTexture* inner = side.Target(16, 16);
        side.Select(inner, 16, 16);
        side.App().ClearSurface({0, 0, 16, 16}, ad::kAdClearColor, {0, 0, 0, 255}, 1.0f, 0);
        side.Quad(0, 0, 16, 4, nullptr, {255, 0, 0, 255});  // red band on top
        side.Quad(0, 12, 8, 16, nullptr, {0, 255, 0, 255}); // green block bottom left
        side.Select(nullptr, kWidth, kHeight);
        side.Quad(4, 4, 36, 36, inner, {255, 255, 255, 255});
    });
    ASSERT_FALSE(softPixels_.empty());
    EXPECT_EQ(softPixels_[5 * kWidth + 5], 0xFFFF0000u) << "the software picture itself is upside down";
    EXPECT_EQ(d.pixels, 0) << d.where;
}

TEST_F(ParityTest, PointsAndLinesCoverTheSamePixels) {
    const Difference d = Run([](ParitySide& side) {
        std::vector<ad::AdVertex> points;
        for (int i = 0; i < 20; ++i)
            points.push_back(
                Vertex(1.0f + i * 3.1f, 2.0f + (i % 4) * 0.5f, {255, static_cast<uint8_t>(i * 12), 0, 255}));
        side.Draw(points, ad::kAdPrimitivePoints, 20);
        const std::vector<ad::AdVertex> strip{
            Vertex(2, 10, {255, 0, 0, 255}), Vertex(60, 22, {0, 255, 0, 255}),
            Vertex(30.5f, 46, {0, 0, 255, 255}), Vertex(3, 30, {255, 255, 0, 255})};
        side.Draw(strip, ad::kAdPrimitiveLineLoop, 4);
        side.Draw({Vertex(40, 8), Vertex(44.3f, 40.7f)}, ad::kAdPrimitiveLines, 1);
    });
    EXPECT_GT(DistinctColours(softPixels_), 20u);
    EXPECT_EQ(d.pixels, 0) << d.where;
}

// The pixel collision test: the first sprite marks the stencil where its opaque texels land, the
// second is counted only on marked places; transparent texels neither mark nor count.
class CollisionParity : public ParityTest {
protected:
    uint32_t Collide(ad::AdApplication& app, float secondLeft, std::vector<uint32_t>& pixels) {
        ParitySide side(app, kWidth, kHeight);
        ad::AdTexture* disc = side.Texture(16, 16, DiscTexels(16, 6.0f, 0xFFFFFFFFu));
        ad::AdRenderTargetTexture* target = side.Target(32, 32);
        ad::AdOcclusionQuery* query = side.Query();
        // Sprite bounds: 16 x 16 at x = 0 and at x = secondLeft; the intersection scaled onto 32 x 32.
        const float overlap = 16.0f - secondLeft;
        app.SetRenderTarget(target);
        app.SetViewPort({0, 0, 32, 32});
        app.ClearSurface({0, 0, 32, 32}, 7, {0, 0, 0, 0}, 1.0f, 0);
        app.Setup2DScene(static_cast<int>(overlap), 16, 10.0, -100.0);
        app.SetOptions(106);
        app.SetStencilOptions(1, 0xFFFF, ad::kAdStencilAlways);
        app.SetStencilEvent(ad::kAdStencilOnPass, ad::kAdStencilReplace);
        side.Quad(-secondLeft, 0, 16 - secondLeft, 16, disc, {255, 255, 255, 255});
        app.SetStencilOptions(0, 0xFFFF, ad::kAdStencilLess);
        app.SetStencilEvent(ad::kAdStencilOnPass, ad::kAdStencilKeep);
        query->StartQuery();
        side.Quad(0, 0, 16, 16, disc, {255, 255, 255, 255});
        query->StopQuery();
        app.SetStencilOptions(0, 0xFFFF, ad::kAdStencilAlways);
        pixels.assign(32 * 32, 0u);
        target->ReadPixels(reinterpret_cast<uint8_t*>(pixels.data()));
        return query->PixelCount();
    }
};

TEST_F(CollisionParity, OverlappingBoundsWithoutOpaqueContactCountZeroOnBoth) {
    std::vector<uint32_t> softTarget, glTarget;
    EXPECT_EQ(Collide(soft_, 13.0f, softTarget), 0u);
    EXPECT_EQ(Collide(gl_, 13.0f, glTarget), 0u);
    EXPECT_EQ(Compare(softTarget, glTarget, 32).pixels, 0);
}

TEST_F(CollisionParity, KnownOverlapCountsTheSameOnBoth) {
    std::vector<uint32_t> softTarget, glTarget;
    const uint32_t softCount = Collide(soft_, 6.0f, softTarget);
    const uint32_t glCount = Collide(gl_, 6.0f, glTarget);
    EXPECT_GT(softCount, 20u);
    EXPECT_EQ(glCount, softCount);
    const Difference d = Compare(softTarget, glTarget, 32);
    EXPECT_EQ(d.pixels, 0) << d.where;
}

} // namespace
} // namespace vimbo::test
