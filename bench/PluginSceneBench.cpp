// Frame times of game-like scenes through each renderer plugin, sprite by sprite as the engine draws
// them, at the game's default display size. Two scenes:
// - game: the play screen as the game lays it out, with the game's own pictures: the lower
//   background layer (three screen-sized sprites side by side, scrolling), 674 maze blocks from the
//   block sheet, the upper layer at alpha 200, a 300-segment tail, the actors, the heads-up display
//   and 300 glowing particles;
// - stacked: a worst case with six translucent screen-sized layers all on top of each other, 700
//   walls, 300 tail tiles and 300 particles.
// Each also runs with its background layers only. Reports median and 99th-percentile frame times
// and the draw calls per frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <time.h>

#include "engine/platform/Resources.hpp"
#include "engine/platform/Window.hpp"
#include "engine/render/AdBitmap.hpp"
#include "engine/render/AdPluginApi.hpp"
#include "engine/render/AdWindowFramework.hpp"
#include "plugins/common/PluginLibrary.hpp"
#include "plugins/opengl/OpenGLApplication.hpp"
#include "plugins/software/SoftwareApplication.hpp"
#include "tests/support/Vertices.hpp"

namespace {

constexpr int kWidth = 1024, kHeight = 768; // the game's default display resolution
constexpr int kLayerHeight = kHeight + 50;  // background sprites are W x (H + 50)
constexpr int kTile = 24, kParticles = 300, kTail = 300;
constexpr uint32_t kKeyWhite = 0xFFFFFF, kKeyBlack = 0x000000;

enum SceneKind { kGame = 0, kStacked = 1 };

ad::AdVertex V(float x, float y, float u, float v, ad::AdColor c = {255, 255, 255, 255}) {
    return vimbo::test::Vertex(x, y, c, u, v);
}

// The objects of a scene on one renderer; sprites are one small mesh each with a model matrix per draw.
class Scene {
public:
    Scene(ad::AdApplication& app, SceneKind kind) : app_(app), kind_(kind) {
        particles_.reset(app.CreateMesh());
        if (kind == kGame)
            LoadGame();
        else
            LoadStacked();
    }

    void Frame(int frame, bool layersOnly) {
        app_.ClearSurface({0, 0, kWidth, kHeight}, 7, {255, 255, 255, 255}, 1.0f, 0);
        app_.BeginScene();
        if (kind_ == kGame)
            GameFrame(frame, layersOnly);
        else
            StackedFrame(frame, layersOnly);
        app_.EndScene();
        app_.Flip();
    }

private:
    struct Sheet {
        std::unique_ptr<ad::AdBitmapTexture> texture;
        std::vector<std::unique_ptr<ad::AdMesh>> patterns; // one mesh per pattern, as the engine keeps them
    };

    void LoadGame() {
        // The backgrounds' patterns are screen-sized parts of larger pictures, stretched to H + 50.
        fon_ = Picture("fon", kKeyWhite, kWidth, kHeight, kWidth, kLayerHeight);
        fon2_ = Picture("fon2", kKeyBlack, kWidth, kHeight, kWidth, kLayerHeight);
        blocks_ = Picture("b3", kKeyWhite, kTile, kTile);
        tail_ = Picture("Hvost", kKeyBlack, kTile, kTile);
        player_ = Picture("player", kKeyBlack, kTile, kTile);
        enemy_ = Picture("Enemy", kKeyBlack, kTile, kTile);
        vit_ = Picture("vit1", kKeyBlack, kTile, kTile);
        digits_ = Picture("digital", kKeyBlack, 16, 16);
        label_ = Picture("Score", kKeyBlack, 90, 16);
        glow_ = Picture("particle1", kKeyBlack, 32, 32).texture;
    }

    void LoadStacked() {
        for (int i = 0; i < 6; ++i)
            noise_.push_back(Noise(kWidth, kLayerHeight, 10 + i, true));
        noiseQuad_ = Quad(kWidth, kLayerHeight, 0, 0, 1, 1);
        walls_.texture = Noise(kTile * 11, kTile, 100, false);
        for (int p = 0; p < 11; ++p)
            walls_.patterns.push_back(Quad(kTile, kTile, p / 11.0f, 0, (p + 1) / 11.0f, 1));
        tail_.texture = Noise(kTile, kTile, 103, false);
        tail_.patterns.push_back(Quad(kTile, kTile, 0, 0, 1, 1));
        glow_ = Noise(16, 16, 200, true);
    }

