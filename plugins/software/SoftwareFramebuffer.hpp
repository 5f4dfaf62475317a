// One drawing target of the CPU renderer: colour, depth and stencil planes of the same size.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/render/AdPluginApi.hpp"

namespace ad::software {

class SoftwareFramebuffer {
public:
    static constexpr int kMaxSize = 32768; // larger sizes leave the buffer empty

    // A resized buffer starts transparent black, depth 1, stencil 0; sizes beyond kMaxSize leave it empty.
    void Resize(int width, int height);
    void Release();

    // Clears the layers (kAdClearColor, kAdClearDepth, kAdClearStencil) inside rect, clipped to the buffer.
    void Clear(const AdRect& rect, int layers, uint32_t color, float depth, uint8_t stencil);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }

    uint32_t* ColorRow(int y) { return color_.data() + static_cast<size_t>(y) * width_; }
    uint8_t* StencilRow(int y) { return stencil_.data() + static_cast<size_t>(y) * width_; }
    const uint32_t* Colors() const { return color_.data(); }
    const float* Depths() const { return depth_.data(); }
    const uint8_t* Stencils() const { return stencil_.data(); }
    uint32_t ColorAt(int x, int y) const { return color_[static_cast<size_t>(y) * width_ + x]; }
    uint8_t StencilAt(int x, int y) const { return stencil_[static_cast<size_t>(y) * width_ + x]; }
    float DepthAt(int x, int y) const { return depth_[static_cast<size_t>(y) * width_ + x]; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> color_;
    std::vector<float> depth_;
    std::vector<uint8_t> stencil_;
};

} // namespace ad::software
