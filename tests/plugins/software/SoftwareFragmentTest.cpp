// Fragment colour, blending, alpha mask, stencil and occlusion counting of the CPU renderer.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "plugins/software/SoftwareSpans.hpp"
#include "tests/plugins/software/SoftwareTestScene.hpp"

namespace vimbo::test {
namespace {

constexpr ad::AdColor kWhite{255, 255, 255, 255};

uint32_t R255(double x) {
    return static_cast<uint32_t>(std::floor(x / 255.0 + 0.5));
}
uint32_t Pack(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return a << 24 | r << 16 | g << 8 | b;
}

using SoftwareFragments = SoftwareScene;

TEST_F(SoftwareFragments, EachBlendModeOverAKnownBackground) {
    const uint32_t background = Pack(200, 40, 120, 250);
    const ad::AdColor src{180, 60, 20, 100};
    struct Case {
        int mode;
        uint32_t expected;
    };
    const Case cases[] = {
        {ad::kAdBlendAlpha, Pack(100 + R255(200 * 155.0), R255(180 * 100 + 40 * 155.0),
                                 R255(60 * 100 + 120 * 155.0), R255(20 * 100 + 250 * 155.0))},
        {ad::kAdBlendAdd, Pack(255, 40 + R255(180 * 100.0), 120 + R255(60 * 100.0), 255)},
        {ad::kAdBlendMultiply, Pack(200, R255(180 * 40.0), R255(60 * 120.0), R255(20 * 250.0))},
    };
    for (const Case& c : cases) {
        Fill(background);
        DrawQuad(0, 0, 4, 4, nullptr, src, c.mode);
        EXPECT_EQ(Pixel(2, 2), c.expected) << "mode " << c.mode << " got " << std::hex << Pixel(2, 2);
        EXPECT_EQ(Pixel(5, 5), background);
    }
}

TEST_F(SoftwareFragments, TexelTimesTintTimesAmbient) {
    auto texture = MakeTexture(1, 1, {Pack(255, 200, 100, 50)});
    const ad::AdColor tint{128, 255, 64, 255};
    DrawQuad(0, 0, 2, 2, texture.get(), tint);
    const uint32_t tinted = Pack(255, R255(200 * 128.0), 100, R255(50 * 64.0));
    EXPECT_EQ(Pixel(0, 0), tinted);

    // The ambient colour only counts while the light option is on.
    app.SetAmbientColor(ad::AdColor{100, 200, 255, 255});
    DrawQuad(2, 0, 4, 2, texture.get(), tint);
    EXPECT_EQ(Pixel(2, 0), tinted);
    app.SetOptions(ad::kAdOptionLight);
    DrawQuad(4, 0, 6, 2, texture.get(), tint);
    EXPECT_EQ(Pixel(4, 0), Pack(255, R255(R255(200 * 128.0) * 100.0), R255(100 * 200.0), R255(50 * 64.0)));
    // White vertices under a coloured light, and an untextured gradient under it.
    DrawQuad(6, 0, 8, 2, texture.get(), kWhite);
    EXPECT_EQ(Pixel(6, 0), Pack(255, R255(200 * 100.0), R255(100 * 200.0), 50));
    const ad::AdColor grey{128, 128, 128, 255};
    DrawVertices({Vertex(8, 0, grey), Vertex(10, 0, grey), Vertex(8, 2, kWhite)}, ad::kAdPrimitiveTriangles,
                 1);
    // At the centre (8.5, 0.5) the grey has moved a quarter of the way to white: 159.75.
    EXPECT_EQ(Pixel(8, 0), Pack(255, R255(160 * 100.0), R255(160 * 200.0), 160));
    // A dark light with alpha 0 (the screen's fade) darkens but makes nothing transparent.
    app.SetAmbientColor(ad::AdColor{0, 0, 0, 0});
    auto opaque = MakeTexture(1, 1, {Pack(255, 200, 100, 50)});
    DrawQuad(10, 0, 12, 2, opaque.get(), kWhite);
    EXPECT_EQ(Pixel(10, 0), Pack(255, 0, 0, 0));
}

TEST_F(SoftwareFragments, AlphaMaskDiscardsFullyTransparentFragments) {
    auto texture = MakeTexture(2, 1, {0x00FFFFFFu, 0xFF808080u});
    Fill(0xFFC8C8C8u);
    DrawQuad(0, 0, 2, 1, texture.get(), kWhite, ad::kAdBlendMultiply);
    EXPECT_EQ(Pixel(0, 0), 0xFFC8C8C8u); // white x background: unchanged anyway
    Fill(0xFFC8C8C8u);
    auto dark = MakeTexture(2, 1, {0x00000000u, 0xFF808080u});
    DrawQuad(0, 0, 2, 1, dark.get(), kWhite, ad::kAdBlendMultiply);
    EXPECT_EQ(Pixel(0, 0), 0xFF000000u); // without the mask the transparent texel still multiplies
    Fill(0xFFC8C8C8u);
    app.SetOptions(ad::kAdOptionAlphaMask);
    DrawQuad(0, 0, 2, 1, dark.get(), kWhite, ad::kAdBlendMultiply);
    EXPECT_EQ(Pixel(0, 0), 0xFFC8C8C8u);
    EXPECT_EQ(Pixel(1, 0), Pack(255, R255(128 * 200.0), R255(128 * 200.0), R255(128 * 200.0)));
}

// Two sprites drawn the way the pixel collision test does: the first marks the stencil where its
// opaque texels land, the second counts its opaque texels over marked places.
class SoftwareCollision : public SoftwareScene {
protected:
    void SetUp() override {
        SoftwareScene::SetUp();
        target.reset(app.CreateRenderTarget());
        target->SetSize(32, 32);
        query.reset(app.CreateOcclusionQuery());
    }

