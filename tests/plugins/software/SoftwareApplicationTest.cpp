// Lifecycle, render targets, clearing, presenting and the library exports of the CPU renderer.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/plugins/software/SoftwareTestScene.hpp"
#include "tests/support/TestPaths.hpp"

namespace vimbo::test {
namespace {

constexpr ad::AdColor kWhite{255, 255, 255, 255};

TEST(SoftwareLifecycle, InitializeNeedsASupportedFrameworkWithAClientArea) {
    ad::software::SoftwareApplication app;
    std::vector<std::string> log;
    app.SetLogCallback(
        [](void* data, const char*, int type, const char* message) {
            if (type == ad::kAdLogError)
                static_cast<std::vector<std::string>*>(data)->push_back(message);
        },
        &log);
    EXPECT_FALSE(app.Initialize(nullptr));
    MemoryFramework unknown("gdi", 64, 48), empty("headless", 0, 48);
    EXPECT_FALSE(app.SupportsWindowFramework("gdi"));
    EXPECT_FALSE(app.Initialize(&unknown));
    EXPECT_FALSE(app.Initialize(&empty));
    EXPECT_EQ(log.size(), 3u);
    MemoryFramework sdl("sdl2", 20, 10);
    ASSERT_TRUE(app.Initialize(&sdl));
    EXPECT_EQ(app.ScreenBuffer().Width(), 20);
    EXPECT_EQ(app.ScreenBuffer().Height(), 10);
}

TEST(SoftwareLifecycle, RepeatedFinalizeAndInitialize) {
    ad::software::SoftwareApplication app;
    MemoryFramework small("headless", 8, 8), large("headless", 40, 30);
    app.Finalize(); // before any initialisation: harmless
    for (int round = 0; round < 3; ++round) {
        MemoryFramework& fw = round % 2 == 0 ? small : large;
        ASSERT_TRUE(app.Initialize(&fw));
        std::unique_ptr<ad::AdMesh> mesh(app.CreateMesh());
        const ad::AdVertex quad[4] = {Vertex(0, 0), Vertex(4, 0), Vertex(0, 4), Vertex(4, 4)};
        mesh->SetVertices(quad, 4);
        mesh->SetPrimitiveCount(2);
        mesh->Update();
        mesh->Draw(ad::kAdBlendAlpha, ad::kAdPrimitiveTriangleStrip);
        EXPECT_EQ(app.ScreenBuffer().Width(), fw.ClientWidth());
        EXPECT_EQ(app.ScreenBuffer().ColorAt(1, 1), 0xFFFFFFFFu);
        EXPECT_EQ(app.ScreenBuffer().ColorAt(5, 5), 0u) << "a fresh screen starts cleared";
        app.Finalize();
        app.Finalize();
        // Finalised: drawing and presenting do nothing.
        mesh->Draw(ad::kAdBlendAlpha, ad::kAdPrimitiveTriangleStrip);
        app.Flip();
        EXPECT_EQ(fw.presents, 0);
    }
}

using SoftwareSurface = SoftwareScene;

TEST_F(SoftwareSurface, FlipPresentsTheScreenAsBgraRows) {
    DrawQuad(0, 0, 1, 1, nullptr, ad::AdColor{10, 20, 30, 255});
    app.Flip();
    ASSERT_EQ(framework.presents, 1);
    ASSERT_EQ(framework.frameWidth, kWidth);
    ASSERT_EQ(framework.frameHeight, kHeight);
    ASSERT_EQ(framework.frame.size(), static_cast<size_t>(kWidth) * kHeight * 4);
    EXPECT_EQ(framework.frame[0], 30);
    EXPECT_EQ(framework.frame[1], 20);
    EXPECT_EQ(framework.frame[2], 10);
    EXPECT_EQ(framework.frame[3], 255);
    EXPECT_EQ(framework.frame[4], 0); // next pixel: the cleared black
}

TEST_F(SoftwareSurface, RenderTargetsAreIndependentOfTheScreen) {
    std::unique_ptr<ad::AdRenderTargetTexture> target(app.CreateRenderTarget());
    EXPECT_FALSE(target->Loaded());
    target->SetSize(8, 4);
    ASSERT_TRUE(target->Loaded());
    EXPECT_EQ(target->Width(), 8);
    app.SetRenderTarget(target.get());
    app.SetViewPort(ad::AdRect{0, 0, 8, 4});
    app.Setup2DScene(8, 4, 10.0, -100.0);
    app.ClearSurface(ad::AdRect{0, 0, 8, 4}, 7, ad::AdColor{0, 0, 255, 255}, 1.0f, 0);
    DrawQuad(0, 0, 4, 4, nullptr, ad::AdColor{255, 0, 0, 255});
    EXPECT_EQ(CountPixels(0xFF000000u), kWidth * kHeight) << "the screen was drawn on";

    std::vector<uint32_t> pixels(32);
    ASSERT_TRUE(target->ReadPixels(reinterpret_cast<uint8_t*>(pixels.data())));
    EXPECT_EQ(pixels[0], 0xFFFF0000u);
    EXPECT_EQ(pixels[4], 0xFF0000FFu);

    // Back on the screen, the target is a texture like any other.
    app.SetRenderTarget(nullptr);
    app.SetViewPort(ad::AdRect{0, 0, kWidth, kHeight});
    app.Setup2DScene(kWidth, kHeight, 10.0, -100.0);
    DrawQuad(0, 0, 8, 4, target.get(), kWhite);
    EXPECT_EQ(Pixel(3, 3), 0xFFFF0000u);
    EXPECT_EQ(Pixel(4, 0), 0xFF0000FFu);

    // Destroying the current target falls back to the screen.
    app.SetRenderTarget(target.get());
    target.reset();
    DrawQuad(0, 10, 2, 12, nullptr, kWhite);
    EXPECT_EQ(Pixel(1, 11), 0xFFFFFFFFu);
}

TEST_F(SoftwareSurface, ClearTouchesOnlyTheRectAndTheChosenLayers) {
    const auto& screen = app.ScreenBuffer();
    app.ClearSurface(ad::AdRect{-5, -5, 4, 3}, ad::kAdClearColor, ad::AdColor{1, 2, 3, 4}, 0.25f, 9);
    EXPECT_EQ(Pixel(3, 2), 0x04010203u);
    EXPECT_EQ(Pixel(4, 2), 0xFF000000u);
    EXPECT_EQ(Pixel(3, 3), 0xFF000000u);
    EXPECT_EQ(screen.StencilAt(0, 0), 0);
    EXPECT_EQ(screen.DepthAt(0, 0), 1.0f);
    app.ClearSurface(ad::AdRect{2, 2, 6, 6}, ad::kAdClearStencil, ad::AdColor{}, 0.25f, 9);
    EXPECT_EQ(screen.StencilAt(2, 2), 9);
    EXPECT_EQ(screen.StencilAt(1, 2), 0);
    EXPECT_EQ(Pixel(2, 2), 0x04010203u);
    EXPECT_EQ(screen.DepthAt(2, 2), 1.0f);
    app.ClearSurface(ad::AdRect{2, 2, 6, 6}, ad::kAdClearDepth, ad::AdColor{}, 0.25f, 0);
    EXPECT_EQ(screen.DepthAt(5, 5), 0.25f);
    EXPECT_EQ(screen.StencilAt(5, 5), 9);
    app.ClearSurface(ad::AdRect{10, 10, 5, 5}, 7, ad::AdColor{}, 0.0f, 0); // empty rect: nothing
    EXPECT_EQ(screen.StencilAt(5, 5), 9);
}

// Whole-surface clears of depth and stencil are remembered rather than written; later partial
// clears, stencil tests and stencil operations must see the remembered values.
TEST_F(SoftwareSurface, WholeClearsOfDepthAndStencilLastThroughPartialClearsAndStencilTests) {
    const auto& screen = app.ScreenBuffer();
    const ad::AdRect all{0, 0, kWidth, kHeight};
    app.ClearSurface(all, ad::kAdClearStencil | ad::kAdClearDepth, ad::AdColor{}, 0.5f, 7);
    app.ClearSurface(ad::AdRect{0, 0, 2, 2}, ad::kAdClearStencil | ad::kAdClearDepth, ad::AdColor{}, 0.75f,
                     3);
    EXPECT_EQ(screen.StencilAt(1, 1), 3);
    EXPECT_EQ(screen.StencilAt(2, 1), 7);
    EXPECT_EQ(screen.StencilAt(kWidth - 1, kHeight - 1), 7);
    EXPECT_EQ(screen.DepthAt(1, 1), 0.75f);
    EXPECT_EQ(screen.DepthAt(kWidth - 1, 0), 0.5f);

    // A stencil test right after a whole clear compares with the cleared value, and its operations
    // start from it.
    app.ClearSurface(all, 7, ad::AdColor{0, 0, 0, 255}, 1.0f, 5);
    app.SetOptions(ad::kAdOptionStencil);
    app.SetStencilOptions(5, 0xFF, ad::kAdStencilEqual);
    app.SetStencilEvent(ad::kAdStencilOnPass, ad::kAdStencilIncrement);
    DrawQuad(0, 0, 4, 1, nullptr, kWhite);
    EXPECT_EQ(Pixel(3, 0), 0xFFFFFFFFu);
    EXPECT_EQ(screen.StencilAt(3, 0), 6);
    EXPECT_EQ(screen.StencilAt(4, 0), 5);
    DrawQuad(0, 0, 8, 1, nullptr, ad::AdColor{255, 0, 0, 255}); // only where 5 is still stored
    EXPECT_EQ(Pixel(3, 0), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(5, 0), 0xFFFF0000u);
    app.ClearSurface(all, ad::kAdClearStencil, ad::AdColor{}, 1.0f, 0);
    EXPECT_EQ(screen.StencilAt(3, 0), 0);
}

TEST_F(SoftwareSurface, BitmapTextureLoadsReadsBackAndFlushes) {
    const std::vector<uint32_t> texels{0x11223344u, 0x55667788u, 0x99AABBCCu};
    auto texture = MakeTexture(3, 1, texels);
    ASSERT_TRUE(texture->Loaded());
    EXPECT_EQ(texture->BaseWidth(), 3);
    std::vector<uint32_t> back(3);
    ASSERT_TRUE(texture->ReadPixels(reinterpret_cast<uint8_t*>(back.data())));
    EXPECT_EQ(back, texels);
    texture->SetSettings(3);
    EXPECT_EQ(texture->Settings(), 3);
    texture->FlushTexture();
    EXPECT_FALSE(texture->Loaded());
    EXPECT_FALSE(texture->ReadPixels(reinterpret_cast<uint8_t*>(back.data())));
    // A mesh with an unloaded texture draws nothing rather than untextured junk.
    DrawQuad(0, 0, 4, 4, texture.get(), kWhite);
    EXPECT_EQ(CountPixels(0xFF000000u), kWidth * kHeight);
}

TEST_F(SoftwareSurface, SceneMatricesRoundTrip) {
    ad::AdMatrix view, projection, expectedView, expectedProjection;
    app.Setup2DScene(100, 50, 10.0, -100.0);
    ad::AdSetup2DScene(100, 50, 10.0, -100.0, expectedView, expectedProjection);
    app.GetScene(view, projection);
    EXPECT_EQ(std::memcmp(&projection, &expectedProjection, sizeof projection), 0);
    EXPECT_EQ(app.TexelOffset(), 0.0f);
    // A manual scene: double the scale of the 2D one.
    app.SetupManualScene(ad::AdMatrix::Scale(2, 2, 1), expectedProjection);
    app.Setup2DScene(kWidth, kHeight, 10.0, -100.0);
    app.GetScene(view, projection);
    app.SetupManualScene(ad::AdMatrix::Scale(2, 2, 1), projection);
    DrawQuad(0, 0, 2, 2, nullptr, kWhite);
    EXPECT_EQ(CountPixels(0xFFFFFFFFu), 16);
}

// The shared library as the engine's loader sees it.
class SoftwareModule : public ::testing::Test {
protected:
    void SetUp() override {
        handle = dlopen((ProgramFolder() + "SoftwareAdPlugin.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
    }
    void TearDown() override {
        if (handle != nullptr)
            dlclose(handle);
    }
    template <typename Fn> Fn Export(const char* name) { return reinterpret_cast<Fn>(dlsym(handle, name)); }
    void* handle = nullptr;
};

TEST_F(SoftwareModule, InformationRecordCarriesTitleAndVersion) {
    auto info = Export<ad::AdLibraryInformationFn>("AdLibraryInformation");
    ASSERT_NE(info, nullptr);
    std::vector<uint8_t> record(ad::kAdLibraryInfoSize, 0xEE);
    info(record.data());
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&record[1]), record[0]), "Software renderer");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&record[769]), record[768]), "VER 2.0.0.001");
}

