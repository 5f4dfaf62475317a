// Textures of the OpenGL renderer: bitmap textures uploaded from memory and render targets drawn
// through framebuffer objects; both are stored top row first and sampled texel by texel.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/render/AdPluginApi.hpp"
#include "plugins/opengl/GlSurface.hpp"
#include "plugins/opengl/OpenGLDevice.hpp"

namespace ad::opengl {

// What a mesh samples; every texture of this renderer is one.
class OpenGLTexelSource {
public:
    virtual ~OpenGLTexelSource() = default;
    // The texture as a draw binds it; name 0 when it holds no pixels.
    virtual TextureBinding Binding() const = 0;
};

class OpenGLBitmapTexture final : public AdBitmapTexture, public OpenGLTexelSource {
public:
    explicit OpenGLBitmapTexture(std::shared_ptr<OpenGLDevice> device) : device_(std::move(device)) {}
    ~OpenGLBitmapTexture() override { FlushTexture(); }

    int BaseWidth() const override { return Loaded() ? width_ : 0; }
    int BaseHeight() const override { return Loaded() ? height_ : 0; }
    int Width() const override { return BaseWidth(); }
    int Height() const override { return BaseHeight(); }
    bool Loaded() const override { return texture_.Valid(); }
    uint8_t Settings() const override { return settings_; }
    void SetSettings(uint8_t settings) override { settings_ = settings; }
    bool ReadPixels(uint8_t* dst) const override;
    void FlushTexture() override;
    // Pixels are always 32-bit B G R A; the bit depth only says how the host stored them. Without
    // an initialised renderer nothing is loaded.
    void LoadFromBitmap(const uint8_t* bgra, int width, int height, int bitDepth) override;
    TextureBinding Binding() const override;

private:
    std::shared_ptr<OpenGLDevice> device_;
    GlHandle texture_;
    int width_ = 0, height_ = 0;
    bool opaque_ = false; // every texel has alpha 255
    bool keyed_ = false;  // every texel has alpha 0 or 255
    uint8_t settings_ = 0;
};

class OpenGLRenderTarget final : public AdRenderTargetTexture, public OpenGLTexelSource {
public:
    explicit OpenGLRenderTarget(std::shared_ptr<OpenGLDevice> device) : device_(std::move(device)) {}
    ~OpenGLRenderTarget() override;

    int BaseWidth() const override { return surface_.Width(); }
    int BaseHeight() const override { return surface_.Height(); }
    int Width() const override { return surface_.Width(); }
    int Height() const override { return surface_.Height(); }
    bool Loaded() const override { return surface_.Valid(); }
    uint8_t Settings() const override { return settings_; }
    void SetSettings(uint8_t settings) override { settings_ = settings; }
    // Rows top to bottom, like every texture of the engine.
    bool ReadPixels(uint8_t* dst) const override;
    void FlushTexture() override;
    // The target starts cleared to zero in colour, depth 1 and stencil 0.
    void SetSize(int width, int height) override;
    TextureBinding Binding() const override;

    const GlSurface& Surface() const { return surface_; }

private:
    std::shared_ptr<OpenGLDevice> device_;
    GlSurface surface_;
    uint8_t settings_ = 0;
};

} // namespace ad::opengl
