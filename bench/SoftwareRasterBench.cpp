// Fill rate of the CPU renderer (opaque copy, tinted alpha-blended scaling, additive glow, small
// sprites, collision tests). The tinted scaled quad is compared in the same run with pixman doing
// the comparable composite (a nearest-scaled source OVER the target through a constant alpha mask)
// and with a plain blend loop as the compiler vectorises it, all over the same pixels; the ratios
// are printed at the end.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#if VIMBO_HAVE_PIXMAN
#include <pixman.h>
#endif

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

// The tinted scaled quad: a 300 x 200 picture of translucent texels stretched over the whole target.
constexpr int kPictureWidth = 300, kPictureHeight = 200;
constexpr ad::AdColor kTint{220, 180, 140, 200};

void TintedBlendedScaledQuad(benchmark::State& state, ad::software::SpanLevel level) {
    Scene scene(kPictureWidth, kPictureHeight, false);
    scene.app.SetSpanLevel(level);
    scene.SetQuad(0, 0, kWidth, kHeight, kTint);
    for (auto _ : state) {
        scene.mesh->Draw(ad::kAdBlendAlpha, ad::kAdPrimitiveTriangleStrip);
        benchmark::ClobberMemory();
    }
    ReportPixels(state, kPixels);
}
void BM_TintedBlendedScaledQuad(benchmark::State& state) {
    TintedBlendedScaledQuad(state, ad::software::BestSpanLevel());
}
BENCHMARK(BM_TintedBlendedScaledQuad)->Unit(benchmark::kMillisecond);
// The same draw on four-pixel SSE2 loops, where the fastest level is wider.
void BM_TintedBlendedScaledQuadSse2(benchmark::State& state) {
    TintedBlendedScaledQuad(state, ad::software::SpanLevel::Sse2);
}
BENCHMARK(BM_TintedBlendedScaledQuadSse2)->Unit(benchmark::kMillisecond);
// The same draw through the scalar loops every other level must match.
void BM_TintedBlendedScaledQuadScalar(benchmark::State& state) {
    TintedBlendedScaledQuad(state, ad::software::SpanLevel::Scalar);
}
BENCHMARK(BM_TintedBlendedScaledQuadScalar)->Unit(benchmark::kMillisecond);

#if VIMBO_HAVE_PIXMAN
// pixman's comparable composite: the same texels, nearest-scaled to the target with the edges
// padded, OVER the target through a solid mask of the tint's alpha. pixman works on premultiplied
// colours and does not tint, so the pixels differ; the work per pixel is alike.
void BM_PixmanScaledOverConstantMask(benchmark::State& state) {
    std::vector<uint32_t> texels = RandomTexels(kPictureWidth * kPictureHeight, false);
    std::vector<uint32_t> target(static_cast<size_t>(kPixels), 0xFF1E3C5Au);
    using Image = std::unique_ptr<pixman_image_t, decltype(&pixman_image_unref)>;
    Image src(pixman_image_create_bits(PIXMAN_a8r8g8b8, kPictureWidth, kPictureHeight, texels.data(),
                                       kPictureWidth * 4),
              &pixman_image_unref);
    Image dst(pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, target.data(), kWidth * 4),
              &pixman_image_unref);
    const pixman_color_t alpha{0, 0, 0, static_cast<uint16_t>(kTint.a * 257)};
    Image mask(pixman_image_create_solid_fill(&alpha), &pixman_image_unref);
    pixman_transform_t scale;
    pixman_transform_init_scale(&scale, pixman_double_to_fixed(double{kPictureWidth} / kWidth),
                                pixman_double_to_fixed(double{kPictureHeight} / kHeight));
    pixman_image_set_transform(src.get(), &scale);
    pixman_image_set_filter(src.get(), PIXMAN_FILTER_NEAREST, nullptr, 0);
    pixman_image_set_repeat(src.get(), PIXMAN_REPEAT_PAD);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, src.get(), mask.get(), dst.get(), 0, 0, 0, 0, 0, 0, kWidth,
                                 kHeight);
        benchmark::ClobberMemory();
    }
    ReportPixels(state, kPixels);
}
BENCHMARK(BM_PixmanScaledOverConstantMask)->Unit(benchmark::kMillisecond);
#endif

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

