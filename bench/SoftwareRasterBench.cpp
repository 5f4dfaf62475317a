// Fill rate of the CPU renderer (opaque copy, tinted alpha-blended scaling, additive glow, small
// sprites, collision tests) beside a plain alpha-blend loop over the same number of pixels.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "engine/render/AdPluginApi.hpp"
#include "plugins/software/SoftwareApplication.hpp"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 818;
constexpr int64_t kPixels = int64_t{kWidth} * kHeight;

class NullFramework : public ad::AdWindowFramework {
public:
    const char* Identifier() const override { return ad::kAdFrameworkHeadless; }
    int ClientWidth() const override { return kWidth; }
    int ClientHeight() const override { return kHeight; }
    void* NativeWindow() const override { return nullptr; }
    void PresentPixels(const uint8_t*, int, int) override {}
};

std::vector<uint32_t> RandomTexels(int count, bool opaque) {
    std::mt19937 random(1234);
    std::vector<uint32_t> texels(static_cast<size_t>(count));
    for (uint32_t& t : texels) {
        t = random() & 0x00FFFFFFu;
        // Translucent texels 1..254 force the blend arithmetic on every pixel.
        t |= (opaque ? 255u : 1u + random() % 254u) << 24;
    }
    return texels;
}

struct Scene {
    NullFramework framework;
    ad::software::SoftwareApplication app;
    std::unique_ptr<ad::AdMesh> mesh;
    std::unique_ptr<ad::AdBitmapTexture> texture;

    Scene(int texWidth, int texHeight, bool opaque) {
        app.Initialize(&framework);
        app.Setup2DScene(kWidth, kHeight, 10.0, -100.0);
        mesh.reset(app.CreateMesh());
        texture.reset(app.CreateBitmapTexture());
        const auto texels = RandomTexels(texWidth * texHeight, opaque);
        texture->LoadFromBitmap(reinterpret_cast<const uint8_t*>(texels.data()), texWidth, texHeight, 32);
        app.ClearSurface(ad::AdRect{0, 0, kWidth, kHeight}, 7, ad::AdColor{30, 60, 90, 255}, 1.0f, 0);
    }

    void SetQuad(float left, float top, float right, float bottom, ad::AdColor color) {
        ad::AdVertex v[4];
        const float xs[4] = {left, right, left, right}, ys[4] = {top, top, bottom, bottom};
        for (int i = 0; i < 4; ++i) {
            v[i].x = xs[i];
            v[i].y = ys[i];
            v[i].u = static_cast<float>(i % 2);
            v[i].v = static_cast<float>(i / 2);
            v[i].color = color;
        }
        mesh->SetVertices(v, 4);
        mesh->SetTexture(texture.get());
        mesh->SetPrimitiveCount(2);
        mesh->Update();
    }
};

