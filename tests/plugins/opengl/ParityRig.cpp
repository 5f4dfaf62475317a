// The two-renderer scaffolding of the parity tests.
#include "tests/plugins/opengl/ParityRig.hpp"

#include "tests/support/DisplayTests.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vimbo::test {

ParitySide::ParitySide(ad::AdApplication& app, int width, int height)
    : app_(app), width_(width), height_(height), target_(app.CreateRenderTarget()) {
    target_->SetSize(width, height);
    Select(nullptr, width, height);
    Fill({0, 0, 0, 255});
}

ad::AdTexture* ParitySide::Texture(int width, int height, const std::vector<uint32_t>& texels) {
    std::unique_ptr<ad::AdBitmapTexture> texture(app_.CreateBitmapTexture());
    texture->LoadFromBitmap(reinterpret_cast<const uint8_t*>(texels.data()), width, height, 32);
    textures_.emplace_back(std::move(texture));
    return textures_.back().get();
}

ad::AdRenderTargetTexture* ParitySide::Target(int width, int height) {
    std::unique_ptr<ad::AdRenderTargetTexture> target(app_.CreateRenderTarget());
    target->SetSize(width, height);
    ad::AdRenderTargetTexture* raw = target.get();
    textures_.emplace_back(std::move(target));
    return raw;
}

ad::AdOcclusionQuery* ParitySide::Query() {
    queries_.emplace_back(app_.CreateOcclusionQuery());
    return queries_.back().get();
}

void ParitySide::Draw(const std::vector<ad::AdVertex>& vertices, int primitiveType, int primitiveCount,
                      ad::AdTexture* texture, int blendMode, const std::vector<uint16_t>& indices,
                      const ad::AdMatrix& model) {
    meshes_.emplace_back(app_.CreateMesh());
    ad::AdMesh& mesh = *meshes_.back();
    mesh.SetVertices(vertices.data(), static_cast<int>(vertices.size()));
    mesh.SetIndices(indices.empty() ? nullptr : indices.data(), static_cast<int>(indices.size()));
    mesh.SetTexture(texture);
    mesh.SetMatrix(model);
    mesh.SetPrimitiveCount(primitiveCount);
    mesh.Update();
    mesh.Draw(blendMode, primitiveType);
}

void ParitySide::Quad(float left, float top, float right, float bottom, ad::AdTexture* texture,
                      ad::AdColor color, int blendMode, const ad::AdMatrix& model) {
    Draw({Vertex(left, top, color, 0, 0), Vertex(right, top, color, 1, 0), Vertex(left, bottom, color, 0, 1),
          Vertex(right, bottom, color, 1, 1)},
         ad::kAdPrimitiveTriangleStrip, 2, texture, blendMode, {}, model);
}

void ParitySide::Select(ad::AdRenderTargetTexture* target, int width, int height) {
    app_.SetRenderTarget(target != nullptr ? target : target_.get());
    app_.SetViewPort({0, 0, width, height});
    app_.Setup2DScene(width, height, 10.0, -100.0);
}

void ParitySide::Fill(ad::AdColor color) {
    app_.ClearSurface({0, 0, width_, height_}, ad::kAdClearColor | ad::kAdClearDepth | ad::kAdClearStencil,
                      color, 1.0f, 0);
}

std::vector<uint32_t> ParitySide::Pixels() {
    std::vector<uint32_t> pixels(static_cast<size_t>(width_) * height_);
    if (!target_->ReadPixels(reinterpret_cast<uint8_t*>(pixels.data())))
        pixels.clear();
    return pixels;
}

Difference Compare(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int width) {
    Difference d;
    if (a.size() != b.size()) {
        d.maxChannel = 255;
        d.where = "sizes differ";
        return d;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i])
            continue;
        int worst = 0;
        for (int shift = 0; shift < 32; shift += 8)
            worst = std::max(worst, std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                                             static_cast<int>((b[i] >> shift) & 0xFF)));
        ++d.pixels;
        if (worst > d.maxChannel) {
            d.maxChannel = worst;
            char text[96];
            std::snprintf(text, sizeof text, "(%d, %d): software %08X, OpenGL %08X",
                          static_cast<int>(i % width), static_cast<int>(i / width), a[i], b[i]);
            d.where = text;
        }
    }
    return d;
}

namespace {
void CollectLog(void* data, const char* /*sender*/, int /*type*/, const char* message) {
    *static_cast<std::string*>(data) += std::string(message) + "\n";
}
} // namespace

void ParityTest::SetUp() {
    std::string error;
    window_ = ad::platform::CreateSdlWindow(kWidth, kHeight, "parity", error);
    if (!window_)
        GTEST_SKIP() << "no window on a display: " << error;
    glFramework_ = std::make_unique<ad::TAdWindowFramework>(*window_, ticks_);
    gl_.SetLogCallback(&CollectLog, &glLog_);
    if (!gl_.Initialize(glFramework_.get()))
        GTEST_SKIP() << "no OpenGL 3.3 context: " << glLog_;
    headless_ = std::make_unique<ad::platform::HeadlessWindow>(kWidth, kHeight);
    softFramework_ = std::make_unique<ad::TAdWindowFramework>(*headless_, ticks_);
    ASSERT_TRUE(soft_.Initialize(softFramework_.get()));
}

void ParityTest::TearDown() {
    vimbo::test::KeepLoadedLibrariesResident();
    gl_.Finalize();
    soft_.Finalize();
}

Difference ParityTest::Run(const std::function<void(ParitySide&)>& scene) {
    {
        ParitySide side(soft_, kWidth, kHeight);
        scene(side);
        softPixels_ = side.Pixels();
    }
    {
        ParitySide side(gl_, kWidth, kHeight);
        scene(side);
        glPixels_ = side.Pixels();
    }
    EXPECT_EQ(softPixels_.size(), static_cast<size_t>(kWidth) * kHeight);
    return Compare(softPixels_, glPixels_, kWidth);
}

std::vector<uint32_t> DiscTexels(int size, float radius, uint32_t color) {
    std::vector<uint32_t> texels(static_cast<size_t>(size) * size, 0u);
    const float c = size * 0.5f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (std::hypot(x + 0.5f - c, y + 0.5f - c) <= radius)
                texels[static_cast<size_t>(y) * size + x] = color;
    return texels;
}

} // namespace vimbo::test