// The yardstick: the renderer's alpha blend (every channel round((s a + d (255 - a)) / 255), the
// alpha channel with s = 255) from one buffer into another, written as a plain loop over 32-bit
// pixels with red/blue and green/alpha as two 16-bit lanes, which the compiler vectorises well;
// built once for the baseline instruction set and once for AVX2.
[[gnu::always_inline]] inline void PlainBlend(const uint32_t* src, uint32_t* dst, size_t pixels) {
    for (size_t i = 0; i < pixels; ++i) {
        const uint32_t s = src[i], d = dst[i], a = s >> 24, ia = 255 - a;
        uint32_t rb = (s & 0x00FF00FFu) * a + (d & 0x00FF00FFu) * ia + 0x00800080u;
        rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
        uint32_t ga =
            (((s >> 8) & 0xFFu) * a | (a * 255) << 16) + ((d >> 8) & 0x00FF00FFu) * ia + 0x00800080u;
        ga = (ga + ((ga >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
        dst[i] = rb | ga;
    }
}
void PlainBlendBaseline(const uint32_t* src, uint32_t* dst, size_t pixels) {
    PlainBlend(src, dst, pixels);
}
[[gnu::target("avx2")]] void PlainBlendAvx2(const uint32_t* src, uint32_t* dst, size_t pixels) {
    PlainBlend(src, dst, pixels);
}

void PlainBlendLoop(benchmark::State& state, void (*blend)(const uint32_t*, uint32_t*, size_t)) {
    const std::vector<uint32_t> src = RandomTexels(static_cast<int>(kPixels), false);
    std::vector<uint32_t> dst(static_cast<size_t>(kPixels), 0xFF1E3C5Au);
    for (auto _ : state) {
        blend(src.data(), dst.data(), src.size());
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    ReportPixels(state, kPixels);
}
void BM_PlainBlendLoop(benchmark::State& state) {
    PlainBlendLoop(state, &PlainBlendBaseline);
}
BENCHMARK(BM_PlainBlendLoop)->Unit(benchmark::kMillisecond);
void BM_PlainBlendLoopAvx2(benchmark::State& state) {
    if (!__builtin_cpu_supports("avx2")) {
        state.SkipWithError("no AVX2 on this processor");
        return;
    }
    PlainBlendLoop(state, &PlainBlendAvx2);
}
BENCHMARK(BM_PlainBlendLoopAvx2)->Unit(benchmark::kMillisecond);

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

// Keeps each benchmark's real time per iteration (the median where repetitions report one) to
// print the comparisons after the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Iteration || median)
                if (!run.error_occurred && (median || times_.count(run.run_name.function_name) == 0))
                    times_[run.run_name.function_name] = {run.GetAdjustedRealTime(),
                                                          run.GetAdjustedCPUTime()};
        }
    }

    // Real-time and CPU-time ratios; on a busy machine the CPU times say more.
    void PrintRatio(const char* what, const std::string& a, const std::string& b) const {
        const auto ta = times_.find(a), tb = times_.find(b);
        if (ta != times_.end() && tb != times_.end() && tb->second.first > 0 && tb->second.second > 0)
            std::printf("%-56s %6.2f %6.2f\n", what, ta->second.first / tb->second.first,
                        ta->second.second / tb->second.second);
    }

private:
    std::map<std::string, std::pair<double, double>> times_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nTime ratios over the same pixels (above 1: the first is slower)     real    cpu\n");
    reporter.PrintRatio("tinted scaled quad / pixman scaled OVER constant mask", "BM_TintedBlendedScaledQuad",
                        "BM_PixmanScaledOverConstantMask");
    reporter.PrintRatio("tinted scaled quad / plain blend loop", "BM_TintedBlendedScaledQuad",
                        "BM_PlainBlendLoop");
    reporter.PrintRatio("tinted scaled quad / plain blend loop, AVX2", "BM_TintedBlendedScaledQuad",
                        "BM_PlainBlendLoopAvx2");
    reporter.PrintRatio("pixman / plain blend loop", "BM_PixmanScaledOverConstantMask", "BM_PlainBlendLoop");
    reporter.PrintRatio("tinted scaled quad, SSE2 loops / fastest loops", "BM_TintedBlendedScaledQuadSse2",
                        "BM_TintedBlendedScaledQuad");
    reporter.PrintRatio("tinted scaled quad, scalar loops / fastest loops",
                        "BM_TintedBlendedScaledQuadScalar", "BM_TintedBlendedScaledQuad");
    benchmark::Shutdown();
    return 0;
}
