// Frame time of a game-like scene through each renderer plugin: six translucent background layers,
// about 700 wall tiles, 300 tail tiles and a few hundred glowing particles, sprite by sprite as the
// engine draws them. Reports median and 99th-percentile frame times and draw calls per frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/platform/Window.hpp"
#include "engine/render/AdPluginApi.hpp"
#include "engine/render/AdWindowFramework.hpp"
#include "plugins/opengl/OpenGLApplication.hpp"
#include "plugins/software/SoftwareApplication.hpp"
#include "tests/support/Vertices.hpp"

namespace {

constexpr int kWidth = 772, kHeight = 699; // the game's client area
constexpr int kLayers = 6, kLayerWidth = 1024, kLayerHeight = 818;
constexpr int kWalls = 700, kTail = 300, kParticles = 300, kTile = 24, kTilePatterns = 11;

std::vector<uint32_t> Texels(int width, int height, uint32_t seed, bool translucent) {
    std::vector<uint32_t> texels(static_cast<size_t>(width) * height);
    uint32_t x = seed * 2654435761u + 1;
    for (uint32_t& t : texels) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        const uint32_t alpha = translucent ? (x >> 24) % 160 : 255;
        t = (alpha << 24) | (x & 0xFFFFFFu);
    }
    return texels;
}

ad::AdVertex V(float x, float y, float u, float v, ad::AdColor c = {255, 255, 255, 255}) {
    return vimbo::test::Vertex(x, y, c, u, v);
}

// The scene's objects on one renderer; sprites are one small mesh each with a model matrix per draw.
class Scene {
public:
    explicit Scene(ad::AdApplication& app) : app_(app) {
        for (int i = 0; i < kLayers; ++i)
            layers_.push_back(Texture(kLayerWidth, kLayerHeight, 10 + i, true));
        // Like the game's tile sheet: every wall is a pattern of one texture, each pattern its own mesh.
        tileSheet_ = Texture(kTile * kTilePatterns, kTile, 100, false);
        for (int p = 0; p < kTilePatterns; ++p)
            tileMeshes_.push_back(Quad(kTile, kTile, static_cast<float>(p) / kTilePatterns,
                                       static_cast<float>(p + 1) / kTilePatterns));
        tail_ = Texture(kTile, kTile, 103, false);
        glow_ = Texture(16, 16, 200, true);
        sprite_ = Quad(kTile, kTile);
        layer_ = Quad(kLayerWidth, kLayerHeight);
        particles_.reset(app.CreateMesh());
    }

    void Frame(int frame, bool layersOnly) {
        app_.ClearSurface({0, 0, kWidth, kHeight}, 7, {0, 0, 0, 255}, 1.0f, 0);
        app_.BeginScene();
        for (int i = 0; i < kLayers; ++i) {
            layer_->SetTexture(layers_[i].get());
            layer_->SetMatrix(
                ad::AdMatrix::Translation(-static_cast<float>((frame * (i + 1)) % 200), -60, 0));
            layer_->Draw(ad::kAdBlendAlpha, ad::kAdPrimitiveTriangleStrip);
        }
        if (!layersOnly) {
            for (int i = 0; i < kWalls; ++i)
                DrawSprite(*tileMeshes_[static_cast<size_t>(i % kTilePatterns)], tileSheet_.get(),
                           static_cast<float>((i % 32) * kTile), static_cast<float>((i / 32) * kTile));
            for (int i = 0; i < kTail; ++i)
                DrawSprite(*sprite_, tail_.get(), 100.0f + 200.0f * std::cos(i * 0.05f + frame * 0.01f),
                           300.0f + 200.0f * std::sin(i * 0.03f));
            DrawParticles(frame);
        }
        app_.EndScene();
        app_.Flip();
    }

private:
    // A w x h strip of two triangles showing the texture's columns u0..u1.
    std::unique_ptr<ad::AdMesh> Quad(float w, float h, float u0 = 0, float u1 = 1) {
        std::unique_ptr<ad::AdMesh> mesh(app_.CreateMesh());
        const std::vector<ad::AdVertex> quad{V(0, 0, u0, 0), V(w, 0, u1, 0), V(0, h, u0, 1), V(w, h, u1, 1)};
        mesh->SetVertices(quad.data(), 4);
        mesh->SetPrimitiveCount(2);
        mesh->Update();
        return mesh;
    }

    std::unique_ptr<ad::AdBitmapTexture> Texture(int w, int h, uint32_t seed, bool translucent) {
        std::unique_ptr<ad::AdBitmapTexture> t(app_.CreateBitmapTexture());
        const std::vector<uint32_t> texels = Texels(w, h, seed, translucent);
        t->LoadFromBitmap(reinterpret_cast<const uint8_t*>(texels.data()), w, h, 32);
        return t;
    }