    // The play screen in the engine's Z order.
    void GameFrame(int frame, bool layersOnly) {
        const float scroll = static_cast<float>(frame % 600) * 50.0f / 60.0f;
        DrawLayer(*fon_.patterns[0], fon_.texture.get(), -10.0f - scroll, -20.0f, {165, 42, 42, 255});
        if (!layersOnly) {
            const float left = kWidth / 2.0f - 384.0f, top = kHeight / 2.0f - 384.0f;
            for (int i = 0, cell = 0; i < 674; ++cell) {
                const int c = cell % 32, r = cell / 32;
                if ((c * 7 + r * 3) % 4 == 0 && c != 0 && r != 0 && c != 31 && r != 30)
                    continue; // a corridor
                DrawSprite(*blocks_.patterns[static_cast<size_t>(cell % 11)], blocks_.texture.get(),
                           left + kTile * c, top + kTile * r);
                ++i;
            }
        }
        DrawLayer(*fon2_.patterns[0], fon2_.texture.get(), -10.0f - 2 * scroll, -15.0f, {60, 179, 113, 200});
        if (layersOnly)
            return;
        const float cx = kWidth / 2.0f, cy = kHeight / 2.0f;
        for (int i = 0; i < kTail; ++i)
            DrawSprite(*tail_.patterns[static_cast<size_t>(i % 4)], tail_.texture.get(),
                       cx - 300.0f + static_cast<float>((i * 5) % 600),
                       cy - 200.0f + static_cast<float>((i / 120) * 24));
        DrawSprite(*enemy_.patterns[0], enemy_.texture.get(), cx + 100, cy);
        DrawSprite(*player_.patterns[static_cast<size_t>(frame % 8)], player_.texture.get(), cx - 100, cy);
        DrawSprite(*vit_.patterns[0], vit_.texture.get(), cx, cy + 48);
        for (int i = 0; i < 4; ++i) {
            DrawSprite(*label_.patterns[0], label_.texture.get(), 10.0f + 250.0f * i, 4.0f);
            for (int d = 0; d < 4; ++d)
                DrawSprite(*digits_.patterns[static_cast<size_t>((frame / 7 + d) % 10)],
                           digits_.texture.get(), 104.0f + 250.0f * i + 16.0f * d, 4.0f);
        }
        DrawParticles(frame, 24.0f);
    }

    void StackedFrame(int frame, bool layersOnly) {
        for (size_t i = 0; i < noise_.size(); ++i) {
            noiseQuad_->SetTexture(noise_[i].get());
            noiseQuad_->SetMatrix(
                ad::AdMatrix::Translation(-static_cast<float>((frame * (i + 1)) % 40), -20, 0));
            noiseQuad_->Draw(ad::kAdBlendAlpha, ad::kAdPrimitiveTriangleStrip);
        }
        if (layersOnly)
            return;
        for (int i = 0; i < 700; ++i)
            DrawSprite(*walls_.patterns[static_cast<size_t>(i % 11)], walls_.texture.get(),
                       static_cast<float>(128 + (i % 32) * kTile), static_cast<float>((i / 32) * kTile));
        for (int i = 0; i < kTail; ++i)
            DrawSprite(*tail_.patterns[0], tail_.texture.get(),
                       400.0f + 300.0f * std::cos(i * 0.05f + frame * 0.01f),
                       380.0f + 300.0f * std::sin(i * 0.03f));
        DrawParticles(frame, 16.0f);
    }

    // Three sprites side by side, overlapping by 10 pixels; those off the screen are drawn too.
    void DrawLayer(ad::AdMesh& mesh, ad::AdTexture* texture, float x, float y, ad::AdColor color) {
        mesh.SetTexture(texture);
        SetColor(mesh, color);
        for (int i = 0; i < 3; ++i) {
            mesh.SetMatrix(ad::AdMatrix::Translation(x + static_cast<float>(i * (kWidth - 10)), y, 0));
            mesh.Draw(ad::kAdBlendAlpha, ad::kAdPrimitiveTriangleStrip);
        }
    }

