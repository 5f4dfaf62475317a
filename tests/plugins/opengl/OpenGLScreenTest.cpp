// The OpenGL renderer draws the screen straight into the window's framebuffer (rows bottom up) and
// moves it into an off-screen surface when a draw needs a stencil there; both must show the CPU
// renderer's screen. Alpha blending of opaque colours is sent unblended, and keyed pictures drop
// their transparent fragments instead of blending them: neither may change a pixel or a count.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "tests/plugins/opengl/ParityRig.hpp"

namespace vimbo::test {
namespace {

std::vector<uint32_t> Stripes(int size, uint32_t alpha) {
    std::vector<uint32_t> texels(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            texels[static_cast<size_t>(y) * size + x] =
                (alpha << 24) | (static_cast<uint32_t>(x * 30) << 16) | (static_cast<uint32_t>(y * 30) << 8) |
                ((x + y) % 3 == 0 ? 250u : 20u);
    return texels;
}

class ScreenParity : public ParityTest {
protected:
    // Runs the scene on each renderer's screen and compares what the screens hold before the flip.
    Difference RunOnScreen(const std::function<void(ParitySide&)>& scene) {
        {
            ParitySide side(soft_, kWidth, kHeight);
            SelectScreen(side.App());
            scene(side);
            soft_.EndScene();
            const ad::software::SoftwareFramebuffer& screen = soft_.ScreenBuffer();
            softPixels_.assign(screen.Colors(), screen.Colors() + static_cast<size_t>(kWidth) * kHeight);
        }
        {
            ParitySide side(gl_, kWidth, kHeight);
            SelectScreen(side.App());
            scene(side);
            gl_.EndScene();
            glPixels_.assign(static_cast<size_t>(kWidth) * kHeight, 0u);
            EXPECT_TRUE(gl_.ReadScreen(reinterpret_cast<uint8_t*>(glPixels_.data())));
        }
        return Compare(softPixels_, glPixels_, kWidth);
    }

    static void SelectScreen(ad::AdApplication& app) {
        app.SetRenderTarget(nullptr);
        app.SetViewPort({0, 0, kWidth, kHeight});
        app.Setup2DScene(kWidth, kHeight, 10.0, -100.0);
        app.ClearSurface({0, 0, kWidth, kHeight}, 7, {0, 0, 40, 255}, 1.0f, 0);
        app.BeginScene();
    }

    // Upper-left content, a partial clear and a clipping viewport: a flipped row shows at once.
    // Every quad spans a whole number of pixels per texel, so no pixel centre lies on a texel edge.
    static void Layout(ParitySide& side) {
        ad::AdApplication& app = side.App();
        ad::AdTexture* opaque = side.Texture(8, 8, Stripes(8, 255));
        ad::AdTexture* translucent = side.Texture(8, 8, Stripes(8, 150));
        ad::AdTexture* keyed = side.Texture(8, 8, DiscTexels(8, 3.2f, 0xFF30C0E0u));
        side.Quad(0, 0, 24, 8, opaque, {255, 255, 255, 255});
        side.Quad(2, 8, 34, 24, opaque, {255, 200, 100, 255});
        side.Quad(10, 4, 42, 28, translucent, {255, 255, 255, 255});
        side.Quad(20, 12, 44, 36, opaque, {255, 255, 255, 128}); // opaque texels, translucent tint
        side.Quad(40, 16, 64, 40, keyed, {255, 255, 255, 255});
        side.Quad(44, 20, 60, 36, keyed, {90, 200, 255, 255});
        side.Quad(48, 24, 64, 40, keyed, {255, 255, 255, 160});
        side.Quad(36, 0, 52, 16, keyed, {255, 255, 255, 255}, ad::kAdBlendMultiply);
        app.ClearSurface({50, 2, 60, 10}, ad::kAdClearColor, {200, 10, 10, 255}, 1.0f, 0);
        app.SetViewPort({4, 30, 40, 44});
        side.Quad(0, 0, kWidth, kHeight, nullptr, {250, 250, 0, 255}); // fills the viewport
        app.SetViewPort({0, 0, kWidth, kHeight});
    }
};

TEST_F(ScreenParity, ScreenInTheWindowMatchesTheCpuScreen) {
    ASSERT_TRUE(gl_.ScreenInWindow()) << "a window of the screen's size is drawn in directly";
    const Difference d = RunOnScreen(Layout);
    EXPECT_NE(softPixels_[2 * kWidth + 2], softPixels_[(kHeight - 3) * kWidth + 2]);
    EXPECT_LE(d.maxChannel, 1) << d.pixels << " pixels differ, worst " << d.where;
    EXPECT_TRUE(gl_.ScreenInWindow());
}

TEST_F(ScreenParity, StencilOnTheScreenMovesItOffTheWindowKeepingTheFrame) {
    auto scene = [](ParitySide& side) {
        Layout(side);
        ad::AdApplication& app = side.App();
        ad::AdTexture* disc = side.Texture(16, 16, DiscTexels(16, 6.0f, 0xFFFFFFFFu));
        app.SetOptions(ad::kAdOptionAlphaMask | ad::kAdOptionStencil);
        app.SetStencilOptions(1, 0xFFFF, ad::kAdStencilAlways);
        app.SetStencilEvent(ad::kAdStencilOnPass, ad::kAdStencilReplace);
        side.Quad(30, 20, 46, 36, disc, {255, 255, 255, 255});
        app.SetStencilOptions(0, 0xFFFF, ad::kAdStencilLess);
        app.SetStencilEvent(ad::kAdStencilOnPass, ad::kAdStencilKeep);
        side.Quad(36, 24, 56, 44, nullptr, {0, 255, 0, 255}); // only where the disc marked
        app.SetStencilOptions(0, 0xFFFF, ad::kAdStencilAlways);
        app.SetOptions(0);
    };
    const Difference d = RunOnScreen(scene);
    EXPECT_FALSE(gl_.ScreenInWindow());
    EXPECT_EQ(softPixels_[30 * kWidth + 40], 0xFF00FF00u) << "the marked overlap is green";
    EXPECT_NE(softPixels_[40 * kWidth + 52], 0xFF00FF00u) << "unmarked places stay as they were";
    EXPECT_LE(d.maxChannel, 1) << d.pixels << " pixels differ, worst " << d.where;

    // Later frames go on off the window, and are still presented upright.
    gl_.Flip();
    const Difference again = RunOnScreen(Layout);
    EXPECT_LE(again.maxChannel, 1) << again.pixels << " pixels differ, worst " << again.where;
}

// A window resized behind the engine's back no longer matches the screen: later frames are drawn
// off the window and scaled into it, still upright and whole.
TEST_F(ScreenParity, AWindowOfAnotherSizeGetsTheFrameFromOffTheWindow) {
    ASSERT_TRUE(gl_.ScreenInWindow());
    window_->SetClientSize(kWidth + 16, kHeight + 12);
    gl_.Flip();
    EXPECT_FALSE(gl_.ScreenInWindow());
    const Difference d = RunOnScreen(Layout);
    EXPECT_LE(d.maxChannel, 1) << d.pixels << " pixels differ, worst " << d.where;
    gl_.Flip();
}

TEST_F(ScreenParity, OpaqueAndTranslucentDrawsOfOneTextureBatchByBlendState) {
    ParitySide side(gl_, kWidth, kHeight);
    SelectScreen(gl_);
    ad::AdTexture* opaque = side.Texture(8, 8, Stripes(8, 255));
    gl_.Flip();
    for (int i = 0; i < 10; ++i)
        side.Quad(i * 4.0f, 0, i * 4.0f + 4, 4, opaque, {255, 255, 255, 255});
    gl_.Flip();
    EXPECT_EQ(gl_.DrawCallsLastFrame(), 1);
    for (int i = 0; i < 10; ++i)
        side.Quad(i * 4.0f, 0, i * 4.0f + 4, 4, opaque, {255, 255, 255, i < 5 ? uint8_t{255} : uint8_t{100}});
    gl_.Flip();
    EXPECT_EQ(gl_.DrawCallsLastFrame(), 2) << "the tinted half blends, the rest need not";
}

// Without the alpha mask a query counts a keyed picture's transparent texels too; with it, only
// the opaque ones.
TEST_F(ScreenParity, KeyedPicturesCountAsTheCpuRendererCountsThem) {
    auto count = [](ad::AdApplication& app, uint16_t options) {
        ParitySide side(app, kWidth, kHeight);
        ad::AdTexture* keyed = side.Texture(16, 16, DiscTexels(16, 6.0f, 0xFFFFFFFFu));
        ad::AdOcclusionQuery* query = side.Query();
        app.SetOptions(options);
        query->StartQuery();
        side.Quad(4, 4, 20, 20, keyed, {255, 255, 255, 255});
        query->StopQuery();
        app.SetOptions(0);
        return query->PixelCount();
    };
    EXPECT_EQ(count(soft_, 0), 256u);
    EXPECT_EQ(count(gl_, 0), 256u);
    const uint32_t masked = count(soft_, ad::kAdOptionAlphaMask);
    EXPECT_GT(masked, 50u);
    EXPECT_LT(masked, 256u);
    EXPECT_EQ(count(gl_, ad::kAdOptionAlphaMask), masked);
}

} // namespace
} // namespace vimbo::test
