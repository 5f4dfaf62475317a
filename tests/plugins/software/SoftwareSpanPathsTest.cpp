// Whole draws through the CPU renderer on each loop level: sprites of every kind the fast loops
// specialise (opaque, keyed, tinted, lit, additive, multiplied, untextured, stencil marking and
// occlusion counting) cut by every edge and corner of the target and of a viewport must leave the
// same colours, stencil values and counts as on the scalar loops.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <set>
#include <vector>

#include "plugins/software/SoftwareFastSpans.hpp"
#include "tests/plugins/software/SoftwareTestScene.hpp"

namespace vimbo::test {
namespace {

using ad::software::SpanLevel;

constexpr ad::AdColor kWhite{255, 255, 255, 255};

// What a scene leaves behind: the screen's colours and stencil values and the queries' counts.
struct Result {
    std::vector<uint32_t> colours;
    std::vector<uint8_t> stencil;
    std::vector<uint32_t> counts;
    bool operator==(const Result&) const = default;
};

class SoftwareSpanPaths : public SoftwareScene {
protected:
    void SetUp() override {
        SoftwareScene::SetUp();
        std::mt19937 random(31);
        auto texels = [&](int n, int kind) { // 0 opaque, 1 keyed, 2 any alpha
            std::vector<uint32_t> t(static_cast<size_t>(n));
            for (uint32_t& p : t) {
                const uint32_t a = kind == 0 ? 255 : kind == 1 ? (random() % 3 ? 255 : 0) : random() & 0xFF;
                p = a << 24 | (random() & 0xFFFFFF);
            }
            return t;
        };
        opaque = MakeTexture(13, 11, texels(13 * 11, 0));
        keyed = MakeTexture(16, 16, texels(16 * 16, 1));
        mixed = MakeTexture(9, 7, texels(9 * 7, 2));
        query.reset(app.CreateOcclusionQuery());
    }

    // Quads crossing each edge and corner of a w x h surface (and one inside), at sizes that are
    // one texel per pixel, stretched and shrunk.
    template <typename Draw> static void AroundTheEdges(float w, float h, Draw&& draw) {
        const float xs[] = {-6.3f, w / 2 - 4, w - 5.6f}, ys[] = {-4.7f, h / 2 - 3, h - 3.2f};
        const float sizes[][2] = {{13, 11}, {21.5f, 17.25f}, {7.5f, 5.5f}};
        int i = 0;
        for (const float y : ys)
            for (const float x : xs) {
                const float* size = sizes[i++ % 3];
                draw(x, y, x + size[0], y + size[1]);
            }
    }

    Result Render(SpanLevel level, const std::function<void()>& scene) {
        app.SetSpanLevel(level);
        app.SetOptions(0);
        app.SetViewPort(ad::AdRect{0, 0, kWidth, kHeight});
        app.Setup2DScene(kWidth, kHeight, 10.0, -100.0);
        app.SetAmbientColor(kWhite);
        app.SetStencilOptions(0, 0xFF, ad::kAdStencilAlways);
        for (int e = ad::kAdStencilOnFail; e <= ad::kAdStencilOnPass; ++e)
            app.SetStencilEvent(e, ad::kAdStencilKeep);
        app.ClearSurface(ad::AdRect{0, 0, kWidth, kHeight}, 7, ad::AdColor{30, 60, 90, 200}, 1.0f, 0);
        mesh->SetMatrix(ad::AdMatrix::Identity());
        counts.clear();
        scene();
        Result r;
        const auto& screen = app.ScreenBuffer();
        r.colours.assign(screen.Colors(), screen.Colors() + kWidth * kHeight);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                r.stencil.push_back(screen.StencilAt(x, y));
        r.counts = counts;
        return r;
    }