    // The layer's tint, set every frame as the game's background sprites do.
    static void SetColor(ad::AdMesh& mesh, ad::AdColor color) {
        const ad::AdVertex quad[4] = {V(0, 0, 0, 0, color), V(kWidth, 0, 1, 0, color),
                                      V(0, kLayerHeight, 0, 1, color), V(kWidth, kLayerHeight, 1, 1, color)};
        mesh.SetVertices(quad, 4);
        mesh.Update();
    }

    // A picture of the game keyed as the game loads it, cut into patterns of w x h texels, each
    // drawn drawW x drawH (0: as large as the pattern).
    Sheet Picture(const char* name, uint32_t key, int w, int h, int drawW = 0, int drawH = 0) {
        ad::TAdBitmap bitmap;
        bitmap.LoadFromMemory(std::string(name) + ".bmp",
                              ad::platform::LoadResource(ad::platform::ResourceKind::Bitmap, name).bytes);
        ad::TAdTransparencyFilter{true, key}.Apply(bitmap);
        Sheet sheet;
        sheet.texture.reset(app_.CreateBitmapTexture());
        sheet.texture->LoadFromBitmap(bitmap.Data(), bitmap.Width(), bitmap.Height(), 32);
        const float pw = static_cast<float>(w) / static_cast<float>(bitmap.Width()),
                    ph = static_cast<float>(h) / static_cast<float>(bitmap.Height());
        for (int r = 0; r < bitmap.Height() / h; ++r)
            for (int c = 0; c < bitmap.Width() / w; ++c)
                sheet.patterns.push_back(Quad(static_cast<float>(drawW > 0 ? drawW : w),
                                              static_cast<float>(drawH > 0 ? drawH : h), c * pw, r * ph,
                                              (c + 1) * pw, (r + 1) * ph));
        return sheet;
    }

    std::unique_ptr<ad::AdBitmapTexture> Noise(int width, int height, uint32_t seed, bool translucent) {
        std::vector<uint32_t> texels(static_cast<size_t>(width) * height);
        uint32_t x = seed * 2654435761u + 1;
        for (uint32_t& t : texels) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            const uint32_t alpha = translucent ? (x >> 24) % 160 : 255;
            t = (alpha << 24) | (x & 0xFFFFFFu);
        }
        std::unique_ptr<ad::AdBitmapTexture> t(app_.CreateBitmapTexture());
        t->LoadFromBitmap(reinterpret_cast<const uint8_t*>(texels.data()), width, height, 32);
        return t;
    }

    // A w x h strip of two triangles showing the texture's part u0,v0..u1,v1.
    std::unique_ptr<ad::AdMesh> Quad(float w, float h, float u0, float v0, float u1, float v1) {
        std::unique_ptr<ad::AdMesh> mesh(app_.CreateMesh());
        const std::vector<ad::AdVertex> quad{V(0, 0, u0, v0), V(w, 0, u1, v0), V(0, h, u0, v1),
                                             V(w, h, u1, v1)};
        mesh->SetVertices(quad.data(), 4);
        mesh->SetPrimitiveCount(2);
        mesh->Update();
        return mesh;
    }

    static void DrawSprite(ad::AdMesh& mesh, ad::AdTexture* texture, float x, float y) {
        mesh.SetTexture(texture);
        mesh.SetMatrix(ad::AdMatrix::Translation(x, y, 0));
        mesh.Draw(ad::kAdBlendAlpha, ad::kAdPrimitiveTriangleStrip);
    }

