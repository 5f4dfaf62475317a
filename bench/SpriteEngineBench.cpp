// Speed of the sprite engine on a scene like the game's: 992 maze blocks (674 on screen), 301 tail
// segments, six screen-sized backgrounds and 40 menu and HUD sprites. Point probes, one pixel-tested
// collision among real candidates, and a whole frame of the engine (move, draw, dead).
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "engine/platform/Window.hpp"
#include "engine/render/AdBitmap.hpp"
#include "engine/render/AdImages.hpp"
#include "engine/sprites/AdImageSprites.hpp"
#include "engine/sprites/AdPixelTest.hpp"
#include "tests/support/HeadlessSurface.hpp"
#include "tests/support/TestPaths.hpp"

namespace {

constexpr int kScreenW = 1024, kScreenH = 768;

// Counts the sprites that reached their draw, so a frame's work can be checked against the scene.
class BenchSprite : public ad::TImageSpriteEx {
public:
    using ad::TImageSpriteEx::TImageSpriteEx;
    void DoDraw() override {
        ++draws;
        ad::TImageSpriteEx::DoDraw();
    }
    static inline int64_t draws = 0;
};

ad::TAdImage* Tile(ad::TAdImageList& list, const char* name, int w, int h, int patterns) {
    ad::TAdImage* image = list.Add(name);
    ad::TAd2DBitmap bitmap(w * patterns, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w * patterns; ++x) // a clear border, as the game's sprites have
            bitmap.SetPixel(
                x, y, (x % w == 0 || y == 0) ? 0u : 0xFF000000u | static_cast<uint32_t>(x * 2651 + y * 97));
    image->Texture()->LoadFromBitmap(bitmap, 32);
    image->SetPatternWidth(w);
    image->SetPatternHeight(h);
    image->Restore();
    return image;
}

// The game's sprite population on one engine. Sizes are set after the image, so a plugin without
// textures (the counting fake) still sees sprites of the real sizes.
struct Scene {
    explicit Scene(ad::TAdDraw* draw) : list(draw), engine(nullptr) {
        engine.SetSurface(draw);
        ad::TAdImage* block = Tile(list, "block", 24, 24, 1);
        ad::TAdImage* hvost = Tile(list, "Hvost", 24, 24, 4);
        ad::TAdImage* fon = Tile(list, "fon", 256, 192, 1);
        ad::TAdImage* menu = Tile(list, "menu", 96, 32, 2);
        const double ox = kScreenW / 2 - 384, oy = kScreenH / 2 - 384;
        for (int i = 0; i < 992; ++i) { // 674 in the maze on screen, the rest parked below it
            const bool onScreen = i < 674;
            const int c = i % 32, r = onScreen ? i / 32 : 40 + i / 32;
            blocks.push_back(Make(block, ox + 24 * c, oy + 24 * r, 24, 24, 7));
        }
        for (int i = 0; i < 301; ++i)
            tail.push_back(Make(hvost, ox + 24 * (1 + i % 30), oy + 24 * (1 + i / 30) + 12, 24, 24, 2));
        for (int i = 0; i < 6; ++i)
            Make(fon, 0, 0, kScreenW, kScreenH, -10 + i);
        for (int i = 0; i < 40; ++i)
            Make(menu, 20 + 24 * i, 8, 24, 32, 60);
        engine.Move(0);
    }

    BenchSprite* Make(ad::TAdImage* image, double x, double y, double w, double h, int z) {
        auto* s = new BenchSprite(&engine);
        s->SetImage(image);
        s->SetWidth(w);
        s->SetHeight(h);
        s->SetX(x);
        s->SetY(y);
        s->SetZ(z);
        s->AnimSpeed = 8;
        return s;
    }

    ad::TAdImageList list;
    ad::TSpriteEngine engine;
    std::vector<BenchSprite*> blocks;
    std::vector<BenchSprite*> tail;
};

void BM_GetSpriteAt(benchmark::State& state) {
    vimbo::test::HeadlessSurface s(kScreenW, kScreenH);
    Scene scene(s.draw.get());
    std::mt19937 random(7);
    std::uniform_real_distribution<double> px(0, kScreenW), py(0, kScreenH);
    std::vector<std::pair<double, double>> probes(1024);
    for (auto& p : probes)
        p = {px(random), py(random)};
    size_t n = 0;
    for (auto _ : state) {
        const auto& p = probes[n++ & 1023];
        benchmark::DoNotOptimize(scene.engine.GetSpriteAt(p.first, p.second));
    }
}
BENCHMARK(BM_GetSpriteAt);

// The enemy's tail head, pixel-tested against the blocks and segments around it (software plugin).
void BM_PixelCollisionAmongCandidates(benchmark::State& state) {
    vimbo::test::HeadlessSurface s(kScreenW, kScreenH);
    Scene scene(s.draw.get());
    ad::TAdSpritePixelCollisionTester tester(s.draw.get());
    BenchSprite* head = scene.tail[40];
    head->CollisionTester = &tester;
    head->SetX(head->X() + 6); // overlaps its neighbours and the blocks beside it
    scene.engine.Move(0);
    for (auto _ : state)
        head->Collision();
    state.counters["pairs"] = tester.PixelTester()->PoolSize();
}
BENCHMARK(BM_PixelCollisionAmongCandidates)->Unit(benchmark::kMicrosecond);

// A frame of the engine: move (animations, grid upkeep), draw in Z order with clipping, and the
// freeing pass with two sprites replaced per frame. The plugin is the given one.
void RunFrames(benchmark::State& state, ad::TAdDraw* draw) {
    Scene scene(draw);
    ad::TAdImage* popup = scene.list.Find("menu");
    std::vector<BenchSprite*> popups{scene.Make(popup, 100, 100, 24, 32, 50),
                                     scene.Make(popup, 200, 100, 24, 32, 50)};
    BenchSprite::draws = 0;
    for (auto _ : state) {
        scene.engine.Move(0.016);
        scene.engine.Draw();
        for (BenchSprite*& p : popups) {
            p->Dead();
            p = scene.Make(popup, p->X(), p->Y(), 24, 32, 50);
        }
        scene.engine.Dead();
    }
    state.counters["draws/frame"] =
        benchmark::Counter(static_cast<double>(BenchSprite::draws), benchmark::Counter::kAvgIterations);
}

// The engine's own work: a plugin that rasterises nothing (no textures, so every image draw stops
// at its first check).
void BM_FrameEngineOnly(benchmark::State& state) {
    ad::platform::HeadlessWindow window(kScreenW, kScreenH);
    ad::TAdDraw draw(&window, vimbo::test::MakeTempFolder("sprite-bench") + "adlog.txt");
    draw.SetDllName(VIMBO_COUNTING_PLUGIN);
    if (!draw.Initialize()) {
        state.SkipWithError(draw.LastError.c_str());
        return;
    }
    RunFrames(state, &draw);
}
BENCHMARK(BM_FrameEngineOnly)->Unit(benchmark::kMicrosecond);

// The same frame drawn by the software plugin, for comparison.
void BM_FrameSoftwarePlugin(benchmark::State& state) {
    vimbo::test::HeadlessSurface s(kScreenW, kScreenH);
    s.draw->BeginScene();
    RunFrames(state, s.draw.get());
    s.draw->EndScene();
}
BENCHMARK(BM_FrameSoftwarePlugin)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