    // Runs the scene on the scalar loops and on every vector level this processor has.
    void ExpectSameOnEveryLevel(const std::function<void()>& scene) {
        const Result expected = Render(SpanLevel::Scalar, scene);
        ASSERT_GT(std::set<uint32_t>(expected.colours.begin(), expected.colours.end()).size(), 4u);
        for (const SpanLevel level : {SpanLevel::Sse2, SpanLevel::Avx2}) {
            if (!ad::software::SpanLevelAvailable(level))
                continue;
            const Result got = Render(level, scene);
            for (size_t i = 0; i < got.colours.size(); ++i)
                ASSERT_EQ(got.colours[i], expected.colours[i])
                    << "level " << static_cast<int>(level) << " pixel " << i % kWidth << "," << i / kWidth;
            EXPECT_EQ(got.stencil, expected.stencil) << "level " << static_cast<int>(level);
            EXPECT_EQ(got.counts, expected.counts) << "level " << static_cast<int>(level);
        }
    }

    // Counts the fragments of a draw that pass every test.
    void Counted(const std::function<void()>& draw) {
        query->StartQuery();
        draw();
        query->StopQuery();
        counts.push_back(query->PixelCount());
    }

    std::unique_ptr<ad::AdBitmapTexture> opaque, keyed, mixed;
    std::unique_ptr<ad::AdOcclusionQuery> query;
    std::vector<uint32_t> counts;
};

TEST_F(SoftwareSpanPaths, OpaqueAndKeyedSpritesUnderWhite) {
    ExpectSameOnEveryLevel([&] {
        AroundTheEdges(kWidth, kHeight, [&](float l, float t, float r, float b) {
            DrawQuad(l, t, r, b, opaque.get(), kWhite);
            DrawQuad(l + 2, t + 1, r + 2, b + 1, keyed.get(), kWhite);
        });
        // Rotated, so that the texel walk runs diagonally and clamps at the texture's edges.
        mesh->SetMatrix(ad::AdMatrix::Translation(-8, -8, 0) * ad::AdMatrix::RotationZ(0.6f) *
                        ad::AdMatrix::Translation(3, 40, 0));
        DrawQuad(0, 0, 16, 16, keyed.get(), kWhite);
        DrawQuad(0, 0, 16, 16, opaque.get(), kWhite, ad::kAdBlendAlpha, -0.2f, -0.2f, 1.3f, 1.2f);
    });
}

TEST_F(SoftwareSpanPaths, TintedAndLitSprites) {
    ExpectSameOnEveryLevel([&] {
        AroundTheEdges(kWidth, kHeight, [&](float l, float t, float r, float b) {
            DrawQuad(l, t, r, b, mixed.get(), ad::AdColor{220, 180, 140, 200});
            DrawQuad(l + 1, t + 2, r + 1, b + 2, keyed.get(), ad::AdColor{165, 42, 42, 255});
        });
        app.SetOptions(ad::kAdOptionLight);
        app.SetAmbientColor(ad::AdColor{200, 150, 255, 255});
        AroundTheEdges(kWidth, kHeight, [&](float l, float t, float r, float b) {
            DrawQuad(l + 3, t, r + 3, b, opaque.get(), ad::AdColor{90, 255, 180, 120});
            DrawQuad(l, t + 3, r, b + 3, keyed.get(), kWhite);
        });
    });
}

TEST_F(SoftwareSpanPaths, AdditiveParticlesMultiplyAndUntexturedQuads) {
    ExpectSameOnEveryLevel([&] {
        std::vector<ad::AdVertex> vertices;
        std::vector<uint16_t> indices;
        AroundTheEdges(kWidth, kHeight, [&](float l, float t, float r, float b) {
            const auto base = static_cast<uint16_t>(vertices.size());
            const ad::AdColor c{255, 200, 80, 180};
            vertices.insert(vertices.end(), {Vertex(l, t, c, 0, 0), Vertex(r, t, c, 1, 0),
                                             Vertex(l, b, c, 0, 1), Vertex(r, b, c, 1, 1)});
            indices.insert(indices.end(), {base, static_cast<uint16_t>(base + 1),
                                           static_cast<uint16_t>(base + 2), static_cast<uint16_t>(base + 1),
                                           static_cast<uint16_t>(base + 3), static_cast<uint16_t>(base + 2)});
        });
        DrawVertices(vertices, ad::kAdPrimitiveTriangles, static_cast<int>(indices.size() / 3), keyed.get(),
                     indices, ad::kAdBlendAdd);
        AroundTheEdges(kWidth, kHeight, [&](float l, float t, float r, float b) {
            DrawQuad(l, t, r, b, mixed.get(), ad::AdColor{180, 255, 120, 255}, ad::kAdBlendMultiply);
            DrawQuad(l + 4, t + 4, r - 2, b - 2, nullptr, ad::AdColor{10, 200, 30, 255});
            DrawQuad(l - 3, t - 2, r - 3, b - 2, nullptr, ad::AdColor{250, 40, 130, 90});
            DrawQuad(l + 2, t - 3, r + 2, b - 3, nullptr, ad::AdColor{40, 40, 250, 60}, ad::kAdBlendAdd);
        });
    });
}

// The pixel collision test's two steps, and stencil operations of every kind, with sprites cut by
// the edges of a render target and of a viewport inside the screen.
TEST_F(SoftwareSpanPaths, StencilMarkingAndOcclusionCounting) {
    std::unique_ptr<ad::AdRenderTargetTexture> target(app.CreateRenderTarget());
    target->SetSize(32, 32);
    ExpectSameOnEveryLevel([&] {
        app.SetRenderTarget(target.get());
        app.SetViewPort(ad::AdRect{0, 0, 32, 32});
        app.ClearSurface(ad::AdRect{0, 0, 32, 32}, 7, ad::AdColor{}, 1.0f, 0);
        app.Setup2DScene(32, 32, 10.0, -100.0);
        app.SetOptions(106);
        app.SetStencilOptions(1, 0xFFFF, ad::kAdStencilAlways);
        app.SetStencilEvent(ad::kAdStencilOnPass, ad::kAdStencilReplace);
        AroundTheEdges(
            32, 32, [&](float l, float t, float r, float b) { DrawQuad(l, t, r, b, keyed.get(), kWhite); });
        app.SetStencilOptions(0, 0xFFFF, ad::kAdStencilLess);
        app.SetStencilEvent(ad::kAdStencilOnPass, ad::kAdStencilKeep);
        AroundTheEdges(32, 32, [&](float l, float t, float r, float b) {
            Counted([&] { DrawQuad(l + 3, t + 2, r + 3, b + 2, keyed.get(), kWhite); });
        });
        app.SetRenderTarget(nullptr);
        // On the screen: the target drawn as a texture, then stencil operations under a viewport.
        app.SetViewPort(ad::AdRect{0, 0, kWidth, kHeight});
        app.Setup2DScene(kWidth, kHeight, 10.0, -100.0);
        app.SetOptions(0);
        DrawQuad(8, 4, 40, 36, target.get(), kWhite);
        app.SetViewPort(ad::AdRect{5, 7, 50, 40});
        app.Setup2DScene(45, 33, 10.0, -100.0);
        app.SetOptions(ad::kAdOptionStencil | ad::kAdOptionAlphaMask);
        const int operations[] = {ad::kAdStencilIncrement, ad::kAdStencilInvert, ad::kAdStencilDecrement,
                                  ad::kAdStencilReplace, ad::kAdStencilZero};
        int k = 0;
        AroundTheEdges(45, 33, [&](float l, float t, float r, float b) {
            app.SetStencilOptions(static_cast<uint16_t>(k % 3), 0xFF,
                                  k % 2 ? ad::kAdStencilLessEqual : ad::kAdStencilNotEqual);
            app.SetStencilEvent(ad::kAdStencilOnPass, operations[k % 5]);
            app.SetStencilEvent(ad::kAdStencilOnFail, operations[(k + 2) % 5]);
            ad::AdTexture* texture = k % 3 == 0 ? opaque.get() : k % 3 == 1 ? keyed.get() : mixed.get();
            const ad::AdColor tint{255, static_cast<uint8_t>(120 + 15 * k), 200,
                                   static_cast<uint8_t>(k % 2 ? 255 : 150)};
            Counted(
                [&] { DrawQuad(l, t, r, b, texture, tint, k % 2 ? ad::kAdBlendAdd : ad::kAdBlendAlpha); });
            ++k;
        });
        Counted([&] { DrawQuad(-3, -3, 50, 40, nullptr, ad::AdColor{255, 255, 255, 100}); });
    });
}

} // namespace
} // namespace vimbo::test
