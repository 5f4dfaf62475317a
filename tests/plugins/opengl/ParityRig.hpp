// Draws the same scene through the CPU renderer and the OpenGL renderer into render targets and
// compares the pictures; the OpenGL side lives on a hidden SDL window of the virtual display.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/platform/TickSource.hpp"
#include "engine/platform/Window.hpp"
#include "engine/render/AdPluginApi.hpp"
#include "engine/render/AdWindowFramework.hpp"
#include "plugins/opengl/OpenGLApplication.hpp"
#include "plugins/software/SoftwareApplication.hpp"
#include "tests/support/Vertices.hpp"

namespace vimbo::test {


// One renderer with a render target as the drawing surface and the objects a scene made.
class ParitySide {
public:
    ParitySide(ad::AdApplication& app, int width, int height);

    ad::AdApplication& App() { return app_; }
    // A texture from 0xAARRGGBB texels, row by row, owned by this side.
    ad::AdTexture* Texture(int width, int height, const std::vector<uint32_t>& texels);
    // A render target of its own (for drawing a target as a texture), owned by this side.
    ad::AdRenderTargetTexture* Target(int width, int height);
    ad::AdOcclusionQuery* Query();
    // Draws the vertices with a fresh mesh (kept until the side is destroyed).
    void Draw(const std::vector<ad::AdVertex>& vertices, int primitiveType, int primitiveCount,
              ad::AdTexture* texture = nullptr, int blendMode = ad::kAdBlendAlpha,
              const std::vector<uint16_t>& indices = {},
              const ad::AdMatrix& model = ad::AdMatrix::Identity());
    // A quad as a triangle strip with uv 0..1.
    void Quad(float left, float top, float right, float bottom, ad::AdTexture* texture, ad::AdColor color,
              int blendMode = ad::kAdBlendAlpha, const ad::AdMatrix& model = ad::AdMatrix::Identity());
    // Makes `target` (nullptr: the side's own target) current with a 2D scene of its size.
    void Select(ad::AdRenderTargetTexture* target, int width, int height);
    void Fill(ad::AdColor color);
    // The main target's pixels as 0xAARRGGBB, rows top to bottom.
    std::vector<uint32_t> Pixels();

private:
    ad::AdApplication& app_;
    int width_, height_;
    std::unique_ptr<ad::AdRenderTargetTexture> target_;
    std::vector<std::unique_ptr<ad::AdTexture>> textures_;
    std::vector<std::unique_ptr<ad::AdMesh>> meshes_;
    std::vector<std::unique_ptr<ad::AdOcclusionQuery>> queries_;
};

struct Difference {
    int maxChannel = 0; // largest difference of one channel over all pixels
    int pixels = 0;     // pixels that differ at all
    std::string where;  // the pixel differing most, for the failure message
};
Difference Compare(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int width);

// The fixture: a software renderer in memory and an OpenGL renderer on a hidden window. Tests skip
// (with the reason) when no window or no OpenGL 3.3 context can be made.
class ParityTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 64;
    static constexpr int kHeight = 48;

    void SetUp() override;
    void TearDown() override;

    // Runs the scene on both renderers (each on a fresh black target) and compares the results.
    Difference Run(const std::function<void(ParitySide&)>& scene);

    std::unique_ptr<ad::platform::Window> window_;
    std::unique_ptr<ad::platform::HeadlessWindow> headless_;
    // Any frame pacing runs on a clock that moves only by its own waits.
    ad::platform::ManualTicks ticks_;
    std::unique_ptr<ad::TAdWindowFramework> glFramework_, softFramework_;
    ad::software::SoftwareApplication soft_;
    ad::opengl::OpenGLApplication gl_;
    std::string glLog_;
    std::vector<uint32_t> softPixels_, glPixels_;
};

// A ring-shaped sprite texture: opaque colour inside a circle of radius r, transparent outside.
std::vector<uint32_t> DiscTexels(int size, float radius, uint32_t color);

} // namespace vimbo::test
