// Speed of the particle system: one worker round (moving every particle and writing its billboard)
// and a whole frame (hand-over, upload, one additive mesh draw through the software plugin), for
// particle counts from a meal's burst to far more than the game ever shows.
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/particles/AdParticles.hpp"
#include "engine/platform/Random.hpp"
#include "engine/render/AdBitmap.hpp"
#include "tests/support/HeadlessSurface.hpp"

namespace {

constexpr int kScreenW = 1024, kScreenH = 768;
constexpr double kFrame = 0.016;

// A system of `count` long-lived billboards of a 16 x 16 glow, flying out from the screen's middle,
// fading along a two-colour ramp as the game's bursts do.
struct Burst {
    explicit Burst(int count) {
        ad::platform::SetRandSeed(7);
        ad::TAd2DBitmap bitmap(16, 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                bitmap.SetPixel(x, y, 0x80FFFFFFu);
        texture = std::make_unique<ad::TAdTexture>(surface.draw.get());
        texture->LoadFromBitmap(bitmap, 32);
        system = std::make_unique<ad::TAdParticleSystem>(surface.draw.get());
        system->SetTexture(texture.get());
        billboard = std::make_unique<ad::TAdBillboardParticle>(system.get());
        billboard->lifetime = 1000.0;
        billboard->size = {1.0, 0.5, 0.0};
        system->SetTemplate(billboard.get());
        system->Colors() = {{0, 0, 255, 255}, {255, 215, 0, 0}};
        system->CalcThread().WaitForCalculation();
        system->Emit(count, kScreenW / 2, kScreenH / 2);
        Round();
        Round();
    }
    void Round() {
        system->Move(kFrame);
        system->CalcThread().WaitForCalculation();
    }

    vimbo::test::HeadlessSurface surface{kScreenW, kScreenH};
    std::unique_ptr<ad::TAdTexture> texture;
    std::unique_ptr<ad::TAdBillboardParticle> billboard;
    std::unique_ptr<ad::TAdParticleSystem> system;
};

void BM_WorkerRound(benchmark::State& state) {
    Burst burst(static_cast<int>(state.range(0)));
    for (auto _ : state) burst.Round();
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["primitives"] = burst.system->MeshPrimitiveCount();
}
BENCHMARK(BM_WorkerRound)->Arg(300)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_WholeFrame(benchmark::State& state) {
    Burst burst(static_cast<int>(state.range(0)));
    ad::TAdDraw& draw = *burst.surface.draw;
    for (auto _ : state) {
        draw.ClearSurface(0);
        draw.BeginScene();
        burst.system->Move(kFrame);
        burst.system->Draw(&draw, ad::kAdBlendAdd, 0, 0);
        draw.EndScene();
        draw.Flip();
        burst.system->CalcThread().WaitForCalculation();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WholeFrame)->Arg(300)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
