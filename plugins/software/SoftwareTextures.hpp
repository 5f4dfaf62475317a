// Textures of the CPU renderer: bitmap textures loaded from memory and render targets, both
// readable by the rasteriser as texel arrays.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/render/AdPluginApi.hpp"
#include "plugins/software/SoftwareDevice.hpp"
#include "plugins/software/SoftwareFramebuffer.hpp"
#include "plugins/software/SoftwareRasterState.hpp"

namespace ad::software {

// What a mesh samples; every texture of this renderer is one.
class SoftwareTexelSource {
public:
    virtual ~SoftwareTexelSource() = default;
    virtual TexelView Texels() const = 0;
};

class SoftwareBitmapTexture final : public AdBitmapTexture, public SoftwareTexelSource {
public:
    int BaseWidth() const override { return width_; }
    int BaseHeight() const override { return height_; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Loaded() const override { return !pixels_.empty(); }
    uint8_t Settings() const override { return settings_; }
    void SetSettings(uint8_t settings) override { settings_ = settings; }
    bool ReadPixels(uint8_t* dst) const override;
    void FlushTexture() override;
    // Pixels are always 32-bit B G R A; the bit depth only says how the host stored them.
    void LoadFromBitmap(const uint8_t* bgra, int width, int height, int bitDepth) override;
    TexelView Texels() const override;

private:
    std::vector<uint32_t> pixels_;
    int width_ = 0;
    int height_ = 0;
    TexelAlpha alpha_ = TexelAlpha::Mixed;
    uint8_t settings_ = 0;
};

class SoftwareRenderTarget final : public AdRenderTargetTexture, public SoftwareTexelSource {
public:
    explicit SoftwareRenderTarget(std::shared_ptr<SoftwareDevice> device) : device_(std::move(device)) {}
    ~SoftwareRenderTarget() override;

    int BaseWidth() const override { return buffer_.Width(); }
    int BaseHeight() const override { return buffer_.Height(); }
    int Width() const override { return buffer_.Width(); }
    int Height() const override { return buffer_.Height(); }
    bool Loaded() const override { return !buffer_.Empty(); }
    uint8_t Settings() const override { return settings_; }
    void SetSettings(uint8_t settings) override { settings_ = settings; }
    bool ReadPixels(uint8_t* dst) const override;
    void FlushTexture() override { buffer_.Release(); }
    void SetSize(int width, int height) override { buffer_.Resize(width, height); }
    TexelView Texels() const override;

    SoftwareFramebuffer& Buffer() { return buffer_; }

private:
    std::shared_ptr<SoftwareDevice> device_;
    SoftwareFramebuffer buffer_;
    uint8_t settings_ = 0;
};

} // namespace ad::software