    // One mesh for the whole system, as the particle engine draws it.
    void DrawParticles(int frame, float size) {
        vertices_.clear();
        indices_.clear();
        for (int i = 0; i < kParticles; ++i) {
            const float x = kWidth / 2.0f + 300.0f * std::cos(i * 0.7f + frame * 0.02f),
                        y = kHeight / 2.0f + 300.0f * std::sin(i * 1.3f);
            const auto base = static_cast<uint16_t>(vertices_.size());
            const ad::AdColor c{255, 200, 80, 180};
            vertices_.insert(vertices_.end(), {V(x, y, 0, 0, c), V(x + size, y, 1, 0, c),
                                               V(x, y + size, 0, 1, c), V(x + size, y + size, 1, 1, c)});
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
    SceneKind kind_;
    Sheet fon_, fon2_, blocks_, tail_, player_, enemy_, vit_, digits_, label_, walls_;
    std::vector<std::unique_ptr<ad::AdBitmapTexture>> noise_;
    std::unique_ptr<ad::AdMesh> noiseQuad_, particles_;
    std::unique_ptr<ad::AdBitmapTexture> glow_;
    std::vector<ad::AdVertex> vertices_;
    std::vector<uint16_t> indices_;
};

// CPU time of all the process's threads (a software rasteriser's workers included), in ms. On a
// shared virtual machine it shifts far less than wall time when other guests take the cores.
double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

double Median(std::vector<double>& v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <typename Frame> void TimeFrames(benchmark::State& state, Frame&& frame) {
    std::vector<double> ms, cpu;
    int n = 0;
    for (auto _ : state) {
        const double cpuStart = ProcessCpuMs();
        const auto start = std::chrono::steady_clock::now();
        frame(n++);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        ms.push_back(took.count() * 1000.0);
        cpu.push_back(ProcessCpuMs() - cpuStart);
    }
    if (ms.empty())
        return;
    state.counters["median_ms"] = Median(ms);
    state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    state.counters["fps_median"] = 1000.0 / Median(ms);
    state.counters["cpu_ms"] = Median(cpu);
}

// The bench times the frames' own work: they go out at once instead of waiting for the display.
void DrawWithoutWaiting(ad::AdApplication& app) {
    const uint8_t on = 1;
    const ad::AdPropertyValue noVSync{ad::plugin::kNoVSyncProperty, &on, 1};
    app.SetProperties(1, &noVSync);
}

void BM_SoftwareScene(benchmark::State& state) {
    const auto kind = static_cast<SceneKind>(state.range(0));
    const bool layersOnly = state.range(1) != 0;
    ad::platform::HeadlessWindow window(kWidth, kHeight);
    ad::TAdWindowFramework framework(window, ad::platform::SystemTicks());
    ad::software::SoftwareApplication app;
    DrawWithoutWaiting(app);
    if (!app.Initialize(&framework)) {
        state.SkipWithError("the software renderer did not initialise");
        return;
    }
    {
        Scene scene(app, kind);
        TimeFrames(state, [&](int frame) { scene.Frame(frame, layersOnly); });
    }
    app.Finalize();
}

void KeepInfo(void* data, const char*, int, const char* message) {
    *static_cast<std::string*>(data) = message;
}

void BM_OpenGLScene(benchmark::State& state) {
    const auto kind = static_cast<SceneKind>(state.range(0));
    const bool layersOnly = state.range(1) != 0;
    std::string error;
    auto window = ad::platform::CreateSdlWindow(kWidth, kHeight, "bench", error);
    if (!window) {
        state.SkipWithError(("no window: " + error).c_str());
        return;
    }
    ad::TAdWindowFramework framework(*window, ad::platform::SystemTicks());
    ad::opengl::OpenGLApplication app;
    DrawWithoutWaiting(app);
    std::string info;
    app.SetLogCallback(&KeepInfo, &info);
    const bool ok = app.Initialize(&framework);
    if (state.range(0) == 0 && state.range(1) == 0)
        state.SetLabel(info); // which OpenGL implementation drew the frames
    if (!ok) {
        state.SkipWithError("no OpenGL 3.3 context");
        return;
    }
    {
        Scene scene(app, kind);
        TimeFrames(state, [&](int frame) { scene.Frame(frame, layersOnly); });
        state.counters["draw_calls"] = app.DrawCallsLastFrame();
    }
    app.Finalize();
}

} // namespace

// Arguments: scene (0 game, 1 stacked), layers only (0 or 1).
BENCHMARK(BM_SoftwareScene)
    ->ArgNames({"stacked", "layers_only"})
    ->ArgsProduct({{kGame, kStacked}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);
BENCHMARK(BM_OpenGLScene)
    ->ArgNames({"stacked", "layers_only"})
    ->ArgsProduct({{kGame, kStacked}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);

BENCHMARK_MAIN();