TEST_F(SoftwareModule, PropertiesAreTheHiddenFullscreenPairAndTheSwitchOffTheDisplaysPace) {
    auto properties = Export<ad::AdApplicationPropertiesFn>("AdApplicationProperties");
    ASSERT_NE(properties, nullptr);
    // Name and type of each record.
    std::vector<std::string> records;
    properties(&records, [](void* data, const uint8_t* record) {
        static_cast<std::vector<std::string>*>(data)->push_back(
            std::string(reinterpret_cast<const char*>(record + 1), record[0]) + ":" +
            std::to_string(record[ad::kAdPropertyTypeOffset]));
    });
    EXPECT_EQ(records, (std::vector<std::string>{"fullscreen:3", "fullscreen_res:3", "NoVSync:1"}));
}

TEST_F(SoftwareModule, CreatesAnApplicationThatDrawsAndNoShaderSystem) {
    auto create = Export<ad::AdCreateApplicationFn>("CreateApplication");
    auto shaders = Export<ad::AdCreateShaderSystemFn>("CreateShaderSystem");
    ASSERT_NE(create, nullptr);
    ASSERT_NE(shaders, nullptr);
    EXPECT_EQ(shaders(), nullptr);
    std::unique_ptr<ad::AdApplication> app(create());
    ASSERT_NE(app, nullptr);
    MemoryFramework fw("headless", 4, 4);
    ASSERT_TRUE(app->Initialize(&fw));
    app->ClearSurface(ad::AdRect{0, 0, 4, 4}, 7, ad::AdColor{9, 8, 7, 255}, 1.0f, 0);
    app->Flip();
    ASSERT_EQ(fw.frame.size(), 64u);
    EXPECT_EQ(fw.frame[60], 7);
    app->Finalize();
}

} // namespace
} // namespace vimbo::test
