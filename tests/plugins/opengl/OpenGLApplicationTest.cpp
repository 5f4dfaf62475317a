// Lifecycle, batching and the library exports of the OpenGL renderer.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/render/AdDraws.hpp"
#include "engine/render/AdMessages.hpp"
#include "plugins/opengl/OpenGLApplication.hpp"
#include "tests/plugins/opengl/ParityRig.hpp"
#include "tests/support/DisplayTests.hpp"
#include "tests/support/TestPaths.hpp"

namespace vimbo::test {
namespace {

std::string OpenGLPluginPath() {
    return ProgramFolder() + "OpenGLAdPlugin.so";
}

// An "sdl2" framework without a window behind it.
class WindowlessFramework : public ad::AdWindowFramework {
public:
    const char* Identifier() const override { return ad::kAdFrameworkSdl; }
    int ClientWidth() const override { return 64; }
    int ClientHeight() const override { return 48; }
    void* NativeWindow() const override { return nullptr; }
    void PresentPixels(const uint8_t*, int, int) override {}
};

void KeepLog(void* data, const char*, int type, const char* message) {
    if (type >= ad::kAdLogError)
        *static_cast<std::string*>(data) += message;
}

TEST(OpenGLLifecycle, RefusesWhatItCannotDrawOnAndSaysWhy) {
    ad::opengl::OpenGLApplication app;
    std::string errors;
    app.SetLogCallback(&KeepLog, &errors);
    EXPECT_FALSE(app.SupportsWindowFramework(ad::kAdFrameworkHeadless));
    WindowlessFramework framework;
    EXPECT_FALSE(app.Initialize(&framework));
    EXPECT_NE(errors.find("native window"), std::string::npos) << errors;
    // Without a context, objects can be made and used but draw and hold nothing.
    std::unique_ptr<ad::AdBitmapTexture> texture(app.CreateBitmapTexture());
    const uint32_t texel = 0xFFFFFFFFu;
    texture->LoadFromBitmap(reinterpret_cast<const uint8_t*>(&texel), 1, 1, 32);
    EXPECT_FALSE(texture->Loaded());
    std::unique_ptr<ad::AdOcclusionQuery> query(app.CreateOcclusionQuery());
    query->StartQuery();
    query->StopQuery();
    EXPECT_EQ(query->PixelCount(), 0u);
}

TEST(OpenGLLifecycle, EngineReportsMessage65308ForAHeadlessWindow) {
    ad::platform::HeadlessWindow window(64, 48);
    const std::string folder = MakeTempFolder("gl-headless");
    ad::TAdDraw draw(&window, folder + "adlog.txt");
    draw.SetDllName(OpenGLPluginPath());
    ASSERT_TRUE(draw.DllLoader.LibraryLoaded());
    EXPECT_EQ(draw.DllLoader.Information().Title, "OpenGL renderer");
    EXPECT_FALSE(draw.Initialize());
    EXPECT_EQ(draw.LastError, ad::MessageText(ad::kMsgNoWindowFramework));
}

class OpenGLOnWindow : public ParityTest {};

TEST_F(OpenGLOnWindow, FinalizeAndInitializeAgainDrawTheSamePicture) {
    auto scene = [](ParitySide& side) {
        std::vector<uint32_t> texels = DiscTexels(8, 3.5f, 0xC080FF20u);
        ad::AdTexture* texture = side.Texture(8, 8, texels);
        side.Quad(5, 5, 37, 37, texture, {255, 255, 255, 255});
    };
    std::vector<uint32_t> first, second;
    {
        ParitySide side(gl_, kWidth, kHeight);
        scene(side);
        first = side.Pixels();
    }
    // A texture still held across the finalisation must neither crash nor claim to be loaded.
    std::unique_ptr<ad::AdBitmapTexture> survivor(gl_.CreateBitmapTexture());
    const uint32_t texel = 0xFFFFFFFFu;
    survivor->LoadFromBitmap(reinterpret_cast<const uint8_t*>(&texel), 1, 1, 32);
    ASSERT_TRUE(survivor->Loaded());
    gl_.Finalize();
    EXPECT_FALSE(survivor->Loaded());
    ASSERT_TRUE(gl_.Initialize(glFramework_.get())) << glLog_;
    survivor.reset();
    {
        ParitySide side(gl_, kWidth, kHeight);
        scene(side);
        second = side.Pixels();
    }
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(Compare(first, second, kWidth).pixels, 0);
    EXPECT_NE(first[20 * kWidth + 20], 0xFF000000u) << "the scene drew nothing";
}

TEST_F(OpenGLOnWindow, SpritesSharingTextureAndStateBecomeOneDrawCall) {
    ParitySide side(gl_, kWidth, kHeight);
    ad::AdTexture* a = side.Texture(4, 4, DiscTexels(4, 2, 0xFFFFFFFFu));
    ad::AdTexture* b = side.Texture(4, 4, DiscTexels(4, 1, 0xFFFF0000u));
    gl_.Flip();
    for (int i = 0; i < 40; ++i)
        side.Quad(i, 0, i + 4.0f, 4, a, {255, 255, 255, 255});
    gl_.Flip();
    EXPECT_EQ(gl_.DrawCallsLastFrame(), 1);

    for (int i = 0; i < 40; ++i)
        side.Quad(i, 0, i + 4.0f, 4, i % 2 ? a : b, {255, 255, 255, 255});
    gl_.Flip();
    EXPECT_EQ(gl_.DrawCallsLastFrame(), 40);

    // A query must count exactly the draws between its start and stop, so it splits the batch.
    ad::AdOcclusionQuery* query = side.Query();
    side.Quad(0, 0, 4, 4, a, {255, 255, 255, 255});
    query->StartQuery();
    side.Quad(10, 0, 20, 10, nullptr, {255, 255, 255, 255});
    side.Quad(30, 0, 40, 10, nullptr, {255, 255, 255, 255}, ad::kAdBlendAdd);
    query->StopQuery();
    side.Quad(0, 20, 4, 24, a, {255, 255, 255, 255});
    EXPECT_EQ(query->PixelCount(), 200u);
    gl_.Flip();
    EXPECT_EQ(gl_.DrawCallsLastFrame(), 4);
}

TEST_F(OpenGLOnWindow, EngineDrivesThePluginLibraryOnAnSdlWindow) {
    gl_.Finalize(); // one context per window at a time
    const std::string folder = MakeTempFolder("gl-engine");
    ad::TAdDraw draw(window_.get(), folder + "adlog.txt");
    draw.SetDllName(OpenGLPluginPath());
    ASSERT_TRUE(draw.Initialize()) << draw.LastError;
    ad::TAdTextureSurface surface(&draw);
    surface.SetSize(16, 16);
    surface.ClearSurfaceRGBA({10, 20, 30, 255});
    draw.ClearSurfaceRGBA({0, 0, 0, 255});
    draw.BeginScene();
    draw.EndScene();
    draw.Flip();
    std::vector<uint32_t> pixels(16 * 16);
    ASSERT_TRUE(surface.Texture()->ReadPixels(reinterpret_cast<uint8_t*>(pixels.data())));
    EXPECT_EQ(pixels[0], 0xFF0A141Eu);
    draw.Finalize();
    EXPECT_FALSE(draw.Initialized());
    KeepLoadedLibrariesResident(); // the plugin library is unloaded with `draw`
}

} // namespace
} // namespace vimbo::test
