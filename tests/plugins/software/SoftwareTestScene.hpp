// Test scaffolding for the CPU renderer: a window framework in memory, an initialised renderer,
// quick texture and quad helpers, and pictures of the drawn pixels.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/render/AdPluginApi.hpp"
#include "plugins/software/SoftwareApplication.hpp"
#include "tests/support/Vertices.hpp"

namespace vimbo::test {

// Keeps the last presented frame.
class MemoryFramework : public ad::AdWindowFramework {
public:
    MemoryFramework(const char* identifier, int width, int height)
        : identifier_(identifier), width_(width), height_(height) {}
    const char* Identifier() const override { return identifier_; }
    int ClientWidth() const override { return width_; }
    int ClientHeight() const override { return height_; }
    void* NativeWindow() const override { return nullptr; }
    void PresentPixels(const uint8_t* bgra, int width, int height) override {
        frame.assign(bgra, bgra + static_cast<size_t>(width) * height * 4);
        frameWidth = width;
        frameHeight = height;
        ++presents;
    }

    std::vector<uint8_t> frame;
    int frameWidth = 0, frameHeight = 0, presents = 0;

private:
    const char* identifier_;
    int width_, height_;
};

// Writes a 32-bit top-down BMP of B G R A pixels; for looking at a failing test's output.
bool SaveBmp(const std::string& path, const uint32_t* pixels, int width, int height);

class SoftwareScene : public ::testing::Test {
protected:
    static constexpr int kWidth = 64;
    static constexpr int kHeight = 48;

    void SetUp() override;

    // A texture from 0xAARRGGBB texels, row by row.
    std::unique_ptr<ad::AdBitmapTexture> MakeTexture(int width, int height,
                                                     const std::vector<uint32_t>& texels);
    // A quad from (left, top) to (right, bottom) as a triangle strip, uv 0..1 unless given.
    void DrawQuad(float left, float top, float right, float bottom, ad::AdTexture* texture, ad::AdColor color,
                  int blendMode = ad::kAdBlendAlpha, float u0 = 0, float v0 = 0, float u1 = 1, float v1 = 1);
    void DrawVertices(const std::vector<ad::AdVertex>& vertices, int primitiveType, int primitiveCount,
                      ad::AdTexture* texture = nullptr, const std::vector<uint16_t>& indices = {},
                      int blendMode = ad::kAdBlendAlpha);
    void Fill(uint32_t color); // clears the whole current target's colour

    uint32_t Pixel(int x, int y) const { return app.ScreenBuffer().ColorAt(x, y); }
    // Rows of the rectangle: '*' where the pixel equals `ink`, '.' elsewhere, rows joined with '\n'.
    std::string Picture(int left, int top, int right, int bottom, uint32_t ink) const;
    int CountPixels(uint32_t color) const;

    MemoryFramework framework{"headless", kWidth, kHeight};
    ad::software::SoftwareApplication app;
    std::unique_ptr<ad::AdMesh> mesh;
};


} // namespace vimbo::test