    // A sprite texture of w x h whose texels are opaque where `opaque` says so.
    std::unique_ptr<ad::AdBitmapTexture> Sprite(int w, int h, bool (*opaque)(int x, int y)) {
        std::vector<uint32_t> texels(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                texels[y * w + x] = opaque(x, y) ? 0xFF406080u : 0x00FFFFFFu;
        return MakeTexture(w, h, texels);
    }

    uint32_t Collide(ad::AdTexture* first, float x1, float y1, ad::AdTexture* second, float x2, float y2) {
        app.SetRenderTarget(target.get());
        app.SetViewPort(ad::AdRect{0, 0, 32, 32});
        app.SetOptions(106);
        app.ClearSurface(ad::AdRect{0, 0, 32, 32}, 7, ad::AdColor{}, 1.0f, 0);
        app.Setup2DScene(32, 32, 10.0, -100.0);
        app.SetStencilOptions(1, 0xFFFF, ad::kAdStencilAlways);
        app.SetStencilEvent(ad::kAdStencilOnPass, ad::kAdStencilReplace);
        DrawQuad(x1, y1, x1 + first->Width(), y1 + first->Height(), first, kWhite);
        app.SetStencilOptions(0, 0xFFFF, ad::kAdStencilLess);
        app.SetStencilEvent(ad::kAdStencilOnPass, ad::kAdStencilKeep);
        query->StartQuery();
        DrawQuad(x2, y2, x2 + second->Width(), y2 + second->Height(), second, kWhite);
        query->StopQuery();
        app.SetStencilOptions(0, 0xFFFF, ad::kAdStencilAlways);
        app.SetRenderTarget(nullptr);
        return query->PixelCount();
    }

    std::unique_ptr<ad::AdRenderTargetTexture> target;
    std::unique_ptr<ad::AdOcclusionQuery> query;
};

TEST_F(SoftwareCollision, OverlappingRectanglesWithDisjointOpaqueTexelsCountZero) {
    auto left = Sprite(16, 16, [](int x, int) { return x < 8; });
    auto right = Sprite(16, 16, [](int x, int) { return x >= 8; });
    // Same place: opaque halves side by side.
    EXPECT_EQ(Collide(left.get(), 4, 4, right.get(), 4, 4), 0u);
    EXPECT_EQ(Collide(right.get(), 4, 4, left.get(), 4, 4), 0u);
}

TEST_F(SoftwareCollision, OverlapOfKnownSizeCountsExactly) {
    auto block = Sprite(16, 16, [](int, int) { return true; });
    auto ring = Sprite(16, 16, [](int x, int y) { return x == 0 || y == 0 || x == 15 || y == 15; });
    EXPECT_EQ(Collide(block.get(), 0, 0, block.get(), 10, 12), 6u * 4u);
    // The ring's opaque border over the block: its top row and left column inside 6 x 4.
    EXPECT_EQ(Collide(block.get(), 0, 0, ring.get(), 10, 12), 6u + 3u);
    // Transparent texels of the first sprite mark nothing.
    EXPECT_EQ(Collide(ring.get(), 0, 0, block.get(), 1, 1), 15u + 15u - 1u);
}

TEST_F(SoftwareCollision, QueryCountsOnlyWhileRunningAndRestartsAtZero) {
    auto block = Sprite(4, 4, [](int, int) { return true; });
    query->StartQuery();
    DrawQuad(0, 0, 4, 4, block.get(), kWhite);
    query->StopQuery();
    DrawQuad(0, 0, 4, 4, block.get(), kWhite);
    EXPECT_EQ(query->PixelCount(), 16u);
    query->StartQuery();
    query->StopQuery();
    EXPECT_EQ(query->PixelCount(), 0u);
    // A query destroyed while running leaves nothing dangling behind.
    query->StartQuery();
    query.reset();
    DrawQuad(0, 0, 4, 4, block.get(), kWhite);
}

TEST(SoftwareStencil, ComparisonsUseReferenceAndMask) {
    using ad::software::StencilPasses;
    ad::software::StencilState st;
    st.reference = 2;
    st.mask = 0xFF;
    const struct {
        int function;
        bool below, equal, above; // stored 1, 2, 3
    } cases[] = {
        {ad::kAdStencilNever, false, false, false},      {ad::kAdStencilLess, false, false, true},
        {ad::kAdStencilLessEqual, false, true, true},    {ad::kAdStencilEqual, false, true, false},
        {ad::kAdStencilGreaterEqual, true, true, false}, {ad::kAdStencilGreater, true, false, false},
        {ad::kAdStencilAlways, true, true, true},        {ad::kAdStencilNotEqual, true, false, true}};
    for (const auto& c : cases) {
        st.function = c.function;
        EXPECT_EQ(StencilPasses(st, 1), c.below) << c.function;
        EXPECT_EQ(StencilPasses(st, 2), c.equal) << c.function;
        EXPECT_EQ(StencilPasses(st, 3), c.above) << c.function;
    }
    st.function = ad::kAdStencilEqual;
    st.mask = 0x0F;
    EXPECT_TRUE(StencilPasses(st, 0xF2)); // high bits masked away
}

TEST(SoftwareStencil, OperationsSaturateAndInvert) {
    using ad::software::StencilApply;
    EXPECT_EQ(StencilApply(ad::kAdStencilKeep, 7, 1), 7);
    EXPECT_EQ(StencilApply(ad::kAdStencilReplace, 7, 1), 1);
    EXPECT_EQ(StencilApply(ad::kAdStencilZero, 7, 1), 0);
    EXPECT_EQ(StencilApply(ad::kAdStencilIncrement, 255, 1), 255);
    EXPECT_EQ(StencilApply(ad::kAdStencilIncrement, 7, 1), 8);
    EXPECT_EQ(StencilApply(ad::kAdStencilDecrement, 0, 1), 0);
    EXPECT_EQ(StencilApply(ad::kAdStencilInvert, 0x0F, 1), 0xF0);
}

TEST_F(SoftwareFragments, StencilFailOperationsAndDisabledStencil) {
    const auto& screen = app.ScreenBuffer();
    app.SetStencilOptions(0, 0xFFFF, ad::kAdStencilNever);
    app.SetStencilEvent(ad::kAdStencilOnFail, ad::kAdStencilIncrement);
    DrawQuad(0, 0, 2, 2, nullptr, kWhite); // stencil off: draws, stencil untouched
    EXPECT_EQ(Pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(screen.StencilAt(0, 0), 0);
    app.SetOptions(ad::kAdOptionStencil);
    DrawQuad(2, 0, 4, 2, nullptr, kWhite);
    DrawQuad(2, 0, 3, 2, nullptr, kWhite);
    EXPECT_EQ(Pixel(2, 0), 0xFF000000u);
    EXPECT_EQ(screen.StencilAt(2, 0), 2);
    EXPECT_EQ(screen.StencilAt(3, 0), 1);
    // A reference above the 8-bit range compares and replaces as 255.
    app.SetStencilOptions(0x1234, 0xFFFF, ad::kAdStencilAlways);
    app.SetStencilEvent(ad::kAdStencilOnPass, ad::kAdStencilReplace);
    DrawQuad(4, 0, 5, 1, nullptr, kWhite);
    EXPECT_EQ(screen.StencilAt(4, 0), 255);
}

} // namespace
} // namespace vimbo::test