void ReportPixels(benchmark::State& state, int64_t pixelsPerIteration) {
    state.counters["pixels_per_second"] =
        benchmark::Counter(static_cast<double>(pixelsPerIteration) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}

void BM_OpaqueTexturedQuad(benchmark::State& state) {
    Scene scene(kWidth, kHeight, true);
    scene.SetQuad(0, 0, kWidth, kHeight, ad::AdColor{255, 255, 255, 255});
    for (auto _ : state) {
        scene.mesh->Draw(ad::kAdBlendAlpha, ad::kAdPrimitiveTriangleStrip);
        benchmark::ClobberMemory();
    }
    ReportPixels(state, kPixels);
}
BENCHMARK(BM_OpaqueTexturedQuad)->Unit(benchmark::kMillisecond);

void BM_TintedBlendedScaledQuad(benchmark::State& state) {
    Scene scene(300, 200, false);
    scene.SetQuad(0, 0, kWidth, kHeight, ad::AdColor{220, 180, 140, 200});
    for (auto _ : state) {
        scene.mesh->Draw(ad::kAdBlendAlpha, ad::kAdPrimitiveTriangleStrip);
        benchmark::ClobberMemory();
    }
    ReportPixels(state, kPixels);
}
BENCHMARK(BM_TintedBlendedScaledQuad)->Unit(benchmark::kMillisecond);

void BM_AdditiveScaledQuad(benchmark::State& state) {
    Scene scene(64, 64, false);
    scene.SetQuad(0, 0, kWidth, kHeight, ad::AdColor{255, 128, 255, 120});
    for (auto _ : state) {
        scene.mesh->Draw(ad::kAdBlendAdd, ad::kAdPrimitiveTriangleStrip);
        benchmark::ClobberMemory();
    }
    ReportPixels(state, kPixels);
}
BENCHMARK(BM_AdditiveScaledQuad)->Unit(benchmark::kMillisecond);

// The yardstick: the same alpha blend from one buffer into another, one pixel after the other.
void BM_ReferenceBlendLoop(benchmark::State& state) {
    const std::vector<uint32_t> src = RandomTexels(static_cast<int>(kPixels), false);
    std::vector<uint32_t> dst(static_cast<size_t>(kPixels), 0xFF1E3C5Au);
    for (auto _ : state) {
        for (size_t i = 0; i < src.size(); ++i) {
            const uint32_t s = src[i], d = dst[i], a = s >> 24, ia = 255 - a;
            uint32_t out = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                const uint32_t c = ((s >> shift) & 0xFF) * a + ((d >> shift) & 0xFF) * ia + 127;
                out |= (c / 255) << shift;
            }
            out |= (a + (((d >> 24) * ia + 127) / 255)) << 24;
            dst[i] = out;
        }
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    ReportPixels(state, kPixels);
}
BENCHMARK(BM_ReferenceBlendLoop)->Unit(benchmark::kMillisecond);

// Many small sprites: the per-draw overhead the game's frames pay.
void BM_SmallSprites(benchmark::State& state) {
    Scene scene(32, 32, false);
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            const float x = static_cast<float>(i * 37 % (kWidth - 32)),
                        y = static_cast<float>(i * 53 % (kHeight - 32));
            scene.SetQuad(x, y, x + 32, y + 32, ad::AdColor{255, 255, 255, 255});
            scene.mesh->Draw(ad::kAdBlendAlpha, ad::kAdPrimitiveTriangleStrip);
        }
        benchmark::ClobberMemory();
    }
    ReportPixels(state, 1000 * 32 * 32);
    state.counters["sprites_per_second"] =
        benchmark::Counter(1000.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SmallSprites)->Unit(benchmark::kMillisecond);

// One pixel collision test: clear a 32 x 32 target, mark with the first sprite, count the second.
void BM_PixelCollisionTest(benchmark::State& state) {
    Scene scene(24, 24, false);
    std::unique_ptr<ad::AdRenderTargetTexture> target(scene.app.CreateRenderTarget());
    target->SetSize(32, 32);
    std::unique_ptr<ad::AdOcclusionQuery> query(scene.app.CreateOcclusionQuery());
    uint32_t total = 0;
    for (auto _ : state) {
        scene.app.SetRenderTarget(target.get());
        scene.app.SetViewPort(ad::AdRect{0, 0, 32, 32});
        scene.app.SetOptions(106);
        scene.app.ClearSurface(ad::AdRect{0, 0, 32, 32}, 7, ad::AdColor{}, 1.0f, 0);
        scene.app.Setup2DScene(20, 20, 10.0, -100.0);
        scene.app.SetStencilOptions(1, 0xFFFF, ad::kAdStencilAlways);
        scene.app.SetStencilEvent(ad::kAdStencilOnPass, ad::kAdStencilReplace);
        scene.SetQuad(-4, -4, 20, 20, ad::AdColor{255, 255, 255, 255});
        scene.mesh->Draw(ad::kAdBlendAlpha, ad::kAdPrimitiveTriangleStrip);
        scene.app.SetStencilOptions(0, 0xFFFF, ad::kAdStencilLess);
        scene.app.SetStencilEvent(ad::kAdStencilOnPass, ad::kAdStencilKeep);
        query->StartQuery();
        scene.SetQuad(0, 0, 24, 24, ad::AdColor{255, 255, 255, 255});
        scene.mesh->Draw(ad::kAdBlendAlpha, ad::kAdPrimitiveTriangleStrip);
        query->StopQuery();
        total += query->PixelCount();
        scene.app.SetRenderTarget(nullptr);
    }
    benchmark::DoNotOptimize(total);
    state.counters["tests_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PixelCollisionTest);

} // namespace

BENCHMARK_MAIN();