    static void DrawSprite(ad::AdMesh& mesh, ad::AdTexture* texture, float x, float y) {
        mesh.SetTexture(texture);
        mesh.SetMatrix(ad::AdMatrix::Translation(x, y, 0));
        mesh.Draw(ad::kAdBlendAlpha, ad::kAdPrimitiveTriangleStrip);
    }

    // One mesh for the whole system, as the particle engine draws it.
    void DrawParticles(int frame) {
        vertices_.clear();
        indices_.clear();
        for (int i = 0; i < kParticles; ++i) {
            const float x = 380.0f + 250.0f * std::cos(i * 0.7f + frame * 0.02f),
                        y = 350.0f + 250.0f * std::sin(i * 1.3f);
            const auto base = static_cast<uint16_t>(vertices_.size());
            const ad::AdColor c{255, 200, 80, 180};
            vertices_.insert(vertices_.end(), {V(x, y, 0, 0, c), V(x + 16, y, 1, 0, c), V(x, y + 16, 0, 1, c),
                                               V(x + 16, y + 16, 1, 1, c)});
            indices_.insert(indices_.end(),
                            {base, static_cast<uint16_t>(base + 1), static_cast<uint16_t>(base + 2),
                             static_cast<uint16_t>(base + 1), static_cast<uint16_t>(base + 3),
                             static_cast<uint16_t>(base + 2)});
        }
        particles_->SetVertices(vertices_.data(), static_cast<int>(vertices_.size()));
        particles_->SetIndices(indices_.data(), static_cast<int>(indices_.size()));
        particles_->SetTexture(glow_.get());
        particles_->SetPrimitiveCount(2 * kParticles);
        particles_->Update();
        particles_->Draw(ad::kAdBlendAdd, ad::kAdPrimitiveTriangles);
    }

    ad::AdApplication& app_;
    std::vector<std::unique_ptr<ad::AdBitmapTexture>> layers_;
    std::unique_ptr<ad::AdBitmapTexture> tileSheet_, tail_, glow_;
    std::vector<std::unique_ptr<ad::AdMesh>> tileMeshes_;
    std::unique_ptr<ad::AdMesh> sprite_, layer_, particles_;
    std::vector<ad::AdVertex> vertices_;
    std::vector<uint16_t> indices_;
};

void Report(benchmark::State& state, std::vector<double>& ms) {
    if (ms.empty())
        return;
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    state.counters["fps_median"] = 1000.0 / ms[ms.size() / 2];
}

template <typename Frame> void TimeFrames(benchmark::State& state, Frame&& frame) {
    std::vector<double> ms;
    int n = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        frame(n++);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        ms.push_back(took.count() * 1000.0);
    }
    Report(state, ms);
}

void BM_SoftwareScene(benchmark::State& state) {
    const bool layersOnly = state.range(0) != 0;
    ad::platform::HeadlessWindow window(kWidth, kHeight);
    ad::TAdWindowFramework framework(window);
    ad::software::SoftwareApplication app;
    if (!app.Initialize(&framework)) {
        state.SkipWithError("the software renderer did not initialise");
        return;
    }
    {
        Scene scene(app);
        TimeFrames(state, [&](int frame) { scene.Frame(frame, layersOnly); });
        // Every mesh draw is a draw call here: the CPU renderer does not batch.
        state.counters["draw_calls"] = layersOnly ? kLayers : kLayers + kWalls + kTail + 1;
    }
    app.Finalize();
}

void KeepInfo(void* data, const char*, int, const char* message) {
    *static_cast<std::string*>(data) = message;
}

void BM_OpenGLScene(benchmark::State& state) {
    const bool layersOnly = state.range(0) != 0;
    std::string error;
    auto window = ad::platform::CreateSdlWindow(kWidth, kHeight, "bench", error);
    if (!window) {
        state.SkipWithError(("no window: " + error).c_str());
        return;
    }
    ad::TAdWindowFramework framework(*window);
    ad::opengl::OpenGLApplication app;
    std::string info;
    app.SetLogCallback(&KeepInfo, &info);
    const bool ok = app.Initialize(&framework);
    if (state.range(0) == 0)
        state.SetLabel(info); // which OpenGL implementation drew the frames
    if (!ok) {
        state.SkipWithError("no OpenGL 3.3 context");
        return;
    }
    {
        Scene scene(app);
        TimeFrames(state, [&](int frame) { scene.Frame(frame, layersOnly); });
        state.counters["draw_calls"] = app.DrawCallsLastFrame();
    }
    app.Finalize();
}

} // namespace

BENCHMARK(BM_SoftwareScene)
    ->ArgName("layers_only")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);
BENCHMARK(BM_OpenGLScene)
    ->ArgName("layers_only")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);

BENCHMARK_MAIN();
